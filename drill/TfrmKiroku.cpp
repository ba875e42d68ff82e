#include "TfrmKiroku.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "LineFile.h"
#include "Named.h"
#include "ProfileFile.h"
#include "QtText.h"
#include "RecordFile.h"
#include "RecordStore.h"
#include "ScoreChart.h"
#include "Sjis.h"

namespace sulkan {

TfrmKiroku::TfrmKiroku(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      Label1(Named(new QLabel(QStringLiteral("単元をクリックして下さい")), "Label1")),
      lstTitle(Named(new QListWidget, "lstTitle")),
      memDetail(Named(new QPlainTextEdit, "memDetail")),
      chtScores(Named(new ScoreChart, "chtScores")),
      Label2(Named(new QLabel(QStringLiteral("ログオン名")), "Label2")),
      edtName(Named(new QLineEdit, "edtName")),
      btnErase(Named(new QPushButton(QStringLiteral("記録消去")), "btnErase")),
      btnReturn(Named(new QPushButton(QStringLiteral("閉じる")), "btnReturn")),
      m_prompter(prompter) {
    setObjectName(QStringLiteral("TfrmKiroku"));
    setWindowTitle(QStringLiteral("実行記録"));
    lstTitle->setSelectionMode(QAbstractItemView::ExtendedSelection);
    memDetail->setReadOnly(true);
    edtName->setReadOnly(true);

    auto* left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(lstTitle, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(memDetail, 2);
    right->addWidget(chtScores, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(right, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label2);
    bottom->addWidget(edtName);
    bottom->addStretch();
    bottom->addWidget(btnErase);
    bottom->addWidget(btnReturn);
    auto* root = new QVBoxLayout(this);
    root->addLayout(lists, 1);
    root->addLayout(bottom);

    // Arrow keys change the row; a click on the row that is current when the window opens
    // (the list keeps one so that taking the focus chooses nothing) changes no row.
    connect(lstTitle, &QListWidget::currentRowChanged, this, [this] { lstTitleClick(); });
    connect(lstTitle, &QListWidget::itemClicked, this, [this] {
        if (lstTitle->currentRow() != m_shownRow) lstTitleClick();
    });
    connect(btnErase, &QPushButton::clicked, this, &TfrmKiroku::btnEraseClick);
    connect(btnReturn, &QPushButton::clicked, this, &TfrmKiroku::btnReturnClick);
}

int TfrmKiroku::showFor(const KirokuSource& source) {
    m_source = source;
    FormShow();
    return exec();
}

void TfrmKiroku::FormShow() {
    m_erased = false;
    edtName->setText(ToQString(m_source.learnerName));
    fillTitles();
}

std::vector<std::string> TfrmKiroku::lessonFiles() const {
    std::vector<std::string> files;
    if (!m_source.recordFile.empty()) files.push_back(m_source.recordFile);
    for (const std::string& f : m_source.recordFiles)
        if (std::find(files.begin(), files.end(), f) == files.end()) files.push_back(f);
    return files;
}

std::vector<std::string> TfrmKiroku::copyFiles() const {
    if (m_source.copyRecordFile.empty() && m_source.copyRecordFiles.empty()) return lessonFiles();
    std::vector<std::string> files;
    if (!m_source.copyRecordFile.empty()) files.push_back(m_source.copyRecordFile);
    for (const std::string& f : m_source.copyRecordFiles)
        if (std::find(files.begin(), files.end(), f) == files.end()) files.push_back(f);
    return files;
}

void TfrmKiroku::fillTitles() {
    if (m_source.recordFile.empty() && m_source.recordFiles.empty()) return;
    const QSignalBlocker quiet(lstTitle);
    lstTitle->clear();
    m_items.clear();
    m_copyItems.clear();
    m_headingItems.clear();
    m_shownRow = -1;
    std::vector<std::string> index;
    if (auto lines = ReadLines(m_source.lessonIndexPath)) {
        index = std::move(*lines);
    } else {
        m_prompter.message(sjis("ファイル ") + m_source.lessonIndexPath +
                           sjis(" が見つかりません"));
    }
    // Each place is read once for all its sections.
    const ProfileLines records = LoadRecordFiles(lessonFiles());
    const bool sameFiles = m_source.copyRecordFile.empty() && m_source.copyRecordFiles.empty();
    const ProfileLines copyRecords = sameFiles ? records : LoadRecordFiles(copyFiles());
    auto item = [&](const ProfileLines& file, const std::string& name) {
        const std::size_t c = file.keys(name).size();
        const std::string count = c == 0 ? "  " : (c < 10 ? "0" : "") + std::to_string(c);
        return count + sjis("回") + name;
    };
    const LessonOutline outline = OutlineOfLesson(index);
    std::size_t next = 0;
    for (std::size_t s = 0; s < outline.sectionTitles.size(); ++s) {
        m_items.push_back(outline.sectionTitles[s]);
        m_headingItems.resize(m_items.size(), false);
        m_headingItems.back() = true;
        for (; next < outline.units.size() && outline.units[next].section == int(s) + 1; ++next)
            m_items.push_back(item(records, outline.units[next].recordSection));
    }
    m_copyItems.assign(m_items.size(), false);
    m_headingItems.resize(m_items.size(), false);
    for (const std::string& copy : m_source.copyFileNames) {
        m_items.push_back(item(copyRecords, copy));
        m_copyItems.push_back(true);
    }
    for (const std::string& text : m_items) lstTitle->addItem(ToQString(text));
    // A current row without a selection: taking the focus would otherwise choose the first
    // item and show it before the learner chose anything.
    if (lstTitle->count() > 0) lstTitle->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    memDetail->clear();
    chtScores->clear();
}

std::string TfrmKiroku::sectionOf(int row) const {
    if (row < 0 || row >= static_cast<int>(m_items.size())) return "?";
    // A section title is no unit, even one that holds a 回.
    if (row < static_cast<int>(m_headingItems.size()) &&
        m_headingItems[static_cast<std::size_t>(row)])
        return "?";
    const std::string& text = m_items[static_cast<std::size_t>(row)];
    // Whole characters: the bytes of 回 may also stand across two other characters.
    static const std::string kai = sjis("回");
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        if (text.compare(i, kai.size(), kai) == 0) return text.substr(i + kai.size());
    return "?";
}

std::vector<std::string> TfrmKiroku::filesOf(int row) const {
    const bool copy = row >= 0 && row < static_cast<int>(m_copyItems.size()) &&
                      m_copyItems[static_cast<std::size_t>(row)];
    return copy ? copyFiles() : lessonFiles();
}

void TfrmKiroku::lstTitleClick() {
    showRow(lstTitle->currentRow());
}

void TfrmKiroku::showRow(int row) {
    m_shownRow = row;
    memDetail->clear();
    const std::string section = sectionOf(row);
    // A heading is no unit: nothing to show.
    if (section == "?") {
        chtScores->clear();
        return;
    }
    const std::vector<std::string> lines = RecordLinesOf(LoadRecordFiles(filesOf(row)), section);
    if (lines.empty()) {
        memDetail->setPlainText(QStringLiteral("練習の記録はありません"));
    } else {
        QStringList shown;
        for (const std::string& line : lines) shown << ToQString(line);
        memDetail->setPlainText(shown.join(QLatin1Char('\n')));
    }
    chtScores->setRecordLines(ToQString(section), lines);
}

void TfrmKiroku::btnEraseClick() {
    if (lstTitle->selectedItems().isEmpty()) {
        m_prompter.message(sjis("消去する単元を選んでください"));
        return;
    }
    if (m_prompter.yesNo(sjis("記録を消してもいいですか？")) != Answer::Yes) return;
    const int row = lstTitle->currentRow();
    const std::string section = sectionOf(row);
    // From every place the records lie in, or they would come back from the one left.
    std::string failure;
    for (const std::string& file : filesOf(row)) {
        if (!FileExists(file)) continue;
        if (const Result<> erased = ProfileFile(file).eraseSection(section); !erased) {
            if (failure.empty()) failure = erased.problem().message;
        } else {
            m_erased = true;
        }
    }
    if (m_erased) fillTitles();
    if (!failure.empty()) m_prompter.message(failure);
}

void TfrmKiroku::btnReturnClick() {
    memDetail->clear();
    accept();
}

}  // namespace sulkan
