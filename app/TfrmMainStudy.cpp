// The main window's study command and what the drill window gets from the main window.
#include <QObject>
#include <random>

#include "DrillHost.h"
#include "DrillRandom.h"
#include "TfrmKiroku.h"
#include "TfrmMain.h"
#include "TfrmPrint.h"
#include "TfrmPrintOk.h"
#include "TfrmRenshu.h"

namespace sulkan {

class MainDrillHost : public QObject, public DrillHost {
public:
    MainDrillHost(TfrmMain& main, SettingsStore& settings)
        : QObject(&main), random(std::random_device{}()), m_main(main), m_settings(settings) {}

    WorksheetHost& worksheetHost() override { return m_main; }
    bool alternativesShown() const override { return m_main.chkBekkai->isChecked(); }
    void setAlternativesShown(bool shown) override { m_main.chkBekkai->setChecked(shown); }
    int commandPanelWidth() const override { return m_main.pnlMain->width(); }
    RecordPlace recordPlace(const Worksheet& worksheet) const override {
        const AppState& s = m_main.state();
        return StudyRecordPlace(worksheet, s.ProgramFolder, s.Course, s.LearnerName, s.RunFromCdRom,
                                s.RecordsFolder);
    }
    void recordWritten() override { m_main.state().MarksRecountPending = true; }
    void printSheet(TfrmPrint* window, std::function<void(PrintSource&)> source) override {
        if (m_main.frmPrintOk) m_main.frmPrintOk->showFor(window, std::move(source));
    }
    void showRecordViewer() override {
        m_main.frmKiroku->setGeometry(0, 0, m_main.width(), m_main.height());
        m_main.frmKiroku->showFor(m_main.recordViewerSource());
        if (m_main.frmKiroku->erased()) m_main.state().MarksRecountPending = true;
    }
    SettingsStore* settings() override { return &m_settings; }

    SeededRandom random;

private:
    TfrmMain& m_main;
    SettingsStore& m_settings;
};

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
        m_drillHost = new MainDrillHost(*this, m_settings);
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
