#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "SheetRenderer.h"
#include "Sjis.h"

namespace sulkan {
namespace {

using Lines = std::vector<std::string>;
using Corners = std::array<int, 4>;

Bitmap Picture(int width, int height) {
    return Bitmap{width, height, nullptr};
}

// One line "問#答#です" on an A4 screen sheet without header options: its text pieces start at
// x 50 ("問"), 66 (the answer) and 82 ("です"), all on the line at y 98.
class SheetFigures : public ::testing::Test {
protected:
    void SetUp() override {
        ws.params = LayoutParams{};  // a new unit's layout
        ws.params.SheetOptions = 0;
        ws.content.questionLines = {sjis("問#答#です")};
        in.target = ScreenTarget(ws);
        in.view.mainFontName = sjis("ＭＳ 明朝");
    }

    RenderOutput Render(RecordingCanvas* on = nullptr) {
        RecordingCanvas& target = on ? *on : canvas;
        target.ops.clear();
        return RenderSheet(ws, target, in, shared);
    }
    static std::vector<Corners> Drawn(const RecordingCanvas& on) {
        std::vector<Corners> out;
        for (const auto& op : on.ops)
            if (op.kind == RecordingCanvas::Kind::Bitmap)
                out.push_back({op.x1, op.y1, op.x2, op.y2});
        return out;
    }

    Worksheet ws;
    RenderInputs in;
    SheetShared shared;
    RecordingCanvas canvas{630, 891};
};

TEST_F(SheetFigures, UnplacedFiguresFollowTheTextPiecesAndAreWrittenBack) {
    ws.content.questionFigures = {"a.bmp", "-1", "-1", "b.bmp", "0", "0", "c.bmp", "200", "300"};
    in.pictures.question = {Picture(30, 20), Picture(30, 20), Bitmap{}};
    RenderOutput out = Render();
    EXPECT_EQ(ws.content.questionFigures,
              (Lines{"a.bmp", "90", "98", "b.bmp", "106", "98", "c.bmp", "200", "300"}));
    EXPECT_TRUE(out.figuresWrittenBack);
    EXPECT_TRUE(ws.modified);
    // The missing third picture keeps its place, empty.
    EXPECT_EQ(Drawn(canvas), (std::vector<Corners>{{90, 98, 120, 118}, {106, 98, 136, 118}}));
    EXPECT_TRUE(out.figures.places[2].visible);
    EXPECT_FALSE(out.figures.places[3].visible);

    ws.modified = false;  // placed once, they stay
    out = Render();
    EXPECT_FALSE(out.figuresWrittenBack || ws.modified);

    // A figure beyond the pieces of the sheet goes beside the start of the body.
    ws.content.questionFigures.insert(ws.content.questionFigures.end(), {"d.bmp", "-1", "-1"});
    Render();
    EXPECT_EQ(ws.content.questionFigures[10], "90");
    EXPECT_EQ(ws.content.questionFigures[11], "98");
}

TEST_F(SheetFigures, AnswerFiguresTakeTheQuestionFiguresPlaces) {
    ws.content.questionFigures = {"q1.bmp", "100",    "200", "q2.bmp", "300",
                                  "200",    "q3.bmp", "100", "400"};
    ws.content.answerFigures = {"a1.bmp", "0", "0", "a2.bmp", "999", "999"};
    in.pictures.question = {Picture(30, 20), Picture(30, 20), Picture(30, 20)};
    in.pictures.answer = {Picture(50, 40), Picture(60, 40)};
    Render();
    EXPECT_EQ(Drawn(canvas)[1], (Corners{300, 200, 330, 220}));

    in.view.answersShown = true;
    const RenderOutput out = Render();
    EXPECT_EQ(
        Drawn(canvas),
        (std::vector<Corners>{{100, 200, 150, 240}, {300, 200, 360, 240}, {100, 400, 130, 420}}));
    EXPECT_TRUE(out.figures.places[0].answer);
    EXPECT_EQ(ws.content.answerFigures[1], "0");  // answer positions are neither used nor written

    // An answer figure without a question figure of its number has no place.
    ws.content.questionFigures.resize(3);
    EXPECT_FALSE(Render().figures.places[1].visible);
    EXPECT_EQ(Drawn(canvas).size(), 1u);
}

TEST_F(SheetFigures, SixteenFiguresShowFifteenAndAWarning) {
    for (int n = 1; n <= 16; ++n) {
        ws.content.questionFigures.insert(ws.content.questionFigures.end(),
                                          {"f.bmp", "100", "200"});
        in.pictures.question.push_back(Picture(10, 10));
    }
    const RenderOutput out = Render();
    EXPECT_EQ(out.messages, Lines{"16" + sjis(":問題のグラフが多すぎます") + "15"});
    EXPECT_EQ(Drawn(canvas).size(), 15u);
    EXPECT_FALSE(out.figures.places[15].visible);
}

TEST_F(SheetFigures, PrinterStretchesTheFlagThenTheFiguresBySizeScale) {
    ws.params.SheetOptions = 1;
    ws.content.questionFigures = {"a.bmp", "200", "300"};
    in.pictures.question = {Picture(30, 20)};
    in.pictures.classFlag = Picture(40, 30);
    RecordingCanvas printer(4960, 7016, 600.0 / 72);
    in.target = PrinterTarget(ws, 4960, 7016, 6.25);
    Render(&printer);
    EXPECT_EQ(Drawn(printer),
              (std::vector<Corners>{{394, 354, 709, 590}, {1575, 2362, 1811, 2519}}));
}

}  // namespace
}  // namespace sulkan
