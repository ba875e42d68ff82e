// "sulkan export": renders sheets without a window, exactly as the worksheet window shows them,
// and writes them as an image file or, at the printer's resolution, as pages of a PDF file: one
// unit, a copy file, or every unit of a section with its answer sheet.
#pragma once

#include <string>
#include <vector>

#include "SettingsStore.h"

namespace sulkan {

// args: the arguments after "export"; the school name comes from settings. Needs a
// QGuiApplication. Returns the exit status: 0 done, 1 a sheet could not be read, rendered or
// written (a section's other units are still written), 2 wrong arguments.
int RunExportCommand(const std::vector<std::string>& args, SettingsStore& settings);

}  // namespace sulkan
