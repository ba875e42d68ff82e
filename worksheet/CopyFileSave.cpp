#include "CopyFileSave.h"

#include <string_view>

#include "ContainedPath.h"
#include "LineFile.h"
#include "QuestionFile.h"
#include "QuestionFileTags.h"
#include "Sjis.h"
#include "TextRoutines.h"
#include "WorksheetReader.h"

namespace sulkan {

namespace {

using Lines = std::vector<std::string>;

constexpr std::string_view kCopyHeader = "[[unitX";
constexpr std::string_view kCopyExtension = ".skn";

// The file name without its folder: a "." in a folder such as "1.5" is no extension.
std::string_view FileNamePart(std::string_view path) {
    std::size_t cut = FindLastWholeChar(path, '\\');
    const std::size_t slash = FindLastWholeChar(path, '/');
    if (slash != std::string_view::npos && (cut == std::string_view::npos || slash > cut))
        cut = slash;
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string CannotSaveLine(const std::string& line) {
    return sjis("次の行はコピーファイルに保存できません：") + line;
}

// The reader ends a block at a line ">>" and splits lines at line breaks, so such a line would
// come back cut short or in pieces.
bool BreaksItsBlock(const std::string& line) {
    return line == tags::kBlockEnd || line.find_first_of("\r\n") != std::string::npos;
}

// Why the worksheet could not be read back from its copy file as it is, if it could not.
Result<> CopyFileProblem(const UnitContent& content) {
    if (content.questionLines.size() > kMaxQuestionLines) {
        return Problem{sjis("問題の行は６０行以下です")};
    }
    // A leading "{" would be skipped as a preamble up to the next "}".
    if (!content.questionLines.empty() && content.questionLines.front() == "{") {
        return Problem{CannotSaveLine(content.questionLines.front())};
    }
    for (const std::string* line : {&content.title, &content.school, &content.nameLine}) {
        if (BreaksItsBlock(*line)) return Problem{CannotSaveLine(*line)};
    }
    for (const Lines* list : {&content.questionLines, &content.questionFigures,
                              &content.answerFigures, &content.kgroup}) {
        for (const std::string& line : *list) {
            if (BreaksItsBlock(line)) return Problem{CannotSaveLine(line)};
        }
    }
    return {};
}

// Asks until the name is acceptable; nothing when the dialog was cancelled.
std::optional<std::string> AskCopyFilePath(const std::string& initialFolder, Prompter& prompter) {
    for (;;) {
        const auto chosen = prompter.saveFileName(initialFolder, "*.skn");
        if (!chosen) return std::nullopt;
        if (const Result<> name = CopyFileNameProblem(*chosen); !name) {
            prompter.message(name.problem().message);
            continue;
        }
        if (auto path = CopyFilePathOf(*chosen)) return path;
        prompter.message(InvalidExtensionMessage(*chosen));
    }
}

}  // namespace

Lines CopyFileLines(const Worksheet& worksheet) {
    Lines out{std::string(kCopyHeader)};
    const UnitContent& content = worksheet.content;
    tags::AppendBlock(out, tags::kHeader, {content.title, content.school, content.nameLine});
    tags::AppendBlock(out, tags::kQues, content.questionLines);
    tags::AppendBlock(out, tags::kAns, {});
    // Figure blocks only when not empty, then "<<value", "<<font", "<<kran".
    const Lines data = WorksheetDataLines(worksheet);
    out.insert(out.end(), data.begin(), data.end());
    tags::AppendBlock(out, tags::kKgroup, content.kgroup);
    out.emplace_back(tags::kUnitEnd);
    return out;
}

std::optional<std::string> SaveWorksheetAsCopy(Worksheet& worksheet,
                                               const std::optional<std::string>& targetPath,
                                               const std::string& initialFolder,
                                               Prompter& prompter) {
    if (const Result<> writable = CopyFileProblem(worksheet.content); !writable) {
        prompter.message(writable.problem().message);
        return std::nullopt;
    }
    std::string path;
    if (targetPath) {
        path = *targetPath;
        if (FileNamePart(path).find('.') == std::string_view::npos) path += kCopyExtension;
    } else {
        auto chosen = AskCopyFilePath(initialFolder, prompter);
        if (!chosen) return std::nullopt;
        path = std::move(*chosen);
        if (FileExists(path) && prompter.yesNo(sjis("ファイル") + path +
                                               sjis("を上書きしてもいいですか？")) != Answer::Yes) {
            return std::nullopt;
        }
    }

    if (const Result<> saved = WriteLines(path, CopyFileLines(worksheet)); !saved) {
        std::string text = path + sjis("の保存に失敗しました");
        if (const std::string& reason = saved.problem().reason; !reason.empty())
            text += sjis("（") + reason + sjis("）");
        prompter.message(text);
        return std::nullopt;
    }
    worksheet.filePath = path;
    worksheet.isCopy = true;
    worksheet.isMaster = false;
    worksheet.modified = false;
    return path;
}

std::string CopyFileFolder(const std::string& programFolder, const CourseTables& tables,
                           int lesson) {
    return LessonFolderOf(programFolder, tables, IsSlot(lesson) ? lesson : 1);
}

std::optional<std::string> CopyFilePathOf(const std::string& chosen) {
    const std::string_view name = FileNamePart(chosen);
    const std::size_t dot = FindLastWholeChar(name, '.');
    if (dot == std::string_view::npos) return chosen + std::string(kCopyExtension);
    // The whole extension counts: "a.sknx" would be saved where the copy-file list never shows
    // it.
    const std::string_view extension = name.substr(dot);
    if (extension.size() == kCopyExtension.size() && FileExtension(extension) == kCopyExtension) {
        return chosen;
    }
    return std::nullopt;
}

Result<> CopyFileNameProblem(const std::string& chosen) {
    const SplitPath split = SplitNativePath(chosen);
    const Result<> name = NameFault(split.name, NameShape::FileName);
    if (name) return {};
    return Problem(NameRefusedText(split.name, split.folder, name.problem().message));
}

std::string InvalidExtensionMessage(const std::string& chosen) {
    return chosen + sjis(":拡張子が不正です");
}

}  // namespace sulkan
