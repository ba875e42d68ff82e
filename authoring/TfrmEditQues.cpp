#include "TfrmEditQues.h"

#include <QCloseEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTextBlock>

#include "DrillHost.h"
#include "EditorPreview.h"
#include "EditorText.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "MessagePaths.h"
#include "QtText.h"
#include "QuestionFileCheck.h"
#include "Sjis.h"
#include "TfrmEditSource.h"

namespace sulkan {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kDirectEditHelp = 720;

}  // namespace

TfrmEditQues::TfrmEditQues(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter) {
    setObjectName(u"TfrmEditQues"_s);
    setWindowTitle(u"マスターファイルの編集"_s);
    createControls();
    layOut();
    connectControls();
}

void TfrmEditQues::connectControls() {
    connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &TfrmEditQues::btnCancelClick);
    connect(btnEditDirect, &QPushButton::clicked, this, &TfrmEditQues::btnEditDirectClick);
    connect(btnTest, &QPushButton::clicked, this, [this] { btnTestClick(); });
    connect(btnKgAdd, &QPushButton::clicked, this, &TfrmEditQues::btnKgAddClick);
    connect(btnDummy, &QPushButton::clicked, this, &TfrmEditQues::btnDummyClick);
    connect(btnKai, &QPushButton::clicked, this, [this] { markup(Markup::Answer); });
    connect(btnKakko, &QPushButton::clicked, this, [this] { markup(Markup::Underline); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { markup(Markup::Bold); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { markup(Markup::Italic); });
    connect(btnUB, &QPushButton::clicked, this, [this] { markup(Markup::UnderlineBold); });
    connect(btnNumber, &QPushButton::clicked, this, &TfrmEditQues::btnNumberClick);
    connect(btnQGAdd, &QPushButton::clicked, this, [this] { addFigures(memQGraph, false); });
    connect(btnAGAdd, &QPushButton::clicked, this, [this] { addFigures(memAGraph, true); });
    connect(btnQGClear, &QPushButton::clicked, this, [this] { replaceText(memQGraph, {}); });
    connect(btnAGClear, &QPushButton::clicked, this, [this] { replaceText(memAGraph, {}); });
    connect(flbGraph, &QListWidget::itemClicked, this, &TfrmEditQues::flbGraphClick);
    connect(frmEditSource, &TfrmEditSource::helpRequested, this, &TfrmEditQues::helpRequested);
    for (QPlainTextEdit* memo :
         {MemQues, memDummy, memKgroup, memHint, memQGraph, memAGraph, memPasteLo})
        connect(memo, &QPlainTextEdit::textChanged, this, &TfrmEditQues::fieldEdited);
    connect(edtSoftKeyB, &QLineEdit::textChanged, this, &TfrmEditQues::fieldEdited);
    connect(memKgroup, &QPlainTextEdit::textChanged, this, &TfrmEditQues::updateCounts);
    connect(tmrPreview, &QTimer::timeout, this, &TfrmEditQues::updatePreview);
    // A new pane size is drawn for at once: drawing at the size shown is cheap.
    pnlPreview->ResizedHook = [this] {
        if (isVisible() && !m_loading) updatePreview();
    };
}

int TfrmEditQues::showFor(const QuesEditRequest& request) {
    m_request = request;
    if (parentWidget()) {
        const QWidget* main = parentWidget()->window();
        setGeometry(QRect(main->geometry().topLeft(), main->size()));
    }
    const UnitFiles files =
        request.course ? UnitFileNames(request.programFolder, *request.course, request.address)
                       : UnitFiles{};
    m_path = files.questionFile;
    if (m_path.empty()) return Rejected;
    if (const Result<> usable =
            QuestionFileProblem(request.programFolder, *request.course, request.address);
        !usable) {
        m_prompter.message(usable.problem().message);
        return Rejected;
    }
    FormShow();
    if (!m_canSave) return Rejected;
    return exec();
}

void TfrmEditQues::FormShow() {
    imgGraph->clear();
    btnEditDirect->setEnabled(!m_request.newUnit);
    m_modified = false;
    m_canSave = true;
    if (m_request.address.section >= 1) loadUnit(true);
    if (!m_canSave) return;
    m_figureFolder = m_request.course ? FigureFolderOf(m_request.programFolder, *m_request.course,
                                                       m_request.address.lesson)
                                      : std::string();
    flbGraph->clear();
    m_previewFigureNames.reset();
    if (!m_figureFolder.empty()) {
        for (const std::string& name : ListFiles(m_figureFolder, "*.BMP")) {
            auto* item = new QListWidgetItem(ToQString(name), flbGraph);
            item->setData(Qt::UserRole, QByteArray::fromStdString(name));
        }
    }
    const Worksheet* ws = m_request.worksheet;
    // A new unit has no worksheet yet; an open one belongs to another unit.
    edtTangen->setText(ws && !m_request.newUnit ? ToQString(ws->titles.unit) : u"新規"_s);
    const UnitAddress& a = m_request.address;
    QString address = u"%1 %2 %3"_s.arg(a.lesson).arg(a.section).arg(a.unit);
    if (a.similar != 0) address += u"R%1"_s.arg(a.similar);
    edtLesson->setText(address);
    edtFileName->setText(ToQString(NativeSeparators(m_path)));
    MemQues->setFocus();
    btnTestClick();
    updateCounts();
    m_modified = false;
    updatePreview();
}

void TfrmEditQues::loadUnit(bool fromWorksheet) {
    m_loading = true;
    lstSoftKeyB->clear();
    m_softKeys = SoftKeys{};
    m_fileBytes.clear();
    m_fileLines.clear();
    if (FileExists(m_path)) {
        auto bytes = ReadBytes(m_path);
        if (!bytes) {
            // Starting from nothing would overwrite the file with this unit alone.
            m_prompter.message(CannotReadText(NativeSeparators(m_path)));
            m_canSave = false;
            m_loading = false;
            return;
        }
        m_fileBytes = std::move(*bytes);
        m_fileLines = SplitLines(m_fileBytes);
    }
    LoadedFields loaded = LoadUnitFields(m_fileLines, UnitHeaderOf(m_request.address));
    std::vector<std::string> originals = loaded.unitLines;
    const Worksheet* ws = m_request.worksheet;
    if (fromWorksheet && ws && !ws->isCopy && ws->address == m_request.address &&
        ws->filePath == m_path) {
        loaded.fields.pasteLo = LayoutLines(ws->params);
        loaded.fields.blocks.graph = ws->content.questionFigures;
        loaded.fields.blocks.agraph = ws->content.answerFigures;
        originals.insert(originals.end(), loaded.fields.pasteLo.begin(),
                         loaded.fields.pasteLo.end());
    }
    m_spellings = KeptSpellings(originals);
    setFields(loaded.fields);
    m_softKeyOriginal = loaded.fields.softKeyB;
    const std::string& key = loaded.fields.softKeyB;
    if (!key.empty()) {
        SoftKeyFile file = ReadSoftKeyFile(m_request.programFolder, key);
        if (file.problem) m_prompter.message(file.problem->message);
        for (const std::string& line : file.lines) lstSoftKeyB->addItem(ToQString(line));
        LayKeysFromFile(m_softKeys, file.lines);
    }
    m_modified = false;
    m_loading = false;
}

void TfrmEditQues::setFields(const QuestionFields& f) {
    MemQues->setPlainText(JoinLinesForField(f.blocks.ques));
    memDummy->setPlainText(JoinLinesForField(f.blocks.dummy));
    memKgroup->setPlainText(JoinLinesForField(f.blocks.kgroup));
    memHint->setPlainText(JoinLinesForField(f.blocks.hint));
    memQGraph->setPlainText(JoinLinesForField(f.blocks.graph));
    memAGraph->setPlainText(JoinLinesForField(f.blocks.agraph));
    memPasteLo->setPlainText(JoinLinesForField(f.pasteLo));
    edtSoftKeyB->setText(ToQString(f.softKeyB));
    lstKai->clear();
    m_answers.clear();
}

std::string TfrmEditQues::fieldName(const QPlainTextEdit* field) const {
    const std::pair<const QPlainTextEdit*, const char*> names[] = {
        {MemQues, "問題ブロック"},   {memDummy, "ダミーの解答"},  {memKgroup, "解選択ブロック"},
        {memHint, "ヒントブロック"}, {memQGraph, "問題のグラフ"}, {memAGraph, "解答のグラフ"},
        {memPasteLo, "位置情報など"}};
    for (const auto& [memo, name] : names)
        if (memo == field) return sjis(name);
    return {};
}

std::optional<std::vector<std::string>> TfrmEditQues::fieldLines(QPlainTextEdit* field) {
    QString text = field->toPlainText();
    // A line break after the last line starts no line of its own.
    if (text.endsWith(u'\n')) text.chop(1);
    if (field->toPlainText().isEmpty()) return std::vector<std::string>{};
    EncodedLines encoded = m_spellings.encode(text);
    if (!encoded) {
        m_prompter.message(fieldName(field) + " " + UnencodableLineText(encoded));
        QTextCursor at = field->textCursor();
        at.setPosition(encoded.failedPosition);
        field->setTextCursor(at);
        field->setFocus();
        return std::nullopt;
    }
    return std::move(encoded.lines);
}

std::optional<QuestionFields> TfrmEditQues::readFields() {
    QuestionFields f;
    const std::pair<QPlainTextEdit*, std::vector<std::string>*> fields[] = {
        {MemQues, &f.blocks.ques},    {memDummy, &f.blocks.dummy},   {memHint, &f.blocks.hint},
        {memQGraph, &f.blocks.graph}, {memAGraph, &f.blocks.agraph}, {memPasteLo, &f.pasteLo}};
    for (const auto& [memo, lines] : fields) {
        auto encoded = fieldLines(memo);
        if (!encoded) return std::nullopt;
        *lines = std::move(*encoded);
    }
    char32_t failed = 0;
    auto softKey = FromQStringKeeping(edtSoftKeyB->text().trimmed(), m_softKeyOriginal, &failed);
    if (!softKey) {
        m_prompter.message(sjis("ソフトキーボード：") + UnencodableText(failed));
        edtSoftKeyB->setFocus();
        return std::nullopt;
    }
    f.softKeyB = std::move(*softKey);
    return f;
}

void TfrmEditQues::placeCaretAtLine(QPlainTextEdit* field, int line) {
    QTextCursor at(field->document()->findBlockByNumber(std::max(0, line)));
    field->setTextCursor(at);
    field->setFocus();
}

bool TfrmEditQues::btnTestClick() {
    auto ques = fieldLines(MemQues);
    if (!ques) return false;
    if (auto problem = CheckQuestionLines(*ques)) {
        m_prompter.message(problem->message);
        placeCaretAtLine(MemQues, problem->line ? static_cast<int>(*problem->line) : 0);
        return false;
    }
    showAnswers(ExtractAnswers(*ques));
    return true;
}

void TfrmEditQues::showAnswers(std::vector<std::string> answers) {
    lstKai->clear();
    for (const std::string& answer : answers) lstKai->addItem(ToQString(answer));
    lblKosuh->setText(QString::number(lstKai->count()));
    m_answers = std::move(answers);
}

void TfrmEditQues::btnKgAddClick() {
    replaceText(memKgroup, RebuildChoices(m_answers, chkSuuji->isChecked(), chkKigou->isChecked()));
    updateCounts();
}

void TfrmEditQues::btnDummyClick() {
    auto kgroup = fieldLines(memKgroup);
    auto dummy = kgroup ? fieldLines(memDummy) : std::nullopt;
    if (!dummy) return;
    MergeDistractors(*kgroup, *dummy);
    replaceText(memKgroup, *kgroup);
    updateCounts();
}

void TfrmEditQues::updateCounts() {
    std::vector<std::string> lines;
    QString text = memKgroup->toPlainText();
    if (text.endsWith(u'\n')) text.chop(1);
    if (!memKgroup->toPlainText().isEmpty()) {
        // Counting only: a character CP932 cannot hold is told when the field is saved.
        for (const QString& line : text.split(u'\n'))
            lines.push_back(FromQString(line).value_or(std::string()));
    }
    const ChoiceCounts counts = CountChoices(lines);
    lblKosuh3->setText(QString::number(counts.lines));
    lblKosuh2->setText(QString::number(counts.characters));
}

// Through the cursor, so the change is one step of the field's undo history.
void TfrmEditQues::replaceText(QPlainTextEdit* field, const std::vector<std::string>& lines) {
    QTextCursor all(field->document());
    all.select(QTextCursor::Document);
    all.insertText(JoinLinesForField(lines));
}

void TfrmEditQues::markup(Markup kind) {
    QTextCursor cursor = MemQues->textCursor();
    if (!cursor.hasSelection()) {
        m_prompter.message(sjis("囲む範囲を選択してください"));
        return;
    }
    const MarkupTags tags = TagsOf(kind);
    QString selected = cursor.selectedText();
    selected.replace(QChar::ParagraphSeparator, u'\n');
    cursor.insertText(ToQString(tags.prefix) + selected + ToQString(tags.suffix));
    MemQues->setTextCursor(cursor);
    MemQues->setFocus();
    if (kind == Markup::Answer) btnTestClick();
}

void TfrmEditQues::btnNumberClick() {
    QTextDocument* doc = MemQues->document();
    int lines = doc->blockCount();
    // A line break after the last line starts no question line.
    if (lines > 1 && doc->lastBlock().text().isEmpty()) --lines;
    if (lines < 2) return;
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (int n = 1; n < lines; ++n) {
        cursor.setPosition(doc->findBlockByNumber(n).position());
        cursor.insertText(ToQString(QuestionNumberPrefix(n)));
    }
    cursor.endEditBlock();
}

void TfrmEditQues::addFigures(QPlainTextEdit* target, bool answerFigures) {
    auto triples = fieldLines(target);
    if (!triples) return;
    std::vector<std::string> names;
    for (int i = 0; i < flbGraph->count(); ++i) {
        QListWidgetItem* item = flbGraph->item(i);
        if (item->isSelected())
            names.push_back(item->data(Qt::UserRole).toByteArray().toStdString());
    }
    const int refused = AddFigures(*triples, names, m_request.textPieces, answerFigures);
    replaceText(target, *triples);
    for (int i = 0; i < refused; ++i) m_prompter.message(FigureLimitText());
}

void TfrmEditQues::flbGraphClick(QListWidgetItem* item) {
    const std::string path = m_figureFolder + item->data(Qt::UserRole).toByteArray().toStdString();
    if (!FileExists(path)) {
        m_prompter.message(sjis("ファイル ") + path + sjis(" が見つかりません"));
        return;
    }
    QImage picture(QString::fromStdString(NativePath(path).string()));
    imgGraph->setPixmap(QPixmap::fromImage(picture));
}

bool TfrmEditQues::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imgGraph && event->type() == QEvent::MouseButtonPress) {
        if (const QPixmap picture = imgGraph->pixmap(); !picture.isNull())
            frmBMP->showPicture(picture);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmEditQues::fieldEdited() {
    if (m_loading) return;
    m_modified = true;
    tmrPreview->start();
}

void TfrmEditQues::updatePreview() {
    tmrPreview->stop();
    std::optional<QuestionFields> fields;
    {
        // The preview reads the fields quietly: a character CP932 cannot hold is told on OK.
        QuestionFields f;
        bool ok = true;
        const std::pair<QPlainTextEdit*, std::vector<std::string>*> memos[] = {
            {MemQues, &f.blocks.ques},
            {memQGraph, &f.blocks.graph},
            {memAGraph, &f.blocks.agraph},
            {memPasteLo, &f.pasteLo}};
        for (const auto& [memo, lines] : memos) {
            QString text = memo->toPlainText();
            if (text.endsWith(u'\n')) text.chop(1);
            if (text.isEmpty()) continue;
            EncodedLines encoded = m_spellings.encode(text);
            if (!encoded) {
                lblPreviewProblem->setText(
                    ToQString(fieldName(memo) + " " + UnencodableLineText(encoded)));
                ok = false;
                break;
            }
            *lines = std::move(encoded.lines);
        }
        if (ok) fields = std::move(f);
    }
    if (!fields) return;
    // Pictures are read again only when the figure lists name other files.
    std::vector<std::string> names;
    for (const auto* list : {&fields->blocks.graph, &fields->blocks.agraph})
        for (std::size_t i = 0; i < list->size(); i += 3) names.push_back((*list)[i]);
    if (names != m_previewFigureNames) {
        Worksheet figures;
        figures.content.questionFigures = fields->blocks.graph;
        figures.content.answerFigures = fields->blocks.agraph;
        m_previewPictures =
            LoadSheetPictures(figures, m_request.programFolder, m_figureFolder, nullptr);
        m_previewFigureNames = std::move(names);
    }
    const EditorPreview preview =
        RenderEditorPreview(BlocksOf(*fields), previewOptions(), m_request.view, m_previewShared,
                            pnlPreview->area(), m_previewPictures);
    lblPreviewProblem->setText(ToQString(preview.problem));
    // A unit the reader refuses leaves the last sheets in view, under the problem.
    if (!preview.answerSheet.isNull()) pnlPreview->setSheets(preview);
}

LoadOptions TfrmEditQues::previewOptions() const {
    // What the worksheet of this unit will be opened with, so the title reads as on the sheet.
    LoadOptions options;
    options.address = m_request.address;
    options.filePath = m_path;
    options.titles = m_request.titles;
    const Worksheet* ws = m_request.worksheet;
    if (ws && !ws->isCopy && ws->address == m_request.address && ws->filePath == m_path)
        options.titles = ws->titles;
    return options;
}

bool TfrmEditQues::btnOkClick() {
    if (!m_canSave) return false;
    // Each field is read once, so a character CP932 cannot hold is told once, with its field.
    std::optional<QuestionFields> fields = readFields();
    if (!fields) return false;
    if (auto problem = CheckQuestionLines(fields->blocks.ques)) {
        m_prompter.message(problem->message);
        placeCaretAtLine(MemQues, problem->line ? static_cast<int>(*problem->line) : 0);
        return false;
    }
    // The choice list is always made afresh from the answers and the distractors, in the bytes
    // they have in their own lines: the drill takes a choice as right when its bytes are the
    // answer's, and an unedited line keeps its spelling of a character with two codes.
    showAnswers(ExtractAnswers(fields->blocks.ques));
    fields->blocks.kgroup = RebuildChoices(m_answers, chkSuuji->isChecked(), chkKigou->isChecked());
    MergeDistractors(fields->blocks.kgroup, fields->blocks.dummy);
    replaceText(memKgroup, fields->blocks.kgroup);
    updateCounts();
    if (const Result<> layout = CheckLayoutText(fields->pasteLo); !layout) {
        m_prompter.message(layout.problem().message);
        placeCaretAtLine(memPasteLo, 0);
        return false;
    }
    const UnitSplice splice =
        SpliceUnit(m_fileBytes, UnitHeaderOf(m_request.address), BlocksOf(*fields));
    if (splice.problem) {
        m_prompter.message(sjis("ファイル ") + NativeSeparators(m_path) +
                           sjis(" に保存できません：") + splice.problem->message);
        return false;
    }
    const Result<> saved = WriteBytes(m_path, splice.bytes);
    if (!saved) {
        m_prompter.message(WithNativePath(saved.problem().message, m_path));
        return false;
    }
    m_fileBytes = splice.bytes;
    m_fileLines = SplitLines(m_fileBytes);
    finish(Accepted);
    return true;
}

void TfrmEditQues::btnCancelClick() {
    finish(Rejected);
}

void TfrmEditQues::finish(int result) {
    m_modified = false;
    tmrPreview->stop();
    if (RecountMarksHook) RecountMarksHook();
    done(result);
}

void TfrmEditQues::btnEditDirectClick() {
    // A failed save brings the source editor back with the text, so nothing typed is lost.
    std::vector<std::string> lines = m_fileLines;
    for (;;) {
        if (frmEditSource->editLines(m_path, kDirectEditHelp, lines) != Accepted) return;
        lines = frmEditSource->editedLines();
        const Result<> saved = WriteLines(m_path, lines);
        if (saved) break;
        m_prompter.message(WithNativePath(saved.problem().message, m_path));
    }
    // The file as now written is what the fields show; the worksheet's layout no longer is.
    loadUnit(false);
    MemQues->setFocus();
    btnTestClick();
    updateCounts();
    m_modified = false;
    updatePreview();
}

void TfrmEditQues::reject() {
    // Escape goes the way of the close box, so changes are never dropped without asking.
    close();
}

void TfrmEditQues::closeEvent(QCloseEvent* event) {
    if (!isVisible()) {
        event->accept();
        return;
    }
    if (m_modified &&
        m_prompter.yesNo(sjis("変更されたデータファイルを保存しますか？")) == Answer::Yes) {
        // A check that refuses the save keeps the window open with the teacher's work.
        if (!btnOkClick()) event->ignore();
        return;
    }
    event->accept();
    finish(Rejected);
}

}  // namespace sulkan
