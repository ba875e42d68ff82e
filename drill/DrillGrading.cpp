// The drill engine's grading: one answer against its alternatives, a whole run graded on the first
// answers, the score, the mascot, the record line, and what follows once every blank is answered.
#include <algorithm>

#include "DrillEngine.h"
#include "GradingMarks.h"
#include "MessageBoard.h"
#include "Sjis.h"

namespace sulkan {

using namespace blank_status;

// ---- grading ----------------------------------------------------------------------------------

int DrillEngine::CompareAnswer(int i, const std::string& answer) const {
    if (!m_boxes[static_cast<std::size_t>(i)].visible) return kNotGraded;
    if (!MatchesAlternative(answer, blank(i).Alternatives)) return kWrong;
    return blank(i).AnswerShown ? kCorrectAfterShown : kCorrect;
}

int DrillEngine::GradeBlank(int i, const std::string& answer) {
    const int r = CompareAnswer(i, answer);
    if (r == kCorrectAfterShown || r == kWrong) {
        ++WrongCount;
        if (!ReviewMode) MarksText += r == kCorrectAfterShown ? "X" : "x";
    } else if (r == kCorrect) {
        if (!ReviewMode) MarksText += "O";
    }
    return r;
}

bool DrillEngine::GradeAll(bool enableCorrectDisplay, bool showScore) {
    int empty = 0;
    for (int i = 1; i <= m_blanks.BlankCount; ++i)
        if (box(i).visible && boxEmpty(i)) ++empty;
    if (!ReviewMode && empty == m_blanks.BlankCount) {
        m_front.message(sjis("解答を入力してから採点してください。"));
        focus(CurrentBlank, Caret::End);
        return false;
    }
    m_front.timerRunning(false);
    m_panels.choiceList = false;
    MarksText.clear();
    m_correctCount = 0;
    WrongCount = 0;
    for (int i = 1; i <= m_blanks.BlankCount; ++i)
        blank(i).BlankStatus =
            GradeBlank(i, FirstAnswers[static_cast<std::size_t>(i)].value_or(std::string()));
    if (enableCorrectDisplay) m_panels.canShowAnswers = true;
    m_panels.canTest = true;
    m_scoreShown = ReviewMode ? false : showScore;
    AllCorrect = WrongCount == 0;
    m_panels.canPrint = true;
    m_panels.softKeyboard = m_panels.writingPad = false;
    m_lastScore = ScorePercent();
    if (!ReviewMode) {
        writeStudyRecord(m_lastScore);
        m_front.recordWritten();
    }
    m_panels.canReview = WrongCount != 0;
    changed();
    return true;
}

int DrillEngine::ScorePercent() {
    const int count = m_blanks.BlankCount;
    if (count < 1) return 0;
    int correct = 0;
    for (int i = 1; i <= count; ++i) correct += blank(i).BlankStatus == kCorrect;
    m_correctCount = correct;
    m_totalCount = count;
    // Halves round up: 1 of 8 is 12.5, which counts as 13.
    return (200 * correct + count) / (2 * count);
}

void DrillEngine::grade() {
    if (m_state != DrillState::Test) return;
    // Graded as it stands, a box would count the text before a character it cannot hold.
    for (int i = 1; i <= m_blanks.BlankCount; ++i)
        if (box(i).visible && refuseUnusable(i)) return;
    gradeRun();
}

void DrillEngine::gradeRun() {
    if (m_state == DrillState::Test)
        for (int i = 1; i <= m_blanks.BlankCount; ++i)
            FirstAnswers[static_cast<std::size_t>(i)] =
                PadLike(boxAt(i).text, ShownAnswerWidth[static_cast<std::size_t>(i)]);
    if (!GradeAll(true, true)) {
        m_front.message(sjis("採点できません"));
        return;
    }
    m_panels.recordMessage = false;
    m_front.scrollToTop();
    for (AnswerBox& b : m_boxes) b.visible = false;
    changed();
    m_front.renderSheet(true);
    EndOfRun();
    ShowResultsPanel();
    m_lastScore = ScorePercent();
    if (!ReviewMode) {
        const int score = m_lastScore;
        Mascot mascot = Mascot::Gaoh;
        if (score >= 100)
            mascot = m_random.below(2) == 0 ? Mascot::Kutta : Mascot::RedHeart;
        else if (score >= 80)
            mascot = m_random.below(2) == 0 ? Mascot::Happy : Mascot::GreenHeart;
        else if (score >= 60)
            mascot = Mascot::Sleep;
        else if (score >= 40)
            mascot = Mascot::Nanda;
        else if (score >= 1)
            mascot = Mascot::Namida;
        m_front.showMascot(mascot);
        m_panels.recordPanel = m_panels.recordMessage = true;
    }
    ReviewMode = false;
    if (AllCorrect) {
        changed();
        m_front.focusButton(DrillButton::Close);
    } else {
        m_panels.canReview = true;
        changed();
        m_front.focusButton(DrillButton::Review);
    }
}

void DrillEngine::writeStudyRecord(int score) {
    if (!m_records) return;
    StudyRun run;
    run.prefix = SimilarPrefix(m_similar);
    run.when = m_clock();
    run.marks = MarksText;
    run.correct = m_correctCount;
    run.total = m_totalCount;
    run.score = score;
    run.elapsedSeconds = ElapsedSeconds;
    const Result<> saved = m_records->append(StudyRecordLine(run));
    if (!saved) m_front.message(saved.problem().message);
}

std::vector<std::string> DrillEngine::resultEntries() const {
    std::vector<std::string> entries(kAnswerBoxes);
    for (int i = 1; i <= m_blanks.BlankCount; ++i)
        entries[static_cast<std::size_t>(i)] =
            FirstAnswers[static_cast<std::size_t>(i)].value_or(std::string());
    return entries;
}

void DrillEngine::afterAnsweredRun() {
    bool more = false;
    if (ReviewMode) {
        m_front.timerRunning(false);
        EndOfRun();
        ReviewMode = false;
        // A wrong try corrected in the review leaves its blank right: another review is offered
        // only for what it would reopen.
        more = blanksLeftToReview() > 0;
    } else {
        gradeRun();
        more = !AllCorrect && WrongCount > 0;
    }
    ShowResultsPanel();
    if (!more) {
        m_front.focusButton(DrillButton::Close);
    } else {
        m_panels.canReview = true;
        changed();
        m_front.focusButton(DrillButton::Review);
    }
}

}  // namespace sulkan
