#include "StyledText.h"

#include <algorithm>
#include <string_view>

#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

void CanvasTracker::useFont(Canvas& canvas, const FontSpec& wanted) {
    if (font && *font == wanted) return;
    canvas.setFont(wanted);
    font = wanted;
}

void CanvasTracker::useColour(Canvas& canvas, Rgb textColour) {
    if (colour && *colour == textColour) return;
    canvas.setTextColour(textColour);
    colour = textColour;
}

namespace {

constexpr double kUnderlineDrop = 24.0;  // below the top of the text, times s
constexpr int kSizeStep = 2;

// Font sizes are whole points; a run of "-" tags must not reach zero or below.
double WholePoints(double points) {
    return std::max(1.0, static_cast<double>(RoundToInt(points)));
}

struct TextStyle {
    FontSpec font;
    bool underline = false;  // drawn as a line, not by the font
};

// Applies the tag character; false when it is no tag and is to be printed.
bool ApplyTag(std::string_view tag, TextStyle& style, double baseSize, StyleContext& context) {
    if (tag.size() != 1) return false;
    const char c = tag[0];
    switch (c) {
        case 'B':
            style.font.bold = true;
            return true;
        case 'I':
            style.font.italic = true;
            return true;
        case 'U':
        case 'u':
            style.underline = true;
            return true;
        case 'X':
            style.font.bold = true;
            style.underline = true;
            return true;
        case '_':
            style.font.strikeOut = true;
            return true;
        case '/':
            style.font.bold = style.font.italic = style.font.strikeOut = false;
            style.underline = false;
            return true;
        case '+':
        case '-':
            context.runningSizeOffset += c == '+' ? kSizeStep : -kSizeStep;
            style.font.points = WholePoints((baseSize + context.runningSizeOffset) * context.f);
            return true;
        case '=':
            context.runningSizeOffset = 0;
            style.font.points = WholePoints(baseSize);
            return true;
        default:
            break;
    }
    if (c >= '0' && c <= '9') {
        style.font.points = WholePoints(baseSize + kSizeStep * (c - '0') * context.f);
        return true;
    }
    return false;
}

// Walks piece as text stretches and tags; run(text, style, x) handles one stretch and returns
// the pen x after it. A tag is "<", one character and one more character; a double-byte
// character counts as one character in both places.
template <typename Run>
double Walk(std::string_view piece, double x, double baseSize, StyleContext& context, Run run) {
    TextStyle style;
    style.font.face = context.face;
    style.font.points = WholePoints(baseSize);
    std::size_t pos = 0;
    while (pos < piece.size()) {
        const std::size_t lt = piece.find('<', pos);
        const std::size_t end = lt == std::string_view::npos ? piece.size() : lt;
        if (end > pos) x = run(piece.substr(pos, end - pos), style, x);
        if (lt == std::string_view::npos) break;
        const std::size_t tagAt = lt + 1;
        if (tagAt >= piece.size()) break;  // a lone "<" at the end shows nothing
        const std::size_t tagLength = CharLength(piece, tagAt);
        const std::string_view tag = piece.substr(tagAt, tagLength);
        pos = tagAt + tagLength;
        if (pos < piece.size()) pos += CharLength(piece, pos);  // the closing character
        if (!ApplyTag(tag, style, baseSize, context)) x = run(tag, style, x);
    }
    context.endSize = style.font.points;
    return x;
}

}  // namespace

double DrawStyledText(Canvas& canvas, const std::string& piece, double x, double y, double baseSize,
                      StyleContext& context) {
    const double top = RoundToInt(y + context.textOffset);
    context.tracker.useColour(canvas, context.colour);
    return Walk(piece, RoundToInt(x), baseSize, context,
                [&](std::string_view text, const TextStyle& style, double at) {
                    context.tracker.useFont(canvas, style.font);
                    const double end = RoundToInt(at + canvas.drawText(at, top, std::string(text)));
                    if (style.underline) {
                        // One line under the whole stretch, unbroken between characters.
                        const int width = std::max(1, static_cast<int>(RoundHalfEven(context.s)));
                        canvas.setPen(PenSpec{context.colour, width});
                        const int lineY =
                            static_cast<int>(RoundHalfEven(top + kUnderlineDrop * context.s));
                        canvas.line(static_cast<int>(at), lineY, static_cast<int>(end), lineY);
                    }
                    return end;
                });
}

double MeasureStyledText(Canvas& canvas, const std::string& piece, double x, double baseSize,
                         StyleContext& context) {
    return Walk(piece, RoundToInt(x), baseSize, context,
                [&](std::string_view text, const TextStyle& style, double at) {
                    context.tracker.useFont(canvas, style.font);
                    return RoundToInt(at + canvas.textWidth(std::string(text)));
                });
}

std::vector<TextStretch> StyledStretches(std::string_view piece) {
    constexpr double kBase = 12;
    int runningOffset = 0;
    StyleContext context(runningOffset, std::string());
    std::vector<TextStretch> stretches;
    Walk(piece, 0, kBase, context, [&](std::string_view text, const TextStyle& style, double at) {
        const FontSpec& f = style.font;
        const bool marked =
            f.bold || f.italic || f.strikeOut || style.underline || f.points != kBase;
        if (!stretches.empty() && stretches.back().marked == marked)
            stretches.back().text += text;
        else
            stretches.push_back({std::string(text), marked});
        return at;
    });
    return stretches;
}

double DrawPlainText(Canvas& canvas, const std::string& text, double x, double y, double size,
                     StyleContext& context) {
    const double top = RoundToInt(y + context.textOffset);
    context.tracker.useColour(canvas, context.colour);
    FontSpec font;
    font.face = context.face;
    font.points = WholePoints(size);
    context.tracker.useFont(canvas, font);
    context.endSize = font.points;
    return RoundToInt(RoundToInt(x) + canvas.drawText(RoundToInt(x), top, text));
}

}  // namespace sulkan
