// A canvas that records every call and measures text with fixed advances, for exact geometry
// tests: a double-byte character advances one em (points × pixelsPerPoint), a single-byte one
// half an em; a line of text is one em high.
#pragma once

#include <vector>

#include "Canvas.h"

namespace sulkan {

class RecordingCanvas : public Canvas {
public:
    enum class Kind { Text, Line, Rectangle, RoundRect, Ellipse, Fill, Bitmap };
    struct Op {
        Kind kind = Kind::Text;
        double x = 0, y = 0;                  // text position
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;   // shape corners or line ends
        int cornerW = 0, cornerH = 0;         // rounded rectangles
        std::string text;                     // text drawn
        double advance = 0;                   // text advance
        FontSpec font;                        // font current at the call
        Rgb textColour;                       // text colour, or fill colour of Fill
        PenSpec pen;                          // pen current at the call
        std::optional<Rgb> brush;             // brush current at the call
        int bitmapWidth = 0, bitmapHeight = 0;
    };

    RecordingCanvas(int width, int height, double pixelsPerPoint = 96.0 / 72.0)
        : m_width(width), m_height(height), m_pixelsPerPoint(pixelsPerPoint) {}

    int width() const override { return m_width; }
    int height() const override { return m_height; }

    void setFont(const FontSpec& font) override { m_font = font; }
    void setTextColour(Rgb colour) override { m_textColour = colour; }
    void setTextBackground(std::optional<Rgb> background) override { m_background = background; }
    double drawText(double x, double y, const std::string& text) override;
    double textWidth(const std::string& text) override;
    double textHeight() override { return m_font.points * m_pixelsPerPoint; }

    void setPen(const PenSpec& pen) override { m_pen = pen; }
    void setBrush(std::optional<Rgb> fill) override { m_brush = fill; }
    void line(int x1, int y1, int x2, int y2) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void fillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void drawBitmap(const Bitmap& bitmap, int left, int top, int right, int bottom) override;

    std::vector<Op> ops;

    // The text operations only, and all text joined, for quick checks.
    std::vector<Op> texts() const;
    std::string allText() const;

private:
    Op shape(Kind kind, int x1, int y1, int x2, int y2) const;

    int m_width, m_height;
    double m_pixelsPerPoint;
    FontSpec m_font;
    Rgb m_textColour = kBlack;
    std::optional<Rgb> m_background;
    PenSpec m_pen;
    std::optional<Rgb> m_brush;
};

}  // namespace sulkan
