// The drill engine's answer entry: what the learner types, picks and clicks in the boxes, Enter
// graded blank by blank in practice and kept as given in a test, the moves between blanks, the
// shown answer and hint, and the ways of entering answers.
#include <algorithm>

#include "DrillEngine.h"
#include "GradingMarks.h"
#include "MessageBoard.h"
#include "Sjis.h"

namespace sulkan {

using namespace blank_status;

// ---- answer entry -----------------------------------------------------------------------------

void DrillEngine::boxEdited(int i, const std::string& text) {
    if (i < 1 || i >= kAnswerBoxes) return;
    setBoxText(i, text);
}

void DrillEngine::boxUnusable(int i, char32_t character) {
    if (i < 1 || i >= kAnswerBoxes) return;
    boxAt(i).unusable = character;
}

bool DrillEngine::refuseUnusable(int i) {
    const char32_t c = boxAt(i).unusable;
    if (c == 0) return false;
    m_front.message(UnusableCharacterMessage(c));
    CurrentBlank = i;
    focus(i, Caret::End);
    return true;
}

void DrillEngine::enterPressed(int i) {
    if (i != CurrentBlank || i < 1 || i > m_blanks.BlankCount) return;
    AnswerBox& box = boxAt(i);
    // Read-only boxes (memorising, correct answers shown) and boxes after a stop take no answer.
    if (box.readOnly || !answering()) return;
    if (refuseUnusable(i)) return;
    const std::string text = EnteredAnswer(box.text);
    box.text = text;
    std::optional<std::string>& first = FirstAnswers[static_cast<std::size_t>(i)];
    if (m_state == DrillState::Test) {
        first = text;
        changed();
        if (FirstOpenBlank() == 0) {
            m_front.focusButton(DrillButton::Grade);
        } else if (const int next = NextOpenBlank(); next != 0) {
            CurrentBlank = next;
            focus(next, Caret::End);
        }
        return;
    }
    if (text.empty()) {
        changed();
        return;
    }
    int attempt = 2;
    if (!first) {
        first = text;
        attempt = 1;
    }
    const int status = GradeBlank(i, text);
    blank(i).BlankStatus = status;
    if (status != kWrong) {
        Rgb colour = kRed;
        int ellipses = attempt;
        if (blank(i).AnswerShown) {
            // Two blue ellipses however many tries it took: help was needed.
            box.textColour = kRed;
            colour = kBlue;
            ellipses = 2;
        } else {
            const auto& words = PraiseWords();
            const std::string& word =
                words[static_cast<std::size_t>(m_random.below(static_cast<int>(words.size())))];
            drawMessage(MessageImage::RunPanel, 0, sjis("★★") + word + sjis("★★"), 18, kRed);
        }
        drawMark(i, kCorrect, colour, ellipses);
        changed();
        const int next = NextOpenBlank();
        if (FirstOpenBlank() != 0) {
            if (next != 0) {
                CurrentBlank = next;
                focus(next, Caret::End);
            }
            return;
        }
        afterAnsweredRun();
        return;
    }
    drawMark(i, kWrong, kRed, 1);
    changed();
    focus(i, Caret::SelectAll);
    drawMessage(MessageImage::RunPanel, 0, sjis("解答を訂正してください"), 14, kMessageBlue);
}

bool DrillEngine::boxFocusEnter(int j) {
    if (j < 1 || j > m_blanks.BlankCount) return false;
    if (!inRun()) return true;
    // Leaving a box whose text cannot be held would keep an answer the box does not show.
    if (j != CurrentBlank && answering() && refuseUnusable(CurrentBlank)) return false;
    if (blank(j).BlankStatus == kOpen) {
        CurrentBlank = j;
        return true;
    }
    focus(CurrentBlank, Caret::End);
    return false;
}

void DrillEngine::boxFocusLeave(int j) {
    if (j < 1 || j > m_blanks.BlankCount || !answering()) return;
    std::optional<std::string>& first = FirstAnswers[static_cast<std::size_t>(j)];
    const AnswerBox& box = boxAt(j);
    if (first || boxEmpty(j) || box.readOnly) return;
    if (PractiseMode) {
        setBoxText(j, {});
        first = std::string();
        changed();
    } else if (!box.unusable) {
        // A box that cannot be held keeps no answer: entering another box refuses the move.
        first = box.text;
    }
}

void DrillEngine::boxClicked(int j) {
    if (PractiseMode && answering()) boxFocusEnter(j);
}

void DrillEngine::timerTick() {
    ++ElapsedSeconds;
}

void DrillEngine::softKeyPressed(int key, bool selected) {
    if (key < 1 || key > kSoftKeyCount) return;
    appendToCurrent(m_keys.captions[static_cast<std::size_t>(key)], selected);
}

void DrillEngine::candidatePicked(const std::string& text, bool selected, int strokes) {
    if (!answering() || boxAt(CurrentBlank).readOnly) return;
    const std::string before = boxAt(CurrentBlank).text;
    appendToCurrent(text, selected);
    // Where the character went: after the text the box held, or first when it replaced it.
    if (strokes > 0 && boxAt(CurrentBlank).text != before)
        checkStrokeCount(selected ? 0 : CharCount(before), strokes);
}

void DrillEngine::appendToCurrent(const std::string& text, bool selected) {
    if (!answering()) return;
    AnswerBox& box = boxAt(CurrentBlank);
    if (box.readOnly) return;
    // Added to what the engine holds, the key would drop the character the box shows and the
    // engine cannot hold; the learner writes that one otherwise first.
    if (!selected && refuseUnusable(CurrentBlank)) return;
    setBoxText(CurrentBlank, selected ? text : box.text + text);
    changed();
    focus(CurrentBlank, Caret::End);
}

void DrillEngine::nextBlank() {
    if (!answering()) return;
    enterPressed(CurrentBlank);
}

void DrillEngine::clearAnswer() {
    if (!answering()) return;
    if (!boxAt(CurrentBlank).readOnly) setBoxText(CurrentBlank, {});
    changed();
    focus(CurrentBlank, Caret::End);
}

void DrillEngine::choicePicked(int index, bool selected) {
    if (!answering() || index < 0 || index >= static_cast<int>(m_choices.size())) return;
    AnswerBox& box = boxAt(CurrentBlank);
    if (box.readOnly) return;
    // The entry replaces the box text whether or not it was selected.
    (void)selected;
    setBoxText(CurrentBlank, m_choices[static_cast<std::size_t>(index)]);
    changed();
    focus(CurrentBlank, Caret::End);
}

void DrillEngine::showAnswer() {
    if (m_state != DrillState::Practise && m_state != DrillState::Review) return;
    Canvas& canvas = m_front.messageCanvas(MessageImage::RunPanel);
    DrawMessageLine(canvas, 0, sjis("正解は"), 18, kBlack);
    const std::vector<std::string>& alternatives = blank(CurrentBlank).Alternatives;
    for (std::size_t k = 0; k < alternatives.size(); ++k)
        DrawMessageLine(canvas, static_cast<int>(k) + 2, alternatives[k], 18, kBlack);
    if (strokeOrder()) {
        double top = kMessageLinePitch * (static_cast<double>(alternatives.size()) + 2) + 4;
        for (const std::string& a : alternatives)
            if (HasKanji(a)) top = DrawStrokeOrder(canvas, top, a, m_strokeOrderFont);
    }
    m_front.imagesChanged();
    blank(CurrentBlank).BlankStatus = kNotGraded;
    blank(CurrentBlank).AnswerShown = true;
    focus(CurrentBlank, Caret::End);
}

void DrillEngine::showHint() {
    if (m_state != DrillState::Practise && m_state != DrillState::Review) return;
    DrawHint();
}

void DrillEngine::DrawHint() {
    if (DrawHintText(m_front.messageCanvas(MessageImage::RunPanel), m_hint))
        m_front.imagesChanged();
    focus(CurrentBlank, Caret::End);
}

void DrillEngine::switchInputMode() {
    if (!answering()) return;
    // List, keyboard, pad, and round again; the pad only where it can recognise.
    switch (m_inputMode) {
        case InputMode::Choices:
            m_inputMode = InputMode::SoftKeyboard;
            break;
        case InputMode::SoftKeyboard:
            m_inputMode = m_handwriting ? InputMode::Handwriting : InputMode::Choices;
            break;
        case InputMode::Handwriting:
            m_inputMode = InputMode::Choices;
            break;
    }
    showInputPanel();
    changed();
    focus(CurrentBlank, Caret::End);
}

void DrillEngine::setInputMode(InputMode mode) {
    if (mode == InputMode::Handwriting && !m_handwriting) return;
    m_inputMode = mode;
}

void DrillEngine::showInputPanel() {
    m_panels.softKeyboard = m_inputMode == InputMode::SoftKeyboard;
    m_panels.choiceList = m_inputMode == InputMode::Choices;
    m_panels.writingPad = m_inputMode == InputMode::Handwriting;
}

// ---- navigation -------------------------------------------------------------------------------

int DrillEngine::FirstOpenBlank() const {
    for (int i = 1; i <= m_blanks.BlankCount; ++i)
        if ((box(i).visible && boxEmpty(i)) || !FirstAnswers[static_cast<std::size_t>(i)]) return i;
    return 0;
}

int DrillEngine::NextOpenBlank() const {
    auto open = [this](int i) {
        return (box(i).visible && boxEmpty(i)) || blank(i).BlankStatus == kOpen;
    };
    for (int i = CurrentBlank + 1; i <= m_blanks.BlankCount; ++i)
        if (open(i)) return i;
    for (int i = 1; i < CurrentBlank && i <= m_blanks.BlankCount; ++i)
        if (open(i)) return i;
    return 0;
}

}  // namespace sulkan
