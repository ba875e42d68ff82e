// "sulkan records": the study records of one lesson as CSV or as a spreadsheet, without a window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "CourseTree.h"
#include "RecordStore.h"
#include "SettingsStore.h"

namespace sulkan {

// The learners of a lesson that have a record file there (roster order, then the other files
// found), each with the file the drill writes them to.
std::vector<LearnerRecordFile> LessonRecordFiles(const std::string& programFolder,
                                                 const CourseTables& tables, int lesson,
                                                 bool runFromCdRom,
                                                 const std::string& recordsFolder);

// args: the arguments after "records":
//   [--course DIR] --lesson L [--learner NAME] [--out FILE.csv] [--xlsx FILE.xlsx]
//   [--course DIR] --lesson L [--learner NAME] --questions [--all-runs] [--out FILE.csv]
// The second form writes the correct rate of every question of the lesson's units (QuestionsCsv)
// from each learner's first run, or from every run with --all-runs.
// The CSV (UTF-8 with BOM, CR LF) goes to the file or, when neither file is named, to out; the
// spreadsheet to its file. Messages go to err (UTF-8). The records folder comes from settings
// ("RecDrive"). Returns 0 done, 1 when a record line did not parse (it is exported with its raw
// text) or a file or out could not be written, 2 for wrong arguments or a lesson that does not
// exist.
// The usage text of "sulkan records" (UTF-8).
const char* RecordsUsage();

int RunRecordsCommand(const std::vector<std::string>& args, SettingsStore& settings,
                      std::ostream& out, std::ostream& err);

}  // namespace sulkan
