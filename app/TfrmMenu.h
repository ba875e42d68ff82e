// Unit selection: the modal window in which a lesson, a section, a unit and optionally one of the
// unit's similar problems are chosen.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "AppState.h"
#include "Prompter.h"

namespace sulkan {

class TfrmMenu : public QDialog {
    Q_OBJECT
public:
    TfrmMenu(AppState& state, Prompter& prompter, QWidget* parent = nullptr);

    // Re-reads the course index into this window and the course tables (set by the main window).
    std::function<bool()> ReadCourseIndexHook;

    // Shows the course title and the lesson titles of the course index (CP932).
    void setCourseIndex(const std::string& title, const std::vector<std::string>& lessonTitles);
    void clearLists();

    QLabel* pnlTitle;
    QLabel* pnlLesson;
    QListWidget* lstLesson;
    QLabel* pnlSection;
    QListWidget* lstSection;
    QLabel* pnlUnit;
    QListWidget* lstUnit;
    QLabel* Label2;
    QLabel* lblRuidai;
    QListWidget* lstRuidai;
    QPushButton* btnRuidaiClear;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* btnZenTangen;
    QPushButton* btnShowRecord;

private:
    AppState& m_state;
    Prompter& m_prompter;
};

}  // namespace sulkan
