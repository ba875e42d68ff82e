// "sulkan print": sheets of a course handed to a print queue, one job per numbered copy, and the
// statuses of refusals and wrong arguments.
#include "PrintCommand.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

#include "TestSupport.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

class PrintCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        WriteSjisFile(dir.path() / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(dir.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "山", "壊れた単元", "川", ">>", "]]"});
        std::vector<std::string> que;
        for (auto [header, paper] : {std::pair{"[[unit1", "630"}, std::pair{"[[unit3", "891"}}) {
            for (const char* l : {header, "<<ques", "（１）#やま#に登る", ">>", "<<value", paper,
                                  "False", "40", "5", "5", "1", "7", ">>"})
                que.push_back(l);
            que.push_back("]]");
        }
        for (const char* l : {"[[unit2", "<<ques", "#a#", ">>", "<<font", "12", ">>", "]]"})
            que.push_back(l);
        WriteSjisFile(dir.path() / "kan3" / "kan31.que", que);
        queue.defaultName = "office";
        queue.queues["office"] = {QueueStatus::State::Ready, ""};
    }
    void TearDown() override { QStandardPaths::setTestModeEnabled(false); }

    int Print(std::vector<std::string> extra) {
        std::vector<std::string> args{"--course", dir.path().string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunPrintCommand(args, settings, &queue);
    }
    std::vector<std::string> JobNames() const {
        std::vector<std::string> names;
        for (const auto& job : queue.jobs) names.push_back(job.job.jobName);
        return names;
    }

    TempDir dir;
    MemorySettingsStore settings;
    RecordingPrintQueue queue;
};

TEST_F(PrintCommandTest, NumberedCopiesAreJobsOfTheirOwnOnTheSheetsPaper) {
    ASSERT_EQ(Print({"--unit", "1-1-3", "--numbered", "--start", "4", "--copies", "2"}), 0);
    EXPECT_EQ(JobNames(), (std::vector<std::string>{"三年の漢字//読み§1-3 川 問題 № 4",
                                                    "三年の漢字//読み§1-3 川 問題 № 5"}));
    for (const auto& job : queue.jobs) {
        EXPECT_EQ(job.queue, "office");
        EXPECT_EQ(job.job.copies, 1);
        EXPECT_EQ(job.job.media, "iso_a3_297x420mm");
    }
    // Unnumbered, one job of several copies, at the printer's resolution as asked.
    queue.jobs.clear();
    ASSERT_EQ(Print({"--unit", "1-1-1", "--answers", "--copies", "3", "--mode", "printer"}), 0);
    ASSERT_EQ(queue.jobs.size(), 1u);
    EXPECT_EQ(queue.jobs[0].job.jobName, "三年の漢字//読み§1-1 山 解答");
    EXPECT_EQ(queue.jobs[0].job.copies, 3);
    EXPECT_EQ(queue.jobs[0].job.media, "iso_a4_210x297mm");
}

TEST_F(PrintCommandTest, ASectionPrintsQuestionAndAnswerSheetsAndNamesTheBrokenUnit) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Print({"--unit", "1-1", "--printer", "office"}), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("単元 1-1-2: "), std::string::npos) << said;
    EXPECT_EQ(JobNames(), (std::vector<std::string>{
                              "三年の漢字//読み§1-1 山 問題", "三年の漢字//読み§1-1 山 解答",
                              "三年の漢字//読み§1-3 川 問題", "三年の漢字//読み§1-3 川 解答"}));
}

TEST_F(PrintCommandTest, APrinterThatCannotTakeTheJobsGivesStatusOne) {
    queue.queues["office"] = {QueueStatus::State::Refusing, "用紙切れ"};
    testing::internal::CaptureStderr();
    EXPECT_EQ(Print({"--unit", "1-1"}), 1);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("プリンタ office は印刷を受け付けていません（用紙切れ）"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find("印刷を受け付けていません", said.find("用紙切れ")), std::string::npos)
        << "a section stops at the first refusal: " << said;

    testing::internal::CaptureStderr();
    EXPECT_EQ(Print({"--unit", "1-1-1", "--printer", "nosuch"}), 1);
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("プリンタ nosuch が見つかりません"), std::string::npos) << said;
    EXPECT_TRUE(queue.jobs.empty());

    // Built without a print system.
    EXPECT_EQ(
        RunPrintCommand({"--course", dir.path().string(), "--unit", "1-1-1"}, settings, nullptr),
        1);
}

TEST_F(PrintCommandTest, MissingFilesAreNamedWithTheSystemsSeparatorsOnly) {
    const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
    const std::string course = dir.path().string() + sep;
    auto said = [&](std::vector<std::string> args) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(Print(std::move(args)), 1);
        return testing::internal::GetCapturedStderr();
    };
    // Only the system's separator in what is said, nowhere a "\\" between two parts.
    auto expectNamed = [&](const std::string& text, const std::string& path) {
        EXPECT_NE(text.find(path), std::string::npos) << text;
        EXPECT_EQ(text.find('\\'), std::string::npos) << text;
    };
    expectNamed(said({"--unit", "1-1-4"}),
                "単元がありません: " + course + "kan3" + sep + "kan31.que-U4");
    std::filesystem::rename(dir.path() / "kan3" / "kan31.que", dir.path() / "kan3" / "moved");
    expectNamed(said({"--unit", "1-1"}),
                "ファイル " + course + "kan3" + sep + "kan31.que が見つかりません");
    expectNamed(said({"--unit", "1-1-1"}), course + "kan3" + sep + "kan31.que-U1");
    std::filesystem::rename(dir.path() / "kan3" / "kan3.ind", dir.path() / "kan3" / "moved.ind");
    expectNamed(said({"--unit", "1-1-1"}),
                "ファイル " + course + "kan3" + sep + "kan3.ind が見つかりません");
    // A copy file typed with "\\" is looked for, and named, with the system's separator.
    expectNamed(said({"--copy", dir.path().string() + "\\old\\a.skn"}),
                "ファイル " + course + "old" + sep + "a.skn が見つかりません");
    EXPECT_TRUE(queue.jobs.empty());
}

TEST_F(PrintCommandTest, WrongArgumentsAreUsageErrors) {
    for (std::vector<std::string> args :
         {std::vector<std::string>{"--unit", "1-1-1", "--start", "3"},  // without --numbered
          {"--unit", "1-1-1", "--copies", "0"},
          {"--unit", "1-1-1", "--copies", "many"},
          {"--unit", "1-1-1", "--mode", "fast"},
          {"--unit", "1-1-1", "--out", "x.pdf"},  // export's option
          {"--unit", "1-1-1", "--printer"},
          {"--unit", "99999999999-1-1"},
          {}}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(Print(args), 2) << testing::PrintToString(args);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("sulkan print"), std::string::npos);
    }
    EXPECT_TRUE(queue.jobs.empty());
}

}  // namespace
}  // namespace sulkan
