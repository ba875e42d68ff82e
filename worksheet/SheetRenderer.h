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

// What the drill adds when it draws its sheet (SheetShared::drillDrawing).
struct DrillRenderInputs {
    std::vector<std::string> entries;  // the learner's entry per blank number (index 0 unused)
    std::vector<int> pieceStarts;      // Worksheet::pieceStarts of the last ordinary pass
};

// Draws the drill's grading mark of one blank after its frame: the blank's number and record,
// its rectangles at the pass's scale, and s.
using GradingMarkDrawer = std::function<void(Canvas& canvas, int blank, const BlankRecord& record,
                                             const BlankFrame& frame, double s)>;

struct RenderInputs {
    bool toPrinter = false;
    int pageWidth = 630;  // the target in device pixels (the sheet image on screen)
    int pageHeight = 891;
    double s = 1.0;  // size scale: margins, line pitch, pens, frames, figures
    double r = 1.0;  // header scale: the header's vertical positions
    // The target's pixels per point divided by the sheet image's (1 on screen): converts text
    // heights measured on the printer back to sheet units.
    double pointScale = 1.0;

    int questionSize = 12;          // the main window's size control; below 1 reads as 10
    std::string mainFontName;       // CP932, "ＭＳ 明朝"
    bool answersShown = false;      // "解答表示"
    bool showAlternatives = false;  // "別解表示"
    bool largerAnswers = false;     // "解を大きくする"

    std::string schoolName;   // CP932
    std::string learnerName;  // CP932
    bool forLearner = false;  // shown to a logged-on learner (drill)
    std::string numberText;   // "№ 5", or empty without numbering
    LocalTime now;
    std::string sourceName;  // question-file base name + section + ".que-U" + unit

    Bitmap classFlag;                      // empty when missing
    std::vector<Bitmap> questionPictures;  // figure n at n - 1; empty Bitmap when missing
    std::vector<Bitmap> answerPictures;

    bool graded = false;  // drill: the sheet carries the learner's score
    int score = 0;
    DrillRenderInputs drill;
    GradingMarkDrawer gradingMark;  // drill: called for every blank after its frame
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

// Aims inputs at the worksheet's sheet image, or at a printer page.
void AimAtScreen(RenderInputs& inputs, const Worksheet& worksheet);
void AimAtPrinter(RenderInputs& inputs, const Worksheet& worksheet, int pageWidth, int pageHeight,
                  double pointScale);

// Draws the worksheet. Refills the worksheet's answer list (and, on ordinary screen passes, its
// piece starts); while blank recording is on and not printing, refills the blank table's layout
// fields (the drill's grading fields stay). Question figures without a position get one written
// into their triples.
RenderOutput RenderSheet(Worksheet& worksheet, Canvas& canvas, const RenderInputs& inputs,
                         SheetShared& shared);

}  // namespace sulkan
