// Paths are built with "\" between their parts; messages show them as the rest of the program
// does, with the system's separators.
#pragma once

#include <string>

namespace sulkan {

// The message with every occurrence of path in it written with the system's separators (CP932).
std::string WithNativePath(std::string message, const std::string& path);

}  // namespace sulkan
