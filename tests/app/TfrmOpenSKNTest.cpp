// The copy-file dialog over a small course in a temporary folder, driven through its controls.
#include "TfrmOpenSKN.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <memory>

#include "FileChecks.h"
#include "LineFile.h"
#include "QtText.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::TempDir;
using test::WriteSjisFile;

class TfrmOpenSKNTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Lesson 1 has three copy files, lesson 2 two, lesson 3 none, lesson 4 no folder;
        // lesson 5's line names no folder.
        WriteSjisFile(course.path() / "Main.ind",
                      {"コース", "", "一,kan1\\_k1", "二,kan2\\_k2", "三,kan3\\_k3", "四,kan4\\_k4",
                       "五", ">>", "後,after\\_a"});
        WriteSjisFile(course.path() / "kan1" / "b.skn", {"[[unitX", "<<header", "二番", ">>"});
        WriteSjisFile(course.path() / "kan1" / "a.skn", {"[[unitX", "<<header", "一番", ">>"});
        WriteSjisFile(course.path() / "kan1" / "c.skn", {"[[unitX"});
        WriteSjisFile(course.path() / "kan1" / "notes.txt", {"x"});
        WriteSjisFile(course.path() / "kan2" / "漢字.skn", {"[[unitX"});
        WriteSjisFile(course.path() / "kan2" / "z.skn", {"[[unitX"});
        std::filesystem::create_directories(course.path() / "kan3");
        WriteSjisFile(course.path() / "a.skn", {"[[unitX"});  // no lesson's file

        state.ProgramFolder = course.folder();
        dialog = std::make_unique<TfrmOpenSKN>(state, prompter);
    }

    QStringList texts(const QListWidget* list) const {
        QStringList result;
        for (int i = 0; i < list->count(); ++i) result << list->item(i)->text();
        return result;
    }
    std::string lessonFolder(int n) const {
        return course.folder() + "kan" + std::to_string(n) + "\\";
    }
    // The path as shown: the system's separators throughout.
    QString shownPath(int lesson, const std::string& name) const {
        return ToQString(NativeSeparators(lessonFolder(lesson) + sjis(name)));
    }
    void ok() { QTest::mouseClick(dialog->btnOk, Qt::LeftButton); }
    void reopen() {
        if (dialog->isVisible()) dialog->reject();
        dialog->show();
    }

    TempDir course;
    AppState state;
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmOpenSKN> dialog;
};

TEST_F(TfrmOpenSKNTest, CopyFilesThatLeadOutOfTheirFolderAreNotOffered) {
    // On Linux "..\\..\\x.skn" is one file name; the program would read it as a path.
    WriteSjisFile(course.path() / "kan1" / "..\\..\\x.skn", {"[[unitX"});
    WriteSjisFile(course.path() / "x.skn", {"[[unitX", "<<header", "外", ">>"});
    std::filesystem::create_symlink(course.path() / "x.skn", course.path() / "kan1" / "d.skn");
    dialog->show();
    EXPECT_EQ(texts(dialog->flbSKN), (QStringList{u"a.skn"_s, u"b.skn"_s, u"c.skn"_s}));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("..\\..\\x.skn"), std::string::npos);
    EXPECT_NE(prompter.shown[0].find("d.skn"), std::string::npos);
}

TEST_F(TfrmOpenSKNTest, FirstShowPreviewsTheFirstFileOfLessonOne) {
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), u"Sulkan - コピーファイルを開く"_s);
    EXPECT_EQ(texts(dialog->lstLesson), (QStringList{u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"?"_s}));
    EXPECT_EQ(dialog->lstLesson->currentRow(), 0);
    EXPECT_EQ(texts(dialog->flbSKN), (QStringList{u"a.skn"_s, u"b.skn"_s, u"c.skn"_s}));
    EXPECT_EQ(dialog->flbSKN->currentRow(), 0);
    EXPECT_EQ(dialog->edtFileName->text(), shownPath(1, "a.skn"));
    EXPECT_TRUE(dialog->edtFileName->isReadOnly());
    // The raw lines, tags included.
    EXPECT_EQ(texts(dialog->lstContents),
              (QStringList{u"[[unitX"_s, u"<<header"_s, u"一番"_s, u">>"_s}));
    EXPECT_EQ(state.LastCopyFileIndex, 0);
    EXPECT_EQ(dialog->focusWidget(), dialog->flbSKN);
    EXPECT_TRUE(prompter.shown.empty());

    dialog->flbSKN->setCurrentRow(1);
    EXPECT_EQ(dialog->edtFileName->text(), shownPath(1, "b.skn"));
    EXPECT_EQ(texts(dialog->lstContents).at(2), u"二番"_s);

    QTest::keyClick(dialog->flbSKN, Qt::Key_Left);
    EXPECT_EQ(dialog->focusWidget(), dialog->lstLesson);
    EXPECT_EQ(dialog->flbSKN->currentRow(), 1);  // the key moved the focus, not the selection
}

TEST_F(TfrmOpenSKNTest, TheThirdFileThenALessonWithTwoFilesSelectsTheFirst) {
    dialog->show();
    dialog->flbSKN->setCurrentRow(2);
    ok();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(state.LastCopyFileIndex, 2);
    EXPECT_EQ(state.ChosenCopyFileName, "c.skn");
    EXPECT_EQ(dialog->chosenPath(), lessonFolder(1) + "c.skn");
    EXPECT_EQ(dialog->chosenLesson(), 1);

    // The next showing re-reads the folder and keeps the file chosen last.
    WriteSjisFile(course.path() / "kan1" / "0.skn", {"[[unitX"});
    dialog->show();
    EXPECT_EQ(texts(dialog->flbSKN).size(), 4);
    EXPECT_EQ(dialog->flbSKN->currentRow(), 2);

    dialog->lstLesson->setCurrentRow(1);
    EXPECT_EQ(texts(dialog->flbSKN), (QStringList{u"z.skn"_s, u"漢字.skn"_s}));
    EXPECT_EQ(dialog->flbSKN->currentRow(), 0);
    EXPECT_EQ(dialog->edtFileName->text(), shownPath(2, "z.skn"));

    // A Japanese name comes back as the bytes it has on disk.
    dialog->flbSKN->setCurrentRow(1);
    ok();
    EXPECT_EQ(state.ChosenCopyFileName, sjis("漢字.skn"));
    EXPECT_EQ(dialog->chosenPath(), lessonFolder(2) + sjis("漢字.skn"));
    EXPECT_EQ(dialog->chosenLesson(), 2);
    EXPECT_EQ(state.LastCopyFileIndex, 1);
}

TEST_F(TfrmOpenSKNTest, LessonsWithoutCopyFilesKeepThePathButOkAsksForAChoice) {
    dialog->show();
    dialog->flbSKN->setCurrentRow(1);

    // A missing folder is reported and lesson 1's files stay listed.
    dialog->lstLesson->setCurrentRow(3);
    EXPECT_EQ(prompter.shown, std::vector<std::string>{FolderMissingText(lessonFolder(4))});
    EXPECT_EQ(dialog->flbSKN->count(), 3);

    // An empty folder, and a lesson line without a folder (not the program folder's files).
    for (int row : {2, 4}) {
        prompter.shown.clear();
        dialog->lstLesson->setCurrentRow(row);
        EXPECT_EQ(dialog->flbSKN->count(), 0);
        EXPECT_EQ(dialog->edtFileName->text(), shownPath(1, "b.skn"));
        ok();
        EXPECT_EQ(prompter.shown, std::vector<std::string>{sjis("単元を選択してください")});
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_EQ(state.LastCopyFileIndex, 0);
}

TEST_F(TfrmOpenSKNTest, TheCourseIndexIsReadOncePerRun) {
    dialog->show();
    WriteSjisFile(course.path() / "Main.ind", {"コース", "", "新,kan2\\_k2", ">>"});
    reopen();
    EXPECT_EQ(dialog->lstLesson->count(), 5);
    EXPECT_EQ(dialog->lstLesson->item(0)->text(), u"一"_s);
    EXPECT_EQ(dialog->flbSKN->count(), 3);
}

TEST_F(TfrmOpenSKNTest, AMissingCourseIndexClosesWithTheAbortResult) {
    std::filesystem::remove(course.path() / "Main.ind");
    QTimer::singleShot(1000, dialog.get(), [this] { dialog->reject(); });  // in case it hangs
    EXPECT_EQ(dialog->exec(), TfrmOpenSKN::AbortResult);
    EXPECT_EQ(prompter.shown,
              std::vector<std::string>{FileMissingText(course.folder() + "Main.ind")});

    // It tries again at the next showing.
    WriteSjisFile(course.path() / "Main.ind", {"コース", "", "一,kan1\\_k1", ">>"});
    dialog->show();
    EXPECT_EQ(dialog->lstLesson->count(), 1);
    EXPECT_EQ(dialog->flbSKN->count(), 3);
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

TEST_F(TfrmOpenSKNTest, MouseClicksChooseAsTheKeysDo) {
    dialog->show();
    auto click = [](QListWidget* list, int row) {
        const QRect item = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    };
    click(dialog->lstLesson, 1);  // lesson 2
    EXPECT_EQ(texts(dialog->flbSKN), (QStringList{u"z.skn"_s, u"漢字.skn"_s}));
    click(dialog->flbSKN, 1);
    EXPECT_EQ(dialog->edtFileName->text(), shownPath(2, "漢字.skn"));
    ok();
    EXPECT_EQ(dialog->chosenPath(), lessonFolder(2) + sjis("漢字.skn"));
    EXPECT_EQ(state.LastCopyFileIndex, 1);

    // The same with the arrow keys.
    reopen();
    dialog->flbSKN->setFocus();
    QTest::keyClick(dialog->flbSKN, Qt::Key_Up);
    EXPECT_EQ(dialog->edtFileName->text(), shownPath(2, "z.skn"));
}

}  // namespace
}  // namespace sulkan
