// The review worksheet of the questions missed: which lines, in which order, with their own bytes,
// the title, the limit of one sheet and the worksheet it becomes.
#include <gtest/gtest.h>

#include "DrillHost.h"
#include "ProfileFile.h"
#include "ReviewSheet.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::Sjis;

LearnerFile Learner(const char* name, const std::vector<std::string>& utf8Lines) {
    return {sjis(name), ProfileLines(Sjis(utf8Lines))};
}

class ReviewSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        outline = OutlineOfLesson(
            Sjis({"課", "[[sect1", "読み", "<<", "山の漢字", "川の漢字", "森の漢字", ">>", "]]"}));
        // Line bytes a re-encoding would change: an NEC duplicate (ED40) and a style tag; a 5C
        // trail byte (表).
        file = Sjis({"[[unit1", "<<ques"});
        line1 = sjis("（１）<B>#山#</>に#登;のぼ#る ") + "\xED\x40";
        line2 = sjis("（２）#表#と#裏#");
        line3 = sjis("（３）#岩#");
        for (const std::string& l : {line1, line2, line3}) file.push_back(l);
        for (const std::string& l :
             Sjis({">>", "<<value", "891",     "True",   "30",        "5",      "5",
                   "1",  "7",       ">>",      "]]",     "[[unit1R1", "<<ques", "#花#",
                   ">>", "]]",      "[[unit2", "<<ques", "#川#",      "#海#",   ">>",
                   "]]", "[[unit3", "<<ques",  "#森#",   ">>",        "]]"}))
            file.push_back(l);
        files = {
            // unit 1: 5 blanks (山 登 表 裏 岩); R1: 1; unit 2: 2; unit 3: 1.
            Learner("太郎", {"[S11山の漢字]", "1=2003年10月15日 14:05 OxOOO  4/ 5  80点 01:00",
                             "2=類題1)2003年10月15日 14:05 x  0/ 1   0点 01:00", "[S12川の漢字]",
                             "1=2003年10月15日 14:05 Ox  1/ 2  50点 01:00", "[S13森の漢字]",
                             "1=2003年10月15日 14:05 x  0/ 1   0点 01:00"}),
            Learner("花子", {"[S11山の漢字]", "1=2003年10月15日 14:05 OOOxO  4/ 5  80点 01:00",
                             "[S12川の漢字]", "1=2003年10月15日 14:05 OO  2/ 2 100点 01:00"}),
            Learner("次郎", {"[S11山の漢字]", "1=2003年10月15日 14:05 OOOOO  5/ 5 100点 01:00"})};
        results = ResultsOfLesson(outline, {file}, files, RunsCounted::First);
    }

    LessonOutline outline;
    std::string line1, line2, line3;
    std::vector<std::string> file;
    std::vector<LearnerFile> files;
    LessonResults results;
};

TEST_F(ReviewSheetTest, LinesBelowTheRateKeepTheirBytesAndAllTheirBlanksOnce) {
    // 登 2/3, 裏 2/3, 岩 3/3; R1's 花 0/1; 川 1/2; 森 0/1.
    const ReviewSheet sheet = ComposeReviewSheet(results, {0}, kDefaultReviewPercent);
    EXPECT_EQ(sheet.questionLines, (std::vector<std::string>{line1, line2, sjis("#花#")}));
    ASSERT_EQ(sheet.sources.size(), 3u);
    EXPECT_EQ(sheet.sources[2].similar, 1);
    EXPECT_EQ(sheet.sources[0].lowestRate, 67);
    EXPECT_EQ(sheet.title, sjis("復習：山の漢字"));
    EXPECT_EQ(sheet.unitsUsed, 1u);
    EXPECT_EQ(sheet.leftOut, 0u);
    EXPECT_EQ(sheet.value.size(), 7u);

    // 66.7 % is not below 66 %, and 100 % is never below.
    EXPECT_EQ(ComposeReviewSheet(results, {0}, 66).questionLines,
              (std::vector<std::string>{sjis("#花#")}));
    EXPECT_EQ(ComposeReviewSheet(results, {0}, 100).questionLines.size(), 3u);
}

TEST_F(ReviewSheetTest, SeveralUnitsInOutlineOrderWhateverOrderTheyWereChosenIn) {
    const ReviewSheet sheet = ComposeReviewSheet(results, {2, 0, 1, 2, 9}, 70);
    EXPECT_EQ(sheet.questionLines,
              (std::vector<std::string>{line1, line2, sjis("#花#"), sjis("#海#"), sjis("#森#")}));
    EXPECT_EQ(sheet.unitsUsed, 3u);
    EXPECT_EQ(sheet.title, sjis("復習：山の漢字ほか2単元"));
    // Units without a line below the rate are not counted in the title.
    EXPECT_EQ(ComposeReviewSheet(results, {1, 0}, 60).title, sjis("復習：山の漢字ほか1単元"));
    EXPECT_TRUE(ComposeReviewSheet(results, {}, 70).questionLines.empty());
}

TEST_F(ReviewSheetTest, OneLearnersSheetFromTheirOwnRuns) {
    // 花子 missed only 裏, and ran neither the similar problem nor unit 3.
    const LessonResults own = ResultsOfLesson(outline, {file}, {files[1]}, RunsCounted::First);
    const ReviewSheet sheet = ComposeReviewSheet(own, {0, 1, 2}, 70, sjis("花子"));
    EXPECT_EQ(sheet.questionLines, (std::vector<std::string>{line2}));
    EXPECT_EQ(sheet.title, sjis("復習：花子　山の漢字"));
}

TEST(ReviewSheetLimit, PastOneSheetTheLowestRatesAreKeptInTheirOrder) {
    LessonResults results;
    UnitResults u;
    u.unit.title = sjis("多い");
    std::vector<std::string> lines;
    for (int i = 0; i < 70; ++i) {
        lines.push_back("#" + std::to_string(i) + "#");
        BlankResult b;
        b.blank = {i + 1, i, 0, std::to_string(i), lines.back()};
        b.counted = 10;
        // Lines 0..9 at 60 %, the rest at 10 %.
        b.correct = i < 10 ? 6 : 1;
        u.blanks.push_back(b);
    }
    u.questions.lines[0] = lines;
    results.units.push_back(u);
    const ReviewSheet sheet = ComposeReviewSheet(results, {0}, 70);
    ASSERT_EQ(sheet.questionLines.size(), 60u);
    EXPECT_EQ(sheet.leftOut, 10u);
    EXPECT_EQ(sheet.questionLines.front(), "#10#");
    EXPECT_EQ(sheet.questionLines.back(), "#69#");
}

TEST_F(ReviewSheetTest, TheWorksheetIsAnUnsavedNonMasterWithTheUnitsLayout) {
    const ReviewSheet sheet = ComposeReviewSheet(results, {0, 1}, 70);
    const Worksheet w = ReviewWorksheet(sheet, 2);
    EXPECT_EQ(w.content.title, sheet.title);
    EXPECT_EQ(w.content.questionLines, sheet.questionLines);
    EXPECT_FALSE(w.isMaster);
    EXPECT_TRUE(w.isCopy);
    EXPECT_TRUE(w.filePath.empty());
    EXPECT_TRUE(w.modified);
    EXPECT_EQ(w.address.lesson, 2);
    EXPECT_EQ(w.params.PaperWidth, 891);  // from unit 1's "<<value"
    EXPECT_EQ(w.params.LineSpacing, 30);
    EXPECT_TRUE(w.content.questionFigures.empty());
    // Runs on it are kept nowhere until it is saved under a name.
    EXPECT_TRUE(StudyRecordPlace(w, "", {}, "taro", false, "").section.empty());
    // Without a layout block the fallback layout holds.
    ReviewSheet bare = sheet;
    bare.value.clear();
    EXPECT_EQ(ReviewWorksheet(bare, 2).params.PaperWidth, WorksheetFallbackLayout().PaperWidth);
}

}  // namespace
}  // namespace sulkan
