#include "TfrmEditSource.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QTextBlock>
#include <QVBoxLayout>

#include "EditorText.h"
#include "LineFile.h"
#include "Named.h"
#include "QtText.h"

namespace sulkan {

TfrmEditSource::TfrmEditSource(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      memEditBuffer(Named(new QPlainTextEdit, "memEditBuffer")),
      btnOk(Named(new QPushButton(QStringLiteral("OK")), "btnOk")),
      btnCancel(Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "btnCancel")),
      btnHelp(Named(new QPushButton(QStringLiteral("ヘルプ")), "btnHelp")),
      m_prompter(prompter) {
    setObjectName(QStringLiteral("TfrmEditSource"));
    setWindowTitle(QStringLiteral("ソースの直接編集"));
    // Long lines of a data file are easier to read unbroken, with a horizontal scroll bar.
    memEditBuffer->setLineWrapMode(QPlainTextEdit::NoWrap);
    memEditBuffer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memEditBuffer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Enter in the text is a line break, never the OK button.
    for (QPushButton* b : {btnOk, btnCancel, btnHelp}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnHelp);
    auto* root = new QVBoxLayout(this);
    root->addWidget(memEditBuffer, 1);
    root->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &TfrmEditSource::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, [this] { Q_EMIT helpRequested(m_helpContext); });
    if (parent) resize(parent->window()->size());
}

int TfrmEditSource::editLines(const std::string& path, int helpContext,
                              const std::vector<std::string>& lines) {
    setWindowTitle(QStringLiteral("ソースの直接編集") + ToQString(NativeSeparators(path)));
    // As large as the window it edits for, which has the main window's size: made together
    // with its owner, the dialog would keep the size the owner had before it was ever shown.
    if (parentWidget()) resize(parentWidget()->window()->size());
    m_helpContext = helpContext;
    m_original = lines;
    m_edited.clear();
    memEditBuffer->setPlainText(JoinLinesForField(lines));
    return exec();
}

void TfrmEditSource::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmEditSource::FormShow() {
    if (parentWidget()) move(parentWidget()->window()->geometry().topLeft());
    QTextCursor start = memEditBuffer->textCursor();
    start.movePosition(QTextCursor::Start);
    memEditBuffer->setTextCursor(start);
    memEditBuffer->setFocus();
}

void TfrmEditSource::btnOkClick() {
    EncodedLines encoded = EncodeLinesKeeping(memEditBuffer->toPlainText(), m_original);
    if (!encoded) {
        // Writing a substitute would change the file behind the teacher's back: she fixes it.
        m_prompter.message(UnencodableLineText(encoded));
        QTextCursor at = memEditBuffer->textCursor();
        at.setPosition(encoded.failedPosition);
        memEditBuffer->setTextCursor(at);
        memEditBuffer->setFocus();
        return;
    }
    m_edited = std::move(encoded.lines);
    accept();
}

}  // namespace sulkan
