// Small factories for the controls every window makes, each with its given name as its object
// name (tests and screenshots find controls by it).
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>

namespace sulkan {

QPushButton* Button(const QString& caption, const char* name, QWidget* parent = nullptr);

// A button that is never the dialog's default, so Enter in a field does not press it, with an
// optional tool tip.
QPushButton* QuietButton(const QString& caption, const char* name, const QString& hint = {});

// A field that shows a value the window keeps; the user can select and copy it.
QLineEdit* ReadOnlyEdit(const char* name);

}  // namespace sulkan
