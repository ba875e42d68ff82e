// Controls carry their given names as object names, so tests and screenshots find them.
#pragma once

#include <QString>

namespace sulkan {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace sulkan
