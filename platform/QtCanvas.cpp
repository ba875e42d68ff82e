#include "QtCanvas.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QList>
#include <QPaintEngine>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "LineFile.h"
#include "QtText.h"

namespace sulkan {

class BitmapData {
public:
    explicit BitmapData(QImage image) : m_image(std::move(image)) {}

    const QImage& image() const { return m_image; }

    // The picture averaged down to size. The last one is kept: a sheet draws each figure at the
    // same size on every redraw.
    QImage shrunk(QSize size) const {
        std::lock_guard lock(m_mutex);
        if (m_shrunk.size() != size)
            m_shrunk = m_image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return m_shrunk;
    }

private:
    QImage m_image;
    mutable std::mutex m_mutex;
    mutable QImage m_shrunk;
};

namespace {

constexpr std::size_t kMaxFonts = 32;
constexpr std::size_t kMaxRuns = 16384;           // a full sheet has a few thousand
constexpr qsizetype kMaxShapePixels = 4'000'000;  // a full sheet's frames and marks: a few 100,000

QColor ToColour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QFont MakeFont(const FontSpec& wanted) {
    QFont font;
    if (!wanted.face.empty()) font.setFamily(ToQString(wanted.face));
    font.setPointSizeF(wanted.points > 0 ? wanted.points : FontSpec{}.points);
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strikeOut);
    // No kerning, as on Windows; it also lets runs measured one by one add up to the whole.
    font.setKerning(false);
    return font;
}

// A stand-in device of the given resolution: fonts are scaled by nothing else, so text shaped
// for it fits every device of that resolution, and outlives the device it was measured for.
QImage ResolutionProbe(int dpiX, int dpiY) {
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
    probe.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
    return probe;
}

QPen MakePen(const PenSpec& wanted, double dashScale) {
    const int width = std::max(wanted.width, 1);
    QPen pen(ToColour(wanted.colour), width);
    if (wanted.style != PenStyle::Solid) {
        // Dashes as long as on a Windows screen (18 on 6 off, dots 3 on 3 off), kept the same
        // size on paper and lengthened for wide pens; Qt counts them in pen widths.
        const double on = wanted.style == PenStyle::Dash ? 18 : 3;
        const double off = wanted.style == PenStyle::Dash ? 6 : 3;
        const double unit = std::max(dashScale, double(width)) / width;
        pen.setDashPattern({on * unit, off * unit});
        pen.setCapStyle(Qt::FlatCap);  // round caps would close the gaps of a wide dotted line
        pen.setJoinStyle(Qt::MiterJoin);
    } else if (width == 1) {
        // A flat cap leaves out the end point of a thin line, as LineTo does.
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

// The rectangle whose outline, drawn with a thin pen, covers left..right-1 and top..bottom-1;
// nullopt when nothing is inside. Reversed corners are put in order.
std::optional<QRect> ShapeRect(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return std::nullopt;
    return QRect(left, top, right - left - 1, bottom - top - 1);
}

// The pixels left..right-1 and top..bottom-1 for fills; empty when there are none.
QRect FillArea(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

// One font at one resolution, with the runs of text already shaped in it.
struct PainterCanvas::ShapedFont {
    struct Run {
        double advance = 0;
        QList<QGlyphRun> glyphs;  // positions relative to the start of the baseline
    };

    ShapedFont(const FontSpec& fontSpec, int dpiX, int dpiY, unsigned number)
        : wanted(fontSpec),
          probe(ResolutionProbe(dpiX, dpiY)),
          font(MakeFont(fontSpec)),
          face(QRawFont::fromFont(QFont(font, &probe))),
          metrics(font, &probe),
          ascent(metrics.ascent()),
          height(metrics.ascent() + metrics.descent()),
          serial(number) {}

    bool fits(const FontSpec& other, int dpiX, int dpiY) const {
        return probe.logicalDpiX() == dpiX && probe.logicalDpiY() == dpiY && wanted == other;
    }

    Run shape(const QString& text) const {
        if (auto run = shapeWithoutLayout(text)) return *run;
        QTextLayout layout(text, font, &probe);
        layout.setCacheEnabled(true);  // lets the layout hand out its glyphs instead of reshaping
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        Run run;
        run.advance = line.horizontalAdvance();
        run.glyphs = layout.glyphRuns();
        const double baseline = line.y() + line.ascent();
        for (QGlyphRun& glyphs : run.glyphs) {
            QList<QPointF> positions = glyphs.positions();
            for (QPointF& p : positions) p.ry() -= baseline;
            glyphs.setPositions(positions);
        }
        return run;
    }

    // Kanji, kana and full-width forms need no shaping: their glyphs and advances come straight
    // from the face, many times faster than a text layout. Runs with anything else, or with a
    // character the face lacks and another font must supply, are laid out.
    std::optional<Run> shapeWithoutLayout(const QString& text) const {
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (!((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
                  (u >= 0xFF01 && u <= 0xFFEF)))
                return std::nullopt;
        }
        const QList<quint32> indexes = face.glyphIndexesForString(text);
        if (indexes.size() != text.size() || indexes.contains(0)) return std::nullopt;
        const QList<QPointF> advances = face.advancesForGlyphIndexes(indexes);
        QList<QPointF> positions;
        positions.reserve(advances.size());
        double x = 0;
        for (const QPointF& advance : advances) {
            positions.append(QPointF(x, 0));
            x += advance.x();
        }
        QGlyphRun glyphs;
        glyphs.setRawFont(face);
        glyphs.setGlyphIndexes(indexes);
        glyphs.setPositions(positions);
        return Run{x, {glyphs}};
    }

    FontSpec wanted;
    QImage probe;
    QFont font;
    QRawFont face;  // the face the font resolves to, at this resolution
    QFontMetricsF metrics;
    double ascent;
    double height;
    unsigned serial;
    std::unordered_map<std::string, Run> runs;  // by CP932 text
};

// Outlined and filled shapes drawn with hard edges on an image, kept as the pixels they set: the
// sheet is redrawn at every change with its frames and grading marks where they were, and the
// raster engine takes many times longer to outline a rounded rectangle or a thick ellipse than to
// copy its pixels. A shape is first drawn at its own place on a clear scratch image as big as the
// sheet, so its pixels are exactly those the engine sets on the sheet; where the engine sets a
// pixel it sets it in the pen's or brush's colour, fully, so copying them over gives the same
// sheet as drawing.
struct PainterCanvas::ShapeKey {
    ShapeKind kind;
    QRect rect;
    int cornerW = 0, cornerH = 0;
    PenSpec pen;
    std::optional<QColor> brush;
    friend bool operator==(const ShapeKey&, const ShapeKey&) = default;
};

class PainterCanvas::ShapeCache {
public:
    using Key = ShapeKey;

    // The shape's pixels over its area (transparent where it sets none), drawn by draw on a
    // painter set up with pen and brush; nullptr when the shape sets pixels on the area's edge
    // and so perhaps beyond it (a very flat ellipse can), to be drawn as it is.
    template <class Draw>
    const QImage* pixels(const Key& key, const QRect& area, const QPen& pen, Draw draw) {
        if (auto it = m_shapes.find(key); it != m_shapes.end())
            return it->second.isNull() ? nullptr : &it->second;
        if (m_pixelCount > kMaxShapePixels) {
            m_shapes.clear();
            m_pixelCount = 0;
        }
        const QSize needed(std::max(m_scratch.width(), area.right() + 1),
                           std::max(m_scratch.height(), area.bottom() + 1));
        if (needed != m_scratch.size()) {
            m_scratch = QImage(needed, QImage::Format_ARGB32_Premultiplied);
            m_scratch.fill(Qt::transparent);
        }
        QPainter painter(&m_scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(pen);
        painter.setBrush(key.brush ? QBrush(*key.brush) : QBrush(Qt::NoBrush));
        draw(painter);
        QImage shape = m_scratch.copy(area);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (TouchesEdge(shape)) {
            painter.fillRect(m_scratch.rect(), Qt::transparent);
            m_shapes.emplace(key, QImage());
            return nullptr;
        }
        painter.fillRect(area, Qt::transparent);
        painter.end();
        m_pixelCount += area.width() * area.height();
        return &m_shapes.emplace(key, std::move(shape)).first->second;
    }

private:
    static bool TouchesEdge(const QImage& shape) {
        const int right = shape.width() - 1, bottom = shape.height() - 1;
        for (int x = 0; x <= right; ++x)
            if (qAlpha(shape.pixel(x, 0)) || qAlpha(shape.pixel(x, bottom))) return true;
        for (int y = 0; y <= bottom; ++y)
            if (qAlpha(shape.pixel(0, y)) || qAlpha(shape.pixel(right, y))) return true;
        return false;
    }

    struct Hash {
        std::size_t operator()(const Key& k) const {
            std::size_t h = static_cast<std::size_t>(k.kind);
            auto mix = [&h](long long v) { h = h * 1000003u ^ static_cast<std::size_t>(v); };
            for (int v : {k.rect.x(), k.rect.y(), k.rect.width(), k.rect.height(), k.cornerW,
                          k.cornerH, k.pen.width})
                mix(v);
            mix((k.pen.colour.r << 16) | (k.pen.colour.g << 8) | k.pen.colour.b);
            mix(static_cast<int>(k.pen.style));
            mix(k.brush ? (1ll << 32) | k.brush->rgba() : 0);
            return h;
        }
    };
    std::unordered_map<Key, QImage, Hash> m_shapes;
    qsizetype m_pixelCount = 0;
    QImage m_scratch;
};

// Fonts and shaped text kept from one canvas to the next: the sheet is redrawn on a fresh canvas
// at every change, with the same few fonts and mostly the same runs of text, and shaping costs
// far more than drawing.
class PainterCanvas::TextCache {
public:
    // The cache of the GUI thread, where sheets are drawn; emptied as the application ends,
    // while the fonts can still be released.
    static TextCache* shared() {
        if (!s_shared) {
            s_shared = new TextCache;
            qAddPostRoutine([] {
                delete s_shared;
                s_shared = nullptr;
            });
        }
        return s_shared;
    }

    std::shared_ptr<ShapedFont> font(const FontSpec& wanted, int dpiX, int dpiY) {
        for (const auto& f : m_fonts)
            if (f->fits(wanted, dpiX, dpiY)) return f;
        if (m_fonts.size() >= kMaxFonts) m_fonts.erase(m_fonts.begin());
        m_fonts.push_back(std::make_shared<ShapedFont>(wanted, dpiX, dpiY, m_nextSerial++));
        return m_fonts.back();
    }

    const ShapedFont::Run& run(ShapedFont& font, const std::string& text) {
        if (auto it = font.runs.find(text); it != font.runs.end()) return it->second;
        if (m_runCount >= kMaxRuns) {
            for (const auto& f : m_fonts) f->runs.clear();
            font.runs.clear();  // it may have been dropped from the list already
            m_runCount = 0;
        }
        ++m_runCount;
        return font.runs.emplace(text, font.shape(ToQString(text))).first->second;
    }

    ShapeCache shapes;

private:
    static inline TextCache* s_shared = nullptr;
    std::vector<std::shared_ptr<ShapedFont>> m_fonts;
    std::size_t m_runCount = 0;
    unsigned m_nextSerial = 1;
};

PainterCanvas::PainterCanvas(QPainter& painter) : m_painter(&painter) {
    if (const QPaintDevice* device = painter.device()) {
        m_width = device->width();
        m_height = device->height();
        m_dpiX = device->logicalDpiX();
        m_dpiY = device->logicalDpiY();
        m_dashScale = std::max(1.0, m_dpiX / 96.0);
    }
    const QPaintEngine* engine = painter.paintEngine();
    m_canInvert = engine && engine->hasFeature(QPaintEngine::RasterOpModes);
    // The PDF writer takes them too (drawText leaves out spaces at the ends there); other
    // engines get plain text and shape it themselves.
    m_drawGlyphRuns = engine && engine->type() == QPaintEngine::Raster;
    m_shapedOnPage = engine && engine->type() == QPaintEngine::Pdf;
    if (painter.isActive()) {
        // Hard edges, so that the pixel rules of the shapes hold and pixel art stays sharp.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    m_shapePen = MakePen(m_penSpec, m_dashScale);

    const QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) {
        m_cache = TextCache::shared();
    } else {
        m_ownCache = std::make_unique<TextCache>();
        m_cache = m_ownCache.get();
    }
}

PainterCanvas::~PainterCanvas() = default;

int PainterCanvas::width() const {
    return m_width;
}

int PainterCanvas::height() const {
    return m_height;
}

void PainterCanvas::setFont(const FontSpec& wanted) {
    if (!m_font || !(m_font->wanted == wanted)) m_font = m_cache->font(wanted, m_dpiX, m_dpiY);
}

PainterCanvas::ShapedFont& PainterCanvas::font() {
    if (!m_font) setFont(FontSpec{});
    return *m_font;
}

void PainterCanvas::setTextColour(Rgb colour) {
    QColor c = ToColour(colour);
    if (c == m_textColour) return;
    m_textColour = c;
    if (m_painterPen == PainterPen::Text) m_painterPen = PainterPen::Unknown;
}

void PainterCanvas::setTextBackground(std::optional<Rgb> background) {
    m_textBackground.reset();
    if (background) m_textBackground = ToColour(*background);
}

double PainterCanvas::textWidth(const std::string& text) {
    return text.empty() ? 0 : m_cache->run(font(), text).advance;
}

double PainterCanvas::textHeight() {
    return font().height;
}

double PainterCanvas::drawText(double x, double y, const std::string& text) {
    if (text.empty()) return 0;
    ShapedFont& f = font();
    const ShapedFont::Run& run = m_cache->run(f, text);
    const double advance = run.advance;  // the cache may drop run while the text is drawn
    if (!m_painter->isActive()) return advance;
    m_allWhite = false;
    if (m_textBackground) m_painter->fillRect(QRectF(x, y, advance, f.height), *m_textBackground);
    useTextPen();
    const QPointF baseline(x, y + f.ascent);
    // Glyph runs would underline and strike out each run of one script on its own, leaving gaps.
    if (f.wanted.underline || f.wanted.strikeOut) {
        drawPlainText(f, baseline, text);
        return advance;
    }
    if (m_drawGlyphRuns) {
        for (const QGlyphRun& glyphs : run.glyphs) m_painter->drawGlyphRun(baseline, glyphs);
        return advance;
    }
    // Spaces at the ends draw nothing and are left out. On a PDF page every face a glyph is drawn
    // in is embedded, which costs more than the page's text: the spaces of a Latin answer face
    // ("かわ ") would embed that face for nothing but them.
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return advance;
    const std::size_t last = text.find_last_not_of(' ');
    const bool whole = first == 0 && last + 1 == text.size();
    // CP932 trail bytes are 0x40 and above, so a 0x20 byte is always a space of its own.
    const std::string shown = whole ? text : text.substr(first, last + 1 - first);
    const QPointF start =
        first == 0 ? baseline
                   : baseline + QPointF(m_cache->run(f, text.substr(0, first)).advance, 0);
    if (m_shapedOnPage) {
        // The PDF writer keeps glyph runs as text in the embedded faces, as it does text it
        // shapes itself, so the runs shaped once for all pages are drawn as they are.
        for (const QGlyphRun& glyphs : m_cache->run(f, shown).glyphs)
            m_painter->drawGlyphRun(start, glyphs);
    } else {
        drawPlainText(f, start, shown);
    }
    return advance;
}

void PainterCanvas::drawPlainText(const ShapedFont& f, QPointF baseline, const std::string& text) {
    if (m_painterFont != f.serial) {
        m_painter->setFont(f.font);
        m_painterFont = f.serial;
    }
    m_painter->drawText(baseline, ToQString(text));
}

void PainterCanvas::useTextPen() {
    if (m_painterPen == PainterPen::Text) return;
    m_painter->setPen(m_textColour);
    m_painterPen = PainterPen::Text;
}

void PainterCanvas::useShapePen() {
    if (m_painterPen != PainterPen::Shape) {
        m_painter->setPen(m_shapePen);
        m_painterPen = PainterPen::Shape;
    }
    if (!m_painterBrushKnown) {
        m_painter->setBrush(m_brush ? QBrush(*m_brush) : QBrush(Qt::NoBrush));
        m_painterBrushKnown = true;
    }
}

void PainterCanvas::setPen(const PenSpec& pen) {
    if (pen == m_penSpec) return;
    m_penSpec = pen;
    m_shapePen = MakePen(pen, m_dashScale);
    if (m_painterPen == PainterPen::Shape) m_painterPen = PainterPen::Unknown;
}

void PainterCanvas::setBrush(std::optional<Rgb> fill) {
    std::optional<QColor> brush;
    if (fill) brush = ToColour(*fill);
    if (brush == m_brush) return;
    m_brush = brush;
    m_painterBrushKnown = false;
}

void PainterCanvas::resetPainterState() {
    m_allWhite = false;  // the painter may have drawn anything
    m_painterFont = 0;
    m_painterPen = PainterPen::Unknown;
    m_painterBrushKnown = false;
}

bool PainterCanvas::drawsLikeScratch() const {
    const QPainter& p = *m_painter;
    if (!m_drawGlyphRuns || !p.device() || p.device()->devType() != QInternal::Image) return false;
    // Formats that take the pen's colours as they are, without dithering or a palette.
    const QImage::Format format = static_cast<const QImage*>(p.device())->format();
    return (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
            format == QImage::Format_ARGB32_Premultiplied) &&
           p.transform().isIdentity() && !p.hasClipping() && p.opacity() == 1.0 &&
           p.compositionMode() == QPainter::CompositionMode_SourceOver &&
           !p.testRenderHint(QPainter::Antialiasing);
}

template <class Draw>
void PainterCanvas::drawShape(const QRect& bounds, const ShapeKey* key, Draw draw) {
    if (!m_painter->isActive()) return;
    m_allWhite = false;
    const int margin = std::max(m_penSpec.width, 1) + 1;
    if (!m_penSpec.invert || !m_canInvert) {
        const QRect area = bounds.adjusted(-margin, -margin, margin, margin);
        if (key && !m_penSpec.invert && QRect(0, 0, m_width, m_height).contains(area) &&
            drawsLikeScratch()) {
            if (const QImage* pixels = m_cache->shapes.pixels(*key, area, m_shapePen, draw)) {
                m_painter->drawImage(area.topLeft(), *pixels);
                return;
            }
        }
        useShapePen();
        draw(*m_painter);
        return;
    }
    // Drawn white on a clear mask first and then XORed on: drawing straight in XOR would invert
    // twice, and so restore, the pixels where the outline meets itself or the fill.
    QRect area = bounds.adjusted(-margin, -margin, margin, margin);
    area &= m_painter->transform().inverted().mapRect(QRect(0, 0, m_width, m_height));
    if (area.isEmpty()) return;
    QImage mask(area.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter maskPainter(&mask);
        maskPainter.translate(-area.topLeft());
        QPen pen = m_shapePen;
        pen.setColor(Qt::white);
        maskPainter.setPen(pen);
        maskPainter.setBrush(m_brush ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
        draw(maskPainter);
    }
    const QPainter::CompositionMode mode = m_painter->compositionMode();
    m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_painter->drawImage(area.topLeft(), mask);
    m_painter->setCompositionMode(mode);
}

void PainterCanvas::line(int x1, int y1, int x2, int y2) {
    const QRect bounds = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    drawShape(bounds, nullptr, [&](QPainter& p) { p.drawLine(x1, y1, x2, y2); });
}

PainterCanvas::ShapeKey PainterCanvas::shapeKey(ShapeKind kind, const QRect& rect, int cornerW,
                                                int cornerH) const {
    return {kind, rect, cornerW, cornerH, m_penSpec, m_brush};
}

void PainterCanvas::rectangle(int left, int top, int right, int bottom) {
    if (auto rect = ShapeRect(left, top, right, bottom)) {
        const auto key = shapeKey(ShapeKind::Rectangle, *rect);
        drawShape(*rect, &key, [&](QPainter& p) { p.drawRect(*rect); });
    }
}

void PainterCanvas::roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
    auto rect = ShapeRect(left, top, right, bottom);
    if (!rect) return;
    if (cornerW <= 0 || cornerH <= 0) {
        rectangle(left, top, right, bottom);
        return;
    }
    // The corners are given as the size of the corner ellipse; Qt wants its radii.
    const auto key = shapeKey(ShapeKind::RoundRect, *rect, cornerW, cornerH);
    drawShape(*rect, &key, [&](QPainter& p) {
        p.drawRoundedRect(*rect, cornerW / 2.0, cornerH / 2.0, Qt::AbsoluteSize);
    });
}

void PainterCanvas::ellipse(int left, int top, int right, int bottom) {
    if (auto rect = ShapeRect(left, top, right, bottom)) {
        const auto key = shapeKey(ShapeKind::Ellipse, *rect);
        drawShape(*rect, &key, [&](QPainter& p) { p.drawEllipse(*rect); });
    }
}

void PainterCanvas::fillRect(int left, int top, int right, int bottom, Rgb colour) {
    const QRect area = FillArea(left, top, right, bottom);
    if (area.isEmpty() || !m_painter->isActive()) return;
    if (m_allWhite && colour == kWhite) return;
    m_allWhite = false;
    m_painter->fillRect(area, ToColour(colour));
}

void PainterCanvas::drawBitmap(const Bitmap& bitmap, int left, int top, int right, int bottom) {
    const QImage* image = BitmapImage(bitmap);
    const QRect target = FillArea(left, top, right, bottom);
    if (!image || target.isEmpty() || !m_painter->isActive()) return;
    m_allWhite = false;
    if (target.size() == image->size()) {
        m_painter->drawImage(target.topLeft(), *image);
    } else if (target.width() < image->width() || target.height() < image->height()) {
        m_painter->drawImage(target.topLeft(), bitmap.data->shrunk(target.size()));
    } else {
        m_painter->drawImage(target, *image);
    }
}

namespace detail {

ImageSurface::ImageSurface(int width, int height, double scale) {
    const int w = static_cast<int>(std::lround(width * scale));
    const int h = static_cast<int>(std::lround(height * scale));
    if (w <= 0 || h <= 0) return;  // nothing to draw on; the canvas draws nothing
    image = QImage(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    painter.begin(&image);
    if (scale != 1) painter.scale(scale, scale);
}

}  // namespace detail

// The ratio is applied as the painter's scale, not as the image's own ratio while it is drawn
// on: the shapes kept by their pixels are then drawn afresh instead (they are kept only for a
// painter without a transformation), and text is shaped in drawing units as at 1, so that
// everything stands where it stands at 1.
ImageCanvas::ImageCanvas(int width, int height, double scale, double pixelRatio)
    : ImageSurface(width, height, scale * (pixelRatio > 0 ? pixelRatio : 1)),
      PainterCanvas(ImageSurface::painter),
      m_pixelRatio(pixelRatio > 0 ? pixelRatio : 1) {
    if (ImageSurface::painter.isActive()) startAllWhite();
}

QImage ImageCanvas::takeImage() {
    if (ImageSurface::painter.isActive()) ImageSurface::painter.end();
    if (m_pixelRatio != 1 && !ImageSurface::image.isNull())
        ImageSurface::image.setDevicePixelRatio(m_pixelRatio);
    return std::move(ImageSurface::image);
}

Bitmap BitmapFromImage(QImage image) {
    if (image.isNull()) return {};
    // One format QPainter draws fast, instead of converting an indexed bitmap on every draw.
    const QImage::Format format =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != format) image = std::move(image).convertToFormat(format);
    Bitmap bitmap;
    bitmap.width = image.width();
    bitmap.height = image.height();
    bitmap.data = std::make_shared<const BitmapData>(std::move(image));
    return bitmap;
}

const QImage* BitmapImage(const Bitmap& bitmap) {
    if (!bitmap || !bitmap.data) return nullptr;
    return &bitmap.data->image();
}

Bitmap LoadBitmap(const std::string& path) {
    if (path.empty()) return {};
    const std::filesystem::path native = NativePath(path);
    return BitmapFromImage(QImage(QString::fromStdU16String(native.u16string())));
}

}  // namespace sulkan
