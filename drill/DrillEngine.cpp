#include "DrillEngine.h"

#include <algorithm>

#include "GradingMarks.h"
#include "MessageBoard.h"
#include "Sjis.h"

namespace sulkan {

using namespace blank_status;

const std::array<Rgb, 4>& AnswerBoxColours() {
    static const std::array<Rgb, 4> colours = {Rgb{192, 255, 255}, Rgb{192, 255, 192},
                                               Rgb{255, 255, 192}, Rgb{255, 192, 255}};
    return colours;
}

DrillEngine::DrillEngine(BlankTable& blanks, DrillFrontEnd& frontEnd, RandomSource& random,
                         std::function<LocalTime()> clock)
    : m_blanks(blanks), m_front(frontEnd), m_random(random), m_clock(std::move(clock)) {}

// ---- opening and closing ----------------------------------------------------------------------

bool DrillEngine::open(const DrillSetup& setup) {
    m_state = DrillState::Ready;
    m_choices = setup.kgroup;
    m_handwriting = setup.handwriting;
    m_strokeOrderFont = setup.strokeOrderFont;
    m_strokeOrder = setup.strokeOrder;
    m_strokeCounts = setup.strokeCounts;
    m_inputMode = setup.hasSoftKeyLines ? InputMode::SoftKeyboard : InputMode::Choices;
    if (m_handwriting && setup.preferHandwriting) m_inputMode = InputMode::Handwriting;
    m_panels = DrillPanels{};
    m_panels.canShowAnswerSheet = false;
    m_panels.canReview = false;
    for (AnswerBox& b : m_boxes) b.visible = false;
    m_correctCount = m_totalCount = 0;
    m_isCopy = setup.isCopy;
    m_similar = setup.similar;
    m_front.scrollToTop();
    rebuildAlternatives();
    resetBlanks();
    m_scoreShown = false;

    m_usable = setup.answerCount <= kMaxBlanks;
    // The record panel shows this unit's records whatever follows: left as they were, they
    // would be another unit's (or another learner's) under this unit's name.
    m_front.showUnitRecords();
    if (!m_usable) {
        // More answers than the table holds would leave some ungraded: no run is offered, and
        // the course text would point at commands that are off. The reason stays in its place.
        m_panels.canMemorise = m_panels.canPractise = m_panels.canTest = false;
        m_panels.canShowAnswers = m_panels.canPrint = false;
        Canvas& mess = m_front.messageCanvas(MessageImage::RecordPanel);
        DrawMessageLine(mess, 0, sjis("解答欄が多すぎるため、"), 12, kBlack);
        DrawMessageLine(mess, 1, sjis("このシートでは学習できません"), 12, kBlack);
        DrawMessageLine(mess, 2, sjis("（８０個まで）"), 12, kBlack);
        m_front.imagesChanged();
        changed();
        m_front.message(sjis("解答欄が多すぎるため、このシートでは学習できません（８０個まで）"));
        return false;
    }

    setBoxesReadOnly(true);
    m_hint = setup.hint;
    if (!setup.keyFile.empty()) LayKeysFromFile(m_keys, setup.keyFile);
    DrawCourseText(m_front.messageCanvas(MessageImage::RecordPanel));
    m_front.imagesChanged();
    m_choices = PreparedChoices(std::move(m_choices));
    if (!setup.hasSoftKeyLines) LayKeysFromChoices(m_keys, m_choices, m_random);
    m_front.choicesChanged();
    changed();
    return true;
}

void DrillEngine::close() {
    m_front.timerRunning(false);
    resetBlanks();
    m_panels.canTest = true;
    m_scoreShown = false;
    m_state = DrillState::Ready;
}

void DrillEngine::rebuildAlternatives() {
    for (int i = 1; i <= m_blanks.BlankCount; ++i)
        blank(i).Alternatives = SplitAlternatives(blank(i).AnswerText);
}

void DrillEngine::resetBlanks() {
    m_correctShown = false;
    for (BlankRecord& b : m_blanks.slots) {
        b.BlankStatus = kOpen;
        b.AnswerShown = false;
    }
}

bool DrillEngine::refuseWithoutBlanks() {
    if (!m_usable) return true;
    if (m_blanks.BlankCount >= 1) return false;
    m_front.message(sjis("このシートには答える問題がありません"));
    return true;
}

bool DrillEngine::inRun() const {
    return m_state == DrillState::Memorise || answering();
}

bool DrillEngine::answering() const {
    return m_state == DrillState::Practise || m_state == DrillState::Test ||
           m_state == DrillState::Review;
}

// ---- memorise ---------------------------------------------------------------------------------

void DrillEngine::startMemorise() {
    if ((m_state != DrillState::Ready && m_state != DrillState::Results) || refuseWithoutBlanks())
        return;
    m_state = DrillState::Memorise;
    m_front.scrollToTop();
    m_panels.recordPanel = false;
    m_panels.memoriseLayout = true;
    resetBlanks();
    m_scoreShown = false;
    m_front.renderSheet(false);
    rebuildAlternatives();
    for (int i = 1; i <= m_blanks.BlankCount; ++i) {
        showBox(i, {});
        boxAt(i).readOnly = true;
    }
    m_panels.commandPanel = false;
    m_panels.runPanel = true;
    m_panels.memoriseCommands = true;
    m_panels.answerCommands = false;
    m_panels.choiceList = m_panels.softKeyboard = m_panels.writingPad = false;
    CurrentBlank = 1;
    setBoxText(1, blank(1).Alternatives.front());
    changed();
    focus(1, Caret::Start);
    showAlternatives(1);
    ClearMessage(m_front.messageCanvas(MessageImage::RunPanel));
    DrawHint();
}

void DrillEngine::memoriseMoveTo(int b, bool wholeAnswer) {
    // A sheet with one blank has no other blank to go on to: stay where we are.
    if (b == 0) b = CurrentBlank;
    setBoxText(b, wholeAnswer ? blank(b).AnswerText : blank(b).Alternatives.front());
    CurrentBlank = b;
    changed();
    focus(b, Caret::Start);
    showAlternatives(b);
}

void DrillEngine::eraseAndNext() {
    if (m_state != DrillState::Memorise) return;
    setBoxText(CurrentBlank, {});
    memoriseMoveTo(NextOpenBlank(), false);
}

void DrillEngine::keepAndNext() {
    if (m_state != DrillState::Memorise) return;
    memoriseMoveTo(NextOpenBlank(), true);
}

void DrillEngine::revealAll() {
    if (m_state != DrillState::Memorise) return;
    fillInAnswers();
    CurrentBlank = 1;
    focus(1, Caret::Start);
}

void DrillEngine::eraseAll() {
    if (m_state != DrillState::Memorise) return;
    for (int i = 1; i <= m_blanks.BlankCount; ++i) showBox(i, {});
    changed();
    CurrentBlank = 1;
    focus(1, Caret::Start);
}

void DrillEngine::endMemorise() {
    if (m_state != DrillState::Memorise) return;
    m_state = DrillState::Ready;
    m_panels.commandPanel = true;
    m_panels.memoriseCommands = false;
    m_panels.runPanel = false;
    m_panels.memoriseLayout = false;
    m_panels.recordPanel = true;
    drawMessage(MessageImage::RecordPanel, 0, sjis("　次は［練習です］"), 14, kMessageBlue);
    m_front.scrollToTop();
    changed();
}

void DrillEngine::showAlternatives(int b) {
    Canvas& canvas = m_front.messageCanvas(MessageImage::RunPanel);
    const std::vector<std::string>& alternatives = blank(b).Alternatives;
    if (alternatives.size() < 2) {
        ClearMessage(canvas);
    } else {
        DrawMessageLine(canvas, 0, sjis("別解は"), 14, kBlack);
        for (std::size_t k = 1; k < alternatives.size(); ++k)
            DrawMessageLine(canvas, static_cast<int>(k), alternatives[k], 14, kMessageBlue);
    }
    m_front.imagesChanged();
}

// ---- practise, test, review -------------------------------------------------------------------

void DrillEngine::startPractice() {
    if ((m_state != DrillState::Ready && m_state != DrillState::Results) || refuseWithoutBlanks())
        return;
    m_panels.recordList = false;
    m_panels.hintVisible = true;
    m_panels.hintEnabled = !m_hint.empty() && !m_isCopy;
    m_panels.showAnswerVisible = m_panels.showAnswerEnabled = true;
    m_panels.gradeVisible = false;
    StartAnswering(false);
}

void DrillEngine::startTest() {
    if ((m_state != DrillState::Ready && m_state != DrillState::Results) || refuseWithoutBlanks())
        return;
    m_panels.recordList = false;
    m_panels.hintEnabled = !m_hint.empty() && !m_isCopy;
    m_panels.showAnswerVisible = false;
    m_panels.gradeVisible = true;
    StartAnswering(true);
}

void DrillEngine::StartAnswering(bool test) {
    m_correctShown = false;
    m_state = test ? DrillState::Test : DrillState::Practise;
    m_panels.closeVisible = true;
    FirstAnswers.fill(std::nullopt);
    for (int i = 1; i <= m_blanks.BlankCount; ++i) {
        blank(i).BlankStatus = kOpen;
        ShownAnswerWidth[static_cast<std::size_t>(i)] = blank(i).AnswerText;
    }
    m_panels.memoriseLayout = false;
    m_panels.memoriseCommands = false;
    m_panels.runPanel = true;
    m_panels.recordPanel = false;
    m_panels.commandPanel = false;
    showInputPanel();
    if (test) {
        drawMessage(MessageImage::RecordPanel, 0, sjis("すべて解答を入力し終えたら。"), 12, kBlack);
        drawMessage(MessageImage::RecordPanel, 1, sjis("［採点］キーをクリックして採点します。"),
                    12, kBlack);
        m_panels.hintVisible = false;
        m_panels.showAnswerVisible = false;
    } else if (!m_panels.softKeyboard && !m_panels.choiceList && !m_panels.writingPad) {
        drawMessage(MessageImage::RecordPanel, 0, sjis("キーボードから解答を入力し、"), 12, kBlack);
        drawMessage(MessageImage::RecordPanel, 1, sjis("Enterキーを押します。"), 12, kBlack);
    }
    AllCorrect = false;
    PractiseMode = !test;
    ReviewMode = false;
    ElapsedSeconds = 0;
    m_front.timerRunning(true);
    m_front.scrollToTop();
    resetBlanks();
    m_correctCount = 0;
    m_scoreShown = false;
    ClearMessage(m_front.messageCanvas(MessageImage::RunPanel));
    m_front.imagesChanged();
    m_front.renderSheet(false);
    rebuildAlternatives();
    for (int i = 1; i <= m_blanks.BlankCount; ++i) {
        showBox(i, {});
        boxAt(i).readOnly = false;
    }
    WrongCount = 0;
    CurrentBlank = 1;
    MarksText.clear();
    m_panels.answerCommands = true;
    changed();
    focus(1, Caret::End);
}

void DrillEngine::startReview() {
    if (m_state != DrillState::Results || !m_panels.canReview) return;
    int first = -1, count = 0;
    for (int i = 1; i <= m_blanks.BlankCount; ++i) {
        if (blank(i).BlankStatus == kCorrect) continue;
        if (first < 0) first = i;
        ++count;
    }
    if (count == 0) {
        m_panels.canReview = false;
        changed();
        return;
    }
    m_state = DrillState::Review;
    m_correctShown = false;
    setBoxesReadOnly(false);
    m_panels.hintVisible = true;
    m_panels.showAnswerVisible = m_panels.showAnswerEnabled = true;
    m_panels.gradeVisible = false;
    m_panels.recordPanel = false;
    m_panels.runPanel = true;
    showInputPanel();
    m_panels.answerCommands = true;
    AllCorrect = false;
    WrongCount = 0;
    PractiseMode = true;
    m_panels.commandPanel = false;
    m_front.scrollToTop();
    for (int i = 1; i <= m_blanks.BlankCount; ++i) {
        if (blank(i).BlankStatus == kCorrect) continue;
        showBox(i, {});
        boxAt(i).readOnly = false;
        blank(i).BlankStatus = kOpen;
        // An answer seen in the graded run is not help in this one: answered without seeing it
        // again, the blank is right this time, or no review would ever end clean.
        blank(i).AnswerShown = false;
    }
    m_panels.canPrint = m_panels.canShowAnswers = m_panels.canReview = m_panels.canTest = false;
    ReviewMode = true;
    m_scoreShown = false;
    if (m_choices.size() > 1) {
        ShuffleChoices(m_choices, m_random);
        m_front.choicesChanged();
    }
    CurrentBlank = first;
    changed();
    focus(first, Caret::End);
}

void DrillEngine::stopRun() {
    if (!answering()) return;
    m_front.timerRunning(false);
    // Nothing more may be graded in this run: an Enter after the stop would grade and record it.
    setBoxesReadOnly(true);
    ShowResultsPanel();
    m_panels.canShowAnswers = true;
    m_panels.canShowAnswerSheet = false;
    // The grades of an earlier run no longer describe the boxes: a review needs a new grading.
    m_panels.canReview = false;
    drawMessage(MessageImage::RecordPanel, 0, sjis("中止しました。"), 12, kBlack);
    changed();
}

void DrillEngine::ShowResultsPanel() {
    m_state = DrillState::Results;
    m_correctShown = false;
    m_panels.canShowAnswers = m_panels.canShowAnswerSheet = true;
    m_panels.softKeyboard = m_panels.choiceList = m_panels.writingPad = false;
    m_panels.recordList = m_panels.commandPanel = m_panels.recordPanel = true;
    m_panels.canTest = m_panels.canPrint = true;
    m_panels.runPanel = m_panels.answerCommands = false;
    m_panels.memoriseLayout = false;
    m_front.showUnitRecords();
    m_front.scrollToTop();
    changed();
}

void DrillEngine::EndOfRun() {
    if (AllCorrect && !ReviewMode) {
        m_front.showAllCorrect();
        return;
    }
    if (ReviewMode)
        m_front.message(sjis("復習を終わりました"));
    else if (PractiseMode)
        m_front.message(sjis("練習を終わりました"));
    else
        m_front.message(sjis("テストを終わりました"));
    AllCorrect = false;
}

// ---- correct answers and colours --------------------------------------------------------------

void DrillEngine::fillInAnswers() {
    for (int i = 1; i <= m_blanks.BlankCount; ++i) {
        if (blank(i).BlankStatus == kCorrect) continue;
        AnswerBox& b = boxAt(i);
        b.background = AnswerBoxColour;
        b.visible = true;
        b.textColour = kBlack;
        b.readOnly = true;
        setBoxText(i,
                   blank(i).Alternatives.empty() ? std::string() : blank(i).Alternatives.front());
    }
    changed();
}

void DrillEngine::showAllAnswers() {
    if (inRun() || !m_usable) return;
    fillInAnswers();
    m_correctShown = true;
    drawShownStrokeOrder();
}

void DrillEngine::showAnswerSheet() {
    if (inRun()) return;
    m_correctShown = false;
    for (AnswerBox& b : m_boxes) b.visible = false;
    changed();
}

void DrillEngine::chooseColour(int index) {
    if (index < 0 || index > 3) return;
    AnswerBoxColour = AnswerBoxColours()[static_cast<std::size_t>(index)];
    if (inRun() || !m_usable) return;
    fillInAnswers();
    m_correctShown = true;
    drawShownStrokeOrder();
}

// ---- helpers ----------------------------------------------------------------------------------

void DrillEngine::drawMessage(MessageImage image, int line, const std::string& text, double points,
                              Rgb colour) {
    DrawMessageLine(m_front.messageCanvas(image), line, text, points, colour);
    m_front.imagesChanged();
}

void DrillEngine::drawMark(int i, int status, Rgb colour, int count) {
    const BlankFrame frame = m_front.frameOf(i);
    DrawGradingMark(m_front.sheetCanvas(), MarkForStatus(status), frame, 1.0,
                    frame.enlarged.width(), colour, count);
    m_front.imagesChanged();
}

void DrillEngine::setBoxesReadOnly(bool readOnly) {
    for (AnswerBox& b : m_boxes) b.readOnly = readOnly;
}

void DrillEngine::setBoxText(int i, std::string text) {
    AnswerBox& b = boxAt(i);
    b.text = std::move(text);
    b.unusable = 0;
}

void DrillEngine::showBox(int i, const std::string& text) {
    AnswerBox& b = boxAt(i);
    setBoxText(i, text);
    b.visible = true;
    b.textColour = kBlack;
}

bool DrillEngine::boxEmpty(int i) const {
    const AnswerBox& b = box(i);
    return b.text.empty() && b.unusable == 0;
}

int DrillEngine::blanksLeftToReview() const {
    int left = 0;
    for (int i = 1; i <= m_blanks.BlankCount; ++i) left += blank(i).BlankStatus != kCorrect;
    return left;
}

void DrillEngine::focus(int blank, Caret caret) {
    if (blank >= 1 && blank <= m_blanks.BlankCount) m_front.focusBox(blank, caret);
}

void DrillEngine::changed() {
    m_front.boxesChanged();
    m_front.panelsChanged();
}

}  // namespace sulkan
