#include "QtPrompter.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "LineFile.h"
#include "QtText.h"

namespace sulkan {
namespace {

QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons) {
    // Only the text: the box has no title of its own.
    QMessageBox box(icon, QString(), text, buttons, parent);
    box.exec();
    return box.standardButton(box.clickedButton());
}

}  // namespace

void QtPrompter::message(const std::string& text) {
    Ask(m_parent, QMessageBox::Information, ToQString(text), QMessageBox::Ok);
}

Answer QtPrompter::yesNo(const std::string& text) {
    auto clicked =
        Ask(m_parent, QMessageBox::Question, ToQString(text), QMessageBox::Yes | QMessageBox::No);
    return clicked == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer QtPrompter::yesNoCancel(const std::string& text) {
    auto clicked = Ask(m_parent, QMessageBox::Question, ToQString(text),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (clicked == QMessageBox::Yes) return Answer::Yes;
    if (clicked == QMessageBox::No) return Answer::No;
    return Answer::Cancel;  // also when the box is closed without a button
}

std::optional<std::string> QtPrompter::saveFileName(const std::string& initialFolder,
                                                    const std::string& pattern) {
    QString folder = QString::fromStdString(NativePath(initialFolder).string());
    QString filter = ToQString(pattern);
    // Overwriting is asked by the caller in the program's own words.
    QString chosen = QFileDialog::getSaveFileName(m_parent, QString(), folder, filter, nullptr,
                                                  QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) return std::nullopt;
    char32_t bad = 0;
    auto path = FromQString(QDir::toNativeSeparators(chosen), &bad);
    if (!path) {
        // The message names the very character CP932 cannot hold, so it goes to the box as it is.
        Ask(m_parent, QMessageBox::Information, UnencodableMessage(bad), QMessageBox::Ok);
        return std::nullopt;
    }
    return path;
}

}  // namespace sulkan
