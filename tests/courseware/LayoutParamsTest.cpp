#include "LayoutParams.h"

#include <gtest/gtest.h>

#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using Lines = std::vector<std::string>;
using test::Sjis;

const Lines kValues = {"630", "False", "40", "5", "5", "1", "7"};
const Lines kFonts = Sjis({"12", "MS 明朝", "False", "False", "False", "False", "0"});
const Lines kKran = {"5", "15", "2", "0", "0", "0", "15", "10", "0", "0"};

LayoutParams WithValue(std::size_t line, const std::string& text) {
    Lines v = kValues;
    v[line] = text;
    return ReadLayout(v, kFonts, kKran);
}

LayoutParams WithFont(std::size_t line, const std::string& text) {
    Lines f = kFonts;
    f[line] = text;
    return ReadLayout(kValues, f, kKran);
}

TEST(LayoutParams, DefaultsAreTheNewUnitBlocks) {
    EXPECT_EQ(DefaultLayoutLines(),
              Sjis({"<<value", "630",    "False",  "40",      "5",     "5",     "1",     "7",
                    ">>",      "<<font", "12",     "MS 明朝", "False", "False", "False", "False",
                    "0",       ">>",     "<<kran", "5",       "15",    "2",     "0",     "0",
                    "0",       "15",     "10",     "0",       "0",     ">>"}));
    EXPECT_EQ(ReadLayout(kValues, kFonts, kKran, WorksheetFallbackLayout()), LayoutParams{});
}

TEST(LayoutParams, ValueBlock) {
    EXPECT_EQ(WithValue(0, "True").PaperWidth, 630);
    EXPECT_EQ(WithValue(0, "False").PaperWidth, 630);
    // Not a number: A4, not the narrowest sheet that 0 would clamp to.
    EXPECT_EQ(WithValue(0, "A4").PaperWidth, 630);
    EXPECT_EQ(WithValue(0, "").PaperWidth, 630);
    EXPECT_EQ(WithValue(0, "0").PaperWidth, kMinPaperWidth);
    EXPECT_EQ(WithValue(6, "False").SheetOptions, 7);
    EXPECT_EQ(WithValue(6, "20").SheetOptions, 15);
    EXPECT_EQ(WithValue(6, "-1").SheetOptions, 0);
    EXPECT_TRUE(WithValue(1, "True").ShowAnswers);
    EXPECT_EQ(WithValue(2, "-5").LineSpacing, -5);
    EXPECT_EQ(WithValue(2, "4O").LineSpacing, 0);  // letter O
}

TEST(LayoutParams, FontBlock) {
    EXPECT_EQ(EffectiveAnswerFontSize(WithFont(6, "0")), 16);
    EXPECT_EQ(EffectiveAnswerFontSize(WithFont(6, "big")), 16);
    EXPECT_EQ(EffectiveAnswerFontSize(WithFont(6, "20")), 20);
    EXPECT_TRUE(WithFont(2, "True").FontBold);
    EXPECT_TRUE(WithFont(5, "True").FontStrikeOut);
    for (const char* almost : {"true", "TRUE", "True ", "1"}) {
        EXPECT_FALSE(WithFont(3, almost).FontItalic) << almost;
    }
}

TEST(LayoutParams, NumbersAreClampedOnReadingAndKeptAsWrittenOnSaving) {
    EXPECT_EQ(WithFont(0, "0").FontSize, kMinPoints);
    EXPECT_EQ(WithFont(6, "-3").AnswerFontSize, -3);  // still "question size + 4"
    EXPECT_EQ(WithValue(0, "99999").PaperWidth, kMaxPaperWidth);
    EXPECT_EQ(WithValue(2, "-99999999999").LineSpacing, -kMaxExtent);  // beyond int: not 0
    Lines kran = kKran;
    kran[1] = "999999";
    kran[6] = "007";
    LayoutParams p = ReadLayout(kValues, kFonts, kran);
    EXPECT_EQ(p.BoxWidth, kMaxExtent);
    EXPECT_EQ(KranLines(p), kran);
    p.BoxOffsetX = 8;
    EXPECT_EQ(KranLines(p)[6], "8");
    LayoutParams old = WithValue(0, "True");
    EXPECT_EQ(ValueLines(old)[0], "True");
    old.PaperWidth = 546;
    EXPECT_EQ(ValueLines(old)[0], "546");
    EXPECT_EQ(old, WithValue(0, "546"));  // the lines read from do not make layouts differ
}

TEST(LayoutParams, KranBlock) {
    const LayoutParams p = ReadLayout(kValues, kFonts, {"1", "2", "3", "2", "5", "6", "7", "8"});
    EXPECT_EQ(p.ColumnMode, 2);
    EXPECT_EQ(KranLines(p), (Lines{"1", "2", "3", "2", "5", "6", "7", "8", "0", "0"}));
    Lines spare = kKran;
    spare[9] = sjis("予備 x");  // carried through as written
    EXPECT_EQ(KranLines(ReadLayout(kValues, kFonts, spare)), spare);
}

TEST(LayoutParams, MissingBlocksKeepTheBase) {
    const LayoutParams fallback = WorksheetFallbackLayout();
    EXPECT_EQ(KranLines(fallback), FallbackKranLines());
    EXPECT_EQ(ReadLayout({}, {}, {}, fallback), fallback);
    const LayoutParams onlyKran = ReadLayout({}, {}, kKran, fallback);
    EXPECT_EQ(onlyKran.BoxStyle, 5);
    EXPECT_EQ(onlyKran.LineSpacing, 30);
    EXPECT_EQ(onlyKran.FontName, "Bookman Old Style");
}

TEST(LayoutParams, WritesBlocksBack) {
    LayoutParams p;
    p.ShowAnswers = true;
    p.LineSpacing = -5;
    p.FontName = sjis("ＭＳ ゴシック");
    p.FontBold = true;
    p.AnswerFontSize = 18;
    EXPECT_EQ(ValueLines(p), (Lines{"630", "True", "-5", "5", "5", "1", "7"}));
    EXPECT_EQ(FontLines(p), Sjis({"12", "ＭＳ ゴシック", "True", "False", "False", "False", "18"}));
    EXPECT_EQ(ReadLayout(ValueLines(p), FontLines(p), KranLines(p)), p);
}

}  // namespace
}  // namespace sulkan
