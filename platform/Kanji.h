// What the program knows of kanji beyond their codes: which characters are kanji, their stroke
// counts from Debian's kanjidic, and the installed font that draws them with numbered strokes.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace sulkan {

// The Debian packages behind the stroke order and the stroke counts, named to the user when
// missing.
inline constexpr const char* kStrokeOrderFontPackage = "fonts-kanjistrokeorders";
inline constexpr const char* kStrokeOrderFontFamily = "KanjiStrokeOrders";
inline constexpr const char* kStrokeCountPackage = "kanjidic";
inline constexpr const char* kKanjidicPath = "/usr/share/edict/kanjidic";

// The CP932 character at the start of c is a kanji: JIS levels 1 and 2 and the NEC and IBM
// extensions (not 々, kana, digits or symbols).
bool IsKanji(std::string_view c);
// Some character of the CP932 text is a kanji.
bool HasKanji(std::string_view text);

// Stroke counts by character, read from a kanjidic file (EUC-JP lines: the character, its JIS
// code in hex, then fields; the first field "S<n>" is the stroke count).
class StrokeCounts {
public:
    // The lines of a kanjidic file; lines that are no entry are passed over.
    static StrokeCounts Parse(std::string_view text);
    // The installed file, read once, on first use; empty when it is not there.
    static const StrokeCounts& Installed();

    // The stroke count of the CP932 character c (two bytes), when the file gives one.
    std::optional<int> of(std::string_view c) const;
    std::size_t size() const { return m_counts.size(); }

private:
    std::unordered_map<unsigned, int> m_counts;  // CP932 code (lead << 8 | trail)
};

// The family of the installed stroke-order font, or empty. Asks the system's fonts (fontconfig)
// unless a lookup was set.
std::string StrokeOrderFontFamily();
// For tests: a lookup that says whether a family is installed; an empty function restores the
// system's.
void SetFontLookup(std::function<bool(const std::string& family)> lookup);

}  // namespace sulkan
