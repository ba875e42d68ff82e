// The similar problems offered for a unit and the marks drawn in front of unit titles.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "FileLock.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TextRoutines.h"
#include "TfrmZenTangen.h"
#include "UnitMarks.h"

namespace sulkan {
namespace {

using test::Sjis;
using test::TempDir;
using test::WriteSjisFile;

std::vector<std::string> Items(const std::vector<std::string>& utf8) {
    return Sjis(utf8);
}

TEST(SimilarProblemItems, OfferedInFileOrderUntilTheFirstMissingNumber) {
    // Headers of other units, and lines that only look like headers, are not similar problems.
    const auto file = Sjis({"[[unit2", "]]", "[[unit12R1", "]]", "[[unit2R1", "]]", "[[unit2R2 ",
                            "[[unit2R2", "]]", "[[unit2R3", "]]"});
    EXPECT_EQ(SimilarProblemItems(file, 2), Items({"類題　2R1", "類題　2R2", "類題　2R3"}));
    EXPECT_EQ(SimilarProblemItems(file, 12), Items({"類題　12R1"}));
    EXPECT_TRUE(SimilarProblemItems(file, 1).empty());
    EXPECT_TRUE(SimilarProblemItems({}, 2).empty());
}

TEST(SimilarProblemItems, AGapOrAWrongOrderEndsTheList) {
    EXPECT_EQ(SimilarProblemItems(Sjis({"[[unit2", "[[unit2R1", "[[unit2R3"}), 2),
              Items({"類題　2R1"}));
    EXPECT_EQ(SimilarProblemItems(Sjis({"[[unit2", "[[unit2R2", "[[unit2R1"}), 2),
              Items({"類題　2R1"}));
}

TEST(SimilarProblemItems, AtMostFiveAreOffered) {
    std::vector<std::string> file;
    for (int j = 1; j <= 7; ++j) file.push_back("[[unit3R" + IntText(j));
    EXPECT_EQ(SimilarProblemItems(file, 3).size(), 5u);
    EXPECT_EQ(SimilarProblemItems(file, 3).back(), sjis("類題　3R5"));
}

class RecountUnitMarksTest : public ::testing::Test {
protected:
    void SetUp() override {
        state->ProgramFolder = course.folder();
        state->LearnerName = sjis("共通");
        state->Course.LessonFolders[1] = "kan3\\";
        state->Course.LessonBaseNames[1] = "k3";
        setUnits(1, {"駅", "旅行", "荷物"});
        setUnits(2, {"海", "山"});
        WriteSjisFile(lessonFolder() / "k31.que",
                      {"[[unit1", "]]", "[[unit2", "]]", "[[unit2R1", "]]", "[[unit3", "]]"});
        WriteSjisFile(lessonFolder() / "k32.que", {"[[unit1", "]]", "[[unit1R1", "]]"});
    }

    void setUnits(int section, const std::vector<std::string>& titles) {
        state->Course.SectionUnitTitles[section] = Sjis(titles);
        state->Course.SectionUnitCounts[section] = static_cast<int>(titles.size());
    }
    std::filesystem::path lessonFolder() const { return course.path() / "kan3"; }
    std::string mark(int section, int unit) const { return state->UnitMarks[section][unit]; }

    TempDir course;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
};

TEST_F(RecountUnitMarksTest, WithoutRecordsEveryUnitShowsABlankCount) {
    state->MarksRecountPending = true;
    RecountUnitMarks(*state, 1, 2);
    EXPECT_EQ(mark(1, 1), sjis("　[ ]"));
    EXPECT_EQ(mark(1, 2), sjis("◎[ ]"));
    EXPECT_EQ(mark(1, 3), sjis("　[ ]"));
    EXPECT_EQ(mark(2, 1), sjis("◎[ ]"));
    EXPECT_EQ(mark(2, 2), sjis("　[ ]"));
    EXPECT_FALSE(state->MarksRecountPending);
}

TEST_F(RecountUnitMarksTest, CountsTheKeysOfEachUnitsSection) {
    // Section names ignore ASCII case; a section with no keys counts as no practice.
    WriteSjisFile(
        lessonFolder() / "共通.ini",
        {"[password]", "pw=abcd",   "[S11駅]", "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23",
         "2=x",        "[s12旅行]", "1=x",     "[S21海]",
         "[S13荷物]",  "1=x",       "2=x",     "3=x",
         "4=x",        "5=x",       "6=x",     "7=x",
         "8=x",        "9=x",       "10=x",    "11=x",
         "12=x"});
    state->MarksRecountPending = true;
    RecountUnitMarks(*state, 1, 2);
    EXPECT_EQ(mark(1, 1), sjis("　[2]"));
    EXPECT_EQ(mark(1, 2), sjis("◎[1]"));
    EXPECT_EQ(mark(1, 3), sjis("　[12]"));
    EXPECT_EQ(mark(2, 1), sjis("◎[ ]"));

    // Another learner has no file yet.
    state->LearnerName = sjis("花子");
    RecountUnitMarks(*state, 1, 2);
    EXPECT_EQ(mark(1, 1), sjis("　[ ]"));
    EXPECT_EQ(mark(1, 2), sjis("◎[ ]"));
}

TEST_F(RecountUnitMarksTest, MarksCountRunsInTheLessonFolderAndTheRecordsFolderAlike) {
    // The lesson folder became read-only (a share): older runs lie there, newer ones in the
    // records folder. Tests run as root, so the seam answers for the share.
    std::function<bool(const std::string&)> readOnly = [](const std::string&) { return false; };
    testing_hooks::folderWritable = &readOnly;
    TempDir records;
    state->RecordsFolder = records.folder();
    WriteSjisFile(lessonFolder() / "共通.ini", {"[password]", "pw=abcd", "[S11駅]",
                                                "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23",
                                                "2=2003年10月16日 09:00 OOOO  4/ 4 100点 00:40"});
    // Keys 1, 2 and 4: a line deleted by hand leaves a gap, and every line left is a run.
    WriteSjisFile(
        records.path() / "k3" / "共通.ini",
        {"[s11駅]", "1=2003年10月17日 10:00 xx  0/ 2   0点 00:40", "[S13荷物]",
         "1=2003年10月17日 10:05 O  1/ 1 100点 00:10", "2=2003年10月17日 10:06 O  1/ 1 100点 00:10",
         "4=2003年10月17日 10:08 O  1/ 1 100点 00:10"});
    state->MarksRecountPending = true;
    RecountUnitMarks(*state, 1, 2);
    const std::string units[] = {mark(1, 1), mark(1, 2), mark(1, 3)};
    testing_hooks::folderWritable = nullptr;
    EXPECT_EQ(units[0], sjis("　[3]"));  // two in the lesson folder, one in the records folder
    EXPECT_EQ(units[1], sjis("◎[ ]"));
    EXPECT_EQ(units[2], sjis("　[3]"));  // neither 2 (up to the gap) nor 4 (the largest key)

    // Writable again: the records folder's runs still count.
    RecountUnitMarks(*state, 1, 2);
    EXPECT_EQ(mark(1, 1), sjis("　[3]"));
    EXPECT_EQ(mark(1, 3), sjis("　[3]"));
}

TEST_F(RecountUnitMarksTest, SimilarFlagsAreReadOnlyWhenPendingOrStale) {
    state->MarksRecountPending = true;
    RecountUnitMarks(*state, 1, 2);
    WriteSjisFile(lessonFolder() / "k31.que", {"[[unit1", "]]", "[[unit1R1", "]]"});
    WriteSjisFile(lessonFolder() / "共通.ini", {"[S11駅]", "1=x"});

    // Counts follow the records on every recount; the flags keep their old values.
    RecountUnitMarks(*state, 1, 2);
    EXPECT_EQ(mark(1, 1), sjis("　[1]"));
    EXPECT_EQ(mark(1, 2), sjis("◎[ ]"));

    state->MarksRecountPending = true;
    RecountUnitMarks(*state, 1, 2);
    EXPECT_EQ(mark(1, 1), sjis("◎[1]"));
    EXPECT_EQ(mark(1, 2), sjis("　[ ]"));
    EXPECT_FALSE(state->MarksRecountPending);

    WriteSjisFile(lessonFolder() / "k31.que", {"[[unit3", "]]", "[[unit3R1", "]]"});
    RecountUnitMarks(*state, 1, 2, /*similarFlagsStale=*/true);
    EXPECT_EQ(mark(1, 1), sjis("　[1]"));
    EXPECT_EQ(mark(1, 3), sjis("◎[ ]"));
}

TEST_F(RecountUnitMarksTest, OnlyWholeHeaderLinesMarkASimilarProblem) {
    // Any line end, and a last line without one; a header with more on its line or inside
    // another line does not count.
    test::WriteRawFile(lessonFolder() / "k31.que",
                       "[[unit1\n]]\n[[unit1R1 \n]]\rx[[unit2R1\r\n[[unit3R1\r[[unit2R11\n"
                       "[[unit3R1");
    state->MarksRecountPending = true;
    RecountUnitMarks(*state, 1, 1);
    EXPECT_EQ(mark(1, 1), sjis("　[ ]"));
    EXPECT_EQ(mark(1, 2), sjis("　[ ]"));
    EXPECT_EQ(mark(1, 3), sjis("◎[ ]"));

    test::WriteRawFile(lessonFolder() / "k31.que", "[[unit2R1");
    state->MarksRecountPending = true;
    RecountUnitMarks(*state, 1, 1);
    EXPECT_EQ(mark(1, 2), sjis("◎[ ]"));
    EXPECT_EQ(mark(1, 3), sjis("　[ ]"));
}

TEST_F(RecountUnitMarksTest, AMissingQuestionFileDoesNotStopTheLaterSections) {
    // Leftovers of another lesson must not survive in the marks of this one.
    state->SimilarFlags[1][1] = true;
    state->UnitMarks[2][1] = "stale";
    std::filesystem::remove(lessonFolder() / "k31.que");
    WriteSjisFile(lessonFolder() / "共通.ini", {"[S11駅]", "1=x", "[S22山]", "1=x", "2=x"});
    RecountUnitMarks(*state, 1, 2, /*similarFlagsStale=*/true);
    EXPECT_EQ(mark(1, 1), sjis("　[1]"));
    EXPECT_EQ(mark(1, 2), sjis("　[ ]"));
    EXPECT_EQ(mark(2, 1), sjis("◎[ ]"));
    EXPECT_EQ(mark(2, 2), sjis("　[2]"));
}

TEST_F(RecountUnitMarksTest, AFullLessonOverALargeRecordFile) {
    // 80 sections of 80 units, about 20,000 record lines; unit e of section d was practised
    // (d + e) % 5 times, and every third unit has a similar problem.
    std::vector<std::string> records;
    for (int d = 1; d <= kMaxSlots; ++d) {
        std::vector<std::string> titles, question;
        for (int e = 1; e <= kMaxSlots; ++e) {
            const std::string title = "T" + IntText(d) + "-" + IntText(e);
            titles.push_back(title);
            records.push_back("[S" + IntText(d) + IntText(e) + title + "]");
            for (int k = 1; k <= (d + e) % 5; ++k)
                records.push_back(IntText(k) + "=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23");
            question.insert(question.end(), {"[[unit" + IntText(e), "<<ques", "q", ">>", "]]"});
            if (e % 3 == 0) question.insert(question.end(), {"[[unit" + IntText(e) + "R1", "]]"});
        }
        setUnits(d, titles);
        WriteSjisFile(lessonFolder() / ("k3" + IntText(d) + ".que"), question);
    }
    ASSERT_GT(records.size(), 19000u);
    WriteSjisFile(lessonFolder() / "共通.ini", records);

    state->MarksRecountPending = true;
    RecountUnitMarks(*state, 1, kMaxSlots);
    int wrong = 0;
    for (int d = 1; d <= kMaxSlots; ++d) {
        for (int e = 1; e <= kMaxSlots; ++e) {
            const int count = (d + e) % 5;
            const std::string expected = sjis(e % 3 == 0 ? "◎" : "　") + "[" +
                                         (count ? IntText(count) : std::string(" ")) + "]";
            if (mark(d, e) != expected) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(RecountUnitMarksTest, TheAllUnitsViewPutsEachUnitsMarkInFrontOfItsTitle) {
    WriteSjisFile(lessonFolder() / "k3.ind",
                  {"三年の漢字", "[[sect1", "駅と旅", "<<", "駅", "旅行", ">>", "]]", "[[sect2",
                   "自然", "<<", "海", ">>", "]]"});
    state->UnitMarks[1][1] = sjis("　[2]");
    state->UnitMarks[1][2] = sjis("◎[ ]");
    const ZenTangenSource view = ZenTangenSourceOf(*state, 1, "2026.12.09");
    EXPECT_EQ(view.lessonTitle, sjis("三年の漢字"));
    EXPECT_EQ(view.sectionTitles, Sjis({"駅と旅", "自然"}));
    ASSERT_EQ(view.unitLines.size(), 2u);
    EXPECT_EQ(view.unitLines[0], Sjis({"　[2]駅", "◎[ ]旅行"}));
    EXPECT_EQ(view.unitLines[1], Sjis({"海"}));  // not counted yet: no mark
    EXPECT_EQ(view.dateStamp, "2026.12.09");

    // A lesson without an index shows nothing rather than another lesson's units.
    const ZenTangenSource none = ZenTangenSourceOf(*state, 2, "2026.12.09");
    EXPECT_TRUE(none.lessonTitle.empty());
    EXPECT_TRUE(none.unitLines.empty());
}

TEST_F(RecountUnitMarksTest, AUnitOutsideTheSlotsHasNoMark) {
    state->UnitMarks[1][1] = sjis("　[2]");
    EXPECT_EQ(UnitMarkOf(*state, 1, 1), sjis("　[2]"));
    EXPECT_EQ(UnitMarkOf(*state, 0, 1), "");
    EXPECT_EQ(UnitMarkOf(*state, 1, kMaxSlots + 1), "");
    EXPECT_EQ(UnitMarkOf(*state, -1, -1), "");
}

}  // namespace
}  // namespace sulkan
