#include <gtest/gtest.h>

#include <set>

#include "Codec.h"
#include "Sjis.h"

namespace sulkan {
namespace {

TEST(Codec, ReadableTextRoundTrips) {
    const std::string bytes = sjis("漢字の表とソ、ｱｲｳ ABC 123 ①㈱髙");
    std::u16string text = Cp932ToUtf16(bytes);
    EXPECT_EQ(text, u"漢字の表とソ、ｱｲｳ ABC 123 ①㈱髙");
    EXPECT_EQ(Utf16ToCp932(text), bytes);
    EXPECT_EQ(Cp932ToUtf8(bytes), "漢字の表とソ、ｱｲｳ ABC 123 ①㈱髙");
}

TEST(Codec, BackslashAndControlBytesStayThemselves) {
    // 0x5C is a backslash, not a yen sign; 0x1A/0x1C/0x7F are not swapped around.
    EXPECT_EQ(Cp932ToUtf16("C:\\a\x1A\x1C\x7F"), u"C:\\a\x1A\x1C\x7F");
    EXPECT_EQ(Utf16ToCp932(u"C:\\a\x1A\x1C\x7F"), "C:\\a\x1A\x1C\x7F");
    EXPECT_EQ(sjis("表"), "\x95\x5C");
    EXPECT_EQ(sjis("ソ"), "\x83\x5C");
}

TEST(Codec, InvalidBytesSurviveARoundTrip) {
    const std::string cases[] = {
        "\x80",              // single byte with no character
        "\xA0\xFD\xFE\xFF",  // the other unassigned single bytes
        "ab\x81",            // lead byte at the end
        "\x81\x20x",         // lead byte followed by a byte that cannot be a trail
        "\x81\x7F",          // 0x7F is never a trail byte
        "\x85\x40",          // unassigned double-byte code
        std::string("\x81\x00", 2),
    };
    for (const std::string& bytes : cases) {
        std::u16string text = Cp932ToUtf16(bytes);
        auto back = Utf16ToCp932(text);
        ASSERT_TRUE(back.has_value()) << testing::PrintToString(bytes);
        EXPECT_EQ(*back, bytes);
    }
    // The escaped byte is the documented lone surrogate, so the window code can show it.
    EXPECT_EQ(Cp932ToUtf16("\x80"), std::u16string(1, char16_t(0xDC80)));
    EXPECT_EQ(Cp932ToUtf16("a\x81"), (std::u16string{u'a', char16_t(0xDC81)}));
}

// Every two-byte input either comes back as itself, or is one of the duplicate codes that decode
// to the same character as another code (which is why unedited lines keep their own bytes).
TEST(Codec, EveryDoubleBytePairIsLosslessOrAKnownDuplicate) {
    std::set<int> duplicates;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0; trail <= 0xFF; ++trail) {
            std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::u16string text = Cp932ToUtf16(bytes);
            auto back = Utf16ToCp932(text);
            ASSERT_TRUE(back.has_value()) << std::hex << lead << ' ' << trail;
            if (*back == bytes) continue;
            ASSERT_EQ(text.size(), 1u) << std::hex << lead << ' ' << trail;
            EXPECT_EQ(Cp932ToUtf16(*back), text) << std::hex << lead << ' ' << trail;
            duplicates.insert((lead << 8) | trail);
        }
    }
    EXPECT_TRUE(duplicates.count(0xED40));  // NEC-selected IBM extension, encodes as FA5C
    EXPECT_TRUE(duplicates.count(0x8790));  // NEC row 13 "≒"
    EXPECT_GT(duplicates.size(), 300u);
    EXPECT_LT(duplicates.size(), 500u);
}

TEST(Codec, UnencodableCharacterIsReportedNotReplaced) {
    char32_t failed = 0;
    EXPECT_FALSE(Utf16ToCp932(u"漢字😀です", &failed).has_value());
    EXPECT_EQ(failed, U'😀');

    failed = 0;
    // After an escaped byte the rest is still checked.
    std::u16string text = Cp932ToUtf16("\x80") + u"a€";
    EXPECT_FALSE(Utf16ToCp932(text, &failed).has_value());
    EXPECT_EQ(failed, U'€');

    failed = 0;
    EXPECT_FALSE(Utf8ToCp932("x𠮷", &failed).has_value());  // outside JIS X 0208 and extensions
    EXPECT_EQ(failed, U'𠮷');
}

TEST(Codec, MalformedUtf8IsRefused) {
    EXPECT_FALSE(Utf8ToCp932("a\x80").has_value());         // stray continuation byte
    EXPECT_FALSE(Utf8ToCp932("\xE6\xBC").has_value());      // cut short
    EXPECT_FALSE(Utf8ToCp932("\xC0\xAF").has_value());      // overlong "/"
    EXPECT_FALSE(Utf8ToCp932("\xED\xA0\x80").has_value());  // encoded surrogate
    EXPECT_FALSE(Utf8ToCp932("\xE6\x41\xA2").has_value());  // bad continuation
    EXPECT_EQ(Utf8ToCp932("\xE6\xBC\xA2"), sjis("漢"));
}

TEST(Codec, FileNamesThatAreNotUtf8KeepTheirBytes) {
    // A POSIX file name is bytes: what is not UTF-8 comes back as the same bytes.
    const std::string name = "a\x80\xE6\xBC" + std::string("\xE6\xBC\xA2");
    auto text = Utf8ToUtf16(name, Utf8Escapes::Keep);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text,
              (std::u16string{u'a', char16_t(0xDC80), char16_t(0xDCE6), char16_t(0xDCBC), u'漢'}));
    EXPECT_EQ(Utf16ToUtf8(*text, Utf8Escapes::Keep), name);
    EXPECT_EQ(Utf16ToUtf8(*text, Utf8Escapes::Refuse), "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD漢");
    EXPECT_FALSE(Utf8ToUtf16(name, Utf8Escapes::Refuse).has_value());
    EXPECT_EQ(Utf16ToUtf8(u"😀", Utf8Escapes::Keep), "😀");
}

TEST(CodecDeathTest, AMissingConverterEndsTheProgramSayingWhy) {
    EXPECT_EXIT(detail::RequireConverter("UTF-16LE", "NO-SUCH-CODE-PAGE"),
                testing::ExitedWithCode(3), "NO-SUCH-CODE-PAGE");
}

TEST(Sjis, WholeCharacterSearchSkipsTrailBytes) {
    const std::string s = sjis("表ソ\\x\\");  // 95 5C 83 5C 5C 78 5C
    EXPECT_EQ(FindWholeChar(s, '\\'), 4u);
    EXPECT_EQ(FindWholeChar(s, '\\', 5), 6u);
    EXPECT_EQ(FindLastWholeChar(s, '\\'), 6u);
    EXPECT_EQ(FindWholeChar(sjis("表ソ"), '\\'), std::string::npos);
    EXPECT_EQ(FindLastWholeChar(sjis("表ソ"), '\\'), std::string::npos);
    EXPECT_EQ(CharCount(s), 5u);
    EXPECT_EQ(CharCount("a\x81"), 2u);  // lone lead byte at the end counts as one character
    EXPECT_EQ(CharLength("a\x81", 1), 1u);
}

TEST(Codec, DuplicateSpellingsHaveOneCanonicalSpelling) {
    // NEC-selected IBM extension (ED/EE rows) and the IBM rows (FA-FC) spell the same kanji;
    // NEC row 13 repeats symbols of row 2; each pair must compare equal and keep its length.
    const std::pair<std::string, std::string> pairs[] = {
        {"\xED\x40", "\xFA\x5C"},  // 纊
        {"\xEE\xEF", "\xFA\x40"},  // small roman numeral one
        {"\x87\x9A", "\x81\xE6"},  // because
        {"\xEE\xE0", "\xFB\xFC"},  // 髙
        {"\x87\x54", "\xFA\x4A"},  // capital roman numeral one
    };
    for (const auto& [a, b] : pairs) {
        EXPECT_TRUE(SameSpelling(a, b)) << a;
        EXPECT_EQ(CanonicalSpelling(a), CanonicalSpelling(b));
        EXPECT_EQ(Cp932ToUtf16(CanonicalSpelling(a)), Cp932ToUtf16(a));
    }
    // Text around the duplicates, single bytes and invalid bytes stay as they are.
    EXPECT_EQ(CanonicalSpelling("a\x88\x9F\xED\x40\x80z"), "a\x88\x9F\xFA\x5C\x80z");
    EXPECT_FALSE(SameSpelling("\x88\x9F", "\x88\xA0"));
    EXPECT_FALSE(SameSpelling("\xED\x40", "\xFA\x5C\x41"));
}

TEST(Sjis, AsciiCaseFoldsOnlyWholeSingleByteLetters) {
    // Pairs whose second bytes differ only by ASCII case: different names, never one.
    const char* pairs[][2] = {{"ナミ", "オミ"}, {"葉子", "裕子"}, {"ト", "エ"},
                              {"ニ", "カ"},     {"ホ", "セ"},     {"子", "参"}};
    for (const auto& p : pairs) {
        const std::string a = sjis(p[0]), b = sjis(p[1]);
        EXPECT_FALSE(SameIgnoringAsciiCase(a, b)) << p[0] << " " << p[1];
        EXPECT_NE(FoldAsciiCase(a), FoldAsciiCase(b)) << p[0] << " " << p[1];
    }
    EXPECT_TRUE(SameIgnoringAsciiCase(sjis("Password漢字A"), sjis("PASSWORD漢字a")));
    EXPECT_EQ(FoldAsciiCase(sjis("ABCナ子xyZ")), sjis("abcナ子xyz"));
    EXPECT_FALSE(SameIgnoringAsciiCase("abc", "abcd"));
    // A lone lead byte at the end is one character of its own.
    EXPECT_TRUE(SameIgnoringAsciiCase("A\x83", "a\x83"));
}

}  // namespace
}  // namespace sulkan
