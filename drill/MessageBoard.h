// Texts the drill writes on its message images: lines 24 pixels apart, the course text, the
// hint. Drawn through a canvas so that positions and sizes can be checked exactly.
#pragma once

#include <string>
#include <vector>

#include "Canvas.h"

namespace sulkan {

inline constexpr int kMessageLinePitch = 24;

// Line n at y = 24 × n; drawing line 0 first clears the image. Text CP932.
void DrawMessageLine(Canvas& canvas, int line, const std::string& text, double points, Rgb colour);
void ClearMessage(Canvas& canvas);

// The standard study course, in blue, as shown when the drill opens.
void DrawCourseText(Canvas& canvas);

// Whether hint lines hold a hint: at least one line and the first is not "Hint".
bool HasHint(const std::vector<std::string>& hintLines);
// "学習のポイント" at 20 points, then every hint line k at (0, 30 + 20 × k) at 12 points. Draws
// nothing when there is no hint; returns whether it drew.
bool DrawHintText(Canvas& canvas, const std::vector<std::string>& hintLines);

}  // namespace sulkan
