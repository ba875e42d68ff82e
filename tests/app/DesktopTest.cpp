// The desktop conventions set up at start-up: Japanese toolkit texts, titles, Enter on buttons,
// and the course folder named on the command line.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "Desktop.h"
#include "Prompter.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

TEST(DesktopTest, StandardButtonsAreJapaneseWhateverTheLocaleAndEnglishAgainAfterwards) {
    {
        DesktopConventions desktop;
        ASSERT_TRUE(desktop.japaneseTexts());
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No |
                             QDialogButtonBox::Cancel);
        EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("はい(&Y)"));
        EXPECT_EQ(box.button(QDialogButtonBox::No)->text(), QStringLiteral("いいえ(&N)"));
        EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    }
    QDialogButtonBox box(QDialogButtonBox::Yes);
    EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Yes"));
}

TEST(DesktopTest, TitlesStandAsGivenAndUntitledWindowsTakeTheApplicationTitle) {
    DesktopConventions desktop;
    // The toolkit appends a non-empty display name to every window title.
    EXPECT_TRUE(QGuiApplication::applicationDisplayName().isEmpty());

    QMessageBox untitled(QMessageBox::Information, QString(), QStringLiteral("本文"));
    untitled.show();
    EXPECT_EQ(untitled.windowTitle(), ApplicationTitle());

    QDialog titled;
    titled.setWindowTitle(QStringLiteral("名前登録"));
    titled.show();
    EXPECT_EQ(titled.windowTitle(), QStringLiteral("名前登録"));
}

}  // namespace
}  // namespace sulkan
