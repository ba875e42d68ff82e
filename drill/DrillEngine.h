// The drill's runs without a window: memorise, practise, test and review over the blanks of the
// sheet, what Enter does in each, grading, score and marks. The engine keeps the model of the 81
// answer boxes and of the panels; the window mirrors them and reports what the learner does. It
// talks to the window through DrillFrontEnd, so every rule can be tested without a display.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "AnswerFrames.h"
#include "Canvas.h"
#include "DrillRandom.h"
#include "DrillText.h"
#include "GradingMarks.h"
#include "Kanji.h"
#include "SheetState.h"
#include "StudyRecord.h"
#include "TextRoutines.h"

namespace sulkan {

enum class DrillState { Ready, Memorise, Practise, Test, Review, Results };

// The message image of the record panel, and the one of the panel a run works in.
enum class MessageImage { RecordPanel, RunPanel };

enum class Mascot { Gaoh, Namida, Nanda, Sleep, Happy, GreenHeart, Kutta, RedHeart };

// The commands that take the focus when a run ends or every blank is answered.
enum class DrillButton { Close, Review, Grade };

enum class Caret { Start, End, SelectAll };

enum class InputMode { Choices, SoftKeyboard, Handwriting };

inline constexpr int kAnswerBoxes = kMaxBlanks + 1;  // one per blank; box 0 is never shown
inline constexpr Rgb kDefaultBoxColour{192, 255, 255};

// The four answer-box colours the learner chooses from ("解答欄の色").
const std::array<Rgb, 4>& AnswerBoxColours();

struct AnswerBox {
    std::string text;  // CP932
    bool visible = false;
    bool readOnly = true;
    Rgb background = kDefaultBoxColour;
    Rgb textColour = kBlack;
    // The first character the box shows that CP932 cannot hold (0: none). While there is one,
    // text lacks it, so the box is neither graded nor left until the learner writes it otherwise.
    char32_t unusable = 0;
    friend bool operator==(const AnswerBox&, const AnswerBox&) = default;
};

// Which panels and commands the window shows and enables, by what they are for.
struct DrillPanels {
    bool commandPanel = true;   // the commands that start runs, beside the sheet
    bool runPanel = false;      // where a run is worked: input, its commands, its message
    bool recordPanel = true;    // the unit's records and the course text
    bool recordList = true;     // the record lines of the unit
    bool recordMessage = true;  // the record panel's message image
    bool answerCommands = false;
    bool memoriseCommands = false;
    bool choiceList = false;
    bool softKeyboard = false;
    bool writingPad = false;
    // The memorise commands stand where the answer commands do, the run panel's message higher
    // and taller.
    bool memoriseLayout = false;
    bool hintVisible = false, hintEnabled = false;
    bool showAnswerVisible = false, showAnswerEnabled = false;
    bool gradeVisible = false;
    bool closeVisible = true;
    // Enabled commands of the command panel.
    bool canMemorise = true, canPractise = true, canTest = true, canReview = false,
         canShowAnswers = true, canShowAnswerSheet = false, canPrint = true;
    friend bool operator==(const DrillPanels&, const DrillPanels&) = default;
};

// What the window does for the engine.
class DrillFrontEnd {
public:
    virtual ~DrillFrontEnd() = default;
    // The boxes' model changed: show it.
    virtual void boxesChanged() = 0;
    virtual void panelsChanged() = 0;
    virtual void focusBox(int blank, Caret caret) = 0;
    virtual void focusButton(DrillButton button) = 0;
    // Lays the sheet out again onto the sheet image (which refills the blank table's layout
    // fields): plain, or with the learner's entries, red marks and the score. Then the boxes are
    // placed over the blanks.
    virtual void renderSheet(bool result) = 0;
    // The sheet image and the message images, drawn on by the engine; changed() shows them.
    virtual Canvas& sheetCanvas() = 0;
    virtual Canvas& messageCanvas(MessageImage image) = 0;
    virtual void imagesChanged() = 0;
    // The rectangles of a blank at scale 1, and the width of its answer box.
    virtual BlankFrame frameOf(int blank) = 0;
    virtual void message(const std::string& text) = 0;  // a message box, CP932
    virtual void showAllCorrect() = 0;                  // "全問正解です"
    virtual void showMascot(Mascot mascot) = 0;
    virtual void showUnitRecords() = 0;  // the record panel, after opening and every grading
    virtual void recordWritten() = 0;    // unit selection counts again
    virtual void scrollToTop() = 0;
    virtual void timerRunning(bool running) = 0;
    virtual void choicesChanged() = 0;  // the choice list or the soft keys
};

// What the drill is opened on.
struct DrillSetup {
    std::vector<std::string> kgroup;   // "<<kgroup" lines
    bool hasSoftKeyLines = false;      // "<<SoftKeyB" has lines
    std::vector<std::string> keyFile;  // lines of the soft-keyboard file, when one was read
    std::vector<std::string> hint;     // "<<hint" lines of the unit
    bool isCopy = false;               // read from a copy file
    int similar = 0;                   // similar problem number, 0 for the unit itself
    int answerCount = 0;               // answers on the sheet, counted past the table's limit
    bool handwriting = false;          // the writing pad can recognise characters
    bool preferHandwriting = false;    // the learner chose the pad last time
    // The face that draws kanji with numbered strokes, empty when none is installed; whether the
    // learner asked for the stroke order; stroke counts for the pad's check (none: no check).
    std::string strokeOrderFont;
    bool strokeOrder = false;
    const StrokeCounts* strokeCounts = nullptr;
};

class DrillEngine {
public:
    DrillEngine(
        BlankTable& blanks, DrillFrontEnd& frontEnd, RandomSource& random,
        std::function<LocalTime()> clock = [] { return Now(); });

    // The opening steps, after the window laid the sheet out plain. False when the sheet cannot
    // be drilled (more answers than the table holds): nothing of a run can then be started.
    bool open(const DrillSetup& setup);
    // The closing steps; the window restores the main window's options.
    void close();

    // Starting runs and showing the sheet between them.
    void startMemorise();
    void startPractice();
    void startTest();
    // Reopens the blanks the graded run left not right.
    void startReview();
    // The correct answers in the boxes of the blanks not right, in the chosen colour.
    void showAllAnswers();
    // Hides the boxes: the sheet as graded, with the learner's own answers.
    void showAnswerSheet();
    void chooseColour(int index);  // 0..3
    // Memorising: on to the next blank, erasing the shown answer or keeping it; every answer
    // shown or erased at once; back to the sheet.
    void eraseAndNext();
    void keepAndNext();
    void revealAll();
    void eraseAll();
    void endMemorise();
    // Answering: grading a test, the current blank's answer or the unit's hint shown, the run
    // stopped, the next way of entering answers.
    void grade();
    void showAnswer();
    void stopRun();
    void showHint();
    void switchInputMode();
    void setInputMode(InputMode mode);
    // Soft keyboard, choice list and writing pad: selected says whether text is selected in the
    // current box.
    void softKeyPressed(int key, bool selected);
    void nextBlank();    // "次へ": Enter in the current box
    void clearAnswer();  // "クリア"
    void choicePicked(int index, bool selected);
    // A candidate of the writing pad: goes into the current box as a soft key's caption does.
    // strokes: how many strokes the learner wrote for it; a count other than that of the
    // answer's character at that place is pointed out on the run panel's message (the grade is
    // not changed). 0: not from the pad, nothing checked.
    void candidatePicked(const std::string& text, bool selected, int strokes = 0);
    // "筆順": the shown answers of writing blanks also drawn with their stroke order. Ignored
    // without the stroke-order face.
    void setStrokeOrder(bool on);
    bool strokeOrder() const { return m_strokeOrder && !m_strokeOrderFont.empty(); }

    // Events of the answer boxes.
    void boxEdited(int blank, const std::string& text);
    // The box now shows a character CP932 cannot hold (the first one given); its text is left
    // as it was until the learner's next edit that can be held.
    void boxUnusable(int blank, char32_t character);
    void enterPressed(int blank);
    // Focus arrives at a box; false when it must go back to the current blank.
    bool boxFocusEnter(int blank);
    void boxFocusLeave(int blank);
    void boxClicked(int blank);
    void timerTick();

    // Navigation.
    int FirstOpenBlank() const;
    int NextOpenBlank() const;

    // Grading.
    int CompareAnswer(int blank, const std::string& answer) const;
    int GradeBlank(int blank, const std::string& answer);
    bool GradeAll(bool enableCorrectDisplay, bool showScore);
    int ScorePercent();

    // State, for the window and tests.
    DrillState state() const { return m_state; }
    const DrillPanels& panels() const { return m_panels; }
    const AnswerBox& box(int i) const { return m_boxes[static_cast<std::size_t>(i)]; }
    const std::optional<std::string>& firstAnswer(int i) const {
        return FirstAnswers[static_cast<std::size_t>(i)];
    }
    int currentBlank() const { return CurrentBlank; }
    const std::string& marksText() const { return MarksText; }
    bool allCorrect() const { return AllCorrect; }
    bool scoreShown() const { return m_scoreShown; }
    int lastScore() const { return m_lastScore; }
    InputMode inputMode() const { return m_inputMode; }
    const std::vector<std::string>& choices() const { return m_choices; }
    const SoftKeys& softKeys() const { return m_keys; }
    // The learner's entries per blank for the result rendering (index 0 unused).
    std::vector<std::string> resultEntries() const;
    // The record sink graded runs are written to; none means no record is kept.
    void setRecordSink(StudyRecordSink* sink) { m_records = sink; }

private:
    BlankRecord& blank(int i) { return m_blanks.slots[static_cast<std::size_t>(i)]; }
    const BlankRecord& blank(int i) const { return m_blanks.slots[static_cast<std::size_t>(i)]; }
    AnswerBox& boxAt(int i) { return m_boxes[static_cast<std::size_t>(i)]; }
    bool inRun() const;
    bool answering() const;
    bool refuseWithoutBlanks();
    void resetBlanks();
    void rebuildAlternatives();
    void StartAnswering(bool test);
    void ShowResultsPanel();
    void EndOfRun();
    void gradeRun();
    void afterAnsweredRun();
    void fillInAnswers();
    void showAlternatives(int b);
    void memoriseMoveTo(int b, bool wholeAnswer);
    void DrawHint();
    void drawMessage(MessageImage image, int line, const std::string& text, double points,
                     Rgb colour);
    void drawMark(int blank, int status, Rgb colour, int count);
    void writeStudyRecord(int score);
    void setBoxesReadOnly(bool readOnly);
    void setBoxText(int i, std::string text);
    void showBox(int i, const std::string& text);
    bool boxEmpty(int i) const;
    bool refuseUnusable(int i);
    int blanksLeftToReview() const;
    void showInputPanel();
    void appendToCurrent(const std::string& text, bool selected);
    // The stroke order of the answers of the blanks whose correct answers are shown, on the
    // record panel's message.
    void drawShownStrokeOrder();
    void checkStrokeCount(std::size_t charIndex, int strokes);
    void focus(int blank, Caret caret);
    void changed();

    BlankTable& m_blanks;
    DrillFrontEnd& m_front;
    RandomSource& m_random;
    std::function<LocalTime()> m_clock;
    StudyRecordSink* m_records = nullptr;

    DrillState m_state = DrillState::Ready;
    DrillPanels m_panels;
    bool m_usable = false;
    std::array<AnswerBox, kAnswerBoxes> m_boxes{};
    std::array<std::optional<std::string>, kAnswerBoxes> FirstAnswers{};  // none: not answered
    std::array<std::string, kAnswerBoxes> ShownAnswerWidth{};
    int CurrentBlank = 1;
    std::string MarksText;
    int WrongCount = 0;
    int ElapsedSeconds = 0;
    bool AllCorrect = false;
    bool PractiseMode = false;
    bool ReviewMode = false;
    Rgb AnswerBoxColour = kDefaultBoxColour;
    InputMode m_inputMode = InputMode::Choices;
    bool m_handwriting = false;
    std::string m_strokeOrderFont;
    bool m_strokeOrder = false;
    const StrokeCounts* m_strokeCounts = nullptr;

    bool m_scoreShown = false;
    // The correct answers of "正解表示" are on show (between runs): 筆順 then redraws at once.
    bool m_correctShown = false;
    int m_lastScore = 0;
    int m_correctCount = 0, m_totalCount = 0;
    bool m_isCopy = false;
    int m_similar = 0;
    std::vector<std::string> m_choices;
    SoftKeys m_keys;
    std::vector<std::string> m_hint;
};

}  // namespace sulkan
