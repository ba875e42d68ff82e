// The main window's Help menu, the school-name command and the tips at start-up.
#include <QTimer>

#include "Help.h"
#include "TfrmDoYouKnow.h"
#include "TfrmDummy.h"
#include "TfrmJuku.h"
#include "TfrmMain.h"
#include "TfrmVersion.h"

namespace sulkan {

void TfrmMain::createHelpWindows() {
    frmVersion = new TfrmVersion(this);
    frmJuku = new TfrmJuku(m_state, m_settings, m_prompter, this);
    frmDoYouKnow = new TfrmDoYouKnow(m_state, m_settings, this);
    frmDoYouKnow->ShowTitleHook = [this] { frmDummy->btnTitle->setVisible(true); };
    connect(mnuUsage, &QAction::triggered, this, &TfrmMain::mnuUsageClick);
    connect(mnuVersion, &QAction::triggered, this, &TfrmMain::mnuVersionClick);
    connect(mnuJuku, &QAction::triggered, this, &TfrmMain::mnuJukuClick);
    connect(mnuDoYouKnow, &QAction::triggered, this, &TfrmMain::mnuDoYouKnowClick);
}

void TfrmMain::mnuUsageClick() {
    pnlMain->setFocus();
    ShowHelpContents();
}

void TfrmMain::mnuVersionClick() {
    frmVersion->showFor(windowTitle());
    FocusMain();
}

void TfrmMain::mnuJukuClick() {
    // Worksheets take the name when they draw their header.
    if (frmJuku->showModal() == QDialog::Accepted) redrawActive();
    FocusMain();
}

void TfrmMain::mnuDoYouKnowClick() {
    frmDoYouKnow->showModal();
    FocusMain();
}

void TfrmMain::ShowTipsAtStart() {
    if (m_startupFailed || m_state.LearnerMode || !frmDoYouKnow->showNextTime()) return;
    // After the main window is on the screen, from the event loop.
    QTimer::singleShot(0, this, &TfrmMain::mnuDoYouKnowClick);
}

}  // namespace sulkan
