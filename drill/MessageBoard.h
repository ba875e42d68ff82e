// Texts the drill writes on its message images: lines 24 pixels apart, the course text, the
// hint. Drawn through a canvas so that positions and sizes can be checked exactly.
#pragma once

#include <string>
#include <vector>

#include "Canvas.h"

namespace sulkan {

inline constexpr int kMessageLinePitch = 24;
// The blue of the course text, alternatives and corrections.
inline constexpr Rgb kMessageBlue{0, 0, 255};

// Passes drawing on to another canvas and keeps how far right and down it reached since the
// canvas was last filled whole, so that a message image can be made large enough to show it all.
class ExtentCanvas : public Canvas {
public:
    explicit ExtentCanvas(Canvas& inner) : m_inner(inner) {}
    // The extent of what was drawn, in pixels; 0 after a clear.
    int right() const { return m_right; }
    int bottom() const { return m_bottom; }
    // Counts the clears, so that a viewer knows a new message began.
    int clears() const { return m_clears; }

    int width() const override { return m_inner.width(); }
    int height() const override { return m_inner.height(); }
    void setFont(const FontSpec& font) override { m_inner.setFont(font); }
    void setTextColour(Rgb colour) override { m_inner.setTextColour(colour); }
    void setTextBackground(std::optional<Rgb> background) override {
        m_inner.setTextBackground(background);
    }
    double drawText(double x, double y, const std::string& text) override;
    double textWidth(const std::string& text) override { return m_inner.textWidth(text); }
    double textHeight() override { return m_inner.textHeight(); }
    void setPen(const PenSpec& pen) override;
    void setBrush(std::optional<Rgb> fill) override { m_inner.setBrush(fill); }
    void line(int x1, int y1, int x2, int y2) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void fillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void drawBitmap(const Bitmap& bitmap, int left, int top, int right, int bottom) override;

private:
    void reach(double right, double bottom);

    Canvas& m_inner;
    int m_right = 0, m_bottom = 0;
    int m_clears = 0;
    int m_penWidth = 1;
};

// Line n at y = 24 × n; drawing line 0 first clears the image. Text CP932.
void DrawMessageLine(Canvas& canvas, int line, const std::string& text, double points, Rgb colour);
void ClearMessage(Canvas& canvas);

// The text in the stroke-order face at kStrokeOrderPoints with its top at y, from the left edge;
// returns the y below it.
inline constexpr double kStrokeOrderPoints = 56;
double DrawStrokeOrder(Canvas& canvas, double top, const std::string& text,
                       const std::string& face);

// The standard study course, in blue, as shown when the drill opens.
void DrawCourseText(Canvas& canvas);

// Whether hint lines hold a hint: at least one line and the first is not "Hint".
bool HasHint(const std::vector<std::string>& hintLines);
// "学習のポイント" at 20 points, then every hint line k at (0, 30 + 20 × k) at 12 points. Draws
// nothing when there is no hint; returns whether it drew.
bool DrawHintText(Canvas& canvas, const std::vector<std::string>& hintLines);

}  // namespace sulkan
