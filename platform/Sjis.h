// Character helpers over CP932 (Shift-JIS) byte strings: the text inside the program is kept as
// the bytes of the files, so lengths and positions count bytes as the files do.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sulkan {

// A lead byte takes the next byte with it as one double-byte character.
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character that starts at pos (1 or 2; 1 for a lead byte at the end).
inline std::size_t CharLength(std::string_view s, std::size_t pos) {
    return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// Finds a single-byte character as a whole character: a byte equal to c that is the second
// byte of a double-byte character (0x5C in 表 or ソ) does not count. Returns npos if absent.
std::size_t FindWholeChar(std::string_view s, char c, std::size_t from = 0);
// The last whole-character occurrence of c, or npos.
std::size_t FindLastWholeChar(std::string_view s, char c);

// Number of characters (not bytes).
std::size_t CharCount(std::string_view s);

// ASCII letters folded to lower case, stepping by character: a trail byte in the letter range
// (the 0x67 of ナ, the 0x71 of 子) is part of its kanji or kana and never folds.
std::string FoldAsciiCase(std::string_view s);
// Whether two CP932 texts are equal when their ASCII letters are folded (as file names and the
// section and key names of initialisation files are compared on Windows).
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// Converts a UTF-8 literal of the source code to CP932 bytes, for comparisons with file data.
// Only for texts known to be encodable; anything else is a programming error and throws.
std::string sjis(std::string_view utf8);

}  // namespace sulkan
