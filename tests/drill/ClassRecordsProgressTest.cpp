// The class overview read in steps: one per learner's file and one per unit, and a stop that
// leaves a usable window with what was read, says so, and writes nothing.
#include <gtest/gtest.h>

#include <QTest>

#include "Progress.h"
#include "Prompter.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmClassRecords.h"

namespace sulkan {
namespace {

class ClassRecordsProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteSjisFile(dir.path() / "k1.ind",
                            {"漢字の課", "[[sect1", "読み", "<<", "山", "川", "林", ">>", "]]"});
        test::WriteSjisFile(dir.path() / "k11.que",
                            {"[[unit1", "<<ques", "#山#", ">>", "]]", "[[unit2", "<<ques", "#川#",
                             ">>", "]]", "[[unit3", "<<ques", "#林#", ">>", "]]"});
        for (const char* name : {"a", "b", "c"}) {
            test::WriteSjisFile(dir.path() / (std::string(name) + ".ini"),
                                {"[S11山]", "1=2003年10月15日 14:05 x  0/ 1   0点 01:23", "[S12川]",
                                 "1=2003年10月15日 14:06 O  1/ 1 100点 01:00"});
            source.learners.push_back({name, dir.folder() + name + ".ini"});
        }
        source.lesson = 1;
        source.lessonIndexPath = dir.folder() + "k1.ind";
        source.saveFolder = dir.folder();
        source.questionFiles = {dir.folder() + "k11.que"};
        window.useProgress(&progress);
    }

    std::vector<std::string> Labels() const {
        std::vector<std::string> labels;
        for (const auto& call : progress.calls)
            if (call.kind == RecordingProgress::Kind::Step) labels.push_back(call.label);
        return labels;
    }

    // The bytes of every file in the folder, to see that nothing was written.
    std::vector<std::string> Files() const {
        std::vector<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            all.push_back(entry.path().filename().string() + ":" + test::ReadRawFile(entry.path()));
        std::sort(all.begin(), all.end());
        return all;
    }

    test::TempDir dir;
    ClassRecordsSource source;
    ScriptedPrompter prompter;
    RecordingProgress progress;
    TfrmClassRecords window{prompter};
};

TEST_F(ClassRecordsProgressTest, AStepPerLearnerThenPerUnitOfOneRun) {
    window.FormShow(source);
    EXPECT_EQ(progress.starts(), 1);
    EXPECT_EQ(progress.calls.front().number, 6);  // 3 learners and 3 units
    EXPECT_EQ(progress.calls.front().label, sjis("第1課の記録を読んでいます"));
    EXPECT_EQ(progress.steps(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"a", "b", "c", sjis("1-1 山"), sjis("1-2 川"),
                                                  sjis("1-3 林")}));
    EXPECT_EQ(progress.finishes(), 1);
    EXPECT_EQ(window.grdRecords->rowCount(), 3);
    EXPECT_TRUE(window.lblPartial->isHidden());
    EXPECT_TRUE(prompter.shown.empty());

    // Counting every run works the units out again, a step each.
    progress.calls.clear();
    window.chkAllRuns->setChecked(true);
    EXPECT_EQ(progress.steps(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(progress.calls.front().label, sjis("問題ごとに集計しています"));
}

TEST_F(ClassRecordsProgressTest, AStopWhileReadingShowsTheLearnersReadAndSaysSo) {
    const auto before = Files();
    progress.cancelAt = 2;
    window.FormShow(source);
    window.show();
    QCoreApplication::processEvents();

    // Two files read, the rest and the units left alone.
    EXPECT_EQ(progress.steps(), (std::vector<int>{1, 2}));
    EXPECT_EQ(progress.finishes(), 1);
    ASSERT_EQ(window.grdRecords->rowCount(), 2);
    EXPECT_EQ(window.grdRecords->item(1, 0)->text(), QStringLiteral("b"));
    EXPECT_EQ(window.grdRecords->item(1, 1)->text(), QStringLiteral("1回 0点"));
    EXPECT_EQ(window.cmbReviewLearner->count(), 3);  // the class and the two read
    const QString said =
        QStringLiteral("読み込みを中止しました：3 人のうち 2 人の記録だけを表示しています");
    EXPECT_FALSE(window.lblPartial->isHidden());
    EXPECT_EQ(window.lblPartial->text(), said);
    EXPECT_EQ(prompter.shown, (std::vector<std::string>{sjis(said.toStdString().c_str())}));

    // The window works with what it has: a cell's lines, the questions page, a review sheet.
    QTableWidget* grid = window.grdRecords;
    const QPoint at = grid->visualItemRect(grid->item(0, 1)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(window.lblDetail->text(), QStringLiteral("a　1-1 山"));
    window.lstUnits->setCurrentRow(1);
    EXPECT_EQ(window.lblQuestions->text(),
              QStringLiteral("この単元は集計していません（集計を中止しました）"));
    window.lstUnits->item(0)->setSelected(true);
    window.btnReviewSheet->click();
    EXPECT_FALSE(window.takeReviewWorksheet());
    EXPECT_EQ(prompter.shown.back(), sjis("集計を中止したため、選んだ単元の正答率がわかりません。"
                                          "学級の記録を開き直してください"));

    // Worked out again on request, for the learners read.
    progress.cancelAt = 0;
    progress.stepsSeen = 0;
    window.chkAllRuns->setChecked(true);
    window.lstUnits->setCurrentRow(0);
    EXPECT_EQ(window.lblQuestions->text().contains(QStringLiteral("2人")), true);
    EXPECT_EQ(Files(), before);
}

TEST_F(ClassRecordsProgressTest, AStopWhileWorkingOutTheUnitsKeepsThoseDone) {
    progress.cancelAt = 4;  // after the three files and the first unit
    window.FormShow(source);
    EXPECT_EQ(progress.steps(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(window.grdRecords->rowCount(), 3);
    EXPECT_EQ(window.questionResults().units.size(), 1u);
    EXPECT_EQ(window.lblPartial->text(),
              QStringLiteral("集計を中止しました：問題ごとの結果は 3 単元のうち 1 単元だけです"));
    ASSERT_EQ(prompter.shown.size(), 1u);

    // The unit done shows its question; the most missed come from it alone.
    window.lstUnits->setCurrentRow(0);
    EXPECT_EQ(window.grdQuestions->rowCount(), 1);
    EXPECT_EQ(window.grdMostMissed->rowCount(), 1);
    window.lstUnits->setCurrentRow(2);
    EXPECT_EQ(window.grdQuestions->rowCount(), 0);

    // A stop during the last step leaves nothing out.
    progress.calls.clear();
    progress.cancelAt = 6;
    progress.stepsSeen = 0;
    prompter.shown.clear();
    window.FormShow(source);
    EXPECT_EQ(window.questionResults().units.size(), 3u);
    EXPECT_TRUE(window.lblPartial->isHidden());
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace
}  // namespace sulkan
