// Helpers shared by the selection windows (unit selection, copy-file dialog): their raised panel
// headers and lists whose selection the program sets without running the click handlers.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <string>
#include <vector>

#include "Named.h"
#include "QtText.h"

namespace sulkan {

inline QLabel* PanelHeader(const QString& text, const char* name) {
    auto* l = Named(new QLabel(text), name);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Raised);
    return l;
}

// The row of the current item when it is selected, else -1.
inline int SelectedRow(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

// Selects a row without running the list's click handler; callers run it themselves.
inline void SelectRow(QListWidget* list, int row) {
    const QSignalBlocker block(list);
    list->setCurrentRow(row);
}

// Replaces the items by the CP932 lines, without running the click handler.
inline void FillList(QListWidget* list, const std::vector<std::string>& lines) {
    const QSignalBlocker block(list);
    list->clear();
    for (const auto& line : lines) list->addItem(ToQString(line));
}

}  // namespace sulkan
