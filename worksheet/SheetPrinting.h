// Printing a worksheet, one job per copy: either the sheet image as on screen stretched over the
// page, or the sheet drawn again on the page at the printer's resolution. Jobs go to a
// PrintTarget, so the same code prints on paper, into a PDF file or into a test's recorder.
#pragma once

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QRect>
#include <QSizeF>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Progress.h"
#include "Result.h"
#include "SheetImage.h"
#include "SheetRenderer.h"
#include "SheetState.h"
#include "Worksheet.h"

namespace sulkan {

// Whether a target can take jobs now: the problem says why not; when it can, the value is a note
// (CP932) for after the jobs went out (a stopped queue holds them), empty when there is none.
using TargetCheck = Result<std::string>;

// Where print jobs go. One job is one page; its painter is active from beginJob until endJob or
// abortJob.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;

    // The page of the next job in device pixels, and the device's dots per inch.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual int resolution() const = 0;
    // The whole paper of the next job in millimetres; the page is the printable part of it.
    virtual QSizeF paperSize() const;

    // Asked once before the first job of a print.
    virtual TargetCheck check() { return std::string(); }
    // Names the jobs that follow (CP932).
    virtual void setJobName(const std::string& /*name*/) {}
    // Why the last job could not begin or end (CP932); empty when there is nothing to add.
    virtual std::string failure() const { return {}; }

    // How many copies of each job the printer makes by itself.
    virtual int copyCount() const { return 1; }
    virtual void setCopyCount(int /*copies*/) {}

    // Starts a job; nullptr when it cannot be started.
    virtual QPainter* beginJob() = 0;
    // Finishes the job; false when it could not be completed.
    virtual bool endJob() = 0;
    virtual void abortJob() = 0;

    // The canvas the sheet is drawn through on the job's page.
    virtual std::unique_ptr<Canvas> canvasFor(QPainter& painter);
};

enum class PrintMode {
    Faithful,  // "画面に忠実に印刷する": the screen image stretched over the page
    PrinterResolution,  // "プリンタの解像度で印刷する": the sheet drawn again on the page
};

// The numbering of copies as the print-mode dialog holds it.
class PrintNumbering {
public:
    virtual ~PrintNumbering() = default;
    virtual bool numberingOn() const = 0;
    virtual int startNumber() const = 0;
    virtual void setStartNumber(int number) = 0;
};

// "№ " and the start number (CP932) while numbering is on; empty otherwise.
std::string NumberText(bool numberingOn, int startNumber);

// Paper of a sheet width: "B5", "A4", "B4", "A3"; any other width counts as A4.
std::string PaperNameOf(int sheetWidth);
// The page of that paper (B5 and B4 are the JIS sizes, 182 and 257 mm wide).
QPageSize PageSizeOf(int sheetWidth);

// The name of a print job (CP932): the worksheet's title (its file name when it has none), "問題"
// or "解答", and the number of a numbered copy.
std::string JobNameOf(const Worksheet& worksheet, bool answers, const std::string& numberText);

// How much a sheet is reduced (below 1) or enlarged to fit paper of another size (millimetres),
// text, frames and figures alike; 1 on the sheet's own paper.
double FitScale(int sheetWidth, QSizeF paper);
// What the print dialog says about it (CP932): empty on the sheet's own paper.
std::string FitNotice(int sheetWidth, QSizeF paper);

// Inputs of a pass on a printer page of the given size and resolution. s and r both scale the
// sheet's width to the page width: on A4 that is page width ÷ 630, and other papers stay in
// proportion instead of running off the page.
RenderInputs PrinterInputs(const Worksheet& worksheet, const ScreenView& view,
                           const SheetPictures& pictures, int pageWidth, int pageHeight,
                           int resolution);

// Where the faithful mode puts the sheet image on a page: 6 sheet units in from the left edge,
// at the scale of the printer pass.
QRect FaithfulPageRect(QSize sheetImage, int pageWidth);

// One job: the sheet drawn on the target's page at its resolution. The blank table of the last
// screen pass is used as it stands, so that pass must have been of this worksheet.
// adjust, when given, changes the inputs of the pass (the drill adds its entries and marks).
bool PrintAtPrinterResolution(PrintTarget& target, Worksheet& worksheet, const ScreenView& view,
                              const SheetPictures& pictures, const std::string& numberText,
                              SheetShared& shared, RenderOutput* output = nullptr,
                              const std::function<void(RenderInputs&)>& adjust = {});

// One job: the sheet image stretched over the target's page.
bool PrintSheetImage(PrintTarget& target, const QImage& sheetImage);

// What a print job prints: the worksheet and what its window shows.
struct PrintSource {
    Worksheet* worksheet = nullptr;  // nothing is printed without one
    ScreenView view;                 // the main window's view, for the printer pass
    SheetPictures pictures;
    QImage screenImage;  // the full-size sheet image as on screen now
    // Draws the screen sheet again with the current number and returns the full-size image.
    // Without it every faithful copy is screenImage as it stands.
    std::function<QImage()> redrawScreen;
    // Changes the inputs of the printer pass: the drill's sheet carries entries, marks and score.
    std::function<void(RenderInputs&)> adjustInputs;
};

struct PrintResult {
    int jobs = 0;  // jobs completed
    // The target was not ready, or a job failed and the copies after it were not printed.
    std::optional<Problem> problem;
    // The user stopped the copies: the jobs done went out whole, copiesLeft were not printed.
    bool cancelled = false;
    int copiesLeft = 0;
    std::string note;  // CP932, for the user after jobs went out (a stopped queue holds them)

    bool stopped() const { return problem.has_value(); }
    // What the user is told (CP932): the problem, else what a stop left, else the note.
    std::optional<std::string> said() const;
};

// Prints one copy, or with numbering on as many copies as the target's copy count, each a job
// of its own with its own number and name (the target's count goes back to 1). Nothing is
// printed when the target's check fails. Each copy moves the start number on by 1; afterwards it
// reads 1 again, or, when a job failed or the copies were stopped, the number and the copy count
// of the copies not printed, so that printing again goes on from there. With more than one copy,
// progress hears of each copy once its job has ended; a stop takes effect between two jobs, so
// no page is left half printed. Activation does not fill the controls while the jobs run.
PrintResult PrintWorksheet(const PrintSource& source, PrintMode mode, PrintNumbering& numbering,
                           PrintTarget& target, SheetShared& shared, Progress* progress = nullptr);

// The sheet image on the clipboard.
void CopySheetToClipboard(const QImage& sheetImage);

}  // namespace sulkan
