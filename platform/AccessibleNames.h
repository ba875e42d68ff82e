// What a screen reader announces for the controls whose caption does not say it: a Japanese name
// and description for every text box, spin box, list, table and picture button of the windows,
// by window and control name.
#pragma once

class QWidget;

namespace sulkan {

// Gives each control under window (window included, and the dialogs it owns) that has no
// accessible name the name and description of its row in the table, or a name from its tooltip
// or its kind (table headers, the corner button). Names already set are kept. Returns how many
// controls were named.
int NameControls(QWidget* window);

}  // namespace sulkan
