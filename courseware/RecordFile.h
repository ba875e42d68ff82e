// Where a learner's record file of a lesson lies (and where older records of it may lie), how a
// unit's section in it is named, the record files read as one, and the key counts of all its
// sections at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CourseTree.h"
#include "ProfileFile.h"
#include "UnitAddress.h"

namespace sulkan {

// "S" + section + unit + the unit's title, without separators (S12漢字の読み). A unit and its
// similar problems share one section.
std::string UnitRecordSection(const CourseTables& tables, const UnitAddress& address);

// The learner's record file of a lesson (a lesson below 1 counts as lesson 1):
// - normally the lesson folder + learner + ".ini", when that folder exists and can be written;
// - otherwise (a course on a CD or a read-only share, a missing lesson folder) recordsFolder +
//   the lesson's base name + "\" + learner + ".ini", in the records folder start-up creates;
//   the writer creates the per-lesson folder.
// Empty when there is no usable place: the lesson is not a slot or was refused, the learner name
// is not a plain file name, or a link on the way leads out of the folder. Callers must then
// neither read nor write records. Readers and writers both ask here, so they agree.
// The folder RecordFilePath puts the lesson's record files in (trailing "\\"); empty as above.
std::string RecordFolderPath(const std::string& programFolder, const CourseTables& tables,
                             int lesson, bool runFromCdRom, const std::string& recordsFolder);
std::string RecordFilePath(const std::string& programFolder, const CourseTables& tables,
                           const std::string& learnerName, int lesson, bool runFromCdRom,
                           const std::string& recordsFolder);

// Every file a learner's records of a lesson may lie in, in the order they are read: the lesson
// folder's file when that folder exists, writable or not (records written before it became
// read-only stay there), then the file in the records folder, where records go while the lesson
// folder cannot be written. Each path once; none where RecordFilePath gives none.
// RecordFolderCandidates: the folders of these files (trailing "\\"), for listing learners.
std::vector<std::string> RecordFolderCandidates(const std::string& programFolder,
                                                const CourseTables& tables, int lesson,
                                                bool runFromCdRom,
                                                const std::string& recordsFolder);
std::vector<std::string> RecordFileCandidates(const std::string& programFolder,
                                              const CourseTables& tables,
                                              const std::string& learnerName, int lesson,
                                              bool runFromCdRom, const std::string& recordsFolder);

// The time of a record line as yyyymmddhhmm ("類題n)" before the date allowed); -1 when the line
// does not begin with a date and time as the drill writes them.
long long RecordLineTime(std::string_view line);

// The record files read as one, for display and counting (missing files are empty):
// - sections of the same name are one (ASCII case and the duplicate spellings of CP932 alike);
// - the key lines of a section come in file order, the files' lines merged by their date and time
//   (a line without one stays after the line before it), and are numbered 1, 2, ... anew;
// - of the "password" section, each key is taken from the first file that has it.
// A section that stands twice in a file (another program wrote the title in its other spelling
// and this program's old versions then made a second one) gives the lines of both.
// One file without such sections is read as it is. Never saved: writers write where RecordFilePath
// says.
ProfileLines LoadRecordFiles(const std::vector<std::string>& files);

// The key a new record line of a section takes: one more than the largest number among its keys,
// so that a gap (a line deleted by hand) never makes a new run overwrite an old one; "1" for a
// new section. Never the name of a key the section has.
std::string NextRecordKey(const ProfileLines& file, const std::string& section);

// The number of keys of every section of a record file, for callers that look up thousands of
// sections: the file is parsed once, on the first lookup, with the profile functions' rules.
class SectionKeyCounts {
public:
    SectionKeyCounts() = default;
    explicit SectionKeyCounts(std::vector<std::string> recordLines)
        : m_profile(std::move(recordLines)) {}
    explicit SectionKeyCounts(ProfileLines profile) : m_profile(std::move(profile)) {}

    // 0 for a section that is not in the file; names compare ignoring ASCII case.
    int count(const std::string& section) const;

private:
    ProfileLines m_profile;
};

}  // namespace sulkan
