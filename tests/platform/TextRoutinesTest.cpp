#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {
namespace {

using Pieces = std::vector<std::string>;

TEST(TextRoutines, FileExtension) {
    EXPECT_EQ(FileExtension("C:\\Course\\Copy.SKN"), ".skn");
    EXPECT_EQ(FileExtension("a/b/name.tar.GZ"), ".gz");
    EXPECT_EQ(FileExtension("name.backup"), ".bac");  // four bytes including the "."
    EXPECT_EQ(FileExtension("name."), ".");
    EXPECT_EQ(FileExtension("name"), "");
    EXPECT_EQ(FileExtension(""), "");
    EXPECT_EQ(FileExtension("C:\\old.dir\\name"), "");  // a "." in a folder does not count
    EXPECT_EQ(FileExtension("old.dir/name"), "");
    // The 0x5C of 表 is no separator, and a trail byte that looks like "A" is not lower-cased.
    EXPECT_EQ(FileExtension(sjis("x.表")), sjis(".表"));
    EXPECT_EQ(FileExtension(sjis("x.アA")), sjis(".アa"));
    // A double-byte character that does not fit into four bytes is left out whole.
    EXPECT_EQ(FileExtension(sjis("x.aア")), sjis(".aア"));
    EXPECT_EQ(FileExtension(sjis("x.abア")), ".ab");
}

TEST(TextRoutines, SplitAtHash) {
    Pieces pieces{"stale"};
    EXPECT_EQ(SplitAtHash("", pieces), 0);
    EXPECT_TRUE(pieces.empty());

    EXPECT_EQ(SplitAtHash("plain", pieces), 0);
    EXPECT_EQ(pieces, Pieces{"plain"});

    EXPECT_EQ(SplitAtHash(sjis("漢字を#かんじ#と読む"), pieces), 2);
    EXPECT_EQ(pieces, (Pieces{sjis("漢字を"), sjis("かんじ"), sjis("と読む")}));

    EXPECT_EQ(SplitAtHash("#a##", pieces), 3);
    EXPECT_EQ(pieces, (Pieces{"", "a", "", ""}));
}

TEST(TextRoutines, SplitAtSemicolon) {
    Pieces pieces{"stale"};
    EXPECT_EQ(SplitAtSemicolon("a;b;c", pieces), 3);
    EXPECT_EQ(pieces, (Pieces{"a ", "b ", "c"}));

    EXPECT_EQ(SplitAtSemicolon("", pieces), 1);
    EXPECT_EQ(pieces, Pieces{""});

    EXPECT_EQ(SplitAtSemicolon(";", pieces), 2);
    EXPECT_EQ(pieces, (Pieces{" ", ""}));

    EXPECT_EQ(SplitAtSemicolon(sjis("表;ソ"), pieces), 2);
    EXPECT_EQ(pieces, (Pieces{sjis("表 "), sjis("ソ")}));
}

TEST(TextRoutines, TrimWide) {
    EXPECT_EQ(TrimWide(" \t\r\nabc \x01"), "abc");
    EXPECT_EQ(TrimWide(sjis("　　漢字　")), sjis("漢字"));
    EXPECT_EQ(TrimWide(sjis(" 　漢 字　 ")), sjis("漢 字"));
    EXPECT_EQ(TrimWide(sjis("　")), "");
    EXPECT_EQ(TrimWide(""), "");
    // Blanks and full-width spaces in any mix go: an answer typed "　 山" is the answer "山".
    EXPECT_EQ(TrimWide(sjis("　 a 　")), "a");
    EXPECT_EQ(TrimWide(sjis(" 　 　a") + '\0' + sjis("　")), "a");
    EXPECT_EQ(TrimWide(sjis("a 　 ")), "a");
    // A blank inside stays.
    EXPECT_EQ(TrimWide(sjis("　漢 　字　")), sjis("漢 　字"));
    // 堰 is 89 81; followed by "@" the bytes 81 40 are no full-width space.
    EXPECT_EQ(TrimWide(sjis("堰@")), sjis("堰@"));
    EXPECT_EQ(TrimWide(sjis("堰@　")), sjis("堰@"));
    EXPECT_EQ(TrimWide(sjis("表　")), sjis("表"));
}

// Whether s begins or ends with something TrimWide takes off.
bool HasTrimmableEnd(std::string_view s) {
    if (s.empty()) return false;
    if (static_cast<unsigned char>(s.front()) <= 0x20 ||
        static_cast<unsigned char>(s.back()) <= 0x20)
        return true;
    if (s.starts_with("\x81\x40")) return true;
    std::size_t last = 0;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) last = i;
    return s.substr(last) == "\x81\x40";
}

TEST(TextRoutines, TrimWideIsIdempotentAndLeavesNothingTrimmable) {
    // Every text of up to six bytes over blanks, NUL, a full-width space's two bytes, lone and
    // paired lead bytes, a trail byte that is also "@" and a letter.
    const std::string alphabet = {' ', '\0', '\t', '\x81', '\x40', '\x89', 'a'};
    std::vector<std::string> texts{""};
    std::size_t checked = 0, failures = 0;
    for (std::size_t length = 1; length <= 6; ++length) {
        std::vector<std::string> longer;
        for (const std::string& text : texts)
            for (char c : alphabet) longer.push_back(text + c);
        texts = std::move(longer);
        for (const std::string& text : texts) {
            const std::string once = TrimWide(text);
            ++checked;
            if (TrimWide(once) != once || HasTrimmableEnd(once)) {
                if (++failures <= 5) ADD_FAILURE() << ::testing::PrintToString(text);
            }
            // Only ends are taken off: what is left is a piece of the text.
            if (text.find(once) == std::string::npos)
                ADD_FAILURE() << ::testing::PrintToString(text);
        }
    }
    EXPECT_EQ(checked, 137256u);  // 7 + 7^2 + ... + 7^6
    EXPECT_EQ(failures, 0u);
    // The kinds trimming once left trimmable: a blank bared by a full-width space, a NUL before
    // one, a lone lead byte whose second byte is a blank.
    using namespace std::string_literals;
    EXPECT_EQ(TrimWide("\x81\x40 a"s), "a");
    EXPECT_EQ(TrimWide("x\0\x81\x40"s), "x");
    EXPECT_EQ(TrimWide("\0\x81\x40x"s), "x");
    EXPECT_EQ(TrimWide("\x81 \x81\x40"s), "\x81");
}

TEST(TextRoutines, PadLike) {
    EXPECT_EQ(PadLike("ab", "abcd"), " ab ");
    EXPECT_EQ(PadLike("a", std::string(30, 'x')), " a" + std::string(12, ' '));
    EXPECT_EQ(PadLike("abcd", "ab"), "abcd");
    EXPECT_EQ(PadLike("abc", "xyz"), "abc");
    EXPECT_EQ(PadLike("", "abcd"), "    ");
    EXPECT_EQ(PadLike("", std::string(20, 'x')), std::string(12, ' '));
    EXPECT_EQ(PadLike("", ""), "");
    EXPECT_EQ(PadLike(sjis("漢"), sjis("漢字")), sjis(" 漢 "));
    EXPECT_EQ(PadLike(sjis("漢"), "abc"), sjis(" 漢"));
}

TEST(TextRoutines, ShuffleListSwapsEachPositionWithTheDrawnOne) {
    Pieces lines{"a", "b", "c", "d"};
    std::vector<int> draws{3, 3, 0, 1};
    std::size_t next = 0;
    std::vector<int> asked;
    ShuffleList(lines, [&](int n) {
        asked.push_back(n);
        return draws[next++];
    });
    // i=0 <-> 3: d b c a; i=1 <-> 3: d a c b; i=2 <-> 0: c a d b; i=3 <-> 1: c b d a
    EXPECT_EQ(lines, (Pieces{"c", "b", "d", "a"}));
    EXPECT_EQ(asked, (std::vector<int>{4, 4, 4, 4}));

    Pieces one{"x"};
    ShuffleList(one, [](int) -> int { throw std::logic_error("not asked for one line"); });
    EXPECT_EQ(one, Pieces{"x"});
}

TEST(TextRoutines, FullWidthDigits) {
    EXPECT_EQ(FullWidthDigits("12"), sjis("１２"));
    EXPECT_EQ(FullWidthDigits("a1"), sjis("１"));
    EXPECT_EQ(FullWidthDigits("ab"), "");
    EXPECT_EQ(FullWidthDigits("09"), sjis("０９"));
    EXPECT_EQ(FullWidthDigits(""), "");
    EXPECT_EQ(FullWidthDigits(sjis("漢1")), sjis("漢1"));  // starts with a double-byte character
    EXPECT_EQ(FullWidthDigits(sjis("1ア2")), sjis("１２"));
}

TEST(TextRoutines, AfterLastChar) {
    EXPECT_EQ(AfterLastChar('\\', "C:\\a\\b.que"), "b.que");
    EXPECT_EQ(AfterLastChar('\\', "plain"), "plain");
    EXPECT_EQ(AfterLastChar('\\', "end\\"), "");
    EXPECT_EQ(AfterLastChar('\\', sjis("表ソ")), sjis("表ソ"));
    EXPECT_EQ(AfterLastChar('\\', sjis("a\\表ソ")), sjis("表ソ"));
}

TEST(TextRoutines, TempFolderIsTheVariableTempOnly) {
    // Both variables are put back as they were, so later tests see the environment they expect.
    auto saved = [](const char* name) -> std::optional<std::string> {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    auto restore = [](const char* name, const std::optional<std::string>& v) {
        if (v)
            setenv(name, v->c_str(), 1);
        else
            unsetenv(name);
    };
    const auto temp = saved("temp"), tmpdir = saved("TMPDIR");
    setenv("temp", "/var/tmp/x", 1);
    EXPECT_EQ(TempFolder(), "/var/tmp/x");
    unsetenv("temp");
    setenv("TMPDIR", "/elsewhere", 1);
    EXPECT_EQ(TempFolder(), "");
    restore("TMPDIR", tmpdir);
    restore("temp", temp);
}

TEST(TextRoutines, Stamps) {
    LocalTime t{2005, 1, 9, 7, 5};
    EXPECT_EQ(TimeStamp(t), "07:05");
    EXPECT_EQ(JapaneseDateStamp(t), sjis("2005年01月09日"));
    EXPECT_EQ(DotDateStamp(t), "2005.01.09");
    LocalTime late{2003, 10, 15, 14, 59};
    EXPECT_EQ(TimeStamp(late), "14:59");
    EXPECT_EQ(DotDateStamp(late), "2003.10.15");
}

TEST(TextRoutines, ReadNumberAcceptsOnlyWholeDecimalNumbers) {
    EXPECT_EQ(ReadNumber("630"), 630);
    EXPECT_EQ(ReadNumber("-15"), -15);
    EXPECT_EQ(ReadNumber("+7"), 7);
    EXPECT_EQ(ReadNumber("007"), 7);
    EXPECT_EQ(ReadNumber("2147483647"), 2147483647);
    EXPECT_EQ(ReadNumber("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "+", " 12", "12 ", "1.5", "12a", "0x1F", "$1F", "True",
                            "2147483648", "99999999999999999999", "+-1"}) {
        EXPECT_EQ(ReadNumber(bad), 0) << bad;
    }
    EXPECT_EQ(ReadNumber(sjis("１２")), 0);  // full-width digits are not a number here
}

TEST(TextRoutines, RoundHalfEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(-2.5001), -3);
    EXPECT_EQ(RoundHalfEven(546 * 1.4142135623730951), 772);
    EXPECT_EQ(RoundHalfEven(771 * 1.4142135623730951), 1090);
}

}  // namespace
}  // namespace sulkan
