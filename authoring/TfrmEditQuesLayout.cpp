// The question editor's controls, with their given names, and how they are laid out.
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Named.h"
#include "TfrmEditQues.h"
#include "TfrmEditSource.h"
#include "Widgets.h"

namespace sulkan {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPreviewDelayMs = 300;

QPlainTextEdit* Memo(const char* name) {
    auto* m = Named(new QPlainTextEdit, name);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    return m;
}

// A field with its label above it.
QVBoxLayout* Labelled(const QString& label, QWidget* field) {
    auto* box = new QVBoxLayout;
    box->addWidget(new QLabel(label));
    box->addWidget(field, 1);
    return box;
}

}  // namespace

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
    btnOk = QuietButton(u"OK"_s, "btnOk");
    btnCancel = QuietButton(u"キャンセル"_s, "btnCancel");
    btnEditDirect = QuietButton(u"直接編集"_s, "btnEditDirect");
    btnTest = QuietButton(u"抽出=>"_s, "btnTest");
    btnKgAdd = QuietButton(u"<=挿入"_s, "btnKgAdd", u"解とダミーの解を挿入"_s);
    btnDummy = QuietButton(u"=>"_s, "btnDummy", u"解とダミーの解を挿入"_s);
    chkSuuji = Named(new QCheckBox(u"数字除く"_s), "chkSuuji");
    chkKigou = Named(new QCheckBox(u"記号除く"_s), "chkKigou");
    btnKai = QuietButton(u"解答欄"_s, "btnKai");
    btnKakko = QuietButton(u"Ｕ"_s, "btnKakko", u"下線"_s);
    BitBtn1 = QuietButton(u"Ｂ"_s, "BitBtn1", u"太字"_s);
    BitBtn2 = QuietButton(u"Ｉ"_s, "BitBtn2", u"斜体"_s);
    btnUB = QuietButton(u"U+B"_s, "btnUB");
    btnNumber = QuietButton(u"問題番号"_s, "btnNumber");
    btnQGAdd = QuietButton(u"<=挿入"_s, "btnQGAdd");
    btnAGAdd = QuietButton(u"<=挿入"_s, "btnAGAdd");
    btnQGClear = QuietButton(u"クリア"_s, "btnQGClear");
    btnAGClear = QuietButton(u"クリア"_s, "btnAGClear");
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

}  // namespace sulkan
