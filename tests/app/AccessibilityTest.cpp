// Every control of the main window and of unit selection has a Japanese name a screen reader can
// announce.
#include <gtest/gtest.h>

#include "AccessibleNames.h"
#include "Desktop.h"
#include "Prompter.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::UnnamedControls;
using test::WriteSjisFile;

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "山と川", ">>", "]]"});
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
        const AppServices services{&settings, &prompter, course.path().string(), 1280, 1024};
        w = std::make_unique<TfrmMain>(services);
        w->show();
    }
    DesktopConventions desktop;
    TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmMain> w;
};

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) text += n + "\n";
    return text;
}

TEST_F(AccessibilityTest, EveryControlOfTheMainWindowAndUnitSelectionIsNamed) {
    // Named as the window showed, the dialogs it owns with it.
    EXPECT_EQ(Listed(UnnamedControls(w.get())), "");
    auto* name = w->findChild<QWidget*>(QStringLiteral("edtLogOnName"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->accessibleName(), QStringLiteral("学習者名"));
    EXPECT_FALSE(name->accessibleDescription().isEmpty());
    TfrmMenu* menu = w->frmMenu;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Listed(UnnamedControls(menu)), "");
}

}  // namespace
}  // namespace sulkan
