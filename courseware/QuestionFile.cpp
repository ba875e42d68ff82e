#include "QuestionFile.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

#include "LayoutParams.h"
#include "LineFile.h"
#include "QuestionFileTags.h"
#include "Sjis.h"
#include "TextRoutines.h"

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

std::string_view TagOf(List list) {
    for (const auto& t : kBlockTags) {
        if (t.list == list) return t.tag;
    }
    return {};
}

// Blocks that hold one value: a second one replaces the first in every reader. The others are
// lists, and their blocks add up.
bool IsSingleValued(List list) {
    return list == &UnitBlocks::value || list == &UnitBlocks::font || list == &UnitBlocks::kran ||
           list == &UnitBlocks::kgroup || list == &UnitBlocks::softKeyB;
}

// One block as found in the file: content lines [first, last), its tag on the line before.
struct BlockSpan {
    List list;
    std::size_t first;
    std::size_t last;
    bool closed;  // a ">>" ends it (otherwise it runs to the end of the file)
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
            span.blocks.push_back({*list, i + 1, close, close < lines.size()});
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
    for (const auto& b : span.blocks) {
        if (IsSingleValued(b.list))
            blocks.*(b.list) = Slice(lines, b);
        else
            Append(blocks.*(b.list), lines, b.first, b.last);
    }
    return blocks;
}

std::string AtFileLine(std::size_t index) {
    return sjis("（ファイルの") + IntText(static_cast<long long>(index) + 1) + sjis("行目）");
}

// A block without ">>" runs to the end of the file, taking every later unit along.
Result<> UnclosedBlock(const BlockSpan& b) {
    if (b.closed) return {};
    return Problem(std::string(TagOf(b.list)) + sjis(" の終わりの >> がありません"));
}

// A "]]" or a block tag inside a block is content as the format stands, but most likely its
// ">>" was forgotten and the block goes on into the next block or unit.
std::optional<std::string> StructureInsideBlock(const Lines& lines, const BlockSpan& b) {
    const auto at = std::find_if(At(lines, b.first), At(lines, b.last), [](const std::string& l) {
        return l == tags::kUnitEnd || ListOfTag(l).has_value();
    });
    if (at == At(lines, b.last)) return std::nullopt;
    const auto index = static_cast<std::size_t>(at - lines.begin());
    return std::string(TagOf(b.list)) + sjis(" の中に「") + *at +
           sjis("」の行があります：>> が抜けていませんか") + AtFileLine(index);
}

// Calls visit(headerIndex, span) for each unit from the top of the file, as the readers take
// each of them, while it returns false and the unit starts at or before line last.
template <typename Visit>
void ForEachUnit(const Lines& lines, std::size_t last, Visit visit) {
    std::size_t i = 0;
    while (i < lines.size() && i <= last) {
        if (!lines[i].starts_with(tags::kUnitHeaderPrefix)) {
            ++i;
            continue;
        }
        const UnitSpan span = ScanUnit(lines, i + 1);
        if (visit(i, span)) return;
        i = std::max(span.end, i + 1);
    }
}

// The start of the unit (header index) whose block holds line index, when one does.
std::optional<std::size_t> EnclosingUnitOfBlockLine(const Lines& lines, std::size_t index) {
    std::optional<std::size_t> found;
    ForEachUnit(lines, index, [&](std::size_t header, const UnitSpan& span) {
        for (const auto& b : span.blocks) {
            if (b.first <= index && index < b.last) found = header;
        }
        return found.has_value();
    });
    return found;
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
    return std::string(TagOf(list)) + " block error";
}

void NoteRepeatedBlocks(const UnitSpan& span, std::vector<std::string>& warnings) {
    std::vector<List> seen;
    for (const auto& b : span.blocks) {
        if (!IsSingleValued(b.list)) continue;
        if (std::find(seen.begin(), seen.end(), b.list) == seen.end()) {
            seen.push_back(b.list);
            continue;
        }
        warnings.push_back(std::string(TagOf(b.list)) +
                           sjis(" が繰り返されています：最後のものを使います") +
                           AtFileLine(b.first - 1));
    }
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
    const UnitSpan span = ScanUnitAt(lines, headerIndex);
    const auto fail = [&read](std::string message, std::size_t tagLine) {
        read.problem = Problem(std::move(message));
        read.errorLine = tagLine;
        read.warnings.clear();
        return read;
    };
    for (const auto& b : span.blocks) {
        Lines& list = read.blocks.*(b.list);
        const std::size_t count = b.last - b.first;
        if (const Result<> closed = UnclosedBlock(b); !closed)
            return fail(closed.problem().message, b.first - 1);
        if (auto inside = StructureInsideBlock(lines, b)) read.warnings.push_back(*inside);
        if (b.list == &UnitBlocks::ques) {
            const std::size_t first = AfterPreamble(lines, b);
            if (questionLinesAlreadyGathered + list.size() + (b.last - first) > kMaxQuestionLines)
                return fail(sjis("問題の行は６０行以下です"), b.first - 1);
            Append(list, lines, first, b.last);
        } else if (b.list == &UnitBlocks::value || b.list == &UnitBlocks::font) {
            if (count != kLayoutLength) return fail(BlockError(b.list), b.first - 1);
            list = Slice(lines, b);
        } else if (b.list == &UnitBlocks::kran) {
            if (count > kKranLength) return fail(BlockError(b.list), b.first - 1);
            list = Slice(lines, b);
            list.resize(kKranLength, "0");
        } else if (IsSingleValued(b.list)) {
            list = Slice(lines, b);
        } else if (b.list != &UnitBlocks::ans) {
            Append(list, lines, b.first, b.last);
        }
    }
    NoteRepeatedBlocks(span, read.warnings);
    for (auto& problem : LayoutLineProblems(read.blocks.value, read.blocks.font, read.blocks.kran))
        read.warnings.push_back(std::move(problem));
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

namespace {

// What a rewrite keeps of the unit as the file has it (an existing unit only).
struct KeptBlocks {
    Lines quesBlocks;  // "<<ques" blocks with tags and ">>" in place of one block of blocks.ques
    bool emptyKran = false;  // an empty "<<kran" block, written though empty
};

Lines UnitLinesWith(const std::string& headerLine, const UnitBlocks& blocks, UnitOrder order,
                    const KeptBlocks& kept) {
    const Lines& quesBlocks = kept.quesBlocks;
    Lines out{headerLine};
    if (order == UnitOrder::Existing) {
        AppendIfAny(out, tags::kSoftKeyB, blocks.softKeyB);
        if (quesBlocks.empty())
            AppendBlock(out, tags::kQues, blocks.ques);
        else
            out.insert(out.end(), quesBlocks.begin(), quesBlocks.end());
        AppendIfAny(out, tags::kKgroup, blocks.kgroup);
        AppendBlock(out, tags::kDummy, blocks.dummy);
        AppendIfAny(out, tags::kGraph, blocks.graph);
        AppendIfAny(out, tags::kAGraph, blocks.agraph);
        AppendIfAny(out, tags::kHint, blocks.hint);
        AppendIfAny(out, tags::kValue, blocks.value);
        AppendIfAny(out, tags::kFont, blocks.font);
        if (kept.emptyKran && blocks.kran.empty())
            AppendBlock(out, tags::kKran, blocks.kran);
        else
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

}  // namespace

Lines UnitLines(const std::string& headerLine, const UnitBlocks& blocks, UnitOrder order) {
    return UnitLinesWith(headerLine, blocks, order, KeptBlocks{});
}

Lines RewrittenUnitLines(const Lines& lines, std::size_t headerIndex, const UnitBlocks& blocks) {
    const UnitSpan span = ScanUnitAt(lines, headerIndex);
    KeptBlocks kept;
    if (CollectAll(lines, span).ques == blocks.ques) {
        for (const auto& b : span.blocks)
            if (b.list == &UnitBlocks::ques)
                AppendBlock(kept.quesBlocks, tags::kQues, Slice(lines, b));
    }
    // The worksheet reader fills an empty "<<kran" with "0" lines, but a missing one with its
    // defaults: the last one, which every reader takes, stays even when empty.
    for (const auto& b : span.blocks)
        if (b.list == &UnitBlocks::kran) kept.emptyKran = b.first == b.last;
    return UnitLinesWith(lines[headerIndex], blocks, UnitOrder::Existing, kept);
}

Result<> HeaderInsideBlock(const Lines& lines, std::size_t headerIndex) {
    const auto outer = EnclosingUnitOfBlockLine(lines, headerIndex);
    if (!outer) return {};
    return Problem(sjis("「") + lines[headerIndex] + sjis("」") + AtFileLine(headerIndex) +
                   sjis("は「") + lines[*outer] +
                   sjis("」のブロックの中の行で、単元の見出しではありません"));
}

Result<> UnitRewriteProblem(const Lines& lines, std::size_t headerIndex) {
    if (Result<> header = HeaderInsideBlock(lines, headerIndex); !header) return header;
    for (const auto& b : ScanUnitAt(lines, headerIndex).blocks) {
        if (const Result<> closed = UnclosedBlock(b); !closed)
            return Problem(closed.problem().message + AtFileLine(b.first - 1));
    }
    return {};
}

Result<> UnwritableContent(const UnitBlocks& blocks) {
    for (const auto& t : kBlockTags) {
        for (const std::string& line : blocks.*(t.list)) {
            if (line == tags::kBlockEnd || line.find_first_of("\r\n") != std::string::npos)
                return Problem(std::string(t.tag) +
                               sjis(" に書けない行があります（「>>」や改行）"));
        }
    }
    return {};
}

Result<> AppendProblem(const Lines& lines) {
    std::optional<std::string> problem;
    ForEachUnit(lines, lines.size(), [&](std::size_t, const UnitSpan& span) {
        for (const auto& b : span.blocks) {
            if (const Result<> closed = UnclosedBlock(b); !closed)
                problem = closed.problem().message + AtFileLine(b.first - 1);
        }
        return problem.has_value();
    });
    if (!problem) return {};
    return Problem(std::move(*problem));
}

Result<> LaterHeaderProblem(const Lines& lines, std::optional<std::size_t> headerIndex,
                            const UnitBlocks& blocks) {
    if (!headerIndex) return {};  // appended last: no unit comes after it
    const std::size_t end = UnitEnd(lines, *headerIndex);
    for (const auto& t : kBlockTags) {
        for (const std::string& line : blocks.*(t.list)) {
            if (!line.starts_with(tags::kUnitHeaderPrefix)) continue;
            if (const auto other = LocateUnit(lines, line); other && *other >= end)
                return Problem(sjis("「") + line +
                               sjis("」は後にある単元の見出しと同じ行です。書くとその単元が読め"
                                    "なくなります"));
        }
    }
    return {};
}

namespace {

// Lines as SplitLines cuts them, and where each starts in the bytes; the last start is the end of
// the bytes, so line i with its line end is [starts[i], starts[i + 1]).
struct CutLines {
    Lines lines;
    std::vector<std::size_t> starts;
};

CutLines Cut(const std::string& bytes) {
    CutLines cut;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        cut.lines.emplace_back(bytes, start, i - start);
        cut.starts.push_back(start);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) {
        cut.lines.emplace_back(bytes, start);
        cut.starts.push_back(start);
    }
    cut.starts.push_back(bytes.size());
    return cut;
}

}  // namespace

UnitSplice SpliceUnit(const std::string& fileBytes, const std::string& headerLine,
                      const UnitBlocks& blocks, bool keepUnchanged) {
    const CutLines cut = Cut(fileBytes);
    const auto at = LocateUnit(cut.lines, headerLine);
    Result<> writable = at ? UnitRewriteProblem(cut.lines, *at) : AppendProblem(cut.lines);
    if (writable) writable = UnwritableContent(blocks);
    if (writable) writable = LaterHeaderProblem(cut.lines, at, blocks);
    if (!writable) return {{}, false, writable.problem()};
    if (!at) {
        std::string out = fileBytes;
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
        return {out + JoinLines(UnitLines(headerLine, blocks, UnitOrder::New)), false,
                std::nullopt};
    }
    if (keepUnchanged && ReadUnit(cut.lines, *at) == blocks) return {fileBytes, true, std::nullopt};
    const std::size_t end = UnitEnd(cut.lines, *at);
    return {fileBytes.substr(0, cut.starts[*at]) +
                JoinLines(RewrittenUnitLines(cut.lines, *at, blocks)) +
                fileBytes.substr(cut.starts[end]),
            true, std::nullopt};
}

}  // namespace sulkan
