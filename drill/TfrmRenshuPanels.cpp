// The drill window's panels: the command panel beside the sheet, the right panel where a run is
// worked (choices, soft keyboard, writing pad, the run's commands and message), the record
// panel; and where they stand as the window and its messages change size.
#include <QGridLayout>
#include <QKeySequence>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "Named.h"
#include "QtText.h"
#include "QuestionResults.h"
#include "RenshuSupport.h"
#include "TfrmRenshu.h"
#include "Widgets.h"

namespace sulkan {

using renshu::FreshCanvas;
using renshu::ToQColor;

namespace {

constexpr int kRightPanelWidth = 225;
constexpr int kKeySize = 25;
constexpr int kKeyRowPitch = 24;
constexpr int kKeysPerRow = 8;
constexpr int kGroupWidth = 209;
constexpr int kGroupHeight = 440;
constexpr int kMessXXHeight = 100;
constexpr int kMessXXAnkiHeight = 200;
constexpr int kMessageGap = 20;  // imgMess below grbSelect
constexpr int kRecordListTop = 40;
constexpr int kRecordListHeight = 250;
constexpr int kPadSize = 200;
constexpr int kCandidateSize = 40;

// Buttons of the answering panels leave the focus in the answer box: leaving the box would
// count as abandoning the answer.
QPushButton* AnswerButton(const QString& caption, const char* name, QWidget* parent) {
    QPushButton* b = Button(caption, name, parent);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    return b;
}

// A key for a command of the answering panels: pressed anywhere in the drill window it clicks the
// button, which keeps the focus in the answer box; the tooltip and what a screen reader reads say
// which key it is.
void GiveKey(QPushButton* button, Qt::Key key) {
    const QKeySequence sequence(key);
    button->setShortcut(sequence);
    const QString shown = sequence.toString(QKeySequence::NativeText);
    const QString caption = QString(button->text()).remove(u'　');
    button->setToolTip(caption + QStringLiteral("（") + shown + QStringLiteral("）"));
    button->setAccessibleDescription(QStringLiteral("キー ") + shown);
}

}  // namespace

// ---- building the panels -----------------------------------------------------------------------

void TfrmRenshu::createCommandPanel() {
    pnlRenshu = Named(new QFrame, "pnlRenshu");
    pnlRenshu->setFixedWidth(m_host.commandPanelWidth());
    btnAnki = Button(QStringLiteral("暗記"), "btnAnki");
    btnRenshu = Button(QStringLiteral("練習"), "btnRenshu");
    grbInput = Named(new QGroupBox(QStringLiteral("入力モード")), "grbInput");
    chkKaitou = Named(new QRadioButton(QStringLiteral("解答選択")), "chkKaitou");
    chkRandom = Named(new QRadioButton(QStringLiteral("ランダム")), "chkRandom");
    chkTegaki = Named(new QRadioButton(QStringLiteral("手書き")), "chkTegaki");
    auto* input = new QVBoxLayout(grbInput);
    input->addWidget(chkKaitou);
    input->addWidget(chkRandom);
    input->addWidget(chkTegaki);
    chkKaitou->setChecked(true);
    // "筆順" is a setting rather than a command: it stays in the column during runs too. Tab
    // reaches it between runs; a click does not take the focus from the answer box, and F7 ticks
    // it from the box.
    chkHitsujun = Named(new QCheckBox(QStringLiteral("筆順")), "chkHitsujun");
    chkHitsujun->setFocusPolicy(Qt::TabFocus);
    chkHitsujun->setShortcut(QKeySequence(Qt::Key_F7));
    chkHitsujun->setAccessibleName(QStringLiteral("筆順"));
    btnFukushu = Button(QStringLiteral("復習"), "btnFukushu");
    btnTest = Button(QStringLiteral("テスト"), "btnTest");
    btnSeikai = Button(QStringLiteral("正解表示"), "btnSeikai");
    btnTouan = Button(QStringLiteral("答案表示"), "btnTouan");
    grbColor = Named(new QGroupBox(QStringLiteral("解答欄の色")), "grbColor");
    auto* colours = new QGridLayout(grbColor);
    colours->setContentsMargins(4, 4, 4, 4);
    for (int k = 0; k < 4; ++k) {
        const QByteArray radName = "rad" + QByteArray::number(k + 1);
        const QByteArray shpName = "shpCol" + QByteArray::number(k + 1);
        rad[k] = Named(new QRadioButton, radName.constData());
        shpCol[k] = Named(new QFrame, shpName.constData());
        shpCol[k]->setFixedSize(40, 16);
        shpCol[k]->setFrameShape(QFrame::Box);
        shpCol[k]->setAutoFillBackground(true);
        QPalette p = shpCol[k]->palette();
        p.setColor(QPalette::Window, ToQColor(AnswerBoxColours()[static_cast<std::size_t>(k)]));
        shpCol[k]->setPalette(p);
        shpCol[k]->installEventFilter(this);
        colours->addWidget(rad[k], k, 0);
        colours->addWidget(shpCol[k], k, 1);
    }
    rad[0]->setChecked(true);
    btnStartPrint = Button(QStringLiteral("印　刷"), "btnStartPrint");
    btnShowRecord = Button(QStringLiteral("記録表示"), "btnShowRecord");
    btnEnd = Button(QStringLiteral("閉じる"), "btnEnd");
    auto* column = new QVBoxLayout(pnlRenshu);
    column->setContentsMargins(4, 6, 4, 6);
    for (QWidget* w : std::initializer_list<QWidget*>{
             btnAnki, btnRenshu, grbInput, chkHitsujun, btnFukushu, btnTest, btnSeikai, btnTouan,
             grbColor, btnStartPrint, btnShowRecord, btnEnd}) {
        // 筆順 as wide as its box and text: a click beside the text would not tick it.
        column->addWidget(w, 0, w == chkHitsujun ? Qt::AlignLeft : Qt::Alignment());
        // A run hides the commands; 筆順 keeps its place among them.
        QSizePolicy keepPlace = w->sizePolicy();
        keepPlace.setRetainSizeWhenHidden(true);
        w->setSizePolicy(keepPlace);
    }
    column->addStretch();
    for (QPushButton* b : {btnAnki, btnRenshu, btnFukushu, btnTest, btnSeikai, btnTouan,
                           btnStartPrint, btnShowRecord, btnEnd})
        b->setAutoDefault(false);
}

void TfrmRenshu::createRightPanel() {
    pnlSS = Named(new QFrame, "pnlSS");
    // The choice group and the soft keyboard share one place.
    grbSelect = Named(new QGroupBox(QStringLiteral("答えの選択"), pnlSS), "grbSelect");
    grbSelect->setGeometry(8, 0, kGroupWidth, kGroupHeight);
    auto* note =
        new QLabel(QStringLiteral("解答を選択し\n[入力]ボタンを\n押してください"), grbSelect);
    note->setGeometry(8, 18, kGroupWidth - 16, 48);
    lstKgroup = Named(new QListWidget(grbSelect), "lstKgroup");
    lstKgroup->setFocusPolicy(Qt::NoFocus);
    lstKgroup->setAccessibleName(QStringLiteral("解答選択"));
    lstKgroup->setAccessibleDescription(
        QStringLiteral("解答を選んで［入力］（F5）を押します。解答欄から移らずに選べます"));
    lstKgroup->setGeometry(8, 70, kGroupWidth - 16, kGroupHeight - 110);
    btnNext2 = AnswerButton(QStringLiteral("入力"), "btnNext2", grbSelect);
    btnNext2->setGeometry(8, kGroupHeight - 34, 90, 26);
    btnClear2 = AnswerButton(QStringLiteral("クリア"), "btnClear2", grbSelect);
    btnClear2->setGeometry(110, kGroupHeight - 34, 90, 26);
    GiveKey(btnNext2, Qt::Key_F5);
    GiveKey(btnClear2, Qt::Key_F6);

    grbMoji = Named(new QGroupBox(QStringLiteral("ソフトキーボード"), pnlSS), "grbMoji");
    grbMoji->setGeometry(8, 0, kGroupWidth, kGroupHeight);
    for (int k = 1; k <= kSoftKeyCount; ++k) {
        const QByteArray name = "Button" + QByteArray::number(k);
        QPushButton* key = AnswerButton(QString(), name.constData(), grbMoji);
        key->setGeometry(4 + ((k - 1) % kKeysPerRow) * kKeySize,
                         20 + ((k - 1) / kKeysPerRow) * kKeyRowPitch, kKeySize, kKeySize);
        softKeys[static_cast<std::size_t>(k)] = key;
    }
    auto* keyNote = new QLabel(QStringLiteral("英数字はキーボードから入力してください"), grbMoji);
    keyNote->setGeometry(2, 384, kGroupWidth - 4, 18);
    QFont small = keyNote->font();
    small.setPointSize(7);
    keyNote->setFont(small);
    btnNext = AnswerButton(QStringLiteral("次へ"), "btnNext", grbMoji);
    btnNext->setGeometry(8, kGroupHeight - 34, 90, 26);
    btnClearS = AnswerButton(QStringLiteral("クリア"), "btnClearS", grbMoji);
    btnClearS->setGeometry(110, kGroupHeight - 34, 90, 26);
    GiveKey(btnNext, Qt::Key_F5);
    GiveKey(btnClearS, Qt::Key_F6);

    createWritingPad();

    grbTest = Named(new QGroupBox(pnlSS), "grbTest");
    // Two rows of commands; the message below them starts right after.
    grbTest->setGeometry(8, kGroupHeight + 5, kGroupWidth, 72);
    btnAnswer = AnswerButton(QStringLiteral("答えを見る"), "btnAnswer", grbTest);
    btnSaiten = AnswerButton(QStringLiteral("採点"), "btnSaiten", grbTest);
    btnAbort = AnswerButton(QStringLiteral("中止"), "btnAbort", grbTest);
    btnHint = AnswerButton(QStringLiteral("ヒントを見る"), "btnHint", grbTest);
    btnSoftKey = AnswerButton(QStringLiteral("入力切替"), "btnSoftKey", grbTest);
    GiveKey(btnAnswer, Qt::Key_F2);
    GiveKey(btnHint, Qt::Key_F3);
    GiveKey(btnSoftKey, Qt::Key_F4);
    GiveKey(btnAbort, Qt::Key_F8);
    // The test's grade button takes the focus once every blank is answered.
    btnSaiten->setFocusPolicy(Qt::TabFocus);
    btnAnswer->setGeometry(6, 8, 96, 28);
    btnSaiten->setGeometry(6, 8, 96, 28);
    btnHint->setGeometry(106, 8, 96, 28);
    btnSoftKey->setGeometry(6, 38, 96, 28);
    btnAbort->setGeometry(106, 38, 96, 28);

    pnlAnki = Named(new QFrame(pnlSS), "pnlAnki");
    pnlAnki->setGeometry(8, kGroupHeight + 5, kGroupWidth, 100);
    pnlAnki->setFrameShape(QFrame::StyledPanel);
    btnNextA = AnswerButton(QStringLiteral("消して次へ"), "btnNextA", pnlAnki);
    btnNextB = AnswerButton(QStringLiteral("消さずに次へ"), "btnNextB", pnlAnki);
    btnShow = AnswerButton(QStringLiteral("すべて表示"), "btnShow", pnlAnki);
    btnAllClear = AnswerButton(QStringLiteral("すべて消去"), "btnAllClear", pnlAnki);
    btnClose = AnswerButton(QStringLiteral("暗記終了"), "btnClose", pnlAnki);
    btnNextA->setGeometry(6, 6, 96, 28);
    btnNextB->setGeometry(106, 6, 96, 28);
    btnShow->setGeometry(6, 36, 96, 28);
    btnAllClear->setGeometry(106, 36, 96, 28);
    btnClose->setGeometry(6, 66, 196, 28);

    // Praise at 18 points, long hints and a third alternative do not fit the usual 209 × 100:
    // the image grows with its message, and scrolls where the panel ends.
    scrMessXX = Named(new QScrollArea(pnlSS), "scrMessXX");
    scrMessXX->setFrameShape(QFrame::NoFrame);
    scrMessXX->setFocusPolicy(Qt::NoFocus);
    scrMessXX->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    scrMessXX->horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    imgMessXX = Named(new QLabel, "imgMessXX");
    imgMessXX->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrMessXX->setWidget(imgMessXX);
}

void TfrmRenshu::createWritingPad() {
    grbTegaki = Named(new QGroupBox(QStringLiteral("手書き入力"), pnlSS), "grbTegaki");
    grbTegaki->setGeometry(8, 0, kGroupWidth, kGroupHeight);
    grbTegaki->hide();
    imgTegaki = Named(new HandwritingPad(grbTegaki), "imgTegaki");
    imgTegaki->setGeometry((kGroupWidth - kPadSize) / 2, 20, kPadSize, kPadSize);
    const int candidatesLeft = (kGroupWidth - 5 * kCandidateSize) / 2;
    const int candidatesTop = 20 + kPadSize + 6;
    QFont big = font();
    big.setPointSize(16);
    for (int k = 1; k <= kCandidateCount; ++k) {
        const QByteArray name = "btnKouho" + QByteArray::number(k);
        QPushButton* b = AnswerButton(QString(), name.constData(), grbTegaki);
        b->setFont(big);
        b->setGeometry(candidatesLeft + ((k - 1) % 5) * kCandidateSize,
                       candidatesTop + ((k - 1) / 5) * kCandidateSize, kCandidateSize,
                       kCandidateSize);
        b->setEnabled(false);
        btnKouho[static_cast<std::size_t>(k)] = b;
    }
    const int buttonsTop = candidatesTop + 2 * kCandidateSize + 8;
    btnUndo = AnswerButton(QStringLiteral("1画戻す"), "btnUndo", grbTegaki);
    btnUndo->setGeometry(8, buttonsTop, 90, 30);
    btnClear3 = AnswerButton(QStringLiteral("クリア"), "btnClear3", grbTegaki);
    btnClear3->setGeometry(110, buttonsTop, 90, 30);
    auto* note = new QLabel(QStringLiteral("字を書いて、候補から選んでください"), grbTegaki);
    note->setGeometry(4, buttonsTop + 36, kGroupWidth - 8, 18);
    QFont small = note->font();
    small.setPointSize(8);
    note->setFont(small);
    btnNext3 = AnswerButton(QStringLiteral("次へ"), "btnNext3", grbTegaki);
    btnNext3->setGeometry(8, kGroupHeight - 38, kGroupWidth - 16, 30);
}

void TfrmRenshu::createRecordPanel() {
    pnlKiroku = Named(new QFrame, "pnlKiroku");
    lblKiroku = Named(new QLabel(pnlKiroku), "lblKiroku");
    memKiroku = Named(new QPlainTextEdit(pnlKiroku), "memKiroku");
    memKiroku->setAccessibleName(QStringLiteral("学習の記録"));
    memKiroku->setAccessibleDescription(QStringLiteral("この単元のこれまでの成績"));
    memKiroku->setReadOnly(true);
    QFont nine = memKiroku->font();
    nine.setPointSize(9);
    memKiroku->setFont(nine);
    imgMess = Named(new QLabel(pnlKiroku), "imgMess");
    imgMess->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgMess->installEventFilter(this);
    btnMemo = Button(QStringLiteral("メモ"), "btnMemo", pnlKiroku);
    btnMemo->setCheckable(true);
    btnMemo->setAutoDefault(false);
    imgMemo = Named(new MemoPad(pnlKiroku), "imgMemo");
    imgMemo->hide();
}

// ---- geometry ----------------------------------------------------------------------------------

void TfrmRenshu::placePanels() {
    const int sheetW = m_ws->sheetWidth(), sheetH = m_ws->sheetHeight();
    imgPaper2->setFixedSize(sheetW, sheetH);
    const int scrollBar = ScrollBox->verticalScrollBar()->sizeHint().width();
    ScrollBox->setFixedWidth(sheetW + scrollBar + 2 * ScrollBox->frameWidth());
    const int panelH = std::max(400, height() - 40);
    pnlRenshu->setFixedHeight(panelH);
    const int rightW =
        std::max(kRightPanelWidth + 20, width() - pnlRenshu->width() - ScrollBox->width() - 15);
    pnlKiroku->setGeometry(0, 0, rightW, panelH);
    const int listW = std::max(100, rightW - 20);
    lblKiroku->setGeometry(10, 20, listW - 70, 18);
    btnMemo->setGeometry(10 + listW - 60, 14, 60, 24);
    memKiroku->setGeometry(10, kRecordListTop, listW, kRecordListHeight);
    imgMemo->setGeometry(memKiroku->geometry());
    const int messTop = grbSelect->geometry().bottom() + 1 + kMessageGap;
    imgMess->setGeometry(10, messTop, listW, std::max(120, std::min(200, panelH - messTop - 10)));
    pnlSS->setGeometry(15, 0, kRightPanelWidth, panelH);
    lstKgroup->setFixedWidth(std::min(kGroupWidth - 16, listW - 20));
    m_mess = FreshCanvas(imgMess->size());
    imagesChanged();
}

void TfrmRenshu::placeBoxes() {
    const BlankTable& table = m_host.worksheetHost().sheetShared().blanks;
    QFont font(ToQString(m_host.worksheetHost().mainFontName()));
    font.setPointSize(std::clamp(m_host.worksheetHost().questionSize(), 8, 50));
    // A sheet with more blanks than boxes is refused by the runs; its extra blanks get no box.
    const int boxes = std::min(table.BlankCount, kMaxBlanks);
    // On a high-density screen the brackets' top edges are drawn half a unit higher than the
    // plain screen shows them, and would peek out above the boxes: those start a unit higher.
    const int lift = imgPaper2->devicePixelRatioF() > 1 ? 1 : 0;
    for (int i = 1; i <= boxes; ++i) {
        const BlankFrame f = frameOf(i);
        const BlankRecord& b = table.slots[static_cast<std::size_t>(i)];
        QLineEdit* box = m_boxes[static_cast<std::size_t>(i)];
        box->setFont(font);
        box->setGeometry(b.left + 1, b.top + 4 - lift, std::max(20, f.enlarged.width()),
                         f.base.height() + lift);
    }
    nameSheetForScreenReaders();
}

// A screen reader reads the sheet as its question lines and each box as its blank's number and
// question, with the answers left out.
void TfrmRenshu::nameSheetForScreenReaders() {
    const std::vector<std::string>& lines = m_ws->content.questionLines;
    QStringList text;
    for (const std::string& line : lines)
        text << ToQString(QuestionText(line, -1, BlankAnswers::Hidden));
    imgPaper2->setAccessibleName(QStringLiteral("問題用紙"));
    imgPaper2->setAccessibleDescription(text.join(u'\n'));
    for (const QuestionBlank& b : BlanksOf(lines)) {
        if (b.blank < 1 || b.blank >= kAnswerBoxes) continue;
        QLineEdit* box = m_boxes[static_cast<std::size_t>(b.blank)];
        box->setAccessibleName(QStringLiteral("解答欄 %1").arg(b.blank));
        box->setAccessibleDescription(
            ToQString(QuestionText(b.question, b.inLine, BlankAnswers::Hidden)));
    }
}

BlankFrame TfrmRenshu::frameOf(int blank) {
    const BlankRecord& b =
        m_host.worksheetHost()
            .sheetShared()
            .blanks.slots[static_cast<std::size_t>(std::clamp(blank, 0, kMaxBlanks))];
    const LayoutParams& p = m_ws->params;
    const int height = BlankBaseHeight(*m_sheet, m_tracker, p.FontName, b.size);
    return FrameOfBlank(b, height, p.BoxWidth, p.BoxHeight, 1.0);
}

// imgMessXX keeps its size while the message fits and grows with it where it does not, as far
// as the right panel reaches; beyond that it scrolls.
void TfrmRenshu::placeMessXX() {
    const bool anki = m_engine.panels().memoriseLayout;
    const QSize base(kGroupWidth, anki ? kMessXXAnkiHeight : kMessXXHeight);
    const QSize content(std::max(base.width(), m_messXXExtent->right() + 2),
                        std::max(base.height(), m_messXXExtent->bottom() + 2));
    imgMessXX->setFixedSize(content);
    imgMessXX->setPixmap(QPixmap::fromImage(m_messXX->image().copy(QRect(QPoint(0, 0), content))));

    const int left = 8;
    const int top = anki ? 20 : grbTest->geometry().bottom() + 1 + 5;
    const int bottom = anki ? pnlAnki->geometry().top() - 5 : pnlSS->height() - 5;
    const QWidget* area = pnlSS->parentWidget();
    const int roomW = std::max(base.width(), (area ? area->width() : width()) - pnlSS->x() - 16);
    const int roomH = std::max(base.height(), bottom - top);
    const int bar = scrMessXX->verticalScrollBar()->sizeHint().width();
    // A scroll bar in one direction takes room from the other.
    bool barV = content.height() > roomH;
    const bool barH = content.width() > roomW - (barV ? bar : 0);
    barV = content.height() > roomH - (barH ? bar : 0);
    const int w = std::min(roomW, content.width() + (barV ? bar : 0));
    const int h = std::min(roomH, content.height() + (barH ? bar : 0));
    // Decided here rather than left to the view: growing the picture before the view would
    // leave a bar standing over a message that fits.
    scrMessXX->setVerticalScrollBarPolicy(barV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    scrMessXX->setHorizontalScrollBarPolicy(barH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    pnlSS->resize(std::max(kRightPanelWidth, left + w + 8), pnlSS->height());
    scrMessXX->setGeometry(left, top, w, h);
    if (m_messXXExtent->clears() != m_messXXClears) {
        // A new message is read from its start.
        m_messXXClears = m_messXXExtent->clears();
        scrMessXX->verticalScrollBar()->setValue(0);
        scrMessXX->horizontalScrollBar()->setValue(0);
    }
}

}  // namespace sulkan
