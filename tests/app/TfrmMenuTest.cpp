// Unit selection over a small course in a temporary folder, driven through its controls.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "CourseTree.h"
#include "Prompter.h"
#include "QtText.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmMenu.h"

namespace sulkan {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::TempDir;
using test::WriteSjisFile;

const QColor kAqua(0, 255, 255);

class TfrmMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Lesson 1 is complete, lesson 2 has other question files, lesson 3 has no index and
        // lesson 4 no folder.
        WriteSjisFile(course.path() / "Main.ind",
                      {"漢字のコース", "メモ", "三年の漢字,kan3\\_k3", "四年の漢字,kan4\\_k4",
                       "五年の漢字,kan5\\_k5", "六年の漢字,kan6\\_k6", ">>"});
        WriteSjisFile(kan3() / "k3.ind", {"三年", "[[sect1", "読み", "<<", "駅", "旅行", "荷物",
                                          ">>", "]]", "[[sect2", "書き", "<<", "海", ">>", "]]"});
        WriteSjisFile(kan3() / "k31.que", {"[[unit1", "<<ques", "（1）#　えき#", ">>", "]]",
                                           "[[unit2", "]]", "[[unit2R1", "]]", "[[unit2R3", "]]",
                                           "[[unit3", "]]", "[[unit3R1", "]]", "[[unit3R2", "]]"});
        WriteSjisFile(kan3() / "共通.ini",
                      {"[S11駅]", "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23",
                       "2=2003年10月16日 09:10 OOOO  4/ 4 100点 00:50", "[S13荷物]", "1=x"});
        WriteSjisFile(course.path() / "kan4" / "k4.ind",
                      {"四年", "[[sect1", "音読み", "<<", "試験", "結果", ">>", "]]"});
        WriteSjisFile(course.path() / "kan4" / "k41.que", {"[[unit1", "]]", "[[unit2", "]]"});
        std::filesystem::create_directories(course.path() / "kan5");

        state->ProgramFolder = course.folder();
        state->LearnerName = sjis("共通");
        state->MarksRecountPending = true;  // as after start-up
        menu = std::make_unique<TfrmMenu>(*state, prompter);
        menu->ReadCourseIndexHook = [this] { return readCourseIndex(); };
        readCourseIndex();
    }

    std::filesystem::path kan3() const { return course.path() / "kan3"; }

    // What the main window does for the window.
    bool readCourseIndex() {
        menu->clearLists();
        auto lines = LoadCourseIndex(state->ProgramFolder, prompter);
        if (!lines) return false;
        CourseIndex index = ReadCourseIndex(*lines, state->Course, prompter);
        menu->setCourseIndex(index.title, index.lessonTitles);
        return true;
    }

    template <typename T>
    T* child(const char* name) const {
        T* w = menu->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QListWidget* list(const char* name) const { return child<QListWidget>(name); }

    QStringList texts(const char* name) const {
        QStringList result;
        QListWidget* l = list(name);
        for (int i = 0; i < l->count(); ++i) result << l->item(i)->text();
        return result;
    }

    void clickItem(const char* name, int row) const {
        QListWidget* l = list(name);
        QCoreApplication::processEvents();  // lay out a list that was just shown
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                          l->visualItemRect(l->item(row)).center());
    }

    void reopen() {
        menu->reject();
        menu->show();
    }

    QColor unitPanelColour() const {
        return child<QLabel>("pnlUnit")->palette().color(QPalette::Window);
    }
    bool similarControlsShown() const {
        const bool shown = !list("lstRuidai")->isHidden();
        EXPECT_EQ(!child<QLabel>("lblRuidai")->isHidden(), shown);
        EXPECT_EQ(!child<QPushButton>("btnRuidaiClear")->isHidden(), shown);
        return shown;
    }

    TempDir course;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmMenu> menu;
};

TEST_F(TfrmMenuTest, FirstShowOpensTheFirstUnitWithItsMarks) {
    menu->show();
    EXPECT_EQ(child<QLabel>("pnlTitle")->text(), QStringLiteral("漢字のコース"));
    EXPECT_EQ(list("lstLesson")->currentRow(), 0);
    EXPECT_EQ(texts("lstSection"), (QStringList{u"読み"_s, u"書き"_s}));
    EXPECT_EQ(list("lstSection")->currentRow(), 0);
    EXPECT_EQ(list("lstUnit")->currentRow(), 0);
    EXPECT_EQ(state->CurrentUnit.lesson, 1);
    EXPECT_EQ(state->CurrentUnit.section, 1);
    EXPECT_FALSE(state->MarksRecountPending);

    // The items hold the bare titles; the lines drawn carry the similar mark and the count.
    EXPECT_EQ(texts("lstUnit"), (QStringList{u"駅"_s, u"旅行"_s, u"荷物"_s}));
    EXPECT_EQ(menu->unitLineText(0), u"　[2]駅"_s);
    EXPECT_EQ(menu->unitLineText(1), u"◎[ ]旅行"_s);
    EXPECT_EQ(menu->unitLineText(2), u"◎[1]荷物"_s);

    EXPECT_EQ(unitPanelColour(), kAqua);
    EXPECT_EQ(child<QLabel>("pnlUnit")->text(), u"項目を選んでください"_s);
    EXPECT_FALSE(similarControlsShown());
    EXPECT_EQ(menu->focusWidget(), list("lstUnit"));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(TfrmMenuTest, CaptionAndSizeFollowTheModeAndTheMainWindow) {
    QWidget mainWindow;
    mainWindow.resize(900, 640);
    TfrmMenu owned(*state, prompter, &mainWindow);
    owned.show();
    EXPECT_EQ(owned.windowTitle(), u"マスターファイルを開く"_s);
    EXPECT_EQ(owned.size(), QSize(900, 640));
    owned.reject();
    owned.setMode(QStringLiteral("Add"));
    owned.show();
    EXPECT_EQ(owned.windowTitle(), u"追加ファイルを開く"_s);
}

TEST_F(TfrmMenuTest, SimilarProblemsAreOfferedOnlyInUnbrokenOrder) {
    menu->show();
    list("lstUnit")->setCurrentRow(1);
    EXPECT_EQ(texts("lstRuidai"), QStringList{u"類題　2R1"_s});  // R3 without R2 is not offered
    EXPECT_TRUE(similarControlsShown());
    list("lstUnit")->setCurrentRow(2);
    EXPECT_EQ(texts("lstRuidai"), (QStringList{u"類題　3R1"_s, u"類題　3R2"_s}));
    list("lstUnit")->setCurrentRow(0);
    EXPECT_TRUE(texts("lstRuidai").isEmpty());
    EXPECT_FALSE(similarControlsShown());

    // A section without a question file still lists its units, without similar problems.
    list("lstUnit")->setCurrentRow(2);
    list("lstSection")->setCurrentRow(1);
    EXPECT_EQ(texts("lstUnit"), QStringList{u"海"_s});
    EXPECT_EQ(list("lstUnit")->currentRow(), 0);
    EXPECT_EQ(state->CurrentUnit.section, 2);
    EXPECT_FALSE(similarControlsShown());
    EXPECT_EQ(menu->unitLineText(0), u"　[ ]海"_s);
}

TEST_F(TfrmMenuTest, OkSendsTheFocusedOfTwoSelectedSimilarProblems) {
    menu->show();
    list("lstUnit")->setCurrentRow(2);
    clickItem("lstRuidai", 1);
    EXPECT_EQ(unitPanelColour(), QColor(Qt::red));
    EXPECT_EQ(child<QLabel>("pnlUnit")->text(), u"類題が選択されています"_s);
    clickItem("lstRuidai", 0);
    ASSERT_EQ(list("lstRuidai")->selectedItems().size(), 2);

    QTest::mouseClick(child<QPushButton>("btnOk"), Qt::LeftButton);
    EXPECT_EQ(menu->result(), QDialog::Accepted);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(state->CurrentUnit, (UnitAddress{1, 1, 3, 1}));
    EXPECT_TRUE(menu->similarChosen());
    EXPECT_EQ(state->SelectedLessonName, sjis("三年の漢字"));
    EXPECT_EQ(state->SelectedSectionName, sjis("読み"));
    EXPECT_EQ(state->SelectedUnitName, sjis("荷物"));

    menu->show();
    list("lstUnit")->setCurrentRow(2);
    clickItem("lstRuidai", 0);
    clickItem("lstRuidai", 1);
    QTest::mouseClick(child<QPushButton>("btnOk"), Qt::LeftButton);
    EXPECT_EQ(state->CurrentUnit, (UnitAddress{1, 1, 3, 2}));
}

TEST_F(TfrmMenuTest, ClearingTheSimilarChoiceOpensTheUnitItself) {
    menu->show();
    list("lstUnit")->setCurrentRow(2);
    clickItem("lstRuidai", 1);
    QTest::mouseClick(child<QPushButton>("btnRuidaiClear"), Qt::LeftButton);
    EXPECT_TRUE(list("lstRuidai")->selectedItems().isEmpty());
    EXPECT_EQ(list("lstRuidai")->currentItem(), nullptr);
    EXPECT_EQ(unitPanelColour(), kAqua);
    EXPECT_EQ(child<QLabel>("pnlUnit")->text(), u"項目を選んでください"_s);

    // Deselecting by hand also says that nothing is chosen any more.
    clickItem("lstRuidai", 0);
    clickItem("lstRuidai", 0);
    EXPECT_EQ(unitPanelColour(), kAqua);

    QTest::mouseClick(child<QPushButton>("btnOk"), Qt::LeftButton);
    EXPECT_EQ(state->CurrentUnit, (UnitAddress{1, 1, 3, 0}));
    EXPECT_FALSE(menu->similarChosen());
}

TEST_F(TfrmMenuTest, ReopeningKeepsTheChoiceAndClearsTheSimilarProblem) {
    menu->show();
    list("lstUnit")->setCurrentRow(2);
    clickItem("lstRuidai", 1);
    QTest::mouseClick(child<QPushButton>("btnOk"), Qt::LeftButton);

    menu->show();
    EXPECT_EQ(list("lstLesson")->currentRow(), 0);
    EXPECT_EQ(list("lstSection")->currentRow(), 0);
    EXPECT_EQ(list("lstUnit")->currentRow(), 2);
    EXPECT_EQ(texts("lstRuidai").size(), 2);
    EXPECT_TRUE(list("lstRuidai")->selectedItems().isEmpty());
    EXPECT_EQ(unitPanelColour(), kAqua);
    EXPECT_EQ(menu->focusWidget(), list("lstUnit"));
}

TEST_F(TfrmMenuTest, DoubleClickingAUnitOpensIt) {
    menu->show();
    QListWidget* units = list("lstUnit");
    const QPoint at = units->visualItemRect(units->item(1)).center();
    QTest::mouseClick(units->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(units->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(menu->result(), QDialog::Accepted);
    EXPECT_EQ(state->CurrentUnit, (UnitAddress{1, 1, 2, 0}));
    EXPECT_EQ(state->SelectedUnitName, sjis("旅行"));
}

TEST_F(TfrmMenuTest, NewSimilarProblemIsMarkedOnTheNextShowAfterASave) {
    menu->show();
    menu->reject();
    WriteSjisFile(kan3() / "k31.que", {"[[unit1", "]]", "[[unit1R1", "]]"});

    // Without a save of the question editor the marks stay as counted.
    menu->show();
    EXPECT_EQ(menu->unitLineText(0), u"　[2]駅"_s);
    EXPECT_EQ(texts("lstRuidai"), QStringList{u"類題　1R1"_s});  // the unit's list is re-read
    menu->reject();

    state->MarksRecountPending = true;
    menu->show();
    EXPECT_EQ(menu->unitLineText(0), u"◎[2]駅"_s);
    EXPECT_EQ(menu->unitLineText(1), u"　[ ]旅行"_s);
    EXPECT_FALSE(state->MarksRecountPending);
}

TEST_F(TfrmMenuTest, EveryLessonShowsTheSimilarMarksOfItsOwnFiles) {
    menu->show();
    ASSERT_EQ(menu->unitLineText(1), u"◎[ ]旅行"_s);
    list("lstLesson")->setCurrentRow(1);
    EXPECT_EQ(state->CurrentUnit.lesson, 2);
    EXPECT_EQ(texts("lstUnit"), (QStringList{u"試験"_s, u"結果"_s}));
    EXPECT_EQ(menu->unitLineText(1), u"　[ ]結果"_s);
    list("lstLesson")->setCurrentRow(0);
    EXPECT_EQ(menu->unitLineText(1), u"◎[ ]旅行"_s);
}

TEST_F(TfrmMenuTest, CountsFollowTheLearnerAndTheRecordsOnRecount) {
    state->LearnerName = sjis("花子");
    menu->show();
    EXPECT_EQ(menu->unitLineText(0), u"　[ ]駅"_s);
    EXPECT_EQ(menu->unitLineText(1), u"◎[ ]旅行"_s);

    // Logging on, or a record viewer that erased records, recounts.
    const QImage before = list("lstUnit")->grab().toImage();
    state->LearnerName = sjis("共通");
    WriteSjisFile(kan3() / "共通.ini", {"[S11駅]", "1=x", "2=x", "3=x", "[S12旅行]", "1=x"});
    menu->RecountUnitMarks();
    EXPECT_EQ(menu->unitLineText(0), u"　[3]駅"_s);
    EXPECT_EQ(menu->unitLineText(1), u"◎[1]旅行"_s);
    EXPECT_EQ(menu->unitLineText(2), u"◎[ ]荷物"_s);
    EXPECT_NE(list("lstUnit")->grab().toImage(), before);  // the drawn lines follow the marks
}

TEST_F(TfrmMenuTest, MissingLessonFolderOrIndexIsReportedAndNothingCanBeOpened) {
    menu->show();
    const std::string folder = state->ProgramFolder + "kan6\\";
    list("lstLesson")->setCurrentRow(3);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown.back(), sjis("ディレクトリ ") + folder + sjis(" が見つかりません"));
    EXPECT_EQ(state->CurrentUnit.lesson, -1);
    // Nothing was read, so the sections of the previous lesson stay listed, but they do not
    // belong to the selected lesson.
    EXPECT_EQ(texts("lstSection"), (QStringList{u"読み"_s, u"書き"_s}));
    QTest::mouseClick(child<QPushButton>("btnOk"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back(), sjis("メニューを選択してください"));
    EXPECT_TRUE(menu->isVisible());

    list("lstLesson")->setCurrentRow(2);
    EXPECT_EQ(prompter.shown.back(), sjis("ファイル ") + state->ProgramFolder + "kan5\\k5.ind" +
                                         sjis(" が見つかりません"));
    EXPECT_EQ(state->CurrentUnit.lesson, -1);
    EXPECT_TRUE(texts("lstSection").isEmpty());
    EXPECT_TRUE(texts("lstUnit").isEmpty());
}

TEST_F(TfrmMenuTest, OkWithoutACompleteChoiceAsksForOne) {
    menu->clearLists();
    menu->show();
    QTest::mouseClick(child<QPushButton>("btnOk"), Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown.back(), sjis("メニューを選択してください"));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_NE(menu->result(), QDialog::Accepted);
}

TEST_F(TfrmMenuTest, ClicksBelowTheTitlesKeepEveryListsChoice) {
    menu->show();
    clickItem("lstUnit", 1);
    QCoreApplication::processEvents();
    for (const char* name : {"lstLesson", "lstSection", "lstUnit"}) {
        QListWidget* l = list(name);
        const QPoint below(5, l->viewport()->height() - 5);
        ASSERT_FALSE(l->indexAt(below).isValid()) << name;
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, below);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, below);
        EXPECT_EQ(l->selectedItems().size(), 1) << name;
    }
    EXPECT_TRUE(menu->isVisible());  // a double click there opens nothing
    QTest::mouseClick(child<QPushButton>("btnOk"), Qt::LeftButton);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(menu->result(), QDialog::Accepted);
    EXPECT_EQ(state->CurrentUnit, (UnitAddress{1, 1, 2, 0}));
}

TEST_F(TfrmMenuTest, EscapeAndCancelCloseAndKeepTheClickedLessonAndSection) {
    menu->show();
    list("lstSection")->setCurrentRow(1);
    QTest::keyClick(list("lstUnit"), Qt::Key_Escape);
    EXPECT_EQ(menu->result(), QDialog::Rejected);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(state->CurrentUnit.lesson, 1);
    EXPECT_EQ(state->CurrentUnit.section, 2);

    menu->show();
    QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
    EXPECT_EQ(menu->result(), QDialog::Rejected);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(TfrmMenuTest, LeftAndRightMoveBetweenTheLists) {
    menu->show();
    QListWidget* lessons = list("lstLesson");
    QListWidget* sections = list("lstSection");
    QListWidget* units = list("lstUnit");
    QTest::keyClick(units, Qt::Key_Left);
    EXPECT_EQ(menu->focusWidget(), sections);
    QTest::keyClick(sections, Qt::Key_Left);
    EXPECT_EQ(menu->focusWidget(), lessons);
    QTest::keyClick(lessons, Qt::Key_Right);
    EXPECT_EQ(menu->focusWidget(), units);
    units->setFocus();
    QTest::keyClick(units, Qt::Key_Left);
    QTest::keyClick(sections, Qt::Key_Right);
    EXPECT_EQ(menu->focusWidget(), units);
    // The keys only move the focus.
    EXPECT_EQ(lessons->currentRow(), 0);
    EXPECT_EQ(sections->currentRow(), 0);
    EXPECT_EQ(units->currentRow(), 0);
}

TEST_F(TfrmMenuTest, ReloadedCourseIndexStartsAgainFromTheFirstLesson) {
    menu->show();
    list("lstLesson")->setCurrentRow(1);
    menu->reject();
    WriteSjisFile(course.path() / "Main.ind",
                  {"新しいコース", "メモ", "四年の漢字,kan4\\_k4", "三年の漢字,kan3\\_k3", ">>"});
    state->IndexReloadPending = true;
    menu->show();
    EXPECT_FALSE(state->IndexReloadPending);
    EXPECT_EQ(child<QLabel>("pnlTitle")->text(), u"新しいコース"_s);
    EXPECT_EQ(list("lstLesson")->currentRow(), 0);
    EXPECT_EQ(state->CurrentUnit.lesson, 1);
    EXPECT_EQ(texts("lstUnit"), (QStringList{u"試験"_s, u"結果"_s}));
    EXPECT_EQ(list("lstUnit")->currentRow(), 0);
}

}  // namespace
}  // namespace sulkan
