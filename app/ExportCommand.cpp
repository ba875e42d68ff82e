#include "ExportCommand.h"

#include <QImage>
#include <QString>
#include <filesystem>
#include <iostream>
#include <memory>

#include "Codec.h"
#include "Kanji.h"
#include "Paper.h"
#include "PracticePrinting.h"
#include "SheetCommandLine.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"
#include "StagedFile.h"

namespace sulkan {
namespace {

constexpr int kPdfResolution = 600;

// reason: CP932, the system's reason; may be empty.
void CannotSave(const std::string& out, const std::string& reason = {}) {
    std::cerr << "ファイル " << out << " を保存できませんでした";
    if (!reason.empty()) std::cerr << "（" << Cp932ToUtf8(reason) << "）";
    std::cerr << "\n";
}

QString FileNameOf(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// Where the sheets go: one PNG image, or the pages of one PDF file. Either is written under a
// temporary name beside the file and takes its name only once complete, so a run that fails or
// is stopped half-way leaves the file that was there.
class SheetSink {
public:
    SheetSink(const SheetArgs& args, Prompter& prompter, std::string school)
        : m_args(args),
          m_prompter(prompter),
          m_school(std::move(school)),
          m_file(std::filesystem::path(std::u8string(args.out.begin(), args.out.end()))) {
        if (args.pdf)
            m_pdf = std::make_unique<PdfPrintTarget>(FileNameOf(m_file.path()),
                                                     PageSizeOf(kA4Width), kPdfResolution);
    }

    // Draws one sheet as the worksheet window shows it (numbering is on there by default, so
    // the header carries "№ 1"), then, for a PDF, prints it on the next page at the printer's
    // resolution with the blanks that screen pass recorded.
    bool add(Worksheet& worksheet, const SheetPictures& pictures, bool answers) {
        const ScreenView view = CommandView(worksheet, answers, m_school);
        const std::string number = NumberText(true, 1);
        QImage image = DrawScreenSheet(worksheet, view, pictures, number, m_shared, m_prompter);
        if (image.isNull()) {
            m_prompter.message(SourceNameOf(worksheet) + sjis(": シートを描けませんでした"));
            return false;
        }
        ++m_sheets;
        if (m_args.practice) return addPractice(worksheet, answers);
        if (!m_pdf) {
            m_image = std::move(image);
            return true;
        }
        m_pdf->setPageSize(PageSizeOf(worksheet.sheetWidth()));
        if (PrintAtPrinterResolution(*m_pdf, worksheet, view, pictures, number, m_shared))
            return true;
        // The pages so far make no file: the one there, if any, stays as it was.
        m_failed = true;
        CannotSave(m_args.out);
        return false;
    }

    // The practice sheet of the answers the drawing pass found, once per unit.
    bool addPractice(const Worksheet& worksheet, bool answers) {
        if (answers) return true;
        m_pdf->setPageSize(PageSizeOf(worksheet.sheetWidth()));
        const Result<int> printed = PrintPracticeSheet(
            *m_pdf, worksheet, PracticeKanjiOf(worksheet), StrokeOrderFontFamily());
        if (printed) return true;
        m_prompter.message(SourceNameOf(worksheet) + ": " + printed.problem().message);
        return false;
    }

    // Writes the file; false (after saying so) when it could not be written.
    bool finish() {
        if (m_failed) return false;
        // No page came out: nothing was written, and why has been said for every sheet.
        if (m_pdf && m_pdf->pages() == 0 && m_pdf->finish()) return false;
        const bool ok = m_pdf ? m_pdf->finish() && m_pdf->pages() > 0
                              : !m_image.isNull() && m_image.save(FileNameOf(m_file.path()), "PNG");
        if (!ok) {
            CannotSave(m_args.out);
            return false;
        }
        if (const Result<> moved = m_file.commit(); !moved) {
            CannotSave(m_args.out, moved.problem().reason);
            return false;
        }
        return true;
    }

    // Why the file cannot be written at all (its folder is missing), before anything is drawn.
    Result<> ready() const { return m_file.ready(); }
    int sheets() const { return m_sheets; }
    SheetShared& shared() { return m_shared; }

private:
    const SheetArgs& m_args;
    Prompter& m_prompter;
    std::string m_school;
    SheetShared m_shared;
    StagedFile m_file;  // before m_pdf: the writer lets go of the file before it is removed
    std::unique_ptr<PdfPrintTarget> m_pdf;
    QImage m_image;
    int m_sheets = 0;
    bool m_failed = false;
};

}  // namespace

int RunExportCommand(const std::vector<std::string>& args, SettingsStore& settings) {
    auto parsed = ParseSheetArgs(SheetCommand::Export, args);
    if (!parsed) {
        std::cerr << SheetUsage(SheetCommand::Export);
        return 2;
    }
    ErrorPrompter prompter;
    SheetSink sink(*parsed, prompter, settings.readString(SettingsKey::Product, "theSchool", ""));
    if (const Result<> ready = sink.ready(); !ready) {
        CannotSave(parsed->out, ready.problem().reason);
        return 1;
    }
    // A line per unit of a section, when someone watches the terminal.
    TerminalProgress progress;
    const int status = ForEachSheet(
        *parsed, prompter, sink.shared(),
        [&](Worksheet& worksheet, const SheetPictures& pictures, bool answers) {
            return sink.add(worksheet, pictures, answers);
        },
        &progress);
    // Nothing to write when no sheet came out (the reason has been said).
    if (status == 2 || sink.sheets() == 0) return status == 0 ? 1 : status;
    if (!sink.finish()) return 1;
    return status;
}

}  // namespace sulkan
