// Record lines read back, learner names, the class overview and the CSV export.
#include <gtest/gtest.h>

#include "RecordStore.h"
#include "Sjis.h"
#include "StudyRecord.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::Sjis;

TEST(RecordStore, RecordLinesReadBackIntoTheirParts) {
    StudyRun run;
    run.when = {2003, 10, 15, 14, 5};
    run.correct = 0;
    run.total = 12;
    run.score = 0;
    run.elapsedSeconds = 100 * 60 + 5;
    run.prefix = SimilarPrefix(2);
    // No marks at all: two blanks stand between the time and the result.
    const std::string line = StudyRecordLine(run);
    EXPECT_EQ(line, sjis("類題2)2003年10月15日 14:05   0/12   0点 100:05"));
    RecordEntry e = ParseRecordLine(line);
    EXPECT_TRUE(e.parsed);
    EXPECT_EQ(e.similar, 2);
    EXPECT_EQ(e.marks, "");
    EXPECT_EQ(e.total, 12);
    EXPECT_EQ(e.seconds, 6005);

    e = ParseRecordLine(sjis("2003年10月15日 14:05 OxOO  3/ 4 100点 01:23"));
    EXPECT_TRUE(e.parsed);
    EXPECT_EQ(e.similar, 0);
    EXPECT_EQ(e.marks, "OxOO");
    EXPECT_EQ(e.score, 100);
    // A damaged line keeps what was read before the fault.
    e = ParseRecordLine(sjis("2003年10月15日 14:05 OxOO  3/ 4  75点"));
    EXPECT_FALSE(e.parsed);
    EXPECT_EQ(e.year, 2003);
    EXPECT_EQ(e.score, 75);
    EXPECT_EQ(e.seconds, -1);
    EXPECT_FALSE(ParseRecordLine("?").parsed);
}

TEST(RecordStore, NamesThatCannotNameAFileAreRefused) {
    for (const char* good : {"共通", "taro", "Taro", "山田 花子", "表", "con1", "COM0", "a.b"})
        EXPECT_EQ(LearnerNameProblem(sjis(good)).problem().message, "") << good;
    for (const char* bad : {"a\\b", "a/b",   "c:",    "a*",      "a?",     "\"q\"", "<a>",
                            "a|b",  " taro", "taro ", "　花子",  "花子　", ".taro", "taro.",
                            "a..b", "CON",   "con",   "Nul.txt", "com1",   "LPT9",  "tab\tname"}) {
        const std::string problem = LearnerNameProblem(sjis(bad)).problem().message;
        EXPECT_NE(problem, "") << bad;
    }
    EXPECT_NE(LearnerNameProblem(std::string(65, 'a')).problem().message, "");
    EXPECT_EQ(LearnerNameProblem(std::string(64, 'a')).problem().message, "");
    EXPECT_NE(LearnerNameProblem("\x81").problem().message, "");  // a lead byte without its trail
    EXPECT_NE(LearnerNameProblem("a\xFD").problem().message, "");
    // The message names the name.
    EXPECT_NE(LearnerNameProblem("a*").problem().message.find("a*"), std::string::npos);
    EXPECT_TRUE(PasswordLongEnough(sjis("秘密")));
    EXPECT_FALSE(PasswordLongEnough("abc"));
}

ProfileLines Records(const std::vector<std::string>& utf8) {
    return ProfileLines(Sjis(utf8));
}

TEST(RecordStore, OverviewAndCsvFollowTheLessonIndex) {
    // Section 1 unit 12 and section 11 unit 2 share S112同じ; a title holds "回".
    std::vector<std::string> index = {"レッスン", "[[sect1", "一の回", "<<"};
    for (int u = 1; u <= 11; ++u) index.push_back("u" + std::to_string(u));
    index.insert(index.end(), {"同じ", ">>", "]]"});
    for (int s = 2; s <= 11; ++s)
        index.insert(index.end(),
                     {"[[sect" + std::to_string(s), "t", "<<", "第1回", "同じ", ">>", "]]"});
    const LessonOutline outline = OutlineOfLesson(Sjis(index));
    ASSERT_EQ(outline.sectionTitles.size(), 11u);
    ASSERT_EQ(outline.units.size(), 12u + 20u);
    EXPECT_EQ(outline.units[11].recordSection, sjis("S112同じ"));
    EXPECT_EQ(outline.units.back().recordSection, sjis("S112同じ"));
    EXPECT_EQ(outline.units[12].recordSection, sjis("S21第1回"));

    const ProfileLines taro = Records(
        {"[password]", "pw=abcd", "[S112同じ]", "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23",
         "2=類題1)2003年10月16日 09:00 OOOO  4/ 4 100点 00:40", "[S21第1回]",
         "1=broken, \"quoted\"", "[my,copy.skn]", "1=2003年10月17日 10:00 xx  0/ 2   0点 00:10"});
    const auto rows = BuildClassOverview(outline, {{"taro", taro}});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[11].runs, 2);
    EXPECT_EQ(rows[0].cells[11].last.score, 100);
    EXPECT_EQ(rows[0].cells[11].last.similar, 1);
    EXPECT_EQ(rows[0].cells.back().runs, 2);  // the shared section shows in both places
    EXPECT_EQ(rows[0].cells[0].runs, 0);
    EXPECT_EQ(ScoreBand(39), 0);
    EXPECT_EQ(ScoreBand(40), 1);
    EXPECT_EQ(ScoreBand(99), 2);
    EXPECT_EQ(ScoreBand(100), 3);

    const CsvText csv = RecordsCsv(CsvRecordsOf(sjis("太郎,\"T\"\r\n"), 3, outline, taro));
    EXPECT_EQ(csv.unparsed, 1);
    const std::string learner = "\"太郎,\"\"T\"\"\r\n\"";
    EXPECT_EQ(csv.bytes,
              "\xEF\xBB\xBFlearner,lesson,section,unit,similar,title,run,date,time,marks,correct,"
              "total,score,seconds,raw\r\n" +
                  learner + ",3,1,12,0,同じ,1,2003-10-15,14:05,OxOO,3,4,75,83,\r\n" + learner +
                  ",3,1,12,1,同じ,2,2003-10-16,09:00,OOOO,4,4,100,40,\r\n" + learner +
                  ",3,2,1,,第1回,1,,,,,,,,\"broken, \"\"quoted\"\"\"\r\n" + learner +
                  ",3,,,0,\"my,copy.skn\",1,2003-10-17,10:00,xx,0,2,0,10,\r\n");
    // Without unreadable lines there is no raw column.
    EXPECT_EQ(RecordsCsv(std::vector<CsvRecord>{}).bytes,
              "\xEF\xBB\xBFlearner,lesson,section,unit,similar,title,run,date,time,marks,correct,"
              "total,score,seconds\r\n");
}

TEST(RecordStore, LearnersComeFromTheRosterAndTheFilesFound) {
    const std::vector<std::string> roster = Sjis({"共通", "taro", "hanako", "nobody"});
    const std::vector<std::string> files =
        Sjis({"ziro.ini", "TARO.ini", "hanako.ini", "共通.ini", "con.ini"});
    EXPECT_EQ(LearnersWithRecords(roster, files), Sjis({"共通", "taro", "hanako", "ziro"}));
}

TEST(RecordStore, NamesWhoseTrailBytesLookLikeLettersAreDifferentLearners) {
    // ナ (83 69) and オ (83 49) differ only in a trail byte in the range of "i" and "I"; so do
    // 葉/裕, ト/エ, ニ/カ, ホ/セ and 子/参. Folding those bytes made one learner of two.
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"ナミ", "オミ"}, {"葉子", "裕子"}, {"ト", "エ"}, {"ニ", "カ"}, {"ホ", "セ"}, {"子", "参"}};
    for (const auto& [a, b] : pairs) {
        const std::vector<std::string> names = Sjis({a, b});
        EXPECT_EQ(LearnersWithRecords({}, Sjis({a + ".ini", b + ".ini"})).size(), 2u) << a;
        const auto found = LearnersWithRecords(names, Sjis({b + ".ini", a + ".ini"}));
        EXPECT_EQ(found, names) << a << " " << b;
        // Each from the roster finds only its own file.
        EXPECT_EQ(LearnersWithRecords(Sjis({a}), Sjis({b + ".ini"})), Sjis({b})) << a;
    }
    // ASCII letters still fold, as Windows names files: one learner, the roster's spelling.
    EXPECT_EQ(LearnersWithRecords(Sjis({"Taro"}), Sjis({"TARO.ini", "taro.ini"})), Sjis({"Taro"}));
    EXPECT_TRUE(LearnerNameProblem(sjis("コン")).problem().message.empty());
    EXPECT_FALSE(LearnerNameProblem("Con.txt").problem().message.empty());
}

TEST(RecordStore, EveryKeyLineIsReadEvenWithGapsInTheKeys) {
    const LessonOutline outline = OutlineOfLesson(Sjis({"L", "[[sect1", "t", "<<", "駅", ">>"}));
    const ProfileLines file = Records({"[S11駅]", "1=2003年10月15日 14:05 O  1/ 1 100点 00:10",
                                       "2=2003年10月16日 14:05 x  0/ 1   0点 00:10", "=no key",
                                       "4=2003年10月17日 14:05 Ox  1/ 2  50点 00:10"});
    EXPECT_EQ(RecordLinesOf(file, sjis("S11駅")).size(), 3u);
    EXPECT_EQ(RecordLinesOf(file, sjis("S11駅")).back(),
              sjis("2003年10月17日 14:05 Ox  1/ 2  50点 00:10"));
    const auto rows = BuildClassOverview(outline, {{"taro", file}});
    EXPECT_EQ(rows[0].cells[0].runs, 3);
    EXPECT_EQ(rows[0].cells[0].last.score, 50);
    const auto csv = CsvRecordsOf("taro", 1, outline, file);
    ASSERT_EQ(csv.size(), 3u);
    EXPECT_EQ(csv[2].run, 3);
    EXPECT_EQ(csv[2].raw, sjis("2003年10月17日 14:05 Ox  1/ 2  50点 00:10"));
}

TEST(RecordStore, ATitleEndingInABlankIsExportedWithItsUnit) {
    // The drill writes the section trimmed, as every profile write trims names.
    const LessonOutline outline =
        OutlineOfLesson(Sjis({"L", "[[sect1", "t", "<<", "駅 ", "まとめ　 ", ">>"}));
    ProfileLines file;
    ASSERT_TRUE(file.write(outline.units[0].recordSection, "1", "a"));
    ASSERT_TRUE(file.write(outline.units[1].recordSection, "1", "b"));
    EXPECT_EQ(file.sections(), Sjis({"S11駅", "S12まとめ　"}));
    const auto csv = CsvRecordsOf("taro", 1, outline, file);
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_EQ(csv[0].section, 1);
    EXPECT_EQ(csv[0].unit, 1);
    EXPECT_EQ(csv[1].unit, 2);
    EXPECT_EQ(csv[1].title, sjis("まとめ　 "));
}

TEST(RecordStore, OnlyFilesWithRecordSectionsAreLearners) {
    const LessonOutline outline = OutlineOfLesson(Sjis({"L", "[[sect1", "t", "<<", "駅", ">>"}));
    EXPECT_FALSE(HoldsRecordSections(
        Records({"[.ShellClassInfo]", "IconResource=x.ico", "[ViewState]", "Mode="}), outline));
    EXPECT_FALSE(HoldsRecordSections(Records({"[S12旅行]", "1=x", "[skn]"}), outline));
    EXPECT_FALSE(HoldsRecordSections(ProfileLines(), outline));
    EXPECT_TRUE(HoldsRecordSections(Records({"[x]", "[s11駅]"}), outline));
    EXPECT_TRUE(HoldsRecordSections(Records({"[PassWord]", "pw=abcd"}), outline));
    EXPECT_TRUE(HoldsRecordSections(Records({"[まとめ.SKN]", "1=x"}), outline));
}

TEST(RecordStore, ARosterChangeKeepsWhatAnotherComputerSavedMeanwhile) {
    test::TempDir dir;
    const std::string path = (dir.path() / "sname.txt").string();
    test::WriteSjisFile(path, {"共通", "ナミ"});
    int calls = 0;
    // The first look finds a change to make; before the locked write another computer adds 葉子.
    Result<std::vector<std::string>> updated =
        UpdateRoster(path, [&](std::vector<std::string> names) {
            if (++calls == 1) test::WriteSjisFile(path, {"共通", "ナミ", "葉子"});
            names.push_back(sjis("オミ"));
            return names;
        });
    ASSERT_TRUE(updated) << updated.problem().message;
    EXPECT_EQ(calls, 2);
    const std::vector<std::string> expected = Sjis({"共通", "ナミ", "葉子", "オミ"});
    EXPECT_EQ(updated.value(), expected);
    EXPECT_EQ(ReadRoster(path), expected);
    EXPECT_FALSE(std::filesystem::exists(path + ".lock"));

    // Nothing to change writes nothing (a read-only roster still serves), and a first roster is
    // made when there is none.
    const auto written = std::filesystem::last_write_time(path);
    std::filesystem::last_write_time(path, written - std::chrono::hours(1));
    updated = UpdateRoster(path, [](const std::vector<std::string>& names) { return names; });
    EXPECT_TRUE(updated);
    EXPECT_EQ(updated.value(), expected);
    EXPECT_EQ(std::filesystem::last_write_time(path), written - std::chrono::hours(1));
    const std::string fresh = (dir.path() / "new.txt").string();
    updated = UpdateRoster(fresh, [](const std::vector<std::string>& names) {
        return names.empty() ? std::vector<std::string>{sjis("共通")} : names;
    });
    EXPECT_TRUE(updated);
    EXPECT_EQ(ReadRoster(fresh), Sjis({"共通"}));
}

TEST(RecordStore, ARosterThatCannotBeReadIsNeverReplaced) {
    test::TempDir dir;
    // A folder where the roster should be: it cannot be read as lines.
    const std::filesystem::path path = dir.path() / "sname.txt";
    std::filesystem::create_directory(path);
    bool changed = false;
    const Result<std::vector<std::string>> updated =
        UpdateRoster(path.string(), [&](std::vector<std::string> names) {
            changed = true;
            return names;
        });
    EXPECT_FALSE(updated);
    EXPECT_NE(updated.problem().message.find(path.string()), std::string::npos)
        << updated.problem().message;
    EXPECT_FALSE(changed);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
}  // namespace sulkan
