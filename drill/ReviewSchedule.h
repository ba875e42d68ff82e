// When a learner should look at a unit again: a spaced schedule worked out from the learner's
// record lines alone (so every computer of the school gives the same answer), and the units of a
// lesson due on a given day. Plain logic; the day is always given by the caller.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "RecordStore.h"

namespace sulkan {

// Days between a 100 % run and the next review, after the first, second, ... 100 % run in a row.
inline constexpr std::array<int, 5> kReviewIntervals = {1, 3, 7, 14, 30};

struct CalendarDay {
    int year = 0, month = 0, day = 0;
};
// Days since 1 January 1970; false in ok when the date does not exist.
struct DayNumber {
    long long days = 0;
    bool ok = false;
};
DayNumber DayNumberOf(const CalendarDay& date);

// A unit's place in the schedule after its record lines, read in order:
// - a run below 100 % starts over: the unit is due at once, and the next 100 % run waits 1 day;
// - a 100 % run after a miss (or the first run) waits kReviewIntervals[0];
// - a 100 % run done when the unit was due moves one interval on (up to the last); one done
//   before it was due keeps the interval, counted from this run.
// Lines that do not read, whose result disagrees with their marks (SoundRecord) or whose date
// does not exist are skipped and counted.
struct UnitSchedule {
    int runs = 0;  // runs that counted
    int damaged = 0;
    bool lastPerfect = false;
    int step = 0;          // 100 % runs in a row that moved the interval on (0 after a miss)
    int intervalDays = 0;  // 0 after a miss
    long long lastDay = 0;
    long long dueDay = 0;  // the day of the last run after a miss

    bool due(long long today) const { return runs > 0 && today >= dueDay; }
};
UnitSchedule ScheduleOf(const std::vector<std::string>& recordLines);

struct DueUnit {
    std::size_t unit = 0;  // into the outline's units
    UnitSchedule schedule;
};
// The units of the lesson due on today (a unit never run is not due), the longest waiting first
// (earliest due day, then outline order); damaged counts the lines skipped in all units.
struct DueList {
    std::vector<DueUnit> due;
    int damaged = 0;
};
DueList DueUnits(const LessonOutline& outline, const ProfileLines& learnerRecords,
                 const CalendarDay& today);

}  // namespace sulkan
