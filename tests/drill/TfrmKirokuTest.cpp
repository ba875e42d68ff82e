// The record viewer: its list of units and copy files with counts, details, chart and erasing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>

#include "ProfileFile.h"
#include "Prompter.h"
#include "ScoreChart.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmKiroku.h"

namespace sulkan {
namespace {

using test::Sjis;

QStringList Items(const TfrmKiroku& viewer) {
    QStringList items;
    for (int i = 0; i < viewer.lstTitle->count(); ++i) items << viewer.lstTitle->item(i)->text();
    return items;
}

TEST(TfrmKiroku, ListsCountsShowsDetailsAndErases) {
    test::TempDir dir;
    test::WriteSjisFile(dir.path() / "k1.ind",
                        {"課", "[[sect1", "第一の回", "<<", "読み", "10回目の書き", ">>", "]]"});
    test::WriteSjisFile(dir.path() / "taro.ini",
                        {"[S12"
                         "10回目の書き]",
                         "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23",
                         "2=2003年10月16日 14:05 OOOO  4/ 4 100点 01:00", "[my.skn]", "1=x"});
    ScriptedPrompter prompter;
    TfrmKiroku viewer(prompter);
    KirokuSource source;
    source.learnerName = "taro";
    source.recordFile = dir.folder() + "taro.ini";
    source.lessonIndexPath = dir.folder() + "k1.ind";
    source.copyFileNames = {"my.skn"};
    QTimer::singleShot(0, &viewer, [&] {
        EXPECT_EQ(
            Items(viewer),
            (QStringList{QStringLiteral("第一の回"), QStringLiteral("  回S11読み"),
                         QStringLiteral("02回S1210回目の書き"), QStringLiteral("01回my.skn")}));
        EXPECT_EQ(viewer.edtName->text(), QStringLiteral("taro"));
        // The heading holds a 回 but is no unit: nothing to show.
        viewer.lstTitle->setCurrentRow(1);
        EXPECT_EQ(viewer.memDetail->toPlainText(), QStringLiteral("練習の記録はありません"));
        viewer.lstTitle->setCurrentRow(0);
        EXPECT_EQ(viewer.memDetail->toPlainText(), QString());
        EXPECT_FALSE(viewer.chtScores->axesShown());
        viewer.lstTitle->setCurrentRow(2);
        EXPECT_TRUE(viewer.memDetail->toPlainText().endsWith(QStringLiteral("100点 01:00")));
        EXPECT_EQ(viewer.chtScores->points(),
                  (std::vector<std::pair<int, int>>{{1, 75}, {2, 100}}));

        viewer.lstTitle->clearSelection();
        viewer.btnErase->click();
        EXPECT_EQ(prompter.shown, Sjis({"消去する単元を選んでください"}));
        viewer.lstTitle->setCurrentRow(2);
        prompter.answers = {Answer::No};
        viewer.btnErase->click();
        EXPECT_FALSE(viewer.erased());
        prompter.answers = {Answer::Yes};
        viewer.btnErase->click();
        EXPECT_TRUE(viewer.erased());
        EXPECT_EQ(viewer.lstTitle->item(2)->text(), QStringLiteral("  回S1210回目の書き"));
        viewer.btnReturn->click();
    });
    EXPECT_EQ(viewer.showFor(source), QDialog::Accepted);
    EXPECT_EQ(ProfileFile(source.recordFile).load().sections(), Sjis({"my.skn"}));
}

TEST(TfrmKiroku, OpensShowingNothingUntilAUnitIsChosenAndKeepsOneChart) {
    test::TempDir dir;
    test::WriteSjisFile(dir.path() / "k1.ind", {"課", "[[sect1", "読み", "<<", "駅", ">>", "]]"});
    test::WriteSjisFile(dir.path() / "taro.ini",
                        {"[S11駅]", "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23"});
    ScriptedPrompter prompter;
    TfrmKiroku viewer(prompter);
    KirokuSource source;
    source.learnerName = "taro";
    source.recordFile = dir.folder() + "taro.ini";
    source.lessonIndexPath = dir.folder() + "k1.ind";
    for (int opening = 1; opening <= 2; ++opening) {
        QTimer::singleShot(0, &viewer, [&, opening] {
            // The list has the focus and a current row, yet nothing was chosen.
            QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(viewer.lstTitle, &focusIn);
            EXPECT_EQ(viewer.memDetail->toPlainText(), QString()) << opening;
            EXPECT_EQ(viewer.chtScores->chart()->title(), QString()) << opening;
            EXPECT_FALSE(viewer.chtScores->axesShown()) << opening;
            EXPECT_TRUE(viewer.chtScores->points().empty()) << opening;
            EXPECT_EQ(viewer.chtScores->chart()->axes().size(), 2) << opening;
            // A click on the first unit shows it, even on the row that was current.
            QListWidgetItem* unit = viewer.lstTitle->item(1);
            viewer.lstTitle->setCurrentRow(1, QItemSelectionModel::NoUpdate);
            Q_EMIT viewer.lstTitle->itemClicked(unit);
            EXPECT_TRUE(viewer.memDetail->toPlainText().endsWith(QStringLiteral("75点 01:23")));
            EXPECT_TRUE(viewer.chtScores->axesShown());
            EXPECT_EQ(viewer.chtScores->chart()->axes().size(), 2) << opening;
            viewer.btnReturn->click();
        });
        viewer.showFor(source);
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(TfrmKiroku, RecordsOfEveryPlaceAndCopyFileRunsOfLessonOne) {
    test::TempDir course, records;
    const auto lesson2 = course.path() / "kan2";
    test::WriteSjisFile(lesson2 / "k2.ind", {"課", "[[sect1", "読み", "<<", "駅", ">>", "]]"});
    // The lesson folder became read-only: old runs there, new ones in the records folder.
    test::WriteSjisFile(lesson2 / "taro.ini",
                        {"[S11駅]", "1=2003年10月15日 14:05 O  1/ 1 100点 00:10",
                         "2=2003年10月17日 14:05 O  1/ 1 100点 00:10"});
    test::WriteSjisFile(records.path() / "k2" / "taro.ini",
                        {"[S11駅]", "1=2003年10月16日 14:05 x  0/ 1   0点 00:10"});
    // The runs of lesson 2's copy file lie in lesson 1's file.
    test::WriteSjisFile(course.path() / "kan1" / "taro.ini",
                        {"[two.skn]", "1=2003年10月18日 14:05 O  1/ 1 100点 00:10"});
    ScriptedPrompter prompter;
    TfrmKiroku viewer(prompter);
    KirokuSource source;
    source.learnerName = "taro";
    source.recordFile = records.folder() + "k2\\taro.ini";
    source.recordFiles = {course.folder() + "kan2\\taro.ini", source.recordFile};
    source.lessonIndexPath = course.folder() + "kan2\\k2.ind";
    source.copyFileNames = {"two.skn"};
    source.copyRecordFile = course.folder() + "kan1\\taro.ini";
    source.copyRecordFiles = {source.copyRecordFile};
    QTimer::singleShot(0, &viewer, [&] {
        EXPECT_EQ(Items(viewer), (QStringList{QStringLiteral("読み"), QStringLiteral("03回S11駅"),
                                              QStringLiteral("01回two.skn")}));
        viewer.lstTitle->setCurrentRow(1);
        EXPECT_EQ(viewer.chtScores->points(),
                  (std::vector<std::pair<int, int>>{{1, 100}, {2, 0}, {3, 100}}));
        viewer.lstTitle->setCurrentRow(2);
        EXPECT_EQ(viewer.memDetail->toPlainText(),
                  QStringLiteral("2003年10月18日 14:05 O  1/ 1 100点 00:10"));
        // Erasing takes the unit out of every place, or the old runs would come back.
        viewer.lstTitle->setCurrentRow(1);
        prompter.answers = {Answer::Yes};
        viewer.btnErase->click();
        EXPECT_EQ(viewer.lstTitle->item(1)->text(), QStringLiteral("  回S11駅"));
        EXPECT_EQ(viewer.lstTitle->item(2)->text(), QStringLiteral("01回two.skn"));
        viewer.btnReturn->click();
    });
    viewer.showFor(source);
    EXPECT_TRUE(ProfileFile(course.folder() + "kan2\\taro.ini").load().sections().empty());
    EXPECT_TRUE(ProfileFile(source.recordFile).load().sections().empty());
    EXPECT_EQ(ProfileFile(source.copyRecordFile).load().sections(), Sjis({"two.skn"}));
}

}  // namespace
}  // namespace sulkan
