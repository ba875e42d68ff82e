#include "AnswerFrames.h"

#include <algorithm>

#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

constexpr double kUnderlineRise = 0.2;   // of the enlarged height, above its bottom
constexpr double kCornerDiameter = 0.6;  // of the enlarged height

}  // namespace

int BlankBaseHeight(Canvas& canvas, CanvasTracker& tracker, const std::string& face, double size,
                    double pointScale) {
    FontSpec font;
    font.face = face;
    font.points = size;
    tracker.useFont(canvas, font);
    if (pointScale <= 0) pointScale = 1.0;
    return RoundToInt(canvas.textHeight() / pointScale) + kEditFrameHeight;
}

BlankFrame FrameOfBlank(const BlankRecord& blank, int baseHeight, int boxWidth, int boxHeight,
                        double s, double d) {
    BlankFrame frame;
    FrameRect& base = frame.base;
    base.left = RoundToInt(blank.left * s * d);
    base.top = RoundToInt(blank.top * s + 3 * s);
    base.right = RoundToInt(base.left + blank.width * s - 3 * s);
    base.bottom = RoundToInt(base.top + s * baseHeight);
    FrameRect& big = frame.enlarged;
    big.left = base.left;
    big.top = base.top - RoundToInt(boxHeight * s / 2);
    big.right = base.right + RoundToInt(boxWidth * s);
    big.bottom = base.bottom + RoundToInt(boxHeight * s);
    return frame;
}

void DrawFrame(Canvas& canvas, CanvasTracker& tracker, int style, const BlankFrame& frame,
               const FontSpec& bracketFont, double s) {
    const FrameRect& base = frame.base;
    const FrameRect& big = frame.enlarged;
    canvas.setPen(PenSpec{kBlack, std::max(1, RoundToInt(s))});
    canvas.setBrush(std::nullopt);
    auto brackets = [&](const std::string& open, const std::string& close) {
        tracker.useFont(canvas, bracketFont);
        tracker.useColour(canvas, kBlack);
        canvas.drawText(base.left, base.top, open);
        canvas.drawText(base.right, base.top, close);
    };
    static const std::string squareOpen = sjis("［"), squareClose = sjis("］");
    static const std::string lenticularOpen = sjis("【"), lenticularClose = sjis("】");
    switch (static_cast<BoxStyle>(style)) {
        case BoxStyle::Square:
            canvas.rectangle(big.left, big.top, big.right, big.bottom);
            break;
        case BoxStyle::SquareBrackets:
            brackets(squareOpen, squareClose);
            break;
        case BoxStyle::LenticularBrackets:
            brackets(lenticularOpen, lenticularClose);
            break;
        case BoxStyle::Underline: {
            const int y = RoundToInt(big.bottom - kUnderlineRise * big.height());
            canvas.line(big.left, y, big.right, y);
            break;
        }
        case BoxStyle::RoundedSquare: {
            const int corner = RoundToInt(kCornerDiameter * big.height());
            canvas.roundRect(big.left, big.top, big.right, big.bottom, corner, corner);
            break;
        }
        default:
            break;
    }
}

}  // namespace sulkan
