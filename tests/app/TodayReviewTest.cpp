// What to review today in unit selection: the logged-on learner's due units, from that learner's
// own records only, and "今日の復習" opening the next one.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "CourseTree.h"
#include "Prompter.h"
#include "ReviewDue.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmMenu.h"

namespace sulkan {
namespace {

using test::WriteSjisFile;

class TodayReviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind",
                      {"漢字のコース", "メモ", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "駅", "旅行", ">>", "]]", "[[sect2", "書き",
                       "<<", "海", "山", ">>", "]]"});
        WriteSjisFile(
            course.path() / "kan3" / "kan31.que",
            {"[[unit1", "<<ques", "#えき#", ">>", "]]", "[[unit2", "<<ques", "#りょ#", ">>", "]]"});
        WriteSjisFile(
            course.path() / "kan3" / "kan32.que",
            {"[[unit1", "<<ques", "#うみ#", ">>", "]]", "[[unit2", "<<ques", "#やま#", ">>", "]]"});
        WriteSjisFile(course.path() / "kan3" / "太郎.ini",
                      {"[password]", "pw=abcd",  // 駅: 100 % on 10/01, due 10/02
                       "[S11駅]", "1=2003年10月01日 10:00 O  1/ 1 100点 00:10",
                       // 旅行: 100 % on 10/08 (second in a row, on time): due 10/11
                       "[S12旅行]", "1=2003年10月07日 10:00 O  1/ 1 100点 00:10",
                       "2=2003年10月08日 10:00 O  1/ 1 100点 00:10",
                       // 山: missed on 10/09, due at once
                       "[S22山]", "1=2003年10月09日 10:00 x  0/ 1   0点 00:10"});
        // Another learner's misses are not 太郎's to review.
        WriteSjisFile(course.path() / "kan3" / "花子.ini",
                      {"[S21海]", "1=2003年10月09日 10:00 x  0/ 1   0点 00:10"});
        state.ProgramFolder = course.folder();
        state.LearnerName = sjis("太郎");
        state.MarksRecountPending = true;
        menu = std::make_unique<TfrmMenu>(state, prompter);
        menu->TodayHook = [this] { return today; };
        menu->ReadCourseIndexHook = [this] {
            menu->clearLists();
            auto lines = LoadCourseIndex(state.ProgramFolder, prompter);
            if (!lines) return false;
            CourseIndex index = ReadCourseIndex(*lines, state.Course, prompter);
            menu->setCourseIndex(index.title, index.lessonTitles);
            return true;
        };
        menu->ReadCourseIndexHook();
    }

    template <typename T>
    T* child(const char* name) const {
        T* w = menu->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::vector<std::pair<int, int>> due() const {
        std::vector<std::pair<int, int>> out;
        for (const LessonUnit& u : menu->dueUnits().units) out.emplace_back(u.section, u.unit);
        return out;
    }

    test::TempDir course;
    AppState state;
    ScriptedPrompter prompter;
    CalendarDay today{2003, 10, 9};
    std::unique_ptr<TfrmMenu> menu;
};

TEST_F(TodayReviewTest, OwnDueUnitsLongestWaitingFirstMarkedInTheUnitList) {
    menu->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(due(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
    EXPECT_TRUE(child<QLabel>("lblTodayReview")->isVisible());
    EXPECT_EQ(child<QLabel>("lblTodayReview")->text(), QStringLiteral("今日の復習：2単元"));
    EXPECT_TRUE(child<QPushButton>("btnTodayReview")->isEnabled());
    // Section 1 is listed: 駅 is due, 旅行 is not.
    EXPECT_TRUE(menu->unitDue(0));
    EXPECT_FALSE(menu->unitDue(1));
    // The marks in front of the titles are as they were.
    EXPECT_EQ(menu->unitLineText(0), QStringLiteral("　[1]駅"));

    // Two days later 旅行 is due too; 駅 has waited longest.
    today = {2003, 10, 11};
    menu->RecountUnitMarks();
    EXPECT_EQ(due(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {1, 2}}));
    EXPECT_TRUE(menu->unitDue(1));
}

TEST_F(TodayReviewTest, InLearnerModeTheOwnDueListStaysAndTheClassOverviewIsHidden) {
    state.LearnerMode = true;
    menu->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(child<QPushButton>("btnClassRecords")->isHidden());
    EXPECT_EQ(due(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
    // Another learner logs on: 花子's own list, in which 太郎's units have no place.
    state.LearnerName = sjis("花子");
    menu->RecountUnitMarks();
    EXPECT_EQ(due(), (std::vector<std::pair<int, int>>{{2, 1}}));
}

TEST_F(TodayReviewTest, TodaysReviewOpensTheNextDueUnitAsOkWould) {
    menu->show();
    QCoreApplication::processEvents();
    QTest::mouseClick(child<QPushButton>("btnTodayReview"), Qt::LeftButton);
    EXPECT_EQ(menu->result(), QDialog::Accepted);
    EXPECT_EQ(state.CurrentUnit, (UnitAddress{1, 1, 1, 0}));
    EXPECT_EQ(state.SelectedUnitName, sjis("駅"));
}

TEST_F(TodayReviewTest, NothingDueNoLearnerAndRecordsNeverWritten) {
    const std::string before = test::ReadRawFile(course.path() / "kan3" / "太郎.ini");
    today = {2003, 9, 1};
    menu->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(due().empty());
    EXPECT_EQ(child<QLabel>("lblTodayReview")->text(), QStringLiteral("今日の復習はありません"));
    EXPECT_FALSE(child<QPushButton>("btnTodayReview")->isEnabled());

    // Without a learner nothing is read and the controls are hidden.
    state.LearnerName.clear();
    menu->RecountUnitMarks();
    EXPECT_TRUE(due().empty());
    EXPECT_FALSE(child<QLabel>("lblTodayReview")->isVisible());
    EXPECT_FALSE(child<QPushButton>("btnTodayReview")->isVisible());
    EXPECT_EQ(test::ReadRawFile(course.path() / "kan3" / "太郎.ini"), before);
}

TEST(ReviewDueLogic, OutlineFromTheCourseTablesNamesTheRecordSections) {
    CourseTables tables;
    tables.SectionUnitTitles[1] = {sjis("駅"), sjis("旅行")};
    tables.SectionUnitCounts[1] = 2;
    tables.SectionUnitTitles[2] = {sjis("海")};
    tables.SectionUnitCounts[2] = 1;
    const LessonOutline outline = OutlineFromTables(tables, 1, 2);
    ASSERT_EQ(outline.units.size(), 3u);
    EXPECT_EQ(outline.units[1].recordSection, sjis("S12旅行"));
    EXPECT_EQ(outline.units[2].section, 2);
    EXPECT_EQ(outline.units[2].recordSection, sjis("S21海"));
    EXPECT_EQ(OutlineFromTables(tables, 1, 1).units.size(), 2u);
}

}  // namespace
}  // namespace sulkan
