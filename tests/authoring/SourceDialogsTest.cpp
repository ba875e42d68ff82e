// The source editor and the text input dialog, and the encoding of editor fields behind them.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "EditorText.h"
#include "Prompter.h"
#include "QtText.h"
#include "Sjis.h"
#include "TfrmEditSource.h"
#include "TfrmInputText.h"

namespace sulkan {
namespace {

using namespace Qt::Literals::StringLiterals;

// "∵" is 0x81E6; the NEC row 13 spelling 0x879A decodes to the same character and encodes back
// to 0x81E6. "≒" likewise: 0x81E0 and 0x8790.
const std::string kNecBecause = "\x87\x9A";
const std::string kNecNearly = "\x87\x90";

TEST(EditorTextTest, UnchangedLinesKeepTheirSpellingWhereverTheyMoved) {
    const std::vector<std::string> original = {kNecBecause + sjis("の行"), sjis("普通の行"),
                                               kNecNearly};
    // Unchanged: every byte back.
    EXPECT_EQ(EncodeLinesKeeping(JoinLinesForField(original), original).lines, original);
    // Lines moved and one added: the moved ones keep their bytes, the new one is encoded afresh
    // (the standard spelling 0x81E0 for "≒").
    const QString edited = u"普通の行\n≒\n∵の行\n新しい≒"_s;
    const EncodedLines encoded = EncodeLinesKeeping(edited, original);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(encoded.lines,
              (std::vector<std::string>{sjis("普通の行"), kNecNearly, kNecBecause + sjis("の行"),
                                        sjis("新しい") + "\x81\xE0"}));
    // A changed line is encoded as typed, so its duplicate becomes the standard spelling.
    EXPECT_EQ(EncodeLinesKeeping(u"∵の行！"_s, original).lines,
              (std::vector<std::string>{"\x81\xE6" + sjis("の行！")}));
}

TEST(EditorTextTest, AnUnencodableCharacterStopsWithItsLineAndPlace) {
    const EncodedLines failed = EncodeLinesKeeping(u"一行目\n二行😀目\n三"_s, {});
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.failedChar, U'😀');
    EXPECT_EQ(failed.failedLine, 1);
    EXPECT_EQ(failed.failedPosition, 4 + 2);  // "一行目\n" then "二行"
    const std::string message = UnencodableLineText(failed);
    EXPECT_EQ(message.rfind(sjis("2 行目"), 0), 0u);
    EXPECT_NE(message.find("1F600"), std::string::npos);
}

class TfrmEditSourceTest : public ::testing::Test {
protected:
    // Runs the dialog on lines; during its modal loop, act() is called and then OK pressed.
    int run(const std::vector<std::string>& lines, const std::function<void()>& act) {
        QTimer::singleShot(0, [&] {
            act();
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
            // A refused OK leaves the dialog open: close it so the test ends.
            if (dialog.isVisible()) {
                stayedOpen = true;
                dialog.reject();
            }
        });
        return dialog.editLines(sjis("C:\\kanji\\kan1\\kan11.que"), 720, lines);
    }

    ScriptedPrompter prompter;
    TfrmEditSource dialog{prompter};
    bool stayedOpen = false;
};

TEST_F(TfrmEditSourceTest, AnyTextComesBackAsTypedAndUnchangedLinesAsRead) {
    const std::vector<std::string> lines = {sjis("[[unit1"), kNecBecause, sjis("]]")};
    int result = run(lines, [&] {
        EXPECT_EQ(dialog.windowTitle(),
                  u"ソースの直接編集"_s + QDir::toNativeSeparators(u"C:/kanji/kan1/kan11.que"_s));
        EXPECT_EQ(dialog.memEditBuffer->textCursor().position(), 0);
        EXPECT_TRUE(dialog.memEditBuffer->hasFocus() || !dialog.isActiveWindow());
        // Text that breaks the file format is not the dialog's business.
        dialog.memEditBuffer->appendPlainText(u"<<ques 閉じていない"_s);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.editedLines(),
              (std::vector<std::string>{sjis("[[unit1"), kNecBecause, sjis("]]"),
                                        sjis("<<ques 閉じていない")}));
}

TEST_F(TfrmEditSourceTest, UnencodableTextIsRefusedWithTheCaretOnIt) {
    int result =
        run({sjis("一"), sjis("二")}, [&] { dialog.memEditBuffer->setPlainText(u"一\n二𠮷"_s); });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(dialog.editedLines().empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].rfind(sjis("2 行目"), 0), 0u);
    EXPECT_EQ(dialog.memEditBuffer->textCursor().position(), 3);
}

TEST_F(TfrmEditSourceTest, HelpAsksForTheCallersTopic) {
    QSignalSpy help(&dialog, &TfrmEditSource::helpRequested);
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(dialog.btnHelp, Qt::LeftButton);
        dialog.reject();
    });
    dialog.editLines("x", 710, {});
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help[0][0].toInt(), 710);
}

TEST(TfrmInputTextTest, ChangeModesStartSelectedAndEnterConfirms) {
    TfrmInputText dialog;
    QString seen;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(dialog.memInput->selectedText(), u"第一章"_s);
        // Typing replaces the old title; Enter is OK at once.
        dialog.memInput->insert(u"序章"_s);  // what typing through an input method does
        QTest::keyClick(dialog.memInput, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.ask(u"mainCHANGE"_s, u"第一章"_s), QDialog::Accepted);
    EXPECT_EQ(dialog.text(), u"序章"_s);

    // An add starts empty, whatever was typed before.
    QTimer::singleShot(0, [&] {
        seen = dialog.memInput->text();
        QTest::keyClick(dialog.memInput, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.ask(u"subADD"_s, u"第一章"_s), QDialog::Rejected);
    EXPECT_TRUE(seen.isEmpty());
}

}  // namespace
}  // namespace sulkan
