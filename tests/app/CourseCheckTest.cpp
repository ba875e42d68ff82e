// The command-line course check: every unit reported as the program would read it.
#include <gtest/gtest.h>

#include "CourseCheck.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

std::vector<std::string> Layout() {
    return {"<<value", "630",    "False",  "40",      "5",     "5",     "1",     "7",
            ">>",      "<<font", "12",     "MS 明朝", "False", "False", "False", "False",
            "0",       ">>",     "<<kran", "5",       "15",    "2",     "0",     "0",
            "0",       "15",     "10",     "0",       "0",     ">>"};
}

std::vector<std::string> Unit(const std::string& header, std::vector<std::string> ques,
                              std::vector<std::string> extra = {}) {
    std::vector<std::string> out{header, "<<ques"};
    out.insert(out.end(), ques.begin(), ques.end());
    out.push_back(">>");
    out.insert(out.end(), extra.begin(), extra.end());
    for (const auto& l : Layout()) out.push_back(l);
    out.push_back("]]");
    return out;
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

TEST(CourseCheck, ReportsEveryUnitAndSimilarProblemWithTheProgramsMessages) {
    TempDir dir;
    WriteSjisFile(dir.path() / "Main.ind",
                  {"コース", "", "一課,k1\\_k1", "消えた課,gone\\_gone", ">>"});
    WriteSjisFile(dir.path() / "k1" / "k1.ind",
                  {"一課", "[[sect1", "読み", "<<", "山", "川", "木", "森", "空", ">>", "]]"});
    std::vector<std::string> que;
    Append(que, Unit("[[unit1", {"（１）#やま#に登る"}, {"<<graph", "yama.bmp", "0", "0", ">>"}));
    Append(que, Unit("[[unit1R1", {"（１）#かわ#"}));
    Append(que, Unit("[[unit1R3", {"（１）#き#"}));  // no R2: not offered
    Append(que, Unit("[[unit2", {"（１）#かわ"}));
    Append(que, {"[[unit3", "<<ques", "#き#", ">>", "<<value", "630", ">>", "]]"});
    Append(que, Unit("[[unit5", {"見出しだけ"}));
    WriteSjisFile(dir.path() / "k1" / "k11.que", que);
    test::WriteRawFile(dir.path() / "k1" / "Graph" / "yama.bmp", "BM");

    CourseCheckReport r = CheckCourse(dir.folder());
    std::vector<std::string> expected{
        "1-1-1\tok",
        "1-1-1R1\tok",
        "1-1-2\t1行目：＃の数は偶数にしてください",
        "1-1-3\t<<value block error",
        "1-1-4\t未作成",
        "1-1-5\t解答欄がありません",
        "2\tディレクトリ " + dir.folder() + "gone\\ が見つかりません",
        "6 units, 4 problems",
    };
    EXPECT_EQ(r.lines, expected);
    EXPECT_EQ(r.exitCode, 1);
}

TEST(CourseCheck, MissingFigureIsAProblemOfItsUnit) {
    TempDir dir;
    WriteSjisFile(dir.path() / "Main.ind", {"コース", "", "一課,k1\\_k1", ">>"});
    WriteSjisFile(dir.path() / "k1" / "k1.ind",
                  {"一課", "[[sect1", "読み", "<<", "山", ">>", "]]"});
    WriteSjisFile(dir.path() / "k1" / "k11.que",
                  Unit("[[unit1", {"#やま#"}, {"<<AGraph", "none.bmp", "10", "10", ">>"}));
    CourseCheckReport r = CheckCourse(dir.folder());
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[0].rfind("1-1-1\tファイル ", 0), 0u);
    EXPECT_NE(r.lines[0].find("none.bmp が見つかりません"), std::string::npos);
    EXPECT_EQ(r.exitCode, 1);
}

TEST(CourseCheck, CleanCourseExitsZeroAndMissingIndexTwo) {
    TempDir dir;
    WriteSjisFile(dir.path() / "Main.ind", {"コース", "", "一課,k1\\_k1", ">>"});
    WriteSjisFile(dir.path() / "k1" / "k1.ind",
                  {"一課", "[[sect1", "読み", "<<", "山", ">>", "]]"});
    WriteSjisFile(dir.path() / "k1" / "k11.que", Unit("[[unit1", {"#やま#"}));
    CourseCheckReport clean = CheckCourse(dir.folder());
    EXPECT_EQ(clean.lines.back(), "1 units, 0 problems");
    EXPECT_EQ(clean.exitCode, 0);

    TempDir empty;
    CourseCheckReport missing = CheckCourse(empty.folder());
    EXPECT_EQ(missing.exitCode, 2);
    ASSERT_EQ(missing.lines.size(), 1u);
    EXPECT_EQ(missing.lines[0], "ファイル " + empty.folder() + "Main.ind が見つかりません");
}

TEST(CourseCheck, BundledSampleCourseIsClean) {
    CourseCheckReport r = CheckCourse(std::string(SULKAN_SOURCE_DIR) + "/samples/kanji/");
    for (const auto& line : r.lines) EXPECT_EQ(line.find("\t"), line.find("\tok")) << line;
    EXPECT_EQ(r.exitCode, 0) << r.lines.back();
    EXPECT_GE(r.units, 12);
}

}  // namespace
}  // namespace sulkan
