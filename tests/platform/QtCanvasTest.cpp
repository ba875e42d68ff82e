#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "Codec.h"
#include "Fonts.h"
#include "QtCanvas.h"
#include "QtText.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

bool IsWhite(QRgb p) {
    return (p & 0xFFFFFF) == 0xFFFFFF;
}

int CountPixels(const QImage& image, const std::function<bool(QRgb)>& match) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += match(image.pixel(x, y));
    return n;
}

// The smallest rectangle holding every pixel that is not white; null when there is none.
QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!IsWhite(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int DifferentPixels(const QImage& a, const QImage& b) {
    return CountPixels(a, [&, i = 0](QRgb p) mutable {
        const QRgb q = b.pixel(i % a.width(), i / a.width());
        ++i;
        return (p & 0xFFFFFF) != (q & 0xFFFFFF);
    });
}

QImage WhiteImage(int width, int height, int dpi = 96) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    return image;
}

class QtCanvas : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InstallFontSubstitutions(); }

    const FontSpec mincho{sjis("MS 明朝"), 12};
    const FontSpec gothic{sjis("ＭＳ ゴシック"), 12};
    const std::string kanji = sjis("漢字");
};

TEST_F(QtCanvas, TextInkStaysInsideItsCellBelowTheTopLeftCorner) {
    ImageCanvas canvas(200, 60);
    canvas.setFont(mincho);
    const double advance = canvas.drawText(10, 10, sjis("漢字Ag"));

    const QRect ink = InkBounds(canvas.image());
    EXPECT_GE(ink.top(), 10);  // the top-left corner is placed, not the baseline
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), std::ceil(10 + advance));
    EXPECT_LE(ink.bottom(), std::ceil(10 + canvas.textHeight()));
    EXPECT_GT(CountPixels(canvas.image(), [](QRgb p) { return qGray(p) < 64; }), 20);
}

TEST_F(QtCanvas, TextColourAndOpaqueBackground) {
    ImageCanvas canvas(120, 40);
    canvas.setFont(gothic);
    canvas.setTextColour(kBlue);
    canvas.drawText(2, 2, kanji);
    EXPECT_GT(CountPixels(canvas.image(),
                          [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; }),
              20);

    // An opaque background fills exactly the cell; a transparent one leaves the paper.
    canvas.setTextColour(kBlack);
    canvas.setTextBackground(kRed);
    const int right = 60 + int(canvas.drawText(60, 2, kanji)) - 1;
    const int bottom = 2 + int(canvas.textHeight()) - 1;
    const QImage& image = canvas.image();
    EXPECT_EQ(image.pixel(60, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(right, bottom), qRgb(255, 0, 0));
    EXPECT_TRUE(IsWhite(image.pixel(59, 2)) && IsWhite(image.pixel(60, 1)));
    EXPECT_TRUE(IsWhite(image.pixel(right + 2, bottom + 2)));
    EXPECT_GT(CountPixels(image.copy(60, 2, right - 60, bottom - 2),
                          [](QRgb p) { return qGray(p) < 40; }),
              20);

    canvas.setTextBackground(std::nullopt);
    canvas.drawText(2, 20, kanji);
    EXPECT_TRUE(IsWhite(canvas.image().pixel(2, 20)));
}

TEST_F(QtCanvas, AdvancesGrowWithTheTextAndFollowTheCurrentFont) {
    ImageCanvas canvas(300, 100);
    canvas.setFont(mincho);
    const double one = canvas.textWidth(sjis("漢"));
    const double two = canvas.textWidth(kanji);
    EXPECT_NEAR(one, 16, 1);          // 12 points at 96 dpi: a full-width character is one em
    EXPECT_NEAR(two, 2 * one, 0.01);  // runs measured apart add up to the whole
    EXPECT_LT(two, canvas.textWidth(sjis("漢字漢")));
    EXPECT_EQ(canvas.textWidth(""), 0);
    EXPECT_DOUBLE_EQ(canvas.drawText(0, 0, kanji), two);

    // Switching fonts back and forth measures and draws each in its own size.
    canvas.setFont({mincho.face, 24});
    EXPECT_NEAR(canvas.textWidth(kanji), 2 * two, 1);
    canvas.drawText(0, 30, kanji);
    canvas.setFont(mincho);
    EXPECT_DOUBLE_EQ(canvas.textWidth(kanji), two);
    canvas.drawText(100, 30, kanji);
    const QRect big = InkBounds(canvas.image().copy(0, 30, 100, 70));
    const QRect small = InkBounds(canvas.image().copy(100, 30, 100, 70));
    EXPECT_GT(big.height(), 1.6 * small.height());
}

TEST_F(QtCanvas, TextLooksAsQPainterDrawsItAndMeasuresAsQFontMetrics) {
    FontSpec boldItalic = mincho;
    boldItalic.bold = boldItalic.italic = true;
    FontSpec lined = gothic;
    lined.underline = lined.strikeOut = true;
    // Wide characters only; Latin text with a character the face lacks; a trailing blank.
    const std::string texts[] = {sjis("東京の学校、「漢字」を書く１２３ｱｲｳ"), sjis("漢字の Text ∑"),
                                 sjis("漢字の Text ")};
    for (const FontSpec& wanted : {mincho, gothic, boldItalic, lined}) {
        QFont font(ToQString(wanted.face));
        font.setPointSizeF(wanted.points);
        font.setBold(wanted.bold);
        font.setItalic(wanted.italic);
        font.setUnderline(wanted.underline);
        font.setStrikeOut(wanted.strikeOut);
        font.setKerning(false);
        for (const std::string& text : texts) {
            ImageCanvas canvas(300, 40);
            canvas.setFont(wanted);
            const double advance = canvas.drawText(3.4, 4.6, text);

            QImage expected = WhiteImage(300, 40, canvas.image().logicalDpiX());
            QPainter painter(&expected);
            painter.setFont(font);
            const QFontMetricsF metrics(font, &expected);
            painter.drawText(QPointF(3.4, 4.6 + metrics.ascent()), ToQString(text));
            painter.end();

            const std::string shown = Cp932ToUtf8(wanted.face + " " + text);
            EXPECT_EQ(DifferentPixels(canvas.image(), expected), 0) << shown;
            EXPECT_DOUBLE_EQ(advance, metrics.horizontalAdvance(ToQString(text))) << shown;
            EXPECT_DOUBLE_EQ(canvas.textHeight(), metrics.ascent() + metrics.descent());
        }
    }
}

TEST_F(QtCanvas, DevicesWithoutRasterEngineGetTheSameText) {
    // A picture stands for a printer: its engine records text instead of rasterising it.
    QPicture picture;
    QPainter recorder(&picture);
    PainterCanvas canvas(recorder);
    canvas.setFont(gothic);
    canvas.drawText(5, 6, kanji);
    recorder.end();
    QImage replayed = WhiteImage(120, 40);
    QPainter(&replayed).drawPicture(0, 0, picture);

    ImageCanvas reference(120, 40);
    reference.setFont(gothic);
    reference.drawText(5, 6, kanji);
    const QRect expected = InkBounds(reference.image());
    const QRect got = InkBounds(replayed);
    EXPECT_LE((got.topLeft() - expected.topLeft()).manhattanLength(), 1);
    EXPECT_LE((got.bottomRight() - expected.bottomRight()).manhattanLength(), 1);
}

// What a device without the raster engine gets for text drawn through the canvas, and for the
// same text drawn by the painter itself, replayed onto white images.
struct RecordedText {
    QImage canvas, painter;
    double advance = 0;
};

RecordedText RecordText(const FontSpec& wanted, const std::string& text) {
    QPicture throughCanvas;
    RecordedText got;
    {
        QPainter recorder(&throughCanvas);
        PainterCanvas canvas(recorder);
        canvas.setFont(wanted);
        got.advance = canvas.drawText(5, 6, text);
    }
    QFont font(ToQString(wanted.face));
    font.setPointSizeF(wanted.points);
    font.setUnderline(wanted.underline);
    font.setKerning(false);
    QPicture direct;
    {
        QPainter recorder(&direct);
        recorder.setFont(font);
        recorder.drawText(QPointF(5, 6 + QFontMetricsF(font, &direct).ascent()), ToQString(text));
    }
    got.canvas = WhiteImage(200, 40);
    got.painter = WhiteImage(200, 40);
    QPainter(&got.canvas).drawPicture(0, 0, throughCanvas);
    QPainter(&got.painter).drawPicture(0, 0, direct);
    return got;
}

TEST_F(QtCanvas, SpacesAroundPrintedTextKeepTheirRoomAndDrawNothing) {
    const std::string text = sjis("  漢字 か ");
    const RecordedText plain = RecordText(mincho, text);
    EXPECT_FALSE(InkBounds(plain.canvas).isNull());
    EXPECT_EQ(DifferentPixels(plain.canvas, plain.painter), 0);
    ImageCanvas screen(200, 40);
    screen.setFont(mincho);
    EXPECT_DOUBLE_EQ(plain.advance, screen.textWidth(text));
    EXPECT_GT(plain.advance, screen.textWidth(sjis("漢字 か")));

    // Spaces alone: nothing on the page, the room they take all the same.
    const RecordedText spaces = RecordText(mincho, "   ");
    EXPECT_TRUE(InkBounds(spaces.canvas).isNull());
    EXPECT_GT(spaces.advance, 0);

    // An underline runs on under the spaces.
    FontSpec lined = mincho;
    lined.underline = true;
    const RecordedText underlined = RecordText(lined, text);
    EXPECT_EQ(DifferentPixels(underlined.canvas, underlined.painter), 0);
    EXPECT_GT(InkBounds(underlined.canvas).width(), InkBounds(plain.canvas).width());
}

// The faces a PDF page embeds: one font file each.
int EmbeddedFaces(const std::filesystem::path& file) {
    const std::string pdf = test::ReadRawFile(file);
    int faces = 0;
    for (std::size_t at = pdf.find("/FontFile2"); at != std::string::npos;
         at = pdf.find("/FontFile2", at + 1))
        ++faces;
    return faces;
}

int FacesEmbeddedFor(const std::filesystem::path& file, const FontSpec& font,
                     const std::string& text) {
    {
        QPdfWriter writer(QString::fromStdString(file.string()));
        writer.setResolution(600);
        QPainter painter(&writer);
        PainterCanvas canvas(painter);
        canvas.setFont(font);
        canvas.drawText(100, 100, text);
    }
    return EmbeddedFaces(file);
}

TEST_F(QtCanvas, SpacesOfALatinAnswerFaceEmbedNoFaceOfTheirOwn) {
    // The answer face of new units is a Latin face: its kana come from a Japanese face, its
    // spaces from the Latin one.
    test::TempDir dir;
    const FontSpec answer{"Bookman Old Style", 16};
    const int kana = FacesEmbeddedFor(dir.path() / "kana.pdf", answer, sjis("かわ"));
    EXPECT_GE(kana, 1);
    EXPECT_EQ(FacesEmbeddedFor(dir.path() / "spaced.pdf", answer, sjis(" かわ  ")), kana);
    // Latin text still brings its face.
    EXPECT_EQ(FacesEmbeddedFor(dir.path() / "latin.pdf", answer, sjis("かわ a")), kana + 1);
}

TEST_F(QtCanvas, APixelRatioDrawsTheSameUnitsInMorePixels) {
    auto draw = [&](double ratio) {
        ImageCanvas canvas(120, 60, 1, ratio);
        EXPECT_DOUBLE_EQ(canvas.pixelRatio(), ratio);
        canvas.setPen(PenSpec{kBlack, 1});
        canvas.roundRect(10, 10, 50, 30, 8, 8);
        canvas.setFont(mincho);
        const double advance = canvas.drawText(60, 20, kanji);
        return std::pair(canvas.takeImage(), advance);
    };
    // At 1 first: the frame's pixels are kept then, and must not be pasted at 2.
    const auto [plain, plainAdvance] = draw(1);
    EXPECT_EQ(InkBounds(plain.copy(0, 0, 55, 60)), QRect(QPoint(10, 10), QPoint(49, 29)));
    for (double ratio : {1.5, 2.0}) {
        const auto [image, advance] = draw(ratio);
        EXPECT_EQ(image.size(), QSize(std::lround(120 * ratio), std::lround(60 * ratio)));
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), ratio);
        EXPECT_DOUBLE_EQ(advance, plainAdvance);  // text is laid out in drawing units
        const QRect frame = InkBounds(image.copy(0, 0, std::lround(55 * ratio), image.height()));
        EXPECT_NEAR(frame.left(), 10 * ratio, 1);
        EXPECT_NEAR(frame.top(), 10 * ratio, 1);
        EXPECT_NEAR(frame.right() + 1, 50 * ratio, 1.5);
        EXPECT_NEAR(frame.bottom() + 1, 30 * ratio, 1.5);
        // The text is drawn at the density, not enlarged: its ink is as wide in units.
        const QRect text = InkBounds(image.copy(
            std::lround(55 * ratio), 0, image.width() - std::lround(55 * ratio), image.height()));
        const QRect plainText = InkBounds(plain.copy(55, 0, 65, 60));
        EXPECT_NEAR(text.width() / ratio, plainText.width(), 2);
    }
}

TEST_F(QtCanvas, FontPointsFollowTheDeviceResolution) {
    QImage screen = WhiteImage(200, 100, 96);
    QImage paper = WhiteImage(1200, 600, 600);
    QPainter screenPainter(&screen);
    QPainter paperPainter(&paper);
    PainterCanvas onScreen(screenPainter);
    PainterCanvas onPaper(paperPainter);
    EXPECT_EQ(onPaper.width(), 1200);
    onScreen.setFont(mincho);
    onPaper.setFont(mincho);

    const double ratio = 600.0 / 96.0;
    EXPECT_NEAR(onPaper.textWidth(kanji) / onScreen.textWidth(kanji), ratio, 0.2);
    EXPECT_NEAR(onPaper.textHeight() / onScreen.textHeight(), ratio, 0.3);
    onScreen.drawText(0, 0, kanji);
    onPaper.drawText(0, 0, kanji);
    screenPainter.end();
    paperPainter.end();
    EXPECT_NEAR(double(InkBounds(paper).width()) / InkBounds(screen).width(), ratio, 0.5);
}

TEST_F(QtCanvas, ShapesLeaveOutTheRightAndBottomEdges) {
    const QRect inside(QPoint(2, 3), QPoint(21, 18));
    auto draw = [](const std::function<void(Canvas&)>& shape) {
        ImageCanvas canvas(30, 30);
        shape(canvas);
        return canvas.takeImage();
    };
    QImage image = draw([](Canvas& c) { c.rectangle(2, 3, 22, 19); });
    EXPECT_EQ(InkBounds(image), inside);
    EXPECT_TRUE(IsWhite(image.pixel(5, 5)));  // no brush, no fill

    image = draw([](Canvas& c) {
        c.setBrush(kBlue);
        c.rectangle(2, 3, 22, 19);
    });
    EXPECT_EQ(InkBounds(image), inside);
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(21, 18), qRgb(0, 0, 0));

    image = draw([](Canvas& c) { c.fillRect(22, 19, 2, 3, kRed); });  // corners in either order
    EXPECT_EQ(InkBounds(image), inside);

    image = draw([](Canvas& c) { c.ellipse(2, 3, 22, 19); });
    EXPECT_EQ(InkBounds(image), inside);
    EXPECT_TRUE(IsWhite(image.pixel(2, 3)));

    image = draw([](Canvas& c) { c.roundRect(2, 3, 22, 19, 8, 6); });
    EXPECT_EQ(InkBounds(image), inside);
    EXPECT_TRUE(IsWhite(image.pixel(2, 3)));  // the corner is rounded off
    EXPECT_FALSE(IsWhite(image.pixel(12, 3)));

    image = draw([](Canvas& c) { c.line(0, 5, 10, 5); });  // a thin line leaves out its end
    EXPECT_EQ(InkBounds(image), QRect(QPoint(0, 5), QPoint(9, 5)));
}

// Frames and grading marks drawn again at the same places come from the shapes kept from the
// first drawing; the sheet must come out as the painter draws the shapes, the first time and
// every time after, over ink already there, near the edges and partly outside the image.
TEST_F(QtCanvas, KeptShapesDrawAsThePainterDraws) {
    struct Shape {
        int kind, left, top, right, bottom, corner, width;
        Rgb colour;
        std::optional<Rgb> brush;
    };
    std::mt19937 random(11);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::vector<Shape> shapes;
    for (int i = 0; i < 800; ++i) {
        Shape s;
        s.kind = pick(0, 2);
        s.left = pick(-30, 880);
        s.top = pick(-30, 1250);
        s.right = s.left + pick(2, 160);
        s.bottom = s.top + pick(2, 90);
        s.corner = pick(0, 40);
        s.width = pick(1, 4);
        s.colour = i % 3 ? kRed : kBlack;
        if (i % 5 == 0) s.brush = kBlue;
        shapes.push_back(s);
    }
    // Windows pens as the canvas describes them: flat thin lines, round wide ones.
    auto reference = [&] {
        QImage image(891, 1260, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        for (const Shape& s : shapes) {
            QPen pen(QColor(s.colour.r, s.colour.g, s.colour.b), s.width);
            pen.setCapStyle(s.width == 1 ? Qt::FlatCap : Qt::RoundCap);
            pen.setJoinStyle(s.width == 1 ? Qt::MiterJoin : Qt::RoundJoin);
            p.setPen(pen);
            p.setBrush(s.brush ? QBrush(QColor(s.brush->r, s.brush->g, s.brush->b))
                               : QBrush(Qt::NoBrush));
            const QRect r(s.left, s.top, s.right - s.left - 1, s.bottom - s.top - 1);
            if (s.kind == 0) p.drawRect(r);
            if (s.kind == 1) p.drawRoundedRect(r, s.corner / 2.0, s.corner / 2.0, Qt::AbsoluteSize);
            if (s.kind == 2) p.drawEllipse(r);
        }
        return image;
    }();
    auto drawn = [&] {
        ImageCanvas canvas(891, 1260);
        for (const Shape& s : shapes) {
            canvas.setPen(PenSpec{s.colour, s.width});
            canvas.setBrush(s.brush);
            if (s.kind == 0) canvas.rectangle(s.left, s.top, s.right, s.bottom);
            if (s.kind == 1) canvas.roundRect(s.left, s.top, s.right, s.bottom, s.corner, s.corner);
            if (s.kind == 2) canvas.ellipse(s.left, s.top, s.right, s.bottom);
        }
        return canvas.takeImage();
    };
    EXPECT_EQ(DifferentPixels(drawn(), reference), 0);
    EXPECT_EQ(DifferentPixels(drawn(), reference), 0);
    // A shape kept in one colour is not copied for another.
    ImageCanvas canvas(100, 60);
    canvas.ellipse(10, 10, 60, 40);
    canvas.setPen(PenSpec{kBlue, 1});
    canvas.ellipse(10, 10, 60, 40);
    EXPECT_EQ(CountPixels(canvas.image(), [](QRgb p) { return p == qRgb(0, 0, 0); }), 0);
    EXPECT_GT(CountPixels(canvas.image(), [](QRgb p) { return p == qRgb(0, 0, 255); }), 50);
}

TEST_F(QtCanvas, PenWidthAndStyle) {
    auto line = [](const PenSpec& pen) {
        ImageCanvas canvas(120, 20);
        canvas.setPen(pen);
        canvas.line(10, 10, 110, 10);
        return canvas.takeImage();
    };
    auto ink = [&](PenStyle style) {
        return CountPixels(line({kBlack, 1, style}), [](QRgb p) { return !IsWhite(p); });
    };
    EXPECT_EQ(ink(PenStyle::Solid), 100);
    EXPECT_GT(ink(PenStyle::Dash), 60);
    EXPECT_LT(ink(PenStyle::Dash), 90);
    EXPECT_GT(ink(PenStyle::Dot), 40);
    EXPECT_LT(ink(PenStyle::Dot), 60);

    const QImage wide = line({kRed, 3});
    EXPECT_EQ(InkBounds(wide).height(), 3);
    EXPECT_EQ(wide.pixel(50, 10), qRgb(255, 0, 0));
}

TEST_F(QtCanvas, InvertingPenInvertsAndRestoresWhenDrawnAgain) {
    ImageCanvas canvas(40, 40);
    canvas.fillRect(0, 0, 20, 40, kBlack);
    canvas.fillRect(20, 0, 40, 40, Rgb{10, 200, 30});
    const QImage before = canvas.image().copy();

    canvas.setPen({kRed, 1, PenStyle::Solid, true});
    canvas.rectangle(5, 5, 35, 35);
    canvas.setBrush(kWhite);
    canvas.ellipse(8, 8, 30, 30);
    const QImage once = canvas.image().copy();
    for (QPoint p : {QPoint(5, 5), QPoint(34, 34), QPoint(20, 20), QPoint(25, 5)})
        EXPECT_EQ(once.pixel(p) & 0xFFFFFF, ~before.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    EXPECT_EQ(once.pixel(6, 6), before.pixel(6, 6));

    canvas.ellipse(8, 8, 30, 30);
    canvas.setBrush(std::nullopt);
    canvas.rectangle(5, 5, 35, 35);
    EXPECT_EQ(canvas.image(), before);
}

TEST_F(QtCanvas, InvertingPenTouchesTheSamePixelsAsAPlainPen) {
    // On white, inverting once must blacken exactly what a black pen and brush paint: a pixel
    // under both the outline and the fill must not be inverted back.
    for (const PenSpec& pen :
         {PenSpec{kBlack, 1}, PenSpec{kBlack, 4}, PenSpec{kBlack, 1, PenStyle::Dot}}) {
        for (bool brush : {false, true}) {
            auto draw = [&](bool invert) {
                ImageCanvas canvas(60, 60);
                PenSpec p = pen;
                p.invert = invert;
                canvas.setPen(p);
                if (brush) canvas.setBrush(kBlack);
                canvas.rectangle(3, 3, 20, 25);
                canvas.ellipse(25, 5, 55, 28);
                canvas.roundRect(5, 32, 50, 50, 12, 10);
                canvas.line(2, 56, 57, 54);
                return canvas.takeImage();
            };
            EXPECT_EQ(DifferentPixels(draw(true), draw(false)), 0) << pen.width << " " << brush;
        }
    }
}

TEST_F(QtCanvas, BitmapsAreStretchedIntoTheirRectangle) {
    QImage source(4, 2, QImage::Format_RGB32);
    source.fill(Qt::black);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(3, 1, qRgb(0, 0, 255));
    const Bitmap bitmap = BitmapFromImage(source);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(QSize(bitmap.width, bitmap.height), QSize(4, 2));
    EXPECT_EQ(BitmapImage(Bitmap{}), nullptr);
    EXPECT_FALSE(BitmapFromImage(QImage()));

    // Enlarged with hard edges: each source pixel becomes a 10 x 10 block.
    ImageCanvas canvas(60, 40);
    canvas.drawBitmap(bitmap, 10, 10, 50, 30);
    const QImage& image = canvas.image();
    EXPECT_EQ(InkBounds(image), QRect(QPoint(10, 10), QPoint(49, 29)));
    EXPECT_EQ(image.pixel(19, 19), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(20, 19), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(40, 20), qRgb(0, 0, 255));

    // Shrunk, a one-pixel line stays visible.
    QImage figure = WhiteImage(100, 100);
    for (int y = 0; y < 100; ++y) figure.setPixel(37, y, qRgb(0, 0, 0));
    ImageCanvas small(20, 20);
    small.drawBitmap(BitmapFromImage(figure), 0, 0, 10, 10);
    EXPECT_EQ(InkBounds(small.image()).height(), 10);
}

TEST_F(QtCanvas, LoadBitmapFindsTheFileIgnoringCase) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "Graph");
    QImage source(3, 5, QImage::Format_RGB32);
    source.fill(qRgb(0, 128, 255));
    ASSERT_TRUE(source.save(QString::fromStdString((dir.path() / "Graph" / "Title.bmp").string())));

    const Bitmap bitmap = LoadBitmap(dir.folder() + "GRAPH\\title.BMP");
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(QSize(bitmap.width, bitmap.height), QSize(3, 5));
    EXPECT_EQ(BitmapImage(bitmap)->pixel(2, 4), qRgb(0, 128, 255));
    EXPECT_FALSE(LoadBitmap(dir.folder() + "Graph\\missing.bmp"));
    EXPECT_FALSE(LoadBitmap(dir.folder() + "Graph"));
}

TEST_F(QtCanvas, ImageCanvasStartsWhiteAndHandsOverItsImage) {
    ImageCanvas canvas(50, 20);
    EXPECT_EQ(canvas.image().format(), QImage::Format_RGB32);
    EXPECT_TRUE(InkBounds(canvas.image()).isNull());
    canvas.fillRect(0, 0, 5, 5, kBlack);
    const QImage image = canvas.takeImage();
    EXPECT_EQ(image.size(), QSize(50, 20));
    EXPECT_EQ(InkBounds(image), QRect(0, 0, 5, 5));
    // Used after the hand-over, the canvas still measures but draws nothing, and does not crash.
    canvas.setFont(gothic);
    EXPECT_GT(canvas.drawText(0, 0, kanji), 0);
    canvas.rectangle(0, 0, 10, 10);
}

// A fresh image canvas leaves out white fills while it is all white; once anything is drawn,
// by any call or through the painter itself, white fills cover it again.
TEST_F(QtCanvas, WhiteFillsStillCoverWhatWasDrawnBeforeThem) {
    const std::vector<std::function<void(Canvas&)>> inks = {
        [](Canvas& c) { c.fillRect(2, 2, 30, 15, kBlack); },
        [&](Canvas& c) {
            c.setFont(mincho);
            c.setTextColour(kBlue);
            c.drawText(1, 1, kanji);
        },
        [](Canvas& c) { c.line(0, 5, 40, 5); },
        [](Canvas& c) { c.rectangle(3, 3, 20, 12); },
        [](Canvas& c) { c.roundRect(3, 3, 30, 18, 6, 6); },
        [](Canvas& c) { c.ellipse(3, 3, 30, 18); },
        [](Canvas& c) {
            QImage red(4, 4, QImage::Format_RGB32);
            red.fill(Qt::red);
            c.drawBitmap(BitmapFromImage(red), 5, 5, 9, 9);
        },
    };
    for (std::size_t i = 0; i < inks.size(); ++i) {
        ImageCanvas canvas(50, 20);
        canvas.fillRect(0, 0, 50, 20, kWhite);  // left out: nothing to cover yet
        inks[i](canvas);
        EXPECT_FALSE(InkBounds(canvas.image()).isNull()) << "ink " << i;
        canvas.fillRect(0, 0, 50, 20, kWhite);
        EXPECT_TRUE(InkBounds(canvas.image()).isNull()) << "ink " << i;
    }
    // A part of the sheet filled white covers just that part.
    ImageCanvas canvas(50, 20);
    canvas.fillRect(0, 0, 50, 20, kRed);
    canvas.fillRect(0, 0, 25, 20, kWhite);
    EXPECT_EQ(InkBounds(canvas.image()), QRect(25, 0, 25, 20));
    // A preview drawn small starts white too and is covered as well.
    ImageCanvas small(100, 40, 0.5);
    small.fillRect(0, 0, 100, 40, kWhite);
    EXPECT_TRUE(InkBounds(small.image()).isNull());
    small.fillRect(0, 0, 100, 40, kBlack);
    small.fillRect(0, 0, 100, 40, kWhite);
    EXPECT_TRUE(InkBounds(small.image()).isNull());
}

}  // namespace
}  // namespace sulkan
