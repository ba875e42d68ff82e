// Writing blanks in the drill: the stroke order of a shown answer, kept off without the face,
// and the stroke count of a character written on the pad.
#include <gtest/gtest.h>

#include "DrillEngine.h"
#include "FakeFrontEnd.h"
#include "MessageBoard.h"
#include "Sjis.h"

namespace sulkan {
namespace {

using Kind = RecordingCanvas::Kind;
using test::FakeFrontEnd;

// kanjidic lines for 山 (3 strokes), 川 (3), 森 (12) and 林 (8), in EUC-JP.
std::string Kanjidic() {
    return "# KANJIDIC\n"
           "\xBB\xB3 3B33 U5c71 B46 G1 S3 Yshan1 {mountain}\n"
           "\xC0\xEE 406E U5ddd B47 G1 S3 {river}\n"
           "\xBF\xB9 3F39 U68ee B75 G1 S12 {forest}\n"
           "\xCE\xD3 4E53 U6797 B75 G1 S8 {grove}\n";
}

class DrillWritingTest : public ::testing::Test {
protected:
    void Sheet(const std::vector<const char*>& answers) {
        table.BlankCount = static_cast<int>(answers.size());
        for (std::size_t i = 0; i < answers.size(); ++i) {
            table.slots[i + 1].AnswerText = sjis(answers[i]);
            table.slots[i + 1].top = 50 * static_cast<int>(i + 1);
        }
        setup.answerCount = table.BlankCount;
        setup.handwriting = true;
        setup.preferHandwriting = true;
    }
    // A test run answered in order (UTF-8), then graded.
    void TestAndGrade(const std::vector<const char*>& answers) {
        engine.startTest();
        for (const char* a : answers) {
            engine.boxEdited(engine.currentBlank(), sjis(a));
            engine.enterPressed(engine.currentBlank());
        }
        engine.grade();
    }
    // The text ops drawn in the stroke-order face on a canvas.
    static std::vector<RecordingCanvas::Op> StrokeOrderTexts(const RecordingCanvas& canvas) {
        std::vector<RecordingCanvas::Op> out;
        for (const auto& op : canvas.ops)
            if (op.kind == Kind::Text && op.font.face == kStrokeOrderFontFamily) out.push_back(op);
        return out;
    }

    BlankTable table;
    FakeFrontEnd front;
    SeededRandom random{3};
    DrillSetup setup;
    StrokeCounts counts = StrokeCounts::Parse(Kanjidic());
    DrillEngine engine{table, front, random};
};

TEST_F(DrillWritingTest, TheShownAnswerOfAWritingBlankComesWithItsStrokeOrder) {
    Sheet({"森林;しんりん", "やま"});
    setup.strokeOrderFont = kStrokeOrderFontFamily;
    setup.strokeOrder = true;
    engine.open(setup);
    EXPECT_TRUE(engine.strokeOrder());
    engine.startPractice();
    engine.showAnswer();
    // The alternatives as lines, then the one with kanji in the stroke-order face below them.
    const auto drawn = StrokeOrderTexts(front.messXX);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, sjis("森林"));
    EXPECT_EQ(drawn[0].font.points, kStrokeOrderPoints);
    EXPECT_GE(drawn[0].y, 4 * kMessageLinePitch);
    const std::string shown = FakeFrontEnd::shown(front.messXX);
    EXPECT_NE(shown.find(sjis("しんりん")), std::string::npos);

    // A reading blank has no kanji to show.
    engine.enterPressed(1);
    engine.boxEdited(1, sjis("森林"));
    engine.enterPressed(1);
    ASSERT_EQ(engine.currentBlank(), 2);
    front.messXX.ops.clear();
    engine.showAnswer();
    EXPECT_TRUE(StrokeOrderTexts(front.messXX).empty());

    // Switched off: the answer alone.
    engine.setStrokeOrder(false);
    EXPECT_FALSE(engine.strokeOrder());
    front.messXX.ops.clear();
    engine.showAnswer();
    EXPECT_TRUE(StrokeOrderTexts(front.messXX).empty());
}

TEST_F(DrillWritingTest, CorrectAnswersShownAfterGradingListTheStrokeOrderOfThoseMissed) {
    Sheet({"山", "川", "もり", "林"});
    setup.strokeOrderFont = kStrokeOrderFontFamily;
    setup.strokeOrder = true;
    engine.open(setup);
    TestAndGrade({"山", "x", "x", "x"});
    front.mess.ops.clear();
    engine.showAllAnswers();
    // 山 was right, もり has no kanji: 川 and 林, one under the other, under a heading.
    const auto drawn = StrokeOrderTexts(front.mess);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].text, sjis("川"));
    EXPECT_EQ(drawn[1].text, sjis("林"));
    EXPECT_GT(drawn[1].y, drawn[0].y);
    EXPECT_NE(FakeFrontEnd::shown(front.mess).find(sjis("正解の筆順")), std::string::npos);
    EXPECT_EQ(engine.box(2).text, sjis("川"));
}

TEST_F(DrillWritingTest, TickingStrokeOrderOverTheCorrectAnswersRedrawsThemAtOnce) {
    Sheet({"山", "川"});
    setup.strokeOrderFont = kStrokeOrderFontFamily;
    engine.open(setup);
    TestAndGrade({"x", "x"});
    // Ticked after grading, before the correct answers are shown: nothing to redraw yet.
    front.mess.ops.clear();
    engine.setStrokeOrder(true);
    EXPECT_TRUE(front.mess.ops.empty());
    engine.setStrokeOrder(false);
    engine.showAllAnswers();
    EXPECT_TRUE(StrokeOrderTexts(front.mess).empty());

    front.mess.ops.clear();
    engine.setStrokeOrder(true);
    ASSERT_EQ(StrokeOrderTexts(front.mess).size(), 2u);
    EXPECT_EQ(StrokeOrderTexts(front.mess)[0].text, sjis("山"));

    // Unticked, the panel shows the course's steps again, with no stroke order left on it.
    front.mess.ops.clear();
    engine.setStrokeOrder(false);
    EXPECT_NE(FakeFrontEnd::shown(front.mess).find(sjis("標準の学習コース")), std::string::npos);
    EXPECT_EQ(FakeFrontEnd::shown(front.mess).find(sjis("正解の筆順")), std::string::npos);

    // The graded sheet again ("答案表示"), then a new run: the box changes nothing on the panel.
    engine.showAnswerSheet();
    front.mess.ops.clear();
    engine.setStrokeOrder(true);
    EXPECT_TRUE(front.mess.ops.empty());
    engine.setStrokeOrder(false);
    engine.showAllAnswers();
    engine.startPractice();
    front.mess.ops.clear();
    engine.setStrokeOrder(true);
    EXPECT_TRUE(StrokeOrderTexts(front.mess).empty());
}

TEST_F(DrillWritingTest, WithoutTheFaceTheStrokeOrderIsNeverDrawn) {
    Sheet({"山"});
    setup.strokeOrder = true;  // the learner's setting stays, the face is missing
    engine.open(setup);
    EXPECT_FALSE(engine.strokeOrder());
    engine.setStrokeOrder(true);
    EXPECT_FALSE(engine.strokeOrder());
    engine.startPractice();
    engine.showAnswer();
    EXPECT_TRUE(StrokeOrderTexts(front.messXX).empty());
    for (const auto& op : front.messXX.ops)
        if (op.kind == Kind::Text) {
            EXPECT_NE(op.font.face, std::string(kStrokeOrderFontFamily));
        }
}

TEST_F(DrillWritingTest, AWrongStrokeCountIsPointedOutWithoutChangingTheGrade) {
    Sheet({"森林", "山"});
    setup.strokeCounts = &counts;
    engine.open(setup);
    engine.startPractice();
    const std::string message = sjis("画数がちがいます：正しくは 12 画");
    // 森 in 12 strokes: nothing said.
    engine.candidatePicked(sjis("森"), false, 12);
    EXPECT_EQ(FakeFrontEnd::shown(front.messXX).find(sjis("画数")), std::string::npos);
    // The second character is 林: 8 strokes expected, 7 written.
    engine.candidatePicked(sjis("林"), false, 7);
    EXPECT_NE(FakeFrontEnd::shown(front.messXX).find(sjis("正しくは 8 画")), std::string::npos);
    EXPECT_EQ(engine.box(1).text, sjis("森林"));
    // Replacing the selection writes the first character again.
    engine.candidatePicked(sjis("森"), true, 11);
    EXPECT_NE(FakeFrontEnd::shown(front.messXX).find(message), std::string::npos);
    engine.candidatePicked(sjis("林"), false, 8);
    engine.enterPressed(1);
    // Right at the first try, whatever the strokes.
    EXPECT_EQ(table.slots[1].BlankStatus, blank_status::kCorrect);

    // A character beyond the answer, or not from the pad, is not checked.
    front.messXX.ops.clear();
    engine.candidatePicked(sjis("山"), false, 0);
    engine.candidatePicked(sjis("山"), false, 5);
    EXPECT_EQ(FakeFrontEnd::shown(front.messXX).find(sjis("画数")), std::string::npos);
}

TEST_F(DrillWritingTest, NoStrokeCountsOrKanaInTheAnswerMeansNoCheck) {
    Sheet({"やま", "山"});
    engine.open(setup);  // no kanjidic
    engine.startPractice();
    engine.candidatePicked(sjis("や"), false, 9);
    engine.enterPressed(1);
    engine.candidatePicked(sjis("山"), false, 9);
    EXPECT_EQ(FakeFrontEnd::shown(front.messXX).find(sjis("画数")), std::string::npos);

    DrillEngine withCounts{table, front, random};
    setup.strokeCounts = &counts;
    withCounts.open(setup);
    withCounts.startPractice();
    front.messXX.ops.clear();
    withCounts.candidatePicked(sjis("や"), false, 9);  // kana: no count to compare with
    EXPECT_EQ(FakeFrontEnd::shown(front.messXX).find(sjis("画数")), std::string::npos);
}

}  // namespace
}  // namespace sulkan
