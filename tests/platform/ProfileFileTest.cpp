#include <gtest/gtest.h>

#include <filesystem>

#include "ProfileFile.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using Lines = std::vector<std::string>;
using test::ReadRawFile;
using test::Sjis;
using test::TempDir;
using test::WriteRawFile;
using test::WriteSjisFile;

TEST(ProfileLines, ReadsIgnoringAsciiCaseAndTrimmingBlanks) {
    ProfileLines ini(Sjis({
        "stray=before any section",
        "[password]",
        "  PW =  abcd  ",
        "[S12漢字の読み]",
        "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23",
        "empty=",
    }));
    EXPECT_EQ(ini.read("PASSWORD", "pw", "?"), "abcd");
    EXPECT_EQ(ini.read("password", "Pw", "?"), "abcd");
    EXPECT_EQ(ini.read(sjis("s12漢字の読み"), "1", "?"),
              sjis("2003年10月15日 14:05 OxOO  3/ 4  75点 01:23"));
    EXPECT_EQ(ini.read(sjis("S12漢字の読み"), "empty", "?"), "");
    EXPECT_EQ(ini.read(sjis("S12漢字の読み"), "2", "?"), "?");
    EXPECT_EQ(ini.read("other", "1", "?"), "?");
    EXPECT_EQ(ini.read("", "stray", "?"), "?");  // lines before the first section belong nowhere
    EXPECT_TRUE(ini.hasSection("Password"));
    EXPECT_FALSE(ini.hasSection("pass"));
}

TEST(ProfileLines, OnlySingleByteLettersFoldAndTrailBytesStayDistinct) {
    // ア is 83 41 and ヂ is 83 61: folding the trail byte "A" to "a" would merge them.
    ProfileLines ini(Sjis({"[ア]", "k=katakana a", "[ゾ]", "k=ends in 5D", "[ゾ", "x=y"}));
    EXPECT_EQ(ini.read(sjis("ア"), "K", "?"), "katakana a");
    EXPECT_EQ(ini.read(sjis("ヂ"), "k", "?"), "?");
    EXPECT_FALSE(ini.hasSection(sjis("ヂ")));
    // ゾ is 83 5D, a "]" as trail byte: "[ゾ" without its own "]" is no section line.
    EXPECT_EQ(ini.read(sjis("ゾ"), "k", "?"), "ends in 5D");
    EXPECT_EQ(ini.keys(sjis("ゾ")), (Lines{"k", "x"}));
}

TEST(ProfileLines, KeysInFileOrderCountOnlyLinesWithEquals) {
    ProfileLines ini(Sjis({"[S11a]", "2=b", "; a note", "1=a", "", "10=c", "[S12a]", "1=x"}));
    EXPECT_EQ(ini.keys("s11A"), (Lines{"2", "1", "10"}));
    EXPECT_EQ(ini.keys("S12a"), Lines{"1"});
    EXPECT_EQ(ini.keys("none"), Lines{});
}

TEST(ProfileLines, WriteReplacesInPlaceOrAppendsAtTheEndOfTheSection) {
    ProfileLines ini(Sjis({"; header comment", "[A]", "Key=old", "junk line", "", "[B]", "x=1"}));
    ini.write("a", "KEY", "new");
    EXPECT_EQ(ini.lines(),
              Sjis({"; header comment", "[A]", "Key=new", "junk line", "", "[B]", "x=1"}));
    ini.write("A", "second", sjis("値"));
    EXPECT_EQ(ini.lines(), Sjis({"; header comment", "[A]", "Key=new", "junk line", "second=値", "",
                                 "[B]", "x=1"}));
    ini.write("B", "y", "2");
    ini.write(sjis("新"), "1", "first");
    EXPECT_EQ(ini.lines(), Sjis({"; header comment", "[A]", "Key=new", "junk line", "second=値", "",
                                 "[B]", "x=1", "y=2", "[新]", "1=first"}));
    EXPECT_EQ(ini.read("a", "second", "?"), sjis("値"));
    EXPECT_EQ(ini.keys("A"), (Lines{"Key", "second"}));
}

TEST(ProfileLines, WriteCannotBreakALineApart) {
    ProfileLines ini;
    ini.write("s", "k", "one\r\ntwo");
    EXPECT_EQ(ini.lines(), (Lines{"[s]", "k=one  two"}));
}

TEST(ProfileLines, EraseSectionRemovesHeaderAndLinesOfEveryCopy) {
    ProfileLines ini(Sjis(
        {"[keep]", "a=1", "[Gone]", "1=x", "2=y", "note", "", "[other]", "b=2", "[GONE]", "3=z"}));
    ini.eraseSection("gone");
    EXPECT_EQ(ini.lines(), Sjis({"[keep]", "a=1", "[other]", "b=2"}));
    EXPECT_FALSE(ini.hasSection("Gone"));
    EXPECT_EQ(ini.keys("gone"), Lines{});
    ini.eraseSection("absent");
    EXPECT_EQ(ini.lines().size(), 4u);
}

TEST(ProfileLines, DuplicateSectionsAndKeysReadTheFirst) {
    ProfileLines ini(Sjis({"[s]", "k=first", "k=second", "[s]", "k=third"}));
    EXPECT_EQ(ini.read("s", "k", "?"), "first");
    ini.write("s", "k", "changed");
    EXPECT_EQ(ini.lines(), Sjis({"[s]", "k=changed", "k=second", "[s]", "k=third"}));
}

TEST(ProfileLines, LargeRecordFilesStayUsable) {
    // Record files grow to tens of thousands of lines; every key of one section is read.
    Lines lines;
    for (int s = 0; s < 20; ++s) {
        lines.push_back("[S" + std::to_string(s) + "]");
        for (int k = 1; k <= 1000; ++k)
            lines.push_back(std::to_string(k) + "=run " + std::to_string(k));
    }
    ProfileLines ini(std::move(lines));
    auto keys = ini.keys("s19");
    ASSERT_EQ(keys.size(), 1000u);
    for (const auto& k : keys) ASSERT_EQ(ini.read("S19", k, "?"), "run " + k);
    for (int i = 0; i < 50; ++i) ini.write("S0", "new" + std::to_string(i), "v");
    EXPECT_EQ(ini.keys("S0").size(), 1050u);
    EXPECT_EQ(ini.lines()[1051], "[S1]");  // the new keys went to the end of their section
}

TEST(ProfileLines, NamesAskedForAreTrimmedLikeNamesRead) {
    // A unit title ending in a blank makes a section name ending in a blank.
    ProfileLines ini(Sjis({"[S11漢字 ]", "1=run"}));
    EXPECT_EQ(ini.keys(sjis("S11漢字 ")), Lines{"1"});
    EXPECT_EQ(ini.read(sjis("\tS11漢字  "), " 1\t", "?"), "run");
    ini.write(sjis("S11漢字 "), "2", "again");
    ini.write(sjis("S11漢字 "), "1 ", "changed");
    EXPECT_EQ(ini.lines(), Sjis({"[S11漢字 ]", "1=changed", "2=again"}));
    ini.eraseSection(sjis(" S11漢字\t"));
    EXPECT_EQ(ini.lines(), Lines{});
}

TEST(ProfileLines, NamesThatWouldReadBackAsOtherLinesAreRefused) {
    ProfileLines ini(Sjis({"[s]", "k=1"}));
    EXPECT_FALSE(ini.write("s", "a=b", "v"));
    EXPECT_FALSE(ini.write("s", " [x", "v"));
    EXPECT_FALSE(ini.write("s", "k\n[t]", "v"));
    EXPECT_FALSE(ini.write("a]b", "k", "v"));
    EXPECT_FALSE(ini.write("a\r\nb", "k", "v"));
    // Half a double-byte character at the end would take the "]" or "=" after it for its own.
    EXPECT_FALSE(ini.write("s\x82", "k", "v"));
    EXPECT_FALSE(ini.write("s", "k\x82 ", "v"));
    EXPECT_EQ(ini.lines(), Sjis({"[s]", "k=1"}));
    // ゾ ends in the byte of "]" and is a name like any other.
    EXPECT_TRUE(ini.write(sjis("ゾ"), "x]", "v"));
    EXPECT_EQ(ini.read(sjis("ゾ"), "x]", "?"), "v");

    TempDir dir;
    ProfileFile file(dir.folder() + "rec.ini");
    SaveResult result = file.write("s", "a=b", "v");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("a=b"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "rec.ini"));
}

TEST(ProfileFile, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    TempDir dir;
    ProfileFile file(dir.folder() + sjis("共通.ini"));
    EXPECT_EQ(file.read("password", "pw", "none"), "none");
    EXPECT_EQ(file.keys("password"), Lines{});
    EXPECT_TRUE(file.eraseSection("password").ok);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "共通.ini"));

    ASSERT_TRUE(file.write("password", "pw", "abcd"));
    ASSERT_TRUE(file.write(sjis("S12表"), "1", sjis("2003年10月15日")));
    EXPECT_EQ(ReadRawFile(dir.path() / "共通.ini"),
              sjis("[password]\r\npw=abcd\r\n[S12表]\r\n1=2003年10月15日\r\n"));
    EXPECT_EQ(file.read("PASSWORD", "PW", ""), "abcd");
    EXPECT_EQ(file.keys(sjis("s12表")), Lines{"1"});
    EXPECT_EQ(file.load().lines().size(), 4u);
}

TEST(ProfileFile, ChangesKeepEveryOtherByte) {
    TempDir dir;
    const std::string original = "garbage \x80\xFF line\r\n[S1]\r\n1=\xED\x40 old\r\n;c\r\n";
    WriteRawFile(dir.path() / "rec.ini", original);
    ProfileFile file(dir.folder() + "rec.ini");
    ASSERT_TRUE(file.write("s1", "2", "x"));
    EXPECT_EQ(ReadRawFile(dir.path() / "rec.ini"),
              "garbage \x80\xFF line\r\n[S1]\r\n1=\xED\x40 old\r\n;c\r\n2=x\r\n");
    ASSERT_TRUE(file.eraseSection("S1"));
    EXPECT_EQ(ReadRawFile(dir.path() / "rec.ini"), "garbage \x80\xFF line\r\n");
}

TEST(ProfileFile, AFileThatCannotBeReadIsNotOverwritten) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "rec.ini");
    ProfileFile file(dir.folder() + "rec.ini");
    SaveResult result = file.write("s", "k", "v");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(dir.folder() + "rec.ini"), std::string::npos);
    EXPECT_FALSE(file.eraseSection("s").ok);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "rec.ini"));
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

TEST(ProfileLines, ReadsHandEditedFilesAsWindowsDoes) {
    ProfileLines ini(Sjis({"[password]", "pw=\"abcd\"", "; pw=comment", "=no name", "  ;x=y",
                           "q1='it'", "q2=\"half'", "q3=\"\"", "q4=\"", "[s]", "1=last\x1A"}));
    EXPECT_EQ(ini.read("password", "pw", "?"), "abcd");
    EXPECT_EQ(ini.read("password", "q1", "?"), "it");
    EXPECT_EQ(ini.read("password", "q2", "?"), "\"half'");  // not a matching pair
    EXPECT_EQ(ini.read("password", "q3", "?"), "");
    EXPECT_EQ(ini.read("password", "q4", "?"), "\"");
    EXPECT_EQ(ini.keys("password"), (Lines{"pw", "q1", "q2", "q3", "q4"}));
    EXPECT_EQ(ini.read("password", ";x", "?"), "?");
    EXPECT_EQ(ini.read("s", "1", "?"), "last");
    // Comments and nameless lines do not count when the next key number is chosen.
    ProfileLines records(Sjis({"[S11a]", "1=a", ";2=old", "=b", "\x1A"}));
    EXPECT_EQ(records.keys("S11a").size(), 1u);
    EXPECT_EQ(records.lines(), Sjis({"[S11a]", "1=a", ";2=old", "=b"}));
}

TEST(ProfileLines, ValuesReadBackExactlyAsWritten) {
    ProfileLines ini;
    for (const std::string value : {"\"abcd\"", "'x'", "\"\"", " padded ", "\"", "a\"b", "plain"}) {
        ASSERT_TRUE(ini.write("s", "k", value));
        EXPECT_EQ(ini.read("s", "k", "?"), value);
    }
    EXPECT_EQ(ini.lines().back(), "k=plain");
    ini.write("s", "q", "\"abcd\"");
    EXPECT_EQ(ini.lines().back(), "q=\"\"abcd\"\"");
    EXPECT_FALSE(ini.write("s", "", "v"));
    EXPECT_FALSE(ini.write("s", ";k", "v"));
}

TEST(ProfileFile, Utf16FilesStayUtf16) {
    TempDir dir;
    const auto path = dir.path() / "u.ini";
    auto utf16 = [](const std::u16string& text) {
        std::string bytes = "\xFF\xFE";
        for (char16_t c : text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
        return bytes;
    };
    // 😀 has no CP932 code: it must come back as it was.
    WriteRawFile(path, utf16(u"[password]\r\npw=\"秘密の鍵\"\r\nnote=😀\r\n"));
    ProfileFile file(dir.folder() + "u.ini");
    EXPECT_EQ(file.read("password", "pw", "?"), sjis("秘密の鍵"));
    ASSERT_TRUE(file.write(sjis("S11漢字"), "1", sjis("記録")));
    EXPECT_EQ(ReadRawFile(path),
              utf16(u"[password]\r\npw=\"秘密の鍵\"\r\nnote=😀\r\n[S11漢字]\r\n1=記録\r\n"));
    ASSERT_TRUE(file.eraseSection("password"));
    EXPECT_EQ(ReadRawFile(path), utf16(u"[S11漢字]\r\n1=記録\r\n"));
}

}  // namespace
}  // namespace sulkan
