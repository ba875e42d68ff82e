#include "TfrmMenu.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "QtText.h"

namespace sulkan {
namespace {

template <typename T>
T* Named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* Header(const char* name) {
    auto* l = Named(new QLabel(QStringLiteral("項目を選んでください")), name);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Raised);
    return l;
}

}  // namespace

TfrmMenu::TfrmMenu(AppState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      pnlTitle(Named(new QLabel, "pnlTitle")),
      pnlLesson(Header("pnlLesson")),
      lstLesson(Named(new QListWidget, "lstLesson")),
      pnlSection(Header("pnlSection")),
      lstSection(Named(new QListWidget, "lstSection")),
      pnlUnit(Header("pnlUnit")),
      lstUnit(Named(new QListWidget, "lstUnit")),
      Label2(Named(new QLabel(QStringLiteral("［　］の中の数字は練習回数です")), "Label2")),
      lblRuidai(Named(new QLabel(QStringLiteral("類題")), "lblRuidai")),
      lstRuidai(Named(new QListWidget, "lstRuidai")),
      btnRuidaiClear(Named(new QPushButton(QStringLiteral("類題選択解除")), "btnRuidaiClear")),
      btnOk(Named(new QPushButton(QStringLiteral("　Ｏ　Ｋ　")), "btnOk")),
      btnCancel(Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "btnCancel")),
      btnZenTangen(Named(new QPushButton(QStringLiteral("全単元表示")), "btnZenTangen")),
      btnShowRecord(Named(new QPushButton(QStringLiteral("記録表示")), "btnShowRecord")),
      m_state(state),
      m_prompter(prompter) {
    setObjectName(QStringLiteral("TfrmMenu"));
    setWindowTitle(QStringLiteral("マスターファイルを開く"));

    QFont titleFont = pnlTitle->font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    pnlTitle->setFont(titleFont);
    pnlTitle->setAlignment(Qt::AlignCenter);

    QPalette aqua = pnlUnit->palette();
    aqua.setColor(QPalette::Window, QColor(0, 255, 255));
    pnlUnit->setPalette(aqua);

    QFont fixed(QStringLiteral("ＭＳ ゴシック"));
    fixed.setPixelSize(16);
    fixed.setStyleHint(QFont::Monospace);
    lstUnit->setFont(fixed);

    QFont ruidaiFont = lblRuidai->font();
    ruidaiFont.setBold(true);
    lblRuidai->setFont(ruidaiFont);
    lblRuidai->setStyleSheet(QStringLiteral("color: magenta"));
    lstRuidai->setSelectionMode(QAbstractItemView::MultiSelection);
    btnOk->setDefault(true);

    auto* lists = new QGridLayout;
    lists->addWidget(pnlLesson, 0, 0);
    lists->addWidget(lstLesson, 1, 0);
    lists->addWidget(pnlSection, 0, 1);
    lists->addWidget(lstSection, 1, 1);
    lists->addWidget(pnlUnit, 0, 2);
    lists->addWidget(lstUnit, 1, 2);
    lists->setColumnStretch(0, 2);
    lists->setColumnStretch(1, 3);
    lists->setColumnStretch(2, 4);

    auto* side = new QVBoxLayout;
    side->addWidget(lblRuidai);
    side->addWidget(lstRuidai);
    side->addWidget(btnRuidaiClear);
    side->addStretch();
    side->addWidget(btnZenTangen);
    side->addWidget(btnShowRecord);
    side->addWidget(btnOk);
    side->addWidget(btnCancel);
    lists->addLayout(side, 1, 3);

    auto* root = new QVBoxLayout(this);
    root->addWidget(pnlTitle);
    root->addLayout(lists, 1);
    root->addWidget(Label2);

    lblRuidai->hide();
    lstRuidai->hide();
    btnRuidaiClear->hide();
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmMenu::setCourseIndex(const std::string& title,
                              const std::vector<std::string>& lessonTitles) {
    pnlTitle->setText(ToQString(title));
    lstLesson->clear();
    for (const auto& t : lessonTitles) lstLesson->addItem(ToQString(t));
}

void TfrmMenu::clearLists() {
    lstLesson->clear();
    lstSection->clear();
    lstUnit->clear();
}

}  // namespace sulkan
