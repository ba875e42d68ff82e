// The main window's "目次作成" command: the index editor opens only without worksheets, and what
// it writes reaches unit selection.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "Prompter.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmEditIndex.h"
#include "TfrmInputText.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

class EditIndexMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "山と川", ">>", "]]"});
        WriteSjisFile(course.path() / "kan3" / "kan31.que",
                      {"[[unit1", "<<ques", "（１）#やま#に登る", ">>", "<<value", "630", "False",
                       "40", "5", "5", "1", "7", ">>", "]]"});
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
        const AppServices services{&settings, &prompter, course.path().string(), 1280, 1024};
        w = std::make_unique<TfrmMain>(services);
        w->show();
        prompter.shown.clear();
    }

    // Triggers the menu item; returns whether the editor was shown, after act() ran in it.
    bool triggerEditor(const std::function<void()>& act = [] {}) {
        bool shown = false;
        QTimer::singleShot(0, w.get(), [&] {
            shown = w->frmEditIndex->isVisible();
            if (shown) act();
            if (w->frmEditIndex->isVisible()) w->frmEditIndex->reject();
        });
        w->mnuEditIndex->trigger();
        QCoreApplication::processEvents();
        return shown;
    }

    TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmMain> w;
};

TEST_F(EditIndexMenuTest, OpensOnlyWithoutWorksheetsAndItsSavesReachUnitSelection) {
    ASSERT_EQ(w->OpenUnitWorksheet({1, 1, 1, 0}, false), OpenResult::Opened);
    EXPECT_FALSE(triggerEditor());
    EXPECT_EQ(prompter.shown,
              std::vector<std::string>{sjis("開いているファイルをすべて閉じてください")});
    w->mnuCloseAllWIndows->trigger();
    ASSERT_EQ(w->state().OpenWorksheetCount, 0);

    EXPECT_TRUE(triggerEditor([this] {
        TfrmEditIndex& editor = *w->frmEditIndex;
        QTimer::singleShot(0, [&editor] {
            editor.frmInputText->memInput->setText(QStringLiteral("海と空"));
            editor.frmInputText->btnOk->click();
        });
        editor.btnAdd2->click();
        editor.btnOk->click();
    }));
    EXPECT_TRUE(w->state().IndexReloadPending);

    QStringList units;
    QTimer::singleShot(0, w->frmMenu, [&] {
        for (int i = 0; i < w->frmMenu->lstUnit->count(); ++i)
            units << w->frmMenu->lstUnit->item(i)->text();
        w->frmMenu->reject();
    });
    w->frmMenu->exec();
    EXPECT_EQ(units, QStringList({QStringLiteral("山と川"), QStringLiteral("海と空")}));
    EXPECT_FALSE(w->state().IndexReloadPending);
}

}  // namespace
}  // namespace sulkan
