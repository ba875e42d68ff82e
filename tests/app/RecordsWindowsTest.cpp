// The records of a lesson as the main window and the command line show them: the all-units tree
// with its marks, the class overview opened from unit selection, and "sulkan records" statuses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <sstream>

#include "Prompter.h"
#include "RecordsCommand.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmClassRecords.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"
#include "TfrmRenshu.h"
#include "TfrmZenTangen.h"

namespace sulkan {
namespace {

using test::WriteSjisFile;

class RecordsWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind",
                      {"漢字のコース", "メモ", "三年の漢字,kan3\\_k3", ">>"});
        WriteSjisFile(kan3() / "k3.ind", {"三年", "[[sect1", "読み", "<<", "駅", "旅行", ">>", "]]",
                                          "[[sect2", "書き", "<<", "海", ">>", "]]"});
        WriteSjisFile(kan3() / "k31.que", {"[[unit1", "]]", "[[unit1R1", "]]", "[[unit2", "]]"});
        WriteSjisFile(kan3() / "共通.ini",
                      {"[S11駅]", "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23",
                       "2=2003年10月16日 09:10 OOOO  4/ 4 100点 00:50", "[S21海]",
                       "1=2003年10月16日 09:20 Ox  1/ 2  50点 00:30"});
        WriteSjisFile(kan3() / "taro.ini",
                      {"[S12旅行]", "1=2003年10月17日 10:00 xx  0/ 2   0点 00:40"});
        WriteSjisFile(records.path() / "Sulkan" / "LogOn" / "sname.txt", {"taro", "共通"});
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
    }

    std::filesystem::path kan3() const { return course.path() / "kan3"; }

    std::unique_ptr<TfrmMain> start() {
        const AppServices services{&settings, &prompter, course.path().string(), 1024, 768};
        auto w = std::make_unique<TfrmMain>(services);
        w->show();
        return w;
    }

    int runRecords(const std::vector<std::string>& args, std::string& out, std::string& err) {
        std::ostringstream o, e;
        const int status = RunRecordsCommand(args, settings, o, e);
        out = o.str();
        err = e.str();
        return status;
    }

    test::TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
};

TEST_F(RecordsWindowsTest, AllUnitsTreeShowsSimilarMarksAndCountsOfTheLearner) {
    auto w = start();
    w->frmMenu->show();
    QStringList lines;
    QTimer::singleShot(0, w->frmZenTangen, [&] {
        QTreeWidgetItem* root = w->frmZenTangen->trvMain->topLevelItem(0);
        lines << root->text(0);
        for (int s = 0; s < root->childCount(); ++s) {
            lines << root->child(s)->text(0);
            for (int u = 0; u < root->child(s)->childCount(); ++u)
                lines << root->child(s)->child(u)->text(0);
        }
        w->frmZenTangen->btnClose->click();
    });
    w->frmMenu->btnZenTangen->click();
    // Unit 1-1 has a similar problem and two runs; 2-1 has no question file but one run.
    EXPECT_EQ(lines, (QStringList{QStringLiteral("三年"), QStringLiteral("読み"),
                                  QStringLiteral("◎[2]駅"), QStringLiteral("　[ ]旅行"),
                                  QStringLiteral("書き"), QStringLiteral("　[1]海")}));
}

TEST_F(RecordsWindowsTest, ClassOverviewListsRosterLearnersForTeachersOnly) {
    WriteSjisFile(kan3() / "zed.ini", {"[S11駅]", "1=x"});
    WriteSjisFile(kan3() / "notes.txt", {"[S11駅]", "1=x"});
    auto w = start();
    w->frmMenu->show();
    EXPECT_FALSE(w->frmMenu->btnClassRecords->isHidden());
    QStringList learners;
    QString firstCell;
    QTimer::singleShot(0, w->frmClassRecords, [&] {
        QTableWidget* grid = w->frmClassRecords->grdRecords;
        for (int r = 0; r < grid->rowCount(); ++r) learners << grid->item(r, 0)->text();
        firstCell = grid->item(0, 2)->text();
        w->frmClassRecords->btnClose->click();
    });
    w->frmMenu->btnClassRecords->click();
    // Roster order first, then the other record files of the lesson.
    EXPECT_EQ(learners,
              (QStringList{QStringLiteral("taro"), QStringLiteral("共通"), QStringLiteral("zed")}));
    EXPECT_EQ(firstCell, QStringLiteral("1回 0点"));

    w->frmMenu->reject();
    w->SetLearnerMode(true);
    w->frmMenu->show();
    EXPECT_TRUE(w->frmMenu->btnClassRecords->isHidden());
    EXPECT_FALSE(w->mnuFile->menuAction()->isVisible());
}

TEST_F(RecordsWindowsTest, RecordsCommandStatusesZeroOneAndTwo) {
    const std::string dir = course.path().string();
    std::string out, err;
    EXPECT_EQ(runRecords({"--course", dir, "--lesson", "1"}, out, err), 0) << err;
    EXPECT_TRUE(
        out.starts_with("\xEF\xBB\xBF"
                        "learner,lesson,section,unit,similar,title,run,date,time,marks,"
                        "correct,total,score,seconds\r\n"
                        "taro,1,1,2,0,旅行,1,2003-10-17,10:00,xx,0,2,0,40\r\n"
                        "共通,1,1,1,0,駅,1,"))
        << out;
    EXPECT_EQ(err, "");

    // A damaged line is exported with its text in the raw column, to the file asked for.
    WriteSjisFile(kan3() / "taro.ini", {"[S12旅行]", "1=2003年10月17日 10:00 xx  0/ 2"});
    const std::string csv = (records.path() / "out.csv").string();
    EXPECT_EQ(runRecords({"--course", dir, "--lesson", "1", "--out", csv}, out, err), 1);
    EXPECT_EQ(out, "");
    const std::string written = test::ReadRawFile(csv);
    EXPECT_NE(written.find("seconds,raw\r\n"), std::string::npos);
    EXPECT_NE(written.find(
                  "taro,1,1,2,0,旅行,1,2003-10-17,10:00,xx,0,,,,2003年10月17日 10:00 xx  0/ 2\r\n"),
              std::string::npos)
        << written;
    EXPECT_NE(err.find("raw"), std::string::npos);

    EXPECT_EQ(runRecords({"--course", dir, "--lesson", "2"}, out, err), 2);
    EXPECT_NE(err.find("課 2 はありません"), std::string::npos) << err;
    EXPECT_EQ(runRecords({"--course", dir}, out, err), 2);
    EXPECT_EQ(out, "");
}

TEST_F(RecordsWindowsTest, RecordsCommandForOneLearner) {
    const std::string dir = course.path().string();
    std::string out, err;
    EXPECT_EQ(runRecords({"--course", dir, "--lesson", "1", "--learner", "taro"}, out, err), 0)
        << err;
    EXPECT_NE(out.find("\r\ntaro,1,1,2,0,旅行,1,2003-10-17,10:00,xx,0,2,0,40\r\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("共通,"), std::string::npos) << out;

    // A learner without a record file is no failure: the header alone.
    EXPECT_EQ(runRecords({"--course", dir, "--lesson", "1", "--learner", "hanako"}, out, err), 0)
        << err;
    EXPECT_TRUE(out.ends_with("seconds\r\n")) << out;

    // A name no learner can have would lead the record file elsewhere: refused, nothing written.
    const std::string csv = (records.path() / "one.csv").string();
    for (const char* name : {"../taro", "a:b", ""}) {
        EXPECT_EQ(runRecords({"--course", dir, "--lesson", "1", "--learner", name, "--out", csv},
                             out, err),
                  2)
            << name;
        EXPECT_NE(err.find("学習者の名前に使えない文字があります"), std::string::npos) << err;
    }
    EXPECT_FALSE(std::filesystem::exists(csv));
}

TEST_F(RecordsWindowsTest, FolderSettingsFilesAreNoLearners) {
    // Windows keeps a folder's icon and view in desktop.ini, in any folder a teacher opened.
    WriteSjisFile(kan3() / "desktop.ini",
                  {"[.ShellClassInfo]", "IconResource=C:\\Windows\\System32\\imageres.dll,-3",
                   "[ViewState]", "Mode=", "Vid=", "FolderType=Generic"});
    WriteSjisFile(records.path() / "Sulkan" / "k3" / "Desktop.ini",
                  {"[.ShellClassInfo]", "InfoTip=records"});
    // A file the roster does not name but that holds records of the lesson is a learner.
    WriteSjisFile(records.path() / "Sulkan" / "k3" / "hanako.ini",
                  {"[S21海]", "1=2003年10月18日 08:00 O  1/ 1 100点 00:05"});
    std::string out, err;
    EXPECT_EQ(runRecords({"--course", course.path().string(), "--lesson", "1"}, out, err), 0)
        << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(out.find("esktop"), std::string::npos) << out;
    EXPECT_EQ(out.find("ShellClassInfo"), std::string::npos) << out;
    EXPECT_NE(out.find("\r\nhanako,1,2,1,0,海,1,2003-10-18,08:00,O,1,1,100,5\r\n"),
              std::string::npos)
        << out;
    // Header, taro's run, 共通's three and hanako's one.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 6);
}

// Acts once the window is shown (a modal loop started later in the same command).
void WhenShown(QWidget* window, std::function<void()> act) {
    auto* poll = new QTimer(window);
    QObject::connect(poll, &QTimer::timeout, window, [window, poll, act] {
        if (!window->isVisible()) return;
        poll->deleteLater();
        poll->stop();
        act();
    });
    poll->start(10);
}

void ClickRow(QListWidget* list, int row) {
    QCoreApplication::processEvents();  // lay out a list that was just shown
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

TEST_F(RecordsWindowsTest, ADrilledRunThatCannotBeRecordedIsSaidWithTheFile) {
    WriteSjisFile(kan3() / "k31.que", {"[[unit1", "<<ques", "（１）#えき#に行く", ">>", "]]"});
    // A folder where hanako's record file should be: nothing can replace it.
    std::filesystem::create_directories(kan3() / "hanako.ini");
    auto w = start();
    w->state().LearnerName = "hanako";
    prompter.shown.clear();
    bool graded = false;
    WhenShown(w->frmMenu, [&] {
        ClickRow(w->frmMenu->lstSection, 0);
        ClickRow(w->frmMenu->lstUnit, 0);
        w->frmMenu->btnOk->click();
    });
    QTimer drillPoll;
    QObject::connect(&drillPoll, &QTimer::timeout, [&] {
        TfrmRenshu* drill = w->frmRenshu;
        if (!drill || !drill->isVisible()) return;
        drillPoll.stop();
        drill->btnTest->click();
        QTest::sendKeyEvent(QTest::KeyAction::Click, drill->answerBox(1), Qt::Key_unknown,
                            QStringLiteral("駅"), Qt::NoModifier);
        drill->btnSaiten->click();
        graded = drill->engine().state() == DrillState::Results;
        drill->btnEnd->click();
    });
    drillPoll.start(10);
    w->btnTest->click();
    drillPoll.stop();
    EXPECT_TRUE(graded);
    // The refusal comes before the drill's own "テストを終わりました".
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1], sjis("テストを終わりました"));
    EXPECT_NE(prompter.shown[0].find("hanako.ini"), std::string::npos) << prompter.shown[0];
    EXPECT_NE(prompter.shown[0].find(sjis("保存できませんでした")), std::string::npos)
        << prompter.shown[0];
    EXPECT_TRUE(std::filesystem::is_directory(kan3() / "hanako.ini"));
}

}  // namespace
}  // namespace sulkan
