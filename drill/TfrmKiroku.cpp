#include "TfrmKiroku.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "LineFile.h"
#include "Named.h"
#include "ProfileFile.h"
#include "QtText.h"
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

    // A click that changes the row comes through here too; a click on the current row changes
    // nothing, so the record file is read once per choice.
    connect(lstTitle, &QListWidget::currentRowChanged, this, [this] { lstTitleClick(); });
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

void TfrmKiroku::fillTitles() {
    if (m_source.recordFile.empty()) return;
    lstTitle->clear();
    m_items.clear();
    std::vector<std::string> index;
    if (auto lines = ReadLines(m_source.lessonIndexPath)) {
        index = std::move(*lines);
    } else {
        m_prompter.message(sjis("ファイル ") + m_source.lessonIndexPath +
                           sjis(" が見つかりません"));
    }
    // The file is read once for all its sections.
    const ProfileLines records = ProfileFile(m_source.recordFile).load();
    auto item = [&](const std::string& name) {
        const std::size_t c = records.keys(name).size();
        const std::string count = c == 0 ? "  " : (c < 10 ? "0" : "") + std::to_string(c);
        return count + sjis("回") + name;
    };
    const LessonOutline outline = OutlineOfLesson(index);
    std::size_t next = 0;
    for (std::size_t s = 0; s < outline.sectionTitles.size(); ++s) {
        m_items.push_back(outline.sectionTitles[s]);
        for (; next < outline.units.size() && outline.units[next].section == int(s) + 1; ++next)
            m_items.push_back(item(outline.units[next].recordSection));
    }
    for (const std::string& copy : m_source.copyFileNames) m_items.push_back(item(copy));
    for (const std::string& text : m_items) lstTitle->addItem(ToQString(text));
    memDetail->clear();
    chtScores->setRecordLines({}, {});
}

std::string TfrmKiroku::sectionOf(int row) const {
    if (row < 0 || row >= static_cast<int>(m_items.size())) return "?";
    const std::string& text = m_items[static_cast<std::size_t>(row)];
    // Whole characters: the bytes of 回 may also stand across two other characters.
    static const std::string kai = sjis("回");
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        if (text.compare(i, kai.size(), kai) == 0) return text.substr(i + kai.size());
    return "?";
}

void TfrmKiroku::lstTitleClick() {
    const std::string section = sectionOf(lstTitle->currentRow());
    memDetail->clear();
    const std::vector<std::string> lines =
        m_source.recordFile.empty()
            ? std::vector<std::string>{}
            : RecordLinesOf(ProfileFile(m_source.recordFile).load(), section);
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
    const SaveResult saved =
        ProfileFile(m_source.recordFile).eraseSection(sectionOf(lstTitle->currentRow()));
    if (!saved) {
        m_prompter.message(saved.error);
        return;
    }
    m_erased = true;
    fillTitles();
}

void TfrmKiroku::btnReturnClick() {
    memDetail->clear();
    accept();
}

}  // namespace sulkan
