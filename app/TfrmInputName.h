// The name dialog of the learner log-on: the roster "sname.txt", adding and deleting names, and
// logging on (through the password dialog for every learner but "共通").
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <string>

#include "AppState.h"
#include "Prompter.h"
#include "SettingsStore.h"

namespace sulkan {

class TfrmPassword;

class TfrmInputName : public QDialog {
    Q_OBJECT
public:
    TfrmInputName(AppState& state, Prompter& prompter, SettingsStore& settings,
                  QWidget* parent = nullptr);

    // Called after a successful log-on, before the dialog closes with OK: the main window shows
    // the name and unit selection counts again.
    std::function<void()> LoggedOnHook;

    std::string rosterPath() const { return m_state.LogOnFolder + "\\sname.txt"; }

    QPlainTextEdit* Memo1;
    QLabel* Label2;
    QLineEdit* edtName;
    QLabel* Label1;
    QLineEdit* edtMeibo;
    QListWidget* lstName;
    QPushButton* btnAdd;
    QPushButton* btnDelete;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    TfrmPassword* frmPassword;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void btnAddClick();
    void btnDeleteClick();
    void btnOkClick();
    // The typed name as CP932 when it can name a learner; otherwise says why and gives nullopt.
    std::optional<std::string> typedName();
    // Saves the names added and removed in this dialog into the roster as it is now; says why and
    // gives false when it cannot be read or written.
    bool saveRoster();

    AppState& m_state;
    Prompter& m_prompter;
    SettingsStore& m_settings;
    std::vector<std::string> m_names;   // CP932 bytes of the listed names, as in the file
    std::vector<std::string> m_loaded;  // the roster as last read or saved here
};

}  // namespace sulkan
