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

#include "RecordWindowSources.h"

namespace sulkan {

class ScoreChart;

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
    // The files the records of an item lie in: the written one first, then every one read.
    std::vector<std::string> filesOf(int row) const;
    std::vector<std::string> lessonFiles() const;
    std::vector<std::string> copyFiles() const;
    void showRow(int row);

    Prompter& m_prompter;
    KirokuSource m_source;
    std::vector<std::string> m_items;  // CP932 text of each list item
    std::vector<bool> m_copyItems;     // which items are copy files
    std::vector<bool> m_headingItems;  // which items are section titles, whatever they hold
    int m_shownRow = -1;               // the item whose records are shown
    bool m_erased = false;
};

}  // namespace sulkan
