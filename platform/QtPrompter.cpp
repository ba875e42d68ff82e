#include "QtPrompter.h"

#include <QMessageBox>

#include "QtText.h"

namespace sulkan {
namespace {

QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
                                QMessageBox::StandardButtons buttons) {
    // Only the text: the box has no title of its own.
    QMessageBox box(icon, QString(), ToQString(text), buttons, parent);
    box.exec();
    return box.standardButton(box.clickedButton());
}

}  // namespace

void QtPrompter::message(const std::string& text) {
    Ask(m_parent, QMessageBox::Information, text, QMessageBox::Ok);
}

Answer QtPrompter::yesNo(const std::string& text) {
    auto clicked = Ask(m_parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No);
    return clicked == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer QtPrompter::yesNoCancel(const std::string& text) {
    auto clicked = Ask(m_parent, QMessageBox::Question, text,
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (clicked == QMessageBox::Yes) return Answer::Yes;
    if (clicked == QMessageBox::No) return Answer::No;
    return Answer::Cancel;  // also when the box is closed without a button
}

}  // namespace sulkan
