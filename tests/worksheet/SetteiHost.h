// A main window stand-in for the settings dialog's tests: fixed view values, and a count of the
// view commands the dialog asks for.
#pragma once

#include "Prompter.h"
#include "Sjis.h"
#include "WorksheetHost.h"

namespace sulkan::test {

class SetteiHost : public WorksheetHost {
public:
    bool answerDisplay() const override { return answersShown; }
    bool showAlternatives() const override { return true; }
    bool largerAnswers() const override { return false; }
    int questionSize() const override { return 12; }
    bool shrunk() const override { return false; }
    int panelHeight() const override { return panel; }

    std::string programFolder() const override { return {}; }
    std::string mainFontName() const override { return sjis("ＭＳ 明朝"); }
    std::string schoolName() const override { return {}; }
    std::string learnerName() const override { return {}; }
    std::string figureFolder(int) const override { return {}; }

    SheetShared& sheetShared() override { return shared; }
    Prompter& prompter() override { return scripted; }

    void worksheetActivated(TfrmPrint*) override {}
    void worksheetClosing(TfrmPrint*) override {}
    void runCommand(WorksheetCommand) override {}
    bool answerDisplayEnabled() const override { return true; }
    void regionSelected(int, int, int, int) override {}
    void regionCleared() override {}
    void worksheetRenamed(TfrmPrint*, const QString&) override {}

    void toggleShrink() override { ++shrinkToggles; }
    void scrollActive() override { ++scrolls; }
    void setAnswerDisplayOn() override {
        ++answerDisplaySwitches;
        answersShown = true;
    }

    int tickedPaperWidth() const override { return 630; }
    bool paperFixed() const override { return false; }
    void applyPaperChoice(int) override {}
    std::string numberText() const override { return {}; }

    bool answersShown = true;
    int panel = 560;
    int shrinkToggles = 0;
    int scrolls = 0;
    int answerDisplaySwitches = 0;
    SheetShared shared;
    ScriptedPrompter scripted;
};

}  // namespace sulkan::test
