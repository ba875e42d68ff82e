// Where a learner's record file of a lesson lies, how a unit's section in it is named, and the
// key counts of all its sections at once.
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
