// Controls carry their given names as object names, so tests and screenshots find them.
#pragma once

#include <QAction>
#include <QMenu>
#include <QString>

namespace sulkan {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A menu item with its given name.
inline QAction* NamedAction(QMenu* menu, const QString& caption, const char* name) {
    return Named(menu->addAction(caption), name);
}

}  // namespace sulkan
