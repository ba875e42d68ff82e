// The help window over the program's own pages: topics, contents, search, and what is said when
// the pages are missing or the course folder holds a help file of the old format.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "Help.h"
#include "Prompter.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHelpFolders({QStringLiteral(SULKAN_SOURCE_DIR "/help")});
        SetUpHelp(&owner, &prompter, "");
    }
    void TearDown() override { SetHelpFolders({}); }

    QWidget owner;  // the help window goes with it
    ScriptedPrompter prompter;
};

TEST_F(HelpTest, EachContextNumberOpensItsTopicInTheOneHelpWindow) {
    const std::pair<int, QString> topics[] = {
        {710, QStringLiteral("目次ファイル")}, {720, QStringLiteral("問題ファイル")},
        {730, QStringLiteral("目次作成")},     {840, QStringLiteral("学級旗")},
        {842, QStringLiteral("ワープロ")},     {850, QStringLiteral("クリップボード")},
        {900, QStringLiteral("類題")},         {901, QStringLiteral("FAX")},
        {902, QStringLiteral("学習")}};
    HelpWindow* first = nullptr;
    QStringList pages;
    for (const auto& [context, word] : topics) {
        ShowHelpTopic(context);
        HelpWindow* w = CurrentHelpWindow();
        ASSERT_NE(w, nullptr) << context;
        if (!first) first = w;
        EXPECT_EQ(w, first) << "one window, reused";
        EXPECT_TRUE(w->isVisible());
        EXPECT_FALSE(w->isModal());
        EXPECT_NE(w->currentPage(), QStringLiteral("index.html")) << context;
        EXPECT_TRUE(w->txtPage->documentTitle().contains(word))
            << context << " " << w->txtPage->documentTitle().toStdString();
        EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("Sulkan++ ヘルプ")));
        EXPECT_FALSE(w->txtPage->toPlainText().trimmed().isEmpty());
        pages << w->currentPage();
    }
    pages.removeDuplicates();
    EXPECT_EQ(pages.size(), 9);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(HelpTest, UnknownNumbersAndTheUsageCommandOpenTheContentsWithHistory) {
    ShowHelpTopic(840);
    HelpWindow* w = CurrentHelpWindow();
    ASSERT_NE(w, nullptr);
    for (int unknown : {0, -1, 841, 99999}) {
        ShowHelpTopic(unknown);
        EXPECT_EQ(w->currentPage(), QStringLiteral("index.html")) << unknown;
    }
    ShowHelpTopic(901);
    ShowHelpContents();
    EXPECT_EQ(w->currentPage(), QStringLiteral("index.html"));
    // The contents list every page; back and forward walk the pages shown.
    EXPECT_GE(w->lstContents->count(), 15);
    ASSERT_TRUE(w->btnBack->isEnabled());
    w->btnBack->click();
    EXPECT_EQ(w->currentPage(), QStringLiteral("fax.html"));
    ASSERT_TRUE(w->btnForward->isEnabled());
    w->btnForward->click();
    EXPECT_EQ(w->currentPage(), QStringLiteral("index.html"));
}

TEST_F(HelpTest, SearchListsEveryPageHoldingAllWords) {
    ShowHelpContents();
    HelpWindow* w = CurrentHelpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->search(QStringLiteral("学級旗")).contains(QStringLiteral("class-flag.html")));
    // Width and case do not matter; full-width blanks separate words too.
    EXPECT_TRUE(w->search(QStringLiteral("ｆａｘ")).contains(QStringLiteral("fax.html")));
    EXPECT_TRUE(w->search(QStringLiteral("学級旗　classFlag.bmp"))
                    .contains(QStringLiteral("class-flag.html")));
    EXPECT_TRUE(w->search(QStringLiteral("学級旗 存在しない言葉ｘｙｚ")).isEmpty());

    w->edtSearch->setText(QStringLiteral("学級旗"));
    w->btnSearch->click();
    ASSERT_GE(w->lstHits->count(), 1);
    QListWidgetItem* hit = nullptr;
    for (int i = 0; i < w->lstHits->count(); ++i)
        if (w->lstHits->item(i)->data(Qt::UserRole).toString() == "class-flag.html")
            hit = w->lstHits->item(i);
    ASSERT_NE(hit, nullptr);
    Q_EMIT w->lstHits->itemClicked(hit);
    EXPECT_EQ(w->currentPage(), QStringLiteral("class-flag.html"));
    EXPECT_EQ(w->txtPage->textCursor().selectedText(), QStringLiteral("学級旗"));

    w->edtSearch->setText(QStringLiteral("存在しない言葉ｘｙｚ"));
    w->btnSearch->click();
    ASSERT_EQ(w->lstHits->count(), 1);
    EXPECT_EQ(w->lstHits->item(0)->text(), QStringLiteral("見つかりませんでした"));
}

TEST_F(HelpTest, MissingPagesAreReportedWithTheFolderAndNothingOpens) {
    test::TempDir empty;
    const QString folder = QString::fromStdString((empty.path() / "help").string());
    SetHelpFolders({folder});
    ShowHelpTopic(902);
    ShowHelpContents();
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_NE(prompter.shown[0].find(sjis("見つかりません")), std::string::npos);
    EXPECT_NE(prompter.shown[0].find(folder.toStdString()), std::string::npos);
}

TEST_F(HelpTest, AnOldHelpFileInTheCourseIsMentionedOncePerRun) {
    SetUpHelp(&owner, &prompter, "SLKDRILL.HLP");
    ShowHelpTopic(710);
    ShowHelpContents();
    ShowHelpTopic(720);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("SLKDRILL.HLP"), std::string::npos);
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    EXPECT_EQ(CurrentHelpWindow()->currentPage(), HelpPageOf(720));
}

TEST_F(HelpTest, HelpAskedForFromAModalDialogIsNotBlockedByIt) {
    QDialog dialog(&owner);
    bool blocked = true;
    QTimer::singleShot(0, &dialog, [&] {
        ShowHelpTopic(730);
        HelpWindow* w = CurrentHelpWindow();
        // A window is usable beside an application-modal dialog only as the dialog's child.
        if (w) blocked = w->parentWidget() != &dialog;
        dialog.accept();
    });
    dialog.exec();
    EXPECT_FALSE(blocked);
    // Asked for again without a dialog, it belongs to the main window once more.
    ShowHelpContents();
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    EXPECT_EQ(CurrentHelpWindow()->parentWidget(), &owner);
}

}  // namespace
}  // namespace sulkan
