// The question editor: its text rules, and the window writing units into real question files.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "EditorPreview.h"
#include "LineFile.h"
#include "Prompter.h"
#include "QtText.h"
#include "QuestionEditing.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmEditQues.h"
#include "TfrmEditSource.h"

namespace sulkan {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::Sjis;

TEST(QuestionEditingTest, ChoicesAreRebuiltFromAlternativesAndFiltered) {
    const std::vector<std::string> answers = Sjis({"a;b;c", "１２", "１２本", "x", "ア", "Ｇ"});
    EXPECT_EQ(RebuildChoices(answers, false, false),
              Sjis({"a ", "b ", "c", "１２", "１２本", "x", "ア", "Ｇ"}));
    // Digits: full-width digits only and one-byte lines go; digits before a kanji stay.
    EXPECT_EQ(RebuildChoices(answers, true, false), Sjis({"a ", "b ", "１２本", "ア", "Ｇ"}));
    // Symbols: a choice letter alone goes, a letter not in the list stays.
    EXPECT_EQ(RebuildChoices(answers, false, true),
              Sjis({"a ", "b ", "c", "１２", "１２本", "x", "Ｇ"}));
}

TEST(QuestionEditingTest, ADistractorEqualToANonLastAlternativeIsStillAdded) {
    std::vector<std::string> kgroup = RebuildChoices(Sjis({"山;川"}), false, false);
    MergeDistractors(kgroup, Sjis({"山", "", "川", "海", "海"}));
    // "山 " carries its blank, so "山" is new; "川" is there already; "海" once.
    EXPECT_EQ(kgroup, Sjis({"山 ", "川", "山", "海"}));
    const ChoiceCounts counts = CountChoices(kgroup);
    EXPECT_EQ(counts.lines, 4);
    EXPECT_EQ(counts.characters, 1 + 1 + 1 + 1);  // 3 bytes halved is 1
}

TEST(QuestionEditingTest, FiguresStopAtFifteenAndSitBesideTheirTextPieces) {
    std::vector<std::string> triples;
    for (int i = 0; i < 14; ++i) triples.insert(triples.end(), {"f.BMP", "100", "200"});
    const std::vector<TextPieceStart> pieces(20, {300, 400});
    std::vector<TextPieceStart> numbered = pieces;
    numbered[14] = {7, 9};  // piece 15: the 15th question figure's
    EXPECT_EQ(AddFigures(triples, {"a.BMP", "b.BMP", "c.BMP"}, numbered, false), 2);
    ASSERT_EQ(triples.size(), 45u);
    EXPECT_EQ((std::vector<std::string>(triples.end() - 3, triples.end())),
              (std::vector<std::string>{"a.BMP", "47", "29"}));
    EXPECT_EQ(FigureLimitText(), sjis("グラフは15個までです"));

    // The first answer figure takes piece 0, which never exists; a piece never drawn counts 0, 0.
    std::vector<std::string> answer;
    EXPECT_EQ(AddFigures(answer, {"a.BMP", "b.BMP"}, {{10, 20}}, true), 0);
    EXPECT_EQ(answer, (std::vector<std::string>{"a.BMP", "40", "20", "b.BMP", "50", "40"}));
}

TEST(QuestionEditingTest, NumberingTwiceNumbersTwice) {
    const auto once = NumberQuestionLines(Sjis({"見出し", "#山#", "#川#"}));
    EXPECT_EQ(once, Sjis({"見出し", "（1）#山#", "（2）#川#"}));
    EXPECT_EQ(NumberQuestionLines(once)[1], sjis("（1）（1）#山#"));
    EXPECT_EQ(NumberQuestionLines(Sjis({"一行"})), Sjis({"一行"}));
}

TEST(QuestionEditingTest, AQuestionLineThatIsALaterUnitsHeaderIsRefused) {
    const std::string file =
        JoinLines({"[[unit1", "<<ques", "a", ">>", "]]", "[[unit2", "<<ques", "b", ">>", "]]"});
    UnitBlocks blocks;
    blocks.ques = {"[[unit2", "c"};
    // Written, "[[unit2" would be found first and unit 2 read from inside unit 1.
    const UnitSplice refused = SpliceUnit(file, "[[unit1", blocks);
    ASSERT_TRUE(refused.problem);
    EXPECT_NE(refused.problem->message.find("[[unit2"), std::string::npos);
    EXPECT_TRUE(refused.bytes.empty());
    // The header of an earlier unit is found before the line: unit 2 may hold it.
    blocks.ques = {"[[unit1", "c"};
    const UnitSplice done = SpliceUnit(file, "[[unit2", blocks);
    ASSERT_FALSE(done.problem);
    const auto lines = SplitLines(done.bytes);
    EXPECT_EQ(LocateUnit(lines, "[[unit1"), 0u);
    EXPECT_EQ(ReadUnit(lines, 5).ques, blocks.ques);
}

TEST(QuestionEditingTest, AFullWidthMarkWithoutAnAnswerIsPointedOut) {
    // Typed through an input method in kana mode, the marks come out full-width.
    const std::string notice = FullWidthMarkNotice(Sjis({"ふつう", "たかい＃山＃にのぼる"}));
    EXPECT_EQ(notice.rfind(sjis("2 行目"), 0), 0u);
    // A line with real marks uses "＃" as a sign; "＝馬" holds the bytes 81 94 across two
    // characters, which is no "＃".
    EXPECT_EQ(FullWidthMarkNotice(Sjis({"＃は#シャープ#", "＝馬"})), "");
}

TEST(EditorPreviewTest, SheetsGoWhereTheyShowLargerAndAreNeverEnlarged) {
    const QSize a4(630, 891);
    // A tall, narrow pane: one above the other, each under its caption.
    PreviewPlacement tall = PlacePreviewSheets({400, 1000}, a4, 20, 8);
    EXPECT_FALSE(tall.sideBySide);
    EXPECT_EQ(tall.question.size(), tall.answer.size());
    EXPECT_EQ(tall.question.top(), 20);
    EXPECT_EQ(tall.answer.top(), tall.question.bottom() + 1 + 8 + 20);
    EXPECT_LE(tall.answer.bottom(), 999);
    EXPECT_LE(tall.question.width(), 400);
    // A wide pane: side by side, both inside it.
    PreviewPlacement wide = PlacePreviewSheets({900, 500}, a4, 20, 8);
    EXPECT_TRUE(wide.sideBySide);
    EXPECT_EQ(wide.answer.left(), wide.question.right() + 1 + 8);
    EXPECT_LE(wide.answer.right(), 899);
    EXPECT_LE(wide.answer.bottom(), 499);
    // Room for more than the sheet: its own size.
    EXPECT_EQ(PlacePreviewSheets({3000, 3000}, a4, 20, 8).question.size(), a4);
    EXPECT_TRUE(PlacePreviewSheets({10, 10}, a4, 20, 8).question.isEmpty());
}

// ---- The window on a question file in a temporary course ----

const std::string kNecBecause = "\x87\x9A";  // "∵" in NEC row 13; re-encodes to 0x81E6

class TfrmEditQuesTest : public ::testing::Test {
protected:
    TfrmEditQuesTest() {
        course.LessonFolders[1] = "kan1\\";
        course.LessonBaseNames[1] = "kan1";
        request.programFolder = dir.folder();
        request.course = &course;
        request.address = {1, 1, 2, 0};
        editor.RecountMarksHook = [this] { ++recounts; };
    }

    std::filesystem::path file() const { return dir.path() / "kan1" / "kan11.que"; }

    // Opens the editor; during its modal loop act() runs, then the window is closed with Cancel
    // if it is still open.
    int run(const std::function<void()>& act) {
        QTimer::singleShot(0, [&] {
            act();
            if (editor.isVisible()) {
                stayedOpen = true;
                editor.btnCancel->click();
            }
        });
        return editor.showFor(request);
    }

    test::TempDir dir;
    CourseTables course;
    QuesEditRequest request;
    ScriptedPrompter prompter;
    TfrmEditQues editor{prompter};
    int recounts = 0;
    bool stayedOpen = false;
};

// Unit 1 with a duplicate spelling and a lone LF, unit 2 with its hint first.
std::string SampleFile() {
    return sjis("[[unit1\r\n<<ques\r\n") + kNecBecause + sjis("#山#\n>>\r\n]]\r\n") +
           sjis("[[unit2\r\n<<hint\r\nよく見て\r\n>>\r\n<<ques\r\n") + kNecBecause +
           sjis("の#川#\r\n>>\r\n<<dummy\r\n>>\r\n]]\r\n") + sjis("[[unit3\r\n]]\r\n");
}

TEST_F(TfrmEditQuesTest, OkWithoutChangesRewritesTheUnitInOrderAndKeepsEveryOtherByte) {
    test::WriteRawFile(file(), SampleFile());
    EXPECT_EQ(run([&] {
                  EXPECT_EQ(editor.lstKai->count(), 1);
                  EXPECT_FALSE(editor.modified());
                  editor.btnOk->click();
              }),
              QDialog::Accepted);
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(recounts, 1);
    const std::string unit2 = sjis("[[unit2\r\n<<ques\r\n") + kNecBecause +
                              sjis("の#川#\r\n>>\r\n<<kgroup\r\n川\r\n>>\r\n<<dummy\r\n>>\r\n") +
                              sjis("<<hint\r\nよく見て\r\n>>\r\n]]\r\n");
    EXPECT_EQ(test::ReadRawFile(file()), sjis("[[unit1\r\n<<ques\r\n") + kNecBecause +
                                             sjis("#山#\n>>\r\n]]\r\n") + unit2 +
                                             sjis("[[unit3\r\n]]\r\n"));
}

TEST_F(TfrmEditQuesTest, EnterInAFieldPressesNoButtonAndSavesNothing) {
    const std::string original = SampleFile();
    test::WriteRawFile(file(), original);
    EXPECT_EQ(run([&] {
                  for (QWidget* field : std::initializer_list<QWidget*>{
                           editor.edtSoftKeyB, editor.edtFileName, editor.MemQues}) {
                      field->setFocus();
                      QTest::keyClick(field, Qt::Key_Return);
                      EXPECT_TRUE(editor.isVisible()) << field->objectName().toStdString();
                  }
                  // The fields that show where the unit lies take no typing.
                  QTest::keyClicks(editor.edtFileName, u"x"_s);
                  QTest::keyClicks(editor.edtLesson, u"x"_s);
                  EXPECT_EQ(editor.edtLesson->text(), u"1 1 2"_s);
                  EXPECT_FALSE(editor.edtFileName->text().contains(u'x'));
              }),
              QDialog::Rejected);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(test::ReadRawFile(file()), original);
}

TEST_F(TfrmEditQuesTest, ANewUnitIsAppendedFromTheDefaults) {
    test::WriteRawFile(file(), sjis("[[unit1\r\n]]\r\n"));
    request.address = {1, 1, 4, 1};
    request.newUnit = true;
    EXPECT_EQ(run([&] {
                  EXPECT_FALSE(editor.btnEditDirect->isEnabled());
                  EXPECT_EQ(editor.edtLesson->text(), u"1 1 4R1"_s);
                  EXPECT_EQ(editor.edtTangen->text(), u"新規"_s);
                  editor.btnOk->click();
              }),
              QDialog::Accepted);
    std::vector<std::string> expected =
        Sjis({"[[unit1", "]]", "[[unit4R1", "<<ques", "１．次の各空欄に適語を入れなさい。",
              "例　日本の首都は　#　東京　#　です", ">>", "<<dummy", ">>"});
    for (const std::string& line : DefaultLayoutLines()) expected.push_back(line);
    // The regenerated choice stays; no hint and no soft keyboard were given.
    for (const char* line : {"<<kgroup", "東京", ">>", "]]"}) expected.push_back(sjis(line));
    EXPECT_EQ(test::ReadRawFile(file()), JoinLines(expected));
}

TEST_F(TfrmEditQuesTest, AnUnencodableCharacterIsRefusedWithTheCaretOnIt) {
    test::WriteRawFile(file(), SampleFile());
    run([&] {
        QTextCursor end = editor.memHint->textCursor();
        end.movePosition(QTextCursor::End);
        end.insertText(u"\n花😀"_s);
        editor.btnOk->click();
        EXPECT_EQ(editor.memHint->textCursor().position(), 4 + 1 + 1);  // "よく見て\n花"
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompter.shown.size(), 1u);
    // Once, naming the field.
    EXPECT_EQ(prompter.shown[0].rfind(sjis("ヒントブロック 2 行目"), 0), 0u);
    EXPECT_EQ(test::ReadRawFile(file()), SampleFile());
}

TEST_F(TfrmEditQuesTest, TheCloseBoxAsksAndARefusedSaveKeepsTheWindowOpen) {
    test::WriteRawFile(file(), SampleFile());
    prompter.answers = {Answer::Yes, Answer::No};
    run([&] {
        editor.MemQues->setPlainText(u"答えのない行"_s);
        editor.close();
        // The check refused: still open, the text still there.
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.MemQues->toPlainText(), u"答えのない行"_s);
        editor.close();  // No: closes without saving
        EXPECT_FALSE(editor.isVisible());
    });
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(prompter.shown,
              (std::vector<std::string>{sjis("変更されたデータファイルを保存しますか？"),
                                        sjis("解答欄がありません"),
                                        sjis("変更されたデータファイルを保存しますか？")}));
    EXPECT_EQ(test::ReadRawFile(file()), SampleFile());
}

TEST_F(TfrmEditQuesTest, DirectEditSavesTheFileAndReloadsTheFields) {
    test::WriteRawFile(file(), SampleFile());
    QSignalSpy help(&editor, &TfrmEditQues::helpRequested);
    run([&] {
        editor.MemQues->setPlainText(u"#捨てられる#"_s);
        QTimer::singleShot(0, [&] {
            TfrmEditSource* source = editor.frmEditSource;
            EXPECT_EQ(source->memEditBuffer->toPlainText().count(u'\n'), 16);
            QString text = source->memEditBuffer->toPlainText();
            text.replace(u"よく見て"_s, u"よく読んで"_s);
            source->memEditBuffer->setPlainText(text);
            source->btnHelp->click();
            source->btnOk->click();
        });
        editor.btnEditDirect->click();
        EXPECT_EQ(editor.memHint->toPlainText(), u"よく読んで"_s);
        EXPECT_EQ(editor.MemQues->toPlainText(), u"∵の#川#"_s);
        EXPECT_FALSE(editor.modified());
    });
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help[0][0].toInt(), 720);
    std::string expected = SampleFile();
    expected.replace(expected.find(sjis("よく見て")), sjis("よく見て").size(), sjis("よく読んで"));
    // Written as lines: the lone LF becomes CR LF; unedited lines keep their spelling.
    expected.replace(expected.find("#\n>>"), 4, "#\r\n>>");
    EXPECT_EQ(test::ReadRawFile(file()), expected);
}

TEST_F(TfrmEditQuesTest, AFailedSaveNamesTheFileAndKeepsTheEditorOpen) {
    // A folder where the question file should be: nothing to read, and no file can replace it.
    std::filesystem::create_directories(file());
    run([&] {
        editor.btnOk->click();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.MemQues->document()->blockCount(), 2);  // the new unit's lines
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("kan11.que"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(file()));
}

TEST_F(TfrmEditQuesTest, AFailedDirectEditSaveBringsTheSourceEditorBackWithTheText) {
    test::WriteRawFile(file(), SampleFile());
    bool reopened = false;
    QString reopenedWith;
    run([&] {
        QTimer::singleShot(0, [&] {
            TfrmEditSource* source = editor.frmEditSource;
            QString text = source->memEditBuffer->toPlainText();
            source->memEditBuffer->setPlainText(text.replace(u"よく見て"_s, u"よく読んで"_s));
            // The file becomes a folder: no file can be written in its place.
            std::filesystem::remove(file());
            std::filesystem::create_directories(file());
            QTimer::singleShot(0, [&, source] {
                reopened = source->isVisible();
                reopenedWith = source->memEditBuffer->toPlainText();
                std::filesystem::remove(file());
                QTest::mouseClick(source->btnOk, Qt::LeftButton);
            });
            QTest::mouseClick(source->btnOk, Qt::LeftButton);
        });
        QTest::mouseClick(editor.btnEditDirect, Qt::LeftButton);
        EXPECT_FALSE(editor.frmEditSource->isVisible());
        EXPECT_EQ(editor.memHint->toPlainText(), u"よく読んで"_s);
    });
    EXPECT_TRUE(reopened);
    EXPECT_TRUE(reopenedWith.contains(u"よく読んで"_s));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find(file().filename().string()), std::string::npos);
    EXPECT_EQ(prompter.shown[0].find('\\'), std::string::npos) << "one separator style";
    ASSERT_TRUE(std::filesystem::is_regular_file(file()));
    EXPECT_NE(test::ReadRawFile(file()).find(sjis("よく読んで")), std::string::npos);
}

TEST(TfrmEditQuesOwnerTest, DirectEditOpensAtTheSizeOfTheEditorsOwner) {
    test::TempDir dir;
    CourseTables course;
    course.LessonFolders[1] = "kan1\\";
    course.LessonBaseNames[1] = "kan1";
    test::WriteRawFile(dir.path() / "kan1" / "kan11.que", SampleFile());
    QuesEditRequest request;
    request.programFolder = dir.folder();
    request.course = &course;
    request.address = {1, 1, 2, 0};
    QWidget owner;
    owner.resize(1100, 700);
    ScriptedPrompter prompter;
    TfrmEditQues editor{prompter, &owner};
    QSize sourceSize;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            sourceSize = editor.frmEditSource->size();
            editor.frmEditSource->reject();
        });
        editor.btnEditDirect->click();
        editor.btnCancel->click();
    });
    editor.showFor(request);
    EXPECT_EQ(editor.size(), owner.size());
    EXPECT_EQ(sourceSize, owner.size());
}

TEST_F(TfrmEditQuesTest, ChoicesRebuiltOnOkKeepTheAnswersOwnBytes) {
    // 纊 written with its NEC code ED 40; its standard code is FA 5C.
    const std::string necKou = "\xED\x40", ibmKou = "\xFA\x5C";
    test::WriteRawFile(file(), sjis("[[unit2\r\n<<ques\r\n#") + necKou +
                                   sjis("#\r\n>>\r\n<<dummy\r\n") + ibmKou +
                                   sjis("\r\n海\r\n>>\r\n]]\r\n"));
    run([&] {
        editor.memKgroup->setPlainText(u"古い選択肢"_s);
        editor.btnOk->click();
    });
    EXPECT_FALSE(stayedOpen);
    const std::string written = test::ReadRawFile(file());
    // The answer's spelling is the choice; the distractor with the other code is no second one.
    EXPECT_NE(written.find("<<kgroup\r\n" + necKou + "\r\n" + sjis("海") + "\r\n>>"),
              std::string::npos)
        << written;
    EXPECT_EQ(written.find("<<kgroup\r\n" + ibmKou), std::string::npos);
}

TEST_F(TfrmEditQuesTest, AnUnencodableDistractorIsToldOnceNamingItsField) {
    test::WriteRawFile(file(), SampleFile());
    run([&] {
        editor.memDummy->setPlainText(u"海\n😀"_s);
        editor.btnOk->click();
        EXPECT_EQ(editor.memDummy->textCursor().blockNumber(), 1);
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].rfind(sjis("ダミーの解答 2 行目"), 0), 0u) << prompter.shown[0];
    EXPECT_EQ(test::ReadRawFile(file()), SampleFile());
}

TEST_F(TfrmEditQuesTest, MarkupIsOneUndoStepAndNeedsASelection) {
    test::WriteRawFile(file(), SampleFile());
    run([&] {
        editor.BitBtn1->click();
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0], sjis("囲む範囲を選択してください"));
        QTextCursor word(editor.MemQues->document());
        word.setPosition(1);
        word.setPosition(2, QTextCursor::KeepAnchor);  // "の"
        editor.MemQues->setTextCursor(word);
        editor.btnKai->click();
        EXPECT_EQ(editor.MemQues->toPlainText(), u"∵ # の # #川#"_s);
        EXPECT_EQ(editor.lstKai->count(), 2);
        editor.MemQues->undo();
        EXPECT_EQ(editor.MemQues->toPlainText(), u"∵の#川#"_s);
    });
}

TEST_F(TfrmEditQuesTest, FitsA1366By768ScreenWithEveryControlWhole) {
    // 768 lines less a taskbar and a title bar.
    const QSize room(1366, 768 - 40 - 30);
    const QSize least = editor.minimumSizeHint();
    EXPECT_LE(least.width(), room.width());
    EXPECT_LE(least.height(), room.height());
    test::WriteRawFile(file(), SampleFile());
    run([&] {
        editor.resize(room);
        EXPECT_EQ(editor.size(), room);
        // Laid out in that room, no control is cut off or squeezed below what it needs.
        for (QWidget* w : editor.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&editor) || w->window() != &editor || w->objectName().isEmpty() ||
                w->parentWidget() != &editor)
                continue;
            const QRect at = w->geometry();
            EXPECT_TRUE(editor.rect().contains(at)) << w->objectName().toStdString();
            EXPECT_GE(at.height(), std::min(w->minimumSizeHint().height(), w->maximumHeight()))
                << w->objectName().toStdString();
        }
    });
}

bool HasBlue(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100 && c.green() < 100) return true;
        }
    return false;
}

TEST_F(TfrmEditQuesTest, PreviewShowsBothSheetsAndRedrawsAfterThePause) {
    test::WriteRawFile(file(), SampleFile());
    editor.resize(1200, 900);
    run([&] {
        PreviewSheets* pane = editor.pnlPreview;
        const QImage question = pane->questionSheet(), answer = pane->answerSheet();
        ASSERT_FALSE(answer.isNull());
        EXPECT_EQ(question.size(), answer.size());
        // The answers are drawn in blue on the answer sheet only.
        EXPECT_TRUE(HasBlue(answer));
        EXPECT_FALSE(HasBlue(question));
        // Drawn at the size of their places, which lie apart inside the pane.
        const PreviewPlacement& place = pane->place();
        EXPECT_NEAR(answer.width(), place.answer.width(), 1);
        EXPECT_NEAR(answer.height(), place.answer.height(), 1);
        EXPECT_LT(answer.width(), 891);
        EXPECT_FALSE(place.question.intersects(place.answer));
        EXPECT_TRUE(pane->rect().contains(place.answer));
        EXPECT_TRUE(editor.lblPreviewProblem->text().isEmpty());

        // A broken line: nothing is redrawn until the pause, then the problem is named.
        editor.MemQues->setPlainText(u"∵の#川#と#"_s);
        EXPECT_TRUE(editor.tmrPreview->isActive());
        EXPECT_TRUE(editor.lblPreviewProblem->text().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!editor.lblPreviewProblem->text().isEmpty(), 2000);

        // A second answer: both sheets drawn anew from it.
        editor.MemQues->setPlainText(u"∵の#川#と#山#"_s);
        QTRY_VERIFY_WITH_TIMEOUT(editor.lblPreviewProblem->text().isEmpty(), 2000);
        EXPECT_NE(pane->answerSheet(), answer);
        EXPECT_NE(pane->questionSheet(), question);
        EXPECT_FALSE(HasBlue(pane->questionSheet()));
    });
}

}  // namespace
}  // namespace sulkan
