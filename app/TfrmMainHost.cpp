// The main window's side of what the worksheet windows see (through MainSheetHost): their
// activation and closing, their commands and framed regions.
#include <QMdiSubWindow>
#include <QTimer>
#include <algorithm>

#include "CopyFileSave.h"
#include "CourseTree.h"
#include "TfrmDummy.h"
#include "TfrmMain.h"
#include "TfrmPrint.h"
#include "TfrmPrintMode.h"
#include "TfrmPrintOk.h"
#include "TfrmSetPaper.h"
#include "TfrmSettei.h"

namespace sulkan {

void TfrmMain::worksheetActivated(TfrmPrint* window) {
    m_activationHistory.erase(
        std::remove(m_activationHistory.begin(), m_activationHistory.end(), window),
        m_activationHistory.end());
    m_activationHistory.push_back(window);
    QMdiSubWindow* sub = subWindowOf(window);
    if (sub && !sub->isMaximized()) {
        sub->move(0, 0);
        sub->resize(m_state.ChildAreaWidth, m_state.PanelHeight);
    }
    if (!m_shared.activationFillEnabled) {
        // A print job or a close query is running: the controls and the blank table stay.
        m_state.ActiveWorksheet = window;
        updateMenuBar();
        return;
    }
    const Worksheet& sheet = window->worksheet();
    // Fill the controls from the worksheet without each change redrawing it.
    m_shared.redrawEnabled = false;
    if (m_state.AnswerDisplayMode == 0) {
        m_answerDisplay = sheet.params.ShowAnswers;
        btnKaitou->setIcon(QIcon(m_answerDisplay ? imgRED->pixmap() : imgDRED->pixmap()));
    }
    spnGyouSpace->setValue(sheet.params.LineSpacing);
    spnMojiSize->setValue(sheet.params.FontSize);
    spnGyoukanSub->setValue(sheet.params.SubLineSpacing);
    spnKranWX->setValue(sheet.params.BoxWidth);
    frmSettei->setActiveWorksheet(window);
    frmSettei->fillFrom(sheet);
    frmPrintOk->showStartNumber(sheet.params.StartNumber);
    tickPaperRadio(PaperIndexForWidth(sheet.params.PaperWidth));
    m_shared.redrawEnabled = true;

    m_state.ActiveWorksheet = window;
    updateMenuBar();
    m_shared.blankRecording = true;
    window->Redraw();
}

void TfrmMain::bringNextWorksheetForward() {
    // The worksheet used last before the one that closed; the title window stays behind them.
    for (auto it = m_activationHistory.rbegin(); it != m_activationHistory.rend(); ++it) {
        QMdiSubWindow* sub = subWindowOf(*it);
        if (!sub || !sub->isVisible()) continue;
        dummyWindow->lower();
        mdiArea->setActiveSubWindow(sub);
        sub->raise();
        return;
    }
}

void TfrmMain::worksheetClosing(TfrmPrint* window) {
    m_activationHistory.erase(
        std::remove(m_activationHistory.begin(), m_activationHistory.end(), window),
        m_activationHistory.end());
    // Once the window is gone: the frame would otherwise bring the title window forward.
    if (!m_activationHistory.empty())
        QTimer::singleShot(0, this, &TfrmMain::bringNextWorksheetForward);
    if (frmSettei->activeWorksheet() == window) frmSettei->setActiveWorksheet(nullptr);
    int line = FindOpenWorksheet(window->identity());
    if (line >= 0) delete lstWindow->takeItem(line);
    if (m_state.ActiveWorksheet == window) m_state.ActiveWorksheet = nullptr;
    updateMenuBar();
    --m_state.OpenWorksheetCount;
}

void TfrmMain::runCommand(WorksheetCommand command) {
    switch (command) {
        case WorksheetCommand::OpenMaster:
            btnOpenMasterClick();
            break;
        case WorksheetCommand::Exit:
            close();
            break;
        case WorksheetCommand::ToggleAnswers:
            if (btnKaitou->isEnabled()) btnKaitouClick();
            break;
        case WorksheetCommand::AddUnit:
            btnAddClick();
            break;
        case WorksheetCommand::SaveMaster:
            btnSaveMasterClick();
            break;
        case WorksheetCommand::SaveCopy:
            btnSaveCopyClick();
            break;
        case WorksheetCommand::SetPaper:
            frmSetPaper->showFor(activeWorksheet());
            break;
        case WorksheetCommand::SetKran:
            btnKranClick();
            break;
        case WorksheetCommand::Print:
            btnStartPrintClick();
            break;
        case WorksheetCommand::EditMaster:
            btnEditClick();
            break;
        case WorksheetCommand::SetPrinter:
            frmPrintMode->exec();
            break;
        case WorksheetCommand::Juku:
            mnuJukuClick();
            break;
        default:
            break;
    }
}

void TfrmMain::regionSelected(int x1, int y1, int x2, int y2) {
    m_copyRegion = QRect(QPoint(x1, y1), QPoint(x2, y2));  // kept unnormalised: the two corners
    btnCopy->setEnabled(true);
    btnCancel->setEnabled(true);
}

void TfrmMain::regionCleared() {
    m_copyRegion = QRect();
    btnCopy->setEnabled(false);
    btnCancel->setEnabled(false);
}

void TfrmMain::worksheetRenamed(TfrmPrint* window, const QString& oldIdentity) {
    int line = FindOpenWorksheet(oldIdentity);
    if (line >= 0) delete lstWindow->takeItem(line);
    lstWindow->addItem(window->identity());
}

void TfrmMain::setAnswerDisplayOn() {
    if (!m_answerDisplay) btnKaitouClick();
}

std::string TfrmMain::numberText() const {
    return frmPrintMode->numberText();
}

void TfrmMain::mdiAreaSubWindowActivated(QMdiSubWindow* window) {
    if (!window) return;
    if (window == dummyWindow) {
        frmDummy->fitToArea();
        return;
    }
    if (auto* sheet = qobject_cast<TfrmPrint*>(window->widget())) worksheetActivated(sheet);
}

}  // namespace sulkan
