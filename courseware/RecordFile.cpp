#include "RecordFile.h"

#include "ContainedPath.h"
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

std::string RecordFilePath(const std::string& programFolder, const CourseTables& tables,
                           const std::string& learnerName, int lesson, bool runFromCdRom,
                           const std::string& windowsFolder) {
    if (lesson < 1) lesson = 1;
    if (!IsSlot(lesson) || !tables.LessonRefusals[lesson].empty()) return {};
    // The learner's name becomes one file name; nothing in it may reach another folder.
    if (!NameFault(learnerName, NameShape::FileName).empty()) return {};
    const std::string file = learnerName + ".ini";
    ContainedPath path;
    if (runFromCdRom) {
        const std::string& base = tables.LessonBaseNames[lesson];
        if (base.empty()) return {};
        path = PathInside(windowsFolder, base + "\\" + file);
    } else {
        const std::string& folder = tables.LessonFolders[lesson];
        path = PathInside(programFolder, (folder == "\\" ? std::string() : folder) + file);
    }
    if (!path) return {};
    const std::size_t cut = path.path.size() - file.size();
    return FolderExists(path.path.substr(0, cut)) ? path.path : std::string();
}

int SectionKeyCounts::count(const std::string& section) const {
    return static_cast<int>(m_profile.keys(section).size());
}

}  // namespace sulkan
