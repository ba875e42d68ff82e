#include "PrintCommand.h"

#include <iostream>

#include "Paper.h"
#include "SheetCommandLine.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"

namespace sulkan {
namespace {

constexpr int kPrintResolution = 600;

struct CommandNumbering : PrintNumbering {
    bool on = false;
    int start = 1;
    bool numberingOn() const override { return on; }
    int startNumber() const override { return start; }
    void setStartNumber(int number) override { start = number; }
};

}  // namespace

int RunPrintCommand(const std::vector<std::string>& args, SettingsStore& settings,
                    PrintQueue* queue) {
    auto parsed = ParseSheetArgs(SheetCommand::Print, args);
    if (!parsed) {
        std::cerr << SheetUsage(SheetCommand::Print);
        return 2;
    }
    const SheetArgs& a = *parsed;
    ErrorPrompter prompter;
    if (!queue) {
        prompter.message(sjis("この環境では印刷キューを使えません"));
        return 1;
    }
    const std::string school = settings.readString(SettingsKey::Product, "theSchool", "");
    const PrintMode mode = a.mode.value_or(
        settings.readBool(SettingsKey::Product, "PrintMode", false) ? PrintMode::PrinterResolution
                                                                    : PrintMode::Faithful);

    QueuePrintTarget target(*queue, a.printer, PrinterLikePage(PageSizeOf(kA4Width)),
                            kPrintResolution);
    CommandNumbering numbering;
    SheetShared shared;
    // A line per unit of a section, or per numbered copy of one sheet, when someone watches the
    // terminal.
    TerminalProgress progress;
    Progress* perCopy = a.wholeSection ? nullptr : &progress;
    Progress* perUnit = a.wholeSection ? &progress : nullptr;
    return ForEachSheet(
        a, prompter, shared,
        [&](Worksheet& worksheet, const SheetPictures& pictures, bool answers) {
            // Each sheet on its own paper; each starts from the given number.
            target.setPage(PrinterLikePage(PageSizeOf(worksheet.sheetWidth())));
            target.setCopyCount(a.copies);
            numbering.on = a.numbered;
            numbering.start = a.start;
            PrintSource source;
            source.worksheet = &worksheet;
            source.view = CommandView(worksheet, answers, school);
            source.pictures = pictures;
            source.redrawScreen = [&] {
                return DrawScreenSheet(worksheet, source.view, pictures,
                                       NumberText(numbering.on, numbering.startNumber()), shared,
                                       prompter);
            };
            source.screenImage = source.redrawScreen();
            // The printer pass uses the blanks that screen pass recorded.
            shared.blankRecording = false;
            const PrintResult result =
                PrintWorksheet(source, mode, numbering, target, shared, perCopy);
            if (const auto said = result.said()) prompter.message(*said);
            return !result.stopped() && !result.cancelled;
        },
        perUnit);
}

}  // namespace sulkan
