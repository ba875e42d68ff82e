#include "CopyFileOpen.h"

#include "CopyFileSave.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "Sjis.h"
#include "UnitOpen.h"

namespace sulkan {

std::optional<std::string> ChooseCopyFilePath(
    const std::function<std::optional<std::string>()>& choose, Prompter& prompter) {
    for (;;) {
        const auto chosen = choose();
        if (!chosen) return std::nullopt;
        if (auto path = CopyFilePathOf(*chosen)) return path;
        prompter.message(InvalidExtensionMessage(*chosen));
    }
}

CopyFileRead ReadCopyFile(const std::string& path, const CopyOpenOptions& options,
                          HoldingArea& holding, SheetShared& shared) {
    if (!FileExists(path)) return {std::nullopt, Problem(FileMissingText(path))};
    const auto lines = ReadLines(path);
    if (!lines) return {std::nullopt, Problem(CannotReadText(path))};

    ReadRequest request;
    request.kind = ReadKind::OpenCopy;
    request.headerLine = "[[unitX";
    const ReadResult read = ReadIntoHolding(*lines, request, holding, shared);
    if (!read.found) {
        return {std::nullopt,
                Problem(sjis("ファイル ") + path +
                        sjis(" はコピーファイルではありません（[[unitX の行がありません）"))};
    }
    if (read.problem) return {std::nullopt, read.problem};

    Worksheet worksheet;
    LoadWorksheet(holding, worksheet, {options.choices, {options.lesson, 0, 0, 0}, path, {}, false},
                  shared);
    if (const Result<> paper = NoPaperProblem(path, worksheet); !paper)
        return {std::nullopt, paper.problem(), {}};
    return {std::move(worksheet), std::nullopt, read.warnings};
}

}  // namespace sulkan
