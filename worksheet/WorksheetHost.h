// What a worksheet window needs from the frame window that holds it, passed down as a small
// interface so that the worksheet never reaches up into the application.
#pragma once

#include <string>

#include "Prompter.h"
#include "SheetState.h"

namespace sulkan {

class TfrmPrint;

class WorksheetHost {
public:
    virtual ~WorksheetHost() = default;

    // The main window's view controls.
    virtual bool answerDisplay() const = 0;     // "解答表示"
    virtual bool showAlternatives() const = 0;  // "別解表示"
    virtual bool largerAnswers() const = 0;     // "解を大きくする"
    virtual int questionSize() const = 0;       // the size control
    virtual bool shrunk() const = 0;            // reduced view
    virtual int panelHeight() const = 0;        // height of the main panel, for the reduced view

    // Program-wide values, CP932.
    virtual std::string programFolder() const = 0;
    virtual std::string mainFontName() const = 0;
    virtual std::string schoolName() const = 0;
    virtual std::string learnerName() const = 0;
    // The lesson's figure folder ("Graph\"), or empty.
    virtual std::string figureFolder(int lesson) const = 0;

    virtual SheetShared& sheetShared() = 0;
    virtual Prompter& prompter() = 0;

    // A worksheet window became the active one, or is closing.
    virtual void worksheetActivated(TfrmPrint* window) = 0;
    virtual void worksheetClosing(TfrmPrint* window) = 0;
};

}  // namespace sulkan
