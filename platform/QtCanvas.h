// The Canvas drawn through a QPainter: the sheet image on screen (ImageCanvas) and printed pages
// (PainterCanvas on a painter opened on the printer), and the Qt side of Bitmap.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <memory>
#include <optional>

#include "Canvas.h"

namespace sulkan {

// Draws on the painter's device in device pixels; font points are converted by the device's own
// resolution. Shapes follow the Windows rules: right and bottom edges are excluded, a thin line
// leaves out its end point, an inverting pen inverts each pixel the shape covers exactly once
// (on devices that cannot invert, such as printers, it draws in its colour instead). Text,
// fillRect and bitmaps are never inverted.
//
// The painter must stay active while the canvas is used. The canvas keeps track of the pen,
// brush and font it has set on the painter; after drawing through the painter directly, call
// resetPainterState().
class PainterCanvas : public Canvas {
public:
    explicit PainterCanvas(QPainter& painter);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    int width() const override;
    int height() const override;

    void setFont(const FontSpec& font) override;
    void setTextColour(Rgb colour) override;
    void setTextBackground(std::optional<Rgb> background) override;
    double drawText(double x, double y, const std::string& text) override;
    double textWidth(const std::string& text) override;
    double textHeight() override;

    void setPen(const PenSpec& pen) override;
    void setBrush(std::optional<Rgb> fill) override;
    void line(int x1, int y1, int x2, int y2) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void fillRect(int left, int top, int right, int bottom, Rgb colour) override;
    // Enlarging keeps hard pixel edges (figures are pixel drawings); shrinking averages the
    // pixels, so thin lines grow fainter instead of dropping out.
    void drawBitmap(const Bitmap& bitmap, int left, int top, int right, int bottom) override;

    void resetPainterState();

protected:
    // For a canvas on a device known to be all white: white fills are left out until something
    // else is drawn (a fresh sheet image is filled once, not again by the sheet's own fill).
    void startAllWhite() { m_allWhite = true; }

private:
    class TextCache;
    class ShapeCache;
    struct ShapedFont;
    enum class ShapeKind { Rectangle, RoundRect, Ellipse };
    struct ShapeKey;
    enum class PainterPen { Unknown, Text, Shape };

    ShapedFont& font();
    void useTextPen();
    // Text as the painter lays it out itself, on devices that take no glyph runs.
    void drawPlainText(const ShapedFont& font, QPointF baseline, const std::string& text);
    void useShapePen();
    // Draws an outlined (and, with a brush, filled) shape; bounds must hold all it touches. A
    // shape with a key may be copied from the shapes kept by the cache.
    template <class Draw>
    void drawShape(const QRect& bounds, const ShapeKey* key, Draw draw);
    ShapeKey shapeKey(ShapeKind kind, const QRect& rect, int cornerW = 0, int cornerH = 0) const;
    // The painter draws exactly as a fresh painter on a clear image would: same engine, no
    // transformation, clip, opacity or antialiasing.
    bool drawsLikeScratch() const;

    QPainter* m_painter;
    int m_width = 0, m_height = 0;
    int m_dpiX = 96, m_dpiY = 96;
    bool m_canInvert = false;
    bool m_drawGlyphRuns = false;  // the device takes shaped glyph runs without loss
    bool m_shapedOnPage = false;   // a PDF page: glyph runs, spaces at the ends left out
    double m_dashScale = 1;        // device pixels per screen pixel, for dash lengths

    std::unique_ptr<TextCache> m_ownCache;  // only off the GUI thread
    TextCache* m_cache = nullptr;
    std::shared_ptr<ShapedFont> m_font;  // current font
    unsigned m_painterFont = 0;          // serial of the font set on the painter

    QColor m_textColour = Qt::black;
    std::optional<QColor> m_textBackground;
    PenSpec m_penSpec;
    QPen m_shapePen;
    std::optional<QColor> m_brush;
    PainterPen m_painterPen = PainterPen::Unknown;
    bool m_painterBrushKnown = false;
    bool m_allWhite = false;  // nothing but white on the device so far
};

namespace detail {
// Holds the image and its active painter so that both exist before the PainterCanvas using them.
struct ImageSurface {
    ImageSurface(int width, int height, double scale);
    QImage image;
    QPainter painter;
};
}  // namespace detail

// A canvas on its own white RGB32 image, for the sheet on screen.
class ImageCanvas : private detail::ImageSurface, public PainterCanvas {
public:
    // width and height in drawing units; with a scale below 1 the image is that much smaller and
    // everything is drawn straight at its size (a preview), cheaper than drawing large and
    // shrinking the picture. With a pixel ratio above 1 (a high-density screen) the image has
    // that many pixels per drawing unit, everything is drawn at that density, and the image
    // handed over carries the ratio, so that it shows at the size of the drawing units.
    ImageCanvas(int width, int height, double scale = 1, double pixelRatio = 1);

    // The image being drawn on, at the pixel ratio but not yet carrying it.
    const QImage& image() const { return ImageSurface::image; }
    double pixelRatio() const { return m_pixelRatio; }
    // Ends painting and hands the image over; the canvas must not be drawn on afterwards.
    QImage takeImage();

private:
    double m_pixelRatio = 1;
};

// A Bitmap over an image window code already has; an empty Bitmap for a null image.
Bitmap BitmapFromImage(QImage image);
// The image of a Bitmap; nullptr for an empty one.
const QImage* BitmapImage(const Bitmap& bitmap);

}  // namespace sulkan
