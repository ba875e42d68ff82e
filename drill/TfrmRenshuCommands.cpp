// The drill window's commands: what each button, choice and key does. The runs' commands go to
// the engine; closing, printing, the record viewer, the memo pad and the writing pad's own
// buttons are the window's.
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>
#include <functional>

#include "Handwriting.h"
#include "QtText.h"
#include "RenshuSupport.h"
#include "TfrmRenshu.h"

namespace sulkan {

using renshu::kTegakiSetting;

void TfrmRenshu::connectCommands() {
    // A command acts on what the box shows, a composition of the input method included.
    const auto on = [this](QPushButton* b, std::function<void()> handler) {
        connect(b, &QPushButton::clicked, this, [this, handler] {
            commitComposition();
            handler();
        });
    };
    const auto handle = [this, &on](QPushButton* b, void (TfrmRenshu::*handler)()) {
        on(b, [this, handler] { (this->*handler)(); });
    };
    handle(btnAnki, &TfrmRenshu::btnAnkiClick);
    handle(btnRenshu, &TfrmRenshu::btnRenshuClick);
    handle(btnTest, &TfrmRenshu::btnTestClick);
    handle(btnFukushu, &TfrmRenshu::btnFukushuClick);
    handle(btnSeikai, &TfrmRenshu::btnSeikaiClick);
    handle(btnTouan, &TfrmRenshu::btnTouanClick);
    handle(btnNextA, &TfrmRenshu::btnNextAClick);
    handle(btnNextB, &TfrmRenshu::btnNextBClick);
    handle(btnShow, &TfrmRenshu::btnShowClick);
    handle(btnAllClear, &TfrmRenshu::btnAllClearClick);
    handle(btnClose, &TfrmRenshu::btnCloseClick);
    handle(btnSaiten, &TfrmRenshu::btnSaitenClick);
    handle(btnAnswer, &TfrmRenshu::btnAnswerClick);
    handle(btnAbort, &TfrmRenshu::btnAbortClick);
    handle(btnHint, &TfrmRenshu::btnHintClick);
    handle(btnSoftKey, &TfrmRenshu::btnSoftKeyClick);
    handle(btnNext, &TfrmRenshu::btnNextClick);
    handle(btnNext2, &TfrmRenshu::btnNext2Click);
    handle(btnNext3, &TfrmRenshu::btnNextClick);
    handle(btnClearS, &TfrmRenshu::btnClearSClick);
    handle(btnClear2, &TfrmRenshu::btnClear2Click);
    handle(btnClear3, &TfrmRenshu::btnClear3Click);
    handle(btnEnd, &TfrmRenshu::btnEndClick);
    handle(btnStartPrint, &TfrmRenshu::btnStartPrintClick);
    handle(btnShowRecord, &TfrmRenshu::btnShowRecordClick);
    handle(btnMemo, &TfrmRenshu::btnMemoClick);
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
    connect(chkHitsujun, &QCheckBox::clicked, this, [this](bool on) {
        m_engine.setStrokeOrder(on);
        if (SettingsStore* settings = m_host.settings())
            settings->writeBool(SettingsKey::Product, renshu::kStrokeOrderSetting, on);
    });
    for (int k = 0; k < 4; ++k)
        connect(rad[k], &QRadioButton::clicked, this, [this, k] { m_engine.chooseColour(k); });
}

// ---- the runs' commands ------------------------------------------------------------------------

void TfrmRenshu::btnAnkiClick() {
    m_engine.startMemorise();
}

void TfrmRenshu::btnRenshuClick() {
    m_engine.startPractice();
}

void TfrmRenshu::btnTestClick() {
    m_engine.startTest();
}

void TfrmRenshu::btnFukushuClick() {
    m_engine.startReview();
}

void TfrmRenshu::btnSeikaiClick() {
    m_engine.showAllAnswers();
}

void TfrmRenshu::btnTouanClick() {
    m_engine.showAnswerSheet();
}

void TfrmRenshu::btnNextAClick() {
    m_engine.eraseAndNext();
}

void TfrmRenshu::btnNextBClick() {
    m_engine.keepAndNext();
}

void TfrmRenshu::btnShowClick() {
    m_engine.revealAll();
}

void TfrmRenshu::btnAllClearClick() {
    m_engine.eraseAll();
}

void TfrmRenshu::btnCloseClick() {
    m_engine.endMemorise();
}

void TfrmRenshu::btnSaitenClick() {
    m_engine.grade();
}

void TfrmRenshu::btnAnswerClick() {
    m_engine.showAnswer();
}

void TfrmRenshu::btnAbortClick() {
    m_engine.stopRun();
}

void TfrmRenshu::btnHintClick() {
    m_engine.showHint();
}

void TfrmRenshu::btnNextClick() {
    m_engine.nextBlank();
}

void TfrmRenshu::btnNext2Click() {
    m_engine.nextBlank();
}

void TfrmRenshu::btnClearSClick() {
    m_engine.clearAnswer();
}

void TfrmRenshu::btnClear2Click() {
    m_engine.clearAnswer();
}

void TfrmRenshu::btnSoftKeyClick() {
    m_engine.switchInputMode();
    inputModeChosen(m_engine.inputMode());
}

// ---- the window's own commands -----------------------------------------------------------------

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
        source.screenImage = sheetImage();
        source.redrawScreen = [this, result] {
            renderSheet(result);
            return sheetImage();
        };
        const RenderInputs drill = drillInputs(result);
        source.view.answersShown = false;
        source.view.showAlternatives = false;
        source.adjustInputs = [drill](RenderInputs& in) {
            in.stamp.forLearner = true;
            in.view.answersShown = false;
            in.view.showAlternatives = false;
            in.drill = drill.drill;
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
    const auto& strokes = imgTegaki->strokes();
    const auto written = std::count_if(strokes.begin(), strokes.end(),
                                       [](const HandStroke& s) { return !s.empty(); });
    m_engine.candidatePicked(text, answerBox(m_engine.currentBlank())->hasSelectedText(),
                             static_cast<int>(written));
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

}  // namespace sulkan
