// Units of a question file: the two readers agree on the blocks both take as they stand, and the
// in-place rewrite of one unit with its own content touches nothing outside it, reads back the
// same, is a no-op the second time and changes nothing when the unit already is in writer order.
// The first input byte picks the unit header to rewrite; the rest is the file.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "LineFile.h"
#include "QuestionFile.h"

namespace {

using namespace sulkan;
using Lines = std::vector<std::string>;

constexpr std::string_view kHeaderPrefix = "[[unit";

// Header lines in the order of their first occurrence.
Lines UnitHeaders(const Lines& lines) {
    Lines headers;
    for (const auto& line : lines) {
        if (!line.starts_with(kHeaderPrefix)) continue;
        bool seen = false;
        for (const auto& h : headers) seen = seen || h == line;
        if (!seen) headers.push_back(line);
    }
    return headers;
}

// What the writer keeps of what a reader gave it: it never writes "<<ans" or "<<header".
UnitBlocks Writable(UnitBlocks blocks) {
    blocks.ans.clear();
    blocks.header.clear();
    return blocks;
}

// The order the writer gives an existing unit, stated apart from the writer: header, blocks in
// this order each at most once (optional ones only with content), "]]", nothing in between.
bool InWriterOrder(const Lines& lines, std::size_t header, std::size_t end) {
    struct Slot {
        std::string_view tag;
        bool required;
    };
    constexpr std::array<Slot, 10> kOrder = {{{"<<SoftKeyB", false},
                                              {"<<ques", true},
                                              {"<<kgroup", false},
                                              {"<<dummy", true},
                                              {"<<graph", false},
                                              {"<<AGraph", false},
                                              {"<<hint", false},
                                              {"<<value", false},
                                              {"<<font", false},
                                              {"<<kran", false}}};
    if (end <= header + 1 || lines[end - 1] != "]]") return false;
    std::size_t next = 0;  // first slot still allowed
    std::size_t i = header + 1;
    while (i < end - 1) {
        std::size_t slot = next;
        while (slot < kOrder.size() && lines[i] != kOrder[slot].tag) {
            if (kOrder[slot].required) return false;
            ++slot;
        }
        if (slot == kOrder.size()) return false;
        std::size_t close = i + 1;
        while (close < end - 1 && lines[close] != ">>") ++close;
        if (close == end - 1) return false;
        if (!kOrder[slot].required && close == i + 1) return false;
        next = slot + 1;
        i = close + 1;
    }
    for (; next < kOrder.size(); ++next)
        if (kOrder[next].required) return false;
    return true;
}

void CheckReaders(const Lines& lines, std::size_t header, std::size_t end) {
    const UnitBlocks lenient = ReadUnit(lines, header);
    const StrictUnitRead strict = ReadUnitStrict(lines, header);
    if (strict.error) return;
    const UnitBlocks& s = strict.blocks;
    FUZZ_REQUIRE(s.value.empty() || s.value.size() == 7, "strict \"<<value\" not 7 lines");
    FUZZ_REQUIRE(s.font.empty() || s.font.size() == 7, "strict \"<<font\" not 7 lines");
    FUZZ_REQUIRE(s.kran.empty() || s.kran.size() == 10, "strict \"<<kran\" not 10 lines");
    FUZZ_REQUIRE(s.ques.size() <= kMaxQuestionLines, "more question lines than a sheet holds");
    // Lists both readers take as the file has them.
    FUZZ_REQUIRE(s.graph == lenient.graph && s.agraph == lenient.agraph,
                 "readers disagree on figures");
    FUZZ_REQUIRE(s.dummy == lenient.dummy && s.hint == lenient.hint,
                 "readers disagree on distractors or hints");
    FUZZ_REQUIRE(s.header == lenient.header, "readers disagree on the copy-file header");
    FUZZ_REQUIRE(s.kgroup == lenient.kgroup, "readers disagree on the answer choices");
    FUZZ_REQUIRE(s.softKeyB == lenient.softKeyB, "readers disagree on the soft keyboard");
    bool preamble = false;
    for (std::size_t i = header; i < end; ++i) preamble = preamble || lines[i] == "{";
    if (!preamble) FUZZ_REQUIRE(s.ques == lenient.ques, "readers disagree on the questions");
}

void CheckRewrite(const Lines& lines, const std::string& headerLine, const Lines& headers) {
    const std::size_t header = *LocateUnit(lines, headerLine);
    const std::size_t end = UnitEnd(lines, header);
    FUZZ_REQUIRE(end > header && end <= lines.size(), "unit end outside the file");
    CheckReaders(lines, header, end);

    const UnitBlocks blocks = ReadUnit(lines, header);
    Lines once = lines;
    FUZZ_REQUIRE(WriteUnit(once, headerLine, blocks), "an existing unit was appended");
    const std::size_t written = UnitLines(headerLine, blocks, UnitOrder::Existing).size();

    // Nothing outside the unit moves: the lines before its header and after its end.
    FUZZ_REQUIRE(once.size() == lines.size() - (end - header) + written, "the file changed size");
    for (std::size_t i = 0; i < header; ++i)
        FUZZ_REQUIRE(once[i] == lines[i], "a line before the unit changed");
    for (std::size_t i = end; i < lines.size(); ++i)
        FUZZ_REQUIRE(once[i - end + header + written] == lines[i], "a line after the unit changed");

    // The rewritten unit is found where it was, spans what was written and reads back the same.
    FUZZ_REQUIRE(LocateUnit(once, headerLine) == header, "the rewritten unit moved");
    FUZZ_REQUIRE(UnitEnd(once, header) == header + written, "the rewritten unit ends elsewhere");
    FUZZ_REQUIRE(ReadUnit(once, header) == Writable(blocks), "the rewritten unit reads otherwise");

    Lines twice = once;
    WriteUnit(twice, headerLine, ReadUnit(once, header));
    FUZZ_REQUIRE(twice == once, "a second rewrite changed the file");

    if (InWriterOrder(lines, header, end))
        FUZZ_REQUIRE(once == lines, "a unit in writer order changed on rewrite");

    // Every other unit whose header stands outside this one reads as before.
    for (const auto& other : headers) {
        if (other == headerLine) continue;
        const std::size_t at = *LocateUnit(lines, other);
        if (at >= header && at < end) continue;
        const auto after = LocateUnit(once, other);
        FUZZ_REQUIRE(after.has_value(), "another unit's header was lost");
        FUZZ_REQUIRE(ReadUnit(once, *after) == ReadUnit(lines, at),
                     "rewriting a unit changed another unit");
    }
}

// A header the file lacks: the unit is appended after every line of the file.
void CheckAppend(const Lines& lines, const Lines& headers) {
    std::string headerLine;
    for (int n = 1; headerLine.empty() || LocateUnit(lines, headerLine); ++n)
        headerLine = "[[unit" + std::to_string(n);
    const UnitBlocks blocks =
        headers.empty() ? UnitBlocks{} : ReadUnit(lines, *LocateUnit(lines, headers.front()));
    Lines out = lines;
    FUZZ_REQUIRE(!WriteUnit(out, headerLine, blocks), "a missing unit was replaced");
    FUZZ_REQUIRE(out.size() > lines.size() && std::equal(lines.begin(), lines.end(), out.begin()),
                 "appending changed the lines before");
    FUZZ_REQUIRE(LocateUnit(out, headerLine) == lines.size(), "the appended unit is not last");
    FUZZ_REQUIRE(UnitEnd(out, lines.size()) == out.size(), "the appended unit ends early");
    FUZZ_REQUIRE(ReadUnit(out, lines.size()) == Writable(blocks),
                 "the appended unit reads otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Split input = fuzz::SplitPick(data, size);
    const Lines lines = SplitLines(input.bytes);
    const Lines headers = UnitHeaders(lines);
    // One pick in headers.size() + 1 appends a unit the file lacks.
    const std::size_t pick = input.pick % (headers.size() + 1);
    if (pick == headers.size()) {
        CheckAppend(lines, headers);
    } else {
        CheckRewrite(lines, headers[pick], headers);
    }
    return 0;
}
