// What the drill window gets from the main window, each part handed in on its own rather than the
// window whole: the worksheet view, the state, the settings, the "別解表示" box, the command
// panel, the print dialog and the record viewer.
#pragma once

#include <QObject>
#include <functional>

#include "AppState.h"
#include "DrillHost.h"
#include "DrillRandom.h"
#include "SettingsStore.h"

class QCheckBox;
class QWidget;

namespace sulkan {

class TfrmPrintOk;

struct DrillFrame {
    WorksheetHost& sheets;
    AppState& state;
    SettingsStore& settings;
    QCheckBox& alternatives;  // "別解表示"
    const QWidget& commandPanel;
    TfrmPrintOk& printDialog;
    // Shows the record viewer; true when the learner erased records in it.
    std::function<bool()> showRecordViewer;
};

class MainDrillHost : public QObject, public DrillHost {
public:
    MainDrillHost(DrillFrame frame, QObject* parent);

    WorksheetHost& worksheetHost() override { return m_frame.sheets; }
    bool alternativesShown() const override;
    void setAlternativesShown(bool shown) override;
    int commandPanelWidth() const override;
    RecordPlace recordPlace(const Worksheet& worksheet) const override;
    void recordWritten() override { m_frame.state.MarksRecountPending = true; }
    void printSheet(TfrmPrint* window, std::function<void(PrintSource&)> source) override;
    void showRecordViewer() override;
    SettingsStore* settings() override { return &m_frame.settings; }

    SeededRandom random;

private:
    DrillFrame m_frame;
};

}  // namespace sulkan
