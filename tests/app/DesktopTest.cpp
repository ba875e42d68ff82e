// The desktop conventions set up at start-up: Japanese toolkit texts, titles, Enter on buttons,
// and the course folder named on the command line.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
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

TEST(DesktopTest, EveryWindowCarriesTheProgramsIconDrawnForEachSize) {
    ASSERT_TRUE(QGuiApplication::windowIcon().isNull());
    {
        DesktopConventions desktop;
        const QIcon icon = QGuiApplication::windowIcon();
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(QGuiApplication::desktopFileName(), QString::fromLatin1(kDesktopFileId));
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
        QDialog dialog;
        EXPECT_EQ(dialog.windowIcon().cacheKey(), icon.cacheKey());
        // Our drawing, not a blank: the red mark round the last answer box.
        const QImage image = icon.pixmap(QSize(256, 256)).toImage();
        const QColor mark = image.pixelColor(106, 206);
        EXPECT_GT(mark.red(), 180);
        EXPECT_LT(mark.green(), 80);
    }
    EXPECT_TRUE(QGuiApplication::windowIcon().isNull());
}

TEST(DesktopTest, EnterPressesTheFocusedButtonOfTheMainWindow) {
    TempDir course, records;
    WriteSjisFile(course.path() / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
    WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                  {"三年", "[[sect1", "読み", "<<", "一", ">>", "]]"});
    MemorySettingsStore settings;
    settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
    ScriptedPrompter prompter;
    const AppServices services{&settings, &prompter, course.path().string(), 1024, 768};
    TfrmMain w(services);
    w.show();
    ASSERT_EQ(w.focusWidget(), w.btnOpenMaster);

    QSignalSpy clicked(w.btnOpenMaster, &QPushButton::clicked);
    bool menuShown = false;
    auto closeMenu = [&] {
        menuShown = w.frmMenu->isVisible();
        w.frmMenu->reject();
    };
    {
        // Without the conventions the toolkit ignores Enter outside dialogs.
        QTest::keyClick(w.btnOpenMaster, Qt::Key_Return);
        EXPECT_EQ(clicked.count(), 0);
    }
    DesktopConventions desktop;
    QTimer::singleShot(0, w.frmMenu, closeMenu);
    QTest::keyClick(w.btnOpenMaster, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(menuShown);

    w.btnOpenMaster->setEnabled(false);
    QTest::keyClick(w.btnOpenMaster, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(DesktopTest, InADialogEnterPressesTheFocusedButtonOnceAndEscapeCancels) {
    DesktopConventions desktop;
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* ok = new QPushButton(QStringLiteral("ＯＫ"));
    auto* other = new QPushButton(QStringLiteral("別の"));
    layout->addWidget(ok);
    layout->addWidget(other);
    ok->setDefault(true);
    QSignalSpy okClicked(ok, &QPushButton::clicked);
    QSignalSpy otherClicked(other, &QPushButton::clicked);
    dialog.show();
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherClicked.count(), 1);
    EXPECT_EQ(okClicked.count(), 0);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DesktopTest, KeptInsideMovesThenShrinksButNotBelowTheMinimum) {
    const QRect screen(0, 0, 1600, 1200);
    // Running 2 pixels past the bottom: moved up, size kept.
    EXPECT_EQ(KeptInside({100, 402, 600, 800}, {0, 0}, screen), QRect(100, 400, 600, 800));
    // Taller than the screen: as tall as the screen, at its top.
    EXPECT_EQ(KeptInside({100, 50, 600, 1300}, {0, 0}, screen), QRect(100, 0, 600, 1200));
    // A minimum larger than the screen: the top left stays on it.
    EXPECT_EQ(KeptInside({200, 100, 1800, 900}, {1700, 0}, screen), QRect(0, 100, 1700, 900));
}

TEST(DesktopTest, ADialogIsShownInsideTheScreenEvenWhenItSizesItselfOnShowing) {
    DesktopConventions desktop;
    // Unit selection makes itself as large as the main window while it is being shown.
    QWidget mainWindow;
    const QRect available = mainWindow.screen()->availableGeometry();
    mainWindow.resize(available.width() + 40, available.height() + 30);
    AppState state;
    ScriptedPrompter prompter;
    TfrmMenu menu(state, prompter, &mainWindow);
    menu.show();
    EXPECT_TRUE(available.contains(menu.frameGeometry()));
}

class StartFolderTest : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(m_before); }
    const QString m_before = QDir::currentPath();
    TempDir course;
};

TEST_F(StartFolderTest, NoArgumentKeepsTheWorkingFolderAndAFolderBecomesIt) {
    EXPECT_TRUE(EnterStartFolder({}).isEmpty());
    EXPECT_EQ(QDir::currentPath(), m_before);

    const QString folder = QString::fromStdString(course.path().string());
    EXPECT_TRUE(EnterStartFolder({folder}).isEmpty());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(folder).canonicalPath());

    // Relative to the folder the program was started in.
    std::filesystem::create_directories(course.path() / "sub");
    EXPECT_TRUE(EnterStartFolder({QStringLiteral("sub")}).isEmpty());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(folder + "/sub").canonicalPath());
}

TEST_F(StartFolderTest, MissingFolderFileOrSecondArgumentIsReportedAndNothingChanges) {
    const QString missing = QString::fromStdString((course.path() / "ない").string());
    EXPECT_EQ(EnterStartFolder({missing}),
              QStringLiteral("ディレクトリ ") + missing + QStringLiteral(" が見つかりません"));

    WriteSjisFile(course.path() / "Main.ind", {"コース"});
    const QString file = QString::fromStdString((course.path() / "Main.ind").string());
    EXPECT_FALSE(EnterStartFolder({file}).isEmpty());

    const QString folder = QString::fromStdString(course.path().string());
    EXPECT_FALSE(EnterStartFolder({folder, folder}).isEmpty());
    EXPECT_EQ(QDir::currentPath(), m_before);
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

TEST(DesktopTest, ToolkitTextsTheCatalogueLacksAreJapaneseToo) {
    DesktopConventions desktop;
    ASSERT_TRUE(desktop.japaneseTexts());
    EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Pages"),
              QStringLiteral("ページ指定"));
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"),
              QStringLiteral("フォルダ"));
    // What the catalogue has comes from it.
    EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Collate"),
              QStringLiteral("丁合い"));
    EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Something else"),
              QStringLiteral("Something else"));
}

TEST(DesktopTest, DatesAreJapaneseUnlessTheUserSaidOtherwise) {
    EXPECT_TRUE(WantsJapaneseDates("", "", "C.UTF-8"));
    EXPECT_TRUE(WantsJapaneseDates("", "en_GB.UTF-8", "ja_JP.UTF-8"));
    EXPECT_FALSE(WantsJapaneseDates("", "", "ja_JP.UTF-8"));
    EXPECT_FALSE(WantsJapaneseDates("", "ja_JP.eucJP", "C"));
    EXPECT_FALSE(WantsJapaneseDates("C", "", ""));
}

}  // namespace
}  // namespace sulkan
