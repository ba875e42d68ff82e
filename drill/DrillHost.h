// What the drill window needs from the main window, passed down as a small interface so that the
// drill never reaches up into the application.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CourseTree.h"
#include "SettingsStore.h"
#include "SheetPrinting.h"
#include "Worksheet.h"
#include "WorksheetHost.h"

namespace sulkan {

class TfrmPrint;

// Where a worksheet's study records are kept: the learner's record file (empty when there is no
// usable one), the section of the unit or copy file, and every file the records are read from.
struct RecordPlace {
    RecordPlace() = default;
    RecordPlace(std::string recordFile, std::string recordSection,
                std::vector<std::string> files = {})
        : file(std::move(recordFile)),
          section(std::move(recordSection)),
          readFiles(std::move(files)) {}

    std::string file;
    std::string section;
    std::vector<std::string> readFiles;
};

// An unchanged unit worksheet keeps its records in its unit's section of the record file of its
// lesson; a sheet read from or saved as a copy file under that file's own name (as the copy-file
// dialog lists it) in the record file of lesson 1. A composed sheet never saved has no section
// and no file.
RecordPlace StudyRecordPlace(const Worksheet& worksheet, const std::string& programFolder,
                             const CourseTables& course, const std::string& learnerName,
                             bool runFromCdRom, const std::string& recordsFolder);
// The name a copy file's records are kept under: the file name of its path, extension included.
std::string CopyFileRecordSection(const std::string& copyPath);

// The "<<hint" lines of the unit of address in questionFile; none when the file or unit is missing.
std::vector<std::string> ReadUnitHints(const std::string& questionFile, const UnitAddress& address);

// The soft-keyboard file a unit names, relative to the program folder. The name comes from the
// file, so it may only name a file inside that folder: the problem says why not. A missing or
// unreadable file gives no lines and no problem.
struct SoftKeyFile {
    std::vector<std::string> lines;
    std::optional<Problem> problem;
};
SoftKeyFile ReadSoftKeyFile(const std::string& programFolder, const std::string& name);

class DrillHost {
public:
    virtual ~DrillHost() = default;

    // The view, the blank table, the prompter and the program folder.
    virtual WorksheetHost& worksheetHost() = 0;
    // The main window's "別解表示" box.
    virtual bool alternativesShown() const = 0;
    virtual void setAlternativesShown(bool shown) = 0;
    // Width of the main window's command panel; the drill's own has the same.
    virtual int commandPanelWidth() const = 0;
    virtual RecordPlace recordPlace(const Worksheet& worksheet) const = 0;
    // A record line was written: unit selection counts again.
    virtual void recordWritten() = 0;
    // The print dialog on the window's worksheet, printing what source sets.
    virtual void printSheet(TfrmPrint* window, std::function<void(PrintSource&)> source) = 0;
    // The record viewer, when the program has one.
    virtual void showRecordViewer() = 0;
    // Where the drill keeps the learner's choices between openings; none keeps nothing.
    virtual SettingsStore* settings() { return nullptr; }
};

}  // namespace sulkan
