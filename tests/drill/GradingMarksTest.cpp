// Geometry of the grading marks and the message texts, on the recording canvas; the graded sheet's
// pixels on the sheet image.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "Fonts.h"
#include "GradingMarks.h"
#include "MessageBoard.h"
#include "QtCanvas.h"
#include "RecordingCanvas.h"
#include "SheetRenderer.h"
#include "Sjis.h"

namespace sulkan {
namespace {

using Kind = RecordingCanvas::Kind;

BlankFrame Frame() {
    BlankFrame f;
    f.base = {100, 53, 150, 73};      // 50 wide
    f.enlarged = {100, 48, 160, 93};  // 60 wide
    return f;
}

TEST(GradingMarks, CirclesGrowByNinePercentOfTheBoxPerRing) {
    RecordingCanvas canvas(630, 891);
    DrawGradingMark(canvas, GradingMark::Circle, Frame(), 1.0, 50, kRed, 2);
    ASSERT_EQ(canvas.ops.size(), 2u);
    // 0.09 × 50 = 4.5 rounds to 4 (half to even); 9 for the second ring.
    const auto& a = canvas.ops[0];
    EXPECT_EQ(a.kind, Kind::Ellipse);
    EXPECT_EQ((std::array{a.x1, a.y1, a.x2, a.y2}), (std::array{96, 44, 164, 97}));
    const auto& b = canvas.ops[1];
    EXPECT_EQ((std::array{b.x1, b.y1, b.x2, b.y2}), (std::array{91, 39, 169, 102}));
    EXPECT_EQ(a.pen.width, 2);
    EXPECT_EQ(a.pen.colour, kRed);
    EXPECT_FALSE(a.brush.has_value());
}

TEST(GradingMarks, SlashAndCrossFollowTheBaseRectangle) {
    RecordingCanvas canvas(630, 891);
    // Grown by 0.05 × 50 = 2.5 → 2; o = 0.05 × 30 = 1.5 → 2; t = 0.2 × 30 = 6.
    DrawGradingMark(canvas, GradingMark::Cross, Frame(), 1.0, 30, kRed);
    ASSERT_EQ(canvas.ops.size(), 2u);
    const auto& slash = canvas.ops[0];
    EXPECT_EQ((std::array{slash.x1, slash.y1, slash.x2, slash.y2}),
              (std::array{152 - 2, 51 - 2, 98 + 2, 75 + 2}));
    const auto& second = canvas.ops[1];
    EXPECT_EQ((std::array{second.x1, second.y1, second.x2, second.y2}),
              (std::array{98 + 2 + 6, 51 + 2, 152 - 2 - 6, 75 - 2}));

    RecordingCanvas printed(2000, 3000);
    DrawGradingMark(printed, GradingMark::Slash, Frame(), 2.5, 30, kRed);
    ASSERT_EQ(printed.ops.size(), 1u);
    EXPECT_EQ(printed.ops[0].pen.width, 5);

    RecordingCanvas none(10, 10);
    DrawGradingMark(none, MarkForStatus(99), Frame(), 1.0, 30, kRed);
    DrawGradingMark(none, MarkForStatus(-1), Frame(), 1.0, 30, kRed);
    EXPECT_TRUE(none.ops.empty());
}

// The drill redraws its graded sheet with the frames and marks where they were, and the sheet
// image keeps those shapes from one drawing to the next: every drawing must give the pixels of
// the sheet drawn shape by shape (a painter with a clip draws every shape itself).
TEST(GradingMarks, AGradedSheetDrawnAgainHasThePixelsOfOneDrawnShapeByShape) {
    InstallFontSubstitutions();
    for (int boxStyle : {5, 1, 4}) {
        Worksheet ws;
        ws.content.title = sjis("まとめテスト");
        ws.params.BoxStyle = boxStyle;
        for (int i = 0; i < 24; ++i)
            ws.content.questionLines.push_back(
                sjis("（") + std::to_string(i + 1) + sjis("）") + "#" + std::string(sjis("やま")) +
                "#" + sjis("に登る") + "#" + sjis("かわ;せん") + "#" + sjis("へ行く"));
        SheetShared shared;
        RenderInputs in;
        in.target = ScreenTarget(ws);
        in.view.mainFontName = sjis("ＭＳ 明朝");
        in.drill.gradingMark = [](Canvas& c, int n, const BlankRecord&, const BlankFrame& f,
                                  double s) {
            const GradingMark marks[] = {GradingMark::Circle, GradingMark::Slash,
                                         GradingMark::Cross};
            DrawGradingMark(c, marks[n % 3], f, s, f.enlarged.width(), kRed, 1 + n % 2);
        };
        auto kept = [&] {
            ImageCanvas canvas(in.target.pageWidth, in.target.pageHeight);
            RenderSheet(ws, canvas, in, shared);
            return canvas.takeImage();
        };
        QImage byShape(in.target.pageWidth, in.target.pageHeight, QImage::Format_RGB32);
        byShape.fill(Qt::white);
        {
            QPainter painter(&byShape);
            painter.setClipRect(byShape.rect());
            PainterCanvas canvas(painter);
            RenderSheet(ws, canvas, in, shared);
        }
        ASSERT_EQ(shared.blanks.BlankCount, 48);
        const QImage first = kept(), again = kept();
        EXPECT_TRUE(first == byShape) << "box style " << boxStyle;
        EXPECT_TRUE(again == byShape) << "box style " << boxStyle;
    }
}

TEST(MessageBoard, LinesAre24PixelsApartAndLineZeroClears) {
    RecordingCanvas canvas(200, 100);
    DrawMessageLine(canvas, 0, "a", 14, kBlue);
    DrawMessageLine(canvas, 2, "b", 10, kBlack);
    ASSERT_EQ(canvas.ops.size(), 3u);
    EXPECT_EQ(canvas.ops[0].kind, Kind::Fill);
    EXPECT_EQ(canvas.ops[2].y, 48);
    EXPECT_EQ(canvas.ops[2].font.points, 10);
}

TEST(MessageBoard, HintTitleAndLines) {
    RecordingCanvas canvas(200, 200);
    EXPECT_TRUE(DrawHintText(canvas, {"a", "b", "c"}));
    const auto texts = canvas.texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, sjis("学習のポイント"));
    EXPECT_EQ(texts[0].font.points, 20);
    EXPECT_EQ((std::array{texts[1].y, texts[2].y, texts[3].y}), (std::array{30.0, 50.0, 70.0}));

    RecordingCanvas untouched(200, 200);
    EXPECT_FALSE(DrawHintText(untouched, {"Hint", ""}));
    EXPECT_FALSE(DrawHintText(untouched, {}));
    EXPECT_TRUE(untouched.ops.empty());
}

}  // namespace
}  // namespace sulkan
