// Per-question results of a class from hand-made record files: the blanks of the unit as it is
// now, first and all runs, similar problems, edited units, copy-file and damaged lines, the
// ranking, the lesson's most missed and the CSV.
#include <gtest/gtest.h>

#include "ProfileFile.h"
#include "QuestionResults.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::Sjis;

LearnerFile Learner(const char* name, const std::vector<std::string>& utf8Lines) {
    return {sjis(name), ProfileLines(Sjis(utf8Lines))};
}

// A question file of section 1: unit 1 with three blanks on two lines and its similar problems
// R1 (two blanks) and R3 (one blank; no R2); unit 2 with one blank.
std::vector<std::string> SectionFile() {
    return Sjis({"[[unit1",
                 "<<ques",
                 "{",
                 "前書き #無視# ",
                 "}",
                 "（１）#山#に登る。#川#を渡る。",
                 "（２）#森#の中",
                 ">>",
                 "<<value",
                 "891",
                 "True",
                 "30",
                 "5",
                 "5",
                 "1",
                 "7",
                 ">>",
                 "]]",
                 "[[unit1R1",
                 "<<ques",
                 "#花#と#草#",
                 ">>",
                 "]]",
                 "[[unit1R3",
                 "<<ques",
                 "#空#",
                 ">>",
                 "]]",
                 "[[unit2",
                 "<<ques",
                 "#石#",
                 ">>",
                 "]]"});
}

LessonOutline Outline() {
    return OutlineOfLesson(Sjis({"漢字の課", "[[sect1", "読み", "<<", "一", "二", ">>", "]]"}));
}

std::vector<int> Counted(const UnitResults& r) {
    std::vector<int> out;
    for (const BlankResult& b : r.blanks) out.push_back(b.counted);
    return out;
}
std::vector<int> Correct(const UnitResults& r) {
    std::vector<int> out;
    for (const BlankResult& b : r.blanks) out.push_back(b.correct);
    return out;
}

TEST(QuestionBlanks, EveryHashPairInSheetOrderWithItsLineAndAnswer) {
    const auto lines = Sjis({"#あ;ア#と#い#", "", "前#う#後#", "なし"});
    const std::vector<QuestionBlank> blanks = BlanksOf(lines);
    ASSERT_EQ(blanks.size(), 3u);
    EXPECT_EQ(blanks[0].blank, 1);
    EXPECT_EQ(blanks[0].answer, sjis("あ;ア"));
    EXPECT_EQ(blanks[1].answer, sjis("い"));
    EXPECT_EQ(blanks[1].line, 0);
    EXPECT_EQ(blanks[1].inLine, 1);
    // The unpaired last "#" is text, not a blank.
    EXPECT_EQ(blanks[2].blank, 3);
    EXPECT_EQ(blanks[2].line, 2);
    EXPECT_EQ(blanks[2].answer, sjis("う"));
    EXPECT_EQ(blanks[2].question, lines[2]);
}

TEST(QuestionBlanks, ReadableTextMarksTheBlankAndDropsStyleTags) {
    const std::string line = sjis("<B>（１）</>#山;やま#に#登#る#");
    EXPECT_EQ(QuestionText(line, 0), sjis("（１）【山】に（登）る#"));
    EXPECT_EQ(QuestionText(line, 1), sjis("（１）（山）に【登】る#"));
    EXPECT_EQ(QuestionText(sjis("#<U>川</>#"), 0), sjis("【川】"));
    EXPECT_EQ(QuestionText("", 0), "");
    // "<" followed by a double-byte character is text.
    EXPECT_EQ(QuestionText(sjis("<漢>#a#"), 0), sjis("<漢>【a】"));
}

TEST(QuestionBlanks, ReadAloudDuringADrillTheTextGivesNoAnswerAway) {
    const std::string line = sjis("<B>（１）</>#山;やま#に#登#る#");
    EXPECT_EQ(QuestionText(line, 1, BlankAnswers::Hidden), sjis("（１）（　）に【　】る#"));
    EXPECT_EQ(QuestionText(line, -1, BlankAnswers::Hidden), sjis("（１）（　）に（　）る#"));
    EXPECT_EQ(QuestionText(sjis("<U>べんきょう</>#勉強#する"), 0, BlankAnswers::Hidden),
              sjis("べんきょう【　】する"));
}

TEST(QuestionBlanks, TheUnitAndEachSimilarProblemFoundByItsOwnHeader) {
    const UnitQuestions q = QuestionsOfUnit(SectionFile(), 1);
    ASSERT_TRUE(q.lines[0]);
    // The preamble in braces is no question.
    EXPECT_EQ(*q.lines[0], Sjis({"（１）#山#に登る。#川#を渡る。", "（２）#森#の中"}));
    ASSERT_TRUE(q.lines[1]);
    EXPECT_FALSE(q.lines[2]);
    ASSERT_TRUE(q.lines[3]);
    EXPECT_EQ(*q.lines[3], Sjis({"#空#"}));
    EXPECT_EQ(q.value.size(), 7u);
    EXPECT_FALSE(QuestionsOfUnit(SectionFile(), 3).lines[0]);
    // A unit whose block never ends is not taken for questions.
    EXPECT_FALSE(QuestionsOfUnit(Sjis({"[[unit1", "<<ques", "#山#"}), 1).lines[0]);
}

class UnitResultsTest : public ::testing::Test {
protected:
    UnitResults results(RunsCounted runs) const {
        const LessonOutline outline = Outline();
        return ResultsOfUnit(outline.units[0], QuestionsOfUnit(SectionFile(), 1), files, runs);
    }

    std::vector<LearnerFile> files = {
        Learner("太郎", {"[S11一]", "1=2003年10月15日 14:05 OxO  2/ 3  67点 01:00",
                         "2=2003年10月16日 09:00 OOO  3/ 3 100点 00:40",
                         "3=類題1)2003年10月16日 09:10 xO  1/ 2  50点 00:30"}),
        // The unit had four blanks when this learner first ran it: that line is left out and the
        // next one is the first run against the unit as it is now.
        Learner("花子", {"[S11一]", "1=2003年10月14日 10:00 OOOO  4/ 4 100点 01:00",
                         "2=2003年10月15日 10:00 xXO  1/ 3  33点 01:10"}),
        // A similar problem the unit no longer has, a line cut short, a result that disagrees
        // with its marks, a key with nothing after it, and the learner's runs on a copy file.
        Learner("次郎",
                {"[S11一]", "1=類題2)2003年10月15日 10:00 O  1/ 1 100点 00:10",
                 "2=2003年10月15日 10:05 OxO", "3=2003年10月15日 10:06 OxO  3/ 3 100点 00:10",
                 "4=", "5=2003年10月16日 08:00 xxx  0/ 3   0点 00:20", "[まとめ.skn]",
                 "1=2003年10月17日 10:00 xxx  0/ 3   0点 00:20"}),
    };
};

TEST_F(UnitResultsTest, FirstRunOfEachLearnerAgainstTheUnitAsItIsNow) {
    const UnitResults r = results(RunsCounted::First);
    // Unit: 3 blanks, R1: 2, R3: 1.
    ASSERT_EQ(r.blanks.size(), 6u);
    EXPECT_EQ(r.blanks[3].similar, 1);
    EXPECT_EQ(r.blanks[5].similar, 3);
    EXPECT_EQ(r.blanks[5].blank.blank, 1);
    // 太郎 OxO, 花子 xXO, 次郎 xxx; 太郎's R1 xO.
    EXPECT_EQ(Counted(r), (std::vector<int>{3, 3, 3, 1, 1, 0}));
    EXPECT_EQ(Correct(r), (std::vector<int>{1, 0, 2, 0, 1, 0}));
    EXPECT_EQ(r.learners, 3);
    EXPECT_EQ(r.mismatched, 2);  // 花子's four marks, 次郎's 類題2
    EXPECT_EQ(r.damaged, 3);     // cut short, 3/3 with an x, an empty line
    // Shown the answer first ("X") is not right.
    EXPECT_EQ(r.blanks[1].missedBy,
              (std::vector<std::string>{sjis("太郎"), sjis("花子"), sjis("次郎")}));
    EXPECT_EQ(r.blanks[0].missedBy, (std::vector<std::string>{sjis("花子"), sjis("次郎")}));
    EXPECT_EQ(RatePercent(r.blanks[0]), 33);
    EXPECT_EQ(RatePercent(r.blanks[2]), 67);
    EXPECT_EQ(RatePercent(r.blanks[5]), -1);
}

TEST_F(UnitResultsTest, AllRunsCountEveryFittingLineAndNameEachLearnerOnce) {
    const UnitResults r = results(RunsCounted::All);
    // 太郎 OxO OOO, 花子 xXO, 次郎 xxx.
    EXPECT_EQ(Counted(r), (std::vector<int>{4, 4, 4, 1, 1, 0}));
    EXPECT_EQ(Correct(r), (std::vector<int>{2, 1, 3, 0, 1, 0}));
    EXPECT_EQ(r.blanks[1].missedBy.size(), 3u);
    EXPECT_EQ(r.mismatched, 2);
    EXPECT_EQ(r.damaged, 3);
}

TEST_F(UnitResultsTest, WithoutItsQuestionFileEveryLineIsLeftOut) {
    const LessonOutline outline = Outline();
    const LessonResults lesson = ResultsOfLesson(outline, {std::nullopt}, files, RunsCounted::All);
    ASSERT_EQ(lesson.units.size(), 2u);
    EXPECT_TRUE(lesson.units[0].blanks.empty());
    EXPECT_EQ(lesson.units[0].mismatched, 7);
    EXPECT_EQ(lesson.mismatched, 7);
    EXPECT_EQ(lesson.damaged, 3);
    EXPECT_EQ(lesson.units[0].learners, 0);
}

TEST(QuestionRates, BelowIsExactAndRoundingIsHalfToEven) {
    BlankResult r;
    r.counted = 8;
    r.correct = 5;  // 62.5 %
    EXPECT_EQ(RatePercent(r), 62);
    EXPECT_TRUE(RateBelow(r, 63));
    EXPECT_FALSE(RateBelow(r, 62));
    r.counted = 10;
    r.correct = 7;
    EXPECT_FALSE(RateBelow(r, 70));  // 70 % is not below 70 %
    EXPECT_TRUE(RateBelow(r, 71));
    r.counted = 0;
    r.correct = 0;
    EXPECT_FALSE(RateBelow(r, 100));
}

UnitResults Made(std::vector<std::pair<int, int>> countedCorrect) {
    UnitResults u;
    int n = 0;
    for (const auto& [counted, correct] : countedCorrect) {
        BlankResult b;
        b.blank.blank = ++n;
        b.counted = counted;
        b.correct = correct;
        u.blanks.push_back(b);
    }
    return u;
}

TEST(QuestionRanking, LowestRateFirstThenMostMissedThenSheetOrderUncountedLast) {
    // 50 % of 2, nobody, 50 % of 4, 100 %, 0 %, 50 % of 2.
    const UnitResults u = Made({{2, 1}, {0, 0}, {4, 2}, {3, 3}, {3, 0}, {2, 1}});
    EXPECT_EQ(RankedBlanks(u), (std::vector<std::size_t>{4, 2, 0, 5, 3, 1}));
}

TEST(QuestionRanking, TheLessonsMostMissedAreOnlyMissedOnesAtMostTheLimit) {
    LessonResults lesson;
    lesson.units.push_back(Made({{4, 4}, {4, 1}, {4, 3}}));
    lesson.units.push_back(Made({{2, 0}, {4, 1}, {0, 0}}));
    const std::vector<BlankPlace> top = MostMissed(lesson);
    ASSERT_EQ(top.size(), 4u);  // neither the all-right blank nor the uncounted one
    auto at = [&](std::size_t i) { return std::make_pair(top[i].unit, top[i].blank); };
    EXPECT_EQ(at(0), std::make_pair(std::size_t{1}, std::size_t{0}));  // 0 %
    // Two at 25 %: in outline order.
    EXPECT_EQ(at(1), std::make_pair(std::size_t{0}, std::size_t{1}));
    EXPECT_EQ(at(2), std::make_pair(std::size_t{1}, std::size_t{1}));
    EXPECT_EQ(at(3), std::make_pair(std::size_t{0}, std::size_t{2}));
    EXPECT_EQ(MostMissed(lesson, 2).size(), 2u);

    for (int u = 0; u < 30; ++u) lesson.units.push_back(Made({{3, 1}}));
    EXPECT_EQ(MostMissed(lesson).size(), 20u);
}

TEST(QuestionsCsv, OneRankedRowPerBlankInUtf8WithBomAndCrLf) {
    const LessonOutline outline = Outline();
    const std::vector<LearnerFile> files = {
        Learner("太郎", {"[S11一]", "1=2003年10月15日 14:05 OxO  2/ 3  67点 01:00"}),
        Learner("花子", {"[S11一]", "1=2003年10月15日 14:05 OOx  2/ 3  67点 01:00"})};
    // A question with a comma and an answer a spreadsheet would take for a number.
    const auto file = Sjis({"[[unit1", "<<ques", "#山#,#川#", "#-1#", ">>", "]]"});
    const LessonResults lesson = ResultsOfLesson(outline, {file}, files, RunsCounted::First);
    EXPECT_EQ(QuestionsCsv(2, lesson),
              "\xEF\xBB\xBF"
              "lesson,section,unit,similar,blank,answer,question,learners,correct,rate\r\n"
              "2,1,1,0,2,川,\"#山#,#川#\",2,1,50\r\n"
              "2,1,1,0,3,\"=\"\"-1\"\"\",#-1#,2,1,50\r\n"
              "2,1,1,0,1,山,\"#山#,#川#\",2,2,100\r\n");
    // Unit 2 has no questions in the file: no rows.
}

}  // namespace
}  // namespace sulkan
