// The record line and the record file it is appended to.
#include <gtest/gtest.h>

#include "Sjis.h"
#include "StudyRecord.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

TEST(StudyRecord, LineFormatWithSimilarPrefixAndLongRuns) {
    StudyRun run;
    run.when = {2003, 10, 15, 14, 5};
    run.marks = "OxOO";
    run.correct = 3;
    run.total = 4;
    run.score = 75;
    run.elapsedSeconds = 83;
    EXPECT_EQ(StudyRecordLine(run), sjis("2003年10月15日 14:05 OxOO  3/ 4  75点 01:23"));
    run.prefix = SimilarPrefix(1);
    EXPECT_EQ(StudyRecordLine(run), sjis("類題1)2003年10月15日 14:05 OxOO  3/ 4  75点 01:23"));
    EXPECT_EQ(ElapsedText(100 * 60 + 5), "100:05");
    EXPECT_EQ(SimilarPrefix(0), "");
}

TEST(StudyRecord, LinesAppendUnderNumberedKeysInCp932) {
    test::TempDir dir;
    const std::string path = dir.folder() + "learner.ini";
    const std::string section = sjis("S12漢字の読み");
    ProfileRecordSink sink(path, section);
    EXPECT_TRUE(sink.lines().empty());
    ASSERT_TRUE(sink.append(sjis("一回目")));
    ASSERT_TRUE(sink.append(sjis("二回目")));
    EXPECT_EQ(sink.lines(), (std::vector<std::string>{sjis("一回目"), sjis("二回目")}));
    EXPECT_EQ(test::ReadRawFile(dir.path() / "learner.ini"),
              "[" + section + "]\r\n1=" + sjis("一回目") + "\r\n2=" + sjis("二回目") + "\r\n");

    ProfileRecordSink nowhere("", section);
    const SaveResult refused = nowhere.append("x");
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.error.empty());
}

}  // namespace
}  // namespace sulkan

#include <sys/wait.h>
#include <unistd.h>

#include "LineFile.h"
#include "ProfileFile.h"

namespace sulkan {
namespace {

TEST(StudyRecord, TwoProgramsAppendingToOneFileLoseNothing) {
    test::TempDir dir;
    const std::string path = dir.folder() + "learner.ini";
    const std::string section = sjis("S12漢字の読み");
    constexpr int kEach = 200;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            ProfileRecordSink sink(path, section);
            int failed = 0;
            for (int i = 0; i < kEach; ++i)
                if (!sink.append("p" + std::to_string(c) + " run " + std::to_string(i))) ++failed;
            _exit(failed == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const ProfileLines profile = ProfileFile(path).load();
    const std::vector<std::string> keys = profile.keys(section);
    ASSERT_EQ(keys.size(), 2u * kEach);
    int next[2] = {0, 0};
    for (std::size_t k = 0; k < keys.size(); ++k) {
        EXPECT_EQ(keys[k], std::to_string(k + 1));
        // Every line whole, and each program's lines in the order it wrote them.
        const std::string value = profile.read(section, keys[k], "?");
        ASSERT_TRUE(value.starts_with("p0 run ") || value.starts_with("p1 run ")) << value;
        const int c = value[1] - '0';
        EXPECT_EQ(value, "p" + std::to_string(c) + " run " + std::to_string(next[c]++));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "learner.ini.lock"));
}

TEST(StudyRecord, AFailedWriteNamesTheFileAndTheReason) {
    test::TempDir dir;
    // A file where the per-lesson folder should be: the folder cannot be made.
    test::WriteRawFile(dir.path() / "k1", "");
    ProfileRecordSink sink(dir.folder() + "k1\\taro.ini", "S11a");
    const SaveResult saved = sink.append("line");
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.error.find("taro.ini"), std::string::npos) << saved.error;
    EXPECT_FALSE(saved.reason.empty());
}

}  // namespace
}  // namespace sulkan
