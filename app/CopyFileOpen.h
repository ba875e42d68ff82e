// Opening a copy file: the name rule of the open-copy command and the reading of the chosen file
// into a new worksheet.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Prompter.h"
#include "Result.h"
#include "SheetState.h"
#include "Worksheet.h"
#include "WorksheetReader.h"

namespace sulkan {

// Shows the copy-file dialog through choose() (the chosen path, CP932, or nothing when the dialog
// did not end with OK) until the name is acceptable: ".skn" is taken, a name without extension
// gets ".skn", any other extension is refused with path + ":拡張子が不正です" and the dialog comes
// back. Nothing when the user gave up.
std::optional<std::string> ChooseCopyFilePath(
    const std::function<std::optional<std::string>()>& choose, Prompter& prompter);

// What a worksheet read from a copy file takes from the main window.
struct CopyOpenOptions {
    int lesson = 1;  // the lesson the worksheet belongs to: its figures' folder
    NewSheetChoices choices;
};

struct CopyFileRead {
    std::optional<Worksheet> worksheet;   // a copy worksheet addressed (lesson, 0, 0, 0)
    std::optional<Problem> problem;       // when there is no worksheet
    std::vector<std::string> warnings{};  // read, but not as written (a clamped number ...)
};

// Reads the copy file at path (its "[[unitX" unit) into the holding area and a new worksheet.
// Fails with the message to show when the file is missing or unreadable, has no "[[unitX" line,
// or has a damaged block (the holding area and shared then stay as they were), or when its
// layout gives no paper to draw on. The main window and the command-line modes read copy files
// only through here.
CopyFileRead ReadCopyFile(const std::string& path, const CopyOpenOptions& options,
                          HoldingArea& holding, SheetShared& shared);

// The lesson whose folder holds the copy file at path (CP932), by the lesson lines of the course
// index (the lines of "Main.ind"): a copy file opened from the file manager belongs to that
// lesson as one chosen in the copy-file dialog does. 1 when no listed lesson folder holds it.
int LessonOfCopyFile(const std::string& programFolder, const std::vector<std::string>& indexLines,
                     const std::string& path);

}  // namespace sulkan
