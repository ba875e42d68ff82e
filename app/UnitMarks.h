// What unit selection shows about a unit besides its title: the mark and practice count drawn in
// front of it, and the list of its similar problems.
#pragma once

#include <string>
#include <vector>

#include "AppState.h"

namespace sulkan {

struct ZenTangenSource;

// A unit offers at most this many similar problems.
constexpr int kMaxSimilarProblems = 5;

// The similar problems of a unit as listed for choosing: "類題　" + unit + "R" + j (CP932) for
// j = 1, 2, ... while each header "[[unit<unit>R<j>" is found after the previous one. So they
// must stand in the file in order, and the first missing number ends the list.
std::vector<std::string> SimilarProblemItems(const std::vector<std::string>& questionFileLines,
                                             int unit);

// ("◎" with a similar problem, else a full-width space) + "[" + count, or " " for 0, + "]".
std::string UnitMarkText(bool hasSimilar, int practiceCount);

// Recomputes UnitMarks of sections 1..sectionCount of the lesson from the learner's records,
// every file they lie in read once. SimilarFlags are recomputed from the question files only when
// MarksRecountPending is set or similarFlagsStale says they belong to another lesson or an older
// lesson index; MarksRecountPending is cleared afterwards. A section whose question file is
// missing has no similar problems but still gets its practice counts.
void RecountUnitMarks(AppState& state, int lesson, int sectionCount,
                      bool similarFlagsStale = false);

// The mark of a unit of the lesson last counted; none outside the slots.
std::string UnitMarkOf(const AppState& state, int section, int unit);

// The all-units view of a lesson: its title, its sections and each unit with its mark in front,
// stamped with dateStamp. A missing lesson index gives an empty view.
ZenTangenSource ZenTangenSourceOf(const AppState& state, int lesson, const std::string& dateStamp);

}  // namespace sulkan
