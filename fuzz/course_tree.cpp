// The course index and lesson index parsers on any lines: no reading past the end, at most 80
// lessons, sections and units, lesson lines cut where the format says (and refused when they
// lead out of the course folder), and slots the file does not fill keep what they held.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ContainedPath.h"
#include "CourseTree.h"
#include "FuzzCheck.h"
#include "LineFile.h"
#include "Prompter.h"
#include "Sjis.h"

namespace {

using namespace sulkan;
using Lines = std::vector<std::string>;

const std::string kOld = "old";  // what every slot holds before a parse

// The first single-byte c of s walked character by character (a trail byte never counts).
std::size_t FirstWholeChar(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size();) {
        if (s[i] == c) return i;
        i += IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
    }
    return std::string_view::npos;
}

// Title "," folder "\" one skipped byte, base name; the folder keeps its "\".
void CheckLessonLine(const std::string& line) {
    const LessonLine lesson = ParseLessonLine(line);
    const std::size_t comma = FirstWholeChar(line, ',', 0);
    if (comma == std::string::npos) {
        FUZZ_REQUIRE(!lesson.hasComma && !lesson.valid && lesson.title == "?",
                     "a line without a comma is not listed as \"?\"");
        return;
    }
    FUZZ_REQUIRE(lesson.hasComma && lesson.title == line.substr(0, comma),
                 "the title is not what stands before the first comma");
    // Whole characters from the comma on: a "\" in the title does not count.
    std::size_t backslash = std::string::npos;
    for (std::size_t i = comma + 1; i < line.size() && backslash == std::string::npos;) {
        if (line[i] == '\\') backslash = i;
        i += IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1;
    }
    if (backslash == std::string::npos) {
        FUZZ_REQUIRE(!lesson.valid && lesson.refusal.empty(), "folder found or not wrongly");
        return;
    }
    const std::string folder = line.substr(comma + 1, backslash - comma);
    const std::string rest = line.substr(backslash + 1);
    const std::string baseName = rest.size() > 1 ? rest.substr(1) : std::string();
    // A folder or base name that leads out of the course folder is refused, with its reason.
    const std::string_view folderName(folder.data(), folder.size() - 1);
    const bool outside = (!folderName.empty() && !NameFault(folderName)) ||
                         (!baseName.empty() && !NameFault(baseName));
    FUZZ_REQUIRE(lesson.valid == !outside && lesson.refusal.empty() == !outside,
                 "folder found or not wrongly");
    if (!lesson.valid) {
        FUZZ_REQUIRE(lesson.folder.empty() && lesson.baseName.empty(),
                     "a refused lesson line keeps its folder");
        return;
    }
    FUZZ_REQUIRE(lesson.folder == folder,
                 "the folder is not the text from the comma through the \"\\\"");
    FUZZ_REQUIRE(lesson.baseName == baseName,
                 "the base name is not the text after the byte after the \"\\\"");
}

void CheckCourseIndex(const Lines& lines) {
    CourseTables tables;
    tables.LessonFolders.fill(kOld);
    tables.LessonBaseNames.fill(kOld);
    ScriptedPrompter prompter;
    const CourseIndex index = ReadCourseIndex(lines, tables, prompter);

    FUZZ_REQUIRE(index.title == (lines.empty() ? std::string() : lines[0]), "title not line 0");
    std::size_t listed = 0;  // lines from line 2 up to ">>" or the end
    while (2 + listed < lines.size() && lines[2 + listed] != ">>") ++listed;
    const std::size_t expected = listed < kMaxSlots ? listed : kMaxSlots;
    FUZZ_REQUIRE(index.lessonTitles.size() == expected, "wrong number of lessons");
    FUZZ_REQUIRE(listed <= kMaxSlots || !index.problems.empty(),
                 "lessons beyond 80 dropped without a word");
    for (std::size_t n = 0; n < expected; ++n) {
        const LessonLine lesson = ParseLessonLine(lines[n + 2]);
        const std::size_t slot = n + 1;
        FUZZ_REQUIRE(index.lessonTitles[n] == lesson.title, "lesson title differs from its line");
        // A refused line empties its slot, so no earlier course's folder stays in use.
        const bool refused = !lesson.refusal.empty();
        const std::string kept = refused ? std::string() : kOld;
        FUZZ_REQUIRE(tables.LessonFolders[slot] == (lesson.valid ? lesson.folder : kept) &&
                         tables.LessonBaseNames[slot] == (lesson.valid ? lesson.baseName : kept),
                     "a lesson slot holds something its line does not say");
        FUZZ_REQUIRE(!refused || !index.problems.empty(), "a refused lesson line not told");
    }
    for (std::size_t slot = expected + 1; slot < kSlotCount; ++slot)
        FUZZ_REQUIRE(tables.LessonFolders[slot] == kOld && tables.LessonBaseNames[slot] == kOld,
                     "a slot beyond the lesson list changed");
    FUZZ_REQUIRE(tables.LessonFolders[0] == kOld, "slot 0 was used");
    FUZZ_REQUIRE(prompter.shown.size() == (index.problems.empty() ? 0u : 1u),
                 "problems not told once together");
}

void CheckLessonIndex(const Lines& lines) {
    CourseTables tables;
    tables.SectionUnitTitles.fill({kOld});
    tables.SectionUnitCounts.fill(-1);
    ScriptedPrompter prompter;
    const LessonIndex index = ParseLessonIndex(lines, "x.ind", tables, prompter);

    FUZZ_REQUIRE(index.ok(), "parsing lines reported a missing file");
    FUZZ_REQUIRE(index.title == (lines.empty() ? std::string() : lines[0]), "title not line 0");
    const std::size_t sections = index.sectionTitles.size();
    FUZZ_REQUIRE(sections <= kMaxSlots, "more than 80 sections");
    std::size_t blockLines = 0;
    for (const auto& line : lines) blockLines += line.starts_with("[[") ? 1 : 0;
    FUZZ_REQUIRE(sections <= blockLines, "more sections than \"[[\" lines");
    for (std::size_t k = 1; k < kSlotCount; ++k) {
        const auto& units = tables.SectionUnitTitles[k];
        if (k > sections) {
            FUZZ_REQUIRE(units == Lines{kOld} && tables.SectionUnitCounts[k] == -1,
                         "a section beyond the last one read changed");
            continue;
        }
        FUZZ_REQUIRE(units.size() <= kMaxSlots, "more than 80 units");
        FUZZ_REQUIRE(tables.SectionUnitCounts[k] == static_cast<int>(units.size()),
                     "unit count differs from the unit titles");
        for (const auto& title : units) FUZZ_REQUIRE(title != ">>", "\">>\" taken as a unit");
    }
    FUZZ_REQUIRE(prompter.shown.size() == (index.problems.empty() ? 0u : 1u),
                 "problems not told once together");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Lines lines = SplitLines(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& line : lines) CheckLessonLine(line);
    CheckCourseIndex(lines);
    CheckLessonIndex(lines);
    return 0;
}
