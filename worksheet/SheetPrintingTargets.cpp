#include "SheetPrintingTargets.h"

#include <QDir>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrintDialog>
#include <cmath>

#include "Codec.h"
#include "QtCanvas.h"
#include "Sjis.h"

namespace sulkan {
namespace {

// The printer pass stretches blank positions by 1.03 for the border a printer cannot print on
// (its page is that much narrower than the paper while text keeps its size). A PDF page keeps
// such a border, so that the frames stand where the text is.
constexpr double kPrinterStretch = 1.03;

// The print system's words for a message box; characters CP932 lacks become "?".
std::string SystemText(const std::string& utf8) {
    if (auto text = Utf8ToCp932(utf8)) return *text;
    std::string out;
    for (char32_t c : QString::fromStdString(utf8).toUcs4()) {
        auto one = Utf16ToCp932(QString::fromUcs4(&c, 1).toStdU16String());
        out += one ? *one : "?";
    }
    return out;
}

std::string PrinterText(const std::string& queue) {
    return sjis("プリンタ ") + SystemText(queue);
}

// " （reason）" when the print system gave one.
std::string Because(const std::string& reason) {
    return reason.empty() ? std::string() : sjis("（") + SystemText(reason) + sjis("）");
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

QPageLayout PrinterLikePage(const QPageSize& size) {
    const double border = size.size(QPageSize::Millimeter).width() * (1 - 1 / kPrinterStretch) / 2;
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(border, border, border, border),
                       QPageLayout::Millimeter);
}

std::string MediaNameOf(const QPageSize& pageSize) {
    switch (pageSize.id()) {
        case QPageSize::A4:
            return "iso_a4_210x297mm";
        case QPageSize::A3:
            return "iso_a3_297x420mm";
        case QPageSize::JisB5:
            return "jis_b5_182x257mm";
        case QPageSize::JisB4:
            return "jis_b4_257x364mm";
        default:
            return pageSize.key().toStdString();
    }
}

// ---- QueuePrintTarget ----

QueuePrintTarget::QueuePrintTarget(PrintQueue& queue, std::string queueName,
                                   const QPageLayout& page, int resolution)
    : m_queue(queue), m_name(std::move(queueName)), m_page(page), m_resolution(resolution) {}

QueuePrintTarget::~QueuePrintTarget() {
    closeSpool();
}

int QueuePrintTarget::pageWidth() const {
    return m_page.paintRectPixels(m_resolution).width();
}

int QueuePrintTarget::pageHeight() const {
    return m_page.paintRectPixels(m_resolution).height();
}

QSizeF QueuePrintTarget::paperSize() const {
    return m_page.fullRect(QPageLayout::Millimeter).size();
}

TargetCheck QueuePrintTarget::check() {
    if (m_name.empty()) m_name = m_queue.defaultQueue();
    if (m_name.empty()) return Problem(sjis("既定のプリンタが設定されていません"));
    const QueueStatus status = m_queue.status(m_name);
    const std::string printer = PrinterText(m_name);
    switch (status.state) {
        case QueueStatus::State::Ready:
            return std::string();
        case QueueStatus::State::Stopped:
            return printer + sjis(" は停止中です。印刷は再開されるまで待機します") +
                   Because(status.reason);
        case QueueStatus::State::Refusing:
            return Problem(printer + sjis(" は印刷を受け付けていません") + Because(status.reason));
        case QueueStatus::State::Missing:
            return Problem(printer + sjis(" が見つかりません"));
        case QueueStatus::State::Unreachable:
            break;
    }
    return Problem(printer + sjis(" の状態を印刷システムに問い合わせできません") +
                   Because(status.reason));
}

QPainter* QueuePrintTarget::beginJob() {
    closeSpool();
    m_failure.clear();
    m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                              QStringLiteral("/sulkan-job-XXXXXX.pdf"));
    if (!m_file->open()) {
        m_failure = sjis("印刷用の一時ファイルを作れません: ") +
                    SystemText(m_file->errorString().toStdString());
        m_file.reset();
        return nullptr;
    }
    m_file->close();  // the writer opens it by name
    m_writer = std::make_unique<QPdfWriter>(m_file->fileName());
    m_writer->setResolution(m_resolution);
    m_writer->setCreator(QStringLiteral("Sulkan++"));
    m_writer->setTitle(QString::fromStdString(Cp932ToUtf8(m_jobName)));
    m_writer->setPageLayout(m_page);
    if (!m_painter.begin(m_writer.get())) {
        closeSpool();
        return nullptr;
    }
    return &m_painter;
}

bool QueuePrintTarget::endJob() {
    if (!m_writer) return false;
    const bool written = m_painter.end();
    m_writer.reset();  // the file is complete only once its writer is gone
    if (!written) {
        m_failure = sjis("印刷用の一時ファイルを書けません");
        closeSpool();
        return false;
    }
    QueueJob job;
    job.jobName = Cp932ToUtf8(m_jobName);
    job.copies = m_copies;
    job.media = MediaNameOf(m_page.pageSize());
    const QueueSubmission sent =
        m_queue.submit(m_name, QDir::toNativeSeparators(m_file->fileName()).toStdString(), job);
    closeSpool();
    if (sent.jobId == 0) {
        m_failure = PrinterText(m_name) + sjis(" に印刷を送れませんでした") + Because(sent.error);
        return false;
    }
    return true;
}

void QueuePrintTarget::abortJob() {
    closeSpool();
}

void QueuePrintTarget::closeSpool() {
    if (m_painter.isActive()) m_painter.end();
    m_writer.reset();
    m_file.reset();
}

// ---- QPrinterTarget ----

QPrinterTarget::QPrinterTarget(std::unique_ptr<PrintQueue> queue) : m_queue(std::move(queue)) {}

QPrinterTarget::~QPrinterTarget() {
    if (m_painter.isActive()) m_painter.end();
}

bool QPrinterTarget::throughQueue() const {
    return m_queue && m_printer.outputFormat() == QPrinter::NativeFormat;
}

QueuePrintTarget& QPrinterTarget::spool() {
    // The dialog may have changed printer or paper since the last print.
    m_spool = std::make_unique<QueuePrintTarget>(*m_queue, m_printer.printerName().toStdString(),
                                                 m_printer.pageLayout(), m_printer.resolution());
    return *m_spool;
}

QSizeF QPrinterTarget::paperSize() const {
    return m_printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
}

TargetCheck QPrinterTarget::check() {
    return throughQueue() ? spool().check() : TargetCheck(std::string());
}

void QPrinterTarget::setJobName(const std::string& name) {
    m_jobName = name;
    m_printer.setDocName(QString::fromStdString(Cp932ToUtf8(name)));
}

std::string QPrinterTarget::failure() const {
    return m_spooling && m_spool ? m_spool->failure() : std::string();
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
    m_spooling = throughQueue();
    if (m_spooling) {
        QueuePrintTarget& queue = m_spool ? *m_spool : spool();
        queue.setJobName(m_jobName);
        queue.setCopyCount(m_printer.copyCount());
        return queue.beginJob();
    }
    return m_painter.begin(&m_printer) ? &m_painter : nullptr;
}

bool QPrinterTarget::endJob() {
    if (m_spooling) return m_spool->endJob();
    return m_painter.end() && m_printer.printerState() != QPrinter::Error;
}

void QPrinterTarget::abortJob() {
    if (m_spooling) return m_spool->abortJob();
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

QSizeF PdfPrintTarget::paperSize() const {
    return m_writer.pageLayout().fullRect(QPageLayout::Millimeter).size();
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
