#include "ProgressDialog.h"

#include <QPushButton>
#include <algorithm>

#include "QtText.h"

namespace sulkan {

ProgressDialog::ProgressDialog(QWidget* parent, QString title, std::chrono::milliseconds showAfter)
    : m_parent(parent), m_title(std::move(title)), m_showAfter(showAfter) {}

ProgressDialog::~ProgressDialog() {
    finish();
}

void ProgressDialog::start(int total, const std::string& label) {
    finish();
    m_total = total;
    m_what = ToQString(label);
    m_stepped = false;
    auto* dialog = new QProgressDialog(m_parent);
    dialog->setObjectName(QStringLiteral("dlgProgress"));
    dialog->setWindowTitle(m_title);
    auto* cancel = new QPushButton(QStringLiteral("中止"), dialog);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    dialog->setCancelButton(cancel);
    dialog->setLabelText(m_what);
    dialog->setRange(0, std::max(1, total));
    // The dialog closes when the work ends, not when the bar is full.
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(static_cast<int>(m_showAfter.count()));
    dialog->setMinimumWidth(360);
    dialog->setValue(0);
    m_dialog = dialog;
}

bool ProgressDialog::step(int done, const std::string& label) {
    if (!m_dialog) return true;
    if (m_dialog->wasCanceled()) return false;
    const auto now = std::chrono::steady_clock::now();
    if (m_stepped && done < m_total && now - m_updated < kUpdateEvery) return true;
    m_stepped = true;
    m_updated = now;
    QString text = m_what + QLatin1Char('\n') + QStringLiteral("%1/%2").arg(done).arg(m_total);
    if (!label.empty()) text += QStringLiteral("　") + ToQString(label);
    m_dialog->setLabelText(text);
    // Once shown, this also lets the dialog draw itself and take a click on "中止".
    m_dialog->setValue(std::min(done, m_dialog->maximum()));
    return !m_dialog->wasCanceled();
}

void ProgressDialog::finish() {
    if (!m_dialog) return;
    QProgressDialog* dialog = m_dialog;
    m_dialog = nullptr;
    dialog->hide();
    delete dialog;
}

}  // namespace sulkan
