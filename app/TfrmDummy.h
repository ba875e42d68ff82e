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
    // Fills the frame's child area again and takes its caption back: on activation, and whenever
    // the area changes size. Tiling or a smaller frame would otherwise leave it part off the area.
    void fitToArea();

    static QString caption();

    QPushButton* btnTitle;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreButton();
    QWidget* m_area = nullptr;  // the child area it fills, watched for its size
};

}  // namespace sulkan
