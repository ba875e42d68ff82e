// From the class overview to a review sheet in a worksheet window of the main window: opened from
// unit selection, which makes way for it, unsaved, and saved only as a copy file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QTimer>
#include <memory>

#include "Prompter.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmClassRecords.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"
#include "TfrmPrint.h"

namespace sulkan {
namespace {

using test::WriteSjisFile;

class ReviewSheetWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind",
                      {"漢字のコース", "メモ", "三年の漢字,kan3\\_k3", ">>"});
        WriteSjisFile(kan3() / "k3.ind",
                      {"三年", "[[sect1", "読み", "<<", "駅", "旅行", ">>", "]]"});
        WriteSjisFile(kan3() / "k31.que", {"[[unit1",
                                           "<<ques",
                                           "（1）#えき#の前",
                                           "（2）#みち#を歩く",
                                           ">>",
                                           "<<value",
                                           "771",
                                           "True",
                                           "30",
                                           "5",
                                           "5",
                                           "1",
                                           "7",
                                           ">>",
                                           "]]",
                                           "[[unit2",
                                           "<<ques",
                                           "#りょこう#",
                                           ">>",
                                           "]]"});
        WriteSjisFile(kan3() / "taro.ini",
                      {"[S11駅]", "1=2003年10月15日 14:05 xO  1/ 2  50点 01:23"});
        WriteSjisFile(kan3() / "hana.ini",
                      {"[S11駅]", "1=2003年10月15日 14:05 OO  2/ 2 100点 01:23"});
        WriteSjisFile(records.path() / "Sulkan" / "LogOn" / "sname.txt", {"taro", "hana"});
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
    }

    std::filesystem::path kan3() const { return course.path() / "kan3"; }

    static void chooseFirstUnitAndCompose(QWidget* overview) {
        overview->findChild<QTabWidget*>(QStringLiteral("tabViews"))->setCurrentIndex(1);
        overview->findChild<QListWidget*>(QStringLiteral("lstUnits"))->item(0)->setSelected(true);
        overview->findChild<QPushButton*>(QStringLiteral("btnReviewSheet"))->click();
    }

    std::unique_ptr<TfrmMain> start() {
        const AppServices services{&settings, &prompter, course.path().string(), 1024, 768};
        auto w = std::make_unique<TfrmMain>(services);
        w->show();
        return w;
    }

    test::TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
};

TEST_F(ReviewSheetWindowTest, TheClassesMissesOpenAsAnUnsavedWorksheetWindow) {
    const std::string taroBefore = test::ReadRawFile(kan3() / "taro.ini");
    auto w = start();
    // The title window is a child window too.
    const qsizetype children = w->mdiArea->subWindowList().size();
    w->frmMenu->show();
    QTimer::singleShot(0, w->frmClassRecords,
                       [&] { chooseFirstUnitAndCompose(w->frmClassRecords); });
    w->frmMenu->findChild<QPushButton*>(QStringLiteral("btnClassRecords"))->click();
    EXPECT_FALSE(w->frmMenu->isVisible());  // unit selection made way for the sheet
    EXPECT_EQ(w->frmMenu->result(), QDialog::Rejected);

    TfrmPrint* sheet = w->activeWorksheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(w->mdiArea->subWindowList().size(), children + 1);
    EXPECT_EQ(sheet->worksheet().content.questionLines, test::Sjis({"（1）#えき#の前"}));
    EXPECT_EQ(sheet->worksheet().content.title, sjis("復習：駅"));
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("復習：駅"));
    EXPECT_EQ(sheet->worksheet().params.PaperWidth, 771);
    EXPECT_FALSE(sheet->worksheet().isMaster);
    EXPECT_TRUE(sheet->worksheet().modified);

    // It is no unit of a question file: "編集" opens no editor on it.
    bool editorShown = false;
    QTimer::singleShot(0, w.get(), [&] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            editorShown = true;
            modal->reject();
        }
    });
    w->findChild<QPushButton*>(QStringLiteral("btnEdit"))->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(editorShown);

    // Saved as a copy file, with its lines' bytes and its title.
    const std::string copy = course.folder() + "review.skn";
    prompter.fileNames.push_back(copy);
    ASSERT_TRUE(sheet->saveAsCopy()) << (prompter.shown.empty() ? "" : prompter.shown.back());
    const std::string saved = test::ReadRawFile(copy);
    EXPECT_NE(saved.find(sjis("（1）#えき#の前") + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find(sjis("復習：駅") + "\r\n"), std::string::npos);
    EXPECT_EQ(saved.find(sjis("#みち#")), std::string::npos);

    // The saved sheet is named by its file now; another sheet of the same title takes the title,
    // and one more a number of its own.
    auto composeAgain = [&] {
        w->frmMenu->show();
        QTimer::singleShot(0, w->frmClassRecords,
                           [&] { chooseFirstUnitAndCompose(w->frmClassRecords); });
        w->frmMenu->findChild<QPushButton*>(QStringLiteral("btnClassRecords"))->click();
        return w->activeWorksheet()->windowTitle();
    };
    EXPECT_EQ(composeAgain(), QStringLiteral("復習：駅"));
    EXPECT_EQ(composeAgain(), QStringLiteral("復習：駅（2）"));
    EXPECT_EQ(w->mdiArea->subWindowList().size(), children + 3);
    // Reading the records wrote nothing.
    EXPECT_EQ(test::ReadRawFile(kan3() / "taro.ini"), taroBefore);
    EXPECT_FALSE(std::filesystem::exists(kan3() / "k3.ini"));
}

TEST_F(ReviewSheetWindowTest, ClosingTheOverviewOpensNothing) {
    auto w = start();
    const qsizetype children = w->mdiArea->subWindowList().size();
    w->frmMenu->show();
    QTimer::singleShot(0, w->frmClassRecords, [&] {
        w->frmClassRecords->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
    });
    w->frmMenu->findChild<QPushButton*>(QStringLiteral("btnClassRecords"))->click();
    EXPECT_TRUE(w->frmMenu->isVisible());
    EXPECT_EQ(w->activeWorksheet(), nullptr);
    EXPECT_EQ(w->mdiArea->subWindowList().size(), children);
}

}  // namespace
}  // namespace sulkan
