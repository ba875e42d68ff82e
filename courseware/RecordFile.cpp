#include "RecordFile.h"

#include "ContainedPath.h"
#include "FileLock.h"
#include "LineFile.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

std::string UnitRecordSection(const CourseTables& tables, const UnitAddress& address) {
    return std::string("S")
        .append(IntText(address.section))
        .append(IntText(address.unit))
        .append(UnitTitleOf(tables, address.section, address.unit));
}

std::string RecordFolderPath(const std::string& programFolder, const CourseTables& tables,
                             int lesson, bool runFromCdRom, const std::string& recordsFolder) {
    if (lesson < 1) lesson = 1;
    if (!IsSlot(lesson) || !tables.LessonRefusals[lesson].empty()) return {};
    if (!runFromCdRom) {
        const std::string& folder = tables.LessonFolders[lesson];
        const std::string path = folder == "\\" ? programFolder : programFolder + folder;
        // A lesson folder that is a link out of the course is no place for records.
        const bool inside = folder == "\\" || folder.empty() ||
                            PathInside(programFolder, folder.substr(0, folder.size() - 1));
        if (inside && FolderWritable(path)) return path;
    }
    const std::string& base = tables.LessonBaseNames[lesson];
    if (base.empty() || recordsFolder.empty()) return {};
    const ContainedPath path = PathInside(recordsFolder, base);
    return path ? path.path + "\\" : std::string();
}

std::string RecordFilePath(const std::string& programFolder, const CourseTables& tables,
                           const std::string& learnerName, int lesson, bool runFromCdRom,
                           const std::string& recordsFolder) {
    // The learner's name becomes one file name; nothing in it may reach another folder.
    if (!NameFault(learnerName, NameShape::FileName).empty()) return {};
    const std::string folder =
        RecordFolderPath(programFolder, tables, lesson, runFromCdRom, recordsFolder);
    if (folder.empty()) return {};
    const ContainedPath path = PathInside(folder, learnerName + ".ini", NameShape::FileName);
    return path ? path.path : std::string();
}

int SectionKeyCounts::count(const std::string& section) const {
    return static_cast<int>(m_profile.keys(section).size());
}

}  // namespace sulkan
