// The index editor on any files: the lessons it lists from "Main.ind" are the course tree's, and
// a script of section and unit edits on a lesson index. After each edit done the course-tree
// reader finds the sections and units the edit promised, every line the edit did not touch keeps
// its bytes, and a new section's number is the count of sections after it. An edit not done
// changes nothing, and a title that would change how the file reads is refused.
// Input: "Main.ind" bytes NUL lesson-index bytes NUL script; each script step is an operation
// byte, a section byte, a unit byte, a length byte and that many title bytes.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "CourseTree.h"
#include "FuzzCheck.h"
#include "IndexEditing.h"
#include "LineFile.h"
#include "Prompter.h"
#include "TextRoutines.h"

namespace {

using namespace sulkan;
using Lines = std::vector<std::string>;

constexpr auto kMax = static_cast<std::size_t>(kMaxSlots);

void CheckLessons(const Lines& mainInd) {
    const EditorLessonTable table = ReadEditorLessons(mainInd);
    CourseTables tables;
    ScriptedPrompter prompter;
    const CourseIndex index = ReadCourseIndex(mainInd, tables, prompter);
    FUZZ_REQUIRE(table.courseTitle == index.title, "the course title differs from the tree's");
    FUZZ_REQUIRE(table.lessons.size() == index.lessonTitles.size(),
                 "the editor lists other lessons than the tree");
    for (std::size_t n = 0; n < table.lessons.size(); ++n) {
        const EditorLesson& lesson = table.lessons[n];
        FUZZ_REQUIRE(lesson.title == index.lessonTitles[n], "a lesson title differs");
        FUZZ_REQUIRE(lesson.line == mainInd[n + 2], "a lesson's line is not its line");
        // The editor edits the files the tree reads, and none the tree refuses.
        if (!lesson.refusal.empty()) continue;
        FUZZ_REQUIRE(tables.LessonRefusals[n + 1].empty(), "a lesson the tree refuses is editable");
        FUZZ_REQUIRE(!lesson.folder.empty() && lesson.folder == tables.LessonFolders[n + 1] &&
                         lesson.baseName == tables.LessonBaseNames[n + 1],
                     "the editor edits another lesson's files than the tree reads");
    }
}

// The lesson index as the course tree reads it.
struct Tree {
    Lines sections;
    std::vector<Lines> units;
};

Tree ReadTree(const Lines& lines) {
    CourseTables tables;
    ScriptedPrompter prompter;
    const LessonIndex index = ParseLessonIndex(lines, "x.ind", tables, prompter);
    Tree tree{index.sectionTitles, {}};
    for (std::size_t k = 1; k <= tree.sections.size(); ++k) {
        FUZZ_REQUIRE(
            tables.SectionUnitCounts[k] == static_cast<int>(tables.SectionUnitTitles[k].size()),
            "unit count differs from the unit titles");
        tree.units.push_back(tables.SectionUnitTitles[k]);
    }
    return tree;
}

// How many lines of a and b differ, when they have the same number.
std::size_t ChangedLines(const Lines& a, const Lines& b) {
    std::size_t changed = 0;
    for (std::size_t i = 0; i < a.size(); ++i) changed += a[i] == b[i] ? 0 : 1;
    return changed;
}

// b is a with one line inserted at some place.
bool OneLineInserted(const Lines& a, const Lines& b) {
    if (b.size() != a.size() + 1) return false;
    std::size_t i = 0;
    while (i < a.size() && a[i] == b[i]) ++i;
    for (; i < a.size(); ++i)
        if (a[i] != b[i + 1]) return false;
    return true;
}

enum Op { kAddSection, kRenameSection, kAddUnit, kRenameUnit, kOpCount };

void CheckStep(Lines& lines, unsigned op, unsigned sectionPick, unsigned unitPick,
               const std::string& title) {
    const Tree before = ReadTree(lines);
    const Lines old = lines;
    // The editor lists the sections and units the tree reads (80 of each at most).
    const std::vector<IndexBlock> blocks = IndexBlocks(lines);
    FUZZ_REQUIRE(std::min(blocks.size(), kMax) == before.sections.size(),
                 "the editor lists other sections than the tree reads");
    for (std::size_t s = 0; s < before.sections.size(); ++s) {
        const Lines& units = blocks[s].units;
        FUZZ_REQUIRE(
            blocks[s].title == before.sections[s] &&
                Lines(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                         units.size(), kMax))) == before.units[s],
            "the editor lists a section otherwise than the tree reads it");
    }
    // Sections and units from 0 to one past the last, so the missing ones are tried too.
    const int section = static_cast<int>(sectionPick % (before.sections.size() + 2));
    const bool shown = section >= 1 && static_cast<std::size_t>(section) <= before.sections.size();
    const std::size_t k = shown ? static_cast<std::size_t>(section - 1) : 0;
    const std::size_t unitsBefore = shown ? before.units[k].size() : 0;
    const int unit = static_cast<int>(unitPick % (unitsBefore + 2));

    EditResult result;
    TitleKind kind = TitleKind::Section;
    switch (op % kOpCount) {
        case kAddSection:
            result = AddSection(lines, title);
            break;
        case kRenameSection:
            result = RenameSection(lines, section, title);
            break;
        case kAddUnit:
            kind = TitleKind::Unit;
            result = AddUnit(lines, section, title);
            break;
        default:
            kind = TitleKind::Unit;
            result = RenameUnit(lines, section, unit, title);
            break;
    }
    if (result.status != EditStatus::Done) {
        FUZZ_REQUIRE(lines == old, "an edit not done changed the lines");
        FUZZ_REQUIRE(result.status == EditStatus::Ignored ||
                         (result.problem && !result.problem->message.empty()),
                     "an edit refused without a message");
        FUZZ_REQUIRE(result.status != EditStatus::Ignored || title.empty(),
                     "a title ignored though it was given");
        return;
    }
    FUZZ_REQUIRE(TitleFault(title, kind).ok(), "a title that breaks the file was taken");
    const Tree after = ReadTree(lines);
    // The tree reads 80 sections of 80 units; the editor may edit one beyond, which the tree
    // never shows: then only the lines are checked.
    const bool beyond =
        op % kOpCount != kAddSection &&
        (!shown || (op % kOpCount == kRenameUnit && static_cast<std::size_t>(unit) > unitsBefore));
    if (beyond) {
        FUZZ_REQUIRE(before.sections.size() == kMax || unitsBefore == kMax,
                     "an edit done on a section or unit that is not there");
        FUZZ_REQUIRE(after.sections == before.sections, "an edit beyond the tree changed it");
        FUZZ_REQUIRE(OneLineInserted(old, lines) ||
                         (lines.size() == old.size() && ChangedLines(old, lines) <= 1),
                     "an edit beyond the tree changed more than a line");
        return;
    }

    switch (op % kOpCount) {
        case kAddSection: {
            const std::size_t n = before.sections.size() + 1;
            FUZZ_REQUIRE(result.section == static_cast<int>(n), "the new section is not the last");
            FUZZ_REQUIRE(
                lines.size() > old.size() && std::equal(old.begin(), old.end(), lines.begin()),
                "adding a section changed the lines before it");
            FUZZ_REQUIRE(lines[old.size()] == "[[sect" + IntText(static_cast<long long>(n)),
                         "the new section's number is not the count of sections");
            FUZZ_REQUIRE(after.sections.size() == n && after.sections.back() == title &&
                             std::equal(before.sections.begin(), before.sections.end(),
                                        after.sections.begin()),
                         "the tree reads other section titles after adding one");
            FUZZ_REQUIRE(
                after.units.back().size() == 1 &&
                    std::equal(before.units.begin(), before.units.end(), after.units.begin()),
                "the new section has not one unit, or others changed");
            break;
        }
        case kRenameSection:
            FUZZ_REQUIRE(shown && result.section == section, "a section renamed the tree lacks");
            FUZZ_REQUIRE(lines.size() == old.size() && ChangedLines(old, lines) <= 1,
                         "renaming a section changed other lines");
            FUZZ_REQUIRE(after.units == before.units, "renaming a section changed units");
            FUZZ_REQUIRE(
                after.sections.size() == before.sections.size() && after.sections[k] == title,
                "the renamed section does not read with its title");
            for (std::size_t s = 0; s < after.sections.size(); ++s)
                if (s != k)
                    FUZZ_REQUIRE(after.sections[s] == before.sections[s],
                                 "renaming a section renamed another");
            break;
        case kAddUnit: {
            FUZZ_REQUIRE(shown && result.section == section,
                         "a unit added to a section the tree lacks");
            FUZZ_REQUIRE(OneLineInserted(old, lines), "adding a unit did more than insert a line");
            FUZZ_REQUIRE(after.sections == before.sections, "adding a unit changed sections");
            Tree expected = before;
            expected.units[k].push_back(title);
            FUZZ_REQUIRE(after.units == expected.units &&
                             result.unit == static_cast<int>(expected.units[k].size()),
                         "the added unit does not read as the section's last");
            break;
        }
        default: {
            FUZZ_REQUIRE(shown && result.section == section && unit >= 1 &&
                             static_cast<std::size_t>(unit) <= unitsBefore,
                         "a unit renamed the tree lacks");
            FUZZ_REQUIRE(lines.size() == old.size() && ChangedLines(old, lines) <= 1,
                         "renaming a unit changed other lines");
            Tree expected = before;
            expected.units[k][static_cast<std::size_t>(unit - 1)] = title;
            FUZZ_REQUIRE(after.sections == before.sections && after.units == expected.units,
                         "the renamed unit does not read with its title");
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul1 = input.find('\0');
    const std::size_t nul2 = nul1 == std::string::npos ? nul1 : input.find('\0', nul1 + 1);
    CheckLessons(SplitLines(input.substr(0, nul1)));
    if (nul1 == std::string::npos) return 0;
    Lines lines = SplitLines(input.substr(nul1 + 1, nul2 - nul1 - 1));
    if (nul2 == std::string::npos) return 0;
    const std::string script = input.substr(nul2 + 1);
    for (std::size_t i = 0; i + 4 <= script.size();) {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(script[at]); };
        const std::size_t length = std::min<std::size_t>(byte(i + 3), script.size() - i - 4);
        const std::string title = script.substr(i + 4, length);
        CheckStep(lines, byte(i), byte(i + 1), byte(i + 2), title);
        i += 4 + length;
    }
    return 0;
}
