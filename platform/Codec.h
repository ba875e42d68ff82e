// The one codec between CP932 bytes and Unicode. Bytes that are not valid CP932 decode to
// U+DC80 + byte and encode back to the same byte, so undecodable text survives a round trip.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sulkan {

// CP932 bytes to UTF-16; never fails.
std::u16string Cp932ToUtf16(std::string_view bytes);

// UTF-16 to CP932 bytes; nullopt when a character has no CP932 code. When failedChar is given
// it receives the first character that could not be encoded.
std::optional<std::string> Utf16ToCp932(std::u16string_view text, char32_t* failedChar = nullptr);

// The text with every double-byte character that CP932 spells two ways (the NEC and IBM
// duplicates: ED40-EEFC beside FA40-FC4B, 8790-879C beside 81xx, ...) in the one spelling that
// encoding its character gives. Two texts that decode to the same characters have the same
// canonical spelling; everything else, invalid bytes included, is kept as it is.
std::string CanonicalSpelling(std::string_view bytes);
// Whether two CP932 texts are the same characters, the duplicate spellings counted as equal.
bool SameSpelling(std::string_view a, std::string_view b);

// UTF-8 conveniences (an escaped byte becomes U+FFFD in UTF-8, since a lone surrogate has no
// UTF-8 form; use the UTF-16 functions where bytes must survive).
std::string Cp932ToUtf8(std::string_view bytes);
std::optional<std::string> Utf8ToCp932(std::string_view utf8, char32_t* failedChar = nullptr);

// The one UTF-8 coder, also used for POSIX file names. Invalid UTF-8 bytes either decode to the
// escapes U+DC80..U+DCFF (a file name that is not UTF-8 still names one file) or make the whole
// text invalid; on encoding, the escapes either go back to their raw bytes or become U+FFFD.
enum class Utf8Escapes { Keep, Refuse };
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8, Utf8Escapes escapes);
std::string Utf16ToUtf8(std::u16string_view text, Utf8Escapes escapes);

namespace detail {
// Opens the named conversion through iconv, or ends the program with a message on stderr and
// exit code 3: without the CP932 tables no file of a course can be read or written correctly.
void RequireConverter(const char* to, const char* from);
}  // namespace detail

}  // namespace sulkan
