// The index editor's logic: the lessons of "Main.ind" as it lists them, and the edits of one
// lesson index held as lines of CP932 bytes (template, sections, unit titles).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Result.h"

namespace sulkan {

// ---- The lessons of "Main.ind" ----

struct EditorLesson {
    std::string title;     // "?" for a line without ","
    std::string line;      // the lesson line as read, for the containment check on loading
    std::string folder;    // relative to the program folder, ending in "\"
    std::string baseName;  // of the lesson index and question files
    std::string refusal;   // why this lesson cannot be edited (CP932); empty when it can
};

struct EditorLessonTable {
    std::string courseTitle;  // line 0
    std::vector<EditorLesson> lessons;
};

// Lines 2 … up to the first ">>" (at most 80 lessons), with the lesson-line rules of the course
// tree. A lesson without a usable folder is listed but carries its refusal.
EditorLessonTable ReadEditorLessons(const std::vector<std::string>& mainIndLines);

// programFolder + folder + base name + ".ind"
std::string EditorIndexPath(const std::string& programFolder, const EditorLesson& lesson);
// programFolder + folder + base name + section + ".que"
std::string EditorQuestionPath(const std::string& programFolder, const EditorLesson& lesson,
                               int section);

// ---- One lesson index ----

// The seven lines of a new lesson: title, and one section with one unit.
std::vector<std::string> NewLessonIndexTemplate();

// A section block as the readers of the course tree walk it.
struct IndexBlock {
    std::size_t open = 0;  // the line beginning with "[["
    std::string title;     // the line after it
    std::vector<std::string> units;
    std::size_t firstUnit = 0;  // open + 3
    std::size_t end = 0;        // the ">>" line; the number of lines when it is missing
    bool closed = false;        // its ">>" is there
    // Only blocks opened by "[[sect…" with room for units are edited here; others are listed
    // but "not found".
    bool editable = false;
};

// Every block in file order: block k - 1 is section k, whatever digits follow "[[".
std::vector<IndexBlock> IndexBlocks(const std::vector<std::string>& lines);

enum class EditStatus {
    Done,      // the lines were changed
    Ignored,   // an empty title where one is needed: nothing to do, nothing said
    NotFound,  // the section's "[[sect" line is not there
    Refused,   // the title or the file's shape does not allow it; the problem says why
};

struct EditResult {
    EditStatus status = EditStatus::Done;
    std::optional<Problem> problem;  // for NotFound and Refused
    int section = 0;                 // 1-based, the section edited or added
    int unit = 0;                    // 1-based, the unit edited or added
};

// What a title would break in the file, as a failure (CP932 message). A line beginning with "[["
// opens a section for every reader; a unit title ">>" ends the unit list; a line break splits
// the line.
enum class TitleKind { IndexTitle, Section, Unit };
Result<> TitleFault(const std::string& title, TitleKind kind);

// The unit titles of section k (1-based); nullopt when its block is not editable here.
std::optional<std::vector<std::string>> SectionUnits(const std::vector<std::string>& lines,
                                                     int section);

// Appends "[[sect" + n, title, "<<", "SubMenu New" + n, ">>", "]]" with n the number of sections
// after the addition. An empty title is ignored.
EditResult AddSection(std::vector<std::string>& lines, const std::string& title);
// Replaces the title of section k; an empty title is written as an empty line.
EditResult RenameSection(std::vector<std::string>& lines, int section, const std::string& title);
// Appends a unit title to section k; an empty title is ignored.
EditResult AddUnit(std::vector<std::string>& lines, int section, const std::string& title);
// Replaces unit u (1-based) of section k; an empty title is ignored.
EditResult RenameUnit(std::vector<std::string>& lines, int section, int unit,
                      const std::string& title);

// "not found" with what is missing, CP932.
std::string SectionNotFoundText(int section);

}  // namespace sulkan
