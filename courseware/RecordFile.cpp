#include "RecordFile.h"

#include "LineFile.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

// A name that stays inside its folder: no separator, not "." or "..".
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           FindWholeChar(name, '\\') == std::string::npos &&
           FindWholeChar(name, '/') == std::string::npos;
}

}  // namespace

std::string UnitRecordSection(const CourseTables& tables, const UnitAddress& address) {
    return "S" + IntText(address.section) + IntText(address.unit) +
           UnitTitleOf(tables, address.section, address.unit);
}

std::string RecordFilePath(const std::string& programFolder, const CourseTables& tables,
                           const std::string& learnerName, int lesson, bool runFromCdRom,
                           const std::string& windowsFolder) {
    if (lesson < 1) lesson = 1;
    if (!IsSlot(lesson) || !IsPlainFileName(learnerName)) return {};
    std::string folder;
    if (runFromCdRom) {
        const std::string& base = tables.LessonBaseNames[lesson];
        if (base.empty()) return {};
        folder = windowsFolder + base + "\\";
    } else {
        folder = programFolder + tables.LessonFolders[lesson];
    }
    return FolderExists(folder) ? folder + learnerName + ".ini" : std::string();
}

int SectionKeyCounts::count(const std::string& section) const {
    return static_cast<int>(m_profile.keys(section).size());
}

}  // namespace sulkan
