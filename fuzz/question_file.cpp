// Units of a question file: the two readers agree on the blocks both take as they stand; a unit
// written with its own content is left as it stands, or refused when a rewrite would corrupt
// the file; written with changed content it touches nothing outside it, reads back as written
// (the worksheet reader too, when the questions stand), and a second write is a no-op.
// The first input byte picks the unit header to rewrite; the rest is the file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "LineFile.h"
#include "QuestionFile.h"

namespace {

using namespace sulkan;
using fuzz::UnitHeaders;
using Lines = std::vector<std::string>;

// What the writer keeps of what a reader gave it: it never writes "<<ans" or "<<header".
UnitBlocks Writable(UnitBlocks blocks) {
    blocks.ans.clear();
    blocks.header.clear();
    return blocks;
}

// The unit written into the file's lines as the master save writes it (a unit that already reads
// as blocks stays as it stands); lines take the result unless it was refused.
UnitSplice Write(Lines& lines, const std::string& headerLine, const UnitBlocks& blocks) {
    UnitSplice spliced = SpliceUnit(JoinLines(lines), headerLine, blocks, /*keepUnchanged=*/true);
    if (spliced.problem) {
        FUZZ_REQUIRE(spliced.bytes.empty(), "a refused write gave bytes");
    } else {
        lines = SplitLines(spliced.bytes);
        FUZZ_REQUIRE(JoinLines(lines) == spliced.bytes, "a write left a line without CR LF");
    }
    return spliced;
}

void CheckReaders(const Lines& lines, std::size_t header, std::size_t end) {
    const UnitBlocks lenient = ReadUnit(lines, header);
    const StrictUnitRead strict = ReadUnitStrict(lines, header);
    if (strict.problem) return;
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

// Every other unit whose header stands outside the unit at [header, end) reads as before.
void CheckOtherUnits(const Lines& lines, const Lines& once, const std::string& headerLine,
                     std::size_t header, std::size_t end, const Lines& headers) {
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

// The unit rewritten with changed content: nothing outside it moves, it reads back as written,
// a second write is a no-op, and no other unit reads differently. Returns the rewritten file.
Lines CheckChangedRewrite(const Lines& lines, const std::string& headerLine,
                          const UnitBlocks& blocks, const Lines& headers) {
    const std::size_t header = *LocateUnit(lines, headerLine);
    const std::size_t end = UnitEnd(lines, header);
    Lines once = lines;
    const UnitSplice result = Write(once, headerLine, blocks);
    FUZZ_REQUIRE(!result.problem, "a changed unit's rewrite was refused");
    FUZZ_REQUIRE(result.replaced, "an existing unit was appended");
    const std::size_t written = RewrittenUnitLines(lines, header, blocks).size();

    FUZZ_REQUIRE(once.size() == lines.size() - (end - header) + written, "the file changed size");
    for (std::size_t i = 0; i < header; ++i)
        FUZZ_REQUIRE(once[i] == lines[i], "a line before the unit changed");
    for (std::size_t i = end; i < lines.size(); ++i)
        FUZZ_REQUIRE(once[i - end + header + written] == lines[i], "a line after the unit changed");

    FUZZ_REQUIRE(LocateUnit(once, headerLine) == header, "the rewritten unit moved");
    FUZZ_REQUIRE(UnitEnd(once, header) == header + written, "the rewritten unit ends elsewhere");
    FUZZ_REQUIRE(ReadUnit(once, header) == Writable(blocks), "the rewritten unit reads otherwise");

    Lines twice = once;
    Write(twice, headerLine, ReadUnit(once, header));
    FUZZ_REQUIRE(twice == once, "a second rewrite changed the file");
    CheckOtherUnits(lines, once, headerLine, header, end, headers);
    return once;
}

void CheckRewrite(const Lines& lines, const std::string& headerLine, const Lines& headers) {
    const std::size_t header = *LocateUnit(lines, headerLine);
    const std::size_t end = UnitEnd(lines, header);
    FUZZ_REQUIRE(end > header && end <= lines.size(), "unit end outside the file");
    CheckReaders(lines, header, end);

    // A unit the rewrite would corrupt is refused and the file left alone.
    const UnitBlocks blocks = ReadUnit(lines, header);
    Lines same = lines;
    const UnitSplice result = Write(same, headerLine, blocks);
    FUZZ_REQUIRE(same == lines, "a refused or unchanged unit changed the file");
    FUZZ_REQUIRE(result.problem.has_value() == !UnitRewriteProblem(lines, header),
                 "a rewrite refused without a problem, or done despite one");
    if (result.problem) return;
    FUZZ_REQUIRE(result.replaced, "an existing unit was appended");

    // Changed apart from its questions: the worksheet reader reads the same questions, and
    // every other block as written.
    UnitBlocks hinted = blocks;
    hinted.hint.push_back("fuzz hint");
    const Lines once = CheckChangedRewrite(lines, headerLine, hinted, headers);
    const StrictUnitRead strictBefore = ReadUnitStrict(lines, header);
    if (!strictBefore.problem) {
        const StrictUnitRead strictAfter = ReadUnitStrict(once, header);
        FUZZ_REQUIRE(!strictAfter.problem, "a rewritten unit no longer reads as a worksheet");
        UnitBlocks expected = strictBefore.blocks;
        expected.hint = hinted.hint;
        expected.header.clear();
        FUZZ_REQUIRE(strictAfter.blocks == expected,
                     "a rewrite that kept the questions reads otherwise as a worksheet");
    }

    // Changed questions.
    UnitBlocks asked = blocks;
    asked.ques.push_back("fuzz #q#");
    CheckChangedRewrite(lines, headerLine, asked, headers);
}

// A header the file lacks: the unit is appended after every line of the file.
void CheckAppend(const Lines& lines, const Lines& headers) {
    std::string headerLine;
    for (int n = 1; headerLine.empty() || LocateUnit(lines, headerLine); ++n)
        headerLine = "[[unit" + std::to_string(n);
    const UnitBlocks blocks =
        headers.empty() ? UnitBlocks{} : ReadUnit(lines, *LocateUnit(lines, headers.front()));
    Lines out = lines;
    const UnitSplice result = Write(out, headerLine, blocks);
    FUZZ_REQUIRE(!result.replaced, "a missing unit was replaced");
    FUZZ_REQUIRE(result.problem.has_value() == !AppendProblem(lines),
                 "an append refused without a problem, or done despite one");
    if (result.problem) {
        FUZZ_REQUIRE(out == lines, "a refused append changed the file");
        return;
    }
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
