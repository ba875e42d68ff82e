#include <gtest/gtest.h>

#include <memory>

#include "FileLock.h"
#include "RecordFile.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::Sjis;
using test::TempDir;

std::unique_ptr<CourseTables> OneLesson() {
    auto tables = std::make_unique<CourseTables>();
    tables->LessonFolders[1] = "kanji1\\";
    tables->LessonBaseNames[1] = "k1";
    tables->SectionUnitTitles[1] = Sjis({"漢字の音", "漢字の読み"});
    tables->SectionUnitTitles[11] = Sjis({"x", "漢字の読み"});
    return tables;
}

TEST(UnitRecordSection, SectionUnitAndTitleWithoutSeparators) {
    auto tables = OneLesson();
    EXPECT_EQ(UnitRecordSection(*tables, {1, 1, 2, 0}), sjis("S12漢字の読み"));
    // Similar problems share the unit's section.
    EXPECT_EQ(UnitRecordSection(*tables, {1, 1, 2, 3}), sjis("S12漢字の読み"));
    // Section 1 unit 12 and section 11 unit 2 with the same title collide, as the format has it.
    tables->SectionUnitTitles[1].resize(12, sjis("漢字の読み"));
    EXPECT_EQ(UnitRecordSection(*tables, {1, 1, 12, 0}), UnitRecordSection(*tables, {1, 11, 2, 0}));
    // No title to read: the name still forms, without one.
    EXPECT_EQ(UnitRecordSection(*tables, {1, 1, 13, 0}), "S113");
    EXPECT_EQ(UnitRecordSection(*tables, {1, 81, 1, 0}), "S811");
    EXPECT_EQ(UnitRecordSection(*tables, {1, 0, 0, 0}), "S00");
}

TEST(RecordFilePath, LearnerFileInTheLessonFolder) {
    TempDir dir;
    auto tables = OneLesson();
    const std::string common = sjis("共通");
    EXPECT_EQ(RecordFilePath(dir.folder(), *tables, common, 1, false, ""), "");

    std::filesystem::create_directories(dir.path() / "kanji1");
    const std::string expected = dir.folder() + "kanji1\\" + common + ".ini";
    EXPECT_EQ(RecordFilePath(dir.folder(), *tables, common, 1, false, ""), expected);
    EXPECT_EQ(RecordFilePath(dir.folder(), *tables, common, 0, false, ""), expected);
    EXPECT_EQ(RecordFilePath(dir.folder(), *tables, common, 81, false, ""), "");
    // 表 ends in the byte 5C and is still a plain name.
    EXPECT_EQ(RecordFilePath(dir.folder(), *tables, sjis("表"), 1, false, ""),
              dir.folder() + "kanji1\\" + sjis("表") + ".ini");
    // Names that would lead out of the folder give no path.
    for (const std::string name : {"", "..", "..\\..\\x", "a/b"})
        EXPECT_EQ(RecordFilePath(dir.folder(), *tables, name, 1, false, ""), "") << name;
}

TEST(RecordFilePath, NoRecordsThroughALinkOutOfTheCourse) {
    TempDir dir, other;
    auto tables = OneLesson();
    std::filesystem::create_directory_symlink(other.path(), dir.path() / "kanji1");
    EXPECT_EQ(RecordFilePath(dir.folder(), *tables, "taro", 1, false, ""), "");
    tables->LessonRefusals[1] = "refused";
    EXPECT_EQ(RecordFilePath(dir.folder(), *tables, "taro", 1, false, ""), "");
}

TEST(RecordFilePath, FromCdRomTheRecordsLieInTheRecordsFolder) {
    TempDir course, records;
    auto tables = OneLesson();
    std::filesystem::create_directories(course.path() / "kanji1");
    // The per-lesson folder need not exist yet: the writer makes it.
    EXPECT_EQ(RecordFilePath(course.folder(), *tables, "taro", 1, true, records.folder()),
              records.folder() + "k1\\taro.ini");
    EXPECT_EQ(RecordFilePath(course.folder(), *tables, "taro", 1, true, ""), "");
}

TEST(RecordFilePath, AnUnwritableOrMissingLessonFolderSendsRecordsToTheRecordsFolder) {
    TempDir course, records;
    auto tables = OneLesson();
    const std::string inRecords = records.folder() + "k1\\taro.ini";
    // Missing lesson folder.
    EXPECT_EQ(RecordFilePath(course.folder(), *tables, "taro", 1, false, records.folder()),
              inRecords);
    std::filesystem::create_directories(course.path() / "kanji1");
    const std::string inLesson = course.folder() + "kanji1\\taro.ini";
    EXPECT_EQ(RecordFilePath(course.folder(), *tables, "taro", 1, false, records.folder()),
              inLesson);
    // Tests run as root, who may write anywhere: the seam answers for a read-only share.
    std::function<bool(const std::string&)> readOnly = [](const std::string&) { return false; };
    testing_hooks::folderWritable = &readOnly;
    const std::string shared =
        RecordFilePath(course.folder(), *tables, "taro", 1, false, records.folder());
    testing_hooks::folderWritable = nullptr;
    EXPECT_EQ(shared, inRecords);
    // Never under a temp folder, never the bare records folder.
    tables->LessonBaseNames[1].clear();
    std::filesystem::remove(course.path() / "kanji1");
    EXPECT_EQ(RecordFilePath(course.folder(), *tables, "taro", 1, false, records.folder()), "");
}

TEST(RecordSectionKeyCounts, CountsKeysOfEverySectionAsTheProfileFunctionsSeeThem) {
    SectionKeyCounts counts(Sjis({"[password]", "pw=abcd", "[S11漢字の音]", "1=a", "2=b", "",
                                  "; no equals sign, no key", "[S12ア]", "1=x", "[s1abc]", "1=x",
                                  "2=y", "3=z", "[S12ヂ]", "1=x", "2=y", "[unit.skn]"}));
    EXPECT_EQ(counts.count("password"), 1);
    // A unit title ending in a blank names its section with that blank; it is found all the same.
    EXPECT_EQ(counts.count(sjis("S11漢字の音 ")), 2);
    EXPECT_EQ(counts.count(sjis("S11漢字の音")), 2);
    EXPECT_EQ(counts.count("unit.skn"), 0);
    EXPECT_EQ(counts.count("absent"), 0);
    // ASCII letters ignore case; the trail byte of ア (83 41) is not the letter A of ヂ (83 61).
    EXPECT_EQ(counts.count("S1ABC"), 3);
    EXPECT_EQ(counts.count(sjis("S12ア")), 1);
    EXPECT_EQ(counts.count(sjis("S12ヂ")), 2);
    EXPECT_EQ(SectionKeyCounts().count("password"), 0);
}

// A read-only lesson folder (a share, a disc) while the test runs as root.
class ReadOnlyFolders {
public:
    ReadOnlyFolders() { testing_hooks::folderWritable = &m_never; }
    ~ReadOnlyFolders() { testing_hooks::folderWritable = nullptr; }

private:
    std::function<bool(const std::string&)> m_never = [](const std::string&) { return false; };
};

TEST(RecordFileCandidates, TheLessonFolderFirstWritableOrNotThenTheRecordsFolder) {
    TempDir course, records;
    auto tables = OneLesson();
    const std::string inLesson = course.folder() + "kanji1\\taro.ini";
    const std::string inRecords = records.folder() + "k1\\taro.ini";
    // No lesson folder: only the records folder.
    EXPECT_EQ(RecordFileCandidates(course.folder(), *tables, "taro", 1, false, records.folder()),
              (std::vector<std::string>{inRecords}));
    std::filesystem::create_directories(course.path() / "kanji1");
    const std::vector<std::string> both{inLesson, inRecords};
    EXPECT_EQ(RecordFileCandidates(course.folder(), *tables, "taro", 1, false, records.folder()),
              both);
    {
        ReadOnlyFolders readOnly;
        // Written to the records folder now, still read from the lesson folder first.
        EXPECT_EQ(RecordFilePath(course.folder(), *tables, "taro", 1, false, records.folder()),
                  inRecords);
        EXPECT_EQ(
            RecordFileCandidates(course.folder(), *tables, "taro", 0, false, records.folder()),
            both);
    }
    EXPECT_EQ(RecordFileCandidates(course.folder(), *tables, "taro", 1, true, records.folder()),
              both);
    EXPECT_EQ(RecordFileCandidates(course.folder(), *tables, "taro", 1, false, ""),
              (std::vector<std::string>{inLesson}));
    EXPECT_EQ(RecordFolderCandidates(course.folder(), *tables, 1, false, records.folder()),
              (std::vector<std::string>{course.folder() + "kanji1\\", records.folder() + "k1\\"}));
    // The same refusals as RecordFilePath.
    for (const std::string name : {"", "..", "a/b"})
        EXPECT_TRUE(RecordFileCandidates(course.folder(), *tables, name, 1, false, records.folder())
                        .empty())
            << name;
    tables->LessonRefusals[1] = "refused";
    EXPECT_TRUE(
        RecordFileCandidates(course.folder(), *tables, "taro", 1, false, records.folder()).empty());
}

TEST(RecordLineTime, DateAndTimeOfALineAsTheDrillWritesIt) {
    EXPECT_EQ(RecordLineTime(sjis("2003年10月15日 14:05 OxOO  3/ 4  75点 01:23")), 200310151405);
    EXPECT_EQ(RecordLineTime(sjis("類題2)2003年10月15日 09:07 O  1/ 1 100点 00:10")), 200310150907);
    for (const std::string& line : {std::string(), std::string("x"), sjis("2003年10月15日"),
                                    sjis("2003年10月15日 14"), sjis("類題)2003年10月15日 14:05"),
                                    sjis("20031年10月15日 14:05"), sjis("2003年100月15日 14:05")})
        EXPECT_EQ(RecordLineTime(line), -1) << line;
}

TEST(LoadRecordFiles, SectionsOfBothPlacesMergeInDateOrder) {
    TempDir dir;
    const std::string lesson = dir.folder() + "lesson.ini";
    const std::string records = dir.folder() + "records.ini";
    test::WriteSjisFile(
        dir.path() / "lesson.ini",
        {"[password]", "pw=lesson", "[S11駅]", "1=2003年10月15日 14:05 O  1/ 1 100点 00:10",
         "2=書きかけ", "4=2003年10月17日 08:00 x  0/ 1   0点 00:10", "[only.skn]", "1=a"});
    test::WriteSjisFile(
        dir.path() / "records.ini",
        {"[PASSWORD]", "pw=records", "hint=records", "[s11駅]",
         "1=2003年10月16日 09:00 O  1/ 1 100点 00:10", "2=2003年10月18日 10:00 O  1/ 1 100点 00:10",
         "[S12旅行]", "1=\"quoted\""});
    const ProfileLines merged = LoadRecordFiles({lesson, records});
    EXPECT_EQ(merged.sections(), Sjis({"password", "S11駅", "only.skn", "S12旅行"}));
    // Date order across the files; the undated line stays after the line before it.
    EXPECT_EQ(merged.keys(sjis("S11駅")), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    std::vector<std::string> values;
    for (const std::string& key : merged.keys(sjis("S11駅")))
        values.push_back(merged.read(sjis("S11駅"), key, "?"));
    EXPECT_EQ(values, Sjis({"2003年10月15日 14:05 O  1/ 1 100点 00:10", "書きかけ",
                            "2003年10月16日 09:00 O  1/ 1 100点 00:10",
                            "2003年10月17日 08:00 x  0/ 1   0点 00:10",
                            "2003年10月18日 10:00 O  1/ 1 100点 00:10"}));
    // Values come back as they were read (one pair of quotes is no part of a value).
    EXPECT_EQ(merged.read(sjis("S12旅行"), "1", "?"), "quoted");
    // The password of the lesson folder wins; a key only the other file has is taken from it.
    EXPECT_EQ(merged.read("password", "pw", "?"), "lesson");
    EXPECT_EQ(merged.read("password", "hint", "?"), "records");

    // The order of the files decides the password; one file alone is read as it is.
    EXPECT_EQ(LoadRecordFiles({records, lesson}).read("password", "pw", "?"), "records");
    const ProfileLines alone = LoadRecordFiles({lesson, dir.folder() + "missing.ini"});
    EXPECT_EQ(alone.keys(sjis("S11駅")), (std::vector<std::string>{"1", "2", "4"}));
    EXPECT_TRUE(LoadRecordFiles({dir.folder() + "missing.ini"}).sections().empty());
    EXPECT_TRUE(LoadRecordFiles({}).sections().empty());
}

TEST(LoadRecordFiles, ASectionSplitByTheOtherSpellingOfItsTitleReadsWhole) {
    TempDir dir;
    // 纊 spelled FA 5C by another program's rewrite, then ED 40 in the section an old version of
    // this program added beside it: one unit, and every run of it is shown.
    const std::string ibm = sjis("S11") + "\xFA\x5C" + sjis("の字");
    const std::string nec = sjis("S11") + "\xED\x40" + sjis("の字");
    const std::string a = sjis("2003年10月15日 14:05 O  1/ 1 100点 00:10");
    const std::string b = sjis("2003年10月16日 09:00 x  0/ 1   0点 00:10");
    const std::string c = sjis("2003年10月17日 08:00 O  1/ 1 100点 00:10");
    test::WriteRawFile(dir.path() / "one.ini", "[" + ibm + "]\r\n1=" + a + "\r\n2=" + c +
                                                   "\r\n[S12x]\r\n1=y\r\n[" + nec + "]\r\n1=" + b +
                                                   "\r\n");
    const ProfileLines merged = LoadRecordFiles({dir.folder() + "one.ini"});
    EXPECT_EQ(merged.sections(), (std::vector<std::string>{ibm, "S12x"}));
    std::vector<std::string> values;
    for (const std::string& key : merged.keys(nec)) values.push_back(merged.read(nec, key, "?"));
    EXPECT_EQ(values, (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(merged.read("S12x", "1", "?"), "y");

    // The same across two places.
    test::WriteRawFile(dir.path() / "two.ini", "[" + nec + "]\r\n1=" + b + "\r\n");
    test::WriteRawFile(dir.path() / "three.ini",
                       "[" + ibm + "]\r\n1=" + a + "\r\n[" + nec + "]\r\n1=" + c + "\r\n");
    const ProfileLines both =
        LoadRecordFiles({dir.folder() + "two.ini", dir.folder() + "three.ini"});
    EXPECT_EQ(both.keys(ibm).size(), 3u);
    EXPECT_EQ(both.read(ibm, "1", "?"), a);
    EXPECT_EQ(both.read(ibm, "3", "?"), c);
}

TEST(NextRecordKey, OneMoreThanTheLargestNumberSoAGapNeverOverwrites) {
    const ProfileLines file(Sjis({"[S11駅]", "1=a", "2=b", "4=c", "note=d", "; 9=e", "[S12x]",
                                  "0007=a", "[S13y]", "3=a", "1000000000000=b", "4=c", "[S14z]",
                                  "3=a", "99999999999=b", "100000000000=c"}));
    EXPECT_EQ(NextRecordKey(file, sjis("S11駅")), "5");
    EXPECT_EQ(NextRecordKey(file, sjis("s11駅 ")), "5");
    EXPECT_EQ(NextRecordKey(file, "S12x"), "8");
    // Keys too long to be run numbers are stepped around, never overwritten.
    EXPECT_EQ(NextRecordKey(file, "S13y"), "5");
    EXPECT_EQ(NextRecordKey(file, "S14z"), "4");
    EXPECT_EQ(NextRecordKey(file, "new"), "1");
    EXPECT_EQ(NextRecordKey(ProfileLines(Sjis({"[a]", "1000000000=x"})), "a"), "1");
    EXPECT_EQ(NextRecordKey(ProfileLines(Sjis({"[a]", "999999999=x", "1000000000=y"})), "a"),
              "1000000001");
    EXPECT_EQ(NextRecordKey(ProfileLines(Sjis({"[a]", "1=x", "2=x", "1000000000=x", "3=x"})), "a"),
              "4");
}

}  // namespace
}  // namespace sulkan
