// The command-line course check: every unit reported as the program would read it.
#include <gtest/gtest.h>

#include "Codec.h"
#include "CourseCheck.h"
#include "LineFile.h"
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
        "1-1-3\t<<value block error（ファイルの150行目）",
        "1-1-4\t未作成",
        "1-1-5\t解答欄がありません",
        "2\tディレクトリ " + dir.folder() + "gone\\ が見つかりません",
        "6 units, 4 problems",
    };
    EXPECT_EQ(r.lines, expected);
    EXPECT_EQ(r.exitCode, 1);
}

// 1-based line of the file where the n-th occurrence of line stands.
std::string LineOf(const std::vector<std::string>& file, const std::string& line, int n = 1) {
    for (std::size_t i = 0; i < file.size(); ++i)
        if (file[i] == line && --n == 0) return std::to_string(i + 1);
    return "none";
}

TEST(CourseCheck, ReportsWhatTheReadersWouldTakeOtherThanAsWritten) {
    TempDir dir;
    WriteSjisFile(dir.path() / "Main.ind", {"コース", "", "一課,k1\\_k1", ">>"});
    WriteSjisFile(dir.path() / "k1" / "k1.ind", {"一課", "[[sect1", "読み", "<<", "一", "二", "三",
                                                 "四", "五", "六", ">>", "]]"});
    std::vector<std::string> que;  // CP932
    // Unit 1 lacks the ">>" of its questions, so they run into "<<value".
    Append(que, test::Sjis({"[[unit1", "<<ques", "#a#"}));
    Append(que, test::Sjis(Layout()));
    que.push_back("]]");
    // Unit 2: a size that is not a number, a repeated block, and a line that reads like unit 5.
    std::vector<std::string> unit2 =
        Unit("[[unit2", {"#b#", "[[unit5"}, {"<<kgroup", "x", ">>", "<<kgroup", "y", ">>"});
    unit2[unit2.size() - 21] = "大";  // "<<font" line 1
    Append(que, test::Sjis(unit2));
    // Unit 3: bytes that are not CP932 (the sheet still draws them, as replacement marks).
    std::vector<std::string> unit3 = test::Sjis(Unit("[[unit3", {"#c#"}));
    unit3.insert(unit3.begin() + 3, {"\x85\x40", "\xFF\xFE", "a\x81\x7F", "\xA0", "\xEB\x40"});
    Append(que, unit3);
    // Unit 4: 82 blanks, more than the drill takes.
    Append(que, test::Sjis(Unit("[[unit4", std::vector<std::string>(41, "#d#e#f#"))));
    Append(que, test::Sjis(Unit("[[unit5", {"#g#"})));
    // Unit 6, last in the file, loses the ">>" of its questions for good.
    Append(que, {"[[unit6", "<<ques", "#h#"});
    test::WriteRawFile(dir.path() / "k1" / "k11.que", JoinLines(que));

    CourseCheckReport r = CheckCourse(dir.folder());
    const int unit3At = std::stoi(LineOf(que, "[[unit3"));
    const auto at = [&](int offset) { return std::to_string(unit3At + offset); };
    std::vector<std::string> expected{
        "1-1-1\t<<ques の中に「<<value」の行があります：>> が抜けていませんか（ファイルの4行目）",
        "1-1-2\t<<kgroup が繰り返されています：最後のものを使います（ファイルの" +
            LineOf(que, "<<kgroup", 2) + "行目）",
        "1-1-2\t<<font の1行目「大」は数値ではありません（1 として読みます）",
        "1-1-3\tファイルの" + at(3) + "行目、1バイト目に Shift-JIS でないバイトがあります: 85 40",
        "1-1-3\tファイルの" + at(4) + "行目、1バイト目に Shift-JIS でないバイトがあります: FF",
        "1-1-3\tファイルの" + at(5) + "行目、2バイト目に Shift-JIS でないバイトがあります: 81 7F",
        "1-1-3\tファイルの" + at(6) + "行目、1バイト目に Shift-JIS でないバイトがあります: A0",
        "1-1-3\tファイルの" + at(7) + "行目、1バイト目に Shift-JIS でないバイトがあります: EB 40",
        "1-1-4\t解答欄が82個あります（ドリルは８０個まで）",
        "1-1-5\t「[[unit5」（ファイルの" + LineOf(que, "[[unit5") +
            "行目）は「[[unit2」のブロックの中の行で、単元の見出しではありません",
    };
    // What unit 5 reads from inside unit 2 follows it.
    ASSERT_GE(r.lines.size(), expected.size() + 2);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(r.lines[i], expected[i]) << i;
    EXPECT_EQ(r.lines[r.lines.size() - 2], "1-1-6\t<<ques の終わりの >> がありません（ファイルの" +
                                               std::to_string(que.size() - 1) + "行目）");
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

TEST(CourseCheck, TitlesWithBracketsAreFineAndHalfACharacterIsReported) {
    TempDir dir;
    WriteSjisFile(dir.path() / "Main.ind", {"コース", "", "一課,k1\\_k1", ">>"});
    // A title cut inside its last double-byte character makes a record section that would take
    // the closing "]" for its second byte.
    test::WriteRawFile(dir.path() / "k1" / "k1.ind",
                       *Utf8ToCp932("一課\r\n[[sect1\r\n読み\r\n<<\r\nまとめ[1]\r\n[読み]]\r\n") +
                           "\x8A\xBF\x8A\r\n>>\r\n]]\r\n");
    std::vector<std::string> que;
    for (const char* header : {"[[unit1", "[[unit2", "[[unit3"})
        Append(que, Unit(header, {"#やま#"}));
    WriteSjisFile(dir.path() / "k1" / "k11.que", que);
    CourseCheckReport r = CheckCourse(dir.folder());
    ASSERT_EQ(r.lines.size(), 4u);
    EXPECT_EQ(r.lines[0], "1-1-1\tok");
    EXPECT_EQ(r.lines[1], "1-1-2\tok");
    EXPECT_EQ(r.lines[2].rfind("1-1-3\tこの単元の学習の記録は書き込めません：", 0), 0u)
        << r.lines[2];
    EXPECT_NE(r.lines[2].find("の終わりの文字が欠けています"), std::string::npos) << r.lines[2];
    EXPECT_EQ(r.exitCode, 1);
}

TEST(CourseCheck, BundledSampleCourseIsClean) {
    CourseCheckReport r = CheckCourse(std::string(SULKAN_SOURCE_DIR) + "/samples/kanji/");
    for (const auto& line : r.lines) EXPECT_EQ(line.find("\t"), line.find("\tok")) << line;
    EXPECT_EQ(r.exitCode, 0) << r.lines.back();
    EXPECT_GE(r.units, 12);
}

}  // namespace
}  // namespace sulkan
