// The question editor's live preview: the unit as its fields stand, read by the worksheet reader
// and drawn by the sheet renderer as the question sheet and the answer sheet, so the teacher sees
// both sheets the saved unit will give.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <string>

#include "QuestionFile.h"
#include "SheetImage.h"
#include "SheetState.h"
#include "UnitAddress.h"
#include "WorksheetReader.h"

namespace sulkan {

// Where the two sheets go in an area, each under a caption line: side by side or one above the
// other, whichever shows them larger, never larger than their own size.
struct PreviewPlacement {
    QRect question, answer;  // the sheets' pictures; empty when nothing fits
    bool sideBySide = true;
};
PreviewPlacement PlacePreviewSheets(QSize area, QSize sheet, int captionHeight, int gap);

struct EditorPreview {
    QImage questionSheet;  // both null when the reader refuses the unit or nothing fits
    QImage answerSheet;    // at the size of their places
    PreviewPlacement place;
    std::string problem;  // CP932: the check's or the reader's first problem; empty when none
};

// The area the preview fills, with a caption line over each sheet and a gap between them.
struct PreviewArea {
    QSize size;
    int captionHeight = 0;
    int gap = 0;
};

// Checks the blocks as OK would, reads them once as a worksheet would and draws that worksheet
// twice, without and with its answers (the view's answersShown is not used), each straight at the
// size of its place in area. options are those the worksheet will be opened with (address, file,
// names for the title). shared is the preview's own, so the open worksheets' blanks and text
// pieces stay theirs. pictures are the figures' pictures (none drawn when empty).
EditorPreview RenderEditorPreview(const UnitBlocks& blocks, const LoadOptions& options,
                                  const ScreenView& view, SheetShared& shared,
                                  const PreviewArea& area, const SheetPictures& pictures = {});

}  // namespace sulkan
