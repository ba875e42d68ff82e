// The worksheet reader: reads one unit of a question file or copy file into the holding area,
// loads a new worksheet from it, adds units to an open worksheet and feeds the copy-file editor.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Result.h"
#include "SheetState.h"
#include "UnitAddress.h"
#include "Worksheet.h"

namespace sulkan {

// What the copy-file editor shows and edits, and what every read fills. CP932 lines.
struct HoldingArea {
    UnitContent content;
    std::vector<std::string> header;  // "<<header" of a copy file
    std::vector<std::string> value;   // contents of the layout blocks of the unit read last
    std::vector<std::string> font;
    std::vector<std::string> kran;

    friend bool operator==(const HoldingArea&, const HoldingArea&) = default;
};

enum class ReadKind { OpenMaster = 0, OpenCopy = 1, AddUnit = 2 };

// The worksheet a unit is added to, as far as the title of the addition needs it.
struct AddTarget {
    std::string title;
    std::string lastTitle;
    std::string lessonName;
    bool isMaster = false;
    int section = 0, unit = 0;  // of its master unit
    int lastSectionRead = 0;    // of the unit read into it last
};

AddTarget AddTargetOf(const Worksheet& worksheet);

struct ReadRequest {
    ReadKind kind = ReadKind::OpenMaster;
    std::string headerLine;  // "[[unit5", "[[unit5R1", "[[unitX"
    int section = 0;
    int unit = 0;
    UnitTitles titles;  // of the unit read (kind 0)
    AddTarget target;   // kind 2 only
};

// Every failure carries a message (CP932) that names the unit's header line and the reason:
// "<<value block error（[[unit2、ファイルの12行目）". warnings name what was read other than as
// written (StrictUnitRead::warnings); the read still succeeds.
struct ReadResult {
    bool found = true;               // false: empty file or no such header
    std::optional<Problem> problem;  // why the unit was not read
    std::vector<std::string> warnings{};

    bool ok() const { return found && !problem; }
};

// Reads the unit of request.headerLine. Kinds 0 and 1 replace the holding area's content; kind 2
// appends the unit's question lines and figures to it (the figures' positions become "-1", to
// be placed by the layout) and limits the question lines gathered in all. On failure the holding
// area and the reader's values in shared stay as they were.
ReadResult ReadIntoHolding(const std::vector<std::string>& fileLines, const ReadRequest& request,
                           HoldingArea& holding, SheetShared& shared);

// The main window's choices every new worksheet takes.
struct NewSheetChoices {
    bool answersShown = true;  // the main window's answer display
    bool paperFixed = false;
    int tickedPaperWidth = 630;  // used instead of the unit's width while paperFixed
};

// What a new worksheet takes from outside the holding area.
struct LoadOptions {
    NewSheetChoices choices;
    UnitAddress address;
    std::string filePath;
    UnitTitles titles;
    bool isMaster = true;  // kind 0; false for a copy file
};

// A new worksheet from the holding area filled by a successful read of kind 0 or 1. Blocks the
// unit lacks keep WorksheetFallbackLayout(); the answer size is resolved and shared with every
// window through shared.AnswerFontSize.
void LoadWorksheet(const HoldingArea& holding, Worksheet& worksheet, const LoadOptions& options,
                   SheetShared& shared);

// Texts of the editor and of additions; the worksheet's own fields, and with withFigures its
// figure lists. The worksheet is no longer an unchanged master and counts as modified.
void ApplyHoldingToWorksheet(const HoldingArea& holding, Worksheet& worksheet, bool withFigures);

// Title, school, name line, figure lists and question lines, for the editor or an addition.
void FillHoldingFromWorksheet(const Worksheet& worksheet, HoldingArea& holding);

// The worksheet's figure and layout blocks with tags and ">>": "<<graph" and "<<AGraph" when
// they have lines, then "<<value", "<<font", "<<kran".
std::vector<std::string> WorksheetDataLines(const Worksheet& worksheet);

// Appends the unit of request.headerLine (kind 2; request.target is taken from the worksheet)
// to the worksheet: question lines and figures, a title that names the added unit. The
// worksheet keeps its own layout. On any failure neither the worksheet nor the holding area
// changes. The unit selection before it is the caller's.
Result<> AddUnitToWorksheet(Worksheet& worksheet, const std::vector<std::string>& fileLines,
                            const ReadRequest& request, HoldingArea& holding, SheetShared& shared);

// Question figures a worksheet may hold before additions are refused.
inline constexpr std::size_t kMaxFiguresToAdd = 15;

// The school and name lines of a sheet read from a unit (a copy file brings its own). CP932.
const std::string& UnitSheetSchool();    // "小中学校"
const std::string& UnitSheetNameLine();  // "　年　組　番　氏名"

// Messages, CP932.
const std::string& NoWorksheetToAddToMessage();  // the add command without a worksheet
const std::string& NoMoreAdditionsMessage();     // the figure limit
const std::string& UnitMissingMessage();         // the chosen unit is not in its file

}  // namespace sulkan
