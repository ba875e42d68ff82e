// Progress: a run that finishes on every path and remembers a stop, the terminal reporter that
// writes a line per step to a terminal and nothing into a pipe, the progress dialog that appears
// only for long work and stops it from its "中止" button, and the staged file that replaces its
// target only when complete.
#include "Progress.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <thread>

#include "ProgressDialog.h"
#include "Sjis.h"
#include "StagedFile.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::ReadRawFile;
using test::TempDir;
using test::WriteRawFile;

// Everything that can be read from fd now, without waiting for more.
std::string Drain(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

TEST(ProgressRun, StartsStepsAndFinishesOnceAndRemembersAStop) {
    RecordingProgress progress;
    progress.cancelAt = 2;
    {
        ProgressRun run(&progress, 4, sjis("四つ"));
        EXPECT_TRUE(run.step(1, "a"));
        EXPECT_FALSE(run.step(2, "b"));
        EXPECT_TRUE(run.cancelled());
        // After a stop nothing more reaches the progress.
        EXPECT_FALSE(run.step(3, "c"));
    }
    EXPECT_EQ(progress.starts(), 1);
    EXPECT_EQ(progress.calls.front().number, 4);
    EXPECT_EQ(progress.calls.front().label, sjis("四つ"));
    EXPECT_EQ(progress.steps(), (std::vector<int>{1, 2}));
    EXPECT_EQ(progress.finishes(), 1);
    EXPECT_EQ(progress.calls.back().kind, RecordingProgress::Kind::Finish);

    // Without a progress the work just goes on.
    ProgressRun none(nullptr, 3, "x");
    EXPECT_TRUE(none.step(1, "a"));
    EXPECT_FALSE(none.cancelled());
}

TEST(TerminalProgress, WritesNothingIntoAPipe) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    {
        TerminalProgress progress(ends[1]);
        EXPECT_FALSE(progress.onTerminal());
        progress.start(2, sjis("第1課 第1節"));
        EXPECT_TRUE(progress.step(1, sjis("単元 1-1-1 山")));
        EXPECT_TRUE(progress.step(2, sjis("単元 1-1-2 川")));
        progress.finish();
    }
    ::close(ends[1]);
    EXPECT_EQ(Drain(ends[0]), "");
    ::close(ends[0]);
}

TEST(TerminalProgress, WritesALinePerStepInUtf8OnATerminal) {
    int master = -1, slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    // Lines as written, without the terminal turning LF into CR LF.
    termios mode{};
    ::tcgetattr(slave, &mode);
    mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    ::tcsetattr(slave, TCSANOW, &mode);
    TerminalProgress progress(slave);
    EXPECT_TRUE(progress.onTerminal());
    progress.start(40, sjis("第1課 第2節"));
    EXPECT_TRUE(progress.step(3, sjis("単元 1-2-3 漢字の読み")));
    EXPECT_TRUE(progress.step(4, ""));
    progress.finish();
    EXPECT_EQ(Drain(master), "3/40 単元 1-2-3 漢字の読み\n4/40\n");
    ::close(slave);
    ::close(master);
}

class ProgressDialogTest : public ::testing::Test {
protected:
    QWidget owner;
};

TEST_F(ProgressDialogTest, LongWorkShowsAWindowModalDialogThatStopsFromItsCancelButton) {
    owner.show();
    ProgressDialog progress(&owner, QStringLiteral("印刷"), std::chrono::milliseconds(30));
    progress.start(5, sjis("印刷のテスト 問題 を印刷しています"));
    QProgressDialog* dialog = progress.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isVisible());  // not before the work has taken its moment
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_TRUE(progress.step(1, sjis("№ 1")));
    std::this_thread::sleep_for(ProgressDialog::kUpdateEvery + std::chrono::milliseconds(20));
    EXPECT_TRUE(progress.step(2, sjis("№ 2")));
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("印刷"));
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->labelText(), QStringLiteral("印刷のテスト 問題 を印刷しています\n2/5　№ 2"));
    EXPECT_EQ(dialog->value(), 2);
    EXPECT_EQ(dialog->maximum(), 5);
    auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("中止"));

    // The click is taken while the work runs, and the next step says stop.
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(progress.step(3, sjis("№ 3")));
    progress.finish();
    EXPECT_EQ(progress.dialog(), nullptr);
    EXPECT_TRUE(owner.findChildren<QProgressDialog*>().isEmpty());
}

TEST_F(ProgressDialogTest, ShortWorkShowsNothing) {
    owner.show();
    ProgressDialog progress(&owner, QStringLiteral("学級の記録"));
    progress.start(50, "x");
    EXPECT_TRUE(progress.step(1, "a"));
    // Quick steps are not drawn one by one; the last one is.
    for (int i = 2; i < 50; ++i) EXPECT_TRUE(progress.step(i, "b"));
    ASSERT_NE(progress.dialog(), nullptr);
    EXPECT_EQ(progress.dialog()->labelText(), QStringLiteral("x\n1/50　a"));
    EXPECT_TRUE(progress.step(50, "c"));
    EXPECT_EQ(progress.dialog()->labelText(), QStringLiteral("x\n50/50　c"));
    EXPECT_FALSE(progress.dialog()->isVisible());
    progress.finish();
    // A second run on the same object starts afresh.
    progress.start(2, "z");
    EXPECT_TRUE(progress.step(1, "a"));
    progress.finish();
    EXPECT_TRUE(owner.findChildren<QProgressDialog*>().isEmpty());
}

TEST(StagedFile, ReplacesItsTargetOnlyWhenCommitted) {
    TempDir dir;
    const auto target = dir.path() / "sheets.pdf";
    WriteRawFile(target, "old");
    {
        StagedFile file(target);
        ASSERT_FALSE(file.path().empty());
        EXPECT_EQ(file.path().parent_path(), dir.path());
        WriteRawFile(file.path(), "half");
        // Given up (a failure, a stop): the target stays and the temporary file goes.
    }
    EXPECT_EQ(ReadRawFile(target), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // Shared with the class: the new file keeps the old one's permissions.
    std::filesystem::permissions(target, std::filesystem::perms(0664));
    StagedFile file(target);
    WriteRawFile(file.path(), "new");
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(ReadRawFile(target), "new");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0664));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(StagedFile, SaysWhyItCannotReplaceAFolderOrWriteIntoAMissingOne) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "out.pdf");
    StagedFile folder(dir.path() / "out.pdf");
    Result<> committed = folder.commit();
    ASSERT_FALSE(committed);
    EXPECT_EQ(committed.problem().reason, sjis("同じ名前のフォルダがあります"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "out.pdf"));

    StagedFile missing(dir.path() / "none" / "out.pdf");
    EXPECT_TRUE(missing.path().empty());
    ASSERT_FALSE(missing.ready());
    EXPECT_EQ(missing.ready().problem().reason, sjis("フォルダがありません"));
    committed = missing.commit();
    ASSERT_FALSE(committed);
    EXPECT_EQ(committed.problem().reason, sjis("フォルダがありません"));
}

TEST(StagedFile, LeavesAReadOnlyTargetAsItWas) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    const auto target = dir.path() / "kept.png";
    WriteRawFile(target, "kept");
    ::chmod(target.c_str(), 0444);
    StagedFile file(target);
    WriteRawFile(file.path(), "new");
    Result<> committed = file.commit();
    ASSERT_FALSE(committed);
    EXPECT_EQ(committed.problem().reason, sjis("書き込みが許可されていません"));
    EXPECT_EQ(ReadRawFile(target), "kept");
}

}  // namespace
}  // namespace sulkan
