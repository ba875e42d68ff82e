#include "TfrmEditIndex.h"

#include <QMouseEvent>
#include <QShowEvent>
#include <QSignalBlocker>

#include "CourseTree.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "MessagePaths.h"
#include "QtText.h"
#include "Sjis.h"
#include "TfrmEditSource.h"
#include "TfrmInputText.h"

namespace sulkan {
namespace {

constexpr int kHelpContext = 730;
constexpr int kSourceHelpContext = 710;

}  // namespace

TfrmEditIndex::TfrmEditIndex(Prompter& prompter, bool& indexReloadPending, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_indexReloadPending(indexReloadPending) {
    setObjectName(QStringLiteral("TfrmEditIndex"));
    setWindowTitle(QStringLiteral("Sulkan Editor 教材の作成"));
    createControls();
    createLayout();
    connectControls();
}

QString TfrmEditIndex::backgroundHint() {
    return QStringLiteral("インデックスを編集した後、マスターファイルを編集します。");
}

QString TfrmEditIndex::editDirectHint() {
    // The button edits the selected lesson's index file, never "Main.ind".
    return QStringLiteral("選択した課のインデックスファイルを直接編集します");
}

void TfrmEditIndex::connectControls() {
    connect(lstELesson, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) lstELessonClick();
    });
    connect(lstESection, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) lstESectionClick();
    });
    connect(lstEUnit, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) lstEUnitClick();
    });
    connect(lstEUnit, &QListWidget::itemDoubleClicked, this, [this] { btnOkClick(); });
    connect(btnAdd, &QPushButton::clicked, this, &TfrmEditIndex::btnAddClick);
    connect(btnChange, &QPushButton::clicked, this, &TfrmEditIndex::btnChangeClick);
    connect(btnAdd2, &QPushButton::clicked, this, &TfrmEditIndex::btnAdd2Click);
    connect(btnChange2, &QPushButton::clicked, this, &TfrmEditIndex::btnChange2Click);
    connect(btnExpand, &QPushButton::clicked, this, &TfrmEditIndex::btnExpandClick);
    connect(btnEditDirect, &QPushButton::clicked, this, &TfrmEditIndex::btnEditDirectClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmEditIndex::btnOkClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmEditIndex::btnCloseClick);
    connect(btnHelp, &QPushButton::clicked, this, [this] { Q_EMIT helpRequested(kHelpContext); });
    connect(frmEditSource, &TfrmEditSource::helpRequested, this, &TfrmEditIndex::helpRequested);
}

int TfrmEditIndex::editIndex(const std::string& programFolder) {
    m_programFolder = programFolder;
    const auto mainInd = LoadCourseIndex(programFolder, m_prompter);
    if (!mainInd) return QDialog::Rejected;
    m_lessons = ReadEditorLessons(*mainInd);
    {
        const QSignalBlocker blocker(lstELesson);
        lstELesson->clear();
        for (const EditorLesson& lesson : m_lessons.lessons)
            lstELesson->addItem(ToQString(lesson.title));
    }
    return exec();
}

void TfrmEditIndex::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmEditIndex::FormShow() {
    if (QWidget* owner = parentWidget()) {
        resize(owner->window()->size());
        move(owner->window()->geometry().topLeft());
    }
    m_hintGreen = false;
    setHint(backgroundHint());
    {
        const QSignalBlocker blocker(lstELesson);
        lstELesson->setCurrentRow(lstELesson->count() > 0 ? 0 : -1);
    }
    if (lstELesson->count() > 0)
        lstELessonClick();
    else
        clearLesson();
    setExpandButton(true);
}

void TfrmEditIndex::lstELessonClick() {
    loadLesson(currentLesson());
    setHint(QStringLiteral("インデックスを変更した後、[OK]ボタンをクリックします。"));
}

void TfrmEditIndex::clearLesson() {
    m_loadedLesson = 0;
    m_modified = false;
    m_lines.clear();
    m_sectionTitles.clear();
    m_unitTitles.clear();
    edtMainTitle->clear();
    edtIndex->clear();
    edtDataFile->clear();
    for (QListWidget* list : {lstESection, lstEUnit}) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    trvSect->clear();
    setEditable(false);
}

void TfrmEditIndex::loadLesson(int lesson) {
    clearLesson();
    if (lesson < 1 || static_cast<std::size_t>(lesson) > m_lessons.lessons.size()) return;
    const EditorLesson& entry = m_lessons.lessons[static_cast<std::size_t>(lesson - 1)];
    std::string refusal = entry.refusal;
    if (refusal.empty()) refusal = LessonLineProblem(m_programFolder, entry.line).problem().message;
    if (!refusal.empty()) {
        m_prompter.message(refusal);
        return;
    }
    const std::string path = EditorIndexPath(m_programFolder, entry);
    edtIndex->setText(ToQString(NativeSeparators(path)));
    if (FileExists(path)) {
        auto lines = ReadLines(path);
        if (!lines) {
            // Showing the template here would let OK overwrite a file nobody could read.
            m_prompter.message(CannotReadText(NativeSeparators(path)));
            return;
        }
        m_lines = std::move(*lines);
    } else {
        m_lines = NewLessonIndexTemplate();
    }
    m_loadedLesson = lesson;
    setEditable(true);
    edtMainTitle->setText(m_lines.empty() ? QString() : ToQString(m_lines.front()));
    buildTree(true, 0);
    refillSections();
    if (!m_sectionTitles.empty()) selectSection(1);
}

void TfrmEditIndex::buildTree(bool withMarks, int expandOnly) {
    trvSect->clear();
    auto* root =
        new QTreeWidgetItem(trvSect, {m_lines.empty() ? QString() : ToQString(m_lines.front())});
    root->setIcon(0, ImageList1[RootImage]);
    const auto blocks = IndexBlocks(m_lines);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const int section = static_cast<int>(b) + 1;
        auto* node = new QTreeWidgetItem(root, {ToQString(blocks[b].title)});
        node->setIcon(0, ImageList1[SectionImage]);
        for (std::size_t u = 0; u < blocks[b].units.size(); ++u) {
            std::string text = blocks[b].units[u];
            if (withMarks && UnitMarkHook)
                text = UnitMarkHook(m_loadedLesson, section, static_cast<int>(u) + 1) + text;
            auto* unit = new QTreeWidgetItem(node, {ToQString(text)});
            unit->setIcon(0, ImageList1[UnitImage]);
        }
        node->setExpanded(expandOnly == 0 || expandOnly == section);
    }
    root->setExpanded(true);
}

void TfrmEditIndex::refillSections() {
    m_sectionTitles.clear();
    for (const IndexBlock& block : IndexBlocks(m_lines)) m_sectionTitles.push_back(block.title);
    const QSignalBlocker blocker(lstESection);
    lstESection->clear();
    for (const std::string& title : m_sectionTitles) lstESection->addItem(ToQString(title));
}

void TfrmEditIndex::selectSection(int section) {
    {
        const QSignalBlocker blocker(lstESection);
        lstESection->setCurrentRow(section - 1);
    }
    lstESectionClick();
}

void TfrmEditIndex::selectUnit(int unit) {
    {
        const QSignalBlocker blocker(lstEUnit);
        lstEUnit->setCurrentRow(unit - 1);
    }
    lstEUnitClick();
}

void TfrmEditIndex::lstESectionClick() {
    const int section = currentSection();
    if (section < 1 || m_loadedLesson < 1) return;
    const EditorLesson& lesson = m_lessons.lessons[static_cast<std::size_t>(m_loadedLesson - 1)];
    const std::string questionFile = EditorQuestionPath(m_programFolder, lesson, section);
    edtDataFile->setText(FileExists(questionFile) ? ToQString(NativeSeparators(questionFile))
                                                  : QStringLiteral("未作成"));
    const auto units = SectionUnits(m_lines, section);
    // Another section's units left in the list would be taken for this section's.
    m_unitTitles = units.value_or(std::vector<std::string>{});
    {
        const QSignalBlocker blocker(lstEUnit);
        lstEUnit->clear();
        for (const std::string& title : m_unitTitles) lstEUnit->addItem(ToQString(title));
    }
    if (!units) {
        m_prompter.message(SectionNotFoundText(section));
        return;
    }
    if (!m_unitTitles.empty()) selectUnit(1);
}

void TfrmEditIndex::lstEUnitClick() {
    const int section = currentSection(), unit = currentUnit();
    QTreeWidgetItem* root = trvSect->topLevelItem(0);
    if (!root || section < 1 || unit < 1 || section > root->childCount()) return;
    QTreeWidgetItem* node = root->child(section - 1);
    if (unit <= node->childCount()) trvSect->setCurrentItem(node->child(unit - 1));
}

std::optional<std::string> TfrmEditIndex::typedTitle(const QString& text,
                                                     const std::string& original) {
    char32_t failed = 0;
    auto bytes = FromQStringKeeping(text, original, &failed);
    if (!bytes) m_prompter.message(UnencodableText(failed));
    return bytes;
}

std::optional<std::string> TfrmEditIndex::askTitle(const QString& mode,
                                                   const std::string& current) {
    if (frmInputText->ask(mode, ToQString(current)) != QDialog::Accepted) return std::nullopt;
    return typedTitle(frmInputText->text(), current);
}

bool TfrmEditIndex::report(const EditResult& result) {
    if (result.status == EditStatus::Done) return true;
    if (result.problem) m_prompter.message(result.problem->message);
    return false;
}

void TfrmEditIndex::btnAddClick() {
    if (!m_editable) return;
    const auto title = askTitle(QStringLiteral("mainADD"), {});
    if (!title) return;
    const EditResult result = AddSection(m_lines, *title);
    if (!report(result)) return;
    buildTree(false, result.section);
    refillSections();
    selectSection(result.section);
    m_modified = true;
}

void TfrmEditIndex::btnChangeClick() {
    const int section = currentSection();
    if (!m_editable || section < 1) {
        m_prompter.message(sjis("変更する項目をクリックしてください"));
        return;
    }
    const auto title = askTitle(QStringLiteral("mainCHANGE"),
                                m_sectionTitles[static_cast<std::size_t>(section - 1)]);
    if (!title) return;
    if (!report(RenameSection(m_lines, section, *title))) return;
    m_sectionTitles[static_cast<std::size_t>(section - 1)] = *title;
    lstESection->item(section - 1)->setText(ToQString(*title));
    selectSection(section);
    m_modified = true;
}

void TfrmEditIndex::btnAdd2Click() {
    if (!m_editable) return;
    const int section = currentSection();
    if (section < 1) {
        m_prompter.message(sjis("単元を追加する主メニューをクリックしてください"));
        return;
    }
    const auto title = askTitle(QStringLiteral("subADD"), {});
    if (!title) return;
    const EditResult result = AddUnit(m_lines, section, *title);
    if (!report(result)) return;
    selectSection(section);
    selectUnit(result.unit);
    m_modified = true;
}

void TfrmEditIndex::btnChange2Click() {
    const int unit = currentUnit();
    if (!m_editable || unit < 1) {
        m_prompter.message(sjis("変更する項目をクリックしてください"));
        return;
    }
    const auto title =
        askTitle(QStringLiteral("subCHANGE"), m_unitTitles[static_cast<std::size_t>(unit - 1)]);
    if (!title || title->empty()) return;
    const int section = currentSection();
    if (section < 1) {
        m_prompter.message(sjis("変更するメニューがありません"));
        return;
    }
    if (!report(RenameUnit(m_lines, section, unit, *title))) return;
    selectSection(section);
    selectUnit(unit);
    m_modified = true;
}

void TfrmEditIndex::btnExpandClick() {
    m_expanded = !m_expanded;
    if (QTreeWidgetItem* root = trvSect->topLevelItem(0))
        for (int i = 0; i < root->childCount(); ++i) root->child(i)->setExpanded(m_expanded);
    setExpandButton(m_expanded);
}

void TfrmEditIndex::setExpandButton(bool expanded) {
    m_expanded = expanded;
    btnExpand->setText(expanded ? QStringLiteral("表示を圧縮する")
                                : QStringLiteral("表示を展開する"));
    btnExpand->setIcon(ImageList1[expanded ? CollapseImage : ExpandImage]);
}

std::optional<std::vector<std::string>> TfrmEditIndex::linesToSave() {
    std::vector<std::string> lines = m_lines;
    const std::string original = lines.empty() ? std::string() : lines.front();
    const auto title = typedTitle(edtMainTitle->text(), original);
    if (!title) return std::nullopt;
    if (const Result<> fits = TitleFault(*title, TitleKind::IndexTitle); !fits) {
        m_prompter.message(fits.problem().message);
        return std::nullopt;
    }
    if (lines.empty())
        lines.push_back(*title);
    else
        lines.front() = *title;
    return lines;
}

bool TfrmEditIndex::saveIndex(const std::vector<std::string>& lines) {
    const EditorLesson& lesson = m_lessons.lessons[static_cast<std::size_t>(m_loadedLesson - 1)];
    const Result<> saved = WriteLines(EditorIndexPath(m_programFolder, lesson), lines);
    if (!saved)
        m_prompter.message(
            WithNativePath(saved.problem().message, EditorIndexPath(m_programFolder, lesson)));
    return saved.ok();
}

void TfrmEditIndex::btnEditDirectClick() {
    if (!m_editable) return;
    auto lines = linesToSave();
    if (!lines) return;
    const EditorLesson& lesson = m_lessons.lessons[static_cast<std::size_t>(m_loadedLesson - 1)];
    frmEditSource->resize(size());
    // A failed save brings the editor back with the text, so nothing typed is lost.
    for (;;) {
        if (frmEditSource->editLines(EditorIndexPath(m_programFolder, lesson), kSourceHelpContext,
                                     *lines) != QDialog::Accepted)
            return;
        *lines = frmEditSource->editedLines();
        if (saveIndex(*lines)) break;
    }
    m_indexReloadPending = true;
    {
        const QSignalBlocker blocker(lstELesson);
        lstELesson->setCurrentRow(0);
    }
    lstELessonClick();
}

void TfrmEditIndex::btnOkClick() {
    if (currentLesson() < 1 || currentSection() < 1) {
        m_prompter.message(sjis("編集する主メニューを選択してください"));
        return;
    }
    if (currentUnit() < 1) {
        m_prompter.message(sjis("編集する副メニューを選択してください"));
        return;
    }
    const QString fileTitle = m_lines.empty() ? QString() : ToQString(m_lines.front());
    if (m_editable && (m_modified || edtMainTitle->text() != fileTitle)) {
        auto lines = linesToSave();
        if (!lines || !saveIndex(*lines)) return;
        m_lines = std::move(*lines);
        m_indexReloadPending = true;
    }
    m_modified = false;
    accept();
}

void TfrmEditIndex::btnCloseClick() {
    m_modified = false;
    reject();
}

void TfrmEditIndex::setEditable(bool editable) {
    m_editable = editable;
    for (QWidget* w : std::initializer_list<QWidget*>{btnAdd, btnChange, btnAdd2, btnChange2,
                                                      btnEditDirect, edtMainTitle})
        w->setEnabled(editable);
}

void TfrmEditIndex::setHint(const QString& text) {
    pnlHint->setText(text);
    QPalette palette = pnlHint->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, m_hintGreen ? QColor(0, 220, 0) : QColor(255, 255, 0));
    pnlHint->setPalette(palette);
}

bool TfrmEditIndex::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        for (const auto& hint : m_hints)
            if (hint.first == watched) setHint(hint.second);
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmEditIndex::mouseMoveEvent(QMouseEvent* event) {
    // Moves over controls without pointer tracking arrive here too: only the background counts.
    for (QWidget* w = childAt(event->position().toPoint()); w; w = w->parentWidget()) {
        for (const auto& hint : m_hints)
            if (hint.first == w) return QDialog::mouseMoveEvent(event);
    }
    m_hintGreen = true;
    setHint(backgroundHint());
    QDialog::mouseMoveEvent(event);
}

int TfrmEditIndex::currentLesson() const {
    return lstELesson->currentRow() + 1;
}

int TfrmEditIndex::currentSection() const {
    return lstESection->currentRow() + 1;
}

int TfrmEditIndex::currentUnit() const {
    return lstEUnit->currentRow() + 1;
}

}  // namespace sulkan
