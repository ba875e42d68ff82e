#include "TfrmPassword.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "Named.h"
#include "ProfileFile.h"
#include "QtText.h"
#include "RecordStore.h"
#include "Sjis.h"

namespace sulkan {

TfrmPassword::TfrmPassword(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      lblMess(Named(new QLabel, "lblMess")),
      lblPW(Named(new QLabel, "lblPW")),
      Label1(Named(new QLabel(QStringLiteral("（半角英数で４文字以上）")), "Label1")),
      mskPW(Named(new QLineEdit, "mskPW")),
      mskPW2(Named(new QLineEdit, "mskPW2")),
      lblRetry(Named(new QLabel(QStringLiteral("確認のため再入力してください")), "lblRetry")),
      btnOk(Named(new QPushButton(QStringLiteral("OK")), "btnOk")),
      btnCancel(Named(new QPushButton(QStringLiteral("キャンセル")), "btnCancel")),
      m_prompter(prompter) {
    setObjectName(QStringLiteral("TfrmPassword"));
    setWindowTitle(QStringLiteral("パスワードの入力"));
    for (QLineEdit* field : {mskPW, mskPW2}) {
        field->setEchoMode(QLineEdit::Password);
        field->installEventFilter(this);
    }
    // Enter belongs to the password fields, never to a default button.
    for (QPushButton* b : {btnOk, btnCancel}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* root = new QVBoxLayout(this);
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblMess, lblPW, Label1, mskPW, lblRetry, mskPW2})
        root->addWidget(w);
    root->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &TfrmPassword::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmPassword::showFor(const std::string& learnerName, const std::string& storedPassword,
                          const std::string& recordFile) {
    m_learner = learnerName;
    m_stored = storedPassword;
    m_recordFile = recordFile;
    FormShow();
    return exec();
}

void TfrmPassword::FormShow() {
    lblMess->setText(QStringLiteral("ようこそ") + ToQString(m_learner) + QStringLiteral("さん"));
    mskPW->clear();
    mskPW2->clear();
    lblRetry->hide();
    const bool stored = m_stored != "?";
    mskPW2->setVisible(!stored);
    lblPW->setText(stored ? QStringLiteral("パスワードを入力してください")
                          : QStringLiteral("新規パスワードを設定してください"));
    mskPW->setFocus();
}

bool TfrmPassword::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mskPW2 && event->type() == QEvent::FocusIn) lblRetry->show();
    if ((watched == mskPW || watched == mskPW2) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnOkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPassword::btnOkClick() {
    char32_t failed = 0;
    const auto typed = FromQString(mskPW->text(), &failed);
    if (!typed) {
        m_prompter.message(UnencodableText(failed));
        mskPW->setFocus();
        return;
    }
    if (!PasswordLongEnough(*typed)) {
        m_prompter.message(sjis("４文字以上にしてください"));
        mskPW->setFocus();
        return;
    }
    if (m_stored != "?") {
        if (*typed != m_stored) {
            m_prompter.message(sjis("パスワードを正しく入力してください"));
            mskPW->setFocus();
            return;
        }
        accept();
        return;
    }
    if (FromQString(mskPW2->text()) != typed) {
        m_prompter.message(sjis("確認のため再入力してください"));
        mskPW2->setFocus();
        return;
    }
    Result<> saved = PrepareRecordFolder(m_recordFile);
    if (saved) saved = ProfileFile(m_recordFile).write("password", "pw", *typed);
    if (!saved) {
        m_prompter.message(saved.problem().message);
        return;
    }
    accept();
}

}  // namespace sulkan
