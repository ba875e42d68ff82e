// Creating a unit the way a teacher does: unit selection chooses a unit its question file lacks,
// the main window asks whether to create it, and the question editor writes it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "LineFile.h"
#include "Prompter.h"
#include "QuestionEditing.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmEditQues.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"
#include "TfrmPrint.h"

namespace sulkan {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::TempDir;

// Unit 1 of section 1 with a lone LF and an unterminated last line, which must stay as they are.
const std::string kSection1 =
    sjis("[[unit1\r\n<<ques\r\n（１）#やま#に登る\n>>\r\n<<value\r\n630\r\n>>\r\n]]\r\n; end");

class CreateUnitTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteSjisFile(course.path() / "Main.ind",
                            {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
        test::WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                            {"三年", "[[sect1", "読み", "<<", "山と川", "木と林", ">>", "]]",
                             "[[sect2", "書き", "<<", "海", ">>", "]]"});
        test::WriteRawFile(section1(), kSection1);
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
        const AppServices services{&settings, &prompter, course.path().string(), 1280, 1024};
        w = std::make_unique<TfrmMain>(services);
        w->show();
        prompter.shown.clear();
    }

    std::filesystem::path section1() const { return course.path() / "kan3" / "kan31.que"; }
    std::filesystem::path section2() const { return course.path() / "kan3" / "kan32.que"; }

    // Runs act once the window is shown (a modal loop started later in the same command).
    static void WhenShown(QWidget* window, std::function<void()> act) {
        auto* poll = new QTimer(window);
        QObject::connect(poll, &QTimer::timeout, window, [window, poll, act] {
            if (!window->isVisible()) return;
            poll->deleteLater();
            poll->stop();
            act();
        });
        poll->start(10);
    }

    static void ClickRow(QListWidget* list, int row) {
        QCoreApplication::processEvents();  // lay out a list that was just shown
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // "開く" on the main window; unit selection picks section and unit (rows from 0) and OKs.
    void openThroughUnitSelection(int sectionRow, int unitRow) {
        WhenShown(w->frmMenu, [this, sectionRow, unitRow] {
            ClickRow(w->frmMenu->lstSection, sectionRow);
            ClickRow(w->frmMenu->lstUnit, unitRow);
            w->frmMenu->btnOk->click();
        });
        w->btnOpenMaster->click();
    }

    // The question editor as opened by "Yes": new-unit mode on the defaults; OK saves.
    void acceptTheNewUnit(const UnitAddress& expected) {
        WhenShown(w->frmEditQues, [this, expected] {
            TfrmEditQues* editor = w->frmEditQues;
            editorShown = true;
            EXPECT_EQ(editor->editedAddress(), expected);
            EXPECT_FALSE(editor->btnEditDirect->isEnabled());
            EXPECT_EQ(editor->edtTangen->text(), u"新規"_s);
            EXPECT_EQ(editor->MemQues->toPlainText(),
                      u"１．次の各空欄に適語を入れなさい。\n例　日本の首都は　#　東京　#　です"_s);
            editor->btnOk->click();
        });
    }

    // The unit the defaults give, as OK writes it.
    static std::string DefaultUnit(const char* header) {
        std::vector<std::string> unit =
            test::Sjis({header, "<<ques", "１．次の各空欄に適語を入れなさい。",
                        "例　日本の首都は　#　東京　#　です", ">>", "<<dummy", ">>"});
        for (const std::string& line : DefaultLayoutLines()) unit.push_back(line);
        for (const char* line : {"<<kgroup", "東京", ">>", "]]"}) unit.push_back(sjis(line));
        return JoinLines(unit);
    }

    TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmMain> w;
    bool editorShown = false;
};

TEST_F(CreateUnitTest, YesAppendsTheNewUnitOrCreatesTheFileAndOpensItsWorksheet) {
    // Unit 2 of section 1: appended after the last byte of the file, which stays as it was.
    prompter.answers = {Answer::Yes};
    acceptTheNewUnit({1, 1, 2, 0});
    openThroughUnitSelection(0, 1);
    ASSERT_TRUE(editorShown);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0], sjis("単元がありません\r\n新規作成しますか?"));
    // The unterminated last line gets its line end so that the header starts a line.
    EXPECT_EQ(test::ReadRawFile(section1()), kSection1 + "\r\n" + DefaultUnit("[[unit2"));
    TfrmPrint* sheet = w->activeWorksheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->worksheet().address, (UnitAddress{1, 1, 2, 0}));
    EXPECT_EQ(sheet->worksheet().content.questionLines.size(), 2u);
    EXPECT_FALSE(sheet->worksheet().modified);

    // Section 2 has no question file yet: the first OK creates it with the unit alone.
    prompter.shown.clear();
    prompter.answers = {Answer::Yes};
    editorShown = false;
    acceptTheNewUnit({1, 2, 1, 0});
    openThroughUnitSelection(1, 0);
    ASSERT_TRUE(editorShown);
    EXPECT_EQ(prompter.shown,
              std::vector<std::string>{sjis("単元がありません\r\n新規作成しますか?")});
    EXPECT_EQ(test::ReadRawFile(section2()), DefaultUnit("[[unit1"));
    ASSERT_NE(w->activeWorksheet(), nullptr);
    EXPECT_EQ(w->activeWorksheet()->worksheet().address, (UnitAddress{1, 2, 1, 0}));
    EXPECT_EQ(w->state().OpenWorksheetCount, 2);
}

TEST_F(CreateUnitTest, NoWritesNothingAndOpensNothing) {
    WhenShown(w->frmEditQues, [this] {
        editorShown = true;
        w->frmEditQues->btnCancel->click();
    });
    openThroughUnitSelection(0, 1);  // no answers scripted: No
    openThroughUnitSelection(1, 0);
    EXPECT_FALSE(editorShown);
    EXPECT_EQ(prompter.shown,
              (std::vector<std::string>(2, sjis("単元がありません\r\n新規作成しますか?"))));
    EXPECT_EQ(test::ReadRawFile(section1()), kSection1);
    EXPECT_FALSE(std::filesystem::exists(section2()));
    EXPECT_EQ(w->activeWorksheet(), nullptr);
    EXPECT_EQ(w->state().OpenWorksheetCount, 0);
}

}  // namespace
}  // namespace sulkan
