#include "TfrmDummy.h"

namespace sulkan {

TfrmDummy::TfrmDummy(QWidget* parent) : QWidget(parent), btnTitle(new QPushButton(this)) {
    setObjectName(QStringLiteral("TfrmDummy"));
    setWindowTitle(caption());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    btnTitle->setObjectName(QStringLiteral("btnTitle"));
    btnTitle->setFlat(true);
    btnTitle->setFocusPolicy(Qt::NoFocus);
    btnTitle->resize(10, 20);
}

void TfrmDummy::setTitlePicture(const QPixmap& picture) {
    btnTitle->setIcon(QIcon(picture));
    btnTitle->setIconSize(picture.size());
    btnTitle->resize(picture.width() + 10, picture.height() + 20);
}

void TfrmDummy::placeButton(int left, int top) {
    btnTitle->move(left, top);
}

QString TfrmDummy::caption() {
    return QStringLiteral("ようこそ　漢字の学習へ");
}

}  // namespace sulkan
