// The bitmap viewer of the question editor: a figure at its own size, with its width and height.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPixmap>

namespace sulkan {

class TfrmBMP : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBMP(QWidget* parent = nullptr);
    int showPicture(const QPixmap& picture);

    QLabel* Image1;
    QLabel* lblXW;
    QLabel* lblYH;
};

}  // namespace sulkan
