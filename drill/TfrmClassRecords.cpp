#include "TfrmClassRecords.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>

#include "LineFile.h"
#include "Named.h"
#include "ProfileFile.h"
#include "ProgressDialog.h"
#include "QtText.h"
#include "ScoreChart.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {
namespace {

// The last score of a cell, for sorting (-1 when the unit was never run or the score is unread).
constexpr int kScoreRole = Qt::UserRole;
// Which learner a row shows, as an index into the overview; rows move when sorted.
constexpr int kLearnerRole = Qt::UserRole + 1;

class ScoreItem : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override {
        return data(kScoreRole).toInt() < other.data(kScoreRole).toInt();
    }
};

QString UnitHeading(const LessonUnit& u) {
    return QStringLiteral("%1-%2").arg(u.section).arg(u.unit);
}

QString CellText(const UnitCell& cell) {
    if (cell.runs == 0) return {};
    QString text = QStringLiteral("%1回 ").arg(cell.runs);
    text +=
        cell.last.score >= 0 ? QStringLiteral("%1点").arg(cell.last.score) : QStringLiteral("？");
    // The last run was on one of the unit's similar problems.
    if (cell.last.similar > 0) text += QStringLiteral(" 類%1").arg(cell.last.similar);
    return text;
}

QLabel* BandLabel(int band, const QString& text, const char* name) {
    auto* label = Named(new QLabel(text), name);
    label->setStyleSheet(QStringLiteral("background-color: %1; color: black; padding: 2px 10px;")
                             .arg(ScoreBandColour(band).name()));
    return label;
}

bool HasExtension(const std::string& path) {
    const std::size_t back = FindLastWholeChar(path, '\\');
    const std::size_t slash = FindLastWholeChar(path, '/');
    std::size_t start = 0;
    if (back != std::string::npos) start = back + 1;
    if (slash != std::string::npos) start = std::max(start, slash + 1);
    return path.find('.', start) != std::string::npos;
}

}  // namespace

ClassOverview LoadClassOverview(const ClassRecordsSource& source) {
    ClassOverview o = LoadClassLesson(source);
    ProgressRun unwatched(nullptr, 0, {});
    LoadClassFiles(source, o, unwatched);
    return o;
}

ClassOverview LoadClassLesson(const ClassRecordsSource& source) {
    ClassOverview o;
    if (auto lines = ReadLines(source.lessonIndexPath)) {
        o.indexRead = true;
        if (!lines->empty()) o.lessonTitle = lines->front();
        o.outline = OutlineOfLesson(*lines);
    }
    return o;
}

bool LoadClassFiles(const ClassRecordsSource& source, ClassOverview& o, ProgressRun& run) {
    o.files.clear();
    o.files.reserve(source.learners.size());
    for (const LearnerRecordFile& l : source.learners) {
        o.files.push_back({l.learner, LoadLearnerRecords(l)});
        const int done = static_cast<int>(o.files.size());
        // A stop during the last file leaves nothing unread.
        if (!run.step(done, l.learner) && o.files.size() < source.learners.size()) break;
    }
    o.rows = BuildClassOverview(o.outline, o.files);
    return o.files.size() == source.learners.size();
}

LessonResults ResultsOfLessonStepwise(
    const LessonOutline& outline,
    const std::vector<std::optional<std::vector<std::string>>>& sectionFiles,
    const std::vector<LearnerFile>& files, RunsCounted runs, ProgressRun& run, int stepsBefore) {
    if (run.cancelled()) return {};
    std::size_t worked = 0;
    return ResultsOfLesson(outline, sectionFiles, files, runs, [&](const LessonUnit& u) {
        ++worked;
        const std::string name =
            IntText(u.section) + "-" + IntText(u.unit) + (u.title.empty() ? "" : " " + u.title);
        // A stop during the last unit leaves nothing out.
        return run.step(stepsBefore + static_cast<int>(worked), name) ||
               worked == outline.units.size();
    });
}

CsvText ClassRecordsCsv(const ClassRecordsSource& source, const LessonOutline& outline) {
    std::vector<CsvRecord> records;
    for (const LearnerRecordFile& l : source.learners) {
        std::vector<CsvRecord> rows =
            CsvRecordsOf(l.learner, source.lesson, outline, LoadLearnerRecords(l));
        records.insert(records.end(), std::make_move_iterator(rows.begin()),
                       std::make_move_iterator(rows.end()));
    }
    return RecordsCsv(records);
}

QColor ScoreBandColour(int band) {
    switch (band) {
        case 0:
            return QColor(0xF4, 0xB0, 0xB0);  // 0-39: red
        case 1:
            return QColor(0xFC, 0xE0, 0x80);  // 40-79: yellow
        case 2:
            return QColor(0xB4, 0xE2, 0xA0);  // 80-99: green
        case 3:
            return QColor(0x98, 0xC8, 0xF0);  // 100: blue
        default:
            return {};
    }
}

TfrmClassRecords::TfrmClassRecords(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      lblLesson(Named(new QLabel, "lblLesson")),
      lblNoRecords(
          Named(new QLabel(QStringLiteral("この課の記録がある学習者はいません")), "lblNoRecords")),
      lblPartial(Named(new QLabel, "lblPartial")),
      grdRecords(Named(new QTableWidget, "grdRecords")),
      lblBand0(BandLabel(0, QStringLiteral("0～39点"), "lblBand0")),
      lblBand1(BandLabel(1, QStringLiteral("40～79点"), "lblBand1")),
      lblBand2(BandLabel(2, QStringLiteral("80～99点"), "lblBand2")),
      lblBand3(BandLabel(3, QStringLiteral("100点"), "lblBand3")),
      lblDetail(Named(new QLabel(QStringLiteral("ます目をダブルクリックすると記録を表示します")),
                      "lblDetail")),
      memDetail(Named(new QPlainTextEdit, "memDetail")),
      chtScores(Named(new ScoreChart, "chtScores")),
      btnSaveCsv(Named(new QPushButton(QStringLiteral("CSV に保存")), "btnSaveCsv")),
      btnClose(Named(new QPushButton(QStringLiteral("閉じる")), "btnClose")),
      m_prompter(prompter) {
    setObjectName(QStringLiteral("TfrmClassRecords"));
    setWindowTitle(QStringLiteral("学級の記録"));
    QFont titleFont = lblLesson->font();
    titleFont.setPointSize(titleFont.pointSize() + 2);
    titleFont.setBold(true);
    lblLesson->setFont(titleFont);
    grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRecords->verticalHeader()->hide();
    grdRecords->horizontalHeader()->setSectionsClickable(true);
    grdRecords->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    memDetail->setReadOnly(true);
    lblPartial->setStyleSheet(QStringLiteral("color: #a00000"));
    lblPartial->hide();
    createLayout();

    connect(grdRecords, &QTableWidget::cellDoubleClicked, this,
            &TfrmClassRecords::grdRecordsDblClick);
    // The header flips its own indicator on a click (ascending first, see fillGrid); sorted
    // here rather than by the view so that rows keep the roster order until a click.
    connect(grdRecords->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        grdRecords->sortItems(column, grdRecords->horizontalHeader()->sortIndicatorOrder());
    });
    connect(btnSaveCsv, &QPushButton::clicked, this, &TfrmClassRecords::btnSaveCsvClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connectQuestionControls();
}

void TfrmClassRecords::createLayout() {
    auto* detailText = new QVBoxLayout;
    detailText->addWidget(lblDetail);
    detailText->addWidget(memDetail, 1);
    auto* detail = new QWidget;
    auto* detailRow = new QHBoxLayout(detail);
    detailRow->setContentsMargins(0, 0, 0, 0);
    detailRow->addLayout(detailText, 1);
    detailRow->addWidget(chtScores, 1);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(grdRecords);
    splitter->addWidget(detail);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* bottom = new QHBoxLayout;
    for (QLabel* band : {lblBand0, lblBand1, lblBand2, lblBand3}) bottom->addWidget(band);
    bottom->addStretch();
    bottom->addWidget(btnSaveCsv);
    bottom->addWidget(btnClose);

    tabViews = Named(new QTabWidget, "tabViews");
    tabViews->addTab(splitter, QStringLiteral("学習者ごと"));
    tabViews->addTab(createQuestionsPage(), QStringLiteral("問題ごと"));

    auto* root = new QVBoxLayout(this);
    root->addWidget(lblLesson);
    root->addWidget(lblNoRecords);
    root->addWidget(lblPartial);
    root->addWidget(tabViews, 1);
    root->addLayout(bottom);
}

int TfrmClassRecords::showFor(const ClassRecordsSource& source) {
    FormShow(source);
    return exec();
}

Progress& TfrmClassRecords::progressFor(std::unique_ptr<Progress>& dialog) {
    if (m_progress) return *m_progress;
    // Before the window shows, the dialog waits over the window that opened it.
    QWidget* over = isVisible() || !parentWidget() ? this : parentWidget();
    dialog = std::make_unique<ProgressDialog>(over, QStringLiteral("学級の記録"));
    return *dialog;
}

void TfrmClassRecords::FormShow(const ClassRecordsSource& source) {
    m_source = source;
    m_overview = LoadClassLesson(source);
    if (!m_overview.indexRead)
        m_prompter.message(sjis("ファイル ") + source.lessonIndexPath + sjis(" が見つかりません"));
    {
        // One run over the learners' files and then the units, each a step.
        std::unique_ptr<Progress> dialog;
        const int learners = static_cast<int>(source.learners.size());
        ProgressRun run(&progressFor(dialog),
                        learners + static_cast<int>(m_overview.outline.units.size()),
                        sjis("第") + IntText(source.lesson) + sjis("課の記録を読んでいます"));
        LoadClassFiles(source, m_overview, run);
        m_learnersLeftOut = source.learners.size() - m_overview.files.size();
        m_questionFiles = ReadSectionFiles(source.questionFiles);
        computeQuestionResults(run, learners);
    }
    lblLesson->setText(QStringLiteral("第%1課　").arg(source.lesson) +
                       ToQString(m_overview.lessonTitle));
    lblNoRecords->setVisible(m_overview.rows.empty());
    fillGrid();
    lblDetail->setText(QStringLiteral("ます目をダブルクリックすると記録を表示します"));
    memDetail->clear();
    chtScores->clear();

    m_reviewWorksheet.reset();
    lstUnits->clear();
    for (const LessonUnit& u : m_overview.outline.units)
        lstUnits->addItem(UnitHeading(u) + QLatin1Char(' ') + ToQString(u.title));
    cmbReviewLearner->clear();
    cmbReviewLearner->addItem(QStringLiteral("学級全体"));
    for (const LearnerFile& f : m_overview.files) cmbReviewLearner->addItem(ToQString(f.learner));
    if (lstUnits->count() > 0) lstUnits->setCurrentRow(0);
    fillQuestions();
    fillMostMissed();
    showPartial(true, true);
}

void TfrmClassRecords::showPartial(bool sayLearners, bool sayUnits) {
    QString learners, units;
    if (m_learnersLeftOut > 0) {
        const std::size_t read = m_overview.files.size();
        learners =
            QStringLiteral("読み込みを中止しました：%1 人のうち %2 人の記録だけを表示しています")
                .arg(read + m_learnersLeftOut)
                .arg(read);
    }
    // Stopped while reading, the units were not worked out either; that goes without saying.
    if (m_unitsLeftOut > 0 && (m_learnersLeftOut == 0 || !m_results.units.empty())) {
        const std::size_t done = m_results.units.size();
        units = QStringLiteral("集計を中止しました：問題ごとの結果は %1 単元のうち %2 単元だけです")
                    .arg(done + m_unitsLeftOut)
                    .arg(done);
    }
    QStringList shown;
    for (const QString& text : {learners, units})
        if (!text.isEmpty()) shown << text;
    lblPartial->setText(shown.join(QLatin1Char('\n')));
    lblPartial->setVisible(!shown.isEmpty());
    QStringList said;
    if (sayLearners && !learners.isEmpty()) said << learners;
    if (sayUnits && !units.isEmpty()) said << units;
    if (!said.isEmpty()) m_prompter.message(FromQString(said.join(QLatin1Char('\n'))).value_or(""));
}

void TfrmClassRecords::fillGrid() {
    const std::vector<LessonUnit>& units = m_overview.outline.units;
    grdRecords->clear();
    grdRecords->horizontalHeader()->setSortIndicatorShown(true);
    grdRecords->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    grdRecords->setRowCount(static_cast<int>(m_overview.rows.size()));
    grdRecords->setColumnCount(static_cast<int>(units.size()) + 1);

    auto heading = [this](int column, QTableWidgetItem* item) {
        // Lowest scores first: the learners who need help come to the top.
        item->setData(Qt::InitialSortOrderRole, Qt::AscendingOrder);
        grdRecords->setHorizontalHeaderItem(column, item);
    };
    heading(0, new QTableWidgetItem(QStringLiteral("学習者")));
    for (std::size_t c = 0; c < units.size(); ++c) {
        const LessonUnit& u = units[c];
        auto* item = new QTableWidgetItem(UnitHeading(u) + QLatin1Char('\n') + ToQString(u.title));
        item->setToolTip(
            ToQString(m_overview.outline.sectionTitles[static_cast<std::size_t>(u.section - 1)]) +
            QStringLiteral(" ／ ") + ToQString(u.title));
        heading(static_cast<int>(c) + 1, item);
    }

    for (std::size_t r = 0; r < m_overview.rows.size(); ++r) {
        const LearnerRow& row = m_overview.rows[r];
        const int gridRow = static_cast<int>(r);
        auto* name = new QTableWidgetItem(ToQString(row.learner));
        name->setData(kLearnerRole, static_cast<int>(r));
        grdRecords->setItem(gridRow, 0, name);
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const UnitCell& cell = row.cells[c];
            auto* item = new ScoreItem(CellText(cell));
            item->setData(kScoreRole, cell.runs > 0 ? cell.last.score : -1);
            item->setTextAlignment(Qt::AlignCenter);
            if (const QColor colour =
                    ScoreBandColour(cell.runs > 0 ? ScoreBand(cell.last.score) : -1);
                colour.isValid()) {
                item->setBackground(colour);
                item->setForeground(QColor(Qt::black));
            }
            if (cell.runs > 0) {
                const std::vector<std::string> lines =
                    RecordLinesOf(m_overview.files[r].records, units[c].recordSection);
                item->setToolTip(ToQString(lines.back()));
            }
            grdRecords->setItem(gridRow, static_cast<int>(c) + 1, item);
        }
    }
    // Wide enough for the unit title in the header, up to a limit beyond which it is elided.
    grdRecords->resizeColumnsToContents();
    for (int c = 1; c < grdRecords->columnCount(); ++c)
        grdRecords->setColumnWidth(c, std::clamp(grdRecords->columnWidth(c), 96, 180));
}

void TfrmClassRecords::grdRecordsDblClick(int row, int column) {
    const QTableWidgetItem* name = grdRecords->item(row, 0);
    if (!name || column < 1) return;
    const auto learner = static_cast<std::size_t>(name->data(kLearnerRole).toInt());
    const auto unit = static_cast<std::size_t>(column - 1);
    if (learner >= m_overview.files.size() || unit >= m_overview.outline.units.size()) return;
    const LessonUnit& u = m_overview.outline.units[unit];
    const std::vector<std::string> lines =
        RecordLinesOf(m_overview.files[learner].records, u.recordSection);
    lblDetail->setText(ToQString(m_overview.files[learner].learner) + QStringLiteral("　") +
                       UnitHeading(u) + QLatin1Char(' ') + ToQString(u.title));
    if (lines.empty()) {
        memDetail->setPlainText(QStringLiteral("練習の記録はありません"));
    } else {
        QStringList shown;
        for (const std::string& line : lines) shown << ToQString(line);
        memDetail->setPlainText(shown.join(QLatin1Char('\n')));
    }
    chtScores->setRecordLines(
        ToQString(m_overview.files[learner].learner) + QStringLiteral("　") + ToQString(u.title),
        lines);
}

void TfrmClassRecords::btnSaveCsvClick() {
    auto chosen = m_prompter.saveFileName(m_source.saveFolder, "*.csv");
    if (!chosen) return;
    std::string path = *chosen;
    if (!HasExtension(path)) path += ".csv";
    if (FileExists(path) && m_prompter.yesNo(sjis("ファイル") + path +
                                             sjis("を上書きしてもいいですか？")) != Answer::Yes)
        return;
    // Read again: runs written since the window opened belong in the file too.
    const CsvText csv = ClassRecordsCsv(m_source, m_overview.outline);
    if (const Result<> saved = WriteBytes(path, csv.bytes); !saved) {
        m_prompter.message(saved.problem().message);
        return;
    }
    if (csv.unparsed > 0)
        m_prompter.message(IntText(csv.unparsed) +
                           sjis(" 行の記録を読み取れませんでした（raw 列にそのまま出力しました）"));
}

}  // namespace sulkan
