#include <gtest/gtest.h>

#include <memory>

#include "CourseTree.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::Sjis;
using test::TempDir;
using test::WriteSjisFile;

// Tables are large; keep them off the stack.
std::unique_ptr<CourseTables> NewTables() {
    return std::make_unique<CourseTables>();
}

// ---- Lesson lines ----

TEST(CourseLessonLine, SplitsAtWholeCharactersAndSkipsTheByteAfterTheBackslash) {
    LessonLine l = ParseLessonLine(sjis("漢字,kanji1\\xk1"));
    EXPECT_TRUE(l.valid);
    EXPECT_EQ(l.title, sjis("漢字"));
    EXPECT_EQ(l.folder, "kanji1\\");
    EXPECT_EQ(l.baseName, "k1");

    // 表 and ソ end in the byte 5C, which is not a backslash there.
    LessonLine trail = ParseLessonLine(sjis("表ソ,表現ソ\\xhy"));
    EXPECT_EQ(trail.title, sjis("表ソ"));
    EXPECT_EQ(trail.folder, sjis("表現ソ\\"));
    EXPECT_EQ(trail.baseName, "hy");
}

TEST(CourseLessonLine, LinesThatCannotNameAFolder) {
    LessonLine noComma = ParseLessonLine(sjis("練習"));
    EXPECT_FALSE(noComma.valid);
    EXPECT_FALSE(noComma.hasComma);
    EXPECT_EQ(noComma.title, "?");

    LessonLine noBackslash = ParseLessonLine(sjis("練習,kanji1"));
    EXPECT_FALSE(noBackslash.valid);
    EXPECT_TRUE(noBackslash.hasComma);
    EXPECT_EQ(noBackslash.title, sjis("練習"));

    // A backslash in the title does not end the folder.
    LessonLine inTitle = ParseLessonLine("a\\b,kanji\\xk");
    EXPECT_TRUE(inTitle.valid);
    EXPECT_EQ(inTitle.title, "a\\b");
    EXPECT_EQ(inTitle.folder, "kanji\\");
    EXPECT_EQ(inTitle.baseName, "k");
    EXPECT_FALSE(ParseLessonLine("a\\b,kanji").valid);

    // Nothing after the skipped byte: an empty base name, read without running past the end.
    EXPECT_EQ(ParseLessonLine("t,f\\").baseName, "");
    EXPECT_EQ(ParseLessonLine("t,f\\x").baseName, "");
}

// ---- Course index ----

TEST(CourseIndexReading, ReadsTitleAndLessonsUpToTheEndMarker) {
    auto tables = NewTables();
    ScriptedPrompter prompter;
    CourseIndex index = ReadCourseIndex(Sjis({"漢字コース", "漢字,ignored\\xzz", "一年,kanji1\\xk1",
                                              "二年,kanji2\\xk2", ">>", "三年,kanji3\\xk3"}),
                                        *tables, prompter);
    EXPECT_EQ(index.title, sjis("漢字コース"));
    EXPECT_EQ(index.lessonTitles, Sjis({"一年", "二年"}));
    EXPECT_EQ(tables->LessonFolders[1], "kanji1\\");
    EXPECT_EQ(tables->LessonBaseNames[2], "k2");
    EXPECT_EQ(tables->LessonFolders[3], "");  // after ">>"

    // Without ">>" the list ends with the file.
    index = ReadCourseIndex(Sjis({"t", "", "三年,kanji3\\xk3"}), *tables, prompter);
    EXPECT_EQ(index.lessonTitles, Sjis({"三年"}));
    EXPECT_TRUE(ReadCourseIndex({}, *tables, prompter).lessonTitles.empty());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(CourseIndexReading, UnusableLinesAreListedButLeaveTheirSlots) {
    auto tables = NewTables();
    tables->LessonFolders[1] = tables->LessonFolders[2] = "old\\";
    ScriptedPrompter prompter;
    CourseIndex index =
        ReadCourseIndex(Sjis({"t", "", "練習", "復習,nofolder", ">>"}), *tables, prompter);
    EXPECT_EQ(index.lessonTitles, Sjis({"?", "復習"}));
    EXPECT_EQ(tables->LessonFolders[1], "old\\");
    EXPECT_EQ(tables->LessonFolders[2], "old\\");
    // Only the line with a comma is a mistake worth telling; it is shown with its line number.
    ASSERT_EQ(prompter.shown.size(), 1u);
    ASSERT_EQ(index.problems.size(), 1u);
    EXPECT_NE(prompter.shown[0].find(sjis("4行目")), std::string::npos);
    EXPECT_NE(prompter.shown[0].find("nofolder"), std::string::npos);
}

TEST(CourseIndexReading, RefusesLessonsBeyondEightyOnce) {
    std::vector<std::string> lines = {"t", ""};
    for (int n = 1; n <= 83; ++n) {
        const std::string s = std::to_string(n);
        lines.push_back("L" + s + ",f" + s + "\\xb" + s);
    }
    lines.push_back(">>");
    auto tables = NewTables();
    ScriptedPrompter prompter;
    CourseIndex index = ReadCourseIndex(lines, *tables, prompter);
    ASSERT_EQ(index.lessonTitles.size(), 80u);
    EXPECT_EQ(index.lessonTitles.back(), "L80");
    EXPECT_EQ(tables->LessonFolders[80], "f80\\");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find(sjis("80を超えています")), std::string::npos);

    // Exactly eighty is fine.
    lines.erase(lines.begin() + 82, lines.end() - 1);
    ScriptedPrompter quiet;
    EXPECT_EQ(ReadCourseIndex(lines, *tables, quiet).lessonTitles.size(), 80u);
    EXPECT_TRUE(quiet.shown.empty());
}

TEST(CourseIndexReading, LoadTellsWhenMainIndIsMissing) {
    TempDir dir;
    ScriptedPrompter prompter;
    EXPECT_FALSE(LoadCourseIndex(dir.folder(), prompter));
    EXPECT_EQ(prompter.shown, std::vector<std::string>{sjis("ファイル ") + dir.folder() +
                                                       "Main.ind" + sjis(" が見つかりません")});

    WriteSjisFile(dir.path() / "Main.ind", {"漢字", "", ">>"});
    auto lines = LoadCourseIndex(dir.folder(), prompter);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, Sjis({"漢字", "", ">>"}));
}

// ---- Lesson index ----

TEST(CourseLessonIndex, SectionsAreNumberedByOrderAndOnlyBlocksCount) {
    auto tables = NewTables();
    tables->SectionUnitTitles[3] = {"stale"};
    ScriptedPrompter prompter;
    LessonIndex index =
        ParseLessonIndex(Sjis({"題", "comment between blocks", "[[sect5", "読み", "anything", "一",
                               "", "三", ">>", "]]", "stray", "[[sect1", "空", "<<", ">>", "]]"}),
                         "k1.ind", *tables, prompter);
    EXPECT_EQ(index.sectionTitles, Sjis({"読み", "空"}));
    // Empty unit titles are units too.
    EXPECT_EQ(tables->SectionUnitTitles[1], Sjis({"一", "", "三"}));
    EXPECT_EQ(tables->SectionUnitCounts[1], 3);
    EXPECT_TRUE(tables->SectionUnitTitles[2].empty());
    EXPECT_EQ(tables->SectionUnitCounts[2], 0);
    // Sections of an earlier lesson beyond the last one read are left alone.
    EXPECT_EQ(tables->SectionUnitTitles[3], std::vector<std::string>{"stale"});
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(CourseLessonIndex, TruncatedFilesEndAtTheLastLine) {
    auto tables = NewTables();
    ScriptedPrompter prompter;
    LessonIndex noEnd =
        ParseLessonIndex({"t", "[[sect1", "a", "<<", "u1", "u2"}, "k.ind", *tables, prompter);
    EXPECT_EQ(noEnd.sectionTitles, std::vector<std::string>{"a"});
    EXPECT_EQ(tables->SectionUnitTitles[1], (std::vector<std::string>{"u1", "u2"}));

    LessonIndex bareOpening = ParseLessonIndex({"t", "[[sect1"}, "k.ind", *tables, prompter);
    EXPECT_EQ(bareOpening.sectionTitles, std::vector<std::string>{""});
    EXPECT_EQ(tables->SectionUnitCounts[1], 0);
}

TEST(CourseLessonIndex, RefusesSectionsAndUnitsBeyondEighty) {
    std::vector<std::string> lines = {"t", "[[sect1", "big", "<<"};
    for (int u = 1; u <= 82; ++u) lines.push_back(std::string("u").append(std::to_string(u)));
    lines.insert(lines.end(), {">>", "]]"});
    for (int s = 2; s <= 81; ++s)
        lines.insert(lines.end(),
                     {"[[sect", std::string("s").append(std::to_string(s)), "<<", "x", ">>", "]]"});

    auto tables = NewTables();
    ScriptedPrompter prompter;
    LessonIndex index = ParseLessonIndex(lines, "k.ind", *tables, prompter);
    ASSERT_EQ(index.sectionTitles.size(), 80u);
    EXPECT_EQ(index.sectionTitles[1], "s2");  // units past the limit do not disturb the next block
    EXPECT_EQ(index.sectionTitles.back(), "s80");
    EXPECT_EQ(tables->SectionUnitCounts[1], 80);
    EXPECT_EQ(tables->SectionUnitTitles[1].back(), "u80");
    EXPECT_EQ(tables->SectionUnitTitles[80], std::vector<std::string>{"x"});
    ASSERT_EQ(index.problems.size(), 2u);
    ASSERT_EQ(prompter.shown.size(), 1u);  // both problems in one box
    EXPECT_NE(prompter.shown[0].find("big"), std::string::npos);
    EXPECT_NE(prompter.shown[0].find("k.ind"), std::string::npos);
}

// A course of one lesson, kanji1\k1.ind: the index editor's template for a new lesson with one
// section added, in a temporary program folder.
class CourseLessonIndexFiles : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(dir.path() / "Main.ind", {"漢字", "", "漢字,kanji1\\xk1", ">>"});
        WriteSjisFile(
            dir.path() / "kanji1" / "k1.ind",
            {"ここにタイトルをかいてください", "[[sect1", "ここは主メニュー", "<<",
             "ここは副メニュー", ">>", "]]", "[[sect2", "書き", "<<", "SubMenu New2", ">>", "]]"});
        auto lines = LoadCourseIndex(dir.folder(), prompter);
        ASSERT_TRUE(lines);
        ReadCourseIndex(*lines, *tables, prompter);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<CourseTables> tables = NewTables();
};

TEST_F(CourseLessonIndexFiles, ReadsTheLessonNamedInMainInd) {
    LessonIndex index = ReadLessonIndex(dir.folder(), *tables, 1, prompter);
    EXPECT_EQ(index.status, LessonIndexStatus::Read);
    EXPECT_EQ(index.title, sjis("ここにタイトルをかいてください"));
    EXPECT_EQ(index.sectionTitles, Sjis({"ここは主メニュー", "書き"}));
    EXPECT_EQ(tables->SectionUnitTitles[1], Sjis({"ここは副メニュー"}));
    EXPECT_EQ(tables->SectionUnitTitles[2], Sjis({"SubMenu New2"}));
    EXPECT_EQ(tables->SectionUnitCounts[2], 1);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(CourseLessonIndexFiles, MissingFolderAndMissingIndexAreToldApart) {
    tables->SectionUnitTitles[1] = {"kept"};
    tables->LessonFolders[2] = "kanji2\\";
    tables->LessonBaseNames[2] = "k2";
    LessonIndex noFolder = ReadLessonIndex(dir.folder(), *tables, 2, prompter);
    EXPECT_EQ(noFolder.status, LessonIndexStatus::FolderMissing);
    EXPECT_EQ(prompter.shown.back(),
              sjis("ディレクトリ ") + dir.folder() + "kanji2\\" + sjis(" が見つかりません"));
    EXPECT_EQ(tables->SectionUnitTitles[1], std::vector<std::string>{"kept"});

    std::filesystem::create_directory(dir.path() / "kanji2");
    LessonIndex noFile = ReadLessonIndex(dir.folder(), *tables, 2, prompter);
    EXPECT_EQ(noFile.status, LessonIndexStatus::FileMissing);
    EXPECT_FALSE(noFile.ok());
    EXPECT_EQ(prompter.shown.back(),
              sjis("ファイル ") + dir.folder() + "kanji2\\k2.ind" + sjis(" が見つかりません"));
}

TEST_F(CourseLessonIndexFiles, LessonsLeadingOutOfTheCourseAreRefusedAndNeverRead) {
    // A lesson index and a question file outside the course, reached by ".." or by a link.
    const std::filesystem::path outside = dir.path() / "outside";
    WriteSjisFile(outside / "evil.ind", {"t", "[[sect1", "盗む", "<<", "x", ">>", "]]"});
    WriteSjisFile(outside / "evil1.que", {"[[unit1", "]]"});
    std::filesystem::create_directories(dir.path() / "course");
    std::filesystem::create_directory_symlink(outside, dir.path() / "course" / "linked");
    const std::string course = dir.folder() + "course\\";
    const std::vector<std::string> mainInd =
        Sjis({"t", "", "Evil,..\\_..\\..\\outside\\evil", "Linked,linked\\xevil", ">>"});

    CourseIndex index = ReadCourseIndex(mainInd, *tables, prompter);
    EXPECT_EQ(index.lessonTitles, (std::vector<std::string>{"Evil", "Linked"}));
    ASSERT_EQ(index.problems.size(), 1u);
    EXPECT_NE(index.problems[0].find(sjis("3行目")), std::string::npos);
    EXPECT_NE(index.problems[0].find(sjis("「..」")), std::string::npos);
    EXPECT_EQ(tables->LessonFolders[1], "");
    EXPECT_FALSE(LessonLineProblem(course, mainInd[2]));
    EXPECT_FALSE(LessonLineProblem(course, mainInd[3]));  // by its link
    EXPECT_TRUE(LessonLineProblem(course, sjis("漢字,kanji1\\xk1")));

    tables->SectionUnitTitles[1] = {"kept"};
    for (int lesson : {1, 2}) {
        prompter.shown.clear();
        LessonIndex read = ReadLessonIndex(course, *tables, lesson, prompter);
        EXPECT_EQ(read.status, LessonIndexStatus::Refused) << lesson;
        EXPECT_TRUE(read.sectionTitles.empty());
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_FALSE(QuestionFileProblem(course, *tables, {lesson, 1, 1, 0}));
    }
    EXPECT_EQ(tables->SectionUnitTitles[1], std::vector<std::string>{"kept"});
    EXPECT_EQ(FigureFolderOf(course, *tables, 2), "");
}

// ---- Names derived from an address ----

TEST(UnitNames, QuestionFileAndIdentities) {
    auto tables = NewTables();
    tables->LessonFolders[1] = "kanji1\\";
    tables->LessonBaseNames[1] = "k1";
    UnitFiles section2 = UnitFileNames("C:\\course\\", *tables, {1, 2, 1, 0});
    EXPECT_EQ(section2.questionFile, "C:\\course\\kanji1\\k12.que");
    EXPECT_EQ(section2.identity, "C:\\course\\kanji1\\k12.que-U1");
    EXPECT_EQ(section2.shortIdentity, "k12.que-U1");

    tables->LessonBaseNames[1] = "k";
    UnitFiles similar = UnitFileNames("C:\\course\\", *tables, {1, 1, 3, 2});
    EXPECT_EQ(similar.identity, "C:\\course\\kanji1\\k1.que-U3R2");
    EXPECT_EQ(similar.shortIdentity, "k1.que-U3R2");
    EXPECT_EQ(UnitHeaderOf({1, 1, 3, 2}), "[[unit3R2");
    EXPECT_EQ(UnitHeaderOf({1, 1, 3, 0}), "[[unit3");
    EXPECT_EQ(UnitFileNames("C:\\course\\", *tables, {1, 13, 1, 0}).questionFile,
              "C:\\course\\kanji1\\k13.que");

    for (int lesson : {0, -1, 81}) {
        UnitFiles none = UnitFileNames("C:\\course\\", *tables, {lesson, 1, 1, 0});
        EXPECT_EQ(none.questionFile, "");
        EXPECT_EQ(none.identity, "");
    }
}

TEST(UnitNames, FigureFolderFallsBackFromLessonToProgramFolder) {
    TempDir dir;
    auto tables = NewTables();
    tables->LessonFolders[1] = "kanji1\\";
    tables->LessonFolders[2] = "kanji2\\";
    std::filesystem::create_directories(dir.path() / "kanji2");
    EXPECT_EQ(FigureFolderOf(dir.folder(), *tables, 1), "");

    std::filesystem::create_directories(dir.path() / "Graph");
    EXPECT_EQ(FigureFolderOf(dir.folder(), *tables, 2), dir.folder() + "Graph\\");

    // A folder written in another case on disk is still found.
    std::filesystem::create_directories(dir.path() / "kanji1" / "GRAPH");
    const std::string lessonGraph = dir.folder() + "kanji1\\Graph\\";
    EXPECT_EQ(FigureFolderOf(dir.folder(), *tables, 1), lessonGraph);
    EXPECT_EQ(FigureFolderOf(dir.folder(), *tables, 0), lessonGraph);
    EXPECT_EQ(FigureFolderOf(dir.folder(), *tables, 81), dir.folder() + "Graph\\");
}

}  // namespace
}  // namespace sulkan
