// The one shared application state: folders, settings read at start-up, the course tables, the
// current choice of unit and the program-wide flags. The main window owns it for the whole run.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "CourseTree.h"
#include "Paper.h"
#include "UnitAddress.h"

namespace sulkan {

class TfrmPrint;  // a worksheet window

template <typename T>
using UnitGrid = std::array<std::array<T, kMaxSlots + 1>, kMaxSlots + 1>;  // [section][unit]

struct AppState {
    // Folders and identity. Folders end with a separator.
    std::string ProgramFolder;
    std::string WindowsFolder;
    std::string RecordsRoot;
    std::string LogOnFolder;  // no trailing separator
    // RecordsRoot + "Sulkan" + separator: record files of lessons whose folder cannot be written.
    std::string RecordsFolder;
    bool RunFromCdRom = false;
    std::string SchoolName;
    std::string LearnerName;
    bool LearnerMode = false;
    std::string MainFontName;
    std::string HelpFileName;

    // Paper.
    PaperTableType PaperTable = MakePaperTable();
    PaperRecord CurrentPaper = PaperFromWidth(kA4Width);
    bool PaperFixed = false;

    // Course tables, slots 1..80.
    CourseTables Course;
    UnitGrid<bool> SimilarFlags{};
    UnitGrid<std::string> UnitMarks{};

    // Current choice.
    UnitAddress CurrentUnit;
    std::string SelectedLessonName, SelectedSectionName, SelectedUnitName;
    std::string LastWorksheetKey, LastWorksheetShortKey;
    int LastCopyFileIndex = -1;
    std::string ChosenCopyFileName;

    // Windows and flags.
    TfrmPrint* ActiveWorksheet = nullptr;
    int OpenWorksheetCount = 0;
    int AnswerDisplayMode = 0;  // 0 free, 1 forced on, 2 forced off
    bool IndexReloadPending = false;
    bool MarksRecountPending = false;
    int ChildAreaWidth = 0;
    int PanelHeight = 0;
};

}  // namespace sulkan
