// Units of a question file: finding a unit, reading its blocks (leniently for the editor,
// strictly for worksheets) and writing it back in place. Lines are CP932 byte strings without
// line ends; every line outside the unit being written is kept byte for byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Result.h"

namespace sulkan {

// Content lines of each block of one unit, without tag and ">>"; an absent block is empty.
// "ans" and "header" occur only in copy files.
struct UnitBlocks {
    std::vector<std::string> ques, value, font, kran, graph, agraph, kgroup, dummy, hint, softKeyB,
        ans, header;

    friend bool operator==(const UnitBlocks&, const UnitBlocks&) = default;
};

// Index of the first line equal to headerLine (whole line, case-sensitive), if any.
std::optional<std::size_t> LocateUnit(const std::vector<std::string>& lines,
                                      const std::string& headerLine);

// One past the last line of the unit whose header is at headerIndex: after its "]]". A block
// runs to the next ">>" line, past any "]]" (without one, to the end of the file, and the unit
// with it). A unit without "]]" ends where the next unit header starts outside a block.
std::size_t UnitEnd(const std::vector<std::string>& lines, std::size_t headerIndex);

// The editor's reader: every block, in any order, content as it stands. A "<<value", "<<font",
// "<<kran", "<<kgroup" or "<<SoftKeyB" seen again replaces the earlier one, as in the worksheet
// reader; the other blocks add up. Lines outside blocks are ignored.
UnitBlocks ReadUnit(const std::vector<std::string>& lines, std::size_t headerIndex);

// The worksheet reader's result. When problem is set (its message for the user), reading stopped
// at the failing block (its tag at errorLine) and blocks holds only what came before it; callers
// take nothing. warnings (CP932, each naming its line) tell what was read other than as written,
// or suspiciously: a repeated block, a layout line that is not a number or is out of range, a
// "]]" or block tag line inside a block.
struct StrictUnitRead {
    UnitBlocks blocks;
    std::optional<Problem> problem;
    std::size_t errorLine = 0;
    std::vector<std::string> warnings;
};

// Inclusive limit of the question lines on one worksheet.
inline constexpr std::size_t kMaxQuestionLines = 60;

// The worksheet reader: a "{" ... "}" preamble at the start of "<<ques" is skipped (it ends at
// the block's ">>" when "}" is missing); "<<value" and "<<font" must have 7 lines; "<<kran" up to
// 10, filled up to 10 with "0"; the question lines of this unit plus questionLinesAlreadyGathered
// may not exceed kMaxQuestionLines. "<<ans" content is skipped. A block tag seen again replaces
// the earlier "<<value", "<<font", "<<kran", "<<kgroup" or "<<SoftKeyB" content and adds to the
// other lists. A block that runs to the end of the file without its ">>" fails: read on, it
// would take every later unit's lines for its own. A "]]" or block tag line inside a block is
// read as content, with a warning. A block the unit
// lacks stays empty (a present "<<kran" never is), and the caller keeps its own defaults for it
// (see WorksheetFallbackLayout).
StrictUnitRead ReadUnitStrict(const std::vector<std::string>& lines, std::size_t headerIndex,
                              std::size_t questionLinesAlreadyGathered = 0);

// The layout blocks of an editor text that holds them with their tags (no unit header).
UnitBlocks ReadLayoutText(const std::vector<std::string>& lines);
// The non-empty ones of "<<value", "<<font", "<<kran" of blocks, with tags and ">>".
std::vector<std::string> LayoutTextLines(const UnitBlocks& blocks);

// Existing: the unit stays where it is and gets the full editor order. New: the order a unit is
// first appended in.
enum class UnitOrder { Existing, New };

// The lines of a unit. "<<ques" and "<<dummy" are always written, every other block only when it
// has lines (a layout block without lines would fail the worksheet reader); "<<ans" and
// "<<header" are never written. A new unit carries "<<SoftKeyB", "<<kgroup" and "<<hint", when
// they have lines, after its figure blocks.
std::vector<std::string> UnitLines(const std::string& headerLine, const UnitBlocks& blocks,
                                   UnitOrder order);

// The unit at headerIndex of lines as a rewrite gives it: UnitLines in Existing order, except
// that question lines as the unit has them keep their "<<ques" blocks as they stand (the
// worksheet reader skips a "{" ... "}" preamble at the start of each block, so merged into one
// block a later block's preamble would read as question lines), and that an empty "<<kran" the
// unit has stays (the worksheet reader reads it as zeros, a missing one as defaults).
std::vector<std::string> RewrittenUnitLines(const std::vector<std::string>& lines,
                                            std::size_t headerIndex, const UnitBlocks& blocks);

// The header LocateUnit found at headerIndex is a line inside another unit's block (a question
// line that reads like a header): the readers still take it, as the first match, but it is no
// unit of its own. CP932, naming the line and the unit around it.
Result<> HeaderInsideBlock(const std::vector<std::string>& lines, std::size_t headerIndex);

// Why the unit whose header LocateUnit found at headerIndex cannot be rewritten in place: the
// header is a line inside another unit's block, or a block of the unit lacks its ">>" (the
// rewrite would swallow what follows). CP932, naming the line.
Result<> UnitRewriteProblem(const std::vector<std::string>& lines, std::size_t headerIndex);

// Why no unit can be appended to the file: a unit's block is open at its end, and would take the
// new unit in as content.
Result<> AppendProblem(const std::vector<std::string>& lines);

// Content the file could not give back as it is: a line ">>", or a line break in a line.
Result<> UnwritableContent(const UnitBlocks& blocks);

// A content line equal to the header of a unit further down the file than the unit at headerIndex
// (or than the end, for a unit to be appended, where there is none): every reader looking for that
// unit takes the first such line, and would find it inside this unit's block.
Result<> LaterHeaderProblem(const std::vector<std::string>& lines,
                            std::optional<std::size_t> headerIndex, const UnitBlocks& blocks);

// The file's bytes with the unit of headerLine written from blocks: an existing unit is replaced
// where it stands (header through its end) by RewrittenUnitLines, a missing one appended in New
// order. Every byte outside the unit stays as it was, line ends included. With keepUnchanged, a
// unit that already reads as blocks is left as it stands (bytes == fileBytes). problem says why
// the unit cannot be written (UnitRewriteProblem, AppendProblem, UnwritableContent,
// LaterHeaderProblem); bytes is then empty.
struct UnitSplice {
    std::string bytes;
    bool replaced = false;
    std::optional<Problem> problem;
};
UnitSplice SpliceUnit(const std::string& fileBytes, const std::string& headerLine,
                      const UnitBlocks& blocks, bool keepUnchanged = false);

}  // namespace sulkan
