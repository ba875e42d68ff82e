#include "EditorPreview.h"

#include <algorithm>

#include "QuestionEditing.h"
#include "QuestionFileCheck.h"
#include "Worksheet.h"

namespace sulkan {

EditorPreview RenderEditorPreview(const UnitBlocks& blocks, const LoadOptions& options,
                                  const ScreenView& view, SheetShared& shared,
                                  const PreviewArea& area, const SheetPictures& pictures) {
    EditorPreview preview;
    const UnitAddress& address = options.address;
    if (const Result<> valid = ValidateUnit(blocks); !valid)
        preview.problem = valid.problem().message;
    if (preview.problem.empty()) preview.problem = FullWidthMarkNotice(blocks.ques);
    const std::string header = UnitHeaderOf(address);
    const std::vector<std::string> lines = UnitLines(header, blocks, UnitOrder::Existing);
    ReadRequest request;
    request.headerLine = header;
    request.section = address.section;
    request.unit = address.unit;
    request.titles = options.titles;
    HoldingArea holding;
    const ReadResult read = ReadIntoHolding(lines, request, holding, shared);
    if (!read.ok()) {
        if (preview.problem.empty() && read.problem) preview.problem = read.problem->message;
        return preview;
    }
    Worksheet worksheet;
    LoadWorksheet(holding, worksheet, options, shared);
    // One worksheet, one set of inputs: the two passes differ only in the answers drawn.
    RenderInputs inputs = ScreenInputs(worksheet, view, pictures);
    const QSize sheet(inputs.target.pageWidth, inputs.target.pageHeight);
    preview.place = PlacePreviewSheets(area.size, sheet, area.captionHeight, area.gap);
    if (preview.place.question.isEmpty()) return preview;
    // Drawn straight at the size shown: drawing the whole sheet and shrinking the picture costs
    // about twice as much, most of it in reading the large picture back.
    const double scale = double(preview.place.question.width()) / sheet.width();
    inputs.view.answersShown = false;
    preview.questionSheet = RenderSheetImage(worksheet, inputs, shared, nullptr, scale);
    inputs.view.answersShown = true;
    preview.answerSheet = RenderSheetImage(worksheet, inputs, shared, nullptr, scale);
    return preview;
}

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

}  // namespace sulkan
