// The tips dialog ("ご存じですか"): one button per tip opens its help page; the box below says
// whether the dialog comes up again at the next start ("ShowDoYouKnow").
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <functional>

#include "AppState.h"
#include "SettingsStore.h"

namespace sulkan {

class TfrmDoYouKnow : public QDialog {
    Q_OBJECT
public:
    TfrmDoYouKnow(AppState& state, SettingsStore& settings, QWidget* parent = nullptr);

    // The stored "ShowDoYouKnow", as read at start-up; each showing starts from it.
    void setShowNextTime(bool show) { m_showNextTime = show; }
    bool showNextTime() const { return m_showNextTime; }
    int showModal();

    // Called by "閉じる" when no worksheet is open, to show the title picture again.
    std::function<void()> ShowTitleHook;

    QGroupBox* grbTips;
    QPushButton* btnStudy;
    QPushButton* btnWord;
    QPushButton* btnFax;
    QPushButton* btnCFlag;
    QPushButton* btnClipBoard;
    QPushButton* btnRuidai;
    QCheckBox* chkNextTime;
    QPushButton* btnClose;

private:
    void btnCloseClick();

    AppState& m_state;
    SettingsStore& m_settings;
    bool m_showNextTime = true;
};

}  // namespace sulkan
