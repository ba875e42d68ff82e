// A main window stand-in for the worksheet windows' and dialogs' tests: view values the test sets,
// and a record of every command, region, close and view request it gets.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "Prompter.h"
#include "Sjis.h"
#include "TfrmPrint.h"
#include "WorksheetHost.h"

namespace sulkan::test {

class FakeHost : public WorksheetHost {
public:
    // Also notes whether activation filling was off while each question was asked.
    class Prompts : public ScriptedPrompter {
    public:
        explicit Prompts(const SheetShared& shared) : m_shared(shared) {}
        Answer yesNoCancel(const std::string& text) override {
            fillWhileAsked.push_back(m_shared.activationFillEnabled);
            return ScriptedPrompter::yesNoCancel(text);
        }
        std::vector<bool> fillWhileAsked;

    private:
        const SheetShared& m_shared;
    };

    bool answerDisplay() const override { return answersShown; }
    bool showAlternatives() const override { return true; }
    bool largerAnswers() const override { return false; }
    int questionSize() const override { return 12; }
    bool shrunk() const override { return reduced; }
    int panelHeight() const override { return panel; }

    std::string programFolder() const override { return program; }
    std::string mainFontName() const override { return sjis("ＭＳ 明朝"); }
    std::string schoolName() const override { return {}; }
    std::string learnerName() const override { return {}; }
    bool learnerMode() const override { return learner; }
    std::string figureFolder(int) const override { return figures; }

    SheetShared& sheetShared() override { return shared; }
    Prompter& prompter() override { return prompts; }

    void worksheetActivated(TfrmPrint*) override {}
    void worksheetClosing(TfrmPrint* window) override { closing.push_back(window); }
    void runCommand(WorksheetCommand command) override {
        commands.push_back(command);
        if (command == WorksheetCommand::ToggleAnswers) answersShown = !answersShown;
    }
    bool answerDisplayEnabled() const override { return answersEnabled; }
    void regionSelected(int x1, int y1, int x2, int y2) override {
        region = std::array<int, 4>{x1, y1, x2, y2};
    }
    void regionCleared() override {
        region.reset();
        ++regionClears;
    }
    void worksheetRenamed(TfrmPrint*, const QString& oldIdentity) override {
        renamedFrom.push_back(oldIdentity);
    }

    void toggleShrink() override {
        reduced = !reduced;
        ++shrinkToggles;
        if (window) window->Redraw();
    }
    void scrollActive() override { ++scrolls; }
    void setAnswerDisplayOn() override {
        ++answerDisplaySwitches;
        answersShown = true;
    }

    int tickedPaperWidth() const override { return paper; }
    bool paperFixed() const override { return false; }
    void applyPaperChoice(int width) override { paperChoices.push_back(width); }
    std::string numberText() const override { return {}; }

    bool answersShown = false;
    bool answersEnabled = true;
    bool reduced = false;
    bool learner = false;
    int panel = 560;
    int paper = 630;
    TfrmPrint* window = nullptr;  // redrawn when the view is shrunk or enlarged
    std::string program;          // CP932 folders with their trailing separator
    std::string figures;
    SheetShared shared;
    Prompts prompts{shared};

    std::vector<WorksheetCommand> commands;
    std::vector<TfrmPrint*> closing;
    std::optional<std::array<int, 4>> region;
    int regionClears = 0;
    std::vector<QString> renamedFrom;
    std::vector<int> paperChoices;
    int shrinkToggles = 0;
    int scrolls = 0;
    int answerDisplaySwitches = 0;
};

}  // namespace sulkan::test
