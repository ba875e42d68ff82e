#include "DrillHost.h"

#include <algorithm>

#include "ContainedPath.h"
#include "LineFile.h"
#include "QuestionFile.h"
#include "RecordFile.h"
#include "Sjis.h"

namespace sulkan {

RecordPlace StudyRecordPlace(const Worksheet& worksheet, const std::string& programFolder,
                             const CourseTables& course, const std::string& learnerName,
                             bool runFromCdRom, const std::string& recordsFolder) {
    RecordPlace place;
    const bool unit = worksheet.isMaster && !worksheet.isCopy;
    const int lesson = unit ? worksheet.address.lesson : 1;
    if (unit)
        place.section = UnitRecordSection(course, worksheet.address);
    else if (worksheet.isCopy)
        place.section = CopyFileRecordSection(worksheet.filePath);
    // A composed sheet that was never saved has no name to keep its records under.
    if (place.section.empty()) return place;
    place.file =
        RecordFilePath(programFolder, course, learnerName, lesson, runFromCdRom, recordsFolder);
    if (!place.file.empty())
        place.readFiles = RecordFileCandidates(programFolder, course, learnerName, lesson,
                                               runFromCdRom, recordsFolder);
    return place;
}

std::string CopyFileRecordSection(const std::string& copyPath) {
    // Whole characters: the 5C trail byte of 表 is no separator.
    const std::size_t back = FindLastWholeChar(copyPath, '\\');
    const std::size_t slash = FindLastWholeChar(copyPath, '/');
    std::size_t start = 0;
    if (back != std::string::npos) start = back + 1;
    if (slash != std::string::npos) start = std::max(start, slash + 1);
    return copyPath.substr(start);
}

std::vector<std::string> ReadUnitHints(const std::string& questionFile,
                                       const UnitAddress& address) {
    if (auto lines = ReadLines(questionFile)) {
        if (auto at = LocateUnit(*lines, UnitHeaderOf(address))) return ReadUnit(*lines, *at).hint;
    }
    return {};
}

SoftKeyFile ReadSoftKeyFile(const std::string& programFolder, const std::string& name) {
    SoftKeyFile file;
    const ContainedPath key = PathInside(programFolder, name);
    if (!key) {
        file.problem = key.problem();
    } else if (FileExists(key.value())) {
        if (auto lines = ReadLines(key.value())) file.lines = std::move(*lines);
    }
    return file;
}

}  // namespace sulkan
