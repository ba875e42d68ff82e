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
    const Result<> refused = nowhere.append("x");
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(refused.problem().message.empty());
}

}  // namespace
}  // namespace sulkan

#include <sys/wait.h>
#include <unistd.h>

#include "DrillHost.h"
#include "LineFile.h"
#include "ProfileFile.h"

namespace sulkan {
namespace {

using test::Sjis;

TEST(StudyRecord, ANewRunTakesAKeyAfterTheLargestSoAGapLosesNothing) {
    test::TempDir dir;
    // Key 3 was deleted by hand; "count + 1" would overwrite key 4.
    test::WriteSjisFile(dir.path() / "taro.ini",
                        {"[S11駅]", "1=a", "2=b", "4=d", "", "[S12x]", "1=z"});
    ProfileRecordSink sink(dir.folder() + "taro.ini", sjis("S11駅"));
    ASSERT_TRUE(sink.append("e"));
    EXPECT_EQ(sink.lines(), (std::vector<std::string>{"a", "b", "d", "e"}));
    EXPECT_EQ(test::ReadRawFile(dir.path() / "taro.ini"),
              sjis("[S11駅]\r\n1=a\r\n2=b\r\n4=d\r\n5=e\r\n\r\n[S12x]\r\n1=z\r\n"));
}

TEST(StudyRecord, ASectionTheFileCannotHoldIsAFailureNamingTheFile) {
    test::TempDir dir;
    test::WriteSjisFile(dir.path() / "taro.ini", {"[S11a]", "1=x"});
    const std::string before = test::ReadRawFile(dir.path() / "taro.ini");
    ProfileRecordSink sink(dir.folder() + "taro.ini", "S12a\r\nb");
    const Result<> saved = sink.append("line");
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.problem().message.find("taro.ini"), std::string::npos)
        << saved.problem().message;
    EXPECT_NE(saved.problem().message.find(sjis("改行")), std::string::npos)
        << saved.problem().message;
    EXPECT_EQ(test::ReadRawFile(dir.path() / "taro.ini"), before);
}

TEST(StudyRecord, ARecordFileThatCannotBeWrittenIsAFailureWithTheReason) {
    test::TempDir dir;
    // A folder where the record file should be: the save cannot replace it.
    std::filesystem::create_directories(dir.path() / "taro.ini");
    ProfileRecordSink sink(dir.folder() + "taro.ini", "S11a");
    const Result<> saved = sink.append("line");
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.problem().message.find("taro.ini"), std::string::npos)
        << saved.problem().message;
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "taro.ini"));
}

TEST(StudyRecord, LinesAreReadFromEveryPlaceAndWrittenToOne) {
    test::TempDir lesson, records;
    test::WriteSjisFile(lesson.path() / "taro.ini",
                        {"[S11駅]", "1=2003年10月15日 14:05 O  1/ 1 100点 00:10",
                         "2=2003年10月17日 14:05 O  1/ 1 100点 00:10"});
    const std::string old = test::ReadRawFile(lesson.path() / "taro.ini");
    const std::string written = records.folder() + "taro.ini";
    ProfileRecordSink sink(written, sjis("S11駅"), {lesson.folder() + "taro.ini", written});
    ASSERT_TRUE(sink.append(sjis("2003年10月16日 09:00 x  0/ 1   0点 00:10")));
    EXPECT_EQ(sink.lines(), Sjis({"2003年10月15日 14:05 O  1/ 1 100点 00:10",
                                  "2003年10月16日 09:00 x  0/ 1   0点 00:10",
                                  "2003年10月17日 14:05 O  1/ 1 100点 00:10"}));
    // The lesson folder's file is only read; the new line went to the file written to, as key 1.
    EXPECT_EQ(test::ReadRawFile(lesson.path() / "taro.ini"), old);
    EXPECT_EQ(ProfileFile(written).load().keys(sjis("S11駅")), (std::vector<std::string>{"1"}));
    // The file written to is read even when the caller left it out.
    EXPECT_EQ(
        ProfileRecordSink(written, sjis("S11駅"), {lesson.folder() + "taro.ini"}).lines().size(),
        3u);
}

Worksheet SheetOf(const UnitAddress& address, bool isMaster, bool isCopy, std::string path) {
    Worksheet w;
    w.address = address;
    w.isMaster = isMaster;
    w.isCopy = isCopy;
    w.filePath = std::move(path);
    return w;
}

TEST(StudyRecordPlace, EachSheetIsFiledUnderItsOwnUnitOrCopyFile) {
    test::TempDir course, records;
    CourseTables tables;
    for (int l : {1, 2}) {
        tables.LessonFolders[l] = "kan" + std::to_string(l) + "\\";
        tables.LessonBaseNames[l] = "k" + std::to_string(l);
        std::filesystem::create_directories(course.path() / ("kan" + std::to_string(l)));
    }
    tables.SectionUnitTitles[1] = Sjis({"駅", "旅行"});
    auto place = [&](const Worksheet& w) {
        return StudyRecordPlace(w, course.folder(), tables, "taro", false, records.folder());
    };
    const RecordPlace unit = place(SheetOf({2, 1, 2, 1}, true, false, "q"));
    EXPECT_EQ(unit.section, sjis("S12旅行"));
    EXPECT_EQ(unit.file, course.folder() + "kan2\\taro.ini");
    EXPECT_EQ(unit.readFiles, (std::vector<std::string>{course.folder() + "kan2\\taro.ini",
                                                        records.folder() + "k2\\taro.ini"}));
    // Two copy files open at once: each its own section, both in lesson 1's file.
    const RecordPlace first =
        place(SheetOf({2, 0, 0, 0}, false, true, course.folder() + "kan2/" + sjis("表.skn")));
    const RecordPlace second =
        place(SheetOf({2, 0, 0, 0}, false, true, course.folder() + "kan2\\" + sjis("まとめ.skn")));
    EXPECT_EQ(first.section, sjis("表.skn"));
    EXPECT_EQ(second.section, sjis("まとめ.skn"));
    EXPECT_EQ(first.file, course.folder() + "kan1\\taro.ini");
    EXPECT_EQ(second.file, first.file);
    // A unit sheet changed since it was opened, never saved as a copy: no place at all.
    const RecordPlace composed = place(SheetOf({1, 1, 1, 0}, false, false, "q"));
    EXPECT_EQ(composed.section, "");
    EXPECT_EQ(composed.file, "");
    const Result<> nowhere =
        ProfileRecordSink(composed.file, composed.section, composed.readFiles).append("x");
    EXPECT_EQ(nowhere.problem().message, sjis("学習の記録を書き込む場所がありません"));
    EXPECT_EQ(CopyFileRecordSection(sjis("a\\b/表.skn")), sjis("表.skn"));
    EXPECT_EQ(CopyFileRecordSection("plain.skn"), "plain.skn");
}

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
    const Result<> saved = sink.append("line");
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.problem().message.find("taro.ini"), std::string::npos)
        << saved.problem().message;
    EXPECT_FALSE(saved.problem().reason.empty());
}

}  // namespace
}  // namespace sulkan
