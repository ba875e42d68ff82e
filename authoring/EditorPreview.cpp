#include "EditorPreview.h"

#include <QPainter>
#include <algorithm>

#include "QuestionFileCheck.h"
#include "Worksheet.h"

namespace sulkan {

EditorPreview RenderEditorPreview(const UnitBlocks& blocks, const LoadOptions& options,
                                  const ScreenView& view, SheetShared& shared,
                                  const SheetPictures& pictures) {
    EditorPreview preview;
    const UnitAddress& address = options.address;
    if (auto problem = ValidateUnit(blocks)) preview.problem = *problem;
    const std::string header = UnitHeaderOf(address);
    const std::vector<std::string> lines = UnitLines(header, blocks, UnitOrder::Existing);
    ReadRequest request;
    request.headerLine = header;
    request.section = address.section;
    request.unit = address.unit;
    request.lessonName = options.lessonName;
    request.sectionName = options.sectionName;
    request.unitName = options.unitName;
    HoldingArea holding;
    const ReadResult read = ReadIntoHolding(lines, request, holding, shared);
    if (!read.ok()) {
        if (preview.problem.empty() && read.message) preview.problem = *read.message;
        return preview;
    }
    Worksheet worksheet;
    LoadWorksheet(holding, worksheet, options, shared);
    // One worksheet, one set of inputs: the two passes differ only in the answers drawn.
    RenderInputs inputs = ScreenInputs(worksheet, view, pictures);
    inputs.answersShown = false;
    preview.questionSheet = RenderSheetImage(worksheet, inputs, shared);
    inputs.answersShown = true;
    preview.answerSheet = RenderSheetImage(worksheet, inputs, shared);
    return preview;
}

namespace {

// The mean of two RGB32 pixels, channel by channel, without carries between channels.
inline quint32 Mean(quint32 a, quint32 b) {
    return (a & b) + (((a ^ b) & 0xFEFEFEFEu) >> 1);
}

// Half the size, each pixel the mean of a 2 x 2 block. One pass on this thread: the toolkit's
// smooth scaling of a whole sheet costs more than drawing it and hands rows to a thread pool.
QImage Halved(const QImage& source) {
    QImage out(source.width() / 2, source.height() / 2, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        const auto* upper = reinterpret_cast<const quint32*>(source.constScanLine(2 * y));
        const auto* lower = reinterpret_cast<const quint32*>(source.constScanLine(2 * y + 1));
        auto* row = reinterpret_cast<quint32*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            row[x] =
                Mean(Mean(upper[2 * x], upper[2 * x + 1]), Mean(lower[2 * x], lower[2 * x + 1]));
    }
    return out;
}

// Averaging scale-down: halved while at least twice the size, then the last step (less than
// half) interpolated, which loses no line at that ratio.
QImage ShrunkTo(QImage image, QSize size) {
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    while (image.width() >= 2 * size.width() && image.height() >= 2 * size.height())
        image = Halved(image);
    if (image.size() == size) return image;
    QImage out(size, QImage::Format_RGB32);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), image);
    return out;
}

}  // namespace

PreviewPlacement PlacePreviewSheets(QSize area, QSize sheet, int captionHeight, int gap) {
    PreviewPlacement place;
    if (sheet.isEmpty() || area.isEmpty()) return place;
    const auto scaleToFit = [&](int width, int height) {
        if (width <= 0 || height <= 0) return 0.0;
        return std::min({1.0, double(width) / sheet.width(), double(height) / sheet.height()});
    };
    const double across = scaleToFit((area.width() - gap) / 2, area.height() - captionHeight);
    const double down = scaleToFit(area.width(), (area.height() - gap) / 2 - captionHeight);
    place.sideBySide = across >= down;
    const double scale = std::max(across, down);
    const QSize shown(std::max(0, int(sheet.width() * scale)),
                      std::max(0, int(sheet.height() * scale)));
    if (shown.isEmpty()) return place;
    place.question = QRect(QPoint(0, captionHeight), shown);
    place.answer = place.sideBySide
                       ? QRect(QPoint(shown.width() + gap, captionHeight), shown)
                       : QRect(QPoint(0, 2 * captionHeight + shown.height() + gap), shown);
    return place;
}

ScaledPreview ScalePreviewSheets(const EditorPreview& preview, QSize area, int captionHeight,
                                 int gap) {
    ScaledPreview scaled;
    if (preview.answerSheet.isNull()) return scaled;
    scaled.place = PlacePreviewSheets(area, preview.answerSheet.size(), captionHeight, gap);
    if (scaled.place.question.isEmpty()) return scaled;
    const QSize size = scaled.place.question.size();
    scaled.question = ShrunkTo(preview.questionSheet, size);
    scaled.answer = ShrunkTo(preview.answerSheet, size);
    return scaled;
}

}  // namespace sulkan
