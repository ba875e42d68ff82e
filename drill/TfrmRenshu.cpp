#include "TfrmRenshu.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScrollBar>
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
#include "RenshuSupport.h"
#include "Sjis.h"
#include "TfrmZenSeikai.h"
#include "UnitAddress.h"

namespace sulkan {

namespace {

// The picture behind imgMessXX; the label shows as much of it as the message needs.
constexpr int kMessXXCanvasWidth = 1000;
constexpr int kMessXXCanvasHeight = 1600;

}  // namespace

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
    createAnswerBoxes();

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
    m_sheet = renshu::FreshCanvas({1, 1});
    m_mess = renshu::FreshCanvas({1, 1});
    m_messXX = renshu::FreshCanvas({kMessXXCanvasWidth, kMessXXCanvasHeight});
    m_messXXExtent = std::make_unique<ExtentCanvas>(*m_messXX);
}

TfrmRenshu::~TfrmRenshu() = default;

// ---- opening and closing ----------------------------------------------------------------------

void TfrmRenshu::prepare(TfrmPrint* window) {
    m_window = window;
    m_ws = window ? &window->worksheet() : nullptr;
    m_open = false;
    if (!m_ws) {
        showStrokeOrderBox();  // a setting, offered with or without a sheet
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
    setWindowTitle(ToQString(m_ws->content.title));
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

std::string TfrmRenshu::showStrokeOrderBox() {
    std::string face = StrokeOrderFontFamily();
    bool wanted = false;
    if (SettingsStore* settings = m_host.settings())
        wanted = settings->readBool(SettingsKey::Product, renshu::kStrokeOrderSetting, false);
    const bool available = !face.empty();
    chkHitsujun->setEnabled(available);
    chkHitsujun->setChecked(available && wanted);
    const QString tip = available ? QStringLiteral("答えを見る・正解表示で漢字の筆順も表示します")
                                  : QStringLiteral("筆順の表示には %1 パッケージが必要です")
                                        .arg(QLatin1String(kStrokeOrderFontPackage));
    const QString key = chkHitsujun->shortcut().toString(QKeySequence::NativeText);
    chkHitsujun->setToolTip(tip + QStringLiteral("（") + key + QStringLiteral("）"));
    chkHitsujun->setAccessibleDescription(tip + QStringLiteral("。キー ") + key);
    return face;
}

int TfrmRenshu::showFor(TfrmPrint* window) {
    prepare(window);
    return exec();
}

DrillSetup TfrmRenshu::readSetup() {
    DrillSetup setup;
    setup.kgroup = m_ws->content.kgroup;
    setup.hasSoftKeyLines = !m_ws->content.softKey.empty();
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
        setup.preferHandwriting =
            settings->readBool(SettingsKey::Product, renshu::kTegakiSetting, false);
    setup.strokeOrderFont = showStrokeOrderBox();
    setup.strokeOrder = chkHitsujun->isChecked();
    // Read in the background since start-up; the first drill may wait for the rest of it.
    if (StrokeCounts::Installed().size() > 0) setup.strokeCounts = &StrokeCounts::Installed();
    WorksheetHost& wh = m_host.worksheetHost();
    if (!m_ws->isCopy) setup.hint = ReadUnitHints(m_ws->filePath, m_ws->address);
    if (setup.hasSoftKeyLines) {
        SoftKeyFile key = ReadSoftKeyFile(wh.programFolder(), m_ws->content.softKey.front());
        if (key.problem) wh.prompter().message(key.problem->message);
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

// ---- drawing ----------------------------------------------------------------------------------

RenderInputs TfrmRenshu::drillInputs(bool result) {
    WorksheetHost& wh = m_host.worksheetHost();
    ScreenView view = ViewOf(wh);
    view.answersShown = false;
    view.showAlternatives = false;
    RenderInputs in = ScreenInputs(*m_ws, view, m_pictures);
    in.stamp.forLearner = true;
    in.stamp.numberText = wh.numberText();  // the same "№" line the worksheet window shows
    if (!result) return in;
    in.drill.entries = m_engine.resultEntries();
    in.drill.pieceStarts = m_ws->pieceStarts;
    in.drill.graded = m_engine.scoreShown();
    in.drill.score = m_engine.lastScore();
    in.drill.gradingMark = [](Canvas& canvas, int, const BlankRecord& record,
                              const BlankFrame& frame, double s) {
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
    // At the screen's density; the answer boxes stay in sheet units over it.
    m_sheet = std::make_unique<ImageCanvas>(in.target.pageWidth, in.target.pageHeight, 1,
                                            imgPaper2->devicePixelRatioF());
    m_tracker = CanvasTracker{};
    RenderSheet(*m_ws, *m_sheet, in, shared);
    shared.drillDrawing = false;
    showSheet();
    placeBoxes();
}

Canvas& TfrmRenshu::messageCanvas(MessageImage image) {
    if (image == MessageImage::RecordPanel) return *m_mess;
    return *m_messXXExtent;
}

void TfrmRenshu::showSheet() {
    QPixmap sheet = QPixmap::fromImage(m_sheet->image());
    sheet.setDevicePixelRatio(m_sheet->pixelRatio());
    imgPaper2->setPixmap(sheet);
}

void TfrmRenshu::imagesChanged() {
    showSheet();
    imgMess->setPixmap(QPixmap::fromImage(m_mess->image()));
    placeMessXX();
}

void TfrmRenshu::showMascot(Mascot mascot) {
    ClearMessage(*m_mess);
    const QPixmap picture = MakeMascot(mascot);
    m_mess->drawBitmap(BitmapFromImage(picture.toImage()), 0, 0, picture.width(), picture.height());
    imagesChanged();
}

// ---- the engine's requests --------------------------------------------------------------------

void TfrmRenshu::panelsChanged() {
    const DrillPanels& p = m_engine.panels();
    // The command panel stays, with the sheet where it is: a run hides its commands, not 筆順.
    for (QWidget* w : std::initializer_list<QWidget*>{btnAnki, btnRenshu, grbInput, btnFukushu,
                                                      btnTest, btnSeikai, btnTouan, grbColor,
                                                      btnStartPrint, btnShowRecord})
        w->setVisible(p.commandPanel);
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
    btnEnd->setVisible(p.commandPanel && p.closeVisible);
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

}  // namespace sulkan
