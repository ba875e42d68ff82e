// "sulkan export --unit L-S" of a section: a line per unit on standard error when it is a
// terminal and none into a pipe, and an export stopped half-way (Ctrl+C) leaves the file that
// was there, its leftover cleared by the next export into the folder.
#include <gtest/gtest.h>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <csignal>
#include <thread>

#include "Progress.h"
#include "SheetCommandLine.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::ReadRawFile;
using test::TempDir;
using test::WriteRawFile;
using test::WriteSjisFile;

// A course whose section 1-1 has units titled 単元1, 単元2, ... of lines lines each.
void WriteSection(const std::filesystem::path& folder, int units, int lines) {
    WriteSjisFile(folder / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
    std::vector<std::string> index{"三年", "[[sect1", "読み", "<<"};
    std::vector<std::string> que;
    for (int u = 1; u <= units; ++u) {
        index.push_back("単元" + std::to_string(u));
        que.push_back("[[unit" + std::to_string(u));
        que.push_back("<<ques");
        for (int i = 0; i < lines; ++i) que.push_back("（１）#やま#に登り#かわ#で遊ぶ");
        que.push_back(">>");
        que.push_back("]]");
    }
    index.push_back(">>");
    index.push_back("]]");
    WriteSjisFile(folder / "kan3" / "kan3.ind", index);
    WriteSjisFile(folder / "kan3" / "kan31.que", que);
}

// The program on a pseudo-terminal, as run from a shell; its settings in config.
class TerminalRun {
public:
    TerminalRun(const std::vector<std::string>& args, const std::filesystem::path& config) {
        std::vector<std::string> argv{SULKAN_PROGRAM};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (std::string& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        const std::string home = "XDG_CONFIG_HOME=" + config.string();
        const std::string runtime = "XDG_RUNTIME_DIR=" + config.string();
        m_pid = ::forkpty(&m_master, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            ::putenv(const_cast<char*>(home.c_str()));
            ::putenv(const_cast<char*>(runtime.c_str()));
            ::unsetenv("DISPLAY");
            ::execv(raw[0], raw.data());
            ::_exit(127);
        }
    }
    ~TerminalRun() {
        if (m_master >= 0) ::close(m_master);
    }

    bool started() const { return m_pid > 0; }
    // Reads what the program writes until text appears (true) or it has ended (false).
    bool readUntil(const std::string& text) {
        char buffer[256];
        while (m_output.find(text) == std::string::npos) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0) return false;  // the terminal closed with the program
            m_output.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }
    // Everything written, the terminal's CR before LF taken out.
    std::string output() {
        readUntil(std::string(1, '\0'));
        std::string text;
        for (char c : m_output)
            if (c != '\r') text.push_back(c);
        return text;
    }
    void interrupt() { ::kill(m_pid, SIGINT); }
    // The wait status of the program.
    int wait() {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        return status;
    }

private:
    pid_t m_pid = -1;
    int m_master = -1;
    std::string m_output;
};

class ExportProgressTest : public ::testing::Test {
protected:
    // The settings' and the runtime folder, which must be the user's own.
    void SetUp() override {
        std::filesystem::permissions(config.path(), std::filesystem::perms::owner_all);
    }

    std::vector<std::string> Args() const {
        return {"export", "--course", dir.path().string(), "--unit", "1-1", "--out", pdf.string()};
    }
    // Our temporary files in the folder.
    int Leftovers() const {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            n += entry.path().filename().string().starts_with(".~sulkan-");
        return n;
    }

    TempDir dir, config;
    std::filesystem::path pdf = dir.path() / "section.pdf";
};

TEST_F(ExportProgressTest, ALinePerUnitOnATerminalAndNoneIntoAPipe) {
    WriteSection(dir.path(), 3, 2);
    TerminalRun run(Args(), config.path());
    ASSERT_TRUE(run.started());
    const std::string output = run.output();
    const int status = run.wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_EQ(output, "1/3 単元 1-1-1 単元1\n2/3 単元 1-1-2 単元2\n3/3 単元 1-1-3 単元3\n");
    EXPECT_TRUE(ReadRawFile(pdf).starts_with("%PDF"));

    // Into a pipe (a script, a log): the same file, nothing else said.
    std::filesystem::remove(pdf);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.path().string()));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(config.path().string()));
    env.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(env);
    QStringList args;
    for (const std::string& a : Args()) args << QString::fromStdString(a);
    process.start(QStringLiteral(SULKAN_PROGRAM), args);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardError().toStdString(), "");
    EXPECT_TRUE(ReadRawFile(pdf).starts_with("%PDF"));
    EXPECT_EQ(Leftovers(), 0);

    // A unit that cannot be read is named between the lines and counted as done.
    WriteSjisFile(dir.path() / "kan3" / "kan3.ind", {"三年", "[[sect1", "読み", "<<", "単元1",
                                                     "単元2", "単元3", "単元4", ">>", "]]"});
    TerminalRun missing(Args(), config.path());
    const std::string said = missing.output();
    EXPECT_NE(said.find("3/4 単元 1-1-3 単元3\n単元 1-1-4: 単元がありません"), std::string::npos)
        << said;
    EXPECT_NE(said.find("\n4/4 単元 1-1-4 単元4\n"), std::string::npos) << said;
    EXPECT_EQ(WEXITSTATUS(missing.wait()), 1);
}

TEST_F(ExportProgressTest, AnExportStoppedHalfWayLeavesTheFileThatWasThere) {
    WriteSection(dir.path(), 40, 40);
    WriteRawFile(pdf, "last week's sheets");
    TerminalRun run(Args(), config.path());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.readUntil("1/40 "));
    run.interrupt();  // Ctrl+C
    const int status = run.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << run.output();
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_EQ(ReadRawFile(pdf), "last week's sheets");
    EXPECT_EQ(Leftovers(), 1);  // the pages so far, under a name of our own

    // The next export into the folder clears the leftover and writes the file.
    TerminalRun again(Args(), config.path());
    const std::string output = again.output();
    const int second = again.wait();
    EXPECT_EQ(WEXITSTATUS(second), 0) << output;
    EXPECT_NE(output.find("40/40 単元 1-1-40 単元40\n"), std::string::npos);
    EXPECT_TRUE(ReadRawFile(pdf).starts_with("%PDF"));
    EXPECT_EQ(Leftovers(), 0);
}

TEST_F(ExportProgressTest, AFileThatCannotBeWrittenIsNamedWithTheReason) {
    WriteSection(dir.path(), 2, 2);
    std::filesystem::create_directory(dir.path() / "taken.pdf");
    for (auto [out, reason] :
         {std::pair{dir.path() / "none" / "out.pdf", "フォルダがありません"},
          std::pair{dir.path() / "taken.pdf", "同じ名前のフォルダがあります"}}) {
        SCOPED_TRACE(out.string());
        TerminalRun run(
            {"export", "--course", dir.path().string(), "--unit", "1-1", "--out", out.string()},
            config.path());
        const std::string said = run.output();
        EXPECT_EQ(WEXITSTATUS(run.wait()), 1);
        EXPECT_NE(
            said.find("ファイル " + out.string() + " を保存できませんでした（" + reason + "）"),
            std::string::npos)
            << said;
        EXPECT_EQ(Leftovers(), 0);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "taken.pdf"));
}

TEST_F(ExportProgressTest, TheWalkOverASectionStepsOncePerUnitAndStopsWhenTold) {
    WriteSection(dir.path(), 4, 1);
    const auto args =
        ParseSheetArgs(SheetCommand::Export,
                       {"--course", dir.path().string(), "--unit", "1-1", "--out", pdf.string()});
    ASSERT_TRUE(args);
    ScriptedPrompter prompter;
    SheetShared shared;
    std::vector<std::pair<int, bool>> sheets;
    auto output = [&](Worksheet& worksheet, const SheetPictures&, bool answers) {
        sheets.emplace_back(worksheet.address.unit, answers);
        return true;
    };
    RecordingProgress progress;
    EXPECT_EQ(ForEachSheet(*args, prompter, shared, output, &progress), 0);
    EXPECT_EQ(progress.calls.front().number, 4);
    EXPECT_EQ(progress.calls.front().label, sjis("第1課 第1節"));
    EXPECT_EQ(progress.steps(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(progress.calls[1].label, sjis("単元 1-1-1 単元1"));
    EXPECT_EQ(progress.finishes(), 1);
    EXPECT_EQ(sheets.size(), 8u);

    // Stopped after the second unit: its sheets went out, the rest did not, and that is no
    // success.
    sheets.clear();
    RecordingProgress stopping;
    stopping.cancelAt = 2;
    EXPECT_EQ(ForEachSheet(*args, prompter, shared, output, &stopping), 1);
    EXPECT_EQ(stopping.steps(), (std::vector<int>{1, 2}));
    EXPECT_EQ(stopping.finishes(), 1);
    EXPECT_EQ(sheets,
              (std::vector<std::pair<int, bool>>{{1, false}, {1, true}, {2, false}, {2, true}}));

    // One unit alone reports nothing.
    RecordingProgress single;
    const auto one =
        ParseSheetArgs(SheetCommand::Export,
                       {"--course", dir.path().string(), "--unit", "1-1-2", "--out", pdf.string()});
    ASSERT_TRUE(one);
    EXPECT_EQ(ForEachSheet(*one, prompter, shared, output, &single), 0);
    EXPECT_TRUE(single.calls.empty());
}

}  // namespace
}  // namespace sulkan
