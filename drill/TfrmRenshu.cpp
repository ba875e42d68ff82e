#include "TfrmRenshu.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "FileChecks.h"
#include "GradingMarks.h"
#include "Handwriting.h"
#include "LineFile.h"
#include "MascotPictures.h"
#include "MessageBoard.h"
#include "Named.h"
#include "Pictures.h"
#include "QtText.h"
#include "QuestionFile.h"
#include "Sjis.h"
#include "TfrmZenSeikai.h"
#include "UnitAddress.h"

namespace sulkan {
namespace {

constexpr int kRightPanelWidth = 225;
constexpr int kKeySize = 25;
constexpr int kKeyRowPitch = 24;
constexpr int kKeysPerRow = 8;
constexpr int kGroupWidth = 209;
constexpr int kGroupHeight = 440;
constexpr int kMessXXHeight = 100;
constexpr int kMessXXAnkiHeight = 200;
// The picture behind imgMessXX; the label shows as much of it as the message needs.
constexpr int kMessXXCanvasWidth = 1000;
constexpr int kMessXXCanvasHeight = 1600;
constexpr int kMessageGap = 20;  // imgMess below grbSelect
constexpr int kRecordListTop = 40;
constexpr int kRecordListHeight = 250;
constexpr int kPadSize = 200;
constexpr int kCandidateSize = 40;
// The settings value that keeps the learner's choice of the writing pad for the next opening.
constexpr const char* kTegakiSetting = "TegakiInput";

QPushButton* Button(const QString& caption, const char* name, QWidget* parent = nullptr) {
    return Named(new QPushButton(caption, parent), name);
}

// Buttons of the answering panels leave the focus in the answer box: leaving the box would
// count as abandoning the answer.
QPushButton* AnswerButton(const QString& caption, const char* name, QWidget* parent) {
    QPushButton* b = Button(caption, name, parent);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    return b;
}

QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

std::unique_ptr<ImageCanvas> FreshCanvas(QSize size) {
    auto canvas =
        std::make_unique<ImageCanvas>(std::max(1, size.width()), std::max(1, size.height()));
    canvas->fillRect(0, 0, canvas->width(), canvas->height(), kWhite);
    return canvas;
}

}  // namespace

// ---- memo pad ---------------------------------------------------------------------------------

MemoPad::MemoPad(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void MemoPad::Reset() {
    m_image = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    m_image.fill(Qt::white);
    QPainter g(&m_image);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(18);
    g.setFont(font);
    g.drawText(QPoint(10, 5 + QFontMetrics(font).ascent()), QStringLiteral("    自由メモ欄"));
    font.setPointSize(12);
    g.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    g.drawText(QPoint(10, 33 + ascent), QStringLiteral("左ボタン：描く"));
    g.drawText(QPoint(10, 50 + ascent), QStringLiteral("右ボタン：消す"));
    g.drawText(QPoint(10, 67 + ascent), QStringLiteral("ダブルクリック：全部消す"));
    g.end();
    setPixmap(QPixmap::fromImage(m_image));
    setCursor(CursorSlot(4));
}

void MemoPad::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Reset();
}

void MemoPad::mousePressEvent(QMouseEvent* event) {
    m_drawing = true;
    m_erasing = event->button() != Qt::LeftButton;
    m_last = event->position().toPoint();
    setCursor(m_erasing ? CursorSlot(6) : CursorSlot(4));
}

void MemoPad::mouseMoveEvent(QMouseEvent* event) {
    if (m_drawing) segmentTo(event->position().toPoint());
}

void MemoPad::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_drawing) return;
    segmentTo(event->position().toPoint());
    m_drawing = false;
    setCursor(CursorSlot(4));
}

void MemoPad::mouseDoubleClickEvent(QMouseEvent*) {
    m_drawing = false;
    Reset();
}

void MemoPad::segmentTo(QPoint point) {
    QPainter g(&m_image);
    g.setPen(m_erasing ? QPen(Qt::white, 10, Qt::SolidLine, Qt::RoundCap)
                       : QPen(Qt::red, 2, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(m_last, point);
    g.end();
    m_last = point;
    setPixmap(QPixmap::fromImage(m_image));
}

// ---- window -----------------------------------------------------------------------------------

TfrmRenshu::TfrmRenshu(DrillHost& host, RandomSource& random, QWidget* parent)
    : QDialog(parent),
      ScrollBox(Named(new QScrollArea, "ScrollBox")),
      imgPaper2(Named(new QLabel, "imgPaper2")),
      timSecond(Named(new QTimer(this), "timSecond")),
      frmZenSeikai(new TfrmZenSeikai(this)),
      m_host(host),
      m_engine(host.worksheetHost().sheetShared().blanks, *this, random) {
    setObjectName(QStringLiteral("TfrmRenshu"));
    setWindowTitle(QStringLiteral("学習"));
    allCorrectDialog = [this] { frmZenSeikai->exec(); };
    createCommandPanel();
    createRightPanel();
    createRecordPanel();

    imgPaper2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox->setWidget(imgPaper2);
    ScrollBox->setBackgroundRole(QPalette::Dark);
    ScrollBox->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < kAnswerBoxes; ++i) {
        const QByteArray name = "M" + QByteArray::number(i);
        auto* box = Named(new QLineEdit(QString::fromLatin1(name), imgPaper2), name.constData());
        box->resize(100, 50);
        box->setFocusPolicy(Qt::ClickFocus);
        box->hide();
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (m_syncing) return;
            char32_t failed = 0;
            if (const auto bytes = FromQString(text, &failed))
                m_engine.boxEdited(i, *bytes);
            else
                m_engine.boxUnusable(i, failed);
        });
        m_boxes[static_cast<std::size_t>(i)] = box;
    }

    auto* right = new QWidget;
    right->setObjectName(QStringLiteral("pnlRight"));
    pnlKiroku->setParent(right);
    pnlSS->setParent(right);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(5);
    row->addWidget(pnlRenshu);
    row->addWidget(ScrollBox);
    row->addWidget(right, 1);

    connect(timSecond, &QTimer::timeout, this, [this] { m_engine.timerTick(); });
    timSecond->setInterval(1000);
    connectCommands();

    // Top left, the main window's size.
    if (QWidget* main = parentWidget()) setGeometry(0, 0, main->width(), main->height());
    m_sheet = FreshCanvas({1, 1});
    m_mess = FreshCanvas({1, 1});
    m_messXX = FreshCanvas({kMessXXCanvasWidth, kMessXXCanvasHeight});
    m_messXXExtent = std::make_unique<ExtentCanvas>(*m_messXX);
}

TfrmRenshu::~TfrmRenshu() = default;

void TfrmRenshu::createCommandPanel() {
    pnlRenshu = Named(new QFrame, "pnlRenshu");
    pnlRenshu->setFixedWidth(m_host.commandPanelWidth());
    // The sheet stays where it is while a run hides the command panel.
    QSizePolicy keep = pnlRenshu->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    pnlRenshu->setSizePolicy(keep);
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
    for (QWidget* w : std::initializer_list<QWidget*>{btnAnki, btnRenshu, grbInput, btnFukushu,
                                                      btnTest, btnSeikai, btnTouan, grbColor,
                                                      btnStartPrint, btnShowRecord, btnEnd})
        column->addWidget(w);
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
    lstKgroup->setGeometry(8, 70, kGroupWidth - 16, kGroupHeight - 110);
    btnNext2 = AnswerButton(QStringLiteral("入力"), "btnNext2", grbSelect);
    btnNext2->setGeometry(8, kGroupHeight - 34, 90, 26);
    btnClear2 = AnswerButton(QStringLiteral("クリア"), "btnClear2", grbSelect);
    btnClear2->setGeometry(110, kGroupHeight - 34, 90, 26);

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

    createWritingPad();

    grbTest = Named(new QGroupBox(pnlSS), "grbTest");
    grbTest->setGeometry(8, kGroupHeight + 5, kGroupWidth, 100);
    btnAnswer = AnswerButton(QStringLiteral("答えを見る"), "btnAnswer", grbTest);
    btnSaiten = AnswerButton(QStringLiteral("採点"), "btnSaiten", grbTest);
    btnAbort = AnswerButton(QStringLiteral("中止"), "btnAbort", grbTest);
    btnHint = AnswerButton(QStringLiteral("ヒントを見る"), "btnHint", grbTest);
    btnSoftKey = AnswerButton(QStringLiteral("入力切替"), "btnSoftKey", grbTest);
    // The test's grade button takes the focus once every blank is answered.
    btnSaiten->setFocusPolicy(Qt::TabFocus);
    btnAnswer->setGeometry(6, 8, 96, 28);
    btnSaiten->setGeometry(6, 8, 96, 28);
    btnHint->setGeometry(106, 8, 96, 28);
    btnSoftKey->setGeometry(6, 38, 96, 28);
    btnAbort->setGeometry(106, 38, 96, 28);

    pnlAnki = Named(new QFrame(pnlSS), "pnlAnki");
    pnlAnki->setGeometry(grbTest->geometry());
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

void TfrmRenshu::connectCommands() {
    DrillEngine* e = &m_engine;
    auto on = [this](QPushButton* b, auto slot) {
        connect(b, &QPushButton::clicked, this, [this, slot] {
            commitComposition();
            slot();
        });
    };
    on(btnAnki, [e] { e->startMemorise(); });
    on(btnRenshu, [e] { e->startPractice(); });
    on(btnTest, [e] { e->startTest(); });
    on(btnFukushu, [e] { e->startReview(); });
    on(btnSeikai, [e] { e->showAllAnswers(); });
    on(btnTouan, [e] { e->showAnswerSheet(); });
    on(btnNextA, [e] { e->eraseAndNext(); });
    on(btnNextB, [e] { e->keepAndNext(); });
    on(btnShow, [e] { e->revealAll(); });
    on(btnAllClear, [e] { e->eraseAll(); });
    on(btnClose, [e] { e->endMemorise(); });
    on(btnSaiten, [e] { e->grade(); });
    on(btnAnswer, [e] { e->showAnswer(); });
    on(btnAbort, [e] { e->stopRun(); });
    on(btnHint, [e] { e->showHint(); });
    on(btnSoftKey, [this] {
        m_engine.switchInputMode();
        inputModeChosen(m_engine.inputMode());
    });
    on(btnNext, [e] { e->nextBlank(); });
    on(btnNext2, [e] { e->nextBlank(); });
    on(btnClearS, [e] { e->clearAnswer(); });
    on(btnClear2, [e] { e->clearAnswer(); });
    on(btnEnd, [this] { btnEndClick(); });
    on(btnStartPrint, [this] { btnStartPrintClick(); });
    on(btnShowRecord, [this] { btnShowRecordClick(); });
    on(btnMemo, [this] { btnMemoClick(); });
    for (int k = 1; k <= kSoftKeyCount; ++k)
        on(softKeys[static_cast<std::size_t>(k)], [this, k] {
            m_engine.softKeyPressed(k, answerBox(m_engine.currentBlank())->hasSelectedText());
        });
    connect(lstKgroup, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        commitComposition();
        m_engine.choicePicked(lstKgroup->row(item),
                              answerBox(m_engine.currentBlank())->hasSelectedText());
    });
    // Only the learner's own clicks are a choice to keep; opening ticks a button by the unit.
    connect(chkKaitou, &QRadioButton::clicked, this,
            [this] { inputModeChosen(InputMode::Choices); });
    connect(chkRandom, &QRadioButton::clicked, this,
            [this] { inputModeChosen(InputMode::SoftKeyboard); });
    connect(chkTegaki, &QRadioButton::clicked, this,
            [this] { inputModeChosen(InputMode::Handwriting); });
    connect(imgTegaki, &HandwritingPad::strokesChanged, this, [this] { recognizeStrokes(); });
    for (int k = 1; k <= kCandidateCount; ++k)
        on(btnKouho[static_cast<std::size_t>(k)], [this, k] { candidateClick(k); });
    on(btnUndo, [this] { imgTegaki->undoStroke(); });
    on(btnClear3, [this] { btnClear3Click(); });
    on(btnNext3, [e] { e->nextBlank(); });
    for (int k = 0; k < 4; ++k)
        connect(rad[k], &QRadioButton::clicked, this, [this, k] { m_engine.chooseColour(k); });
}

// ---- opening and closing ----------------------------------------------------------------------

void TfrmRenshu::prepare(TfrmPrint* window) {
    m_window = window;
    m_ws = window ? &window->worksheet() : nullptr;
    m_open = false;
    if (!m_ws) {
        // Without a worksheet the window keeps its design-time state and can only be closed.
        for (QWidget* w : std::initializer_list<QWidget*>{btnAnki, btnRenshu, btnTest, btnFukushu,
                                                          btnSeikai, btnTouan, btnStartPrint})
            w->setEnabled(false);
        return;
    }
    // The memo pad belongs to one opening: the next learner or unit starts without it.
    btnMemo->setChecked(false);
    imgMemo->hide();
    imgMemo->Reset();
    WorksheetHost& wh = m_host.worksheetHost();
    const int lesson = std::max(1, m_ws->address.lesson);
    m_pictures = LoadSheetPictures(*m_ws, wh.programFolder(), wh.figureFolder(lesson), nullptr);
    setWindowTitle(ToQString(m_ws->title));
    m_savedAlternatives = m_host.alternativesShown();
    m_host.setAlternativesShown(false);
    m_savedShowAnswers = m_ws->params.ShowAnswers;
    m_ws->params.ShowAnswers = false;
    const RecordPlace place = m_host.recordPlace(*m_ws);
    m_records = std::make_unique<ProfileRecordSink>(place.file, place.section, place.readFiles);
    m_engine.setRecordSink(m_records.get());
    placePanels();
    renderSheet(false);
    m_open = true;
    m_engine.open(readSetup());
    showInputMode();
}

int TfrmRenshu::showFor(TfrmPrint* window) {
    prepare(window);
    return exec();
}

DrillSetup TfrmRenshu::readSetup() {
    DrillSetup setup;
    setup.kgroup = m_ws->kgroup;
    setup.hasSoftKeyLines = !m_ws->softKey.empty();
    setup.isCopy = m_ws->isCopy;
    setup.similar = m_ws->address.similar;
    setup.answerCount = std::max(0, static_cast<int>(m_ws->answerList.size()) - 1);
    setup.handwriting = HandwritingAvailable();
    chkTegaki->setEnabled(setup.handwriting);
    chkTegaki->setToolTip(setup.handwriting
                              ? QString()
                              : QStringLiteral("手書き入力には %1 パッケージが必要です")
                                    .arg(QLatin1String(kHandwritingModelPackage)));
    if (SettingsStore* settings = m_host.settings())
        setup.preferHandwriting = settings->readBool(SettingsKey::Product, kTegakiSetting, false);
    WorksheetHost& wh = m_host.worksheetHost();
    if (!m_ws->isCopy) setup.hint = ReadUnitHints(m_ws->filePath, m_ws->address);
    if (setup.hasSoftKeyLines) {
        SoftKeyFile key = ReadSoftKeyFile(wh.programFolder(), m_ws->softKey.front());
        if (!key.refusal.empty()) wh.prompter().message(key.refusal);
        setup.keyFile = std::move(key.lines);
    }
    return setup;
}

void TfrmRenshu::done(int result) {
    if (m_open) {
        m_open = false;
        m_engine.close();
        m_engine.setRecordSink(nullptr);
        timSecond->stop();
        m_host.setAlternativesShown(m_savedAlternatives);
        if (m_ws) m_ws->params.ShowAnswers = m_savedShowAnswers;
        for (QLineEdit* box : m_boxes) box->hide();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{btnAnki, btnRenshu, btnTest})
        w->setEnabled(true);
    QDialog::done(result);
}

void TfrmRenshu::keyPressEvent(QKeyEvent* event) {
    // Escape would close the window in the middle of a run; only "中止" or the close box may.
    const DrillState s = m_engine.state();
    if (event->key() == Qt::Key_Escape && s != DrillState::Ready && s != DrillState::Results) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmRenshu::btnEndClick() {
    scrollToTop();
    accept();
}

void TfrmRenshu::btnStartPrintClick() {
    if (!m_window || !m_ws) return;
    scrollToTop();
    SheetShared& shared = m_host.worksheetHost().sheetShared();
    const bool result = m_lastResult;
    shared.drillDrawing = result;
    m_host.printSheet(m_window, [this, result](PrintSource& source) {
        source.screenImage = m_sheet->image();
        source.redrawScreen = [this, result] {
            renderSheet(result);
            return m_sheet->image();
        };
        const RenderInputs drill = drillInputs(result);
        source.view.answersShown = false;
        source.view.showAlternatives = false;
        source.adjustInputs = [drill](RenderInputs& in) {
            in.forLearner = true;
            in.answersShown = false;
            in.showAlternatives = false;
            in.graded = drill.graded;
            in.score = drill.score;
            in.drill = drill.drill;
            in.gradingMark = drill.gradingMark;
        };
    });
    shared.drillDrawing = false;
}

void TfrmRenshu::btnShowRecordClick() {
    m_host.showRecordViewer();
    showUnitRecords();
}

void TfrmRenshu::inputModeChosen(InputMode mode) {
    m_engine.setInputMode(mode);
    showInputMode();
    if (SettingsStore* settings = m_host.settings())
        settings->writeBool(SettingsKey::Product, kTegakiSetting,
                            m_engine.inputMode() == InputMode::Handwriting);
}

void TfrmRenshu::showInputMode() {
    const InputMode mode = m_engine.inputMode();
    chkKaitou->setChecked(mode == InputMode::Choices);
    chkRandom->setChecked(mode == InputMode::SoftKeyboard);
    chkTegaki->setChecked(mode == InputMode::Handwriting);
}

void TfrmRenshu::recognizeStrokes() {
    m_candidates =
        RecognizeHandwriting(imgTegaki->strokes(), imgTegaki->padSize(), kCandidateCount);
    for (int k = 1; k <= kCandidateCount; ++k) {
        QPushButton* b = btnKouho[static_cast<std::size_t>(k)];
        const bool shown = k <= static_cast<int>(m_candidates.size());
        b->setText(shown ? ToQString(m_candidates[static_cast<std::size_t>(k - 1)]) : QString());
        b->setEnabled(shown);
    }
}

void TfrmRenshu::candidateClick(int k) {
    if (k < 1 || k > static_cast<int>(m_candidates.size())) return;
    const std::string text = m_candidates[static_cast<std::size_t>(k - 1)];
    m_engine.candidatePicked(text, answerBox(m_engine.currentBlank())->hasSelectedText());
    imgTegaki->clear();
}

void TfrmRenshu::btnClear3Click() {
    // The pad first; an empty pad clears the answer box as the other panels' "クリア" does.
    if (!imgTegaki->strokes().empty())
        imgTegaki->clear();
    else
        m_engine.clearAnswer();
}

void TfrmRenshu::btnMemoClick() {
    const bool on = btnMemo->isChecked();
    imgMemo->setVisible(on);
    if (on) {
        imgMemo->raise();
        imgMemo->Reset();
    }
}

// ---- geometry ---------------------------------------------------------------------------------

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
    for (int i = 1; i <= boxes; ++i) {
        const BlankFrame f = frameOf(i);
        const BlankRecord& b = table.slots[static_cast<std::size_t>(i)];
        QLineEdit* box = m_boxes[static_cast<std::size_t>(i)];
        box->setFont(font);
        box->setGeometry(b.left + 1, b.top + 4, std::max(20, f.enlarged.width()), f.base.height());
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

// ---- drawing ----------------------------------------------------------------------------------

RenderInputs TfrmRenshu::drillInputs(bool result) {
    WorksheetHost& wh = m_host.worksheetHost();
    ScreenView view = ViewOf(wh);
    view.answersShown = false;
    view.showAlternatives = false;
    RenderInputs in = ScreenInputs(*m_ws, view, m_pictures);
    in.forLearner = true;
    in.numberText = wh.numberText();  // the same "№" line the worksheet window shows
    if (!result) return in;
    in.drill.entries = m_engine.resultEntries();
    in.drill.pieceStarts = m_ws->pieceStarts;
    in.graded = m_engine.scoreShown();
    in.score = m_engine.lastScore();
    in.gradingMark = [](Canvas& canvas, int, const BlankRecord& record, const BlankFrame& frame,
                        double s) {
        const int boxWidth = static_cast<int>(RoundHalfEven(frame.enlarged.width() / s));
        DrawGradingMark(canvas, MarkForStatus(record.BlankStatus), frame, s, boxWidth, kRed);
    };
    return in;
}

void TfrmRenshu::renderSheet(bool result) {
    if (!m_ws) return;
    SheetShared& shared = m_host.worksheetHost().sheetShared();
    m_lastResult = result;
    // The drill's sheet is the one drawn last: its pass describes the blanks.
    shared.blankRecording = true;
    shared.drillDrawing = result;
    const RenderInputs in = drillInputs(result);
    m_sheet = std::make_unique<ImageCanvas>(in.pageWidth, in.pageHeight);
    m_tracker = CanvasTracker{};
    RenderSheet(*m_ws, *m_sheet, in, shared);
    shared.drillDrawing = false;
    imgPaper2->setPixmap(QPixmap::fromImage(m_sheet->image()));
    placeBoxes();
}

Canvas& TfrmRenshu::messageCanvas(MessageImage image) {
    if (image == MessageImage::RecordPanel) return *m_mess;
    return *m_messXXExtent;
}

void TfrmRenshu::imagesChanged() {
    imgPaper2->setPixmap(QPixmap::fromImage(m_sheet->image()));
    imgMess->setPixmap(QPixmap::fromImage(m_mess->image()));
    placeMessXX();
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

void TfrmRenshu::showMascot(Mascot mascot) {
    ClearMessage(*m_mess);
    const QPixmap picture = MakeMascot(mascot);
    m_mess->drawBitmap(BitmapFromImage(picture.toImage()), 0, 0, picture.width(), picture.height());
    imagesChanged();
}

// ---- the engine's requests --------------------------------------------------------------------

void TfrmRenshu::boxesChanged() {
    m_syncing = true;
    for (int i = 1; i < kAnswerBoxes; ++i) {
        const AnswerBox& model = m_engine.box(i);
        QLineEdit* box = m_boxes[static_cast<std::size_t>(i)];
        // A box showing what the engine cannot hold keeps what it shows until the engine
        // gives it new text (which also ends the unusable state).
        if (model.unusable == 0) {
            const QString text = ToQString(model.text);
            if (box->text() != text) {
                box->setText(text);
                // A box is often narrower than its text: shown from the caret at its end, a
                // one-kanji answer would be scrolled out of sight. The box in use gets its
                // caret from focusBox.
                if (!box->hasFocus()) box->setCursorPosition(0);
            }
        }
        box->setReadOnly(model.readOnly);
        QPalette p = box->palette();
        if (p.color(QPalette::Base) != ToQColor(model.background) ||
            p.color(QPalette::Text) != ToQColor(model.textColour)) {
            p.setColor(QPalette::Base, ToQColor(model.background));
            p.setColor(QPalette::Text, ToQColor(model.textColour));
            box->setPalette(p);
        }
        if (box->isVisibleTo(imgPaper2) != model.visible) box->setVisible(model.visible);
    }
    m_syncing = false;
}

void TfrmRenshu::panelsChanged() {
    const DrillPanels& p = m_engine.panels();
    pnlRenshu->setVisible(p.commandPanel);
    pnlSS->setVisible(p.runPanel);
    pnlKiroku->setVisible(p.recordPanel);
    memKiroku->setVisible(p.recordList);
    imgMess->setVisible(p.recordMessage);
    grbTest->setVisible(p.answerCommands);
    pnlAnki->setVisible(p.memoriseCommands);
    grbSelect->setVisible(p.choiceList);
    grbMoji->setVisible(p.softKeyboard);
    grbTegaki->setVisible(p.writingPad);
    if (!p.writingPad) imgTegaki->clear();
    btnHint->setVisible(p.hintVisible);
    btnHint->setEnabled(p.hintEnabled);
    btnAnswer->setVisible(p.showAnswerVisible);
    btnAnswer->setEnabled(p.showAnswerEnabled);
    btnSaiten->setVisible(p.gradeVisible);
    btnEnd->setVisible(p.closeVisible);
    btnAnki->setEnabled(p.canMemorise);
    btnRenshu->setEnabled(p.canPractise);
    btnTest->setEnabled(p.canTest);
    btnFukushu->setEnabled(p.canReview);
    btnSeikai->setEnabled(p.canShowAnswers);
    btnTouan->setEnabled(p.canShowAnswerSheet);
    btnStartPrint->setEnabled(p.canPrint);
    if (p.memoriseLayout != m_messXXAnki) {
        // The other place starts a new picture; what the engine draws next fills it.
        m_messXXAnki = p.memoriseLayout;
        ClearMessage(*m_messXXExtent);
    }
    placeMessXX();
}

void TfrmRenshu::focusBox(int blank, Caret caret) {
    QLineEdit* box = answerBox(blank);
    box->setFocus(Qt::OtherFocusReason);
    switch (caret) {
        case Caret::Start:
            box->setCursorPosition(0);
            break;
        case Caret::End:
            box->end(false);
            break;
        case Caret::SelectAll:
            box->selectAll();
            break;
    }
}

void TfrmRenshu::focusButton(DrillButton button) {
    switch (button) {
        case DrillButton::Close:
            btnEnd->setFocus();
            break;
        case DrillButton::Review:
            btnFukushu->setFocus();
            break;
        case DrillButton::Grade:
            btnSaiten->setFocus();
            break;
    }
}

void TfrmRenshu::message(const std::string& text) {
    m_host.worksheetHost().prompter().message(text);
}

void TfrmRenshu::showAllCorrect() {
    if (allCorrectDialog) allCorrectDialog();
}

void TfrmRenshu::showUnitRecords() {
    if (!m_ws) return;
    const RecordPlace place = m_host.recordPlace(*m_ws);
    lblKiroku->setText(
        ToQString(place.section + sjis("　　氏名：") + m_host.worksheetHost().learnerName()));
    const ProfileRecordSink sink(place.file, place.section, place.readFiles);
    const std::vector<std::string> lines = sink.lines();
    memKiroku->clear();
    if (lines.empty()) {
        memKiroku->setPlainText(QStringLiteral("練習の記録はありません"));
        return;
    }
    QStringList shown;
    for (const std::string& line : lines) shown << ToQString(line);
    memKiroku->setPlainText(shown.join(QLatin1Char('\n')));
}

void TfrmRenshu::recordWritten() {
    m_host.recordWritten();
}

void TfrmRenshu::scrollToTop() {
    ScrollBox->verticalScrollBar()->setValue(0);
}

void TfrmRenshu::timerRunning(bool running) {
    if (running)
        timSecond->start();
    else
        timSecond->stop();
}

void TfrmRenshu::choicesChanged() {
    lstKgroup->clear();
    for (const std::string& choice : m_engine.choices()) lstKgroup->addItem(ToQString(choice));
    const SoftKeys& keys = m_engine.softKeys();
    for (int k = 1; k <= kSoftKeyCount; ++k) {
        QPushButton* key = softKeys[static_cast<std::size_t>(k)];
        key->setText(ToQString(keys.captions[static_cast<std::size_t>(k)]));
        QPalette p = key->palette();
        p.setColor(QPalette::ButtonText, keys.green ? QColor(0, 128, 0) : QColor(Qt::black));
        key->setPalette(p);
    }
}

// ---- events of the boxes and pictures ---------------------------------------------------------

int TfrmRenshu::boxIndex(QObject* watched) const {
    for (int i = 1; i < kAnswerBoxes; ++i)
        if (m_boxes[static_cast<std::size_t>(i)] == watched) return i;
    return 0;
}

bool TfrmRenshu::boxKeyPress(int i, QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // The Enter that ends a composition belongs to the input method.
            if (!m_preedit[static_cast<std::size_t>(i)].isEmpty()) return false;
            m_engine.enterPressed(i);
            return true;
        }
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;  // the learner stays on the blank being answered
        default:
            return false;
    }
}

// The commands never take the focus from the answer box, so nothing else would end a composition:
// they act on what the learner sees, the composed text included.
void TfrmRenshu::commitComposition() {
    const auto composing = [this] {
        return std::any_of(m_preedit.begin() + 1, m_preedit.end(),
                           [](const QString& p) { return !p.isEmpty(); });
    };
    if (!composing()) return;
    QGuiApplication::inputMethod()->commit();
    if (!composing()) return;
    // Some input methods commit only on a reset, others drop the composition there: whatever
    // the reset did not put into the box is committed here.
    const std::array<QString, kAnswerBoxes> preedit = m_preedit;
    std::array<QString, kAnswerBoxes> before;
    for (int i = 1; i < kAnswerBoxes; ++i)
        before[static_cast<std::size_t>(i)] = answerBox(i)->text();
    QGuiApplication::inputMethod()->reset();
    for (int i = 1; i < kAnswerBoxes; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (preedit[k].isEmpty() || answerBox(i)->text() != before[k]) continue;
        QInputMethodEvent done;
        done.setCommitString(preedit[k]);
        QApplication::sendEvent(answerBox(i), &done);
    }
}

bool TfrmRenshu::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = boxIndex(watched)) {
        switch (event->type()) {
            case QEvent::KeyPress:
                return boxKeyPress(i, static_cast<QKeyEvent*>(event));
            case QEvent::InputMethod: {
                auto* im = static_cast<QInputMethodEvent*>(event);
                m_preedit[static_cast<std::size_t>(i)] = im->preeditString();
                break;
            }
            case QEvent::FocusIn:
                if (!m_syncing) m_engine.boxFocusEnter(i);
                break;
            case QEvent::FocusOut: {
                // A message box or another window taking the focus is not leaving the blank.
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                    !m_syncing) {
                    m_engine.boxFocusLeave(i);
                    // What the learner wrote stays in sight from its start once she moves on.
                    answerBox(i)->setCursorPosition(0);
                }
                break;
            }
            case QEvent::MouseButtonPress:
                m_engine.boxClicked(i);
                break;
            default:
                break;
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        for (int k = 0; k < 4; ++k) {
            if (watched == shpCol[k]) {
                rad[k]->setChecked(true);
                m_engine.chooseColour(k);
                return true;
            }
        }
        if (watched == imgMess && m_engine.state() == DrillState::Results) {
            showMascot(Mascot::Gaoh);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace sulkan
