// What a worksheet window needs from the frame window that holds it, passed down as a small
// interface so that the worksheet never reaches up into the application.
#pragma once

#include <QString>
#include <string>

#include "Prompter.h"
#include "SheetState.h"

namespace sulkan {

class TfrmPrint;

// Commands of the worksheet window's menu that the main window carries out, so that the menu and
// the main window's buttons do the same thing.
enum class WorksheetCommand {
    OpenMaster,     // "開く"
    SaveMaster,     // "上書き保存"
    SaveCopy,       // "名前を付けて保存"
    Print,          // "印刷"
    Exit,           // "終了"
    Juku,           // "学校名・塾名"
    EditMaster,     // "編集"
    ToggleAnswers,  // "解答表示"
    SetPrinter,     // "印字モードの設定"
    SetKran,        // "解答欄の設定"
    SetPaper,       // "用紙サイズとオプションの設定"
    AddUnit,        // "追加"
};

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
    // Learner mode ("生徒用"): what a learner does to a sheet is never kept, so it marks nothing
    // modified and offers no save; figures stay where the teacher put them.
    virtual bool learnerMode() const { return false; }
    // The lesson's figure folder ("Graph\"), or empty.
    virtual std::string figureFolder(int lesson) const = 0;
    // The folder copy files of the lesson are saved in and listed from.
    virtual std::string copyFileFolder(int /*lesson*/) const { return programFolder(); }

    virtual SheetShared& sheetShared() = 0;
    virtual Prompter& prompter() = 0;

    // A worksheet window became the active one, or is closing.
    virtual void worksheetActivated(TfrmPrint* window) = 0;
    virtual void worksheetClosing(TfrmPrint* window) = 0;

    virtual void runCommand(WorksheetCommand command) = 0;
    // Whether the main window's answer display button can be used (it cannot while a mode
    // forces the answers on or off).
    virtual bool answerDisplayEnabled() const = 0;
    // A region of the sheet (sheet units, corners in any order) was framed for copying; the main
    // window's copy and cancel buttons become usable. Cleared when the frame goes away.
    virtual void regionSelected(int x1, int y1, int x2, int y2) = 0;
    virtual void regionCleared() = 0;
    // The window's identity changed (saved under a new name): the open-window list follows.
    virtual void worksheetRenamed(TfrmPrint* window, const QString& oldIdentity) = 0;

    // View commands of the main window.
    virtual void toggleShrink() = 0;        // "縮小" / "拡大"
    virtual void scrollActive() = 0;        // jump between the top and the bottom of the sheet
    virtual void setAnswerDisplayOn() = 0;  // switch the answer display on (no toggle)

    // Paper: the width of the ticked paper radio, whether the paper is fixed, and the paper
    // dialog's OK (current paper, fixing, applying it and storing it as the setting).
    virtual int tickedPaperWidth() const = 0;
    virtual bool paperFixed() const = 0;
    virtual void applyPaperChoice(int width) = 0;

    // The "№" text of the sheet header from the print-mode dialog's numbering ("№ 5" or empty).
    virtual std::string numberText() const = 0;
};

}  // namespace sulkan
