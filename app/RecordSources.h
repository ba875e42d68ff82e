// What the record windows show, gathered from the application state: the record viewer of the
// current learner and the class overview of a lesson.
#pragma once

#include "AppState.h"

namespace sulkan {

struct KirokuSource;
struct ClassRecordsSource;

// The record viewer of the current unit's lesson (lesson 1 before any unit was chosen) for the
// current learner, with the copy files kept in that lesson.
KirokuSource RecordViewerSource(const AppState& state);

// The class overview of a lesson: every learner with a record file there.
ClassRecordsSource ClassRecordsSourceOf(const AppState& state, int lesson);

}  // namespace sulkan
