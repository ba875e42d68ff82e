#include "DrillHost.h"

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

}  // namespace sulkan
