// What "sulkan export" and "sulkan print" share: one parser for their arguments, and the sheets
// the arguments name (one unit, a copy file, or every unit of a section with its answer sheet),
// read from the course as the worksheet window reads them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Progress.h"
#include "Prompter.h"
#include "SheetImage.h"
#include "SheetPrinting.h"
#include "SheetState.h"
#include "UnitAddress.h"
#include "Worksheet.h"

namespace sulkan {

enum class SheetCommand { Export, Print };

struct SheetArgs {
    std::string course;  // UTF-8 as given; empty: the working folder
    std::optional<UnitAddress> unit;
    bool wholeSection = false;  // --unit L-S: every unit of the section
    std::string copyFile;       // UTF-8 as given
    bool answers = false;
    int paperWidth = 0;  // 0: the sheet's own paper

    // export
    std::string out;  // UTF-8
    bool pdf = false;
    bool practice = false;  // --practice: the practice sheet of the answer kanji (PDF only)

    // print
    std::string printer;  // empty: the default printer
    int copies = 1;
    bool numbered = false;
    int start = 1;
    std::optional<PrintMode> mode;  // none: the "PrintMode" setting
};

// The arguments after "export" or "print"; nullopt when they are wrong (usage, status 2).
std::optional<SheetArgs> ParseSheetArgs(SheetCommand command, const std::vector<std::string>& args);
// The usage text of a command (UTF-8).
const char* SheetUsage(SheetCommand command);

// Messages that would be message boxes go to standard error, in UTF-8.
class ErrorPrompter : public Prompter {
public:
    void message(const std::string& text) override;
    Answer yesNo(const std::string& text) override;
    Answer yesNoCancel(const std::string& text) override;
    std::optional<std::string> saveFileName(const std::string&, const std::string&) override;
};

// Takes one sheet: the worksheet as read, its pictures and whether it is the answer sheet. False
// stops every later sheet (after saying why).
using SheetOutput =
    std::function<bool(Worksheet& worksheet, const SheetPictures& pictures, bool answers)>;

// Reads the course and hands output each sheet the arguments name, in order. A unit that cannot
// be read is named with the reason and skipped. Over a whole section, progress hears of each unit
// once its sheets went out or it was skipped, and a stop there ends the walk. Returns 0 when
// every sheet went out, 1 when one could not be read, output or progress stopped, 2 when a name
// cannot be used (said on standard error).
int ForEachSheet(const SheetArgs& args, Prompter& prompter, SheetShared& shared,
                 const SheetOutput& output, Progress* progress = nullptr);

// The main window's view that the commands draw with: its size control following the worksheet,
// "別解表示" on, the school name of the settings (CP932).
ScreenView CommandView(const Worksheet& worksheet, bool answers, const std::string& schoolName);

// A screen pass of the sheet with the given number text, recording its blanks; null when it
// could not be drawn. Messages of the pass go to prompter.
QImage DrawScreenSheet(Worksheet& worksheet, const ScreenView& view, const SheetPictures& pictures,
                       const std::string& numberText, SheetShared& shared, Prompter& prompter);

}  // namespace sulkan
