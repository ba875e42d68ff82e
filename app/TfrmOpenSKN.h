// The copy-file dialog: a lesson list, the copy files of the selected lesson's folder and a
// preview of the chosen file, from which the open-copy command takes a full path.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <string>
#include <vector>

#include "AppState.h"
#include "CourseTree.h"
#include "Prompter.h"

namespace sulkan {

class TfrmOpenSKN : public QDialog {
    Q_OBJECT
public:
    // The modal result when the course index is missing; the dialog then closes at once.
    static constexpr int AbortResult = 2;

    TfrmOpenSKN(AppState& state, Prompter& prompter, QWidget* parent = nullptr);

    // After OK: the full path of the chosen file (CP932, its exact bytes) and the lesson whose
    // folder holds it.
    std::string chosenPath() const { return m_chosenPath; }
    int chosenLesson() const { return m_chosenLesson; }

    QLineEdit* edtFileName;
    QLabel* pnlLesson;
    QListWidget* lstLesson;
    QLabel* pnlSKN;
    QListWidget* flbSKN;
    QLabel* Panel1;
    QListWidget* lstContents;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    bool readCourseIndex();
    void lstLessonClick();
    void flbSKNClick();
    void btnOkClick();

    AppState& m_state;
    Prompter& m_prompter;
    bool m_firstShow = true;
    // Lesson folders of "Main.ind" as read at the first show; empty for a lesson line without
    // a folder.
    std::array<std::string, kSlotCount> m_lessonFolders;
    // The listed folder, its lesson and its copy files (CP932 names as on disk).
    std::string m_folder;
    int m_listedLesson = 0;
    std::vector<std::string> m_files;
    std::string m_chosenPath;
    int m_chosenLesson = 0;
};

}  // namespace sulkan
