#include "MessagePaths.h"

#include "LineFile.h"

namespace sulkan {

std::string WithNativePath(std::string message, const std::string& path) {
    if (path.empty()) return message;
    const std::string shown = NativeSeparators(path);
    for (std::size_t at = message.find(path); at != std::string::npos;
         at = message.find(path, at + shown.size()))
        message.replace(at, path.size(), shown);
    return message;
}

}  // namespace sulkan
