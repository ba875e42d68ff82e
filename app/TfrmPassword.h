// The password dialog of the learner log-on: checks the learner's password of the current lesson,
// or sets a new one (typed twice) in the learner's record file.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "Prompter.h"

namespace sulkan {

class TfrmPassword : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPassword(Prompter& prompter, QWidget* parent = nullptr);

    // Shows the dialog for a learner (CP932). storedPassword is "?" when none is set yet; a new
    // one is written to recordFile. OK or Cancel.
    int showFor(const std::string& learnerName, const std::string& storedPassword,
                const std::string& recordFile);

    QLabel* lblMess;
    QLabel* lblPW;
    QLabel* Label1;
    QLineEdit* mskPW;
    QLineEdit* mskPW2;
    QLabel* lblRetry;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void btnOkClick();

    Prompter& m_prompter;
    std::string m_learner;
    std::string m_stored = "?";
    std::string m_recordFile;
};

}  // namespace sulkan
