// The rectangles of an answer blank and the frame drawn around it in each box style. The drill
// uses the same rectangles for its answer boxes and grading marks.
#pragma once

#include <string>

#include "Canvas.h"
#include "SheetState.h"
#include "StyledText.h"

namespace sulkan {

// Device pixels; right and bottom excluded, as the canvas takes them.
struct FrameRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const FrameRect&, const FrameRect&) = default;
};

struct BlankFrame {
    FrameRect base;      // where the answer stands
    FrameRect enlarged;  // with the box width and height settings added
};

enum class BoxStyle {
    None = 0,
    Square = 1,
    SquareBrackets = 2,
    LenticularBrackets = 3,
    Underline = 4,
    RoundedSquare = 5
};

// The drill lays a single-line edit box over every blank; its border and inner margins add this
// much to the height of its text, in sheet units.
inline constexpr int kEditFrameHeight = 8;

// Height of a blank's answer box: one line of answer text in face at size plus the edit box
// frame, in sheet units. pointScale is the target's pixels per point divided by those of the
// on-screen sheet image (1 on screen), so the printer gets the height the screen would measure.
int BlankBaseHeight(Canvas& canvas, CanvasTracker& tracker, const std::string& face, double size,
                    double pointScale = 1.0);

// The rectangles of a blank recorded in sheet units, at scale s with the printer's horizontal
// stretch d (1 on screen). baseHeight in sheet units.
BlankFrame FrameOfBlank(const BlankRecord& blank, int baseHeight, int boxWidth, int boxHeight,
                        double s, double d = 1.0);

// Draws the frame of style (BoxStyle values; others draw nothing) in black with pen width s.
// The brackets of styles 2 and 3 are drawn in bracketFont (face and the blank's text size).
void DrawFrame(Canvas& canvas, CanvasTracker& tracker, int style, const BlankFrame& frame,
               const FontSpec& bracketFont, double s);

}  // namespace sulkan
