// The drawing surface the sheet layout draws on: the sheet image on screen, a printer page, or a
// recording double in tests. Coordinates are device pixels; font sizes are points, converted by
// the device's own resolution. Text is CP932.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace sulkan {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGrey{0x80, 0x80, 0x80};

struct FontSpec {
    std::string face;     // CP932 face name as the data names it ("MS 明朝")
    double points = 12;   // size in points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class PenStyle { Solid, Dash, Dot };

struct PenSpec {
    Rgb colour = kBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    bool invert = false;  // draw by inverting what is below (rubber bands)
    friend bool operator==(const PenSpec&, const PenSpec&) = default;
};

// A picture loaded from a bitmap file; the pixels stay with the platform.
class BitmapData;
struct Bitmap {
    int width = 0;
    int height = 0;
    std::shared_ptr<const BitmapData> data;
    explicit operator bool() const { return width > 0 && height > 0; }
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual void setFont(const FontSpec& font) = 0;
    virtual void setTextColour(Rgb colour) = 0;
    // When transparent (the default), text is drawn without filling its cell's background.
    virtual void setTextBackground(std::optional<Rgb> background) = 0;
    // Draws text with its top-left corner at (x, y) and returns its advance in pixels.
    virtual double drawText(double x, double y, const std::string& text) = 0;
    // The advance of text in the current font, without drawing.
    virtual double textWidth(const std::string& text) = 0;
    // Height of one line of text in the current font (ascent + descent).
    virtual double textHeight() = 0;

    virtual void setPen(const PenSpec& pen) = 0;
    // No fill when nullopt.
    virtual void setBrush(std::optional<Rgb> fill) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // Shapes take the rectangle's corners, the right and bottom edge excluded as on Windows.
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    virtual void roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) = 0;
    virtual void ellipse(int left, int top, int right, int bottom) = 0;
    virtual void fillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
    // Draws the picture stretched into the rectangle.
    virtual void drawBitmap(const Bitmap& bitmap, int left, int top, int right, int bottom) = 0;
};

// Loads a bitmap file (BMP and the other formats Qt reads); an empty Bitmap when it cannot.
Bitmap LoadBitmap(const std::string& path);

}  // namespace sulkan
