#include "UnitOpen.h"

#include "FileChecks.h"
#include "LineFile.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

UnitSource FindUnitSource(const std::string& programFolder, const CourseTables& course,
                          const UnitAddress& address) {
    UnitSource source;
    source.files = UnitFileNames(programFolder, course, address);
    if (source.files.questionFile.empty()) {
        source.status = UnitOpenStatus::Missing;
    } else if (const Result<> usable = QuestionFileProblem(programFolder, course, address);
               !usable) {
        source.status = UnitOpenStatus::Failed;
        source.problem = usable.problem();
    } else if (!FileExists(source.files.questionFile)) {
        source.status = UnitOpenStatus::Missing;
    }
    return source;
}

ReadRequest ReadRequestOf(ReadKind kind, const UnitOpenRequest& request) {
    ReadRequest read;
    read.kind = kind;
    read.headerLine = UnitHeaderOf(request.address);
    read.section = request.address.section;
    read.unit = request.address.unit;
    read.titles = request.titles;
    return read;
}

UnitOpen OpenUnit(const std::vector<std::string>& lines, const UnitFiles& files,
                  const UnitOpenRequest& request, HoldingArea& holding, SheetShared& shared) {
    const UnitAddress& address = request.address;
    ReadResult result =
        ReadIntoHolding(lines, ReadRequestOf(ReadKind::OpenMaster, request), holding, shared);
    if (!result.found) return {UnitOpenStatus::Missing, std::nullopt, std::nullopt, {}};
    if (result.problem) return {UnitOpenStatus::Failed, std::nullopt, result.problem, {}};

    Worksheet worksheet;
    LoadWorksheet(holding, worksheet,
                  {request.choices, address, files.questionFile, request.titles, true}, shared);
    if (const Result<> paper = NoPaperProblem(files.identity, worksheet); !paper)
        return {UnitOpenStatus::Failed, std::nullopt, paper.problem(), {}};
    return {UnitOpenStatus::Opened, std::move(worksheet), std::nullopt, std::move(result.warnings)};
}

UnitOpen OpenUnit(const UnitFiles& files, const UnitOpenRequest& request, HoldingArea& holding,
                  SheetShared& shared) {
    const auto lines = ReadLines(files.questionFile);
    if (!lines)
        return {
            UnitOpenStatus::Failed, std::nullopt, Problem(CannotReadText(files.questionFile)), {}};
    return OpenUnit(*lines, files, request, holding, shared);
}

Result<> NoPaperProblem(const std::string& sheetName, const Worksheet& worksheet) {
    if (worksheet.sheetWidth() > 0) return {};
    return Problem(sheetName + sjis(" のレイアウトが不正です（用紙の幅 ") +
                   IntText(worksheet.sheetWidth()) + sjis("）"));
}

}  // namespace sulkan
