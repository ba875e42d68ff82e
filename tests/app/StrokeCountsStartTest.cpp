// Which starts of the program read kanjidic, as the system sees the files it opens: the window's
// start reads it (on a thread of its own) before anyone asks; help, version and the modes without
// a window never open it.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <optional>

#include "Kanji.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

class StrokeCountsStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
            GTEST_SKIP() << "strace is not installed";
        // A container may forbid tracing.
        if (QProcess::execute(
                QStringLiteral("strace"),
                {QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("true")}) != 0)
            GTEST_SKIP() << "strace cannot trace here";
        WriteSjisFile(course.path() / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"漢字", "[[sect1", "読み", "<<", "山と川", ">>", "]]"});
        WriteSjisFile(course.path() / "kan3" / "kan31.que",
                      {"[[unit1", "<<ques", "（１）<U>やま</>#山#に登る", ">>", "<<value", "630",
                       "False", "40", "5", "5", "1", "7", ">>", "]]"});
    }

    // Starts the program under strace, which logs every file it opens.
    void start(const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), QString::fromStdString(home.path().string()));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"),
                   QString::fromStdString((home.path() / "config").string()));
        env.insert(QStringLiteral("XDG_DATA_HOME"),
                   QString::fromStdString((home.path() / "data").string()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString(course.path().string()));
        QStringList args = {QStringLiteral("-f"), QStringLiteral("-e"),
                            QStringLiteral("trace=openat,open"), QStringLiteral("-o"), log};
        args << QStringLiteral(SULKAN_PROGRAM) << arguments;
        process.start(QStringLiteral("strace"), args);
        ASSERT_TRUE(process.waitForStarted());
    }
    QByteArray opened() const {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The mode ends by itself; what it opened.
    QByteArray run(const QStringList& arguments) {
        start(arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ').toStdString();
        return opened();
    }

    TempDir course, home;
    const QString log = QString::fromStdString((home.path() / "strace.log").string());
    QProcess process;
};

TEST_F(StrokeCountsStartTest, TheWindowsStartReadsKanjidicAtOnce) {
    start({QString::fromStdString(course.path().string())});
    // The program runs until it is closed: wait for the read, however the start goes on.
    QElapsedTimer waited;
    waited.start();
    while (!opened().contains(kKanjidicPath) && waited.elapsed() < 20000) QThread::msleep(50);
    const QByteArray files = opened();
    // strace's first line is the program's own start; ending it ends strace.
    const qint64 pid = files.left(files.indexOf(' ')).toLongLong();
    ASSERT_GT(pid, 0) << files.left(200).toStdString();
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    process.waitForFinished(10000);
    EXPECT_TRUE(files.contains(kKanjidicPath)) << "no kanjidic opened within 20 s";
}

TEST_F(StrokeCountsStartTest, HelpVersionAndTheModesWithoutAWindowNeverOpenIt) {
    const QString dir = QString::fromStdString(course.path().string());
    const QString out = QString::fromStdString((home.path() / "sheet.pdf").string());
    const QList<QStringList> modes = {
        {QStringLiteral("--help")},
        {QStringLiteral("--version")},
        {QStringLiteral("check"), dir},
        {QStringLiteral("export"), QStringLiteral("--course"), dir, QStringLiteral("--unit"),
         QStringLiteral("1-1-1"), QStringLiteral("--practice"), QStringLiteral("--out"), out},
        {QStringLiteral("records"), QStringLiteral("--course"), dir, QStringLiteral("--lesson"),
         QStringLiteral("1")},
        {QStringLiteral("print"), QStringLiteral("--course"), dir, QStringLiteral("--unit"),
         QStringLiteral("1-1-9"), QStringLiteral("--printer"), QStringLiteral("none")},
    };
    for (const QStringList& mode : modes) {
        SCOPED_TRACE(mode.join(u' ').toStdString());
        const QByteArray files = run(mode);
        // It ran (the program's own files were opened) and left kanjidic alone.
        EXPECT_TRUE(files.contains("libc.so")) << files.left(200).toStdString();
        EXPECT_FALSE(files.contains(kKanjidicPath));
        QFile::remove(log);
    }
    // The practice sheet was written all the same: the export needs the face, not the counts.
    EXPECT_TRUE(QFile::exists(out));
}

}  // namespace
}  // namespace sulkan
