// The record viewer "実行記録": the units and copy files of a lesson with their practice counts,
// the record lines and score chart of the one clicked, and erasing a unit's records.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "Prompter.h"

namespace sulkan {

class ScoreChart;

// What the viewer shows, given by its caller (CP932).
struct KirokuSource {
    std::string learnerName;
    std::string recordFile;       // empty: no usable record file
    std::string lessonIndexPath;  // the lesson of the current unit
    std::vector<std::string> copyFileNames;
};

class TfrmKiroku : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKiroku(Prompter& prompter, QWidget* parent = nullptr);

    int showFor(const KirokuSource& source);
    // Records were erased during the last showing.
    bool erased() const { return m_erased; }

    QLabel* Label1;
    QListWidget* lstTitle;
    QPlainTextEdit* memDetail;
    ScoreChart* chtScores;
    QLabel* Label2;
    QLineEdit* edtName;
    QPushButton* btnErase;
    QPushButton* btnReturn;

private:
    void FormShow();
    void fillTitles();
    void lstTitleClick();
    void btnEraseClick();
    void btnReturnClick();
    // The section of an item: the text after its first "回" ("?" for a heading).
    std::string sectionOf(int row) const;

    Prompter& m_prompter;
    KirokuSource m_source;
    std::vector<std::string> m_items;  // CP932 text of each list item
    bool m_erased = false;
};

}  // namespace sulkan
