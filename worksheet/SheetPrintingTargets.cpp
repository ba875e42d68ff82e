#include "SheetPrintingTargets.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPrintDialog>
#include <cmath>

#include "QtCanvas.h"

namespace sulkan {
namespace {

// The printer pass stretches blank positions by 1.03 for the border a printer cannot print on
// (its page is that much narrower than the paper while text keeps its size). A PDF page keeps
// such a border, so that the frames stand where the text is.
constexpr double kPrinterStretch = 1.03;

QPageLayout PrinterLikePage(const QPageSize& size) {
    const double border = size.size(QPageSize::Millimeter).width() * (1 - 1 / kPrinterStretch) / 2;
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(border, border, border, border),
                       QPageLayout::Millimeter);
}

// Draws on a page and notes every text it draws.
class TextNotingCanvas : public Canvas {
public:
    TextNotingCanvas(QPainter& painter, std::vector<std::string>& texts)
        : m_canvas(painter), m_texts(texts) {}

    int width() const override { return m_canvas.width(); }
    int height() const override { return m_canvas.height(); }
    void setFont(const FontSpec& font) override { m_canvas.setFont(font); }
    void setTextColour(Rgb colour) override { m_canvas.setTextColour(colour); }
    void setTextBackground(std::optional<Rgb> background) override {
        m_canvas.setTextBackground(background);
    }
    double drawText(double x, double y, const std::string& text) override {
        m_texts.push_back(text);
        return m_canvas.drawText(x, y, text);
    }
    double textWidth(const std::string& text) override { return m_canvas.textWidth(text); }
    double textHeight() override { return m_canvas.textHeight(); }
    void setPen(const PenSpec& pen) override { m_canvas.setPen(pen); }
    void setBrush(std::optional<Rgb> fill) override { m_canvas.setBrush(fill); }
    void line(int x1, int y1, int x2, int y2) override { m_canvas.line(x1, y1, x2, y2); }
    void rectangle(int left, int top, int right, int bottom) override {
        m_canvas.rectangle(left, top, right, bottom);
    }
    void roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) override {
        m_canvas.roundRect(left, top, right, bottom, cornerW, cornerH);
    }
    void ellipse(int left, int top, int right, int bottom) override {
        m_canvas.ellipse(left, top, right, bottom);
    }
    void fillRect(int left, int top, int right, int bottom, Rgb colour) override {
        m_canvas.fillRect(left, top, right, bottom, colour);
    }
    void drawBitmap(const Bitmap& bitmap, int left, int top, int right, int bottom) override {
        m_canvas.drawBitmap(bitmap, left, top, right, bottom);
    }

private:
    PainterCanvas m_canvas;
    std::vector<std::string>& m_texts;
};

}  // namespace

// ---- QPrinterTarget ----

QPrinterTarget::QPrinterTarget() = default;

QPrinterTarget::~QPrinterTarget() {
    if (m_painter.isActive()) m_painter.end();
}

int QPrinterTarget::pageWidth() const {
    return m_printer.width();
}

int QPrinterTarget::pageHeight() const {
    return m_printer.height();
}

int QPrinterTarget::resolution() const {
    return m_printer.resolution();
}

int QPrinterTarget::copyCount() const {
    return m_printer.copyCount();
}

void QPrinterTarget::setCopyCount(int copies) {
    m_printer.setCopyCount(copies);
}

QPainter* QPrinterTarget::beginJob() {
    return m_painter.begin(&m_printer) ? &m_painter : nullptr;
}

bool QPrinterTarget::endJob() {
    return m_painter.end() && m_printer.printerState() != QPrinter::Error;
}

void QPrinterTarget::abortJob() {
    m_printer.abort();
    if (m_painter.isActive()) m_painter.end();
}

bool QPrinterTarget::setup(QWidget* parent) {
    QPrintDialog dialog(&m_printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

// ---- PdfPrintTarget ----

PdfPrintTarget::PdfPrintTarget(const QString& fileName, const QPageSize& pageSize, int resolution)
    : m_writer(fileName) {
    m_writer.setResolution(resolution);
    m_writer.setCreator(QStringLiteral("Sulkan++"));
    m_writer.setPageLayout(PrinterLikePage(pageSize));
}

PdfPrintTarget::~PdfPrintTarget() {
    finish();
}

void PdfPrintTarget::setPageSize(const QPageSize& pageSize) {
    if (m_writer.pageLayout().pageSize().isEquivalentTo(pageSize)) return;
    m_writer.setPageLayout(PrinterLikePage(pageSize));
}

int PdfPrintTarget::pageWidth() const {
    return m_writer.width();
}

int PdfPrintTarget::pageHeight() const {
    return m_writer.height();
}

int PdfPrintTarget::resolution() const {
    return m_writer.resolution();
}

QPainter* PdfPrintTarget::beginJob() {
    if (!m_started) {
        if (!m_painter.begin(&m_writer)) return nullptr;
        m_started = true;
    } else if (!m_writer.newPage()) {
        return nullptr;
    }
    return &m_painter;
}

bool PdfPrintTarget::endJob() {
    ++m_pages;
    return true;
}

void PdfPrintTarget::abortJob() {}

bool PdfPrintTarget::finish() {
    return !m_painter.isActive() || m_painter.end();
}

// ---- RecordingPrintTarget ----

RecordingPrintTarget::RecordingPrintTarget(int pageWidth, int pageHeight, int resolution)
    : m_width(pageWidth), m_height(pageHeight), m_resolution(resolution) {}

QPainter* RecordingPrintTarget::beginJob() {
    if (refuseJobs) return nullptr;
    Job job;
    job.page = QImage(m_width, m_height, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(m_resolution / 0.0254));
    job.page.setDotsPerMeterX(dotsPerMeter);
    job.page.setDotsPerMeterY(dotsPerMeter);
    job.page.fill(Qt::white);
    jobs.push_back(std::move(job));
    m_painter.begin(&jobs.back().page);
    return &m_painter;
}

bool RecordingPrintTarget::endJob() {
    m_painter.end();
    jobs.back().ended = true;
    return true;
}

void RecordingPrintTarget::abortJob() {
    m_painter.end();
    jobs.back().aborted = true;
}

std::unique_ptr<Canvas> RecordingPrintTarget::canvasFor(QPainter& painter) {
    return std::make_unique<TextNotingCanvas>(painter, jobs.back().texts);
}

}  // namespace sulkan
