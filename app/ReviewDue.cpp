#include "ReviewDue.h"

#include <algorithm>

#include "RecordFile.h"
#include "TextRoutines.h"

namespace sulkan {

CalendarDay Today() {
    const LocalTime now = Now();
    return {now.year, now.month, now.day};
}

LessonOutline OutlineFromTables(const CourseTables& tables, int lesson, int sectionCount) {
    LessonOutline outline;
    const int sections = std::min(sectionCount, kMaxSlots);
    for (int section = 1; section <= sections; ++section) {
        outline.sectionTitles.emplace_back();
        const int units = std::min(tables.SectionUnitCounts[section], kMaxSlots);
        for (int unit = 1; unit <= units; ++unit)
            outline.units.push_back({section, unit, UnitTitleOf(tables, section, unit),
                                     UnitRecordSection(tables, {lesson, section, unit, 0})});
    }
    return outline;
}

LearnerDue LearnerDueList(const AppState& state, int lesson, int sectionCount,
                          const CalendarDay& today) {
    if (state.LearnerName.empty() || !IsSlot(lesson)) return {};
    // Only this learner's own files: nobody else's results are read.
    const std::vector<std::string> files =
        RecordFileCandidates(state.ProgramFolder, state.Course, state.LearnerName, lesson,
                             state.RunFromCdRom, state.RecordsFolder);
    if (files.empty()) return {};
    const LessonOutline outline = OutlineFromTables(state.Course, lesson, sectionCount);
    const DueList list = DueUnits(outline, LoadRecordFiles(files), today);
    LearnerDue due;
    due.damaged = list.damaged;
    for (const DueUnit& d : list.due) due.units.push_back(outline.units[d.unit]);
    return due;
}

}  // namespace sulkan
