#include <gtest/gtest.h>

#include <filesystem>

#include "Codec.h"
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
    EXPECT_FALSE(ini.write("a\r\nb", "k", "v"));
    EXPECT_FALSE(ini.write("a\rb", "k", "v"));
    EXPECT_FALSE(ini.write("a\n", "k", "v"));
    // Half a double-byte character at the end would take the "]" or "=" after it for its own.
    EXPECT_FALSE(ini.write("s\x82", "k", "v"));
    EXPECT_FALSE(ini.write("s", "k\x82 ", "v"));
    EXPECT_EQ(ini.lines(), Sjis({"[s]", "k=1"}));
    // ゾ ends in the byte of "]" and is a name like any other.
    EXPECT_TRUE(ini.write(sjis("ゾ"), "x]", "v"));
    EXPECT_EQ(ini.read(sjis("ゾ"), "x]", "?"), "v");

    TempDir dir;
    ProfileFile file(dir.folder() + "rec.ini");
    Result<> result = file.write("s", "a=b", "v");
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.problem().message.find("a=b"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "rec.ini"));
}

TEST(ProfileFile, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    TempDir dir;
    ProfileFile file(dir.folder() + sjis("共通.ini"));
    EXPECT_EQ(file.read("password", "pw", "none"), "none");
    EXPECT_EQ(file.keys("password"), Lines{});
    EXPECT_TRUE(file.eraseSection("password").ok());
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
    Result<> result = file.write("s", "k", "v");
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.problem().message.find(dir.folder() + "rec.ini"), std::string::npos);
    EXPECT_FALSE(file.eraseSection("s").ok());
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

namespace sulkan {
namespace {

using test::ReadRawFile;
using test::Sjis;
using test::TempDir;
using test::WriteRawFile;

// Expected values below are what GetPrivateProfileString reads and WritePrivateProfileString
// writes; the comment of each case names the rule it checks.
TEST(ProfileLines, SectionNamesWithBracketsAreWrittenAndReadAsWindowsDoes) {
    ProfileLines ini;
    // The name runs from the first "[" to the last "]" of the line, so a "]" inside is kept.
    ASSERT_TRUE(ini.write(sjis("S11まとめ[1]"), "1", "a"));
    ASSERT_TRUE(ini.write(sjis("S12くらしの中の漢字[読み]"), "1", "b"));
    ASSERT_TRUE(ini.write("a]b", "k", "c"));
    ASSERT_TRUE(ini.write("end]", "k", "d"));
    // A line that begins with "[" is a section line: a "[", ";" or "=" after it is name.
    ASSERT_TRUE(ini.write("[lead", "k", "e"));
    ASSERT_TRUE(ini.write(";semi", "k", "f"));
    ASSERT_TRUE(ini.write("x=y", "k", "g"));
    EXPECT_EQ(ini.refusal(), "");
    EXPECT_EQ(ini.lines(),
              Sjis({"[S11まとめ[1]]", "1=a", "[S12くらしの中の漢字[読み]]", "1=b", "[a]b]", "k=c",
                    "[end]]", "k=d", "[[lead]", "k=e", "[;semi]", "k=f", "[x=y]", "k=g"}));
    // Read from the lines as saved, the names come back as written.
    const ProfileLines saved(ini.lines());
    EXPECT_EQ(saved.read(sjis("S11まとめ[1]"), "1", "?"), "a");
    EXPECT_EQ(saved.read(sjis("s12くらしの中の漢字[読み]"), "1", "?"), "b");
    EXPECT_EQ(saved.read("a]b", "k", "?"), "c");
    EXPECT_EQ(saved.read("end]", "k", "?"), "d");
    EXPECT_EQ(saved.read("[lead", "k", "?"), "e");
    EXPECT_EQ(saved.read(";semi", "k", "?"), "f");
    EXPECT_EQ(saved.read("x=y", "k", "?"), "g");
    EXPECT_EQ(saved.read("a", "k", "?"), "?");  // "[a]b]" is no section "a"
    EXPECT_EQ(saved.sections(), Sjis({"S11まとめ[1]", "S12くらしの中の漢字[読み]", "a]b", "end]",
                                      "[lead", ";semi", "x=y"}));
    // Text after the last "]" is not part of the name; blanks around the name are not either.
    const ProfileLines hand(Sjis({"[a]b] ; note", "k=1", "[ spaced ]x", "k=2"}));
    EXPECT_EQ(hand.read("a]b", "k", "?"), "1");
    EXPECT_EQ(hand.read("spaced", "k", "?"), "2");
    // A later write to such a section goes into it.
    ProfileLines more(ini.lines());
    ASSERT_TRUE(more.write(sjis("S11まとめ[1]"), "2", "again"));
    EXPECT_EQ(more.keys(sjis("S11まとめ[1]")), (Lines{"1", "2"}));
    EXPECT_EQ(more.lines()[2], "2=again");
}

TEST(ProfileLines, OnlyNamesWindowsCannotHoldAreRefusedAndTheReasonIsKept) {
    ProfileLines ini(Sjis({"[s]", "k=1"}));
    // A line break would end the section line early; half a character at the end would take
    // the closing "]" as its second byte.
    EXPECT_FALSE(ini.write(sjis("S11まとめ\r\n[1]"), "1", "v"));
    const std::string first = ini.refusal();
    EXPECT_NE(first.find(sjis("改行")), std::string::npos);
    EXPECT_NE(first.find(sjis("S11まとめ")), std::string::npos);
    EXPECT_FALSE(ini.write(sjis("S11まとめ") + "\x82", "1", "v"));
    EXPECT_EQ(ini.refusal(), first);  // the first refusal is the one told
    EXPECT_EQ(ini.lines(), Sjis({"[s]", "k=1"}));
    EXPECT_EQ(ProfileNameProblem(sjis("S11まとめ") + "\x82", "1").problem().message,
              sjis("セクション名「S11まとめ") + "\x82" + sjis("」の終わりの文字が欠けています"));
    EXPECT_TRUE(ProfileNameProblem(sjis("S11まとめ[1]"), "1"));
    EXPECT_TRUE(ProfileNameProblem("]", "1"));
    EXPECT_TRUE(ProfileNameProblem("[", "1"));
}

// The four characters with two double-byte codes each: IBM's and NEC's.
struct TwoSpellings {
    std::string ibm, nec;
};
const TwoSpellings kRomanI{"\xFA\x40", "\xEE\xEF"};     // ⅰ
const TwoSpellings kTakaKanji{"\xFB\xFC", "\xEE\xE0"};  // 髙
const TwoSpellings kSakiKanji{"\xFA\xB1", "\xED\x95"};  // 﨑
const TwoSpellings kBecause{"\xFA\x5B", "\x87\x9A"};    // ∵ (also 81E6)

TEST(ProfileLines, NamesSpelledWithEitherDuplicateCodeAreOne) {
    for (const TwoSpellings& c : {kRomanI, kTakaKanji, kSakiKanji, kBecause}) {
        ASSERT_NE(c.ibm, c.nec);
        ASSERT_TRUE(SameSpelling(c.ibm, c.nec)) << "the codes must decode to one character";
    }
    // Windows compares names as the characters they decode to; case of ASCII letters aside.
    const std::string ibmSection = "S11" + kTakaKanji.ibm + kSakiKanji.ibm + kRomanI.ibm;
    const std::string necSection = "s11" + kTakaKanji.nec + kSakiKanji.nec + kRomanI.nec;
    ProfileLines ini({"[" + ibmSection + "]", "1=run one", kBecause.nec + "=why"});
    EXPECT_TRUE(ini.hasSection(necSection));
    EXPECT_EQ(ini.read(necSection, "1", "?"), "run one");
    EXPECT_EQ(ini.read(necSection, kBecause.ibm, "?"), "why");
    EXPECT_EQ(ini.read(ibmSection, "\x81\xE6", "?"), "why");  // the JIS code of ∵ too
    EXPECT_EQ(ini.keys(necSection), (Lines{"1", kBecause.nec}));
    // A write with the other spelling goes into the section there and keeps its spelling, the
    // key's too; a new key is added as given.
    ASSERT_TRUE(ini.write(necSection, "2", "run two"));
    ASSERT_TRUE(ini.write(ibmSection, kBecause.ibm, "because"));
    EXPECT_EQ(ini.lines(),
              (Lines{"[" + ibmSection + "]", "1=run one", kBecause.nec + "=because", "2=run two"}));
    EXPECT_EQ(ini.sections(), Lines{ibmSection});

    // The same section under both spellings, as a file written before names were compared so:
    // the first is read and written, listed once, and erasing takes both.
    ProfileLines split(
        {"[" + necSection + "]", "1=first", "[keep]", "a=1", "[" + ibmSection + "]", "1=second"});
    EXPECT_EQ(split.sections(), (Lines{necSection, "keep"}));
    EXPECT_EQ(split.read(ibmSection, "1", "?"), "first");
    ASSERT_TRUE(split.write(ibmSection, "2", "third"));
    EXPECT_EQ(split.lines()[2], "2=third");
    split.eraseSection(ibmSection);
    EXPECT_EQ(split.lines(), (Lines{"[keep]", "a=1"}));
    EXPECT_FALSE(split.hasSection(necSection));
}

TEST(ProfileFile, DuplicateSpellingsOnDiskReadTheSameAndTheFileKeepsItsBytes) {
    TempDir dir;
    const auto path = dir.path() / "rec.ini";
    // As a Windows machine leaves it after saving: IBM codes in the heading.
    WriteRawFile(path, "[S11" + kTakaKanji.ibm + "]\r\n1=a\r\n");
    ProfileFile file(dir.folder() + "rec.ini");
    ASSERT_TRUE(file.write("S11" + kTakaKanji.nec, "2", "b"));
    EXPECT_EQ(ReadRawFile(path), "[S11" + kTakaKanji.ibm + "]\r\n1=a\r\n2=b\r\n");
    EXPECT_EQ(file.keys("S11" + kTakaKanji.nec), (Lines{"1", "2"}));
    ASSERT_TRUE(file.eraseSection("s11" + kTakaKanji.nec));
    EXPECT_EQ(ReadRawFile(path), "");
}

TEST(ProfileLines, EndOfFileByteAndBlankLines) {
    // A value ending in 1A hex is written quoted: unquoted as the last line it would lose the
    // byte, which reading takes for the DOS end-of-file mark.
    ProfileLines ini;
    ASSERT_TRUE(ini.write("s", "k", "v\x1A"));
    ASSERT_TRUE(ini.write("s", "only", "\x1A"));
    EXPECT_EQ(ini.lines(), (Lines{"[s]", "k=\"v\x1A\"", "only=\"\x1A\""}));
    const ProfileLines reread(SplitLines(JoinLines(ini.lines())));
    EXPECT_EQ(reread.read("s", "k", "?"), "v\x1A");
    EXPECT_EQ(reread.read("s", "only", "?"), "\x1A");
    // An end-of-file mark still ends a hand-written file, alone on a line or after the value.
    EXPECT_EQ(ProfileLines(SplitLines("[s]\r\nk=v\x1A")).read("s", "k", "?"), "v");
    EXPECT_EQ(ProfileLines(SplitLines("[s]\r\nk=v\r\n\x1A")).lines(), (Lines{"[s]", "k=v"}));
    // A blank last line is a line of the file, not an end-of-file mark.
    EXPECT_EQ(ProfileLines(SplitLines("\r\n")).lines(), Lines{""});
    EXPECT_EQ(ProfileLines(SplitLines("[s]\r\nk=v\r\n\r\n")).lines(), (Lines{"[s]", "k=v", ""}));

    TempDir dir;
    const auto path = dir.path() / "rec.ini";
    WriteRawFile(path, "\r\n");
    ProfileFile file(dir.folder() + "rec.ini");
    // A new section goes after every line of the file, the blank one kept.
    ASSERT_TRUE(file.write("s", "k", "v\x1A"));
    EXPECT_EQ(ReadRawFile(path), "\r\n[s]\r\nk=\"v\x1A\"\r\n");
    EXPECT_EQ(file.read("s", "k", "?"), "v\x1A");
}

TEST(ProfileFile, AWriteRefusedInsideAnUpdateFailsAndSavesNothing) {
    TempDir dir;
    const auto path = dir.path() / "rec.ini";
    const std::string original = "[password]\r\npw=abcd\r\n";
    WriteRawFile(path, original);
    ProfileFile file(dir.folder() + "rec.ini");
    const std::string bad = sjis("S11まとめ\n1");

    // The change says "nothing to save" because its write was refused: a failure all the same.
    Result<> result = file.update([&](ProfileLines& p) { return p.write(bad, "1", "run"); });
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.problem().message, sjis("ファイル ") + dir.folder() + "rec.ini" +
                                            sjis(" を保存できませんでした：") +
                                            ProfileNameProblem(bad, "1").problem().message);
    EXPECT_EQ(result.problem().reason, ProfileNameProblem(bad, "1").problem().message);
    // A refused write among good ones: none is saved, the caller hears of it.
    result = file.update([&](ProfileLines& p) {
        p.write("password", "pw", "changed");
        p.write(bad, "1", "run");
        p.write("other", "1", "x");
        return true;
    });
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(ReadRawFile(path), original);
    // Through write, too, the reason is given alone.
    result = file.write(bad, "1", "run");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.problem().reason, ProfileNameProblem(bad, "1").problem().message);
    EXPECT_EQ(ReadRawFile(path), original);

    // Nothing to save without a refusal stays a success, and a missing file is not created.
    ProfileFile missing(dir.folder() + "none.ini");
    EXPECT_TRUE(missing.update([](ProfileLines&) { return false; }).ok());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.ini"));
    // A name with "]" is saved.
    ASSERT_TRUE(
        file.update([](ProfileLines& p) { return p.write(sjis("S11まとめ[1]"), "1", "r"); }));
    EXPECT_EQ(ReadRawFile(path), original + sjis("[S11まとめ[1]]\r\n1=r\r\n"));
}

}  // namespace
}  // namespace sulkan
