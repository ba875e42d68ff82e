#include "TfrmMenu.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "CourseTree.h"
#include "LineFile.h"
#include "Named.h"
#include "QtText.h"
#include "SelectionLists.h"
#include "Sjis.h"
#include "UnitMarks.h"

namespace sulkan {
namespace {

const QColor kAqua(0, 255, 255);
// The background of a unit due for review, and its mark.
const QColor kDueBackground(0xFF, 0xE4, 0xC4);
const QColor kDueMark(0xC0, 0x00, 0x00);

QLabel* Header(const char* name) {
    return PanelHeader(QStringLiteral("項目を選んでください"), name);
}

// Draws a unit line as its mark and practice count followed by the title, all in the list's
// fixed-pitch font so that the marks and counts line up.
class UnitLineDelegate : public QStyledItemDelegate {
public:
    UnitLineDelegate(const TfrmMenu& menu, QObject* parent)
        : QStyledItemDelegate(parent), m_menu(menu) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const bool selected = opt.state & QStyle::State_Selected;
        painter->save();
        const bool due = m_menu.unitDue(index.row());
        if (selected)
            painter->fillRect(opt.rect, opt.palette.brush(QPalette::Highlight));
        else
            painter->fillRect(opt.rect,
                              due ? QBrush(kDueBackground) : opt.palette.brush(QPalette::Base));
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        const QString text = m_menu.unitLineText(index.row());
        painter->drawText(opt.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        if (due) {
            // After the title, so the marks and counts in front still line up.
            const int x = QFontMetrics(opt.font).horizontalAdvance(text);
            if (!selected) painter->setPen(kDueMark);
            painter->drawText(opt.rect.adjusted(x, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                              QStringLiteral("　★復習"));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QFontMetrics metrics(option.font);
        QString text = m_menu.unitLineText(index.row());
        if (m_menu.unitDue(index.row())) text += QStringLiteral("　★復習");
        return {metrics.horizontalAdvance(text), metrics.height()};
    }

private:
    const TfrmMenu& m_menu;
};

}  // namespace

TfrmMenu::TfrmMenu(AppState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      pnlTitle(Named(new QLabel, "pnlTitle")),
      pnlLesson(Header("pnlLesson")),
      lstLesson(Named(new QListWidget, "lstLesson")),
      pnlSection(Header("pnlSection")),
      lstSection(Named(new QListWidget, "lstSection")),
      pnlUnit(Header("pnlUnit")),
      lstUnit(Named(new QListWidget, "lstUnit")),
      Label2(Named(new QLabel(QStringLiteral("［　］の中の数字は練習回数です")), "Label2")),
      lblRuidai(Named(new QLabel(QStringLiteral("類題")), "lblRuidai")),
      lstRuidai(Named(new QListWidget, "lstRuidai")),
      btnRuidaiClear(Named(new QPushButton(QStringLiteral("類題選択解除")), "btnRuidaiClear")),
      btnOk(Named(new QPushButton(QStringLiteral("　Ｏ　Ｋ　")), "btnOk")),
      btnCancel(Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "btnCancel")),
      btnZenTangen(Named(new QPushButton(QStringLiteral("全単元表示")), "btnZenTangen")),
      btnShowRecord(Named(new QPushButton(QStringLiteral("記録表示")), "btnShowRecord")),
      btnClassRecords(Named(new QPushButton(QStringLiteral("学級の記録")), "btnClassRecords")),
      lblTodayReview(Named(new QLabel, "lblTodayReview")),
      btnTodayReview(Named(new QPushButton(QStringLiteral("今日の復習")), "btnTodayReview")),
      m_state(state),
      m_prompter(prompter) {
    createControls();
    createLayout();
    connectControls();
}

void TfrmMenu::createControls() {
    setObjectName(QStringLiteral("TfrmMenu"));
    setWindowTitle(QStringLiteral("マスターファイルを開く"));

    QFont titleFont = pnlTitle->font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    pnlTitle->setFont(titleFont);
    pnlTitle->setAlignment(Qt::AlignCenter);

    setUnitPanel(false);

    QFont fixed(QStringLiteral("ＭＳ ゴシック"));
    fixed.setPixelSize(16);
    fixed.setStyleHint(QFont::Monospace);
    lstUnit->setFont(fixed);
    lstUnit->setItemDelegate(new UnitLineDelegate(*this, lstUnit));

    QFont ruidaiFont = lblRuidai->font();
    ruidaiFont.setBold(true);
    lblRuidai->setFont(ruidaiFont);
    lblRuidai->setStyleSheet(QStringLiteral("color: magenta"));
    lstRuidai->setSelectionMode(QAbstractItemView::MultiSelection);
    btnOk->setDefault(true);
}

void TfrmMenu::createLayout() {
    auto* lists = new QGridLayout;
    lists->addWidget(pnlLesson, 0, 0);
    lists->addWidget(lstLesson, 1, 0);
    lists->addWidget(pnlSection, 0, 1);
    lists->addWidget(lstSection, 1, 1);
    lists->addWidget(pnlUnit, 0, 2);
    lists->addWidget(lstUnit, 1, 2);
    lists->setColumnStretch(0, 2);
    lists->setColumnStretch(1, 3);
    lists->setColumnStretch(2, 4);

    auto* side = new QVBoxLayout;
    side->addWidget(lblRuidai);
    side->addWidget(lstRuidai);
    side->addWidget(btnRuidaiClear);
    side->addStretch();
    side->addWidget(lblTodayReview);
    side->addWidget(btnTodayReview);
    side->addWidget(btnZenTangen);
    side->addWidget(btnShowRecord);
    side->addWidget(btnClassRecords);
    side->addWidget(btnOk);
    side->addWidget(btnCancel);
    lists->addLayout(side, 1, 3);

    auto* root = new QVBoxLayout(this);
    root->addWidget(pnlTitle);
    root->addLayout(lists, 1);
    root->addWidget(Label2);

    lblRuidai->hide();
    lstRuidai->hide();
    btnRuidaiClear->hide();
}

void TfrmMenu::connectControls() {
    for (QListWidget* list : {lstLesson, lstSection, lstUnit}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    connect(lstLesson, &QListWidget::currentRowChanged, this, [this] { lstLessonClick(); });
    connect(lstSection, &QListWidget::currentRowChanged, this, [this] { lstSectionClick(); });
    connect(lstUnit, &QListWidget::currentRowChanged, this, [this] { lstUnitClick(); });
    connect(lstUnit, &QListWidget::itemDoubleClicked, this, [this] { btnOkClick(); });
    connect(lstRuidai, &QListWidget::itemSelectionChanged, this, &TfrmMenu::lstRuidaiClick);
    connect(btnRuidaiClear, &QPushButton::clicked, this, &TfrmMenu::btnRuidaiClearClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmMenu::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnShowRecord, &QPushButton::clicked, this, &TfrmMenu::btnShowRecordClick);
    connect(btnZenTangen, &QPushButton::clicked, this, &TfrmMenu::btnZenTangenClick);
    connect(btnClassRecords, &QPushButton::clicked, this, &TfrmMenu::btnClassRecordsClick);
    connect(btnTodayReview, &QPushButton::clicked, this, &TfrmMenu::btnTodayReviewClick);
}

void TfrmMenu::setCourseIndex(const std::string& title,
                              const std::vector<std::string>& lessonTitles) {
    pnlTitle->setText(ToQString(title));
    m_lessonTitles = lessonTitles;
    FillList(lstLesson, lessonTitles);
}

void TfrmMenu::clearLists() {
    m_lessonTitles.clear();
    FillList(lstLesson, {});
    setSectionTitles({});
    m_listedLesson = 0;
}

void TfrmMenu::RecountUnitMarks() {
    recount(false);
}

QString TfrmMenu::unitLineText(int row) const {
    const QListWidgetItem* item = lstUnit->item(row);
    if (!item) return {};
    const int section = SelectedRow(lstSection) + 1;
    const int unit = row + 1;
    if (!IsSlot(section) || !IsSlot(unit)) return item->text();
    return ToQString(m_state.UnitMarks[section][unit]) + item->text();
}

void TfrmMenu::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

bool TfrmMenu::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
        type == QEvent::MouseButtonDblClick) {
        // A click below the last title would clear the list's choice, and OK would then say
        // that nothing is chosen: the list keeps it.
        for (QListWidget* list : {lstLesson, lstSection, lstUnit}) {
            if (watched != list->viewport()) continue;
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (!list->indexAt(at).isValid()) return true;
        }
    }
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QWidget* next = nullptr;
        if (key == Qt::Key_Left && watched == lstUnit)
            next = lstSection;
        else if (key == Qt::Key_Left && watched == lstSection)
            next = lstLesson;
        else if (key == Qt::Key_Right && (watched == lstSection || watched == lstLesson))
            next = lstUnit;
        if (next) {
            next->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmMenu::FormShow() {
    setWindowTitle(m_mode == QLatin1String("Open") ? QStringLiteral("マスターファイルを開く")
                                                   : QStringLiteral("追加ファイルを開く"));
    move(0, 0);
    // Other learners' records are for the teacher's eyes only.
    btnClassRecords->setVisible(!m_state.LearnerMode);
    if (const QWidget* mainWindow = parentWidget()) resize(mainWindow->size());

    if (m_state.IndexReloadPending) {
        if (ReadCourseIndexHook) ReadCourseIndexHook();
        m_state.IndexReloadPending = false;
        m_firstShow = true;
    }
    if (lstLesson->count() > 0) {
        if (m_firstShow) {
            SelectRow(lstLesson, 0);
            lstLessonClick();
            if (lstSection->count() > 0) {
                SelectRow(lstSection, 0);
                lstSectionClick();
            }
            m_firstShow = false;
        } else if (SelectedRow(lstUnit) >= 0) {
            lstUnitClick();  // the remembered unit's similar problems may have changed
        }
    }
    // A saved question may have gained or lost similar problems since the marks were counted.
    if (m_state.MarksRecountPending) RecountUnitMarks();
    btnRuidaiClearClick();
}

void TfrmMenu::lstLessonClick() {
    const int lesson = lstLesson->currentRow() + 1;
    if (lesson < 1) return;
    m_state.CurrentUnit.lesson = lesson;
    const LessonIndex index =
        ReadLessonIndex(m_state.ProgramFolder, m_state.Course, lesson, m_prompter);
    if (!index.ok()) {
        m_state.CurrentUnit.lesson = -1;
        // With the folder missing nothing was read, so the old sections stay listed.
        if (index.status != LessonIndexStatus::FolderMissing) {
            setSectionTitles({});
            m_listedLesson = 0;
        }
        return;
    }
    m_listedLesson = lesson;
    setSectionTitles(index.sectionTitles);
    if (lstSection->count() > 0) {
        SelectRow(lstSection, 0);
        lstSectionClick();
    }
    m_state.CurrentUnit.section = 1;
    // The similar-problem flags still describe the lesson read before.
    recount(true);
}

void TfrmMenu::lstSectionClick() {
    const int section = lstSection->currentRow() + 1;
    if (section < 1) return;
    FillList(lstUnit, {});
    m_state.CurrentUnit.section = section;
    m_questionLines.clear();
    const std::string path = questionFileOf(section);
    if (!path.empty() && FileExists(path)) {
        if (auto lines = ReadLines(path)) m_questionLines = std::move(*lines);
    }
    FillList(lstUnit, m_state.Course.SectionUnitTitles[section]);
    if (lstUnit->count() > 0) {
        SelectRow(lstUnit, 0);
        lstUnitClick();
    } else {
        showSimilarProblems({});
    }
}

void TfrmMenu::lstUnitClick() {
    const int section = SelectedRow(lstSection) + 1;
    const int unit = lstUnit->currentRow() + 1;
    std::vector<std::string> items;
    const std::string path = section >= 1 ? questionFileOf(section) : std::string();
    if (unit >= 1 && !path.empty() && FileExists(path)) {
        if (auto lines = ReadLines(path)) m_questionLines = std::move(*lines);
        items = SimilarProblemItems(m_questionLines, unit);
    }
    showSimilarProblems(items);
    setUnitPanel(false);
    lstUnit->setFocus();
}

void TfrmMenu::lstRuidaiClick() {
    // The panel says whether OK will carry a similar problem.
    setUnitPanel(!lstRuidai->selectedItems().isEmpty());
}

void TfrmMenu::btnRuidaiClearClick() {
    {
        const QSignalBlocker block(lstRuidai);
        lstRuidai->clearSelection();
        lstRuidai->setCurrentItem(nullptr);
    }
    setUnitPanel(false);
}

void TfrmMenu::btnOkClick() {
    const int lesson = SelectedRow(lstLesson) + 1;
    const int section = SelectedRow(lstSection) + 1;
    const int unit = SelectedRow(lstUnit) + 1;
    // A lesson whose index could not be read cannot be opened, even if older sections are listed.
    if (lesson < 1 || section < 1 || unit < 1 || lesson != m_listedLesson ||
        static_cast<std::size_t>(lesson) > m_lessonTitles.size() ||
        static_cast<std::size_t>(section) > m_sectionTitles.size()) {
        m_prompter.message(sjis("メニューを選択してください"));
        return;
    }
    m_state.SelectedLessonName = m_lessonTitles[lesson - 1];
    m_state.SelectedSectionName = m_sectionTitles[section - 1];
    m_state.SelectedUnitName = UnitTitleOf(m_state.Course, section, unit);
    const int similar = selectedSimilarNumber();
    m_similarChosen = similar > 0;
    m_state.CurrentUnit = {lesson, section, unit, similar};
    accept();
}

void TfrmMenu::btnShowRecordClick() {
    if (m_state.LearnerName.empty() && LogOnHook) LogOnHook();
    if (m_state.LearnerName.empty()) return;
    if (ShowRecordsHook && ShowRecordsHook()) RecountUnitMarks();
}

void TfrmMenu::btnZenTangenClick() {
    RecountUnitMarks();
    if (ZenTangenHook) ZenTangenHook();
}

void TfrmMenu::btnClassRecordsClick() {
    const int listed = lstLesson->currentRow() + 1;
    if (ClassRecordsHook &&
        ClassRecordsHook(listed >= 1 ? listed : std::max(1, m_state.CurrentUnit.lesson)))
        reject();
}

void TfrmMenu::recount(bool similarFlagsStale) {
    if (m_listedLesson < 1) {
        m_due = {};
        showDueUnits();
        return;
    }
    sulkan::RecountUnitMarks(m_state, m_listedLesson, lstSection->count(), similarFlagsStale);
    // Counted with the marks: both follow the learner's records.
    m_due = LearnerDueList(m_state, m_listedLesson, lstSection->count(), TodayHook());
    showDueUnits();
    lstUnit->viewport()->update();
}

bool TfrmMenu::unitDue(int row) const {
    const int section = SelectedRow(lstSection) + 1;
    return std::any_of(m_due.units.begin(), m_due.units.end(), [&](const LessonUnit& u) {
        return u.section == section && u.unit == row + 1;
    });
}

void TfrmMenu::showDueUnits() {
    const bool learner = !m_state.LearnerName.empty() && m_listedLesson >= 1;
    lblTodayReview->setVisible(learner);
    btnTodayReview->setVisible(learner);
    btnTodayReview->setEnabled(!m_due.units.empty());
    lblTodayReview->setText(m_due.units.empty()
                                ? QStringLiteral("今日の復習はありません")
                                : QStringLiteral("今日の復習：%1単元").arg(m_due.units.size()));
}

void TfrmMenu::btnTodayReviewClick() {
    if (m_due.units.empty()) return;
    const LessonUnit& next = m_due.units.front();
    if (next.section > lstSection->count()) return;
    SelectRow(lstSection, next.section - 1);
    lstSectionClick();
    if (next.unit > lstUnit->count()) return;
    SelectRow(lstUnit, next.unit - 1);
    lstUnitClick();
    btnRuidaiClearClick();
    btnOkClick();
}

void TfrmMenu::setSectionTitles(const std::vector<std::string>& titles) {
    m_sectionTitles = titles;
    FillList(lstSection, titles);
    FillList(lstUnit, {});
    m_questionLines.clear();
    showSimilarProblems({});
}

void TfrmMenu::showSimilarProblems(const std::vector<std::string>& items) {
    FillList(lstRuidai, items);
    const bool any = !items.empty();
    lstRuidai->setVisible(any);
    lblRuidai->setVisible(any);
    btnRuidaiClear->setVisible(any);
}

void TfrmMenu::setUnitPanel(bool similarSelected) {
    QPalette palette = pnlUnit->palette();
    palette.setColor(QPalette::Window, similarSelected ? QColor(Qt::red) : kAqua);
    pnlUnit->setPalette(palette);
    pnlUnit->setText(similarSelected ? QStringLiteral("類題が選択されています")
                                     : QStringLiteral("項目を選んでください"));
}

int TfrmMenu::selectedSimilarNumber() const {
    const QList<QListWidgetItem*> selected = lstRuidai->selectedItems();
    if (selected.isEmpty()) return 0;
    // The focused item is the one clicked last.
    const QListWidgetItem* focused = lstRuidai->currentItem();
    if (focused && focused->isSelected()) return lstRuidai->row(focused) + 1;
    // It was clicked to deselect it: take the first one still selected.
    int first = lstRuidai->count();
    for (const QListWidgetItem* item : selected) first = std::min(first, lstRuidai->row(item));
    return first + 1;
}

std::string TfrmMenu::questionFileOf(int section) const {
    const UnitAddress address{m_listedLesson, section, 1, 0};
    // A file leading out of the course is not read for its similar problems; opening it says why.
    if (!QuestionFileProblem(m_state.ProgramFolder, m_state.Course, address)) return {};
    return UnitFileNames(m_state.ProgramFolder, m_state.Course, address).questionFile;
}

}  // namespace sulkan
