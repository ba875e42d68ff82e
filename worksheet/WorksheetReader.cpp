#include "WorksheetReader.h"

#include <string_view>
#include <utility>

#include "LayoutParams.h"
#include "QuestionFile.h"
#include "QuestionFileCheck.h"
#include "QuestionFileTags.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

using Lines = std::vector<std::string>;

constexpr std::size_t kFigureLines = 3;  // file name, left, top

void AppendLines(Lines& to, const Lines& from) {
    to.insert(to.end(), from.begin(), from.end());
}

// Added figures keep their file names; positions of "-1" let the layout place them beside the
// added questions instead of where they stood on their own sheet.
void AppendUnplacedFigures(Lines& to, const Lines& figures) {
    for (std::size_t i = 0; i < figures.size(); ++i) {
        to.push_back(i % kFigureLines == 0 ? figures[i] : "-1");
    }
}

std::string SectionAndUnit(int section, int unit) {
    return sjis("§") + IntText(section) + "-" + IntText(unit);
}

// "," + unit continues a run of units of the same section; otherwise the section is named again.
std::string UnitReference(int section, int unit, int previousSection) {
    if (section == previousSection) return std::string(",").append(IntText(unit));
    return std::string(" ").append(SectionAndUnit(section, unit));
}

std::string MasterTitle(const ReadRequest& r) {
    return r.titles.lesson + "//" + r.titles.section + SectionAndUnit(r.section, r.unit) + " " +
           r.titles.unit;
}

std::string AddedTitle(const ReadRequest& r, bool lastReadOpened) {
    const AddTarget& t = r.target;
    // Compared with the section read into this worksheet last, not into whichever window read
    // last: another window's section would turn " §3-2" into a ",2" that names the wrong unit.
    const std::string reference = UnitReference(r.section, r.unit, t.lastSectionRead);
    if (!t.isMaster) return t.title + reference;
    if (lastReadOpened) return t.lessonName + "//" + SectionAndUnit(t.section, t.unit) + reference;
    return t.lastTitle + reference;
}

std::string LineOrEmpty(const Lines& lines, std::size_t index) {
    return index < lines.size() ? lines[index] : std::string();
}

}  // namespace

const std::string& UnitSheetSchool() {
    static const std::string text = sjis("小中学校");
    return text;
}

const std::string& UnitSheetNameLine() {
    static const std::string text = sjis("　年　組　番　氏名");
    return text;
}

const std::string& NoWorksheetToAddToMessage() {
    static const std::string text = sjis("追加する元のファイルがありません");
    return text;
}

const std::string& NoMoreAdditionsMessage() {
    static const std::string text = sjis("これ以上追加できません");
    return text;
}

const std::string& UnitMissingMessage() {
    static const std::string text = sjis("単元がありません");
    return text;
}

AddTarget AddTargetOf(const Worksheet& worksheet) {
    return {worksheet.content.title,  worksheet.lastTitle,       worksheet.titles.lesson,
            worksheet.isMaster,       worksheet.address.section, worksheet.address.unit,
            worksheet.lastSectionRead};
}

ReadResult ReadIntoHolding(const Lines& fileLines, const ReadRequest& request, HoldingArea& holding,
                           SheetShared& shared) {
    const auto headerIndex = LocateUnit(fileLines, request.headerLine);
    if (!headerIndex) {
        return {false,
                Problem(UnitMissingMessage() + sjis("（") + request.headerLine + sjis("）")),
                {}};
    }

    const bool adding = request.kind == ReadKind::AddUnit;
    // Built aside and committed at the end, so that a failing block takes nothing along.
    HoldingArea next = adding ? holding : HoldingArea{};
    StrictUnitRead read =
        ReadUnitStrict(fileLines, *headerIndex, next.content.questionLines.size());
    if (read.problem) {
        return {
            true,
            Problem(read.problem->message + sjis("（") + request.headerLine + sjis("、ファイルの") +
                    IntText(static_cast<long long>(read.errorLine) + 1) + sjis("行目）")),
            {}};
    }

    UnitBlocks& blocks = read.blocks;
    AppendLines(next.content.questionLines, blocks.ques);
    AppendLines(next.header, blocks.header);
    if (adding) {
        AppendUnplacedFigures(next.content.questionFigures, blocks.graph);
        AppendUnplacedFigures(next.content.answerFigures, blocks.agraph);
    } else {
        next.content.questionFigures = std::move(blocks.graph);
        next.content.answerFigures = std::move(blocks.agraph);
    }
    next.value = std::move(blocks.value);
    next.font = std::move(blocks.font);
    next.kran = std::move(blocks.kran);
    next.content.kgroup = std::move(blocks.kgroup);
    next.content.softKey = std::move(blocks.softKeyB);

    switch (request.kind) {
        case ReadKind::OpenMaster:
            next.content.title = MasterTitle(request);
            next.content.school = UnitSheetSchool();
            next.content.nameLine = UnitSheetNameLine();
            shared.lastReadOpened = true;
            break;
        case ReadKind::OpenCopy:
            next.content.title = LineOrEmpty(next.header, 0);
            next.content.school = LineOrEmpty(next.header, 1);
            next.content.nameLine = LineOrEmpty(next.header, 2);
            shared.lastReadOpened = true;
            break;
        case ReadKind::AddUnit:
            next.content.title = AddedTitle(request, shared.lastReadOpened);
            shared.lastReadOpened = false;
            break;
    }
    shared.lastSectionRead = request.section;
    holding = std::move(next);
    return {true, std::nullopt, std::move(read.warnings)};
}

void LoadWorksheet(const HoldingArea& holding, Worksheet& worksheet, const LoadOptions& options,
                   SheetShared& shared) {
    Worksheet loaded;
    loaded.address = options.address;
    loaded.titles = options.titles;
    loaded.filePath = options.filePath;
    loaded.isMaster = options.isMaster;
    loaded.isCopy = !options.isMaster;

    loaded.content = holding.content;

    LayoutParams params =
        ReadLayout(holding.value, holding.font, holding.kran, WorksheetFallbackLayout());
    params.ShowAnswers = options.choices.answersShown;
    if (options.choices.paperFixed) params.PaperWidth = options.choices.tickedPaperWidth;
    // Resolved for every worksheet, "<<font" or not, so that no window inherits the answer size
    // of the one read before it.
    params.AnswerFontSize = EffectiveAnswerFontSize(params);
    shared.AnswerFontSize = params.AnswerFontSize;
    loaded.params = std::move(params);

    loaded.lastTitle = holding.content.title;
    loaded.lastSectionRead = shared.lastSectionRead;
    worksheet = std::move(loaded);
}

void ApplyHoldingToWorksheet(const HoldingArea& holding, Worksheet& worksheet, bool withFigures) {
    UnitContent content = holding.content;
    // The sheet keeps its answer choices and soft keyboard, and without withFigures its figures.
    content.kgroup = std::move(worksheet.content.kgroup);
    content.softKey = std::move(worksheet.content.softKey);
    if (!withFigures) {
        content.questionFigures = std::move(worksheet.content.questionFigures);
        content.answerFigures = std::move(worksheet.content.answerFigures);
    }
    worksheet.content = std::move(content);
    worksheet.isMaster = false;
    worksheet.modified = true;
}

void FillHoldingFromWorksheet(const Worksheet& worksheet, HoldingArea& holding) {
    UnitContent content = worksheet.content;
    // The holding area keeps the answer choices and soft keyboard of the unit read last.
    content.kgroup = std::move(holding.content.kgroup);
    content.softKey = std::move(holding.content.softKey);
    holding.content = std::move(content);
}

Lines WorksheetDataLines(const Worksheet& worksheet) {
    Lines out;
    if (!worksheet.content.questionFigures.empty()) {
        tags::AppendBlock(out, tags::kGraph, worksheet.content.questionFigures);
    }
    if (!worksheet.content.answerFigures.empty())
        tags::AppendBlock(out, tags::kAGraph, worksheet.content.answerFigures);
    AppendLines(out, LayoutLines(worksheet.params));
    return out;
}

Result<> AddUnitToWorksheet(Worksheet& worksheet, const Lines& fileLines,
                            const ReadRequest& request, HoldingArea& holding, SheetShared& shared) {
    HoldingArea next = holding;
    FillHoldingFromWorksheet(worksheet, next);
    if (next.content.questionFigures.size() >= kMaxFiguresToAdd * kFigureLines) {
        return Problem(NoMoreAdditionsMessage());
    }
    // The worksheet must still be writable as a unit once it is composed; checked before the
    // read so that a refusal leaves the reader's shared values alone too.
    if (Result<> layout = CheckLayoutBlocks(ReadLayoutText(WorksheetDataLines(worksheet)));
        !layout) {
        return layout;
    }

    ReadRequest addition = request;
    addition.kind = ReadKind::AddUnit;
    addition.target = AddTargetOf(worksheet);
    ReadResult read = ReadIntoHolding(fileLines, addition, next, shared);
    if (!read.found) return Problem(UnitMissingMessage());
    if (read.problem) return *read.problem;

    // The added unit's layout blocks stay in the holding area only: the sheet keeps its own.
    ApplyHoldingToWorksheet(next, worksheet, true);
    worksheet.lastTitle = next.content.title;
    worksheet.lastSectionRead = addition.section;
    holding = std::move(next);
    return {};
}

}  // namespace sulkan
