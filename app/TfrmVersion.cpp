#include "TfrmVersion.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "BuildInfo.h"
#include "Named.h"

namespace sulkan {

std::string VersionText(int major, const std::string& minor, const std::string& dotDate) {
    std::string digits = minor.empty() ? "00" : minor;
    if (digits.size() < 2) digits += '0';
    return "Version " + std::to_string(major) + "." + digits + " " + dotDate;
}

std::string BuildVersionText() {
    return VersionText(build::kVersionMajor, build::kVersionMinor, build::kBuildDate);
}

std::string CommandLineVersionText() {
    return std::string("Sulkan++ ") + std::to_string(build::kVersionMajor) + "." +
           build::kVersionMinor + " (" + build::kBuildDate + ")";
}

TfrmVersion::TfrmVersion(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      imgProgramIcon(Named(new QLabel, "imgProgramIcon")),
      lblProductName(Named(new QLabel, "lblProductName")),
      lblVersion(Named(new QLabel, "lblVersion")),
      lblNotice(
          Named(new QLabel(QStringLiteral("この製品は学校・塾での漢字学習のために作られました。")),
                "lblNotice")),
      lblMaker(Named(new QLabel(QStringLiteral("制作　Sulkan++ 開発チーム")), "lblMaker")),
      ListBox2(Named(new QListWidget, "ListBox2")),
      Comments(Named(new QLabel, "Comments")),
      btnOK(Named(new QPushButton(QStringLiteral("閉じる")), "btnOK")) {
    setObjectName(QStringLiteral("TfrmVersion"));
    setWindowTitle(QStringLiteral("バージョン情報"));

    QFont big = lblProductName->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    lblProductName->setFont(big);
    ListBox2->addItems(
        {QStringLiteral("お問い合わせ　Sulkan++ 開発チーム"),
         QStringLiteral("不具合・ご要望は、お使いのコースの配布元へお知らせください。"),
         QStringLiteral("使い方は［ヘルプ］→［使い方］をご覧ください。")});
    // Every contact line shows whole, without scrolling.
    ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * ListBox2->frameWidth();
    ListBox2->setFixedHeight(ListBox2->count() * (ListBox2->fontMetrics().height() + 4) + frame +
                             4);
    ListBox2->setMinimumWidth(ListBox2->sizeHintForColumn(0) + frame + 12);
    ListBox2->setFocusPolicy(Qt::NoFocus);
    imgProgramIcon->setFixedSize(48, 48);
    imgProgramIcon->setPixmap(qApp->windowIcon().pixmap(48, 48));

    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    auto* head = new QHBoxLayout;
    head->addWidget(imgProgramIcon, 0, Qt::AlignTop);
    auto* names = new QVBoxLayout;
    names->addWidget(lblProductName);
    names->addWidget(lblVersion);
    head->addLayout(names, 1);
    auto* inside = new QVBoxLayout(panel);
    inside->addLayout(head);
    inside->addSpacing(8);
    inside->addWidget(lblNotice);
    inside->addWidget(lblMaker);
    inside->addWidget(ListBox2);
    inside->addWidget(Comments);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addStretch();
    auto* root = new QVBoxLayout(this);
    root->addWidget(panel);
    root->addLayout(buttons);
    root->setSizeConstraint(QLayout::SetFixedSize);

    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

int TfrmVersion::showFor(const QString& mainCaption) {
    lblProductName->setText(mainCaption);
    lblVersion->setText(QString::fromStdString(BuildVersionText()));
    // The icon main() gives the program may come after this dialog was made.
    if (!qApp->windowIcon().isNull()) imgProgramIcon->setPixmap(qApp->windowIcon().pixmap(48, 48));
    return exec();
}

}  // namespace sulkan
