#include "TfrmEditQues.h"

#include <QCloseEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QVBoxLayout>

#include "DrillHost.h"
#include "EditorPreview.h"
#include "EditorText.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "MessagePaths.h"
#include "Named.h"
#include "QtText.h"
#include "QuestionFileCheck.h"
#include "Sjis.h"
#include "TfrmEditSource.h"

namespace sulkan {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kDirectEditHelp = 720;
constexpr int kPreviewDelayMs = 300;
constexpr int kPreviewGap = 8;  // between the two sheets

QPushButton* Button(const QString& caption, const char* name, const QString& hint = {}) {
    auto* b = Named(new QPushButton(caption), name);
    b->setAutoDefault(false);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

QPlainTextEdit* Memo(const char* name) {
    auto* m = Named(new QPlainTextEdit, name);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    return m;
}

QLineEdit* ReadOnlyEdit(const char* name) {
    auto* e = Named(new QLineEdit, name);
    e->setReadOnly(true);
    return e;
}

// A field with its label above it.
QVBoxLayout* Labelled(const QString& label, QWidget* field) {
    auto* box = new QVBoxLayout;
    box->addWidget(new QLabel(label));
    box->addWidget(field, 1);
    return box;
}

}  // namespace

TfrmBMP::TfrmBMP(QWidget* parent)
    : QDialog(parent),
      Image1(Named(new QLabel, "Image1")),
      lblXW(Named(new QLabel(u"800"_s), "lblXW")),
      lblYH(Named(new QLabel(u"600"_s), "lblYH")) {
    setObjectName(u"TfrmBMP"_s);
    setWindowTitle(u"Glimpse 拡大表示"_s);
    auto* size = new QHBoxLayout;
    size->addWidget(lblXW);
    size->addWidget(new QLabel(u"X"_s));
    size->addWidget(lblYH);
    size->addStretch();
    auto* root = new QVBoxLayout(this);
    root->addLayout(size);
    root->addWidget(Image1, 1, Qt::AlignLeft | Qt::AlignTop);
}

int TfrmBMP::showPicture(const QPixmap& picture) {
    Image1->setPixmap(picture);
    Image1->setFixedSize(picture.size());
    lblXW->setText(QString::number(picture.width()));
    lblYH->setText(QString::number(picture.height()));
    adjustSize();
    move(0, 0);
    return exec();
}

PreviewSheets::PreviewSheets(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 160);
}

PreviewArea PreviewSheets::area() const {
    return {size(), fontMetrics().height(), kPreviewGap};
}

void PreviewSheets::setSheets(const EditorPreview& sheets) {
    m_sheets = sheets;
    update();
}

void PreviewSheets::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (ResizedHook) ResizedHook();
}

void PreviewSheets::paintEvent(QPaintEvent*) {
    if (m_sheets.questionSheet.isNull()) return;
    QPainter p(this);
    const int ascent = fontMetrics().ascent();
    const std::pair<const QRect&, QString> captions[] = {{m_sheets.place.question, u"問題"_s},
                                                         {m_sheets.place.answer, u"解答"_s}};
    for (const auto& [place, caption] : captions)
        p.drawText(place.left(), place.top() - fontMetrics().height() + ascent, caption);
    p.drawImage(m_sheets.place.question.topLeft(), m_sheets.questionSheet);
    p.drawImage(m_sheets.place.answer.topLeft(), m_sheets.answerSheet);
    // The paper's edge, since a sheet is as white as many window backgrounds.
    p.setPen(palette().color(QPalette::Mid));
    for (const QRect& r : {m_sheets.place.question, m_sheets.place.answer})
        p.drawRect(r.adjusted(0, 0, -1, -1));
}

TfrmEditQues::TfrmEditQues(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter) {
    setObjectName(u"TfrmEditQues"_s);
    setWindowTitle(u"マスターファイルの編集"_s);
    createControls();
    layOut();
    connectControls();
}

void TfrmEditQues::createControls() {
    frmEditSource = new TfrmEditSource(m_prompter, this);
    frmBMP = new TfrmBMP(this);
    edtLesson = ReadOnlyEdit("edtLesson");
    edtFileName = ReadOnlyEdit("edtFileName");
    edtTangen = ReadOnlyEdit("edtTangen");
    MemQues = Memo("MemQues");
    QFont mincho(u"ＭＳ 明朝"_s);
    mincho.setPointSize(12);
    MemQues->setFont(mincho);
    memDummy = Memo("memDummy");
    memKgroup = Memo("memKgroup");
    memHint = Memo("memHint");
    edtSoftKeyB = Named(new QLineEdit, "edtSoftKeyB");
    lstSoftKeyB = Named(new QListWidget, "lstSoftKeyB");
    memQGraph = Memo("memQGraph");
    memAGraph = Memo("memAGraph");
    memPasteLo = Memo("memPasteLo");
    lstKai = Named(new QListWidget, "lstKai");
    lblKosuh = Named(new QLabel(u"0"_s), "lblKosuh");
    lblKosuh2 = Named(new QLabel(u"0"_s), "lblKosuh2");
    lblKosuh3 = Named(new QLabel(u"0"_s), "lblKosuh3");
    btnOk = Button(u"OK"_s, "btnOk");
    btnCancel = Button(u"キャンセル"_s, "btnCancel");
    btnEditDirect = Button(u"直接編集"_s, "btnEditDirect");
    btnTest = Button(u"抽出=>"_s, "btnTest");
    btnKgAdd = Button(u"<=挿入"_s, "btnKgAdd", u"解とダミーの解を挿入"_s);
    btnDummy = Button(u"=>"_s, "btnDummy", u"解とダミーの解を挿入"_s);
    chkSuuji = Named(new QCheckBox(u"数字除く"_s), "chkSuuji");
    chkKigou = Named(new QCheckBox(u"記号除く"_s), "chkKigou");
    btnKai = Button(u"解答欄"_s, "btnKai");
    btnKakko = Button(u"Ｕ"_s, "btnKakko", u"下線"_s);
    BitBtn1 = Button(u"Ｂ"_s, "BitBtn1", u"太字"_s);
    BitBtn2 = Button(u"Ｉ"_s, "BitBtn2", u"斜体"_s);
    btnUB = Button(u"U+B"_s, "btnUB");
    btnNumber = Button(u"問題番号"_s, "btnNumber");
    btnQGAdd = Button(u"<=挿入"_s, "btnQGAdd");
    btnAGAdd = Button(u"<=挿入"_s, "btnAGAdd");
    btnQGClear = Button(u"クリア"_s, "btnQGClear");
    btnAGClear = Button(u"クリア"_s, "btnAGClear");
    flbGraph = Named(new QListWidget, "flbGraph");
    flbGraph->setSelectionMode(QAbstractItemView::ExtendedSelection);
    imgGraph = Named(new QLabel, "imgGraph");
    imgGraph->setFixedSize(120, 90);
    imgGraph->setScaledContents(true);
    imgGraph->setFrameShape(QFrame::Box);
    imgGraph->installEventFilter(this);
    pnlPreview = Named(new PreviewSheets, "pnlPreview");
    lblPreviewProblem = Named(new QLabel, "lblPreviewProblem");
    lblPreviewProblem->setWordWrap(true);
    lblPreviewProblem->setStyleSheet(u"color: #b00000"_s);
    tmrPreview = Named(new QTimer(this), "tmrPreview");
    tmrPreview->setSingleShot(true);
    tmrPreview->setInterval(kPreviewDelayMs);
}

void TfrmEditQues::layOut() {
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"単元"_s));
    top->addWidget(edtLesson);
    top->addWidget(edtTangen, 1);
    top->addWidget(edtFileName, 2);

    auto* marks = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{btnKai, btnKakko, BitBtn1, BitBtn2, btnUB, btnNumber})
        marks->addWidget(w);
    marks->addStretch();

    auto* question = new QVBoxLayout;
    question->addLayout(Labelled(u"<<ques 問題ブロック"_s, MemQues), 3);
    question->addLayout(marks);
    auto* lower = new QHBoxLayout;
    lower->addLayout(Labelled(u"<<dummy ダミーの解答"_s, memDummy));
    lower->addLayout(Labelled(u"<<hint ヒントブロック"_s, memHint));
    // Here rather than under the figures: that column alone would make the window taller than
    // a 768-pixel screen.
    lower->addLayout(Labelled(u"<<value 位置情報など"_s, memPasteLo));
    question->addLayout(lower, 1);
    auto* softKey = new QHBoxLayout;
    softKey->addWidget(new QLabel(u"ソフトキーボード"_s));
    softKey->addWidget(edtSoftKeyB, 1);
    question->addLayout(softKey);
    question->addWidget(lstSoftKeyB);
    lstSoftKeyB->setMaximumHeight(60);

    auto* choices = new QGridLayout;
    choices->addWidget(new QLabel(u"<<kgroup 解選択ブロック"_s), 0, 0, 1, 2);
    choices->addWidget(memKgroup, 1, 0, 6, 1);
    choices->addWidget(btnKgAdd, 1, 1);
    choices->addWidget(btnDummy, 2, 1);
    choices->addWidget(chkSuuji, 3, 1);
    choices->addWidget(chkKigou, 4, 1);
    choices->addWidget(btnTest, 5, 1);
    choices->addWidget(new QLabel(u"抽出された解"_s), 7, 0);
    choices->addWidget(lstKai, 8, 0, 1, 2);
    auto* counts = new QHBoxLayout;
    counts->addWidget(lblKosuh);
    counts->addWidget(new QLabel(u"個　選択肢"_s));
    counts->addWidget(lblKosuh3);
    counts->addWidget(new QLabel(u"行"_s));
    counts->addWidget(lblKosuh2);
    counts->addWidget(new QLabel(u"文字"_s));
    counts->addStretch();
    choices->addLayout(counts, 9, 0, 1, 2);

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel(u"<<graph 問題のグラフ"_s), 0, 0);
    figures->addWidget(memQGraph, 1, 0, 2, 1);
    figures->addWidget(btnQGAdd, 1, 1);
    figures->addWidget(btnQGClear, 2, 1);
    figures->addWidget(new QLabel(u"<<AGraph 解答のグラフ"_s), 3, 0);
    figures->addWidget(memAGraph, 4, 0, 2, 1);
    figures->addWidget(btnAGAdd, 4, 1);
    figures->addWidget(btnAGClear, 5, 1);
    figures->addWidget(new QLabel(u"使えるグラフ"_s), 6, 0);
    figures->addWidget(flbGraph, 7, 0);
    figures->addWidget(imgGraph, 7, 1, Qt::AlignTop);

    auto* side = new QVBoxLayout;
    side->addLayout(choices, 2);
    side->addLayout(figures, 2);

    auto* preview = new QVBoxLayout;
    preview->addWidget(new QLabel(u"プレビュー"_s));
    preview->addWidget(pnlPreview, 1);
    preview->addWidget(lblPreviewProblem);

    auto* columns = new QHBoxLayout;
    columns->addLayout(question, 5);
    columns->addLayout(side, 3);
    columns->addLayout(preview, 4);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnEditDirect);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addLayout(columns, 1);
    root->addLayout(buttons);
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
    if (std::string problem =
            QuestionFileProblem(request.programFolder, *request.course, request.address);
        !problem.empty()) {
        m_prompter.message(problem);
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
    edtTangen->setText(ws && !m_request.newUnit ? ToQString(ws->unitName) : u"新規"_s);
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
        loaded.fields.qgraph = ws->questionFigures;
        loaded.fields.agraph = ws->answerFigures;
        originals.insert(originals.end(), loaded.fields.pasteLo.begin(),
                         loaded.fields.pasteLo.end());
    }
    m_spellings = KeptSpellings(originals);
    setFields(loaded.fields);
    m_softKeyOriginal = loaded.fields.softKeyB;
    const std::string& key = loaded.fields.softKeyB;
    if (!key.empty()) {
        SoftKeyFile file = ReadSoftKeyFile(m_request.programFolder, key);
        if (!file.refusal.empty()) m_prompter.message(file.refusal);
        for (const std::string& line : file.lines) lstSoftKeyB->addItem(ToQString(line));
        LayKeysFromFile(m_softKeys, file.lines);
    }
    m_modified = false;
    m_loading = false;
}

void TfrmEditQues::setFields(const QuestionFields& f) {
    MemQues->setPlainText(JoinLinesForField(f.ques));
    memDummy->setPlainText(JoinLinesForField(f.dummy));
    memKgroup->setPlainText(JoinLinesForField(f.kgroup));
    memHint->setPlainText(JoinLinesForField(f.hint));
    memQGraph->setPlainText(JoinLinesForField(f.qgraph));
    memAGraph->setPlainText(JoinLinesForField(f.agraph));
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
        {MemQues, &f.ques},     {memDummy, &f.dummy},   {memHint, &f.hint},
        {memQGraph, &f.qgraph}, {memAGraph, &f.agraph}, {memPasteLo, &f.pasteLo}};
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
            {MemQues, &f.ques},
            {memQGraph, &f.qgraph},
            {memAGraph, &f.agraph},
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
    for (const auto* list : {&fields->qgraph, &fields->agraph})
        for (std::size_t i = 0; i < list->size(); i += 3) names.push_back((*list)[i]);
    if (names != m_previewFigureNames) {
        Worksheet figures;
        figures.questionFigures = fields->qgraph;
        figures.answerFigures = fields->agraph;
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
    options.lessonName = m_request.lessonName;
    options.sectionName = m_request.sectionName;
    options.unitName = m_request.unitName;
    const Worksheet* ws = m_request.worksheet;
    if (ws && !ws->isCopy && ws->address == m_request.address && ws->filePath == m_path) {
        options.lessonName = ws->lessonName;
        options.sectionName = ws->sectionName;
        options.unitName = ws->unitName;
    }
    return options;
}

bool TfrmEditQues::btnOkClick() {
    if (!m_canSave) return false;
    // Each field is read once, so a character CP932 cannot hold is told once, with its field.
    std::optional<QuestionFields> fields = readFields();
    if (!fields) return false;
    if (auto problem = CheckQuestionLines(fields->ques)) {
        m_prompter.message(problem->message);
        placeCaretAtLine(MemQues, problem->line ? static_cast<int>(*problem->line) : 0);
        return false;
    }
    // The choice list is always made afresh from the answers and the distractors, in the bytes
    // they have in their own lines: the drill takes a choice as right when its bytes are the
    // answer's, and an unedited line keeps its spelling of a character with two codes.
    showAnswers(ExtractAnswers(fields->ques));
    fields->kgroup = RebuildChoices(m_answers, chkSuuji->isChecked(), chkKigou->isChecked());
    MergeDistractors(fields->kgroup, fields->dummy);
    replaceText(memKgroup, fields->kgroup);
    updateCounts();
    if (auto problem = CheckLayoutText(fields->pasteLo)) {
        m_prompter.message(*problem);
        placeCaretAtLine(memPasteLo, 0);
        return false;
    }
    const UnitSplice splice =
        SpliceUnit(m_fileBytes, UnitHeaderOf(m_request.address), BlocksOf(*fields));
    if (splice.refused) {
        m_prompter.message(sjis("ファイル ") + NativeSeparators(m_path) +
                           sjis(" に保存できません：") + *splice.refused);
        return false;
    }
    const SaveResult saved = WriteBytes(m_path, splice.bytes);
    if (!saved) {
        m_prompter.message(WithNativePath(saved.error, m_path));
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
        const SaveResult saved = WriteLines(m_path, lines);
        if (saved) break;
        m_prompter.message(WithNativePath(saved.error, m_path));
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
