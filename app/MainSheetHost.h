// What the worksheet windows and the dialogs that serve them get from the main window: the
// program's values straight from the state, the view controls and window list through the main
// window, and the commands of a worksheet's menu routed to the main window's buttons.
#pragma once

#include <QString>
#include <string>

#include "AppState.h"
#include "Prompter.h"
#include "SheetState.h"
#include "WorksheetHost.h"

namespace sulkan {

class TfrmMain;

class MainSheetHost : public WorksheetHost {
public:
    MainSheetHost(TfrmMain& window, AppState& state, SheetShared& shared, Prompter& prompter);

    bool answerDisplay() const override;
    bool showAlternatives() const override;
    bool largerAnswers() const override;
    int questionSize() const override;
    bool shrunk() const override;
    int panelHeight() const override { return m_state.PanelHeight; }

    std::string programFolder() const override { return m_state.ProgramFolder; }
    std::string mainFontName() const override { return m_state.MainFontName; }
    std::string schoolName() const override { return m_state.SchoolName; }
    std::string learnerName() const override { return m_state.LearnerName; }
    bool learnerMode() const override { return m_state.LearnerMode; }
    std::string figureFolder(int lesson) const override;
    std::string copyFileFolder(int lesson) const override;

    SheetShared& sheetShared() override { return m_shared; }
    Prompter& prompter() override { return m_prompter; }

    void worksheetActivated(TfrmPrint* window) override;
    void worksheetClosing(TfrmPrint* window) override;
    void runCommand(WorksheetCommand command) override;
    bool answerDisplayEnabled() const override;
    void regionSelected(int x1, int y1, int x2, int y2) override;
    void regionCleared() override;
    void worksheetRenamed(TfrmPrint* window, const QString& oldIdentity) override;

    void toggleShrink() override;
    void scrollActive() override;
    void setAnswerDisplayOn() override;

    int tickedPaperWidth() const override;
    bool paperFixed() const override { return m_state.PaperFixed; }
    void applyPaperChoice(int width) override;

    std::string numberText() const override;

private:
    TfrmMain& m_window;
    AppState& m_state;
    SheetShared& m_shared;
    Prompter& m_prompter;
};

}  // namespace sulkan
