// What the record windows and the drill get from the main window, without the window.
#include "RecordSources.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFrame>

#include "MainDrillHost.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmClassRecords.h"
#include "TfrmKiroku.h"
#include "TfrmPrintMode.h"
#include "TfrmPrintOk.h"
#include "worksheet/FakeHost.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

class RecordSourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.ProgramFolder = course.folder();
        state.RecordsFolder = records.folder();
        state.LearnerName = sjis("共通");
        for (int lesson : {1, 2}) {
            state.Course.LessonFolders[lesson] = "kan" + std::to_string(lesson + 2) + "\\";
            state.Course.LessonBaseNames[lesson] = "k" + std::to_string(lesson + 2);
        }
        WriteSjisFile(course.path() / "kan3" / "k3.ind", {"三年"});
        WriteSjisFile(course.path() / "kan4" / "k4.ind", {"四年"});
        WriteSjisFile(course.path() / "kan4" / "復習.skn", {"[[unitX"});
        WriteSjisFile(course.path() / "kan4" / "notes.txt", {"x"});
        WriteSjisFile(course.path() / "kan4" / "taro.ini", {"[S11駅]", "1=x"});
        WriteSjisFile(records.path() / "LogOn" / "sname.txt", {"taro"});
    }
    TempDir course, records;
    AppState state;
};

TEST_F(RecordSourcesTest, TheViewerShowsTheCurrentLessonAndFilesCopiesUnderLessonOne) {
    state.CurrentUnit = {2, 1, 1, 0};
    const KirokuSource viewer = RecordViewerSource(state);
    EXPECT_EQ(viewer.learnerName, sjis("共通"));
    EXPECT_EQ(viewer.recordFile, course.folder() + "kan4\\" + sjis("共通.ini"));
    EXPECT_EQ(viewer.copyRecordFile, course.folder() + "kan3\\" + sjis("共通.ini"));
    EXPECT_EQ(viewer.lessonIndexPath, course.folder() + "kan4\\k4.ind");
    EXPECT_EQ(viewer.copyFileNames, std::vector<std::string>{sjis("復習.skn")});

    // Before a unit was chosen: lesson 1.
    state.CurrentUnit = {};
    EXPECT_EQ(RecordViewerSource(state).lessonIndexPath, course.folder() + "kan3\\k3.ind");
    EXPECT_TRUE(RecordViewerSource(state).copyFileNames.empty());
}

TEST_F(RecordSourcesTest, TheClassOverviewListsTheLearnersOfTheLesson) {
    const ClassRecordsSource overview = ClassRecordsSourceOf(state, 2);
    EXPECT_EQ(overview.lesson, 2);
    EXPECT_EQ(overview.lessonIndexPath, course.folder() + "kan4\\k4.ind");
    EXPECT_EQ(overview.saveFolder, records.folder());
    ASSERT_EQ(overview.learners.size(), 1u);
    EXPECT_EQ(overview.learners[0].learner, "taro");
    EXPECT_TRUE(ClassRecordsSourceOf(state, 1).learners.empty());
}

TEST_F(RecordSourcesTest, TheDrillHostWorksOnTheGivenPartsOnly) {
    test::FakeHost sheets;
    MemorySettingsStore settings;
    QCheckBox alternatives;
    QFrame panel;
    panel.setFixedWidth(113);
    TfrmPrintMode printMode(settings);
    TfrmPrintOk printDialog(sheets, printMode);
    int viewerShown = 0;
    bool erased = false;
    MainDrillHost host({sheets, state, settings, alternatives, panel, printDialog,
                        [&] {
                            ++viewerShown;
                            return erased;
                        }},
                       nullptr);

    host.setAlternativesShown(true);
    EXPECT_TRUE(alternatives.isChecked());
    alternatives.setChecked(false);
    EXPECT_FALSE(host.alternativesShown());
    EXPECT_EQ(host.commandPanelWidth(), 113);
    EXPECT_EQ(host.settings(), &settings);
    EXPECT_EQ(&host.worksheetHost(), &sheets);

    // Unit selection counts again after a run was written, or records were erased in the viewer.
    state.MarksRecountPending = false;
    host.showRecordViewer();
    EXPECT_EQ(viewerShown, 1);
    EXPECT_FALSE(state.MarksRecountPending);
    erased = true;
    host.showRecordViewer();
    EXPECT_TRUE(state.MarksRecountPending);
    state.MarksRecountPending = false;
    host.recordWritten();
    EXPECT_TRUE(state.MarksRecountPending);

    Worksheet sheet;
    sheet.isMaster = true;
    sheet.address = {2, 1, 1, 0};
    state.Course.SectionUnitTitles[1] = {sjis("駅")};
    state.Course.SectionUnitCounts[1] = 1;
    const RecordPlace place = host.recordPlace(sheet);
    EXPECT_EQ(place.file, course.folder() + "kan4\\" + sjis("共通.ini"));
}

}  // namespace
}  // namespace sulkan
