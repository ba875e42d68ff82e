// The record viewer: its list of units and copy files with counts, details, chart and erasing.
#include <gtest/gtest.h>

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
    KirokuSource source{"taro", dir.folder() + "taro.ini", dir.folder() + "k1.ind", {"my.skn"}};
    QTimer::singleShot(0, &viewer, [&] {
        QStringList items;
        for (int i = 0; i < viewer.lstTitle->count(); ++i)
            items << viewer.lstTitle->item(i)->text();
        EXPECT_EQ(items, (QStringList{QStringLiteral("第一の回"), QStringLiteral("  回S11読み"),
                                      QStringLiteral("02回S1210回目の書き"),
                                      QStringLiteral("01回my.skn")}));
        EXPECT_EQ(viewer.edtName->text(), QStringLiteral("taro"));
        // The heading holds a 回 but is no unit.
        viewer.lstTitle->setCurrentRow(0);
        EXPECT_EQ(viewer.memDetail->toPlainText(), QStringLiteral("練習の記録はありません"));
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

}  // namespace
}  // namespace sulkan
