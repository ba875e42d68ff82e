// The main window's study command: the drill over the active worksheet.
#include "MainDrillHost.h"
#include "TfrmMain.h"
#include "TfrmPrint.h"
#include "TfrmRenshu.h"

namespace sulkan {

void TfrmMain::btnTestClick() {
    const bool hadWorksheet = activeWorksheet() != nullptr;
    if (hadWorksheet) {
        activeWorksheet()->scrollToTop();
    } else {
        hidePopupPanels();
        if (!OpenMasterUnit() || !activeWorksheet()) {
            FocusMain();
            return;
        }
        spnKranWX->setValue(activeWorksheet()->worksheet().params.BoxWidth);
        ClearWorksheetModified();
    }
    if (!frmRenshu) {
        m_drillHost = new MainDrillHost({m_sheetHost, m_state, m_settings, *chkBekkai, *pnlMain,
                                         *frmPrintOk, [this] { return showRecordViewer(); }},
                                        this);
        frmRenshu = new TfrmRenshu(*m_drillHost, m_drillHost->random, this);
    }
    const bool answers = m_answerDisplay;
    m_answerDisplay = false;
    frmRenshu->setGeometry(0, 0, width(), height());
    frmRenshu->showFor(activeWorksheet());
    // The answer display command toggles: from the opposite it comes back to what it was.
    m_answerDisplay = !answers;
    btnKaitouClick();
    if (!hadWorksheet) btnFpCloseClick();
    FocusMain();
}

}  // namespace sulkan
