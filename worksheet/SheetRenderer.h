// Draws a whole worksheet onto a canvas: header, styled question lines with their measured answer
// blanks, answers when shown, answer frames, figures and the class flag. The on-screen sheet, the
// printed page and the drill's sheet all come from this one routine.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "AnswerFrames.h"
#include "Canvas.h"
#include "SheetFigures.h"
#include "SheetState.h"
#include "TextRoutines.h"
#include "Worksheet.h"

namespace sulkan {

inline constexpr int kScaleBaseWidth = 630;  // sheet units across A4: s is 1 there
inline constexpr int kSourceNameShown = 40;  // bytes of the source name shown in the header

// Draws the drill's grading mark of one blank after its frame: the blank's number and record,
// its rectangles at the pass's scale, and s.
using GradingMarkDrawer = std::function<void(Canvas& canvas, int blank, const BlankRecord& record,
                                             const BlankFrame& frame, double s)>;

// Where a pass draws: the sheet image on screen, or a printer page.
struct SheetTarget {
    bool toPrinter = false;
    int pageWidth = 630;  // in device pixels (the sheet image on screen)
    int pageHeight = 891;
    double s = 1.0;  // size scale: margins, line pitch, pens, frames, figures
    double r = 1.0;  // header scale: the header's vertical positions
    // The target's pixels per point divided by the sheet image's (1 on screen): converts text
    // heights measured on the printer back to sheet units.
    double pointScale = 1.0;
};

// The main window's view of a sheet: its view controls and header names. CP932 texts.
struct ScreenView {
    bool answersShown = true;      // "解答表示"
    bool showAlternatives = true;  // "別解表示"
    bool largerAnswers = false;    // "解を大きくする"
    int questionSize = 12;         // the main window's size control; below 1 reads as 10
    std::string mainFontName;      // "ＭＳ 明朝"
    std::string schoolName;
    std::string learnerName;
};

// A view that shows no answers: what a pass draws unless told otherwise.
inline ScreenView AnswersHidden() {
    ScreenView view;
    view.answersShown = false;
    view.showAlternatives = false;
    return view;
}

// The pictures a sheet draws, loaded from the course.
struct SheetPictures {
    Bitmap classFlag;                      // empty when missing
    std::vector<Bitmap> question, answer;  // figure n at n - 1; an empty Bitmap when missing
};

// What the header says of this copy of the sheet.
struct SheetStamp {
    bool forLearner = false;  // shown to a logged-on learner (drill)
    std::string numberText;   // "№ 5", or empty without numbering
    LocalTime now;
    std::string sourceName;  // question-file base name + section + ".que-U" + unit
};

// What the drill adds when it draws its sheet (SheetShared::drillDrawing).
struct DrillMarks {
    bool graded = false;  // the sheet carries the learner's score
    int score = 0;
    std::vector<std::string> entries;  // the learner's entry per blank number (index 0 unused)
    std::vector<int> pieceStarts;      // Worksheet::pieceStarts of the last ordinary pass
    GradingMarkDrawer gradingMark;     // called for every blank after its frame
};

struct RenderInputs {
    SheetTarget target;
    ScreenView view = AnswersHidden();
    SheetPictures pictures;
    SheetStamp stamp;
    DrillMarks drill;
};

struct RenderOutput {
    bool drawn = false;                 // false while redrawing is suppressed
    std::vector<std::string> messages;  // CP932, for the window to show
    FigurePlacement figures;            // imgFig1..imgFig16, sheet units
    FigurePlace classFlag;              // sheet units; hidden when not drawn
    bool figuresWrittenBack = false;    // figure positions were written into the worksheet
};

// The scales of a target: 1 and 1 on screen; on the printer s = page width ÷ 630 and r = page
// width ÷ sheet width.
struct TargetScales {
    double s = 1.0, r = 1.0;
};
TargetScales ScalesFor(bool toPrinter, int pageWidth, int sheetWidth);

// The worksheet's sheet image, or a printer page, as the target of a pass.
SheetTarget ScreenTarget(const Worksheet& worksheet);
SheetTarget PrinterTarget(const Worksheet& worksheet, int pageWidth, int pageHeight,
                          double pointScale);

// Draws the worksheet. Refills the worksheet's answer list (and, on ordinary screen passes, its
// piece starts); while blank recording is on and not printing, refills the blank table's layout
// fields (the drill's grading fields stay). Question figures without a position get one written
// into their triples.
RenderOutput RenderSheet(Worksheet& worksheet, Canvas& canvas, const RenderInputs& inputs,
                         SheetShared& shared);

}  // namespace sulkan
