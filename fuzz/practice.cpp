// The practice sheet's kanji and readings on any question lines: each kanji once, a reading (or
// none) for each of them, the same answer twice, and rows that stay on the paper. The first input
// byte picks the paper; the rest are the lines, cut at CR and LF.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "PracticeReadings.h"
#include "PracticeSheet.h"

namespace {

using namespace sulkan;

#define CHECK(condition) \
    ((condition) ? void() : fuzz::PropertyFailed(#condition, __FILE__, __LINE__))

constexpr int kPaperWidths[] = {546, 630, 771, 891};  // B5, A4, B4, A3 in sheet units

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    const std::vector<std::size_t> starts = fuzz::LineStarts(bytes);
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        std::string line = bytes.substr(starts[i], starts[i + 1] - starts[i]);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Split input = fuzz::SplitPick(data, size);
    const std::vector<std::string> lines = Lines(input.bytes);

    const std::vector<std::string> kanji = PracticeKanji(lines);
    const std::set<std::string> distinct(kanji.begin(), kanji.end());
    CHECK(distinct.size() == kanji.size());
    for (const std::string& k : kanji)
        CHECK(!k.empty() && input.bytes.find(k) != std::string::npos);

    const std::vector<std::string> readings = PracticeReadings(lines, kanji);
    CHECK(readings.size() == kanji.size());
    CHECK(PracticeReadings(lines, kanji) == readings);

    const int width = kPaperWidths[input.pick % 4];
    const PracticeLayout layout = LayOutPractice(width, width * 1414 / 1000);
    const int pages = layout.pages(static_cast<int>(kanji.size()));
    CHECK(kanji.empty() ? pages == 0
                        : pages * layout.rowsPerPage >= static_cast<int>(kanji.size()));
    for (int row = 0; row < layout.rowsPerPage; ++row)
        for (const PracticeSquare& s : layout.squares(row))
            CHECK(s.left >= 0 && s.top >= 0 && s.left + s.side <= layout.paperWidth &&
                  s.top + layout.rowPitch <= layout.paperHeight);
    return 0;
}
