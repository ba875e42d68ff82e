#include "Widgets.h"

#include "Named.h"

namespace sulkan {

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
    return Named(new QPushButton(caption, parent), name);
}

QPushButton* QuietButton(const QString& caption, const char* name, const QString& hint) {
    QPushButton* b = Button(caption, name);
    b->setAutoDefault(false);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

QLineEdit* ReadOnlyEdit(const char* name) {
    auto* edit = Named(new QLineEdit, name);
    edit->setReadOnly(true);
    return edit;
}

}  // namespace sulkan
