// The course tree: lessons from the course index "Main.ind", sections and unit titles from a
// lesson index, and the file names and identities derived from a unit address.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Prompter.h"
#include "Result.h"
#include "UnitAddress.h"

namespace sulkan {

// Lessons per course, sections per lesson and units per section.
constexpr int kMaxSlots = 80;
// The tables are indexed by number from 1; slot 0 is never used.
constexpr std::size_t kSlotCount = kMaxSlots + 1;

constexpr bool IsSlot(int n) {
    return n >= 1 && n <= kMaxSlots;
}

// The course tables of the application state: the lesson level for the whole course, the
// section and unit level for the selected lesson only.
struct CourseTables {
    // Per lesson: its folder relative to the program folder, ending in "\", and the base name of
    // its index and question files.
    std::array<std::string, kSlotCount> LessonFolders;
    std::array<std::string, kSlotCount> LessonBaseNames;
    // Per section of the selected lesson: its unit titles and their number.
    std::array<std::vector<std::string>, kSlotCount> SectionUnitTitles;
    std::array<int, kSlotCount> SectionUnitCounts{};
    // Per lesson: why its line was refused (a folder or base name leading out of the program
    // folder), as shown to the user; empty for a usable lesson. A refused lesson's folder and
    // base name are empty, and nothing of it is ever read.
    std::array<std::string, kSlotCount> LessonRefusals;
};

// The title of unit `unit` of section `section`; empty when there is no such entry.
std::string UnitTitleOf(const CourseTables& tables, int section, int unit);

// ---- Course index "Main.ind" ----

// One lesson line: title "," folder "\" one skipped byte, base name.
struct LessonLine {
    bool valid = false;     // folder and base name found and usable; only then is the slot filled
    bool hasComma = false;  // false: the lesson is listed as "?"
    std::string title;
    std::string folder;  // includes the closing "\"
    std::string baseName;
    // Set when the folder or base name would lead out of the program folder (".." , an absolute
    // path, a drive): why, as shown to the user. The line is then not valid.
    std::string refusal;
};
LessonLine ParseLessonLine(std::string_view line);

// Why the lesson line cannot be used as it leads out of programFolder, by its text or through
// a symbolic link on the way to its folder or its files (CP932); success for a usable line and
// for a line that names no folder at all.
Result<> LessonLineProblem(const std::string& programFolder, std::string_view line);

struct CourseIndex {
    std::string title;                      // line 0
    std::vector<std::string> lessonTitles;  // lesson n at index n - 1
    std::vector<std::string> problems;      // what was refused, as shown to the user
};

// Fills LessonFolders and LessonBaseNames from the lines of "Main.ind". Slots of lines that
// could not be used keep their old content. Problems are shown once, together.
CourseIndex ReadCourseIndex(const std::vector<std::string>& mainIndLines, CourseTables& tables,
                            Prompter& prompter);

std::string CourseIndexPath(const std::string& programFolder);  // programFolder + "Main.ind"
// The lines of "Main.ind"; nullopt (after telling the user) when it is missing or unreadable.
std::optional<std::vector<std::string>> LoadCourseIndex(const std::string& programFolder,
                                                        Prompter& prompter);

// ---- Lesson index ----

enum class LessonIndexStatus {
    Read,
    Refused,        // the lesson's line or folder leads out of the program folder: no sections
    FolderMissing,  // nothing changed: the caller keeps its section list as it is
    FileMissing,    // the folder exists but the index is missing or unreadable: no sections
};

struct LessonIndex {
    LessonIndexStatus status = LessonIndexStatus::Read;
    std::string title;                       // line 0
    std::vector<std::string> sectionTitles;  // section k at index k - 1
    std::vector<std::string> problems;       // what was refused, as shown to the user

    bool ok() const { return status == LessonIndexStatus::Read; }
};

// Why a lesson folder as read from "Main.ind" cannot be used: a symbolic link on the way leads
// out of the program folder (CP932, naming it).
Result<> LessonFolderProblem(const std::string& programFolder, const std::string& lessonFolder);

// programFolder + LessonFolders[lesson]; the bare program folder for a lesson outside 1..80.
std::string LessonFolderOf(const std::string& programFolder, const CourseTables& tables,
                           int lesson);
// Lesson folder + LessonBaseNames[lesson] + ".ind".
std::string LessonIndexPathOf(const std::string& programFolder, const CourseTables& tables,
                              int lesson);

// Fills SectionUnitTitles and SectionUnitCounts from the lines of a lesson index. Sections are
// numbered by the order of their "[[" lines, whatever digits follow. Unit lists of sections
// beyond the last one read keep their old content. fileName only names the file in messages.
LessonIndex ParseLessonIndex(const std::vector<std::string>& lines, const std::string& fileName,
                             CourseTables& tables, Prompter& prompter);

// Checks the lesson folder and its index file (telling the user what is missing), then reads it.
LessonIndex ReadLessonIndex(const std::string& programFolder, CourseTables& tables, int lesson,
                            Prompter& prompter);

// ---- Names derived from a unit address ----

struct UnitFiles {
    std::string questionFile;   // programFolder + folder + base + section + ".que"
    std::string identity;       // questionFile + "-U" + unit + similar suffix
    std::string shortIdentity;  // base + section + ".que-U" + unit + similar suffix
};
// All empty when the lesson is not a slot 1..80.
UnitFiles UnitFileNames(const std::string& programFolder, const CourseTables& tables,
                        const UnitAddress& address);

// Why the question file of the address cannot be used: its lesson was refused, or a symbolic link
// on the way leads out of the program folder (CP932, naming it); success when it may be read or
// written.
Result<> QuestionFileProblem(const std::string& programFolder, const CourseTables& tables,
                             const UnitAddress& address);

// The lesson's "Graph\" folder, else the program folder's, else empty. A lesson below 1 counts
// as lesson 1. A "Graph" that is a link out of the program folder counts as missing.
std::string FigureFolderOf(const std::string& programFolder, const CourseTables& tables,
                           int lesson);

}  // namespace sulkan
