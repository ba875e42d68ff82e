// Start-up of the main window over a course in a temporary folder, with settings in memory and
// message boxes answered by script.
#include <gtest/gtest.h>

#include <QStandardPaths>

#include "Paper.h"
#include "Prompter.h"
#include "QtText.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "Startup.h"
#include "SystemFolders.h"
#include "TestSupport.h"
#include "TfrmDummy.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind", {"漢字のコース", "メモ", "三年の漢字,kan3\\_kan3",
                                                   "四年の漢字,kan4\\_kan4", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "一", ">>", "]]"});
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
    }

    std::unique_ptr<TfrmMain> start() {
        const AppServices services{&settings, &prompter, course.path().string(), 1024, 768};
        auto w = std::make_unique<TfrmMain>(services);
        w->show();
        return w;
    }

    MemorySettingsStore::Value stored(SettingsKey key, const std::string& name) {
        auto it = settings.values.find({key, name});
        return it == settings.values.end() ? MemorySettingsStore::Value{} : it->second;
    }

    TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
};

TEST_F(StartupTest, FirstStartWritesEveryDefaultAndOpensForTeachers) {
    settings.values.clear();
    QStandardPaths::setTestModeEnabled(true);
    auto w = start();
    std::string defaultRoot = DefaultRecordsRoot();
    QStandardPaths::setTestModeEnabled(false);

    EXPECT_FALSE(w->startupFailed());
    EXPECT_EQ(stored(SettingsKey::Product, "theSchool"), MemorySettingsStore::Value{std::string{}});
    EXPECT_EQ(stored(SettingsKey::Product, "ShowDoYouKnow"), MemorySettingsStore::Value{true});
    EXPECT_EQ(stored(SettingsKey::Product, "PaperSize"), MemorySettingsStore::Value{630});
    EXPECT_EQ(stored(SettingsKey::Product, "LogOnName"), MemorySettingsStore::Value{sjis("共通")});
    EXPECT_EQ(stored(SettingsKey::Product, "KeyLock"), MemorySettingsStore::Value{false});
    EXPECT_EQ(stored(SettingsKey::Shared, "RecDrive"), MemorySettingsStore::Value{defaultRoot});
    EXPECT_EQ(settings.values.size(), 6u);

    EXPECT_FALSE(w->state().LearnerMode);
    EXPECT_EQ(w->edtLogOnName->text(), QStringLiteral("共通"));
    EXPECT_EQ(w->state().LearnerName, sjis("共通"));
    EXPECT_TRUE(w->radA4->isChecked());
    EXPECT_EQ(w->state().CurrentPaper, (PaperRecord{630, 891}));
    EXPECT_EQ(w->focusWidget(), w->btnOpenMaster);
    EXPECT_TRUE(w->answerDisplay());
    EXPECT_TRUE(w->state().MarksRecountPending);
}

TEST_F(StartupTest, CourseIndexFillsUnitSelectionAndTables) {
    auto w = start();
    EXPECT_EQ(w->frmMenu->pnlTitle->text(), QStringLiteral("漢字のコース"));
    ASSERT_EQ(w->frmMenu->lstLesson->count(), 2);
    EXPECT_EQ(w->frmMenu->lstLesson->item(1)->text(), QStringLiteral("四年の漢字"));
    EXPECT_EQ(w->state().Course.LessonFolders[1], "kan3\\");
    EXPECT_EQ(w->state().Course.LessonBaseNames[2], "kan4");
    // The program folder is the working folder with exactly one trailing separator.
    EXPECT_EQ(w->state().ProgramFolder, course.path().string() + "/");
    EXPECT_EQ(w->lstDefaultData->count(), 30);
    EXPECT_EQ(w->lstDefaultData->item(0)->text(), QStringLiteral("<<value"));
    EXPECT_EQ(w->lstDefaultData->item(11)->text(), QStringLiteral("MS 明朝"));
}

TEST_F(StartupTest, OddPaperWidthTicksA4ButKeepsTheWidth) {
    settings.values[{SettingsKey::Product, "PaperSize"}] = 700;
    auto w = start();
    EXPECT_TRUE(w->radA4->isChecked());
    EXPECT_EQ(w->state().CurrentPaper, (PaperRecord{700, 990}));

    settings.values[{SettingsKey::Product, "PaperSize"}] = 771;
    auto b4 = start();
    EXPECT_TRUE(b4->radB4->isChecked());
    EXPECT_EQ(b4->state().CurrentPaper, (PaperRecord{771, 1090}));
}

TEST_F(StartupTest, MissingCourseIndexEndsTheProgram) {
    std::filesystem::remove(course.path() / "Main.ind");
    auto w = start();
    EXPECT_TRUE(w->startupFailed());
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back(),
              sjis("ファイル ") + course.path().string() + "/Main.ind" + sjis(" が見つかりません"));
    EXPECT_FALSE(w->isVisible());
}

TEST_F(StartupTest, MissingTitlePictureIsReportedAndStartUpGoesOn) {
    auto w = start();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("Title.BMP"), std::string::npos);
    EXPECT_FALSE(w->startupFailed());
    EXPECT_TRUE(w->frmDummy->btnTitle->icon().isNull());
}

TEST_F(StartupTest, TitlePictureIsFoundIgnoringCase) {
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(
        picture.save(QString::fromStdString((course.path() / "title.bmp").string()), "BMP"));
    auto w = start();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(w->frmDummy->btnTitle->size(), QSize(130, 100));
}

TEST_F(StartupTest, RecordsFoldersAreCreatedUnderTheRecordsRoot) {
    auto w = start();
    EXPECT_TRUE(std::filesystem::is_directory(records.path() / "Sulkan" / "LogOn"));
    EXPECT_EQ(w->state().LogOnFolder, records.folder() + "Sulkan/LogOn");
}

TEST_F(StartupTest, AnEmptyRecordsRootMeansTheDefaultOne) {
    settings.values[{SettingsKey::Shared, "RecDrive"}] = std::string();
    QStandardPaths::setTestModeEnabled(true);
    auto w = start();
    const std::string defaultRoot = DefaultRecordsRoot();
    QStandardPaths::setTestModeEnabled(false);
    EXPECT_EQ(w->state().LogOnFolder, defaultRoot + "Sulkan/LogOn");
    EXPECT_EQ(w->state().LearnerName, sjis("共通"));  // the start-up ran to its end
    EXPECT_FALSE(std::filesystem::exists(course.path() / "Sulkan"));
}

TEST_F(StartupTest, TheLearnerNameKeepsItsBytesThroughTheNameBox) {
    // ED 40 decodes to a character that encodes as FA 5C: the records must stay the learner's.
    const std::string name = "\xED\x40" + sjis("山");
    settings.values[{SettingsKey::Product, "LogOnName"}] = name;
    auto w = start();
    EXPECT_EQ(w->state().LearnerName, name);
}

TEST_F(StartupTest, UncreatableRecordsFolderIsReportedAndStopsTheRest) {
    test::WriteRawFile(records.path() / "Sulkan", "a file in the way");
    auto w = start();
    EXPECT_FALSE(w->startupFailed());
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.back().find("Sulkan"), std::string::npos);
    // The learner name is read only after the folders exist.
    EXPECT_TRUE(w->state().LearnerName.empty());
}

TEST_F(StartupTest, KeyLockStartsInLearnerModeWithOnlyTheLearnersControls) {
    settings.values[{SettingsKey::Product, "KeyLock"}] = true;
    auto w = start();
    EXPECT_TRUE(w->state().LearnerMode);
    EXPECT_EQ(w->focusWidget(), w->btnTest);
    EXPECT_EQ(w->btnLock->text(), QStringLiteral("生徒用"));
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             w->btnFpClose, w->btnOpenMaster, w->btnSave, w->btnStartPrint, w->btnEdit, w->btnKran,
             w->chkBekkai, w->btnKaitou, w->spnGyouSpace, w->spnMojiSize, w->pnlCopy,
             w->lblGyouSpace, w->lblMojiSize})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    for (QWidget* shown : std::initializer_list<QWidget*>{w->btnLock, w->btnTest, w->btnLogOn,
                                                          w->edtLogOnName, w->chkKaiSize})
        EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();
    EXPECT_FALSE(w->mnuFile->menuAction()->isVisible());
    EXPECT_FALSE(w->mnuEdit->menuAction()->isVisible());
    EXPECT_FALSE(w->mnuMainWin->menuAction()->isVisible());
    EXPECT_TRUE(w->mnuHelp->menuAction()->isVisible());
    EXPECT_FALSE(w->mnuDoYouKnow->isVisible());
    EXPECT_TRUE(w->mnuVersion->isVisible());

    // The lock opens again for teachers, and the choice is stored at once.
    w->btnLock->click();
    EXPECT_FALSE(w->state().LearnerMode);
    EXPECT_FALSE(w->btnOpenMaster->isHidden());
    EXPECT_TRUE(w->mnuFile->menuAction()->isVisible());
    EXPECT_EQ(stored(SettingsKey::Product, "KeyLock"), MemorySettingsStore::Value{false});
}

TEST_F(StartupTest, AnswerDisplayModesLockTheButton) {
    auto w = start();
    w->SetAnswerDisplayMode(2);
    EXPECT_FALSE(w->btnKaitou->isEnabled());
    EXPECT_FALSE(w->answerDisplay());
    w->SetAnswerDisplayMode(1);
    EXPECT_TRUE(w->answerDisplay());
    w->SetAnswerDisplayMode(0);
    EXPECT_TRUE(w->btnKaitou->isEnabled());
    w->btnKaitou->click();
    EXPECT_FALSE(w->answerDisplay());
}

// The start-up sequence without its window.
class StartupLogicTest : public StartupTest {
protected:
    StartupResult run() {
        state.ProgramFolder = WithTrailingSeparator(course.path().string());
        return Startup(state, settings, prompter);
    }
    bool stored(const std::string& name) const {
        return settings.values.count({SettingsKey::Product, name}) > 0;
    }
    AppState state;
};

TEST_F(StartupLogicTest, ReadsTheCourseAndTheSettingsAndMakesTheRecordsFolders) {
    settings.values[{SettingsKey::Product, "PaperSize"}] = 771;
    settings.values[{SettingsKey::Product, "KeyLock"}] = true;
    settings.values[{SettingsKey::Product, "ShowDoYouKnow"}] = false;
    WriteSjisFile(course.path() / "kanji.hlp", {"help"});
    const StartupResult start = run();
    EXPECT_EQ(start.status, StartupStatus::Ready);
    EXPECT_EQ(start.index.title, sjis("漢字のコース"));
    ASSERT_EQ(start.index.lessonTitles.size(), 2u);
    EXPECT_EQ(state.Course.LessonBaseNames[2], "kan4");
    EXPECT_EQ(start.paperWidth, 771);
    EXPECT_FALSE(start.showTips);
    EXPECT_EQ(start.helpFile, "kanji.hlp");
    EXPECT_TRUE(start.titlePicture.empty());  // missing, and said
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(state.LearnerMode);
    EXPECT_EQ(state.LearnerName, sjis("共通"));
    EXPECT_TRUE(state.MarksRecountPending);
    EXPECT_EQ(state.RecordsFolder, records.folder() + "Sulkan/");
    EXPECT_TRUE(std::filesystem::is_directory(records.path() / "Sulkan" / "LogOn"));
}

TEST_F(StartupLogicTest, AMissingCourseIndexStopsBeforeTheCoursesSettings) {
    std::filesystem::remove(course.path() / "Main.ind");
    EXPECT_EQ(run().status, StartupStatus::NoCourseIndex);
    EXPECT_TRUE(stored("theSchool"));
    for (const char* name : {"ShowDoYouKnow", "PaperSize", "LogOnName", "KeyLock"})
        EXPECT_FALSE(stored(name)) << name;
    EXPECT_TRUE(state.RecordsFolder.empty());
}

TEST_F(StartupLogicTest, AnUnmakeableRecordsFolderStopsBeforeTheLearnersSettings) {
    test::WriteRawFile(records.path() / "Sulkan", "a file in the way");
    const StartupResult start = run();
    EXPECT_EQ(start.status, StartupStatus::NoRecordsFolder);
    EXPECT_EQ(start.index.lessonTitles.size(), 2u);  // the course is still listed
    EXPECT_TRUE(stored("PaperSize"));
    EXPECT_FALSE(stored("LogOnName"));
    EXPECT_FALSE(stored("KeyLock"));
    EXPECT_TRUE(state.LearnerName.empty());
    EXPECT_TRUE(state.RecordsFolder.empty());
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.back().find("Sulkan"), std::string::npos);
}

TEST(RecordsFolders, OneRuleForTheWindowAndTheCommands) {
    MemorySettingsStore settings;
    settings.values[{SettingsKey::Shared, "RecDrive"}] = std::string("/srv/rec");
    EXPECT_EQ(RecordsRootSetting(settings), "/srv/rec");
    settings.values[{SettingsKey::Shared, "RecDrive"}] = std::string();
    QStandardPaths::setTestModeEnabled(true);
    EXPECT_EQ(RecordsRootSetting(settings), DefaultRecordsRoot());
    QStandardPaths::setTestModeEnabled(false);
    EXPECT_EQ(RecordsFolderIn("/srv/rec"), "/srv/rec/Sulkan/");
    EXPECT_EQ(RecordsFolderIn("D:\\"), "D:\\Sulkan\\");
    // The roster that the log-on dialog writes is the one the records command reads.
    EXPECT_EQ(RosterPathIn(LogOnFolderIn(RecordsFolderIn("/srv/rec"))),
              "/srv/rec/Sulkan/LogOn\\sname.txt");
}

TEST(Paper, TableAndHeightsFromWidth) {
    PaperTableType t = MakePaperTable();
    EXPECT_EQ(t[kB5], (PaperRecord{546, 771}));
    EXPECT_EQ(t[kA4], (PaperRecord{630, 891}));
    EXPECT_EQ(t[kB4], (PaperRecord{771, 1092}));
    EXPECT_EQ(t[kA3], (PaperRecord{891, 1260}));
    // The height of a current paper is derived, not taken from the table.
    EXPECT_EQ(PaperFromWidth(546).height, 772);
    EXPECT_EQ(PaperFromWidth(771).height, 1090);
    EXPECT_EQ(PaperFromWidth(891).height, 1260);
}

TEST(ProgramFolder, EndsInExactlyOneSeparator) {
    EXPECT_EQ(WithTrailingSeparator("/home/t/course"), "/home/t/course/");
    EXPECT_EQ(WithTrailingSeparator("/home/t/course/"), "/home/t/course/");
    EXPECT_EQ(WithTrailingSeparator("/"), "/");
    EXPECT_EQ(WithTrailingSeparator("D:\\"), "D:\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\kanji"), "C:\\kanji\\");
}

}  // namespace
}  // namespace sulkan
