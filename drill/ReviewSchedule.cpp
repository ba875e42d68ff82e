#include "ReviewSchedule.h"

#include <algorithm>
#include <chrono>

#include "QuestionResults.h"

namespace sulkan {

DayNumber DayNumberOf(const CalendarDay& date) {
    using namespace std::chrono;
    const year_month_day ymd{year{date.year}, month{static_cast<unsigned>(date.month)},
                             day{static_cast<unsigned>(date.day)}};
    if (date.month < 1 || date.day < 1 || !ymd.ok()) return {};
    return {sys_days{ymd}.time_since_epoch().count(), true};
}

UnitSchedule ScheduleOf(const std::vector<std::string>& recordLines) {
    UnitSchedule s;
    for (const std::string& line : recordLines) {
        const RecordEntry e = ParseRecordLine(line);
        const DayNumber day = DayNumberOf({e.year, e.month, e.day});
        if (!SoundRecord(e) || !day.ok) {
            ++s.damaged;
            continue;
        }
        const bool perfect = e.correct == e.total;
        if (!perfect) {
            s.step = 0;
            s.intervalDays = 0;
            s.dueDay = day.days;
        } else {
            if (s.step == 0)
                s.step = 1;
            else if (day.days >= s.dueDay)
                s.step = std::min<int>(s.step + 1, static_cast<int>(kReviewIntervals.size()));
            s.intervalDays = kReviewIntervals[static_cast<std::size_t>(s.step - 1)];
            s.dueDay = day.days + s.intervalDays;
        }
        s.lastPerfect = perfect;
        s.lastDay = day.days;
        ++s.runs;
    }
    return s;
}

DueList DueUnits(const LessonOutline& outline, const ProfileLines& learnerRecords,
                 const CalendarDay& today) {
    DueList list;
    const DayNumber now = DayNumberOf(today);
    for (std::size_t u = 0; u < outline.units.size(); ++u) {
        const std::vector<std::string> lines =
            RecordLinesOf(learnerRecords, outline.units[u].recordSection);
        if (lines.empty()) continue;
        UnitSchedule s = ScheduleOf(lines);
        list.damaged += s.damaged;
        if (now.ok && s.due(now.days)) list.due.push_back({u, s});
    }
    std::stable_sort(list.due.begin(), list.due.end(), [](const DueUnit& a, const DueUnit& b) {
        return a.schedule.dueDay < b.schedule.dueDay;
    });
    return list;
}

}  // namespace sulkan
