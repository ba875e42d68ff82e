#include "Sjis.h"

#include <stdexcept>

#include "Codec.h"

namespace sulkan {

std::size_t FindWholeChar(std::string_view s, char c, std::size_t from) {
    std::size_t i = 0;
    while (i < s.size()) {
        if (i >= from && s[i] == c) return i;
        i += CharLength(s, i);
    }
    return std::string_view::npos;
}

std::size_t FindLastWholeChar(std::string_view s, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) {
        if (s[i] == c) found = i;
    }
    return found;
}

std::size_t CharCount(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) ++n;
    return n;
}

std::string sjis(std::string_view utf8) {
    auto bytes = Utf8ToCp932(utf8);
    if (!bytes) throw std::invalid_argument("text not encodable in CP932");
    return *bytes;
}

}  // namespace sulkan
