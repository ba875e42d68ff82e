#include "TfrmInputText.h"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include "Named.h"

namespace sulkan {

TfrmInputText::TfrmInputText(QWidget* parent)
    : QDialog(parent),
      memInput(Named(new QLineEdit, "memInput")),
      btnOk(Named(new QPushButton(QStringLiteral("OK")), "btnOk")),
      btnCancel(Named(new QPushButton(QStringLiteral("キャンセル")), "btnCancel")) {
    setObjectName(QStringLiteral("TfrmInputText"));
    setWindowTitle(QStringLiteral("テキストの入力"));
    QFont large = memInput->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    memInput->setFont(large);
    memInput->setMinimumWidth(480);
    // A line edit has no line breaks: Enter goes to the default button, which is OK.
    btnOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* root = new QVBoxLayout(this);
    root->addWidget(memInput);
    root->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmInputText::ask(const QString& mode, const QString& current) {
    m_mode = mode;
    m_current = current;
    return exec();
}

void TfrmInputText::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmInputText::FormShow() {
    memInput->clear();
    if (m_mode == QLatin1String("mainCHANGE") || m_mode == QLatin1String("subCHANGE")) {
        memInput->setText(m_current);
        memInput->selectAll();
    }
    memInput->setFocus();
}

}  // namespace sulkan
