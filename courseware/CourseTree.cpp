#include "CourseTree.h"

#include "ContainedPath.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

constexpr std::string_view kEndOfList = ">>";

// A path check without its path.
Result<> Refusal(const ContainedPath& checked) {
    if (checked) return {};
    return checked.problem();
}

std::string JoinProblems(const std::vector<std::string>& problems) {
    std::string text;
    for (const auto& p : problems) {
        if (!text.empty()) text += '\n';
        text += p;
    }
    return text;
}

void ShowProblems(Prompter& prompter, const std::vector<std::string>& problems) {
    if (!problems.empty()) prompter.message(JoinProblems(problems));
}

// Reads a file whose existence was just checked; a read failure is told to the user too.
std::optional<std::vector<std::string>> ReadCheckedFile(const std::string& path,
                                                        Prompter& prompter) {
    auto lines = ReadLines(path);
    if (!lines) prompter.message(CannotReadText(path));
    return lines;
}

// A lesson folder relative to the program folder for the containment check: a lone "\" is the
// program folder itself.
std::string FolderPart(const std::string& lessonFolder) {
    return lessonFolder == "\\" ? std::string() : lessonFolder;
}

}  // namespace

std::string UnitTitleOf(const CourseTables& tables, int section, int unit) {
    if (!IsSlot(section) || unit < 1) return {};
    const auto& titles = tables.SectionUnitTitles[section];
    const auto index = static_cast<std::size_t>(unit - 1);
    return index < titles.size() ? titles[index] : std::string();
}

LessonLine ParseLessonLine(std::string_view line) {
    LessonLine lesson;
    const auto comma = FindWholeChar(line, ',');
    if (comma == std::string_view::npos) {
        lesson.title.assign(1, '?');
        return lesson;
    }
    lesson.hasComma = true;
    lesson.title = std::string(line.substr(0, comma));
    // Only a "\" after the comma can end the folder; one inside the title would give a
    // folder that runs backwards.
    const auto backslash = FindWholeChar(line, '\\', comma + 1);
    if (backslash == std::string_view::npos) return lesson;
    lesson.folder = std::string(line.substr(comma + 1, backslash - comma));
    // The byte right after the "\" is not part of the base name.
    if (backslash + 2 < line.size()) lesson.baseName = std::string(line.substr(backslash + 2));
    // Both become parts of paths below the program folder; an empty one stays in it.
    const std::string_view folderName(lesson.folder.data(), lesson.folder.size() - 1);
    std::string_view name = folderName;
    std::string fault =
        folderName.empty() ? std::string() : NameFault(folderName).problem().message;
    if (fault.empty() && !lesson.baseName.empty()) {
        name = lesson.baseName;
        fault = NameFault(lesson.baseName).problem().message;
    }
    if (!fault.empty()) {
        lesson.refusal = sjis("「") + std::string(name) +
                         sjis("」はコースのフォルダの外を指すため使えません（") + fault +
                         sjis("）");
        lesson.folder.clear();
        lesson.baseName.clear();
        return lesson;
    }
    lesson.valid = true;
    return lesson;
}

Result<> LessonLineProblem(const std::string& programFolder, std::string_view line) {
    const LessonLine lesson = ParseLessonLine(line);
    if (!lesson.refusal.empty()) return Problem(lesson.refusal);
    if (!lesson.valid) return {};
    // The lesson index is reached through the folder and every part of the base name.
    return Refusal(PathInside(programFolder, FolderPart(lesson.folder) + lesson.baseName + ".ind"));
}

CourseIndex ReadCourseIndex(const std::vector<std::string>& mainIndLines, CourseTables& tables,
                            Prompter& prompter) {
    CourseIndex index;
    if (!mainIndLines.empty()) index.title = mainIndLines[0];
    // Line n describes lesson n - 1; line 1 is not part of the list.
    for (std::size_t n = 2; n < mainIndLines.size(); ++n) {
        const std::string& line = mainIndLines[n];
        if (line == kEndOfList) break;
        const int slot = static_cast<int>(n) - 1;
        if (!IsSlot(slot)) {
            index.problems.push_back(
                sjis("Main.ind の課が80を超えています。81番目からの課は読み込みません。"));
            break;
        }
        LessonLine lesson = ParseLessonLine(line);
        if (lesson.valid) {
            tables.LessonFolders[slot] = std::move(lesson.folder);
            tables.LessonBaseNames[slot] = std::move(lesson.baseName);
            tables.LessonRefusals[slot].clear();
        } else if (!lesson.refusal.empty()) {
            std::string problem = sjis("Main.ind の") + IntText(static_cast<long long>(n) + 1) +
                                  sjis("行目の課は読み込みません：") + lesson.refusal;
            tables.LessonFolders[slot].clear();
            tables.LessonBaseNames[slot].clear();
            tables.LessonRefusals[slot] = problem;
            index.problems.push_back(std::move(problem));
        } else if (lesson.hasComma) {
            index.problems.push_back(sjis("Main.ind の") + IntText(static_cast<long long>(n) + 1) +
                                     sjis("行目に課のフォルダ（「,」の後の「\\」）がありません：") +
                                     line);
        }
        index.lessonTitles.push_back(std::move(lesson.title));
    }
    ShowProblems(prompter, index.problems);
    return index;
}

std::string CourseIndexPath(const std::string& programFolder) {
    return programFolder + "Main.ind";
}

std::optional<std::vector<std::string>> LoadCourseIndex(const std::string& programFolder,
                                                        Prompter& prompter) {
    const std::string path = CourseIndexPath(programFolder);
    if (!FileCheck(prompter, path)) return std::nullopt;
    return ReadCheckedFile(path, prompter);
}

Result<> LessonFolderProblem(const std::string& programFolder, const std::string& lessonFolder) {
    const std::string folder = FolderPart(lessonFolder);
    return folder.empty() ? Result<>() : Refusal(PathInside(programFolder, folder));
}

std::string LessonFolderOf(const std::string& programFolder, const CourseTables& tables,
                           int lesson) {
    return IsSlot(lesson) ? programFolder + tables.LessonFolders[lesson] : programFolder;
}

std::string LessonIndexPathOf(const std::string& programFolder, const CourseTables& tables,
                              int lesson) {
    const std::string base = IsSlot(lesson) ? tables.LessonBaseNames[lesson] : std::string();
    return LessonFolderOf(programFolder, tables, lesson) + base + ".ind";
}

LessonIndex ParseLessonIndex(const std::vector<std::string>& lines, const std::string& fileName,
                             CourseTables& tables, Prompter& prompter) {
    LessonIndex index;
    if (!lines.empty()) index.title = lines[0];
    const std::size_t count = lines.size();
    int section = 0;
    std::size_t i = 0;
    while (i < count) {
        if (lines[i].starts_with("[[")) {
            if (section == kMaxSlots) {
                index.problems.push_back(sjis("ファイル ") + fileName +
                                         sjis(" の節が80を超えています。81番目からの節は"
                                              "読み込みません。"));
                break;
            }
            ++section;
            const std::string title = i + 1 < count ? lines[i + 1] : std::string();
            index.sectionTitles.push_back(title);
            auto& units = tables.SectionUnitTitles[section];
            units.clear();
            bool unitsRefused = false;
            // The line after the title is not examined; a missing ">>" ends at the end of file.
            for (i += 3; i < count && lines[i] != kEndOfList; ++i) {
                if (units.size() < static_cast<std::size_t>(kMaxSlots)) {
                    units.push_back(lines[i]);
                } else if (!unitsRefused) {
                    unitsRefused = true;
                    index.problems.push_back(
                        sjis("ファイル ") + fileName + sjis(" の節「") + title +
                        sjis("」の単元が80を超えています。81番目からの単元は読み込みません。"));
                }
            }
            tables.SectionUnitCounts[section] = static_cast<int>(units.size());
        }
        ++i;  // past the ">>", or past a line outside any block
    }
    ShowProblems(prompter, index.problems);
    return index;
}

LessonIndex ReadLessonIndex(const std::string& programFolder, CourseTables& tables, int lesson,
                            Prompter& prompter) {
    LessonIndex index;
    if (IsSlot(lesson)) {
        std::string refusal = tables.LessonRefusals[lesson];
        if (refusal.empty()) {
            refusal = PathInside(programFolder, FolderPart(tables.LessonFolders[lesson]) +
                                                    tables.LessonBaseNames[lesson] + ".ind")
                          .problem()
                          .message;
        }
        if (!refusal.empty()) {
            prompter.message(refusal);
            index.status = LessonIndexStatus::Refused;
            return index;
        }
    }
    const std::string folder = LessonFolderOf(programFolder, tables, lesson);
    if (!FolderCheck(prompter, folder)) {
        index.status = LessonIndexStatus::FolderMissing;
        return index;
    }
    const std::string file = LessonIndexPathOf(programFolder, tables, lesson);
    if (!FileCheck(prompter, file)) {
        index.status = LessonIndexStatus::FileMissing;
        return index;
    }
    const auto lines = ReadCheckedFile(file, prompter);
    if (!lines) {
        index.status = LessonIndexStatus::FileMissing;
        return index;
    }
    return ParseLessonIndex(*lines, file, tables, prompter);
}

UnitFiles UnitFileNames(const std::string& programFolder, const CourseTables& tables,
                        const UnitAddress& address) {
    if (!IsSlot(address.lesson)) return {};
    const std::string questionName =
        tables.LessonBaseNames[address.lesson] + IntText(address.section) + ".que";
    const std::string unitPart = "-U" + IntText(address.unit) + SimilarSuffix(address.similar);
    UnitFiles files;
    files.questionFile = programFolder + tables.LessonFolders[address.lesson] + questionName;
    files.identity = files.questionFile + unitPart;
    files.shortIdentity = questionName + unitPart;
    return files;
}

Result<> QuestionFileProblem(const std::string& programFolder, const CourseTables& tables,
                             const UnitAddress& address) {
    if (!IsSlot(address.lesson)) return {};
    if (!tables.LessonRefusals[address.lesson].empty())
        return Problem(tables.LessonRefusals[address.lesson]);
    const std::string name = FolderPart(tables.LessonFolders[address.lesson]) +
                             tables.LessonBaseNames[address.lesson] + IntText(address.section) +
                             ".que";
    return Refusal(PathInside(programFolder, name));
}

std::string FigureFolderOf(const std::string& programFolder, const CourseTables& tables,
                           int lesson) {
    if (lesson < 1) lesson = 1;
    auto usable = [&programFolder](const std::string& name) {
        const ContainedPath folder = PathInside(programFolder, name);
        return folder && FolderExists(folder.value()) ? folder.value() : std::string();
    };
    if (IsSlot(lesson) && tables.LessonRefusals[lesson].empty()) {
        std::string folder = usable(FolderPart(tables.LessonFolders[lesson]) + "Graph\\");
        if (!folder.empty()) return folder;
    }
    return usable("Graph\\");
}

}  // namespace sulkan
