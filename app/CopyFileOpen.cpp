#include "CopyFileOpen.h"

#include <QDir>
#include <QFileInfo>

#include "CopyFileSave.h"
#include "CourseTree.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "QtText.h"
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

int LessonOfCopyFile(const std::string& programFolder, const std::vector<std::string>& indexLines,
                     const std::string& path) {
    // Compared as the file system resolves them: "kan3\" in the index, links, "." and "..".
    const QString fileFolder =
        QDir(QFileInfo(ToQString(NativeSeparators(path))).absolutePath()).canonicalPath();
    if (fileFolder.isEmpty()) return 1;
    for (std::size_t n = 2; n < indexLines.size() && indexLines[n] != ">>"; ++n) {
        const int slot = static_cast<int>(n) - 1;
        if (!IsSlot(slot)) break;
        const LessonLine lesson = ParseLessonLine(indexLines[n]);
        if (!lesson.valid || lesson.folder.empty()) continue;
        const QString folder =
            QDir(ToQString(NativeSeparators(programFolder + lesson.folder))).canonicalPath();
        if (!folder.isEmpty() && folder == fileFolder) return slot;
    }
    return 1;
}

}  // namespace sulkan
