#include "TfrmBMP.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Named.h"

namespace sulkan {

using namespace Qt::Literals::StringLiterals;

TfrmBMP::TfrmBMP(QWidget* parent)
    : QDialog(parent),
      Image1(Named(new QLabel, "Image1")),
      lblXW(Named(new QLabel(u"800"_s), "lblXW")),
      lblYH(Named(new QLabel(u"600"_s), "lblYH")) {
    setObjectName(u"TfrmBMP"_s);
    setWindowTitle(u"Glimpse 拡大表示"_s);
    auto* size = new QHBoxLayout;
    size->addWidget(lblXW);
    size->addWidget(new QLabel(u"X"_s));
    size->addWidget(lblYH);
    size->addStretch();
    auto* root = new QVBoxLayout(this);
    root->addLayout(size);
    root->addWidget(Image1, 1, Qt::AlignLeft | Qt::AlignTop);
}

int TfrmBMP::showPicture(const QPixmap& picture) {
    Image1->setPixmap(picture);
    Image1->setFixedSize(picture.size());
    lblXW->setText(QString::number(picture.width()));
    lblYH->setText(QString::number(picture.height()));
    adjustSize();
    move(0, 0);
    return exec();
}

}  // namespace sulkan
