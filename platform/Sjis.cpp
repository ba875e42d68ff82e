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

std::string FoldAsciiCase(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) {
        if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    }
    return out;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = CharLength(a, i);
        if (CharLength(b, i) != n) return false;
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else {
            char x = a[i], y = b[i];
            if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
            if (x != y) return false;
        }
        i += n;
    }
    return true;
}

std::string sjis(std::string_view utf8) {
    auto bytes = Utf8ToCp932(utf8);
    if (!bytes) throw std::invalid_argument("text not encodable in CP932");
    return *bytes;
}

}  // namespace sulkan
