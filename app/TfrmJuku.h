// The school-name dialog: the title printed on sheets as the school or class name ("theSchool").
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppState.h"
#include "Prompter.h"
#include "SettingsStore.h"

namespace sulkan {

class TfrmJuku : public QDialog {
    Q_OBJECT
public:
    TfrmJuku(AppState& state, SettingsStore& settings, Prompter& prompter,
             QWidget* parent = nullptr);

    // Shows the dialog modally; OK stores the name in SchoolName and "theSchool".
    int showModal();

    QLabel* Label1;
    QLineEdit* edtSchool;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* btnOk;
    QPushButton* btnCancel;

private:
    void FormShow();
    void btnOkClick();

    AppState& m_state;
    SettingsStore& m_settings;
    Prompter& m_prompter;
    bool m_shownBefore = false;
};

}  // namespace sulkan
