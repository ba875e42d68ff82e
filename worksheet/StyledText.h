// Question and answer text with inline style tags ("<B>", "<U>", "<+>", "</>", ...), drawn in runs
// of characters that share one style, so a sheet costs about one text call per styled stretch.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Canvas.h"

namespace sulkan {

// Remembers what was last set on a canvas so that an unchanged font or colour is not set again;
// one tracker serves a whole drawing pass and every font change of the pass goes through it.
struct CanvasTracker {
    std::optional<FontSpec> font;
    std::optional<Rgb> colour;

    void useFont(Canvas& canvas, const FontSpec& wanted);
    void useColour(Canvas& canvas, Rgb textColour);
};

struct StyleContext {
    StyleContext(int& runningOffset, std::string faceName)
        : runningSizeOffset(runningOffset), face(std::move(faceName)) {}

    int& runningSizeOffset;  // program-wide: "+" and "-" build on it from call to call
    std::string face;        // CP932 face name
    Rgb colour = kBlack;
    double f = 1.0;           // size-step factor: 1.1 on the printer
    double s = 1.0;           // size scale of the pass (underline distance, pen width)
    double textOffset = 0.0;  // added to y before text is drawn
    CanvasTracker tracker;
    double endSize = 0.0;  // size in force when the last call ended
};

// Draws piece from (x, y + textOffset): each call starts at baseSize with no style and ends with
// every style off. Returns the pen x after the piece.
double DrawStyledText(Canvas& canvas, const std::string& piece, double x, double y, double baseSize,
                      StyleContext& context);

// The same walk without drawing: returns the pen x the drawing would leave, and changes the
// running size offset as the drawing would.
double MeasureStyledText(Canvas& canvas, const std::string& piece, double x, double baseSize,
                         StyleContext& context);

// The text of piece as the sheet draws it, tags read as DrawStyledText reads them, in stretches;
// marked: drawn with a style or at a size of its own (the passage a question points at).
// Neighbouring stretches of the same kind are one.
struct TextStretch {
    std::string text;
    bool marked = false;
};
std::vector<TextStretch> StyledStretches(std::string_view piece);

// Draws text as it stands (tags not interpreted) in the context's face and colour at size; for
// text typed by a learner. Returns the pen x after it.
double DrawPlainText(Canvas& canvas, const std::string& text, double x, double y, double size,
                     StyleContext& context);

}  // namespace sulkan
