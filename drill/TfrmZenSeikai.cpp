#include "TfrmZenSeikai.h"

#include <QVBoxLayout>

#include "Named.h"

namespace sulkan {

TfrmZenSeikai::TfrmZenSeikai(QWidget* parent)
    : QDialog(parent),
      pnlSeikai(Named(new QFrame, "pnlSeikai")),
      lblStars1(Named(new QLabel(QStringLiteral("★★★★★★")), "lblStars1")),
      lblSeikai(Named(new QLabel(QStringLiteral("全問正解です")), "lblSeikai")),
      lblStars2(Named(new QLabel(QStringLiteral("★★★★★★")), "lblStars2")),
      btnOk(Named(new QPushButton(QStringLiteral("OK")), "btnOk")) {
    setObjectName(QStringLiteral("TfrmZenSeikai"));
    setWindowTitle(QStringLiteral("全問正解"));
    pnlSeikai->setAutoFillBackground(true);
    QPalette yellow = pnlSeikai->palette();
    yellow.setColor(QPalette::Window, QColor(255, 255, 128));
    pnlSeikai->setPalette(yellow);
    QFont big = lblSeikai->font();
    big.setPointSize(20);
    big.setBold(true);
    lblSeikai->setFont(big);
    for (QLabel* stars : {lblStars1, lblStars2}) {
        QFont f = stars->font();
        f.setPointSize(16);
        stars->setFont(f);
        stars->setStyleSheet(QStringLiteral("color: red"));
    }
    auto* inside = new QVBoxLayout(pnlSeikai);
    for (QLabel* l : {lblStars1, lblSeikai, lblStars2}) {
        l->setAlignment(Qt::AlignCenter);
        inside->addWidget(l);
    }
    auto* root = new QVBoxLayout(this);
    root->addWidget(pnlSeikai);
    root->addWidget(btnOk, 0, Qt::AlignHCenter);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace sulkan
