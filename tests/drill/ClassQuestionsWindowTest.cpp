// The class overview's questions page: a unit's questions ranked with rate bars and who missed
// them, the lesson's most missed, and the review sheet composed for the class or one learner.
#include <gtest/gtest.h>

#include <QTest>

#include "Prompter.h"
#include "QtText.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmClassRecords.h"

namespace sulkan {
namespace {

class ClassQuestionsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteSjisFile(dir.path() / "k1.ind",
                            {"漢字の課", "[[sect1", "読み", "<<", "山", "川", ">>", "]]"});
        test::WriteSjisFile(dir.path() / "k11.que",
                            {"[[unit1", "<<ques", "（１）#山#に#登;のぼ#る", "（２）#岩#", ">>",
                             "]]", "[[unit2", "<<ques", "#川#", ">>", "]]"});
        test::WriteSjisFile(dir.path() / "taro.ini",
                            {"[S11山]", "1=2003年10月15日 14:05 OxO  2/ 3  67点 01:23",
                             "2=2003年10月16日 14:05 OOO  3/ 3 100点 01:23", "[S12川]",
                             "1=2003年10月15日 14:05 xx  0/ 2   0点 01:00"});
        test::WriteSjisFile(dir.path() / "花子.ini",
                            {"[S11山]", "1=2003年10月15日 14:05 xxO  1/ 3  33点 01:00", "[S12川]",
                             "1=2003年10月15日 14:05 x  0/ 1   0点 01:00"});
        source.lesson = 1;
        source.lessonIndexPath = dir.folder() + "k1.ind";
        source.learners = {{"taro", dir.folder() + "taro.ini"},
                           {sjis("花子"), dir.folder() + sjis("花子.ini")}};
        source.questionFiles = {dir.folder() + "k11.que"};
        window.FormShow(source);
        window.show();
        child<QTabWidget>("tabViews")->setCurrentIndex(1);
        QCoreApplication::processEvents();
    }

    template <typename T>
    T* child(const char* name) const {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QListWidget* units() const { return child<QListWidget>("lstUnits"); }
    QTableWidget* questions() const { return child<QTableWidget>("grdQuestions"); }
    QPushButton* reviewButton() const { return child<QPushButton>("btnReviewSheet"); }

    QString cell(QTableWidget* table, int row, int column) const {
        const QTableWidgetItem* item = table->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    void selectUnits(std::initializer_list<int> rows) {
        units()->clearSelection();
        for (int row : rows) units()->item(row)->setSelected(true);
    }

    test::TempDir dir;
    ClassRecordsSource source;
    ScriptedPrompter prompter;
    TfrmClassRecords window{prompter};
};

TEST_F(ClassQuestionsWindowTest, AUnitsQuestionsRankedWithRateBarsAndWhoMissedThem) {
    QTableWidget* grid = questions();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(units()->count(), 2);
    EXPECT_EQ(units()->currentRow(), 0);
    // First runs: taro OxO, 花子 xxO.
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(cell(grid, 0, 0), QStringLiteral("2"));
    EXPECT_EQ(cell(grid, 0, 1), QStringLiteral("（１）（山）に【登】る"));
    EXPECT_EQ(cell(grid, 0, 2), QStringLiteral("0％"));
    EXPECT_EQ(grid->item(0, 2)->data(Qt::UserRole + 2).toInt(), 0);
    EXPECT_EQ(cell(grid, 0, 3), QStringLiteral("0/2"));
    EXPECT_EQ(cell(grid, 0, 4), QStringLiteral("taro、花子"));
    EXPECT_EQ(cell(grid, 1, 2), QStringLiteral("50％"));
    EXPECT_EQ(cell(grid, 1, 4), QStringLiteral("花子"));
    EXPECT_EQ(cell(grid, 2, 1), QStringLiteral("（２）【岩】"));
    EXPECT_EQ(cell(grid, 2, 2), QStringLiteral("100％"));
    EXPECT_TRUE(child<QLabel>("lblQuestionNote")->text().isEmpty());

    // Every run: taro's second run counts too.
    child<QCheckBox>("chkAllRuns")->setChecked(true);
    EXPECT_EQ(cell(grid, 0, 2), QStringLiteral("33％"));
    EXPECT_EQ(cell(grid, 0, 3), QStringLiteral("1/3"));

    // Unit 2 has one blank now: taro's two marks do not fit it.
    units()->setCurrentRow(1);
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(cell(grid, 0, 3), QStringLiteral("0/1"));
    EXPECT_TRUE(child<QLabel>("lblQuestionNote")
                    ->text()
                    .contains(QStringLiteral("記録と問題が合いません")));
    EXPECT_TRUE(child<QLabel>("lblQuestionNote")->text().contains(QStringLiteral("1 回分")));
}

TEST_F(ClassQuestionsWindowTest, TheLessonsMostMissedAndACellChoosesItsUnit) {
    QTableWidget* top = child<QTableWidget>("grdMostMissed");
    // 登 0/2, 川 0/1, 山 1/2.
    ASSERT_EQ(top->rowCount(), 3);
    EXPECT_EQ(cell(top, 0, 0), QStringLiteral("1-1 山"));
    EXPECT_EQ(cell(top, 0, 3), QStringLiteral("0％"));
    EXPECT_EQ(cell(top, 1, 0), QStringLiteral("1-2 川"));
    EXPECT_EQ(cell(top, 2, 3), QStringLiteral("50％"));

    child<QTableWidget>("grdRecords")->setCurrentCell(0, 2);
    EXPECT_EQ(units()->currentRow(), 1);
}

TEST_F(ClassQuestionsWindowTest, TheReviewSheetOfTheClassOrOfOneLearner) {
    EXPECT_EQ(child<QSpinBox>("spnReviewRate")->value(), 70);
    selectUnits({0, 1});
    QTest::mouseClick(reviewButton(), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    std::optional<Worksheet> sheet = window.takeReviewWorksheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->content.questionLines, test::Sjis({"（１）#山#に#登;のぼ#る", "#川#"}));
    EXPECT_EQ(sheet->content.title, sjis("復習：山ほか1単元"));
    EXPECT_FALSE(sheet->isMaster);
    EXPECT_FALSE(window.takeReviewWorksheet());  // taken once

    // taro alone missed only 登 in unit 1.
    window.FormShow(source);
    window.show();
    selectUnits({0});
    child<QComboBox>("cmbReviewLearner")->setCurrentIndex(1);
    QTest::mouseClick(reviewButton(), Qt::LeftButton);
    sheet = window.takeReviewWorksheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->content.questionLines, test::Sjis({"（１）#山#に#登;のぼ#る"}));
    EXPECT_EQ(sheet->content.title, sjis("復習：taro　山"));
}

TEST_F(ClassQuestionsWindowTest, NothingToReviewOrNoUnitChosenSaysSoAndStaysOpen) {
    units()->clearSelection();
    QTest::mouseClick(reviewButton(), Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown.back(), sjis("復習プリントにする単元を選んでください"));
    EXPECT_TRUE(window.isVisible());

    // Over all of taro's runs unit 1 is at 50 % or more: 50 % is not below 50 %.
    selectUnits({0});
    child<QCheckBox>("chkAllRuns")->setChecked(true);
    child<QComboBox>("cmbReviewLearner")->setCurrentIndex(1);
    child<QSpinBox>("spnReviewRate")->setValue(50);
    QTest::mouseClick(reviewButton(), Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown.back(), sjis("正答率が 50％より低い問題はありません"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.takeReviewWorksheet());
}

}  // namespace
}  // namespace sulkan
