// The class overview "学級の記録": every learner with a record file of a lesson against every unit
// of it, with runs and last score per cell, a unit's lines and chart, and the lesson as CSV.
#pragma once

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <string>
#include <vector>

#include "Prompter.h"
#include "RecordStore.h"

#include "RecordWindowSources.h"

namespace sulkan {

class ScoreChart;

// The lesson read for the window: its index and each learner's file, each file read once.
struct ClassOverview {
    bool indexRead = false;
    std::string lessonTitle;  // line 0 of the lesson index
    LessonOutline outline;
    std::vector<LearnerFile> files;
    std::vector<LearnerRow> rows;  // one per file, same order
};
ClassOverview LoadClassOverview(const ClassRecordsSource& source);

// The CSV of the lesson's records, as "sulkan records" writes it, from the files as they are now.
CsvText ClassRecordsCsv(const ClassRecordsSource& source, const LessonOutline& outline);

// The background of a cell whose last score falls in band (ScoreBand); invalid for no score.
QColor ScoreBandColour(int band);

class TfrmClassRecords : public QDialog {
    Q_OBJECT
public:
    explicit TfrmClassRecords(Prompter& prompter, QWidget* parent = nullptr);

    int showFor(const ClassRecordsSource& source);
    // Fills the window without showing it (showFor does this first).
    void FormShow(const ClassRecordsSource& source);

    QLabel* lblLesson;
    QLabel* lblNoRecords;
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

private:
    void createLayout();
    void fillGrid();
    void grdRecordsDblClick(int row, int column);
    void btnSaveCsvClick();

    Prompter& m_prompter;
    ClassRecordsSource m_source;
    ClassOverview m_overview;
};

}  // namespace sulkan
