#include "TfrmJuku.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Named.h"
#include "QtText.h"
#include "Settings.h"

namespace sulkan {

TfrmJuku::TfrmJuku(AppState& state, SettingsStore& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      Label1(Named(new QLabel(QStringLiteral("学校名・塾名")), "Label1")),
      edtSchool(Named(new QLineEdit, "edtSchool")),
      Label2(Named(new QLabel(QStringLiteral("ここには自由にタイトルを入れることができます")),
                   "Label2")),
      Label3(Named(new QLabel(QStringLiteral("例　ＣＡＩ中学校　年　組")), "Label3")),
      btnOk(Named(new QPushButton(QStringLiteral("OK")), "btnOk")),
      btnCancel(Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "btnCancel")),
      m_state(state),
      m_settings(settings),
      m_prompter(prompter) {
    setObjectName(QStringLiteral("TfrmJuku"));
    setWindowTitle(QStringLiteral("校名／塾名入力"));
    edtSchool->setMinimumWidth(320);
    Label1->setBuddy(edtSchool);

    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(edtSchool, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* root = new QVBoxLayout(this);
    root->addLayout(row);
    root->addWidget(Label2);
    root->addWidget(Label3);
    root->addLayout(buttons);
    btnOk->setDefault(true);

    connect(btnOk, &QPushButton::clicked, this, &TfrmJuku::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmJuku::showModal() {
    FormShow();
    return exec();
}

void TfrmJuku::FormShow() {
    // With a worksheet open the box shows the name in use; otherwise it keeps what it held, except
    // at the first showing, where an empty box would invite OK to erase a stored name unseen.
    if (m_state.OpenWorksheetCount > 0 || !m_shownBefore)
        edtSchool->setText(ToQString(m_state.SchoolName));
    m_shownBefore = true;
    edtSchool->selectAll();
    edtSchool->setFocus();
}

void TfrmJuku::btnOkClick() {
    char32_t bad = 0;
    auto name = FromQStringKeeping(edtSchool->text(), m_state.SchoolName, &bad);
    if (!name) {
        m_prompter.message(UnencodableText(bad));
        edtSchool->setFocus();
        return;
    }
    m_state.SchoolName = *name;
    WriteStringSetting(m_settings, "theSchool", m_state.SchoolName);
    accept();
}

}  // namespace sulkan
