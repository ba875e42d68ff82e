// What the program knows of kanji beyond their codes: which characters are kanji, their stroke
// counts from Debian's kanjidic, and the installed font that draws them with numbered strokes.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

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
    // The file at path; empty when it is missing or cannot be read.
    static StrokeCounts Read(const std::string& path);
    // Starts reading the installed file on another thread, once; the program does so as its
    // window starts, so that the drill rarely waits for it.
    static void StartReadingInstalled();
    // The installed file, waiting for its reading (started here if nobody started it); empty
    // when it is not there.
    static const StrokeCounts& Installed();

    // The stroke count of the CP932 character c (two bytes), when the file gives one.
    std::optional<int> of(std::string_view c) const;
    std::size_t size() const { return m_counts.size(); }

private:
    std::unordered_map<unsigned, int> m_counts;  // CP932 code (lead << 8 | trail)
};

// A stroke-count file read once on a thread of its own: any thread may start it and any number
// may ask for the counts, which they all get from the one reading.
class StrokeCountsFile {
public:
    explicit StrokeCountsFile(std::string path) : m_path(std::move(path)) {}
    StrokeCountsFile(const StrokeCountsFile&) = delete;
    StrokeCountsFile& operator=(const StrokeCountsFile&) = delete;

    void start();
    bool started() const { return m_started.load(); }
    // Waits for the reading; starts it first when it has not been.
    const StrokeCounts& counts();

private:
    const std::string m_path;
    std::once_flag m_once;
    std::shared_future<StrokeCounts> m_counts;  // set once, under m_once
    std::atomic<bool> m_started{false};
};

// The family of the installed stroke-order font, or empty. Asks the system's fonts (fontconfig)
// unless a lookup was set.
std::string StrokeOrderFontFamily();
// For tests: a lookup that says whether a family is installed; an empty function restores the
// system's.
void SetFontLookup(std::function<bool(const std::string& family)> lookup);

}  // namespace sulkan
