#include "MainSheetHost.h"

#include "CopyFileSave.h"
#include "CourseTree.h"
#include "TfrmMain.h"

namespace sulkan {

MainSheetHost::MainSheetHost(TfrmMain& window, AppState& state, SheetShared& shared,
                             Prompter& prompter)
    : m_window(window), m_state(state), m_shared(shared), m_prompter(prompter) {}

bool MainSheetHost::answerDisplay() const {
    return m_window.answerDisplay();
}

bool MainSheetHost::showAlternatives() const {
    return m_window.chkBekkai->isChecked();
}

bool MainSheetHost::largerAnswers() const {
    return m_window.chkKaiSize->isChecked();
}

int MainSheetHost::questionSize() const {
    return m_window.spnMojiSize->value();
}

bool MainSheetHost::shrunk() const {
    return m_window.shrunk();
}

std::string MainSheetHost::figureFolder(int lesson) const {
    return FigureFolderOf(m_state.ProgramFolder, m_state.Course, lesson);
}

std::string MainSheetHost::copyFileFolder(int lesson) const {
    return CopyFileFolder(m_state.ProgramFolder, m_state.Course, lesson);
}

void MainSheetHost::worksheetActivated(TfrmPrint* window) {
    m_window.worksheetActivated(window);
}

void MainSheetHost::worksheetClosing(TfrmPrint* window) {
    m_window.worksheetClosing(window);
}

void MainSheetHost::runCommand(WorksheetCommand command) {
    m_window.runCommand(command);
}

bool MainSheetHost::answerDisplayEnabled() const {
    return m_window.btnKaitou->isEnabled();
}

void MainSheetHost::regionSelected(int x1, int y1, int x2, int y2) {
    m_window.regionSelected(x1, y1, x2, y2);
}

void MainSheetHost::regionCleared() {
    m_window.regionCleared();
}

void MainSheetHost::worksheetRenamed(TfrmPrint* window, const QString& oldIdentity) {
    m_window.worksheetRenamed(window, oldIdentity);
}

void MainSheetHost::toggleShrink() {
    m_window.toggleShrink();
}

void MainSheetHost::scrollActive() {
    m_window.scrollActive();
}

void MainSheetHost::setAnswerDisplayOn() {
    m_window.setAnswerDisplayOn();
}

int MainSheetHost::tickedPaperWidth() const {
    return m_window.tickedPaperWidth();
}

void MainSheetHost::applyPaperChoice(int width) {
    m_window.applyPaperChoice(width);
}

std::string MainSheetHost::numberText() const {
    return m_window.numberText();
}

}  // namespace sulkan
