#include "GradingMarks.h"

#include "TextRoutines.h"

namespace sulkan {
namespace {

int Round(double v) {
    return static_cast<int>(RoundHalfEven(v));
}

}  // namespace

GradingMark MarkForStatus(int status) {
    switch (status) {
        case blank_status::kCorrect:
            return GradingMark::Circle;
        case blank_status::kWrong:
            return GradingMark::Slash;
        case blank_status::kCorrectAfterShown:
            return GradingMark::Cross;
        default:
            return GradingMark::None;
    }
}

void DrawGradingMark(Canvas& canvas, GradingMark mark, const BlankFrame& frame, double s,
                     int boxWidth, Rgb colour, int count) {
    if (mark == GradingMark::None) return;
    canvas.setPen(PenSpec{colour, Round(2 * s)});
    canvas.setBrush(std::nullopt);
    const double w = boxWidth;
    if (mark == GradingMark::Circle) {
        const FrameRect& e = frame.enlarged;
        for (int j = 1; j <= count; ++j) {
            const int grow = Round(j * 0.09 * s * w);
            canvas.ellipse(e.left - grow, e.top - grow, e.right + grow, e.bottom + grow);
        }
        return;
    }
    const FrameRect& b = frame.base;
    const int grow = Round(0.05 * b.width());
    const int left = b.left - grow, top = b.top - grow;
    const int right = b.right + grow, bottom = b.bottom + grow;
    const int o = Round(0.05 * s * w);
    canvas.line(right - o, top - o, left + o, bottom + o);
    if (mark == GradingMark::Cross) {
        const int t = Round(0.2 * s * w);
        canvas.line(left + o + t, top + o, right - o - t, bottom - o);
    }
}

}  // namespace sulkan
