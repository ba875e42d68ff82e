// "sulkan print": prints sheets through the system's print queue without a window, as the print
// dialog does: one job per numbered copy, each named after its sheet.
#pragma once

#include <string>
#include <vector>

#include "PrintQueue.h"
#include "SettingsStore.h"

namespace sulkan {

// args: the arguments after "print"; the school name and the print mode (unless --mode) come
// from settings; queue is the system's print queue (nullptr where there is none). Needs a
// QGuiApplication. Returns the exit status: 0 when every job was accepted, 1 when a sheet could
// not be read or a printer refused or lacked (said with the printer and the reason), 2 wrong
// arguments.
int RunPrintCommand(const std::vector<std::string>& args, SettingsStore& settings,
                    PrintQueue* queue);

}  // namespace sulkan
