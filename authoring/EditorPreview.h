// The question editor's live preview: the unit as its fields stand, read by the worksheet reader
// and drawn by the sheet renderer, so the teacher sees the sheet the saved unit will give.
#pragma once

#include <QImage>
#include <string>

#include "QuestionFile.h"
#include "SheetImage.h"
#include "SheetState.h"
#include "UnitAddress.h"

namespace sulkan {

struct EditorPreview {
    QImage sheet;         // null when the reader refuses the unit
    std::string problem;  // CP932: the check's or the reader's first problem; empty when none
};

// Checks the blocks as OK would, reads them as a worksheet would and draws the sheet with the
// given view (its answersShown chooses the answer or the question sheet). shared is the
// preview's own, so the open worksheets' blanks and text pieces stay theirs.
// pictures are the figures' pictures (none drawn when empty).
EditorPreview RenderEditorPreview(const UnitBlocks& blocks, const UnitAddress& address,
                                  const ScreenView& view, SheetShared& shared,
                                  const SheetPictures& pictures = {});

}  // namespace sulkan
