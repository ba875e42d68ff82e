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
// - normally the lesson folder + learner + ".ini";
// - from a CD-ROM, which cannot be written, windowsFolder + base name + "\" + learner + ".ini"
//   in the folder start-up creates for each lesson base name.
// Empty when there is no usable place: the folder is missing, the lesson is not a slot or was
// refused, the learner name is not a plain file name, or a link on the way leads out of the
// folder. Callers must then neither read nor write records.
std::string RecordFilePath(const std::string& programFolder, const CourseTables& tables,
                           const std::string& learnerName, int lesson, bool runFromCdRom,
                           const std::string& windowsFolder);

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
