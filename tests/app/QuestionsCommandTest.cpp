// "sulkan records --questions": the correct rate of every question of a lesson from the record
// files of the class, read and never written.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "ClassQuestions.h"
#include "CourseTree.h"
#include "LineFile.h"
#include "Prompter.h"
#include "RecordsCommand.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

namespace fs = std::filesystem;
using test::WriteSjisFile;

class QuestionsCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind",
                      {"漢字のコース", "メモ", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "山", "川", ">>", "]]"});
        WriteSjisFile(course.path() / "kan3" / "kan31.que",
                      {"[[unit1", "<<ques", "#山#に#登る#", ">>", "]]", "[[unit1R1", "<<ques",
                       "#岩#", ">>", "]]", "[[unit2", "<<ques", "#川#", ">>", "]]"});
        WriteSjisFile(course.path() / "kan3" / "太郎.ini",
                      {"[S11山]", "1=2003年10月15日 14:05 Ox  1/ 2  50点 01:23",
                       "2=2003年10月16日 14:05 OO  2/ 2 100点 01:00",
                       "3=類題1)2003年10月16日 14:10 x  0/ 1   0点 00:20"});
        WriteSjisFile(course.path() / "kan3" / "花子.ini",
                      {"[S11山]", "1=2003年10月15日 14:05 xx  0/ 2   0点 00:40", "[S12川]",
                       "1=2003年10月15日 14:06 OOO  3/ 3 100点 00:30"});
        WriteSjisFile(records.path() / "Sulkan" / "LogOn" / "sname.txt", {"太郎", "花子"});
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
    }

    int run(std::vector<std::string> extra) {
        std::vector<std::string> args{"--course", course.path().string(), "--lesson", "1"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream o, e;
        const int status = RunRecordsCommand(args, settings, o, e);
        out = o.str();
        err = e.str();
        return status;
    }

    // Every file under the course with its bytes.
    std::map<std::string, std::string> courseFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(course.path()))
            if (entry.is_regular_file())
                files[entry.path().string()] = test::ReadRawFile(entry.path());
        return files;
    }

    test::TempDir course, records, target;
    MemorySettingsStore settings;
    std::string out, err;
};

constexpr const char* kHeader =
    "\xEF\xBB\xBFlesson,section,unit,similar,blank,answer,question,learners,correct,rate\r\n";

TEST_F(QuestionsCommandTest, FirstRunsByDefaultEveryRunOnRequestFilesUntouched) {
    const auto before = courseFiles();
    ASSERT_EQ(run({"--questions"}), 0) << err;
    // 太郎's first run Ox, 花子's xx; the unit's similar problem and unit 2.
    EXPECT_EQ(out, std::string(kHeader) +
                       "1,1,1,0,2,登る,#山#に#登る#,2,0,0\r\n"
                       "1,1,1,1,1,岩,#岩#,1,0,0\r\n"
                       "1,1,1,0,1,山,#山#に#登る#,2,1,50\r\n"
                       "1,1,2,0,1,川,#川#,0,0,\r\n");
    // 花子's run on unit 2 had three marks: the unit has one blank now.
    EXPECT_NE(err.find("1 行の記録は数えていません（記録と問題が合いません）"), std::string::npos)
        << err;

    ASSERT_EQ(run({"--questions", "--all-runs"}), 0) << err;
    EXPECT_NE(out.find("1,1,1,0,2,登る,#山#に#登る#,3,1,33\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find("1,1,1,0,1,山,#山#に#登る#,3,2,67\r\n"), std::string::npos) << out;
    EXPECT_EQ(courseFiles(), before);
}

TEST_F(QuestionsCommandTest, OneLearnerToAFileAndDamagedLinesFailTheRun) {
    const fs::path csv = target.path() / "q.csv";
    WriteSjisFile(course.path() / "kan3" / "太郎.ini",
                  {"[S11山]", "1=2003年10月15日 14:05 Ox  1/ 2  50点",
                   "2=2003年10月16日 14:05 OO  2/ 2 100点 01:00"});
    EXPECT_EQ(run({"--questions", "--learner", "太郎", "--out", csv.string()}), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("1 行の記録を読み取れませんでした"), std::string::npos) << err;
    // The damaged first line is skipped: the next run is 太郎's first.
    EXPECT_EQ(test::ReadRawFile(csv), std::string(kHeader) +
                                          "1,1,1,0,1,山,#山#に#登る#,1,1,100\r\n"
                                          "1,1,1,0,2,登る,#山#に#登る#,1,1,100\r\n"
                                          "1,1,1,1,1,岩,#岩#,0,0,\r\n"
                                          "1,1,2,0,1,川,#川#,0,0,\r\n");
}

TEST_F(QuestionsCommandTest, WrongCombinationsAreRefused) {
    EXPECT_EQ(run({"--questions", "--xlsx", (target.path() / "q.xlsx").string()}), 2);
    EXPECT_NE(err.find("--questions"), std::string::npos);
    EXPECT_EQ(run({"--all-runs"}), 2);
    EXPECT_FALSE(fs::exists(target.path() / "q.xlsx"));
}

TEST_F(QuestionsCommandTest, SectionFilesAreNamedAndOnesLeadingOutOfTheCourseAreNotRead) {
    ScriptedPrompter prompter;
    CourseTables tables;
    auto mainInd = LoadCourseIndex(course.folder(), prompter);
    ASSERT_TRUE(mainInd);
    ReadCourseIndex(*mainInd, tables, prompter);
    // Section 2's file is a link to a file outside the course.
    WriteSjisFile(target.path() / "outside.que", {"[[unit1", "<<ques", "#外#", ">>", "]]"});
    fs::create_symlink(target.path() / "outside.que", course.path() / "kan3" / "kan32.que");
    const std::vector<std::string> paths = SectionQuestionFiles(course.folder(), tables, 1, 2);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(NativePath(paths[0]).filename(), "kan31.que");
    EXPECT_TRUE(fs::exists(NativePath(paths[0])));
    EXPECT_EQ(paths[1], "");
    EXPECT_TRUE(SectionQuestionFiles(course.folder(), tables, 0, 2)[0].empty());
}

}  // namespace
}  // namespace sulkan
