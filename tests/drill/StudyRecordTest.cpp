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
