#include "AnswerFrames.h"

#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "SheetRenderer.h"
#include "Sjis.h"

namespace sulkan {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;

FrameRect RectOf(const Op& op) {
    return {op.x1, op.y1, op.x2, op.y2};
}

// One line "問#答え#です" on an A4 screen sheet: the blank starts at x 66 on the line at y 98 and
// is 32 wide; one line of 12-point answer text is 16 high. Its base rectangle is (66, 101, 95,
// 117), enlarged by the default box settings (width 15, height 2) to (66, 100, 110, 119).
class AnswerFrames : public ::testing::Test {
protected:
    void SetUp() override {
        ws.params = LayoutParams{};  // a new unit's layout
        ws.content.questionLines = {sjis("問#答え#です")};
        in.target = ScreenTarget(ws);
        in.view.questionSize = 12;
        in.view.mainFontName = sjis("ＭＳ 明朝");
    }

    // What is drawn after the question text.
    std::vector<Op> Render() {
        canvas.ops.clear();
        RenderSheet(ws, canvas, in, shared);
        std::vector<Op> after;
        bool body = false;
        for (const Op& op : canvas.ops) {
            if (body) after.push_back(op);
            body = body || (op.kind == Kind::Text && op.text == sjis("です"));
        }
        return after;
    }

    Worksheet ws;
    RenderInputs in;
    SheetShared shared;
    RecordingCanvas canvas{630, 891};
};

TEST_F(AnswerFrames, RectanglesFollowTheBlank) {
    BlankRecord blank;
    blank.left = 66;
    blank.top = 98;
    blank.width = 32;
    const BlankFrame f = FrameOfBlank(blank, 16, 15, 2, 1.0);
    EXPECT_EQ(f.base, (FrameRect{66, 101, 95, 117}));
    EXPECT_EQ(f.enlarged, (FrameRect{66, 100, 110, 119}));
    // An odd box height: half of it above, rounded to even, all of it below.
    EXPECT_EQ(FrameOfBlank(blank, 16, 15, 3, 1.0).enlarged, (FrameRect{66, 99, 110, 120}));
}

TEST_F(AnswerFrames, EachBoxStyleDrawsItsShape) {
    ws.params.BoxStyle = 1;
    auto ops = Render();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, Kind::Rectangle);
    // The base height is one line of 12-point text (16) plus the edit box frame (8).
    EXPECT_EQ(RectOf(ops[0]), (FrameRect{66, 100, 110, 127}));
    EXPECT_EQ(ops[0].pen, (PenSpec{kBlack, 1}));
    EXPECT_FALSE(ops[0].brush.has_value());

    for (auto [style, open, close] : {std::tuple{2, "［", "］"}, std::tuple{3, "【", "】"}}) {
        ws.params.BoxStyle = style;
        ops = Render();
        ASSERT_EQ(ops.size(), 2u);
        EXPECT_EQ(ops[0].text, sjis(open));
        EXPECT_EQ((std::array{ops[0].x, ops[0].y, ops[1].x, ops[1].y}),
                  (std::array<double, 4>{66, 101, 95, 101}));
        EXPECT_EQ(ops[1].text, sjis(close));
        EXPECT_EQ(ops[1].font.points, 12);
    }

    ws.params.BoxStyle = 4;
    ops = Render();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, Kind::Line);
    EXPECT_EQ(RectOf(ops[0]), (FrameRect{66, 122, 110, 122}));  // 127 − 0.2 × 27
    ws.params.BoxHeight = 4;
    EXPECT_EQ(Render()[0].y1, 123);  // 129 − 0.2 × 30
    ws.params.BoxHeight = 2;

    ws.params.BoxStyle = 5;
    ops = Render();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, Kind::RoundRect);
    EXPECT_EQ(RectOf(ops[0]), (FrameRect{66, 100, 110, 127}));
    EXPECT_EQ((std::array{ops[0].cornerW, ops[0].cornerH}), (std::array{16, 16}));  // 0.6 × 27

    ws.params.BoxStyle = 0;
    EXPECT_TRUE(Render().empty());
}

TEST_F(AnswerFrames, AnswersShowBlueInTheAnswerFontBeforeTheFrame) {
    for (const Op& op : Render()) EXPECT_NE(op.kind, Kind::Text);

    in.view.answersShown = true;
    auto ops = Render();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].text, sjis("答え"));
    EXPECT_EQ((std::array{ops[0].x, ops[0].y}), (std::array<double, 2>{66, 105}));
    EXPECT_EQ(ops[0].textColour, kBlue);
    EXPECT_EQ(ops[0].font, (FontSpec{sjis("MS 明朝"), 16}));  // font size 12 + 4
    EXPECT_EQ(ops[1].kind, Kind::RoundRect);

    in.view.largerAnswers = true;  // no frames, 30-point answers
    ops = Render();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].font.points, 30);
}

TEST_F(AnswerFrames, GradingMarksFollowEveryBlankEvenWithoutFrames) {
    std::vector<int> marked;
    in.view.largerAnswers = true;
    in.drill.gradingMark = [&](Canvas&, int n, const BlankRecord& record, const BlankFrame& frame,
                               double s) {
        marked.push_back(n);
        EXPECT_EQ(record.shownText, sjis("答え"));
        EXPECT_EQ(frame.enlarged, (FrameRect{66, 100, 110, 127}));
        EXPECT_EQ(s, 1.0);
    };
    Render();
    EXPECT_EQ(marked, std::vector<int>{1});
}

}  // namespace
}  // namespace sulkan
