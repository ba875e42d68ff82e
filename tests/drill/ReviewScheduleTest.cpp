// The spaced review schedule over sequences of dated runs, with the day given by the test, and
// the units of a lesson due on a day.
#include <gtest/gtest.h>

#include <cstdio>

#include "ProfileFile.h"
#include "ReviewSchedule.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::Sjis;

long long Day(int y, int m, int d) {
    const DayNumber n = DayNumberOf({y, m, d});
    EXPECT_TRUE(n.ok) << y << "-" << m << "-" << d;
    return n.days;
}

// A record line of a run on that day: all right, or one of two blanks wrong.
std::string RunOn(int y, int m, int d, bool perfect) {
    char text[128];
    std::snprintf(text, sizeof text, "%04d年%02d月%02d日 10:00 %s  %d/ 2 %3d点 01:00", y, m, d,
                  perfect ? "OO" : "Ox", perfect ? 2 : 1, perfect ? 100 : 50);
    return sjis(text);
}

TEST(ReviewDays, CalendarDaysCountAcrossMonthsAndLeapYearsAndRefuseNonDates) {
    EXPECT_EQ(Day(1970, 1, 1), 0);
    EXPECT_EQ(Day(2004, 3, 1) - Day(2004, 2, 28), 2);  // 29 February 2004
    EXPECT_EQ(Day(2003, 3, 1) - Day(2003, 2, 28), 1);
    EXPECT_EQ(Day(2004, 1, 1) - Day(2003, 12, 31), 1);
    EXPECT_FALSE(DayNumberOf({2003, 2, 29}).ok);
    EXPECT_FALSE(DayNumberOf({2003, 13, 1}).ok);
    EXPECT_FALSE(DayNumberOf({2003, 0, 1}).ok);
    EXPECT_FALSE(DayNumberOf({-1, -1, -1}).ok);
}

TEST(ReviewSchedule, IntervalsGrowWithEachDuePerfectRunAndFallBackAfterAMiss) {
    std::vector<std::string> lines;
    auto after = [&](int y, int m, int d, bool perfect) {
        lines.push_back(RunOn(y, m, d, perfect));
        return ScheduleOf(lines);
    };
    UnitSchedule s = after(2003, 10, 1, true);
    EXPECT_EQ(s.intervalDays, 1);
    EXPECT_FALSE(s.due(Day(2003, 10, 1)));
    EXPECT_TRUE(s.due(Day(2003, 10, 2)));

    EXPECT_EQ(after(2003, 10, 2, true).intervalDays, 3);
    // Again before it was due: the interval stays, counted from this run.
    s = after(2003, 10, 3, true);
    EXPECT_EQ(s.intervalDays, 3);
    EXPECT_EQ(s.dueDay, Day(2003, 10, 6));
    EXPECT_FALSE(s.due(Day(2003, 10, 5)));
    EXPECT_TRUE(s.due(Day(2003, 10, 6)));

    EXPECT_EQ(after(2003, 10, 6, true).intervalDays, 7);
    EXPECT_EQ(after(2003, 10, 13, true).intervalDays, 14);
    // Late is as good as on time.
    EXPECT_EQ(after(2003, 11, 20, true).intervalDays, 30);
    s = after(2003, 12, 25, true);
    EXPECT_EQ(s.intervalDays, 30);  // the longest stays
    EXPECT_EQ(s.dueDay, Day(2004, 1, 24));
    EXPECT_EQ(s.runs, 7);

    // A miss is due at once, the same day too; the next perfect run starts over at one day.
    s = after(2004, 1, 5, false);
    EXPECT_FALSE(s.lastPerfect);
    EXPECT_EQ(s.intervalDays, 0);
    EXPECT_TRUE(s.due(Day(2004, 1, 5)));
    s = after(2004, 1, 5, true);
    EXPECT_EQ(s.intervalDays, 1);
    EXPECT_FALSE(s.due(Day(2004, 1, 5)));
    EXPECT_EQ(after(2004, 1, 6, true).intervalDays, 3);
}

TEST(ReviewSchedule, DamagedLinesAndNonDatesAreSkippedAndCounted) {
    const std::vector<std::string> lines = {
        RunOn(2003, 10, 1, false), sjis("2003年02月29日 10:00 OO  2/ 2 100点 01:00"), "?",
        sjis("2003年10月02日 10:00 OO  2/ 2 100点"),
        // Says all right while its marks say otherwise.
        sjis("2003年10月02日 11:00 Ox  2/ 2 100点 01:00"), RunOn(2003, 10, 2, true)};
    const UnitSchedule s = ScheduleOf(lines);
    EXPECT_EQ(s.damaged, 4);
    EXPECT_EQ(s.runs, 2);
    EXPECT_EQ(s.intervalDays, 1);
    EXPECT_EQ(s.lastDay, Day(2003, 10, 2));
    // Only damaged lines: as if never run, never due.
    EXPECT_FALSE(ScheduleOf({"?", "x"}).due(Day(2030, 1, 1)));
    EXPECT_FALSE(ScheduleOf({}).due(Day(2030, 1, 1)));
}

TEST(ReviewSchedule, TheLessonsDueUnitsLongestWaitingFirstSimilarProblemsCount) {
    const LessonOutline outline =
        OutlineOfLesson(Sjis({"課", "[[sect1", "読み", "<<", "一", "二", "三", ">>", "]]",
                              "[[sect2", "書き", "<<", "四", "五", ">>", "]]"}));
    const ProfileLines records(
        Sjis({"[S11一]", "1=2003年10月01日 10:00 OO  2/ 2 100点 01:00",  // due 10/02
              "[S12二]", "1=2003年10月09日 10:00 Ox  1/ 2  50点 01:00",  // missed: due 10/09
              "[S13三]", "1=2003年10月09日 10:00 OO  2/ 2 100点 01:00",  // due 10/10: not yet
              // A similar problem shares its unit's records: missed on 10/05.
              "[S21四]", "1=2003年10月04日 10:00 OO  2/ 2 100点 01:00",
              "2=類題1)2003年10月05日 10:00 xx  0/ 2   0点 01:00", "3=壊れた行",
              // 五 never run; a copy file's runs are no unit's.
              "[まとめ.skn]", "1=2003年10月01日 10:00 Ox  1/ 2  50点 01:00"}));
    const DueList list = DueUnits(outline, records, {2003, 10, 9});
    std::vector<std::size_t> units;
    for (const DueUnit& d : list.due) units.push_back(d.unit);
    EXPECT_EQ(units, (std::vector<std::size_t>{0, 3, 1}));
    EXPECT_EQ(list.damaged, 1);
    EXPECT_TRUE(DueUnits(outline, records, {2003, 9, 30}).due.empty());
    // A day that does not exist makes nothing due.
    EXPECT_TRUE(DueUnits(outline, records, {2003, 2, 30}).due.empty());
}

}  // namespace
}  // namespace sulkan
