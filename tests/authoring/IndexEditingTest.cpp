// Edits of a lesson index as lines, and the lessons of "Main.ind" as the index editor lists them.
#include <gtest/gtest.h>

#include "IndexEditing.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using Lines = std::vector<std::string>;
using test::Sjis;

TEST(IndexEditingTest, NewLessonTemplateTakesANumberedSection) {
    Lines lines = NewLessonIndexTemplate();
    EXPECT_EQ(lines, Sjis({"ここにタイトルをかいてください", "[[sect1", "ここは主メニュー", "<<",
                           "ここは副メニュー", ">>", "]]"}));
    EXPECT_EQ(AddSection(lines, "").status, EditStatus::Ignored);
    EXPECT_EQ(lines.size(), 7u);

    const EditResult added = AddSection(lines, sjis("読み"));
    EXPECT_EQ(added.status, EditStatus::Done);
    EXPECT_EQ(added.section, 2);
    EXPECT_EQ(Lines(lines.begin() + 7, lines.end()),
              (Lines{"[[sect2", sjis("読み"), "<<", "SubMenu New2", ">>", "]]"}));
    EXPECT_EQ(SectionUnits(lines, 2), (Lines{"SubMenu New2"}));
}

TEST(IndexEditingTest, SectionsAreCountedNotTakenFromTheirNumbers) {
    Lines lines = {"T", "[[sect1", "A", "<<", "a", ">>", "]]", "[[sect5", "B", "<<", ">>", "]]"};
    ASSERT_EQ(AddSection(lines, "C").status, EditStatus::Done);
    EXPECT_EQ(lines[12], "[[sect3");
    EXPECT_EQ(lines[15], "SubMenu New3");
}

TEST(IndexEditingTest, EmptyTitlesRenameSectionsButNeverAddOrRenameUnits) {
    const Lines original = {"T",  "[[sect1", "A", "<<", "a", "b",  ">>",
                            "]]", "[[sect2", "B", "<<", "c", ">>", "]]"};
    Lines lines = original;
    EXPECT_EQ(AddUnit(lines, 1, "").status, EditStatus::Ignored);
    EXPECT_EQ(RenameUnit(lines, 1, 2, "").status, EditStatus::Ignored);
    EXPECT_EQ(lines, original);

    ASSERT_EQ(RenameSection(lines, 2, "").status, EditStatus::Done);
    EXPECT_EQ(lines[9], "");
    // A unit goes right before its section's ">>", a rename hits exactly its line.
    const EditResult added = AddUnit(lines, 1, "x");
    EXPECT_EQ(added.unit, 3);
    ASSERT_EQ(RenameUnit(lines, 2, 1, "y").status, EditStatus::Done);
    EXPECT_EQ(lines, (Lines{"T", "[[sect1", "A", "<<", "a", "b", "x", ">>", "]]", "[[sect2", "",
                            "<<", "y", ">>", "]]"}));
}

TEST(IndexEditingTest, BlockNotOpenedBySectIsListedButNotFoundForEdits) {
    const Lines original = {"T", "[[sect1", "A",  "<<",      "a", ">>", "]]", "[[menu", "B", "<<",
                            "b", ">>",      "]]", "[[sect3", "C", "<<", "c",  ">>",     "]]"};
    Lines lines = original;
    const auto blocks = IndexBlocks(lines);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[1].title, "B");
    EXPECT_FALSE(SectionUnits(lines, 2));
    // The third block is section 3, not the second "[[sect" line found.
    EXPECT_EQ(SectionUnits(lines, 3), (Lines{"c"}));
    for (const EditResult& result : {RenameSection(lines, 2, "X"), AddUnit(lines, 2, "X"),
                                     RenameUnit(lines, 2, 1, "X"), RenameSection(lines, 4, "X")}) {
        EXPECT_EQ(result.status, EditStatus::NotFound);
        ASSERT_TRUE(result.problem);
        EXPECT_EQ(result.problem->message.rfind("not found", 0), 0u);
    }
    EXPECT_EQ(lines, original);
}

TEST(IndexEditingTest, TitlesThatWouldBreakTheFileAreRefused) {
    const Lines original = NewLessonIndexTemplate();
    Lines lines = original;
    // A unit ">>" would end the list early; a "[[" line would open a section for every reader.
    for (const EditResult& result :
         {AddUnit(lines, 1, ">>"), RenameUnit(lines, 1, 1, ">>"), AddUnit(lines, 1, "[[sect9"),
          AddSection(lines, "[[x"), RenameSection(lines, 1, "[[sect2"),
          AddUnit(lines, 1, "a\r\nb")}) {
        EXPECT_EQ(result.status, EditStatus::Refused);
        ASSERT_TRUE(result.problem);
        EXPECT_FALSE(result.problem->message.empty());
    }
    EXPECT_EQ(lines, original);
    EXPECT_TRUE(TitleFault(">>", TitleKind::Section));  // a section title is not examined
    EXPECT_EQ(AddUnit(lines, 1, "]]").status, EditStatus::Done);
}

TEST(IndexEditingTest, SectionIsNotAppendedWhereItWouldReadAsUnits) {
    const Lines original = {"T", "[[sect1", "A", "<<", "a"};  // no ">>": the list runs to the end
    Lines lines = original;
    EXPECT_EQ(AddSection(lines, "B").status, EditStatus::Refused);
    EXPECT_EQ(lines, original);
    // A unit still goes at the end of that list.
    EXPECT_EQ(AddUnit(lines, 1, "b").status, EditStatus::Done);
    EXPECT_EQ(lines.back(), "b");
}

TEST(IndexEditingTest, LessonsWithoutAUsableFolderAreListedButRefused) {
    const EditorLessonTable table = ReadEditorLessons(Sjis(
        {"コース", "x", "漢字,kanji1\\xk1", "練習", "外,..\\xk", "題,nofolder", ">>", "後,a\\xb"}));
    EXPECT_EQ(table.courseTitle, sjis("コース"));
    ASSERT_EQ(table.lessons.size(), 4u);
    EXPECT_EQ(table.lessons[0].title, sjis("漢字"));
    EXPECT_TRUE(table.lessons[0].refusal.empty());
    EXPECT_EQ(EditorIndexPath("/c/", table.lessons[0]), "/c/kanji1\\k1.ind");
    EXPECT_EQ(EditorQuestionPath("/c/", table.lessons[0], 2), "/c/kanji1\\k12.que");
    EXPECT_EQ(table.lessons[1].title, "?");
    for (std::size_t i = 1; i < 4; ++i) EXPECT_FALSE(table.lessons[i].refusal.empty()) << i;
}

}  // namespace
}  // namespace sulkan
