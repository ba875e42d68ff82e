// The grades of a blank and the red and blue marks the drill draws over it: ellipses for a
// correct answer, a slash for a wrong one, a cross for one right only after the answer was shown.
#pragma once

#include "AnswerFrames.h"
#include "Canvas.h"
#include "SheetState.h"

namespace sulkan {

enum class GradingMark { None, Circle, Slash, Cross };

// The mark of a blank's status on the graded sheet: 1 circle, 0 slash, -2 cross, others none.
GradingMark MarkForStatus(int status);

// Draws mark over the blank with rectangles frame (at scale s) and answer box width boxWidth
// (screen pixels): pen 2 × s, no fill. A circle is count concentric ellipses.
void DrawGradingMark(Canvas& canvas, GradingMark mark, const BlankFrame& frame, double s,
                     int boxWidth, Rgb colour, int count = 1);

}  // namespace sulkan
