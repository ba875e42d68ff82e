// What the record windows are given to show, filled by their callers without any window: the
// record viewer, the class overview and the all-units tree.
#pragma once

#include <string>
#include <vector>

#include "RecordStore.h"

namespace sulkan {

// What the record viewer (TfrmKiroku) shows, given by its caller (CP932).
struct KirokuSource {
    std::string learnerName;
    std::string recordFile;       // the lesson's record file written to; empty: none usable
    std::string lessonIndexPath;  // the lesson of the current unit
    std::vector<std::string> copyFileNames;  // the copy files kept in the lesson
    // Every file the lesson's records are read from (RecordFileCandidates); empty: recordFile.
    std::vector<std::string> recordFiles;
    // Where the copy files' runs lie (they are always filed under lesson 1); both empty: the
    // lesson's own files.
    std::string copyRecordFile;
    std::vector<std::string> copyRecordFiles;
};

// What the class overview (TfrmClassRecords) shows, given by its caller (CP932).
struct ClassRecordsSource {
    int lesson = 0;
    std::string lessonIndexPath;
    std::vector<LearnerRecordFile> learners;  // in the order they are listed
    std::string saveFolder;                   // where the CSV save dialog opens
    // The question file of each section of the lesson (section 1 first; empty: not to be read),
    // for the correct rate of each question.
    std::vector<std::string> questionFiles;
};

// What the all-units window (TfrmZenTangen) shows (CP932).
struct ZenTangenSource {
    std::string lessonTitle;  // line 0 of the lesson index
    std::vector<std::string> sectionTitles;
    std::vector<std::vector<std::string>> unitLines;  // per section: mark + title
    std::string dateStamp;                            // "2003.10.15"
};

}  // namespace sulkan
