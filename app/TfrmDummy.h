// The title window: a child window of the main frame showing the title picture behind the
// worksheets.
#pragma once

#include <QPushButton>
#include <QWidget>

namespace sulkan {

class TfrmDummy : public QWidget {
    Q_OBJECT
public:
    explicit TfrmDummy(QWidget* parent = nullptr);

    // Loads the picture onto the button and sizes the button to it.
    void setTitlePicture(const QPixmap& picture);
    // Centres the button as the main window asks: left and top in the window's client area.
    void placeButton(int left, int top);

    static QString caption();

    QPushButton* btnTitle;
};

}  // namespace sulkan
