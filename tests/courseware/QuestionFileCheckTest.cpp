#include "QuestionFileCheck.h"

#include <gtest/gtest.h>

#include "LayoutParams.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::Sjis;

std::optional<std::string> Check(const std::vector<std::string>& utf8Ques) {
    UnitBlocks b = ReadLayoutText(DefaultLayoutLines());
    b.ques = Sjis(utf8Ques);
    return test::MessageOf(ValidateUnit(b));
}

TEST(QuestionFileCheck, QuestionLinesInTurn) {
    EXPECT_EQ(Check({"見出し", "#東京#は#日本#の首都", "例　#　東京　#　です"}), std::nullopt);
    EXPECT_EQ(Check({"見出し", "#東京# です #"}), sjis("2行目：＃の数は偶数にしてください"));
    EXPECT_EQ(Check({"ok #a#", "empty ## answer"}), sjis("2行目：解答がありません"));
    EXPECT_EQ(Check({"#東京##大阪#"}), sjis("1行目：解答がありません"));  // no text between
    EXPECT_EQ(Check({"a ## b #"}), sjis("1行目：＃の数は偶数にしてください"));
    EXPECT_EQ(Check({"a ## b", "c #"}), sjis("1行目：解答がありません"));  // earlier line first

    std::vector<std::string> many(11, "x #y#");
    many[10] = "odd #";
    const auto problem = CheckQuestionLines(many);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->message, sjis("11行目：＃の数は偶数にしてください"));
    EXPECT_EQ(problem->line, 10u);
}

TEST(QuestionFileCheck, WholeUnitNeedsABlank) {
    EXPECT_EQ(Check({"＃東京＃", "見出し"}), sjis("解答欄がありません"));  // full-width is text
    EXPECT_EQ(Check({}), sjis("解答欄がありません"));
    const auto problem = CheckQuestionLines({"x"});
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->line, std::nullopt);
}

TEST(QuestionFileCheck, LayoutBlockCountsAfterQuestions) {
    UnitBlocks b = ReadLayoutText(DefaultLayoutLines());
    b.ques = {"#a#"};
    b.kran.resize(8);
    EXPECT_EQ(test::MessageOf(ValidateUnit(b)), std::nullopt);
    b.kran.resize(9);
    EXPECT_EQ(test::MessageOf(ValidateUnit(b)), sjis("kranブロックの数が合いません"));
    b.font.resize(8);
    EXPECT_EQ(test::MessageOf(ValidateUnit(b)), sjis("fontブロックの数が合いません"));
    b.value.resize(6);
    EXPECT_EQ(test::MessageOf(ValidateUnit(b)), sjis("valueブロックの数が合いません"));
    b.ques = {"x"};
    EXPECT_EQ(test::MessageOf(ValidateUnit(b)), sjis("解答欄がありません"));

    // Blocks without lines are absent: the unit is then written without them.
    EXPECT_EQ(test::MessageOf(CheckLayoutBlocks(ReadLayoutText({"<<value", ">>", "<<font", ">>"}))),
              std::nullopt);
    // A block given twice: the last one is what every reader takes, and what is checked.
    std::vector<std::string> twice = {"<<value", "1", "2", "3", ">>", "<<value",
                                      "4",       "5", "6", "7", ">>"};
    EXPECT_EQ(test::MessageOf(CheckLayoutBlocks(ReadLayoutText(twice))),
              sjis("valueブロックの数が合いません"));
    twice.insert(twice.begin() + 6, {"1", "2", "3"});
    EXPECT_EQ(test::MessageOf(CheckLayoutBlocks(ReadLayoutText(twice))), std::nullopt);
}

}  // namespace
}  // namespace sulkan
