#include "ExportCommand.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <iostream>
#include <optional>
#include <regex>

#include "Codec.h"
#include "CourseTree.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "Paper.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "SheetImage.h"
#include "SheetPrinting.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"
#include "SystemFolders.h"
#include "WorksheetReader.h"

namespace sulkan {
namespace {

// Messages that would be message boxes go to standard error.
class ErrorPrompter : public Prompter {
public:
    void message(const std::string& text) override { std::cerr << Cp932ToUtf8(text) << "\n"; }
    Answer yesNo(const std::string& text) override {
        message(text);
        return Answer::No;
    }
    Answer yesNoCancel(const std::string& text) override {
        message(text);
        return Answer::Cancel;
    }
    std::optional<std::string> saveFileName(const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

constexpr int kPdfResolution = 600;

struct ExportArgs {
    std::string course;  // UTF-8 as given
    std::optional<UnitAddress> unit;
    bool wholeSection = false;  // --unit L-S: every unit of the section
    std::string copyFile;       // UTF-8 as given
    bool answers = false;
    int paperWidth = 0;  // 0: the sheet's own paper
    std::string out;
    bool pdf = false;
};

const char* const kUsage =
    "使い方: sulkan export [--course フォルダ] (--unit L-S-U[Rn] | --unit L-S | --copy "
    "ファイル.skn) "
    "[--answers] [--paper B5|A4|B4|A3] --out ファイル.png|ファイル.pdf\n"
    "  --unit L-S は節のすべての単元を問題・解答の順に一つの PDF に書き出します\n";

struct UnitArg {
    UnitAddress address;
    bool wholeSection = false;
};

std::optional<UnitArg> ParseUnit(const std::string& text) {
    static const std::regex form(R"((\d+)-(\d+)(?:-(\d+)(?:R(\d+))?)?)");
    std::smatch m;
    if (!std::regex_match(text, m, form)) return std::nullopt;
    UnitArg u;
    UnitAddress& a = u.address;
    a.lesson = std::stoi(m[1]);
    a.section = std::stoi(m[2]);
    u.wholeSection = !m[3].matched;
    a.unit = u.wholeSection ? 1 : std::stoi(m[3]);
    a.similar = m[4].matched ? std::stoi(m[4]) : 0;
    if (!IsSlot(a.lesson) || !IsSlot(a.section) || !IsSlot(a.unit)) return std::nullopt;
    return u;
}

int PaperWidthOf(const std::string& name) {
    if (name == "B5") return kB5Width;
    if (name == "A4") return kA4Width;
    if (name == "B4") return kB4Width;
    if (name == "A3") return kA3Width;
    return 0;
}

bool EndsWithPdf(const std::string& name) {
    return QString::fromStdString(name).endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

std::optional<ExportArgs> ParseArgs(const std::vector<std::string>& args) {
    ExportArgs a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool hasValue = i + 1 < args.size();
        if (arg == "--answers") {
            a.answers = true;
        } else if (arg == "--course" && hasValue) {
            a.course = args[++i];
        } else if (arg == "--unit" && hasValue) {
            auto unit = ParseUnit(args[++i]);
            if (!unit) return std::nullopt;
            a.unit = unit->address;
            a.wholeSection = unit->wholeSection;
        } else if (arg == "--copy" && hasValue) {
            a.copyFile = args[++i];
        } else if (arg == "--paper" && hasValue) {
            a.paperWidth = PaperWidthOf(args[++i]);
            if (a.paperWidth == 0) return std::nullopt;
        } else if (arg == "--out" && hasValue) {
            a.out = args[++i];
        } else {
            return std::nullopt;
        }
    }
    // Exactly one source; a whole section only fits into a PDF.
    if (a.unit.has_value() == !a.copyFile.empty() || a.out.empty()) return std::nullopt;
    a.pdf = EndsWithPdf(a.out);
    if (a.wholeSection && !a.pdf) return std::nullopt;
    return a;
}

std::string At(const std::vector<std::string>& list, int n) {
    return n >= 1 && n <= static_cast<int>(list.size()) ? list[n - 1] : std::string();
}

void CannotSave(const std::string& out) {
    std::cerr << "ファイル " << out << " を保存できませんでした\n";
}

// Where the sheets go: one PNG image, or the pages of one PDF file.
class SheetSink {
public:
    SheetSink(const ExportArgs& args, Prompter& prompter)
        : m_args(args),
          m_prompter(prompter),
          m_school(MakeQtSettingsStore()->readString(SettingsKey::Product, "theSchool", "")) {
        if (args.pdf)
            m_pdf = std::make_unique<PdfPrintTarget>(QString::fromStdString(args.out),
                                                     PageSizeOf(kA4Width), kPdfResolution);
    }

    // Draws one sheet as the worksheet window would, then, for a PDF, prints it on the next
    // page at the printer's resolution with the blanks that screen pass recorded.
    bool add(Worksheet& worksheet, const SheetPictures& pictures, bool answers) {
        ScreenView view;
        view.answersShown = answers;
        view.showAlternatives = true;
        view.largerAnswers = false;
        // The size control follows the worksheet's size within its range, as on activation.
        view.questionSize = std::clamp(worksheet.params.FontSize, 8, 50);
        view.mainFontName = sjis("ＭＳ 明朝");
        view.schoolName = m_school;

        m_shared.blankRecording = true;
        RenderOutput output;
        QImage image =
            RenderSheetImage(worksheet, ScreenInputs(worksheet, view, pictures), m_shared, &output);
        for (const auto& m : output.messages) m_prompter.message(m);
        if (image.isNull()) return false;
        if (!m_pdf) {
            m_image = std::move(image);
            return true;
        }
        m_pdf->setPageSize(PageSizeOf(worksheet.sheetWidth()));
        if (PrintAtPrinterResolution(*m_pdf, worksheet, view, pictures, {}, m_shared)) return true;
        CannotSave(m_args.out);
        return false;
    }

    // Writes the file; false (after saying so) when it could not be written.
    bool finish() {
        bool ok =
            m_pdf ? m_pdf->finish() && m_pdf->pages() > 0
                  : !m_image.isNull() && m_image.save(QString::fromStdString(m_args.out), "PNG");
        if (!ok) CannotSave(m_args.out);
        return ok;
    }

    SheetShared& shared() { return m_shared; }

private:
    const ExportArgs& m_args;
    Prompter& m_prompter;
    std::string m_school;
    SheetShared m_shared;
    std::unique_ptr<PdfPrintTarget> m_pdf;
    QImage m_image;
};

struct Course {
    std::string folder;
    CourseTables tables;
    CourseIndex index;
};

SheetPictures PicturesOf(const Worksheet& worksheet, const Course& course, Prompter& prompter) {
    const int lesson = std::max(1, worksheet.address.lesson);
    return LoadSheetPictures(worksheet, course.folder,
                             FigureFolderOf(course.folder, course.tables, lesson), &prompter);
}

// Reads one unit of the question file's lines into a worksheet; false (after saying why) when
// it is missing or broken.
bool LoadUnit(const std::vector<std::string>* lines, const Course& course,
              const LessonIndex& lesson, const UnitAddress& address, const ExportArgs& args,
              SheetShared& shared, Prompter& prompter, Worksheet& worksheet) {
    UnitFiles files = UnitFileNames(course.folder, course.tables, address);
    ReadRequest request;
    request.kind = ReadKind::OpenMaster;
    request.headerLine = UnitHeaderOf(address);
    request.section = address.section;
    request.unit = address.unit;
    request.lessonName = At(course.index.lessonTitles, address.lesson);
    request.sectionName = At(lesson.sectionTitles, address.section);
    request.unitName = UnitTitleOf(course.tables, address.section, address.unit);
    HoldingArea holding;
    ReadResult read =
        lines ? ReadIntoHolding(*lines, request, holding, shared) : ReadResult{false, {}};
    if (!read.found) {
        prompter.message(sjis("単元がありません: ") + files.identity);
        return false;
    }
    if (read.message) {
        prompter.message(*read.message);
        return false;
    }
    LoadOptions options;
    options.answersShown = args.answers;
    options.paperFixed = args.paperWidth != 0;
    options.tickedPaperWidth = args.paperWidth;
    options.address = address;
    options.filePath = files.questionFile;
    options.lessonName = request.lessonName;
    options.sectionName = request.sectionName;
    options.unitName = request.unitName;
    LoadWorksheet(holding, worksheet, options, shared);
    return true;
}

int ExportUnits(const ExportArgs& a, Course& course, SheetSink& sink, Prompter& prompter) {
    const UnitAddress first = *a.unit;
    if (first.lesson > static_cast<int>(course.index.lessonTitles.size())) {
        prompter.message(sjis("単元がありません"));
        return 1;
    }
    LessonIndex lesson = ReadLessonIndex(course.folder, course.tables, first.lesson, prompter);
    if (!lesson.ok()) return 1;

    UnitFiles files = UnitFileNames(course.folder, course.tables, first);
    std::optional<std::vector<std::string>> lines;
    if (!files.questionFile.empty() && FileExists(files.questionFile))
        lines = ReadLines(files.questionFile);

    if (!a.wholeSection) {
        Worksheet worksheet;
        if (!LoadUnit(lines ? &*lines : nullptr, course, lesson, first, a, sink.shared(), prompter,
                      worksheet))
            return 1;
        if (!sink.add(worksheet, PicturesOf(worksheet, course, prompter), a.answers)) return 1;
        return sink.finish() ? 0 : 1;
    }

    const int units = course.tables.SectionUnitCounts[first.section];
    if (units < 1) {
        prompter.message(sjis("単元がありません: ") + files.questionFile);
        return 1;
    }
    if (!lines) {
        prompter.message(FileMissingText(files.questionFile));
        return 1;
    }
    bool allDone = true;
    for (int unit = 1; unit <= units; ++unit) {
        UnitAddress address = first;
        address.unit = unit;
        Worksheet worksheet;
        if (!LoadUnit(&*lines, course, lesson, address, a, sink.shared(), prompter, worksheet)) {
            allDone = false;  // the other units are still worth having
            continue;
        }
        SheetPictures pictures = PicturesOf(worksheet, course, prompter);
        for (bool answers : {false, true})
            if (!sink.add(worksheet, pictures, answers)) return 1;
    }
    if (!sink.finish()) return 1;
    return allDone ? 0 : 1;
}

int ExportCopy(const ExportArgs& a, const Course& course, SheetSink& sink, Prompter& prompter) {
    auto path = Utf8ToCp932(a.copyFile);
    if (!path) {
        std::cerr << "ファイル名に扱えない文字があります\n";
        return 2;
    }
    auto lines = FileExists(*path) ? ReadLines(*path) : std::nullopt;
    if (!lines) {
        prompter.message(FileMissingText(*path));
        return 1;
    }
    ReadRequest request;
    request.kind = ReadKind::OpenCopy;
    request.headerLine = "[[unitX";
    HoldingArea holding;
    ReadResult read = ReadIntoHolding(*lines, request, holding, sink.shared());
    if (!read.found) {
        prompter.message(sjis("コピーファイルではありません: ") + *path);
        return 1;
    }
    if (read.message) {
        prompter.message(*read.message);
        return 1;
    }
    LoadOptions options;
    options.answersShown = a.answers;
    options.paperFixed = a.paperWidth != 0;
    options.tickedPaperWidth = a.paperWidth;
    options.filePath = *path;
    options.isMaster = false;
    Worksheet worksheet;
    LoadWorksheet(holding, worksheet, options, sink.shared());
    if (!sink.add(worksheet, PicturesOf(worksheet, course, prompter), a.answers)) return 1;
    return sink.finish() ? 0 : 1;
}

}  // namespace

int RunExportCommand(const std::vector<std::string>& args) {
    auto parsed = ParseArgs(args);
    if (!parsed) {
        std::cerr << kUsage;
        return 2;
    }
    const ExportArgs& a = *parsed;
    ErrorPrompter prompter;

    std::optional<std::string> folder;
    if (a.course.empty()) {
        folder = WorkingFolder();
    } else if (auto converted = Utf8ToCp932(a.course)) {
        folder = WithTrailingSeparator(*converted);
    }
    if (!folder) {
        std::cerr << "フォルダ名に扱えない文字があります\n";
        return 2;
    }

    Course course;
    course.folder = *folder;
    // A copy file needs the course only for the figures of lesson 1.
    if (a.unit || FileExists(CourseIndexPath(course.folder))) {
        auto mainInd = LoadCourseIndex(course.folder, prompter);
        if (!mainInd) return 1;
        course.index = ReadCourseIndex(*mainInd, course.tables, prompter);
    }

    SheetSink sink(a, prompter);
    return a.unit ? ExportUnits(a, course, sink, prompter) : ExportCopy(a, course, sink, prompter);
}

}  // namespace sulkan
