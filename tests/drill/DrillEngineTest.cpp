// The drill's runs without a window: opening, memorising, practise, test, review, stop, grading,
// score, marks and the record written after a graded run.
#include <gtest/gtest.h>

#include "DrillEngine.h"
#include "FakeFrontEnd.h"
#include "Sjis.h"

namespace sulkan {
namespace {

using Kind = RecordingCanvas::Kind;
using test::FakeFrontEnd;
using test::MemoryRecords;

class DrillEngineTest : public ::testing::Test {
protected:
    // One blank per answer, in order (UTF-8).
    void Sheet(const std::vector<const char*>& answers) {
        table.BlankCount = static_cast<int>(answers.size());
        for (std::size_t i = 0; i < answers.size(); ++i) {
            BlankRecord& b = table.slots[i + 1];
            b.AnswerText = sjis(answers[i]);
            b.left = 100;
            b.top = 50 * static_cast<int>(i + 1);
        }
        setup.answerCount = table.BlankCount;
    }
    void Open() {
        engine.setRecordSink(&records);
        ASSERT_TRUE(engine.open(setup));
    }
    // Types text into the current box and presses Enter there.
    void Answer(const char* utf8) {
        engine.boxEdited(engine.currentBlank(), sjis(utf8));
        engine.enterPressed(engine.currentBlank());
    }

    BlankTable table;
    FakeFrontEnd front;
    SeededRandom random{7};
    DrillSetup setup;
    MemoryRecords records;
    DrillEngine engine{table, front, random, [] { return LocalTime{2003, 10, 15, 14, 5}; }};
};

TEST_F(DrillEngineTest, OpeningPreparesChoicesInputModeAndCommands) {
    Sheet({"山", "川"});
    setup.kgroup = {sjis("川"), "", sjis("山"), sjis("川")};
    Open();
    EXPECT_EQ(engine.state(), DrillState::Ready);
    EXPECT_EQ(engine.choices(), (std::vector<std::string>{sjis("山"), sjis("川")}));
    EXPECT_EQ(engine.inputMode(), InputMode::Choices);
    EXPECT_FALSE(engine.panels().canShowAnswerSheet);
    EXPECT_FALSE(engine.panels().canReview);
    EXPECT_FALSE(engine.box(1).visible);
    EXPECT_NE(FakeFrontEnd::shown(front.mess).find(sjis("標準の学習コース")), std::string::npos);
    // Keys from the choices: the two characters, green, the rest empty.
    EXPECT_TRUE(engine.softKeys().green);
    std::vector<std::string> keys(engine.softKeys().captions.begin() + 1,
                                  engine.softKeys().captions.begin() + 3);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{sjis("山"), sjis("川")}));
    EXPECT_EQ(engine.softKeys().captions[3], "");

    DrillEngine withKeys{table, front, random};
    setup.hasSoftKeyLines = true;
    withKeys.open(setup);
    EXPECT_EQ(withKeys.inputMode(), InputMode::SoftKeyboard);
}

TEST_F(DrillEngineTest, SheetsWithoutBlanksOrWithTooManyAnswersStartNoRun) {
    Sheet({});
    Open();
    engine.startPractice();
    engine.startMemorise();
    EXPECT_EQ(engine.state(), DrillState::Ready);
    EXPECT_TRUE(front.messageShown("このシートには答える問題がありません"));

    Sheet({"山"});
    setup.answerCount = 81;
    EXPECT_FALSE(engine.open(setup));
    EXPECT_FALSE(engine.panels().canPractise);
    engine.startTest();
    EXPECT_EQ(engine.state(), DrillState::Ready);
    EXPECT_EQ(front.messages.back(),
              sjis("解答欄が多すぎるため、このシートでは学習できません（８０個まで）"));
}

TEST_F(DrillEngineTest, PractiseMarksFirstTriesRetriesAndShownAnswers) {
    Sheet({"山", "川", "大;おお", "森"});
    Open();
    engine.startPractice();
    ASSERT_EQ(engine.state(), DrillState::Practise);
    EXPECT_TRUE(front.timer);
    EXPECT_TRUE(engine.panels().answerCommands);
    EXPECT_FALSE(engine.panels().commandPanel);

    Answer("山");  // right at once: one ellipse and praise
    EXPECT_EQ(front.count(Kind::Ellipse), 1);
    EXPECT_NE(FakeFrontEnd::shown(front.messXX).find(sjis("★★")), std::string::npos);
    EXPECT_EQ(engine.currentBlank(), 2);

    Answer("谷");  // wrong: slash, text selected, correction asked, focus stays
    EXPECT_EQ(front.count(Kind::Line), 1);
    EXPECT_EQ(front.focusedBox, 2);
    EXPECT_EQ(front.lastCaret, Caret::SelectAll);
    EXPECT_EQ(FakeFrontEnd::shown(front.messXX), sjis("解答を訂正してください"));
    Answer("川");  // second try: two ellipses, first answer kept
    EXPECT_EQ(front.count(Kind::Ellipse), 3);
    EXPECT_EQ(engine.firstAnswer(2), sjis("谷"));

    engine.showAnswer();  // answer seen before the first try
    EXPECT_EQ(table.slots[3].BlankStatus, blank_status::kNotGraded);
    Answer("　おお　");
    EXPECT_EQ(engine.box(3).textColour, kRed);
    const auto& last = front.sheet.ops.back();
    EXPECT_EQ(last.kind, Kind::Ellipse);
    EXPECT_EQ(last.pen.colour, kBlue);

    Answer("森");  // the last open blank: graded, recorded, results shown
    EXPECT_EQ(engine.state(), DrillState::Results);
    EXPECT_EQ(engine.marksText(), "OxXO");
    EXPECT_EQ(engine.lastScore(), 50);
    EXPECT_FALSE(front.timer);
    EXPECT_TRUE(front.messageShown("練習を終わりました"));
    ASSERT_EQ(records.written.size(), 1u);
    EXPECT_EQ(records.written[0], sjis("2003年10月15日 14:05 OxXO  2/ 4  50点 00:00"));
    EXPECT_EQ(front.renders.back(), true);
    EXPECT_TRUE(engine.panels().canReview);
    EXPECT_EQ(front.focusedButton, DrillButton::Review);
    EXPECT_TRUE(engine.panels().canShowAnswerSheet);
}

TEST_F(DrillEngineTest, PractiseEnterRulesEmptyDiscardAndDigits) {
    Sheet({"１２", "山"});
    Open();
    engine.startPractice();
    Answer("");  // nothing happens
    EXPECT_FALSE(engine.firstAnswer(1).has_value());
    EXPECT_EQ(front.count(Kind::Ellipse) + front.count(Kind::Line), 0);

    // Leaving a typed but unconfirmed box empties it; its first answer counts as empty.
    engine.boxEdited(1, sjis("川"));
    engine.boxFocusLeave(1);
    EXPECT_EQ(engine.box(1).text, "");
    EXPECT_EQ(engine.firstAnswer(1), "");

    Answer(" 12 ");  // half-width digits become full-width and are accepted
    EXPECT_EQ(engine.box(1).text, sjis("１２"));
    EXPECT_EQ(table.slots[1].BlankStatus, blank_status::kCorrect);
    Answer("山");
    EXPECT_EQ(engine.marksText(), "xO");  // the discarded first answer was empty
}

TEST_F(DrillEngineTest, TestRunScoresMascotsAndRefusesAnEmptySheet) {
    Sheet({"一", "二", "三", "四", "五", "六", "七", "八"});
    Open();
    engine.startTest();
    ASSERT_EQ(engine.state(), DrillState::Test);
    EXPECT_FALSE(engine.panels().hintVisible);
    EXPECT_TRUE(engine.panels().gradeVisible);
    engine.grade();  // nothing typed
    EXPECT_EQ(engine.state(), DrillState::Test);
    EXPECT_TRUE(front.messageShown("解答を入力してから採点してください。"));
    EXPECT_TRUE(front.messageShown("採点できません"));
    EXPECT_TRUE(records.written.empty());

    Answer("一");
    for (int i = 2; i <= 8; ++i) Answer("x");
    EXPECT_EQ(front.focusedButton, DrillButton::Grade);
    engine.grade();
    EXPECT_EQ(engine.state(), DrillState::Results);
    EXPECT_EQ(engine.lastScore(), 13);
    EXPECT_EQ(front.mascots.back(), Mascot::Namida);
    EXPECT_TRUE(front.messageShown("テストを終わりました"));
    // Test entries are padded to the answer's length for the result sheet.
    EXPECT_EQ(engine.resultEntries()[2], " x");

    engine.startTest();
    for (int i = 1; i <= 8; ++i) Answer("x");
    engine.grade();
    EXPECT_EQ(front.mascots.back(), Mascot::Gaoh);

    engine.startTest();
    for (const char* a : {"一", "二", "三", "四", "五", "六", "七", "八"}) Answer(a);
    engine.grade();
    EXPECT_EQ(front.allCorrectShown, 1);
    EXPECT_TRUE(engine.allCorrect());
    EXPECT_TRUE(front.mascots.back() == Mascot::Kutta || front.mascots.back() == Mascot::RedHeart);
    EXPECT_EQ(front.focusedButton, DrillButton::Close);
    EXPECT_EQ(records.written.size(), 3u);
}

TEST_F(DrillEngineTest, ReviewReopensOnlyWrongBlanksAndWritesNoRecord) {
    Sheet({"一", "二", "三"});
    setup.kgroup = {sjis("一"), sjis("二"), sjis("三")};
    Open();
    engine.startTest();
    Answer("一");
    Answer("x");
    Answer("三");
    engine.grade();
    ASSERT_EQ(records.written.size(), 1u);

    engine.startReview();
    ASSERT_EQ(engine.state(), DrillState::Review);
    EXPECT_FALSE(engine.box(1).visible);
    EXPECT_TRUE(engine.box(2).visible);
    EXPECT_EQ(engine.box(2).text, "");
    EXPECT_FALSE(engine.box(3).visible);
    EXPECT_EQ(engine.currentBlank(), 2);
    EXPECT_FALSE(engine.panels().canPrint);
    EXPECT_EQ(engine.firstAnswer(2), " x");  // the graded run's answers stay

    Answer("二");
    EXPECT_EQ(engine.state(), DrillState::Results);
    EXPECT_TRUE(front.messageShown("復習を終わりました"));
    EXPECT_EQ(records.written.size(), 1u);
    EXPECT_EQ(front.focusedButton, DrillButton::Close);
}

TEST_F(DrillEngineTest, MemoriseShowsAnswersAndIgnoresTyping) {
    Sheet({"山", "大;おお", "川"});
    setup.hint = {sjis("山は高い")};
    Open();
    engine.startMemorise();
    ASSERT_EQ(engine.state(), DrillState::Memorise);
    EXPECT_TRUE(engine.panels().memoriseCommands);
    EXPECT_EQ(engine.box(1).text, sjis("山"));
    EXPECT_NE(FakeFrontEnd::shown(front.messXX).find(sjis("学習のポイント")), std::string::npos);

    engine.boxEdited(1, sjis("谷"));
    engine.enterPressed(1);
    EXPECT_FALSE(engine.firstAnswer(1).has_value());
    EXPECT_EQ(front.count(Kind::Ellipse) + front.count(Kind::Line), 0);

    engine.keepAndNext();  // the whole answer, alternatives listed
    EXPECT_EQ(engine.box(2).text, sjis("大;おお"));
    EXPECT_EQ(FakeFrontEnd::shown(front.messXX), sjis("別解は") + sjis("おお"));
    engine.eraseAndNext();
    EXPECT_EQ(engine.box(2).text, "");
    engine.eraseAndNext();  // from the last blank back to the first
    EXPECT_EQ(engine.currentBlank(), 1);
    engine.endMemorise();
    EXPECT_EQ(engine.state(), DrillState::Ready);
    EXPECT_EQ(FakeFrontEnd::shown(front.mess), sjis("　次は［練習です］"));
}

TEST_F(DrillEngineTest, OneBlankSheetStaysOnItsBlank) {
    Sheet({"山"});
    Open();
    engine.startMemorise();
    engine.eraseAndNext();
    EXPECT_EQ(engine.currentBlank(), 1);
    EXPECT_EQ(engine.box(1).text, sjis("山"));
}

TEST_F(DrillEngineTest, StopEndsTheRunWithoutGradingAndLocksTheBoxes) {
    Sheet({"山", "川"});
    Open();
    engine.startPractice();
    engine.stopRun();
    EXPECT_EQ(engine.state(), DrillState::Results);
    EXPECT_FALSE(engine.panels().canShowAnswerSheet);
    EXPECT_TRUE(engine.panels().canShowAnswers);
    EXPECT_EQ(FakeFrontEnd::shown(front.mess), sjis("中止しました。"));
    Answer("山");
    EXPECT_FALSE(engine.firstAnswer(1).has_value());
    EXPECT_TRUE(records.written.empty());
    EXPECT_FALSE(front.timer);
}

TEST_F(DrillEngineTest, ColourChoiceShowsAnswersNotGradedCorrect) {
    Sheet({"山", "川"});
    Open();
    engine.startTest();
    Answer("山");
    Answer("谷");
    engine.grade();
    engine.chooseColour(2);
    EXPECT_FALSE(engine.box(1).visible);
    EXPECT_TRUE(engine.box(2).visible);
    EXPECT_TRUE(engine.box(2).readOnly);
    EXPECT_EQ(engine.box(2).text, sjis("川"));
    EXPECT_EQ(engine.box(2).background, (Rgb{255, 255, 192}));
    engine.showAnswerSheet();
    EXPECT_FALSE(engine.box(2).visible);
}

TEST_F(DrillEngineTest, CompareAnswerAlternativesBlanksAndEmptyPieces) {
    Sheet({"大;おお", "森;", "3年"});
    Open();
    engine.startPractice();
    EXPECT_EQ(engine.CompareAnswer(1, sjis("大")), blank_status::kCorrect);
    EXPECT_EQ(engine.CompareAnswer(1, sjis("おお")), blank_status::kCorrect);
    EXPECT_EQ(engine.CompareAnswer(1, sjis("　大　")), blank_status::kCorrect);
    EXPECT_EQ(engine.CompareAnswer(1, sjis("ダイ")), blank_status::kWrong);
    // A trailing ";" leaves an empty alternative that must not accept an empty answer.
    EXPECT_EQ(engine.CompareAnswer(2, ""), blank_status::kWrong);
    EXPECT_EQ(engine.CompareAnswer(2, sjis("森")), blank_status::kCorrect);
    // Half-width digits in the courseware accept the full-width digits Enter makes.
    EXPECT_EQ(engine.CompareAnswer(3, sjis("３年")), blank_status::kCorrect);
    table.slots[1].AnswerShown = true;
    EXPECT_EQ(engine.CompareAnswer(1, sjis("大")), blank_status::kCorrectAfterShown);
}

TEST_F(DrillEngineTest, ScoreRoundsHalvesUp) {
    auto score = [this](int correct, int count) {
        table.BlankCount = count;
        for (int i = 1; i <= count; ++i)
            table.slots[i].BlankStatus =
                i <= correct ? blank_status::kCorrect : blank_status::kWrong;
        return engine.ScorePercent();
    };
    EXPECT_EQ(score(1, 8), 13);
    EXPECT_EQ(score(1, 3), 33);
    EXPECT_EQ(score(2, 3), 67);
    EXPECT_EQ(score(0, 0), 0);
    EXPECT_EQ(score(5, 5), 100);
}

TEST_F(DrillEngineTest, FocusStaysOnTheCurrentBlankUnlessTheOtherIsOpen) {
    Sheet({"山", "川", "森"});
    Open();
    engine.startPractice();
    Answer("山");
    EXPECT_FALSE(engine.boxFocusEnter(1));  // graded: the focus goes back
    EXPECT_EQ(front.focusedBox, 2);
    EXPECT_TRUE(engine.boxFocusEnter(3));
    EXPECT_EQ(engine.currentBlank(), 3);
}

TEST_F(DrillEngineTest, SoftKeysAndChoicesEditOnlyTheCurrentBox) {
    Sheet({"山川", "森"});
    setup.kgroup = {sjis("山川"), sjis("森")};
    setup.keyFile = {sjis("山川森")};
    setup.hasSoftKeyLines = true;
    Open();
    EXPECT_EQ(engine.softKeys().captions[2], sjis("川"));
    engine.startPractice();
    engine.softKeyPressed(1, false);
    engine.softKeyPressed(2, false);
    EXPECT_EQ(engine.box(1).text, sjis("山川"));
    engine.softKeyPressed(3, true);  // selected text is replaced
    EXPECT_EQ(engine.box(1).text, sjis("森"));
    engine.choicePicked(1, false);
    EXPECT_EQ(engine.box(1).text, sjis("森"));
    engine.clearAnswer();
    EXPECT_EQ(engine.box(1).text, "");
    engine.choicePicked(0, false);
    engine.nextBlank();
    EXPECT_EQ(table.slots[1].BlankStatus, blank_status::kCorrect);
    EXPECT_EQ(engine.currentBlank(), 2);
}

TEST_F(DrillEngineTest, TheWritingPadJoinsTheInputModesOnlyWhereItRecognises) {
    Sheet({"山川", "森"});
    setup.preferHandwriting = true;  // kept from an earlier drill, but nothing recognises here
    Open();
    EXPECT_EQ(engine.inputMode(), InputMode::Choices);
    engine.setInputMode(InputMode::Handwriting);
    EXPECT_EQ(engine.inputMode(), InputMode::Choices);
    engine.startPractice();
    engine.switchInputMode();
    EXPECT_TRUE(engine.panels().softKeyboard);
    engine.switchInputMode();
    EXPECT_TRUE(engine.panels().choiceList);
    EXPECT_FALSE(engine.panels().writingPad);

    DrillEngine pad{table, front, random};
    setup.handwriting = true;
    setup.hasSoftKeyLines = true;
    pad.open(setup);
    EXPECT_EQ(pad.inputMode(), InputMode::Handwriting);
    pad.startPractice();
    EXPECT_TRUE(pad.panels().writingPad);
    EXPECT_FALSE(pad.panels().softKeyboard || pad.panels().choiceList);
    // A candidate goes in as a soft key does: appended, or replacing the selected text.
    pad.candidatePicked(sjis("山"), false);
    pad.candidatePicked(sjis("川"), false);
    EXPECT_EQ(pad.box(1).text, sjis("山川"));
    EXPECT_EQ(front.lastCaret, Caret::End);
    pad.candidatePicked(sjis("森"), true);
    EXPECT_EQ(pad.box(1).text, sjis("森"));
    pad.switchInputMode();
    EXPECT_TRUE(pad.panels().choiceList);
    pad.switchInputMode();
    pad.switchInputMode();
    EXPECT_TRUE(pad.panels().writingPad);
    pad.stopRun();
    EXPECT_FALSE(pad.panels().writingPad);
    pad.candidatePicked(sjis("山"), false);  // no run: nothing changes
    EXPECT_EQ(pad.box(1).text, sjis("森"));
}

TEST_F(DrillEngineTest, ARefusedSheetShowsItsOwnRecordsAndNoCourse) {
    Sheet({"山"});
    Open();
    EXPECT_EQ(front.recordShows, 1);
    engine.startTest();
    Answer("山");
    engine.grade();
    ASSERT_EQ(front.recordShows, 2);

    // The next sheet has too many answers: its own records replace the last unit's, and the
    // record panel's image says why nothing can be started instead of showing the last mascot.
    setup.answerCount = 81;
    EXPECT_FALSE(engine.open(setup));
    EXPECT_EQ(front.recordShows, 3);
    const std::string shown = FakeFrontEnd::shown(front.mess);
    EXPECT_NE(shown.find(sjis("このシートでは学習できません")), std::string::npos);
    EXPECT_EQ(shown.find(sjis("標準の学習コース")), std::string::npos);
    EXPECT_FALSE(engine.panels().canMemorise || engine.panels().canPractise ||
                 engine.panels().canTest);
}

TEST_F(DrillEngineTest, AShownAnswerGetsTwoBlueEllipsesAtTheFirstTryToo) {
    Sheet({"山", "川", "森"});
    Open();
    engine.startPractice();
    engine.showAnswer();
    EXPECT_EQ(table.slots[1].BlankStatus, blank_status::kNotGraded);
    Answer("山");
    ASSERT_EQ(front.count(Kind::Ellipse), 2);
    for (const auto& op : front.sheet.ops)
        if (op.kind == Kind::Ellipse) {
            EXPECT_EQ(op.pen.colour, kBlue);
        }
    EXPECT_EQ(table.slots[1].BlankStatus, blank_status::kCorrectAfterShown);
    // Without help the first try still gets one red ellipse.
    Answer("川");
    EXPECT_EQ(front.count(Kind::Ellipse), 3);
    EXPECT_EQ(front.sheet.ops.back().pen.colour, kRed);
}

TEST_F(DrillEngineTest, AReviewAnsweredWithoutHelpEndsClean) {
    Sheet({"山", "川", "森"});
    Open();
    engine.startPractice();
    Answer("山");
    engine.showAnswer();  // blank 2 seen, then answered
    Answer("川");
    Answer("林");  // blank 3 wrong first, then right
    Answer("森");
    ASSERT_EQ(engine.marksText(), "OXx");
    ASSERT_TRUE(engine.panels().canReview);

    engine.startReview();
    ASSERT_EQ(engine.currentBlank(), 2);
    Answer("川");  // the answer seen in the graded run is no help in this one
    EXPECT_EQ(table.slots[2].BlankStatus, blank_status::kCorrect);
    EXPECT_EQ(engine.box(2).textColour, kBlack);
    EXPECT_EQ(front.sheet.ops.back().pen.colour, kRed);
    Answer("木");  // a wrong try corrected in the review
    Answer("森");
    EXPECT_EQ(engine.state(), DrillState::Results);
    EXPECT_TRUE(front.messageShown("復習を終わりました"));
    // Nothing is left to review: no third round is offered.
    EXPECT_FALSE(engine.panels().canReview);
    EXPECT_EQ(front.focusedButton, DrillButton::Close);
    EXPECT_EQ(records.written.size(), 1u);
}

TEST_F(DrillEngineTest, AnAnswerSeenInAReviewIsReviewedAgain) {
    Sheet({"山", "川"});
    Open();
    engine.startTest();
    Answer("山");
    Answer("谷");
    engine.grade();
    engine.startReview();
    engine.showAnswer();
    Answer("川");
    EXPECT_EQ(table.slots[2].BlankStatus, blank_status::kCorrectAfterShown);
    EXPECT_TRUE(engine.panels().canReview);
    EXPECT_EQ(front.focusedButton, DrillButton::Review);
    engine.startReview();
    EXPECT_EQ(engine.state(), DrillState::Review);
    EXPECT_FALSE(table.slots[2].AnswerShown);
    Answer("川");
    EXPECT_FALSE(engine.panels().canReview);
}

TEST_F(DrillEngineTest, DigitsAndDuplicateSpellingsCompareAlikeHoweverTheBoxIsLeft) {
    Sheet({"１２", "", "山", "3"});
    table.slots[2].AnswerText = "\xED\x40";  // one character, also spelled FA 5C
    Open();
    engine.startTest();
    for (const std::string& given : {std::string("12"), sjis(" 12　"), sjis("１２")})
        EXPECT_EQ(engine.CompareAnswer(1, given), blank_status::kCorrect) << given;
    EXPECT_EQ(engine.CompareAnswer(1, "1 2"), blank_status::kWrong);
    EXPECT_EQ(engine.CompareAnswer(2, "\xFA\x5C"), blank_status::kCorrect);
    EXPECT_EQ(engine.CompareAnswer(2, "\xFA\x5D"), blank_status::kWrong);
    EXPECT_EQ(engine.CompareAnswer(4, sjis("３")), blank_status::kCorrect);

    // Typed, then left by clicking the next box, by Enter, and graded without Enter.
    engine.boxEdited(1, "12");
    engine.boxFocusLeave(1);
    ASSERT_TRUE(engine.boxFocusEnter(2));
    engine.boxEdited(2, "\xFA\x5C");
    engine.enterPressed(2);
    engine.boxEdited(3, sjis("山"));
    engine.boxFocusLeave(3);
    ASSERT_TRUE(engine.boxFocusEnter(4));
    engine.boxEdited(4, "3");
    engine.grade();
    EXPECT_EQ(engine.marksText(), "OOOO");
    EXPECT_EQ(engine.lastScore(), 100);

    // In practise the duplicate spelling is right at once as well.
    engine.startPractice();
    Answer("12");
    engine.boxEdited(2, "\xFA\x5C");
    engine.enterPressed(2);
    EXPECT_EQ(table.slots[2].BlankStatus, blank_status::kCorrect);
}

TEST_F(DrillEngineTest, ABoxShowingAnUnusableCharacterIsNeitherGradedNorLeft) {
    Sheet({"川", "山"});
    setup.kgroup = {sjis("山")};
    Open();
    engine.startTest();
    engine.boxEdited(1, sjis("川"));
    engine.boxUnusable(1, 0x1F600);  // the box shows 川 and a character CP932 lacks
    const std::string refusal =
        sjis("答えに使えない文字（U+1F600）が入っています。別の書き方で入力してください");

    engine.grade();
    EXPECT_EQ(engine.state(), DrillState::Test);
    ASSERT_FALSE(front.messages.empty());
    EXPECT_EQ(front.messages.back(), refusal);
    EXPECT_TRUE(records.written.empty());
    EXPECT_EQ(front.focusedBox, 1);

    front.messages.clear();
    engine.enterPressed(1);
    engine.nextBlank();
    engine.softKeyPressed(1, false);
    EXPECT_EQ(front.messages, (std::vector<std::string>{refusal, refusal, refusal}));
    EXPECT_FALSE(engine.firstAnswer(1).has_value());
    EXPECT_EQ(engine.box(1).text, sjis("川"));

    // Clicking the next box leaves no answer behind and brings the learner back.
    engine.boxFocusLeave(1);
    EXPECT_FALSE(engine.boxFocusEnter(2));
    EXPECT_EQ(engine.currentBlank(), 1);
    EXPECT_FALSE(engine.firstAnswer(1).has_value());
    EXPECT_EQ(engine.FirstOpenBlank(), 1);

    // Written otherwise, it is graded as shown; a choice replaces the box as well.
    engine.boxEdited(1, sjis("川"));
    engine.enterPressed(1);
    EXPECT_EQ(engine.currentBlank(), 2);
    engine.boxUnusable(2, 0x20B9F);
    engine.choicePicked(0, false);
    EXPECT_EQ(engine.box(2).unusable, 0u);
    engine.grade();
    EXPECT_EQ(engine.marksText(), "OO");

    // In practise, leaving the box discards it as it discards any unconfirmed answer.
    engine.startPractice();
    engine.boxUnusable(1, 0x1F600);
    engine.boxFocusLeave(1);
    EXPECT_EQ(engine.firstAnswer(1), "");
    EXPECT_EQ(engine.box(1).unusable, 0u);
}

}  // namespace
}  // namespace sulkan
