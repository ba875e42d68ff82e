#include "SheetRenderer.h"

#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "Sjis.h"

namespace sulkan {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;
using Spot = std::array<double, 3>;  // x, y, points of a text
using Corners = std::array<int, 4>;

// An A4 screen sheet (630 wide, margins 50, lines 40 apart) with 12-point questions: at 4/3
// pixels a point a double-byte character is 16 pixels, a single-byte one 8. The body starts at
// y 98 and lines are 31.5 apart; text stands 7 below its line.
class SheetRenderer : public ::testing::Test {
protected:
    void SetUp() override {
        ws.params = LayoutParams{};  // a new unit's layout
        ws.content.title = sjis("漢字の読み");
        in.target = ScreenTarget(ws);
        in.view.questionSize = 12;
        in.view.mainFontName = sjis("ＭＳ 明朝");
        in.stamp.now = LocalTime{2005, 1, 9, 8, 5};
        in.stamp.numberText = sjis("№ 5");
        in.stamp.sourceName = "kanji1.que-U3";
    }

    RenderOutput Render(RecordingCanvas* on = nullptr) {
        RecordingCanvas& target = on ? *on : canvas;
        target.ops.clear();
        return RenderSheet(ws, target, in, shared);
    }

    // The first text drawn as cp932, or nothing.
    const Op* Text(const std::string& cp932, const RecordingCanvas* on = nullptr) const {
        for (const Op& op : (on ? *on : canvas).ops)
            if (op.kind == Kind::Text && op.text == cp932) return &op;
        return nullptr;
    }
    Spot SpotOf(const std::string& cp932, const RecordingCanvas* on = nullptr) const {
        const Op* op = Text(cp932, on);
        return op ? Spot{op->x, op->y, op->font.points} : Spot{-1, -1, -1};
    }
    static std::vector<Corners> Shapes(const RecordingCanvas& on, Kind kind) {
        std::vector<Corners> out;
        for (const Op& op : on.ops)
            if (op.kind == kind) out.push_back({op.x1, op.y1, op.x2, op.y2});
        return out;
    }

    Worksheet ws;
    RenderInputs in;
    SheetShared shared;
    RecordingCanvas canvas{630, 891};
};

TEST_F(SheetRenderer, HeaderStandsAtItsPlaces) {
    ws.params.ColumnMode = 2;
    in.view.schoolName = sjis("桜小学校");
    Render();
    // The rules, and the divider at (580 + 12 + 50) div 2 − 10 down to 97% of 891.
    EXPECT_EQ(Shapes(canvas, Kind::Line),
              (std::vector<Corners>{{50, 30, 580, 30}, {50, 90, 580, 90}, {311, 90, 311, 864}}));
    EXPECT_EQ(canvas.ops[1].pen.width, 2);
    EXPECT_EQ(SpotOf(sjis("№ 5") + "  2005.01.09-08:05" + sjis("　") + "kanji1.que-U3"),
              (Spot{50, 15, 10}));
    EXPECT_EQ(SpotOf(sjis("実施日　　月　　日")), (Spot{460, 15, 10}));
    EXPECT_EQ(SpotOf(ws.content.title), (Spot{50, 35, 12}));
    EXPECT_EQ(SpotOf(sjis("桜小学校　　氏名")), (Spot{200, 65, 16}));
    EXPECT_EQ(Text(ws.content.title)->font.face, sjis("ＭＳ 明朝"));
}

TEST_F(SheetRenderer, HeaderOptionsClassFlagAndSourceName) {
    ws.params.SheetOptions = 1;
    in.pictures.classFlag = Bitmap{40, 30, nullptr};
    Render();
    EXPECT_EQ(Text(sjis("実施日　　月　　日")), nullptr);
    EXPECT_EQ(canvas.allText().find("2005.01.09"), std::string::npos);
    EXPECT_EQ(SpotOf(ws.content.title)[0], 95);  // beside the flag: 50 + (40 + 5)
    EXPECT_EQ(Shapes(canvas, Kind::Bitmap), (std::vector<Corners>{{50, 45, 90, 75}}));

    in.pictures.classFlag = Bitmap{};  // a missing picture needs no room
    Render();
    EXPECT_EQ(SpotOf(ws.content.title)[0], 50);

    ws.params.SheetOptions = 4;
    in.stamp.numberText.clear();
    in.stamp.sourceName = std::string(40, 'x') + "Tail.que-U3";  // shown from its 41st byte
    Render();
    EXPECT_NE(Text("  2005.01.09-08:05" + sjis("　") + "Tail.que-U3"), nullptr);
    in.stamp.sourceName = std::string(39, 'x') + sjis("漢") + "tail";  // never half a character
    Render();
    EXPECT_NE(Text("  2005.01.09-08:05" + sjis("　") + "tail"), nullptr);
}

TEST_F(SheetRenderer, LongTitleBreaksAtItsSectionMark) {
    const std::string mark = sjis("§");
    ws.content.title = std::string(50, 'a') + mark + "123456789";  // 61 bytes
    Render();
    EXPECT_EQ(SpotOf(std::string(50, 'a')), (Spot{50, 35, 12}));
    EXPECT_EQ(SpotOf(sjis("　　") + mark + "123456789"), (Spot{50, 48, 12}));

    for (const std::string& oneLine : {std::string(50, 'a') + mark + "12345678",  // 60 bytes
                                       std::string(70, 'a')}) {
        ws.content.title = oneLine;
        Render();
        EXPECT_NE(Text(oneLine), nullptr);
    }
}

TEST_F(SheetRenderer, LearnerAndScoreOnADrillSheet) {
    ws.content.questionLines = {sjis("問#答#")};
    in.stamp.forLearner = true;
    in.view.learnerName = sjis("山田");
    in.drill.graded = true;
    in.drill.score = 75;
    Render();  // the header comes before the blanks: a first pass fills the table
    Render();
    EXPECT_NE(Text(sjis("山田 　　　　　　　　氏名")), nullptr);
    EXPECT_EQ(SpotOf("75"), (Spot{505, 35, 36}));  // 580 − 75
    EXPECT_EQ(Text("75")->textColour, kRed);
    EXPECT_EQ(SpotOf(sjis("点")), (Spot{505 + 48, 50, 22}));

    in.view.learnerName = sjis("公開");
    ws.content.questionLines = {sjis("答のない行")};
    Render();
    Render();
    EXPECT_NE(Text(sjis("　　　　　　　　氏名")), nullptr);
    EXPECT_EQ(Text("75"), nullptr);
}

TEST_F(SheetRenderer, LinesFollowTheLinePitch) {
    ws.content.questionLines = {sjis("一"), sjis("二"), "", sjis("四"), sjis("五")};
    Render();
    EXPECT_EQ(SpotOf(sjis("一")), (Spot{50, 105, 12}));
    EXPECT_EQ(SpotOf(sjis("二")), (Spot{50, 137, 12}));  // 129.5 rounds to even
    EXPECT_EQ(SpotOf(sjis("四")), (Spot{50, 199, 12}));  // 192.5 too
    EXPECT_EQ(SpotOf(sjis("五")), (Spot{50, 231, 12}));

    ws.params.LineSpacing = -5;  // lines climb upwards; nothing stops it
    Render();
    EXPECT_EQ(SpotOf(sjis("二"))[1], 101);
}

TEST_F(SheetRenderer, BlanksOfALineWithTwoAnswers) {
    ws.content.questionLines = {sjis("問#答え#です#右;みぎ#。")};
    Render();
    const BlankTable& t = shared.blanks;
    ASSERT_EQ(t.BlankCount, 2);
    const BlankRecord& a = t.slots[1];
    const BlankRecord& b = t.slots[2];
    EXPECT_EQ((std::array{a.left, a.top, a.width, b.left, b.top, b.width}),
              (std::array{66, 98, 32, 130, 98, 24}));  // "右 ": the first alternative's blank
    EXPECT_EQ(a.AnswerText, sjis("答え"));
    EXPECT_EQ(a.shownText, sjis("答え"));
    EXPECT_EQ(a.size, 12);
    EXPECT_EQ(b.AnswerText, sjis("右;みぎ"));
    EXPECT_EQ(b.shownText, sjis("右 "));
    // The answers take their room without showing.
    EXPECT_EQ(SpotOf(sjis("です"))[0], 98);
    EXPECT_EQ(SpotOf(sjis("。"))[0], 154);
    EXPECT_EQ(Text(sjis("答え")), nullptr);
    EXPECT_EQ(ws.answerList, (std::vector<std::string>{"start", sjis("答え"), sjis("右;みぎ")}));
    EXPECT_EQ(ws.pieceStarts, (std::vector<int>{50, 98}));
}

TEST_F(SheetRenderer, AlternativesShowGreyOnlyWithAnswersAndTheOption) {
    ws.content.questionLines = {sjis("問#答え#です#右;みぎ;ミギ#。")};
    in.view.answersShown = true;
    Render();
    EXPECT_EQ(Text(sjis(" みぎ ")), nullptr);
    in.view.showAlternatives = true;
    Render();
    EXPECT_EQ(SpotOf(sjis(" みぎ ")), (Spot{130, 135, 12}));  // a row 30 below the line
    EXPECT_EQ(Text(sjis(" みぎ "))->textColour, kGrey);
    EXPECT_EQ(SpotOf(sjis(" ミギ"))[0], 130 + 48);
    in.view.answersShown = false;
    Render();
    EXPECT_EQ(Text(sjis(" みぎ ")), nullptr);
}

TEST_F(SheetRenderer, TagsAcrossLinesAndUnpairedHash) {
    ws.content.questionLines = {sjis("あ<+>い"), sjis("う<+>え"), sjis("<=>か<+>き"),
                                sjis("問#答#後#残り")};
    Render();
    EXPECT_EQ(SpotOf(sjis("い"))[2], 14);
    EXPECT_EQ(SpotOf(sjis("う"))[2], 12);
    EXPECT_EQ(SpotOf(sjis("え"))[2], 16);
    EXPECT_EQ(SpotOf(sjis("き"))[2], 14);
    EXPECT_EQ(shared.blanks.BlankCount, 1);
    EXPECT_NE(Text(sjis("後#残り")), nullptr);  // a stray "#" stays text
}

TEST_F(SheetRenderer, EveryBlankPastEightyGetsItsFrameAndAnswer) {
    ws.content.questionLines.assign(40, sjis("問#a#問#b#"));
    ws.content.questionLines.push_back(sjis("問#last#問#end#"));  // line 41: blanks 81 and 82
    ws.params.LineSpacing = 20;  // 15.75 apart: all 41 on the sheet
    in.view.answersShown = true;
    shared.blanks.slots[1].BlankStatus = 1;  // a grade survives the redraw
    const RenderOutput out = Render();
    EXPECT_EQ(shared.blanks.BlankCount, 82);
    EXPECT_TRUE(ExceedsDrillBlanks(shared.blanks));  // the drill refuses such a sheet
    EXPECT_EQ(shared.blanks.slots[1].BlankStatus, 1);
    EXPECT_EQ(shared.blanks.slots[82].AnswerText, "end");
    EXPECT_TRUE(out.messages.empty());  // the sheet itself is complete: nothing to warn about
    EXPECT_EQ(ws.answerList.size(), 83u);
    EXPECT_EQ(Shapes(canvas, Kind::RoundRect).size(), 82u);
    const Spot last = SpotOf("end");
    EXPECT_EQ(last[1], SpotOf("a")[1] + 40 * 15.75);  // on line 41, where its frame is
    EXPECT_EQ(last[0], shared.blanks.slots[82].left);

    ws.content.questionLines.assign(40, sjis("問#a#問#b#"));  // 80 blanks: the drill takes them
    Render();
    EXPECT_EQ(shared.blanks.BlankCount, 80);
    EXPECT_FALSE(ExceedsDrillBlanks(shared.blanks));
}

TEST_F(SheetRenderer, NothingHappensWhileRedrawIsOff) {
    ws.content.questionLines = {sjis("問#答#")};
    ws.content.questionFigures = {"a.bmp", "-1", "-1"};
    shared.redrawEnabled = false;
    EXPECT_FALSE(Render().drawn);
    EXPECT_TRUE(canvas.ops.empty());
    EXPECT_TRUE(ws.answerList.empty());
    EXPECT_EQ(shared.blanks.BlankCount, 0);
    EXPECT_EQ(ws.content.questionFigures[1], "-1");
}

TEST_F(SheetRenderer, TableStaysWhileRecordingIsOffAndKeepsGrades) {
    ws.content.questionLines = {sjis("問#答え#")};
    shared.blankRecording = false;
    BlankRecord& slot = shared.blanks.slots[1];
    shared.blanks.BlankCount = 1;
    slot.left = 200;
    slot.top = 300;
    slot.width = 40;
    slot.size = 12;
    Render();
    EXPECT_EQ(slot.left, 200);
    EXPECT_EQ(ws.answerList.size(), 2u);
    EXPECT_EQ(Shapes(canvas, Kind::RoundRect), (std::vector<Corners>{{200, 302, 252, 329}}));

    shared.blankRecording = true;
    slot.BlankStatus = 0;
    slot.Alternatives = {sjis("答え")};
    Render();
    EXPECT_EQ(slot.left, 66);
    EXPECT_EQ(slot.BlankStatus, 0);  // grading belongs to the drill
    EXPECT_EQ(slot.Alternatives.size(), 1u);
}

TEST_F(SheetRenderer, PrinterPassScalesEverything) {
    EXPECT_NEAR(ScalesFor(true, 4960, 630).s, 7.873, 0.001);
    EXPECT_DOUBLE_EQ(ScalesFor(true, 4960, 630).r, 4960.0 / 630);
    EXPECT_DOUBLE_EQ(ScalesFor(true, 4960, 771).r, 4960.0 / 771);
    EXPECT_DOUBLE_EQ(ScalesFor(false, 4960, 771).s, 1.0);

    ws.content.questionLines = {sjis("問#答え#です")};
    Render();  // the screen pass records the blanks the printer reuses
    RecordingCanvas printer(4960, 7016, 600.0 / 72);
    in.target = PrinterTarget(ws, 4960, 7016, (600.0 / 72) / (96.0 / 72));
    in.view.answersShown = true;
    Render(&printer);

    EXPECT_EQ(Shapes(printer, Kind::Line),
              (std::vector<Corners>{{394, 236, 4566, 236}, {394, 709, 4566, 709}}));
    EXPECT_EQ(printer.ops[0].pen.width, 16);
    EXPECT_EQ(SpotOf(ws.content.title, &printer), (Spot{394, 276, 15}));
    EXPECT_EQ(SpotOf(sjis("問"), &printer), (Spot{394, 827, 15}));  // body 774, offset 53
    // The table of the screen stays; frames and answers go where this pass left each gap (the
    // question text is set in the printer's larger size), answers three points larger too.
    EXPECT_EQ(shared.blanks.slots[1].left, 66);
    EXPECT_EQ(Shapes(printer, Kind::RoundRect), (std::vector<Corners>{{519, 787, 865, 1000}}));
    EXPECT_EQ(SpotOf(sjis("答え"), &printer), (Spot{519, 772 + 53, 19}));
    EXPECT_TRUE(Shapes(printer, Kind::Fill).empty());  // the page is not painted over
}

TEST_F(SheetRenderer, DrillSheetKeepsThePiecesWhereTheyWere) {
    ws.content.questionLines = {sjis("問#答え#です#右#")};
    Render();
    shared.drillDrawing = true;
    in.drill.pieceStarts = {60, 120};
    in.drill.entries = {"", "x", ""};
    Render();
    EXPECT_EQ(SpotOf(sjis("問"))[0], 60);
    EXPECT_EQ(SpotOf(" x  ")[0], 76);  // padded to the four bytes of the answer
    EXPECT_EQ(SpotOf(sjis("です"))[0], 120);
    EXPECT_NE(Text("  "), nullptr);  // an empty entry is blanks
    EXPECT_EQ(ws.pieceStarts, (std::vector<int>{50, 98}));
    EXPECT_EQ(shared.blanks.slots[1].width, 32);  // the blank is still the answer's room
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

TEST_F(SheetRenderer, PrintedFramesStayOnTheirGapsAtAnySize) {
    ws.content.questionLines = {sjis("問題文#答え#です")};
    for (int size : {9, 12, 20}) {
        SCOPED_TRACE(size);
        in.view.questionSize = size;
        in.target = ScreenTarget(ws);
        Render();
        RecordingCanvas printer(4960, 7016, 600.0 / 72);
        in.target = PrinterTarget(ws, 4960, 7016, (600.0 / 72) / (96.0 / 72));
        Render(&printer);
        const Op* before = Text(sjis("問題文"), &printer);
        const Op* after = Text(sjis("です"), &printer);
        ASSERT_TRUE(before && after);
        const auto frames = Shapes(printer, Kind::RoundRect);
        ASSERT_EQ(frames.size(), 1u);
        // The frame starts where the question text before the answer ends, and its base part
        // ends before the text after it.
        EXPECT_NEAR(frames[0][0], before->x + before->advance, in.target.s);  // one sheet unit
        EXPECT_LE(frames[0][2] - ws.params.BoxWidth * in.target.s, after->x + 1);
    }
}

}  // namespace
}  // namespace sulkan
