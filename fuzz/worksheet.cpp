// The worksheet reader on question files and copy files: a failed read changes nothing, a read
// worksheet survives a master save of itself unchanged (and the save touches no byte outside its
// unit, and a second save is a no-op), and it survives being saved as a copy file and read back.
// The first input byte picks the unit header ("[[unitX": a copy file); the rest is the file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CopyFileSave.h"
#include "FuzzCheck.h"
#include "LineFile.h"
#include "MasterSave.h"
#include "QuestionFile.h"
#include "SheetState.h"
#include "UnitAddress.h"
#include "WorksheetReader.h"

namespace {

using namespace sulkan;
using fuzz::LineStarts;
using fuzz::UnitHeaders;
using Lines = std::vector<std::string>;

constexpr std::string_view kCopyHeader = "[[unitX";

// Decimal without leading zeros, small enough for an int.
std::optional<int> Number(std::string_view s) {
    if (s.empty() || s.size() > 6 || s[0] == '0') return std::nullopt;
    int n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// The address whose header is headerLine ("[[unit3", "[[unit3R1"), if it is one.
std::optional<UnitAddress> AddressOf(std::string_view headerLine) {
    std::string_view rest = headerLine.substr(6);
    const std::size_t r = rest.find('R');
    const auto unit = Number(rest.substr(0, r));
    if (!unit) return std::nullopt;
    UnitAddress address{1, 1, *unit, 0};
    if (r != std::string_view::npos) {
        const auto similar = Number(rest.substr(r + 1));
        if (!similar) return std::nullopt;
        address.similar = *similar;
    }
    if (UnitHeaderOf(address) != headerLine) return std::nullopt;
    return address;
}

struct Read {
    bool ok = false;
    Worksheet worksheet;
};

Read ReadWorksheet(const Lines& lines, const std::string& headerLine, bool copy) {
    ReadRequest request;
    request.kind = copy ? ReadKind::OpenCopy : ReadKind::OpenMaster;
    request.headerLine = headerLine;
    request.section = 1;
    request.unit = 1;
    request.titles = {"L", "S", "U"};

    // A failed read must leave what the holding area and the shared values held.
    HoldingArea holding;
    holding.content.title = "before";
    holding.content.questionLines = {"before"};
    SheetShared shared;
    shared.AnswerFontSize = 12345;
    const HoldingArea heldBefore = holding;

    const ReadResult result = ReadIntoHolding(lines, request, holding, shared);
    if (!result.ok()) {
        FUZZ_REQUIRE(holding == heldBefore && shared.AnswerFontSize == 12345 &&
                         shared.lastSectionRead == 0 && !shared.lastReadOpened,
                     "a failed read changed the holding area");
        return {};
    }
    FUZZ_REQUIRE(holding.content.questionLines.size() <= kMaxQuestionLines,
                 "more than 60 lines read");
    LoadOptions options;
    options.isMaster = !copy;
    options.address =
        copy ? UnitAddress{1, 0, 0, 0} : AddressOf(headerLine).value_or(UnitAddress{});
    Read read{true, {}};
    LoadWorksheet(holding, read.worksheet, options, shared);
    return read;
}

// What a worksheet shows and saves, apart from where it came from; the message names the field.
void RequireSameContent(const Worksheet& sheetA, const Worksheet& sheetB, bool withSoftKey,
                        const std::string& what) {
    const UnitContent& a = sheetA.content;
    const UnitContent& b = sheetB.content;
    auto require = [&what](bool same, const char* field) {
        FUZZ_REQUIRE(same, (what + ": " + field).c_str());
    };
    require(a.title == b.title && a.school == b.school && a.nameLine == b.nameLine, "header");
    require(a.questionLines == b.questionLines, "question lines");
    require(a.questionFigures == b.questionFigures && a.answerFigures == b.answerFigures,
            "figures");
    require(a.kgroup == b.kgroup, "answer choices");
    require(!withSoftKey || a.softKey == b.softKey, "soft keyboard");
    require(sheetA.params == sheetB.params, "layout");
}

void CheckMasterSave(const std::string& bytes, const Lines& lines, const std::string& headerLine,
                     const Worksheet& worksheet) {
    const std::size_t header = *LocateUnit(lines, headerLine);
    const MasterBytes master = MasterFileBytes(bytes, worksheet);
    // The one thing that stops the save of a unit that reads: its header is a line of another
    // unit's block, and a rewrite would overwrite that unit.
    FUZZ_REQUIRE(master.problem.has_value() == !HeaderInsideBlock(lines, header),
                 "a master save refused without a problem, or done despite one");
    if (master.problem) {
        FUZZ_REQUIRE(master.bytes.empty(), "a refused master save gave bytes");
        return;
    }
    const std::string& saved = master.bytes;

    const std::size_t end = UnitEnd(lines, header);
    const std::vector<std::size_t> starts = LineStarts(bytes);
    const std::string before = bytes.substr(0, starts[header]);
    const std::string after = bytes.substr(starts[end]);
    FUZZ_REQUIRE(saved.size() >= before.size() + after.size() && saved.starts_with(before) &&
                     saved.ends_with(after),
                 "a master save changed bytes outside its unit");

    const Read again = ReadWorksheet(SplitLines(saved), headerLine, false);
    FUZZ_REQUIRE(again.ok, "a master-saved unit no longer reads");
    RequireSameContent(worksheet, again.worksheet, true,
                       "a master save of an unchanged worksheet changed it");
    FUZZ_REQUIRE(MasterFileBytes(saved, worksheet).bytes == saved,
                 "a second master save changed bytes");
}

void CheckCopyRoundTrip(const Worksheet& worksheet) {
    // Refused by the copy save before anything is written: a first line "{" reads as a preamble.
    const Lines& lines = worksheet.content.questionLines;
    if (!lines.empty() && lines.front() == "{") return;
    const Read again = ReadWorksheet(CopyFileLines(worksheet), std::string(kCopyHeader), true);
    FUZZ_REQUIRE(again.ok, "a copy file of a worksheet does not read");
    // Copy files carry no soft keyboard.
    RequireSameContent(worksheet, again.worksheet, false, "a copy file reads back otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Split input = fuzz::SplitPick(data, size);
    const Lines lines = SplitLines(input.bytes);
    const Lines headers = UnitHeaders(lines);
    const std::string headerLine =
        headers.empty() ? std::string(kCopyHeader) : headers[input.pick % headers.size()];
    const bool copy = headerLine == kCopyHeader;

    const Read read = ReadWorksheet(lines, headerLine, copy);
    if (!read.ok) return 0;
    if (!copy && AddressOf(headerLine))
        CheckMasterSave(input.bytes, lines, headerLine, read.worksheet);
    CheckCopyRoundTrip(read.worksheet);
    return 0;
}
