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

}  // namespace
}  // namespace sulkan
