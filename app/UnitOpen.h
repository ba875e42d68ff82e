// Opening a unit of the course into a new worksheet, one way for the main window and the
// command-line modes: where the unit's question file is, and the reading of the unit from it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CourseTree.h"
#include "Result.h"
#include "SheetState.h"
#include "UnitAddress.h"
#include "Worksheet.h"
#include "WorksheetReader.h"

namespace sulkan {

enum class UnitOpenStatus {
    Opened,
    Missing,  // no question file, or no such unit in it: the window offers to create it
    Failed,   // the message says why; creating the unit anew would be wrong
};

// The question file of a unit: Missing when the unit has none or it is not there, Failed when
// the file's name leads out of the course folder.
struct UnitSource {
    UnitFiles files;
    UnitOpenStatus status = UnitOpenStatus::Opened;
    std::optional<Problem> problem;  // when Failed
};
UnitSource FindUnitSource(const std::string& programFolder, const CourseTables& course,
                          const UnitAddress& address);

// What a worksheet read from a unit takes besides the unit.
struct UnitOpenRequest {
    UnitAddress address;
    UnitTitles titles;  // as unit selection shows them
    NewSheetChoices choices;
};

// The reading of request's unit as kind (a unit opened, or added to a worksheet).
ReadRequest ReadRequestOf(ReadKind kind, const UnitOpenRequest& request);

struct UnitOpen {
    UnitOpenStatus status = UnitOpenStatus::Opened;
    std::optional<Worksheet> worksheet;   // when Opened
    std::optional<Problem> problem;       // when Failed
    std::vector<std::string> warnings{};  // read, but not as written (a clamped number ...)
};

// Reads the unit of request.address from the lines of its question file (files.questionFile)
// into holding and a new worksheet. Missing when the unit is not in the lines; Failed when it is
// damaged (holding and shared then stay as they were) or its layout gives no paper to draw on.
UnitOpen OpenUnit(const std::vector<std::string>& lines, const UnitFiles& files,
                  const UnitOpenRequest& request, HoldingArea& holding, SheetShared& shared);
// The same, reading the question file first: Failed when it is there but cannot be read.
UnitOpen OpenUnit(const UnitFiles& files, const UnitOpenRequest& request, HoldingArea& holding,
                  SheetShared& shared);

// Fails with " のレイアウトが不正です（用紙の幅 N）" after what names the sheet when its layout
// gives no paper to draw on.
Result<> NoPaperProblem(const std::string& sheetName, const Worksheet& worksheet);

}  // namespace sulkan
