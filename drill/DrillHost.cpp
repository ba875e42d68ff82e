#include "DrillHost.h"

#include "ContainedPath.h"
#include "LineFile.h"
#include "QuestionFile.h"
#include "RecordFile.h"

namespace sulkan {

RecordPlace StudyRecordPlace(const Worksheet& worksheet, const std::string& programFolder,
                             const CourseTables& course, const std::string& learnerName,
                             bool runFromCdRom, const std::string& recordsFolder,
                             const std::string& chosenCopyFileName) {
    RecordPlace place;
    const bool unit = worksheet.isMaster && !worksheet.isCopy;
    const int lesson = unit ? worksheet.address.lesson : 1;
    place.section = unit ? UnitRecordSection(course, worksheet.address) : chosenCopyFileName;
    // A composed sheet that was never saved has no name to keep its records under.
    if (!place.section.empty())
        place.file =
            RecordFilePath(programFolder, course, learnerName, lesson, runFromCdRom, recordsFolder);
    return place;
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
        file.refusal = key.refusal;
    } else if (FileExists(key.path)) {
        if (auto lines = ReadLines(key.path)) file.lines = std::move(*lines);
    }
    return file;
}

}  // namespace sulkan
