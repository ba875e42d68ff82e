// Geometry of the grading marks and the message texts, on the recording canvas.
#include <gtest/gtest.h>

#include "GradingMarks.h"
#include "MessageBoard.h"
#include "RecordingCanvas.h"
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
