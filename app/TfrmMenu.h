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
#include "ReviewDue.h"

namespace sulkan {

class TfrmMenu : public QDialog {
    Q_OBJECT
public:
    TfrmMenu(AppState& state, Prompter& prompter, QWidget* parent = nullptr);

    // Re-reads the course index into this window and the course tables (set by the main window).
    std::function<bool()> ReadCourseIndexHook;
    // The learner log-on (true when a learner logged on), set by the main window.
    std::function<bool()> LogOnHook;
    // The record viewer (true when records were erased) and the all-units window.
    std::function<bool()> ShowRecordsHook;
    std::function<void()> ZenTangenHook;
    // The class overview of a lesson (teachers only); true when it opened a review sheet, which
    // unit selection then makes way for.
    std::function<bool(int lesson)> ClassRecordsHook;
    // Today's date for the review schedule (the computer's date unless replaced).
    std::function<CalendarDay()> TodayHook = [] { return Today(); };

    // Shows the course title and the lesson titles of the course index (CP932).
    void setCourseIndex(const std::string& title, const std::vector<std::string>& lessonTitles);
    void clearLists();

    // "Open" when the main window opens a master unit; anything else is the copy-file composer's
    // add mode. Only the caption depends on it.
    void setMode(const QString& mode) { m_mode = mode; }
    const QString& mode() const { return m_mode; }
    // Whether the last OK carried a similar problem.
    bool similarChosen() const { return m_similarChosen; }

    // Recomputes the marks in front of the unit titles of the listed lesson, e.g. after the
    // learner or the records changed.
    void RecountUnitMarks();

    // The line drawn for unit row `row` of the unit list: its mark and practice count, then its
    // title. The item itself holds the bare title.
    QString unitLineText(int row) const;
    // The lesson whose sections are listed and whose marks were counted last (0: none).
    int listedLesson() const { return m_listedLesson; }
    // Whether unit row `row` of the listed section is due for the logged-on learner's review.
    bool unitDue(int row) const;
    // The logged-on learner's due units of the listed lesson, the next one first.
    const LearnerDue& dueUnits() const { return m_due; }

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
    QPushButton* btnClassRecords;
    QLabel* lblTodayReview;
    QPushButton* btnTodayReview;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createLayout();
    void connectControls();
    void FormShow();
    void lstLessonClick();
    void lstSectionClick();
    void lstUnitClick();
    void lstRuidaiClick();
    void btnRuidaiClearClick();
    void btnOkClick();
    void btnShowRecordClick();
    void btnZenTangenClick();
    void btnClassRecordsClick();
    // "今日の復習": opens the next due unit as OK would.
    void btnTodayReviewClick();
    void showDueUnits();

    void recount(bool similarFlagsStale);
    void setSectionTitles(const std::vector<std::string>& titles);
    void showSimilarProblems(const std::vector<std::string>& items);
    void setUnitPanel(bool similarSelected);
    int selectedSimilarNumber() const;
    std::string questionFileOf(int section) const;

    AppState& m_state;
    Prompter& m_prompter;
    QString m_mode = QStringLiteral("Open");
    bool m_similarChosen = false;
    bool m_firstShow = true;
    // CP932 titles as read, so the chosen names keep their exact bytes.
    std::vector<std::string> m_lessonTitles;
    std::vector<std::string> m_sectionTitles;
    // The lesson whose sections are listed (0: none). It differs from the selected lesson after
    // a lesson whose folder is missing was clicked: the old sections stay listed.
    int m_listedLesson = 0;
    // The lines of the current section's question file.
    std::vector<std::string> m_questionLines;
    LearnerDue m_due;
};

}  // namespace sulkan
