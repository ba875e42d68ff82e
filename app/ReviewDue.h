// What the logged-on learner should review today in the lesson listed in unit selection, from
// that learner's own record files only.
#pragma once

#include "AppState.h"
#include "ReviewSchedule.h"

namespace sulkan {

// Today's date on this computer.
CalendarDay Today();

// The units of sections 1..sectionCount of the lesson (as the course tables list them) with their
// record sections, in order.
LessonOutline OutlineFromTables(const CourseTables& tables, int lesson, int sectionCount);

// The learner's due units of the lesson on today, the longest waiting first; empty without a
// learner or a usable record file. damaged: record lines skipped.
struct LearnerDue {
    std::vector<LessonUnit> units;
    int damaged = 0;
};
LearnerDue LearnerDueList(const AppState& state, int lesson, int sectionCount,
                          const CalendarDay& today);

}  // namespace sulkan
