// The class overview "学級の記録": every learner with a record file of a lesson against every unit
// of it, with runs and last score per cell, a unit's lines and chart, and the lesson as CSV.
#pragma once

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Progress.h"
#include "Prompter.h"
#include "QuestionResults.h"
#include "RecordStore.h"
#include "ReviewSheet.h"
#include "Worksheet.h"

#include "RecordWindowSources.h"

namespace sulkan {

class ScoreChart;

// The lesson read for the window: its index and each learner's file, each file read once.
struct ClassOverview {
    bool indexRead = false;
    std::string lessonTitle;  // line 0 of the lesson index
    LessonOutline outline;
    std::vector<LearnerFile> files;  // the learners' files read, in the source's order
    std::vector<LearnerRow> rows;    // one per file, same order
};
ClassOverview LoadClassOverview(const ClassRecordsSource& source);
// The lesson index alone, no learner's file yet.
ClassOverview LoadClassLesson(const ClassRecordsSource& source);
// Reads the learners' files into the overview, a step of run after each one, and builds the
// rows of those read; false when the run was stopped before the last.
bool LoadClassFiles(const ClassRecordsSource& source, ClassOverview& overview, ProgressRun& run);
// ResultsOfLesson with a step of run after each unit, counted on from stepsBefore; a stop leaves
// the units worked out so far.
LessonResults ResultsOfLessonStepwise(
    const LessonOutline& outline,
    const std::vector<std::optional<std::vector<std::string>>>& sectionFiles,
    const std::vector<LearnerFile>& files, RunsCounted runs, ProgressRun& run, int stepsBefore = 0);

// The CSV of the lesson's records, as "sulkan records" writes it, from the files as they are now.
CsvText ClassRecordsCsv(const ClassRecordsSource& source, const LessonOutline& outline);

// The background of a cell whose last score falls in band (ScoreBand); invalid for no score.
QColor ScoreBandColour(int band);

class TfrmClassRecords : public QDialog {
    Q_OBJECT
public:
    explicit TfrmClassRecords(Prompter& prompter, QWidget* parent = nullptr);
    // Where the progress of reading a lesson goes instead of a progress dialog (tests).
    void useProgress(Progress* progress) { m_progress = progress; }

    int showFor(const ClassRecordsSource& source);
    // Fills the window without showing it (showFor does this first).
    void FormShow(const ClassRecordsSource& source);

    QLabel* lblLesson;
    QLabel* lblNoRecords;
    // Says what is missing when the reading was stopped.
    QLabel* lblPartial;
    QTableWidget* grdRecords;
    QLabel* lblBand0;
    QLabel* lblBand1;
    QLabel* lblBand2;
    QLabel* lblBand3;
    QLabel* lblDetail;
    QPlainTextEdit* memDetail;
    ScoreChart* chtScores;
    QPushButton* btnSaveCsv;
    QPushButton* btnClose;

    // "問題ごと": the units, the chosen unit's questions ranked by correct rate with who missed
    // them, the lesson's most missed, and the review sheet of the units selected.
    QTabWidget* tabViews;
    QListWidget* lstUnits;
    QCheckBox* chkAllRuns;
    QLabel* lblQuestions;
    QTableWidget* grdQuestions;
    QLabel* lblQuestionNote;
    QLabel* lblMostMissed;
    QTableWidget* grdMostMissed;
    QComboBox* cmbReviewLearner;
    QSpinBox* spnReviewRate;
    QPushButton* btnReviewSheet;

    // The review sheet "復習プリント" composed last, taken by the caller after the window closed;
    // nothing when the window was closed otherwise.
    std::optional<Worksheet> takeReviewWorksheet();
    const LessonResults& questionResults() const { return m_results; }

private:
    void createLayout();
    QWidget* createQuestionsPage();
    void connectQuestionControls();
    // Works out m_results, a step of run per unit after stepsBefore; false when stopped.
    bool computeQuestionResults(ProgressRun& run, int stepsBefore = 0);
    // The same with a progress of its own ("２回目からの記録も数える"), saying so when stopped.
    void recomputeQuestionResults();
    // The progress to report to now: the test's, else a dialog over the window shown.
    Progress& progressFor(std::unique_ptr<Progress>& dialog);
    // Shows what a stopped reading left out under the title, and says the parts asked for.
    void showPartial(bool sayLearners, bool sayUnits);
    void fillQuestions();
    void fillMostMissed();
    void lstUnitsClick();
    void btnReviewSheetClick();
    void fillGrid();
    void grdRecordsDblClick(int row, int column);
    void btnSaveCsvClick();

    Prompter& m_prompter;
    Progress* m_progress = nullptr;
    // What a stopped reading left out: learners not read, units not worked out.
    std::size_t m_learnersLeftOut = 0;
    std::size_t m_unitsLeftOut = 0;
    ClassRecordsSource m_source;
    ClassOverview m_overview;
    std::vector<std::optional<std::vector<std::string>>> m_questionFiles;
    LessonResults m_results;
    std::optional<Worksheet> m_reviewWorksheet;
};

}  // namespace sulkan
