// The question editor's save on any file: a unit loaded into the fields, the fields (some
// replaced by the input's texts) assembled and spliced into the file's bytes. Only the unit's
// own bytes change, the unit reads back as the fields, a second save of its own fields is a
// no-op, other units read as before, and a refused save names a problem and gives no bytes.
// Input: pick byte, question-file bytes, then NUL-separated texts for the fields in the order
// ques, dummy, kgroup, hint, qgraph, agraph, pasteLo (CP932 lines), softKeyB (taken whole).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "LineFile.h"
#include "QuestionEditing.h"
#include "QuestionFile.h"

namespace {

using namespace sulkan;
using fuzz::kHeaderPrefix;
using fuzz::LineStarts;
using fuzz::UnitHeaders;
using Lines = std::vector<std::string>;

// The texts after the file replace the fields they stand for.
QuestionFields WithInputTexts(QuestionFields fields, const std::vector<std::string>& texts) {
    UnitBlocks& b = fields.blocks;
    Lines* const lists[] = {&b.ques,  &b.dummy,  &b.kgroup,      &b.hint,
                            &b.graph, &b.agraph, &fields.pasteLo};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i < std::size(lists))
            *lists[i] = SplitLines(texts[i]);
        else if (i == std::size(lists))
            fields.softKeyB = texts[i];
    }
    return fields;
}

// What a unit written from blocks reads back as: the editor never writes "<<ans" or
// "<<header".
UnitBlocks Writable(UnitBlocks blocks) {
    blocks.ans.clear();
    blocks.header.clear();
    return blocks;
}

// Every unit other than the one saved, whose header stands outside it, reads as before.
void CheckOtherUnits(const Lines& before, const Lines& after, const std::string& saved,
                     std::size_t first, std::size_t last, const Lines& headers) {
    for (const auto& other : headers) {
        if (other == saved) continue;
        const std::size_t at = *LocateUnit(before, other);
        if (at >= first && at < last) continue;
        const auto moved = LocateUnit(after, other);
        FUZZ_REQUIRE(moved.has_value(), "another unit's header was lost");
        FUZZ_REQUIRE(ReadUnit(after, *moved) == ReadUnit(before, at),
                     "saving a unit changed another unit");
    }
}

// The unit of headerLine in the saved bytes reads as the blocks, and a second save of the fields
// loaded from them gives the same bytes (a third, when the first appended the unit).
void CheckReadBack(const std::string& saved, const std::string& headerLine,
                   const UnitBlocks& blocks, bool appended) {
    const Lines lines = SplitLines(saved);
    const auto at = LocateUnit(lines, headerLine);
    FUZZ_REQUIRE(at.has_value(), "the saved unit is not found");
    FUZZ_REQUIRE(UnitRewriteProblem(lines, *at).ok(), "the saved unit cannot be saved again");
    FUZZ_REQUIRE(ReadUnit(lines, *at) == Writable(blocks), "the saved unit reads otherwise");
    const LoadedFields loaded = LoadUnitFields(lines, headerLine);
    FUZZ_REQUIRE(loaded.found && loaded.fields.blocks.ques == blocks.ques,
                 "the question lines loaded differ from the fields saved");
    const UnitSplice again = SpliceUnit(saved, headerLine, BlocksOf(loaded.fields));
    FUZZ_REQUIRE(!again.problem, "saving the unit's own fields again was refused");
    if (again.bytes == saved) return;
    // An appended unit has the order of a new one; the next save puts it in the editor's order
    // (as documented), and from then on a save of its own fields is a no-op.
    FUZZ_REQUIRE(appended, "a second save of the unit's own fields changed bytes");
    FUZZ_REQUIRE(ReadUnit(SplitLines(again.bytes), *at) == Writable(blocks),
                 "reordering the appended unit changed what it reads");
    CheckReadBack(again.bytes, headerLine, blocks, false);
}

void CheckSave(const std::string& bytes, const Lines& lines, const std::string& headerLine,
               const QuestionFields& fields, const Lines& headers, bool asLoaded) {
    const UnitBlocks blocks = BlocksOf(fields);
    const UnitSplice splice = SpliceUnit(bytes, headerLine, blocks);
    const auto at = LocateUnit(lines, headerLine);
    const Result<> writable = at ? UnitRewriteProblem(lines, *at) : AppendProblem(lines);
    // A content line equal to a later unit's header would be found in that unit's place.
    bool hidesLater = false;
    if (at) {
        const std::size_t end = UnitEnd(lines, *at);
        for (const Lines* list :
             {&blocks.ques, &blocks.value, &blocks.font, &blocks.kran, &blocks.graph,
              &blocks.agraph, &blocks.kgroup, &blocks.dummy, &blocks.hint, &blocks.softKeyB})
            for (const auto& line : *list)
                hidesLater = hidesLater || (line.starts_with(kHeaderPrefix) &&
                                            LocateUnit(lines, line).value_or(0) >= end);
    }
    const bool refuse = !writable || !UnwritableContent(blocks) || hidesLater;
    FUZZ_REQUIRE(splice.problem.has_value() == refuse,
                 "a save refused without a problem, or done despite one");
    if (splice.problem) {
        FUZZ_REQUIRE(splice.bytes.empty() && !splice.replaced && !splice.problem->message.empty(),
                     "a refused save gave bytes, or no reason");
        return;
    }
    FUZZ_REQUIRE(splice.replaced == at.has_value(), "replaced and appended mixed up");
    const std::string& out = splice.bytes;
    const std::vector<std::size_t> starts = LineStarts(bytes);
    FUZZ_REQUIRE(starts.size() == lines.size() + 1, "the target's line count is off");

    std::size_t first = lines.size(), last = lines.size();  // the unit's lines in the input
    if (at) {
        first = *at;
        last = UnitEnd(lines, *at);
    }
    const std::size_t head = starts[first], tail = bytes.size() - starts[last];
    FUZZ_REQUIRE(out.size() >= head + tail, "the saved bytes are too short");
    FUZZ_REQUIRE(out.compare(0, head, bytes, 0, head) == 0, "a byte before the unit changed");
    FUZZ_REQUIRE(out.compare(out.size() - tail, tail, bytes, starts[last], tail) == 0,
                 "a byte after the unit changed");
    // The unit's own bytes: whole CR LF lines from its header on, so what follows starts a line.
    std::string_view unit(out);
    unit = unit.substr(head, out.size() - head - tail);
    if (!at && head > 0 && bytes[head - 1] != '\r' && bytes[head - 1] != '\n') {
        FUZZ_REQUIRE(unit.starts_with("\r\n"), "the appended unit joins the file's last line");
        unit.remove_prefix(2);
    }
    FUZZ_REQUIRE(unit.starts_with(headerLine + "\r\n") && unit.ends_with("]]\r\n"),
                 "the unit's bytes are not its header through \"]]\" in CR LF lines");
    const Lines outLines = SplitLines(out);
    FUZZ_REQUIRE(LocateUnit(outLines, headerLine) == first, "the saved unit moved");
    CheckOtherUnits(lines, outLines, headerLine, first, last, headers);
    CheckReadBack(out, headerLine, blocks, !at);
    if (!asLoaded || !at) return;
    // Saved as loaded, the unit is the same worksheet, but for the soft-keyboard name: the editor
    // holds one, the last line it read.
    const StrictUnitRead sheetBefore = ReadUnitStrict(lines, *at);
    if (sheetBefore.problem) return;
    const StrictUnitRead sheetAfter = ReadUnitStrict(outLines, first);
    FUZZ_REQUIRE(!sheetAfter.problem, "a unit saved as loaded no longer reads as a worksheet");
    UnitBlocks expected = Writable(sheetBefore.blocks);
    if (!expected.softKeyB.empty())
        expected.softKeyB =
            expected.softKeyB.back().empty() ? Lines{} : Lines{expected.softKeyB.back()};
    FUZZ_REQUIRE(sheetAfter.blocks == expected,
                 "a unit saved as loaded reads otherwise as a worksheet");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Split input = fuzz::SplitPick(data, size);
    // The file up to the first NUL, then the field texts.
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t nul = input.bytes.find('\0', from);
        parts.push_back(input.bytes.substr(from, nul - from));
        if (nul == std::string::npos) break;
        from = nul + 1;
    }
    const std::string bytes = parts.front();
    const std::vector<std::string> texts(parts.begin() + 1, parts.end());
    const Lines lines = SplitLines(bytes);
    const Lines headers = UnitHeaders(lines);

    // One pick in headers.size() + 1 saves a unit the file lacks.
    const std::size_t pick = input.pick % (headers.size() + 1);
    std::string headerLine;
    if (pick < headers.size()) {
        headerLine = headers[pick];
    } else {
        for (int n = 1; headerLine.empty() || LocateUnit(lines, headerLine); ++n)
            headerLine = "[[unit" + std::to_string(n);
    }
    const LoadedFields loaded = LoadUnitFields(lines, headerLine);
    FUZZ_REQUIRE(loaded.found == (pick < headers.size()), "a unit found or not wrongly");
    if (loaded.found) {
        // The fields as loaded: saved unchanged, the unit keeps its content.
        const std::size_t at = *LocateUnit(lines, headerLine);
        FUZZ_REQUIRE(loaded.unitLines.size() == UnitEnd(lines, at) - at,
                     "the unit's lines as read are not its header through its end");
        CheckSave(bytes, lines, headerLine, loaded.fields, headers, true);
    }
    if (!texts.empty())
        CheckSave(bytes, lines, headerLine, WithInputTexts(loaded.fields, texts), headers, false);
    return 0;
}
