#include "MainDrillHost.h"

#include <QCheckBox>
#include <random>

#include "TfrmPrintOk.h"

namespace sulkan {

MainDrillHost::MainDrillHost(DrillFrame frame, QObject* parent)
    : QObject(parent), random(std::random_device{}()), m_frame(std::move(frame)) {}

bool MainDrillHost::alternativesShown() const {
    return m_frame.alternatives.isChecked();
}

void MainDrillHost::setAlternativesShown(bool shown) {
    m_frame.alternatives.setChecked(shown);
}

int MainDrillHost::commandPanelWidth() const {
    return m_frame.commandPanel.width();
}

RecordPlace MainDrillHost::recordPlace(const Worksheet& worksheet) const {
    const AppState& s = m_frame.state;
    return StudyRecordPlace(worksheet, s.ProgramFolder, s.Course, s.LearnerName, s.RunFromCdRom,
                            s.RecordsFolder);
}

void MainDrillHost::printSheet(TfrmPrint* window, std::function<void(PrintSource&)> source) {
    m_frame.printDialog.showFor(window, std::move(source));
}

void MainDrillHost::showRecordViewer() {
    if (m_frame.showRecordViewer && m_frame.showRecordViewer())
        m_frame.state.MarksRecountPending = true;
}

}  // namespace sulkan
