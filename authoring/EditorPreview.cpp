#include "EditorPreview.h"

#include "QuestionFileCheck.h"
#include "Worksheet.h"
#include "WorksheetReader.h"

namespace sulkan {

EditorPreview RenderEditorPreview(const UnitBlocks& blocks, const UnitAddress& address,
                                  const ScreenView& view, SheetShared& shared,
                                  const SheetPictures& pictures) {
    EditorPreview preview;
    if (auto problem = ValidateUnit(blocks)) preview.problem = *problem;
    const std::string header = UnitHeaderOf(address);
    const std::vector<std::string> lines = UnitLines(header, blocks, UnitOrder::Existing);
    ReadRequest request;
    request.headerLine = header;
    request.section = address.section;
    request.unit = address.unit;
    HoldingArea holding;
    const ReadResult read = ReadIntoHolding(lines, request, holding, shared);
    if (!read.ok()) {
        if (preview.problem.empty() && read.message) preview.problem = *read.message;
        return preview;
    }
    LoadOptions options;
    options.answersShown = view.answersShown;
    options.address = address;
    Worksheet worksheet;
    LoadWorksheet(holding, worksheet, options, shared);
    const RenderInputs inputs = ScreenInputs(worksheet, view, pictures);
    preview.sheet = RenderSheetImage(worksheet, inputs, shared);
    return preview;
}

}  // namespace sulkan
