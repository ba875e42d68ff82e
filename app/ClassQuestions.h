// Where the questions of a lesson's sections are read from for the class's per-question results,
// and those results as "sulkan records --questions" writes them.
#pragma once

#include <string>
#include <vector>

#include "CourseTree.h"

namespace sulkan {

// The question file of each section 1..sectionCount of the lesson (CP932); empty for a section
// whose file may not be read (its name leads out of the course folder, or the lesson is no slot).
std::vector<std::string> SectionQuestionFiles(const std::string& programFolder,
                                              const CourseTables& tables, int lesson,
                                              int sectionCount);

}  // namespace sulkan
