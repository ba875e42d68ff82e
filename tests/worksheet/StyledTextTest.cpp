#include "StyledText.h"

#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "Sjis.h"

namespace sulkan {
namespace {

// Counts font changes, which cost the real canvas a font lookup each.
class CountingCanvas : public RecordingCanvas {
public:
    using RecordingCanvas::RecordingCanvas;
    void setFont(const FontSpec& font) override {
        ++fontChanges;
        RecordingCanvas::setFont(font);
    }
    int fontChanges = 0;
};

// 12 points at 4/3 pixels a point: a double-byte character is 16 pixels, a single-byte one 8.
class StyledText : public ::testing::Test {
protected:
    double Draw(const std::string& utf8, double base = 12) {
        return DrawStyledText(canvas, sjis(utf8), 10, 100, base, context);
    }
    std::vector<double> Sizes() const {
        std::vector<double> out;
        for (const auto& op : canvas.texts()) out.push_back(op.font.points);
        return out;
    }

    CountingCanvas canvas{630, 891};
    int offset = 0;
    StyleContext context{offset, sjis("ＭＳ 明朝")};
};

TEST_F(StyledText, TagsStyleTheRunsThatFollowThem) {
    context.textOffset = 6.732;
    const double end = Draw("漢a<B>Bold<I>c<_>d</>e<X>f<q>g<あ>い<");
    const auto t = canvas.texts();
    ASSERT_EQ(t.size(), 10u);
    EXPECT_EQ(t[0].text, sjis("漢a"));
    EXPECT_EQ(t[0].x, 10);
    EXPECT_EQ(t[0].y, 107);        // 100 + 6.732
    EXPECT_EQ(t[1].text, "Bold");  // only the character right after "<" is a tag
    EXPECT_TRUE(t[1].font.bold && !t[1].font.italic);
    EXPECT_TRUE(t[3].font.bold && t[3].font.italic && t[3].font.strikeOut);
    EXPECT_FALSE(t[4].font.bold || t[4].font.italic || t[4].font.strikeOut);
    EXPECT_TRUE(t[5].font.bold);
    EXPECT_EQ(t[6].text, "q");         // no tag: printed, its ">" dropped
    EXPECT_EQ(t[8].text, sjis("あ"));  // a double-byte character stays whole
    EXPECT_EQ(t[9].text, sjis("い"));  // and a lone "<" at the end shows nothing
    for (std::size_t i = 1; i < t.size(); ++i) EXPECT_EQ(t[i].x, t[i - 1].x + t[i - 1].advance);
    EXPECT_EQ(end, t.back().x + 16);
}

TEST_F(StyledText, UnderlineIsOneLineUnderTheStretch) {
    context.s = 2;
    DrawStyledText(canvas, "<U>ab</>c", 10, 0, 12, context);
    ASSERT_EQ(canvas.ops.size(), 3u);
    const auto& line = canvas.ops[1];
    EXPECT_EQ(line.kind, RecordingCanvas::Kind::Line);
    EXPECT_EQ((std::array{line.x1, line.y1, line.x2, line.y2}), (std::array{10, 48, 26, 48}));
    EXPECT_EQ(line.pen.width, 2);
    EXPECT_FALSE(canvas.ops[0].font.underline);  // not by the font
}

TEST_F(StyledText, SizeOffsetRunsOnFromCallToCallUntilEquals) {
    Draw("あ<+>い");
    Draw("う<+>え");
    EXPECT_EQ(Sizes(), (std::vector<double>{12, 14, 12, 16}));  // each call starts at the base
    canvas.ops.clear();
    Draw("<=>お<+>か");
    Draw("<->き<3>く");
    EXPECT_EQ(Sizes(), (std::vector<double>{12, 14, 12, 18}));
    EXPECT_EQ(offset, 0);

    offset = -20;  // never below one point
    Draw("<->け");
    EXPECT_EQ(Sizes().back(), 1);
}

TEST_F(StyledText, PrinterStepsAreLargerAndWhole) {
    context.f = 1.1;
    Draw("<+>い<2>う", 15);
    EXPECT_EQ(Sizes(), (std::vector<double>{19, 19}));  // 17 × 1.1 = 18.7; 15 + 4 × 1.1 = 19.4
}

TEST_F(StyledText, MeasuringMatchesDrawingAndDrawsNothing) {
    const std::string piece = sjis("答<B>え<+>は</>ab");
    const double measured = MeasureStyledText(canvas, piece, 30, 12, context);
    EXPECT_TRUE(canvas.ops.empty());
    EXPECT_EQ(offset, 2);
    offset = 0;
    EXPECT_EQ(DrawStyledText(canvas, piece, 30, 0, 12, context), measured);
    EXPECT_EQ(context.endSize, 14);
}

TEST_F(StyledText, UnchangedFontIsNotSetAgain) {
    Draw("一行目");
    Draw("二行目");
    Draw("<B>太</>細");
    context.colour = kGrey;
    Draw("灰");
    EXPECT_EQ(canvas.fontChanges, 3);  // plain, bold, plain
    EXPECT_EQ(canvas.texts().back().textColour, kGrey);
}

}  // namespace
}  // namespace sulkan
