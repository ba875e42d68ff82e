// The drill window: a learner memorises, practises, reviews and tests the active worksheet on
// screen. The runs themselves are DrillEngine's; this window shows its boxes and panels, draws
// the sheet and passes on what the learner types and clicks.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "DrillEngine.h"
#include "DrillHost.h"
#include "HandwritingPad.h"
#include "MemoPad.h"
#include "MessageBoard.h"
#include "QtCanvas.h"
#include "SheetImage.h"
#include "StyledText.h"
#include "TfrmPrint.h"

namespace sulkan {

class TfrmZenSeikai;

class TfrmRenshu : public QDialog, private DrillFrontEnd {
    Q_OBJECT
public:
    static constexpr int kCandidateCount = 10;

    TfrmRenshu(DrillHost& host, RandomSource& random, QWidget* parent = nullptr);
    ~TfrmRenshu() override;

    // Opens the drill over the window's worksheet and shows it modally. Without a window the
    // drill shows nothing of a run and can only be closed.
    int showFor(TfrmPrint* window);
    // The opening steps without showing the window modally (tests show it themselves).
    void prepare(TfrmPrint* window);

    DrillEngine& engine() { return m_engine; }
    // The sheet image as the window shows it, carrying the screen's pixel ratio.
    QImage sheetImage() const {
        QImage image = m_sheet->image();
        image.setDevicePixelRatio(m_sheet->pixelRatio());
        return image;
    }
    QLineEdit* answerBox(int i) const { return m_boxes[static_cast<std::size_t>(i)]; }
    // Shows the all-correct window; tests replace it.
    std::function<void()> allCorrectDialog;

    // Command panel.
    QFrame* pnlRenshu;
    QPushButton* btnAnki;
    QPushButton* btnRenshu;
    QGroupBox* grbInput;
    QRadioButton* chkKaitou;
    QRadioButton* chkRandom;
    QRadioButton* chkTegaki;
    // "筆順": shown answers with their stroke order; a setting, in this column whatever the run.
    QCheckBox* chkHitsujun;
    QPushButton* btnFukushu;
    QPushButton* btnTest;
    QPushButton* btnSeikai;
    QPushButton* btnTouan;
    QGroupBox* grbColor;
    std::array<QRadioButton*, 4> rad{};
    std::array<QFrame*, 4> shpCol{};
    QPushButton* btnStartPrint;
    QPushButton* btnShowRecord;
    QPushButton* btnEnd;

    // The sheet.
    QScrollArea* ScrollBox;
    QLabel* imgPaper2;

    // Right panel.
    QFrame* pnlSS;
    QGroupBox* grbTest;
    QPushButton* btnAnswer;
    QPushButton* btnSaiten;
    QPushButton* btnAbort;
    QPushButton* btnHint;
    QPushButton* btnSoftKey;
    QGroupBox* grbSelect;
    QListWidget* lstKgroup;
    QPushButton* btnNext2;
    QPushButton* btnClear2;
    QGroupBox* grbMoji;
    std::array<QPushButton*, kSoftKeyCount + 1> softKeys{};  // Button1..Button120
    QPushButton* btnNext;
    QPushButton* btnClearS;
    QGroupBox* grbTegaki;
    HandwritingPad* imgTegaki;
    std::array<QPushButton*, kCandidateCount + 1> btnKouho{};  // btnKouho1..btnKouho10
    QPushButton* btnUndo;                                      // "1画戻す"
    QPushButton* btnClear3;                                    // "クリア"
    QPushButton* btnNext3;                                     // "次へ"
    QFrame* pnlAnki;
    QPushButton* btnNextA;
    QPushButton* btnNextB;
    QPushButton* btnShow;
    QPushButton* btnAllClear;
    QPushButton* btnClose;
    QScrollArea* scrMessXX;  // holds imgMessXX when a message outgrows its room
    QLabel* imgMessXX;

    // Record panel.
    QFrame* pnlKiroku;
    QLabel* lblKiroku;
    QPlainTextEdit* memKiroku;
    QLabel* imgMess;
    QPushButton* btnMemo;
    MemoPad* imgMemo;

    QTimer* timSecond;
    TfrmZenSeikai* frmZenSeikai;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    // DrillFrontEnd.
    void boxesChanged() override;
    void panelsChanged() override;
    void focusBox(int blank, Caret caret) override;
    void focusButton(DrillButton button) override;
    void renderSheet(bool result) override;
    Canvas& sheetCanvas() override { return *m_sheet; }
    Canvas& messageCanvas(MessageImage image) override;
    void imagesChanged() override;
    // The sheet image on its label, shown at its size in sheet units.
    void showSheet();
    BlankFrame frameOf(int blank) override;
    void message(const std::string& text) override;
    void showAllCorrect() override;
    void showMascot(Mascot mascot) override;
    void showUnitRecords() override;
    void recordWritten() override;
    void scrollToTop() override;
    void timerRunning(bool running) override;
    void choicesChanged() override;

    RenderInputs drillInputs(bool result);
    DrillSetup readSetup();
    // "筆順" as the setting keeps it, disabled with the package named when the face is missing;
    // returns the face.
    std::string showStrokeOrderBox();

    // Building and placing the panels (TfrmRenshuPanels.cpp).
    void createCommandPanel();
    void createRightPanel();
    void createWritingPad();
    void createRecordPanel();
    void placePanels();
    void placeMessXX();
    void placeBoxes();

    // The answer boxes and their events (TfrmRenshuBoxes.cpp).
    void createAnswerBoxes();
    void nameSheetForScreenReaders();
    int boxIndex(QObject* watched) const;
    bool boxKeyPress(int i, QKeyEvent* event);
    void commitComposition();

    // The commands' handlers (TfrmRenshuCommands.cpp): those of the runs call the engine.
    void connectCommands();
    void btnAnkiClick();
    void btnRenshuClick();
    void btnTestClick();
    void btnFukushuClick();
    void btnSeikaiClick();
    void btnTouanClick();
    void btnNextAClick();
    void btnNextBClick();
    void btnShowClick();
    void btnAllClearClick();
    void btnCloseClick();
    void btnSaitenClick();
    void btnAnswerClick();
    void btnAbortClick();
    void btnHintClick();
    void btnSoftKeyClick();
    void btnNextClick();
    void btnNext2Click();
    void btnClearSClick();
    void btnClear2Click();
    void btnClear3Click();
    void btnEndClick();
    void btnStartPrintClick();
    void btnShowRecordClick();
    void btnMemoClick();
    void inputModeChosen(InputMode mode);
    void showInputMode();
    void recognizeStrokes();
    void candidateClick(int k);

    DrillHost& m_host;
    DrillEngine m_engine;
    std::array<QLineEdit*, kAnswerBoxes> m_boxes{};
    std::array<QString, kAnswerBoxes> m_preedit;  // what the input method is composing
    std::vector<std::string> m_candidates;        // CP932, those on btnKouho1..
    QPointer<TfrmPrint> m_window;
    Worksheet* m_ws = nullptr;
    SheetPictures m_pictures;
    std::unique_ptr<ProfileRecordSink> m_records;
    std::unique_ptr<ImageCanvas> m_sheet;
    std::unique_ptr<ImageCanvas> m_mess, m_messXX;
    std::unique_ptr<ExtentCanvas> m_messXXExtent;  // what the engine draws m_messXX through
    int m_messXXClears = -1;                       // clears of the message last placed
    bool m_messXXAnki = false;                     // placed for the memorise run
    CanvasTracker m_tracker;
    bool m_lastResult = false;
    bool m_savedAlternatives = true;
    bool m_savedShowAnswers = false;
    bool m_open = false;
    bool m_syncing = false;
};

}  // namespace sulkan
