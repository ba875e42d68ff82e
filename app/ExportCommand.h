// "sulkan export": renders a unit's sheet without a window, exactly as the worksheet window shows
// it, and writes it as an image file.
#pragma once

#include <string>
#include <vector>

namespace sulkan {

// args: the arguments after "export". Needs a QGuiApplication. Returns the exit status: 0 done,
// 1 the unit could not be rendered, 2 wrong arguments.
int RunExportCommand(const std::vector<std::string>& args);

}  // namespace sulkan
