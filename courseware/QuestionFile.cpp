#include "QuestionFile.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

#include "QuestionFileTags.h"
#include "Sjis.h"

namespace sulkan {

namespace {

using Lines = std::vector<std::string>;
using List = Lines UnitBlocks::*;

struct BlockTag {
    std::string_view tag;
    List list;
};

constexpr std::array<BlockTag, 12> kBlockTags = {{
    {tags::kQues, &UnitBlocks::ques},
    {tags::kValue, &UnitBlocks::value},
    {tags::kFont, &UnitBlocks::font},
    {tags::kKran, &UnitBlocks::kran},
    {tags::kGraph, &UnitBlocks::graph},
    {tags::kAGraph, &UnitBlocks::agraph},
    {tags::kKgroup, &UnitBlocks::kgroup},
    {tags::kDummy, &UnitBlocks::dummy},
    {tags::kHint, &UnitBlocks::hint},
    {tags::kSoftKeyB, &UnitBlocks::softKeyB},
    {tags::kAns, &UnitBlocks::ans},
    {tags::kHeader, &UnitBlocks::header},
}};

std::optional<List> ListOfTag(std::string_view line) {
    for (const auto& t : kBlockTags) {
        if (line == t.tag) return t.list;
    }
    return std::nullopt;
}

// One block as found in the file: content lines [first, last).
struct BlockSpan {
    List list;
    std::size_t first;
    std::size_t last;
};

struct UnitSpan {
    std::vector<BlockSpan> blocks;
    std::size_t end;  // one past the unit's last line
};

// The single scan both readers, UnitEnd and the writer share, so they agree on what the unit is.
// A unit header met outside a block means this unit's "]]" is missing: stopping there keeps the
// next unit out of this one (and out of a rewrite of this one).
UnitSpan ScanUnit(const Lines& lines, std::size_t from) {
    UnitSpan span{{}, lines.size()};
    std::size_t i = from;
    while (i < lines.size()) {
        const std::string& line = lines[i];
        if (line == tags::kUnitEnd) {
            span.end = i + 1;
            break;
        }
        if (line.starts_with(tags::kUnitHeaderPrefix)) {
            span.end = i;
            break;
        }
        if (auto list = ListOfTag(line)) {
            std::size_t close = i + 1;
            while (close < lines.size() && lines[close] != tags::kBlockEnd) ++close;
            span.blocks.push_back({*list, i + 1, close});
            i = close + 1;  // past ">>", or past the end when it is missing
            continue;
        }
        ++i;
    }
    return span;
}

UnitSpan ScanUnitAt(const Lines& lines, std::size_t headerIndex) {
    return ScanUnit(lines, headerIndex + 1);
}

Lines::const_iterator At(const Lines& lines, std::size_t index) {
    return lines.begin() + static_cast<std::ptrdiff_t>(index);
}

void Append(Lines& to, const Lines& lines, std::size_t first, std::size_t last) {
    to.insert(to.end(), At(lines, first), At(lines, last));
}

Lines Slice(const Lines& lines, const BlockSpan& b) {
    return Lines(At(lines, b.first), At(lines, b.last));
}

UnitBlocks CollectAll(const Lines& lines, const UnitSpan& span) {
    UnitBlocks blocks;
    for (const auto& b : span.blocks) Append(blocks.*(b.list), lines, b.first, b.last);
    return blocks;
}

// First question line of a "<<ques" block: a preamble from a first line "{" through the next
// "}" is not part of the questions. It stays inside its block even when "}" is missing.
std::size_t AfterPreamble(const Lines& lines, const BlockSpan& b) {
    if (b.first == b.last || lines[b.first] != "{") return b.first;
    const auto close = std::find(At(lines, b.first + 1), At(lines, b.last), "}");
    return close == At(lines, b.last) ? b.last
                                      : static_cast<std::size_t>(close - lines.begin()) + 1;
}

std::string BlockError(List list) {
    for (const auto& t : kBlockTags) {
        if (t.list == list) return std::string(t.tag) + " block error";
    }
    return "block error";
}

constexpr std::size_t kLayoutLength = 7;
constexpr std::size_t kKranLength = 10;

void AppendBlock(Lines& out, std::string_view tag, const Lines& content) {
    out.emplace_back(tag);
    out.insert(out.end(), content.begin(), content.end());
    out.emplace_back(tags::kBlockEnd);
}

void AppendIfAny(Lines& out, std::string_view tag, const Lines& content) {
    if (!content.empty()) AppendBlock(out, tag, content);
}

}  // namespace

std::optional<std::size_t> LocateUnit(const Lines& lines, const std::string& headerLine) {
    auto it = std::find(lines.begin(), lines.end(), headerLine);
    if (it == lines.end()) return std::nullopt;
    return static_cast<std::size_t>(it - lines.begin());
}

std::size_t UnitEnd(const Lines& lines, std::size_t headerIndex) {
    return ScanUnitAt(lines, headerIndex).end;
}

UnitBlocks ReadUnit(const Lines& lines, std::size_t headerIndex) {
    return CollectAll(lines, ScanUnitAt(lines, headerIndex));
}

StrictUnitRead ReadUnitStrict(const Lines& lines, std::size_t headerIndex,
                              std::size_t questionLinesAlreadyGathered) {
    StrictUnitRead read;
    for (const auto& b : ScanUnitAt(lines, headerIndex).blocks) {
        Lines& list = read.blocks.*(b.list);
        const std::size_t count = b.last - b.first;
        if (b.list == &UnitBlocks::ques) {
            const std::size_t first = AfterPreamble(lines, b);
            if (questionLinesAlreadyGathered + list.size() + (b.last - first) > kMaxQuestionLines) {
                read.error = sjis("問題の行は６０行以下です");
                return read;
            }
            Append(list, lines, first, b.last);
        } else if (b.list == &UnitBlocks::value || b.list == &UnitBlocks::font) {
            if (count != kLayoutLength) {
                read.error = BlockError(b.list);
                return read;
            }
            list = Slice(lines, b);
        } else if (b.list == &UnitBlocks::kran) {
            if (count > kKranLength) {
                read.error = BlockError(b.list);
                return read;
            }
            list = Slice(lines, b);
            list.resize(kKranLength, "0");
        } else if (b.list == &UnitBlocks::kgroup || b.list == &UnitBlocks::softKeyB) {
            list = Slice(lines, b);
        } else if (b.list != &UnitBlocks::ans) {
            Append(list, lines, b.first, b.last);
        }
    }
    return read;
}

UnitBlocks ReadLayoutText(const Lines& lines) {
    // The text has no header line: its blocks start at once.
    return CollectAll(lines, ScanUnit(lines, 0));
}

Lines LayoutTextLines(const UnitBlocks& blocks) {
    Lines out;
    AppendIfAny(out, tags::kValue, blocks.value);
    AppendIfAny(out, tags::kFont, blocks.font);
    AppendIfAny(out, tags::kKran, blocks.kran);
    return out;
}

Lines UnitLines(const std::string& headerLine, const UnitBlocks& blocks, UnitOrder order) {
    Lines out{headerLine};
    if (order == UnitOrder::Existing) {
        AppendIfAny(out, tags::kSoftKeyB, blocks.softKeyB);
        AppendBlock(out, tags::kQues, blocks.ques);
        AppendIfAny(out, tags::kKgroup, blocks.kgroup);
        AppendBlock(out, tags::kDummy, blocks.dummy);
        AppendIfAny(out, tags::kGraph, blocks.graph);
        AppendIfAny(out, tags::kAGraph, blocks.agraph);
        AppendIfAny(out, tags::kHint, blocks.hint);
        AppendIfAny(out, tags::kValue, blocks.value);
        AppendIfAny(out, tags::kFont, blocks.font);
        AppendIfAny(out, tags::kKran, blocks.kran);
    } else {
        AppendBlock(out, tags::kQues, blocks.ques);
        AppendBlock(out, tags::kDummy, blocks.dummy);
        AppendIfAny(out, tags::kValue, blocks.value);
        AppendIfAny(out, tags::kFont, blocks.font);
        AppendIfAny(out, tags::kKran, blocks.kran);
        AppendIfAny(out, tags::kGraph, blocks.graph);
        AppendIfAny(out, tags::kAGraph, blocks.agraph);
        // What the teacher gave a new unit is kept; these go last so the usual order stands.
        AppendIfAny(out, tags::kSoftKeyB, blocks.softKeyB);
        AppendIfAny(out, tags::kKgroup, blocks.kgroup);
        AppendIfAny(out, tags::kHint, blocks.hint);
    }
    out.emplace_back(tags::kUnitEnd);
    return out;
}

bool WriteUnit(Lines& fileLines, const std::string& headerLine, const UnitBlocks& blocks) {
    auto header = LocateUnit(fileLines, headerLine);
    if (!header) {
        Lines unit = UnitLines(headerLine, blocks, UnitOrder::New);
        fileLines.insert(fileLines.end(), std::make_move_iterator(unit.begin()),
                         std::make_move_iterator(unit.end()));
        return false;
    }
    const std::size_t end = UnitEnd(fileLines, *header);
    Lines unit = UnitLines(headerLine, blocks, UnitOrder::Existing);
    const auto first = fileLines.begin() + static_cast<std::ptrdiff_t>(*header);
    const auto last = fileLines.begin() + static_cast<std::ptrdiff_t>(end);
    const auto at = fileLines.erase(first, last);
    fileLines.insert(at, std::make_move_iterator(unit.begin()),
                     std::make_move_iterator(unit.end()));
    return true;
}

}  // namespace sulkan
