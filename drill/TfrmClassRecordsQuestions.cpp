// The class overview's "問題ごと" page: each unit's questions ranked by correct rate with rate bars
// and who missed them, the lesson's most missed questions, and the review sheet "復習プリント".
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "Named.h"
#include "QtText.h"
#include "Sjis.h"
#include "TextRoutines.h"
#include "TfrmClassRecords.h"

namespace sulkan {
namespace {

// The rate of a row in percent (-1: nobody counted), drawn as a bar by RateBarDelegate.
constexpr int kRateRole = Qt::UserRole + 2;

// Draws a rate cell as a bar as long as the rate, in the colour of its score band, with the
// percentage over it.
class RateBarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int rate = index.data(kRateRole).toInt();
        painter->save();
        painter->fillRect(option.rect, option.palette.base());
        if (rate >= 0) {
            QRect bar = option.rect.adjusted(2, 3, -2, -3);
            bar.setWidth(bar.width() * rate / 100);
            painter->fillRect(bar, ScoreBandColour(ScoreBand(rate)));
        }
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

QString UnitName(const LessonUnit& u) {
    return QStringLiteral("%1-%2 ").arg(u.section).arg(u.unit) + ToQString(u.title);
}

QString SimilarName(int similar) {
    return similar == 0 ? QString() : QStringLiteral("類題%1 ").arg(similar);
}

QString LearnerList(const std::vector<std::string>& learners) {
    QStringList names;
    for (const std::string& learner : learners) names << ToQString(learner);
    return names.join(QStringLiteral("、"));
}

QTableWidgetItem* Item(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    return item;
}

QTableWidgetItem* RateItem(const BlankResult& r) {
    const int rate = RatePercent(r);
    auto* item = new QTableWidgetItem(rate < 0 ? QStringLiteral("記録なし")
                                               : QStringLiteral("%1％").arg(rate));
    item->setData(kRateRole, rate);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// One row per question: what each column of the two tables shows.
void FillQuestionRow(QTableWidget* table, int row, int column, const BlankResult& r) {
    table->setItem(row, column,
                   Item(SimilarName(r.similar) + QStringLiteral("%1").arg(r.blank.blank)));
    table->setItem(row, column + 1,
                   Item(ToQString(QuestionText(r.blank.question, r.blank.inLine))));
    table->setItem(row, column + 2, RateItem(r));
    table->setItem(row, column + 3, Item(QStringLiteral("%1/%2").arg(r.correct).arg(r.counted)));
    table->setItem(row, column + 4, Item(LearnerList(r.missedBy)));
}

// Wide enough for a bar that shows differences of a few percent.
constexpr int kRateColumnWidth = 150;

QTableWidget* QuestionTable(const char* name, const QStringList& headings, int rateColumn) {
    auto* table = Named(new QTableWidget(0, static_cast<int>(headings.size())), name);
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setItemDelegateForColumn(rateColumn, new RateBarDelegate(table));
    return table;
}

}  // namespace

QWidget* TfrmClassRecords::createQuestionsPage() {
    lstUnits = Named(new QListWidget, "lstUnits");
    lstUnits->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chkAllRuns = Named(new QCheckBox(QStringLiteral("２回目からの記録も数える")), "chkAllRuns");
    lblQuestions = Named(new QLabel(QStringLiteral("単元を選んでください")), "lblQuestions");
    grdQuestions =
        QuestionTable("grdQuestions",
                      {QStringLiteral("問題"), QStringLiteral("問題文"), QStringLiteral("正答率"),
                       QStringLiteral("正答/人数"), QStringLiteral("間違えた人")},
                      2);
    lblQuestionNote = Named(new QLabel, "lblQuestionNote");
    lblQuestionNote->setStyleSheet(QStringLiteral("color: #a00000"));
    lblMostMissed =
        Named(new QLabel(QStringLiteral("この課でよく間違える問題（20問まで）")), "lblMostMissed");
    grdMostMissed = QuestionTable(
        "grdMostMissed",
        {QStringLiteral("単元"), QStringLiteral("問題"), QStringLiteral("問題文"),
         QStringLiteral("正答率"), QStringLiteral("正答/人数"), QStringLiteral("間違えた人")},
        3);
    cmbReviewLearner = Named(new QComboBox, "cmbReviewLearner");
    spnReviewRate = Named(new QSpinBox, "spnReviewRate");
    spnReviewRate->setRange(1, 100);
    spnReviewRate->setValue(kDefaultReviewPercent);
    spnReviewRate->setSuffix(QStringLiteral("％未満"));
    btnReviewSheet = Named(new QPushButton(QStringLiteral("復習プリント")), "btnReviewSheet");
    btnReviewSheet->setToolTip(
        QStringLiteral("選んだ単元の、正答率が低い問題の行で問題用紙を作ります"));

    auto* units = new QVBoxLayout;
    units->addWidget(new QLabel(QStringLiteral("単元（Ctrl・Shift で複数）")));
    units->addWidget(lstUnits, 1);
    units->addWidget(chkAllRuns);

    auto* questions = new QVBoxLayout;
    questions->addWidget(lblQuestions);
    questions->addWidget(grdQuestions, 3);
    questions->addWidget(lblQuestionNote);
    questions->addWidget(lblMostMissed);
    questions->addWidget(grdMostMissed, 2);

    auto* review = new QHBoxLayout;
    review->addWidget(new QLabel(QStringLiteral("復習プリント：")));
    review->addWidget(cmbReviewLearner);
    review->addWidget(new QLabel(QStringLiteral("正答率")));
    review->addWidget(spnReviewRate);
    review->addWidget(btnReviewSheet);
    review->addStretch();
    questions->addLayout(review);

    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->addLayout(units, 1);
    row->addLayout(questions, 4);
    return page;
}

void TfrmClassRecords::connectQuestionControls() {
    connect(lstUnits, &QListWidget::currentRowChanged, this, [this] { lstUnitsClick(); });
    connect(chkAllRuns, &QCheckBox::toggled, this, [this] {
        recomputeQuestionResults();
        fillQuestions();
        fillMostMissed();
    });
    connect(btnReviewSheet, &QPushButton::clicked, this, &TfrmClassRecords::btnReviewSheetClick);
    // A cell of the learners' grid chooses its unit here too.
    connect(grdRecords, &QTableWidget::currentCellChanged, this, [this](int, int column) {
        if (column >= 1 && column - 1 < lstUnits->count()) lstUnits->setCurrentRow(column - 1);
    });
}

std::optional<Worksheet> TfrmClassRecords::takeReviewWorksheet() {
    std::optional<Worksheet> taken = std::move(m_reviewWorksheet);
    m_reviewWorksheet.reset();
    return taken;
}

bool TfrmClassRecords::computeQuestionResults(ProgressRun& run, int stepsBefore) {
    m_results = ResultsOfLessonStepwise(
        m_overview.outline, m_questionFiles, m_overview.files,
        chkAllRuns->isChecked() ? RunsCounted::All : RunsCounted::First, run, stepsBefore);
    m_unitsLeftOut = m_overview.outline.units.size() - m_results.units.size();
    return m_unitsLeftOut == 0;
}

void TfrmClassRecords::recomputeQuestionResults() {
    {
        std::unique_ptr<Progress> dialog;
        ProgressRun run(&progressFor(dialog), static_cast<int>(m_overview.outline.units.size()),
                        sjis("問題ごとに集計しています"));
        computeQuestionResults(run);
    }
    // A stop while reading the files was said then; only one here is news.
    showPartial(false, true);
}

void TfrmClassRecords::fillQuestions() {
    const int row = lstUnits->currentRow();
    grdQuestions->setRowCount(0);
    lblQuestionNote->clear();
    if (row >= 0 && row < lstUnits->count() &&
        static_cast<std::size_t>(row) >= m_results.units.size()) {
        lblQuestions->setText(QStringLiteral("この単元は集計していません（集計を中止しました）"));
        return;
    }
    if (row < 0 || static_cast<std::size_t>(row) >= m_results.units.size()) {
        lblQuestions->setText(QStringLiteral("単元を選んでください"));
        return;
    }
    const UnitResults& u = m_results.units[static_cast<std::size_t>(row)];
    const QString counted =
        chkAllRuns->isChecked() ? QStringLiteral("すべての回") : QStringLiteral("1回目");
    lblQuestions->setText(
        UnitName(u.unit) +
        QStringLiteral("　正答率の低い順（%1、%2人）").arg(counted).arg(u.learners));
    const std::vector<std::size_t> ranked = RankedBlanks(u);
    grdQuestions->setRowCount(static_cast<int>(ranked.size()));
    for (std::size_t i = 0; i < ranked.size(); ++i)
        FillQuestionRow(grdQuestions, static_cast<int>(i), 0, u.blanks[ranked[i]]);
    grdQuestions->resizeColumnsToContents();
    grdQuestions->setColumnWidth(2, kRateColumnWidth);

    QStringList notes;
    if (!u.questions.lines[0]) notes << QStringLiteral("問題ファイルにこの単元がありません");
    if (u.mismatched > 0)
        notes << ToQString(RecordsDoNotFitMessage()) +
                     QStringLiteral("：%1 回分は数えていません").arg(u.mismatched);
    if (u.damaged > 0)
        notes << QStringLiteral("読み取れない記録 %1 行は数えていません").arg(u.damaged);
    lblQuestionNote->setText(notes.join(QStringLiteral("　")));
}

void TfrmClassRecords::fillMostMissed() {
    const std::vector<BlankPlace> top = MostMissed(m_results);
    grdMostMissed->setRowCount(static_cast<int>(top.size()));
    for (std::size_t i = 0; i < top.size(); ++i) {
        const UnitResults& u = m_results.units[top[i].unit];
        grdMostMissed->setItem(static_cast<int>(i), 0, Item(UnitName(u.unit)));
        FillQuestionRow(grdMostMissed, static_cast<int>(i), 1, u.blanks[top[i].blank]);
    }
    grdMostMissed->resizeColumnsToContents();
    grdMostMissed->setColumnWidth(3, kRateColumnWidth);
}

void TfrmClassRecords::lstUnitsClick() {
    fillQuestions();
}

void TfrmClassRecords::btnReviewSheetClick() {
    std::vector<std::size_t> units;
    for (const QListWidgetItem* item : lstUnits->selectedItems())
        units.push_back(static_cast<std::size_t>(lstUnits->row(item)));
    if (units.empty()) {
        m_prompter.message(sjis("復習プリントにする単元を選んでください"));
        return;
    }
    // After a stopped reading the rates of some units are not known.
    if (std::any_of(units.begin(), units.end(),
                    [this](std::size_t u) { return u >= m_results.units.size(); })) {
        m_prompter.message(
            sjis("集計を中止したため、選んだ単元の正答率がわかりません。"
                 "学級の記録を開き直してください"));
        return;
    }
    const int percent = spnReviewRate->value();
    // Item 0 is the class; item n the n-th learner, whose own runs alone decide.
    const int learner = cmbReviewLearner->currentIndex() - 1;
    ReviewSheet sheet;
    if (learner >= 0 && static_cast<std::size_t>(learner) < m_overview.files.size()) {
        const LearnerFile& file = m_overview.files[static_cast<std::size_t>(learner)];
        const LessonResults own =
            ResultsOfLesson(m_overview.outline, m_questionFiles, {file},
                            chkAllRuns->isChecked() ? RunsCounted::All : RunsCounted::First);
        sheet = ComposeReviewSheet(own, units, percent, file.learner);
    } else {
        sheet = ComposeReviewSheet(m_results, units, percent);
    }
    if (sheet.questionLines.empty()) {
        m_prompter.message(sjis("正答率が ") + IntText(percent) +
                           sjis("％より低い問題はありません"));
        return;
    }
    if (sheet.leftOut > 0)
        m_prompter.message(IntText(static_cast<long long>(sheet.leftOut)) +
                           sjis(" 行は１枚に入らないため、正答率の低い行を選びました"));
    m_reviewWorksheet = ReviewWorksheet(sheet, m_source.lesson);
    accept();
}

}  // namespace sulkan
