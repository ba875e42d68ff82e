// The class overview: learners against units, colour bands, sorting, a cell's lines and chart, and
// the lesson saved as CSV.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>

#include "Prompter.h"
#include "ScoreChart.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmClassRecords.h"

namespace sulkan {
namespace {

using test::Sjis;

class TfrmClassRecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteSjisFile(dir.path() / "k1.ind",
                            {"漢字の課", "[[sect1", "読み", "<<", "一", "二", ">>", "]]", "[[sect2",
                             "書き", "<<", "三", ">>", "]]"});
        test::WriteSjisFile(dir.path() / "taro.ini",
                            {"[S11一]", "1=2003年10月15日 14:05 OxxO  1/ 4  30点 01:23",
                             "2=2003年10月16日 09:10 OOOO  4/ 4 100点 00:50", "[S12二]",
                             "1=類題1)2003年10月16日 09:20 OOOx  6/ 7  85点 02:00"});
        test::WriteSjisFile(dir.path() / "花子.ini",
                            {"[S11一]", "1=2003年10月15日 14:05 OxOx  2/ 4  50点 01:00", "[S12二]",
                             "1=2003年10月15日 14:10 xxxx  1/ 5  20点 01:00", "[S21三]",
                             "1=2003年10月15日 14:20 Ox"});
        source.lesson = 1;
        source.lessonIndexPath = dir.folder() + "k1.ind";
        source.learners = {{"taro", dir.folder() + "taro.ini"},
                           {sjis("花子"), dir.folder() + sjis("花子.ini")}};
        source.saveFolder = dir.folder();
        window.FormShow(source);
        window.show();
        QCoreApplication::processEvents();
    }

    QString cell(int row, int column) const {
        const QTableWidgetItem* item = window.grdRecords->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    QColor colour(int row, int column) const {
        return window.grdRecords->item(row, column)->background().color();
    }
    QStringList learners() const {
        QStringList out;
        for (int r = 0; r < window.grdRecords->rowCount(); ++r) out << cell(r, 0);
        return out;
    }
    void clickHeader(int column) {
        QHeaderView* header = window.grdRecords->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    void doubleClick(int row, int column) {
        QTableWidget* grid = window.grdRecords;
        const QPoint at = grid->visualItemRect(grid->item(row, column)).center();
        // A double-click follows a press on the same cell, as with a real mouse.
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

    test::TempDir dir;
    ClassRecordsSource source;
    ScriptedPrompter prompter;
    TfrmClassRecords window{prompter};
};

TEST_F(TfrmClassRecordsTest, OneRowPerLearnerOneColumnPerUnitWithRunsScoreAndBand) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("学級の記録"));
    EXPECT_EQ(window.lblLesson->text(), QStringLiteral("第1課　漢字の課"));
    EXPECT_TRUE(window.lblNoRecords->isHidden());
    ASSERT_EQ(window.grdRecords->columnCount(), 4);
    EXPECT_EQ(window.grdRecords->horizontalHeaderItem(3)->text(), QStringLiteral("2-1\n三"));
    EXPECT_EQ(learners(), (QStringList{QStringLiteral("taro"), QStringLiteral("花子")}));
    // Count of runs and the last score; the last run of 1-2 was a similar problem.
    EXPECT_EQ(cell(0, 1), QStringLiteral("2回 100点"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("1回 85点 類1"));
    EXPECT_EQ(cell(0, 3), QString());
    EXPECT_EQ(cell(1, 1), QStringLiteral("1回 50点"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("1回 20点"));
    // A damaged last line counts as a run but has no score to colour.
    EXPECT_EQ(cell(1, 3), QStringLiteral("1回 ？"));
    EXPECT_EQ(colour(0, 1), ScoreBandColour(3));
    EXPECT_EQ(colour(0, 2), ScoreBandColour(2));
    EXPECT_EQ(colour(1, 1), ScoreBandColour(1));
    EXPECT_EQ(colour(1, 2), ScoreBandColour(0));
    EXPECT_EQ(window.grdRecords->item(0, 3)->background().style(), Qt::NoBrush);
    EXPECT_EQ(window.grdRecords->item(1, 3)->background().style(), Qt::NoBrush);

    // A lesson without learners says so.
    window.FormShow({1, source.lessonIndexPath, {}, dir.folder(), {}});
    EXPECT_EQ(window.grdRecords->rowCount(), 0);
    EXPECT_FALSE(window.lblNoRecords->isHidden());
}

TEST_F(TfrmClassRecordsTest, HeaderClicksSortAndDoubleClickShowsTheRightLearner) {
    clickHeader(1);  // weakest first on unit 1-1
    EXPECT_EQ(learners(), (QStringList{QStringLiteral("花子"), QStringLiteral("taro")}));
    clickHeader(1);
    EXPECT_EQ(learners(), (QStringList{QStringLiteral("taro"), QStringLiteral("花子")}));
    clickHeader(3);  // a unit never run sorts below every score
    EXPECT_EQ(learners(), (QStringList{QStringLiteral("taro"), QStringLiteral("花子")}));
    clickHeader(2);
    EXPECT_EQ(learners(), (QStringList{QStringLiteral("花子"), QStringLiteral("taro")}));

    // Rows have moved: the cell still belongs to the learner shown in its row.
    doubleClick(1, 1);
    EXPECT_EQ(window.lblDetail->text(), QStringLiteral("taro　1-1 一"));
    EXPECT_TRUE(window.memDetail->toPlainText().startsWith(QStringLiteral("2003年10月15日")));
    EXPECT_EQ(window.memDetail->toPlainText().count(QLatin1Char('\n')), 1);
    EXPECT_EQ(window.chtScores->points(), (std::vector<std::pair<int, int>>{{1, 30}, {2, 100}}));
    doubleClick(1, 3);
    EXPECT_EQ(window.memDetail->toPlainText(), QStringLiteral("練習の記録はありません"));
    EXPECT_TRUE(window.chtScores->points().empty());

    clickHeader(0);
    EXPECT_EQ(learners(), (QStringList{QStringLiteral("taro"), QStringLiteral("花子")}));
}

TEST_F(TfrmClassRecordsTest, CsvIsSavedAtomicallyWithBomAndCrLfAndFailuresAreNamed) {
    // A name without extension gets ".csv"; runs written after opening are in the file.
    test::WriteSjisFile(dir.path() / "taro.ini",
                        {"[S11一]", "1=2003年10月15日 14:05 OxxO  1/ 4  30点 01:23"});
    prompter.fileNames = {dir.folder() + "class"};
    window.btnSaveCsv->click();
    EXPECT_EQ(prompter.dialogFolders, std::vector<std::string>{dir.folder()});
    const std::string csv = test::ReadRawFile(dir.path() / "class.csv");
    EXPECT_TRUE(csv.starts_with(
        "\xEF\xBB\xBF"
        "learner,lesson,section,unit,similar,title,run,date,time,marks,correct,total,score,"
        "seconds,raw\r\n"
        "taro,1,1,1,0,一,1,2003-10-15,14:05,OxxO,1,4,30,83,\r\n"
        "花子,1,1,1,0,一,1,2003-10-15,14:05,OxOx,2,4,50,60,\r\n"))
        << csv;
    EXPECT_TRUE(
        csv.ends_with("花子,1,2,1,0,三,1,2003-10-15,14:20,Ox,,,,,2003年10月15日 14:20 Ox\r\n"))
        << csv;
    // The damaged line is exported and the user is told.
    EXPECT_EQ(prompter.shown,
              Sjis({"1 行の記録を読み取れませんでした（raw 列にそのまま出力しました）"}));

    // Overwriting is asked; No leaves the file.
    prompter.shown.clear();
    prompter.fileNames = {dir.folder() + "class.csv"};
    prompter.answers = {Answer::No};
    test::WriteRawFile(dir.path() / "class.csv", "old");
    window.btnSaveCsv->click();
    EXPECT_EQ(test::ReadRawFile(dir.path() / "class.csv"), "old");

    // A folder that does not exist: the message names the file and nothing is written.
    const std::string bad = dir.folder() + "none/x.csv";
    prompter.fileNames = {bad};
    window.btnSaveCsv->click();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_NE(prompter.shown[1].find(bad), std::string::npos);
    EXPECT_NE(prompter.shown[1].find(sjis("保存できませんでした")), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none"));
}

}  // namespace
}  // namespace sulkan
