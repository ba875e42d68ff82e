#include "SheetCommandLine.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <iostream>
#include <regex>

#include "Codec.h"
#include "CopyFileOpen.h"
#include "CourseFolder.h"
#include "CourseTree.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "MessagePaths.h"
#include "Paper.h"
#include "Sjis.h"
#include "SystemFolders.h"
#include "TextRoutines.h"
#include "UnitOpen.h"
#include "WorksheetReader.h"

namespace sulkan {
namespace {

constexpr int kMaxCopies = 999;
constexpr int kMaxStartNumber = 99999;  // as the print-mode dialog allows

const char* const kExportUsage =
    "使い方: sulkan export [--course フォルダ] (--unit L-S-U[Rn] | --unit L-S | --copy "
    "ファイル.skn) [--answers] [--paper B5|A4|B4|A3] --out ファイル.png|ファイル.pdf\n"
    "  --practice は解答の漢字の練習用紙を PDF に書き出します\n"
    "  --unit L-S は節のすべての単元を問題・解答の順に一つの PDF に書き出します\n"
    "  標準エラーが端末なら、単元ごとに「3/40 単元 1-1-3 …」の行を出します\n"
    "  ファイルは書き終えてから名前を付けます（途中で失敗・中断しても元のファイルは残ります）\n";

const char* const kPrintUsage =
    "使い方: sulkan print [--course フォルダ] (--unit L-S-U[Rn] | --unit L-S | --copy "
    "ファイル.skn) [--answers] [--printer プリンタ名] [--copies 部数] [--numbered [--start 番号]] "
    "[--mode faithful|printer] [--paper B5|A4|B4|A3]\n"
    "  --unit L-S は節のすべての単元の問題と解答を印刷します\n"
    "  標準エラーが端末なら、--unit L-S は単元ごとに、--numbered の複数部は部ごとに行を出します\n";

// A whole decimal number within [low, high]; nullopt for anything else, overflow included.
std::optional<int> NumberIn(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [last, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || last != end || value < low || value > high)
        return std::nullopt;
    return value;
}

struct UnitArg {
    UnitAddress address;
    bool wholeSection = false;
};

std::optional<UnitArg> ParseUnit(const std::string& text) {
    static const std::regex form(R"((\d+)-(\d+)(?:-(\d+)(?:R(\d+))?)?)");
    std::smatch m;
    if (!std::regex_match(text, m, form)) return std::nullopt;
    auto slot = [&](int group) { return NumberIn(m[group].str(), 1, kMaxSlots); };
    auto lesson = slot(1), section = slot(2);
    if (!lesson || !section) return std::nullopt;
    UnitArg u;
    u.address.lesson = *lesson;
    u.address.section = *section;
    u.wholeSection = !m[3].matched;
    if (!u.wholeSection) {
        auto unit = slot(3);
        if (!unit) return std::nullopt;
        u.address.unit = *unit;
    } else {
        u.address.unit = 1;
    }
    if (m[4].matched) {
        auto similar = slot(4);
        if (!similar) return std::nullopt;
        u.address.similar = *similar;
    }
    return u;
}

int PaperWidthOf(const std::string& name) {
    if (name == "B5") return kB5Width;
    if (name == "A4") return kA4Width;
    if (name == "B4") return kB4Width;
    if (name == "A3") return kA3Width;
    return 0;
}

// ".png" or ".pdf" in any case; nullopt for any other name, so that no file gets bytes its name
// does not promise.
std::optional<bool> IsPdfName(const std::string& name) {
    const QString file = QString::fromStdString(name);
    if (file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) return true;
    if (file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) return false;
    return std::nullopt;
}

std::string At(const std::vector<std::string>& list, int n) {
    return n >= 1 && n <= static_cast<int>(list.size()) ? list[n - 1] : std::string();
}

// "単元 1-2-3" (CP932).
std::string UnitName(const UnitAddress& a) {
    std::string label = IntText(a.lesson) + "-" + IntText(a.section) + "-" + IntText(a.unit);
    if (a.similar > 0) label += "R" + IntText(a.similar);
    return sjis("単元 ") + label;
}

// "単元 1-2-3: " in front of what is said about a unit, so that a section's messages name it.
std::string UnitLabel(const UnitAddress& a) {
    return UnitName(a) + ": ";
}

// Passes messages on with a path in them written with the system's separators: the course
// readers name a lesson's files as they build them, with "\" between the parts.
class NativePathPrompter : public Prompter {
public:
    NativePathPrompter(Prompter& inner, std::string path)
        : m_inner(inner), m_path(std::move(path)) {}
    void message(const std::string& text) override {
        m_inner.message(WithNativePath(text, m_path));
    }
    Answer yesNo(const std::string& text) override {
        return m_inner.yesNo(WithNativePath(text, m_path));
    }
    Answer yesNoCancel(const std::string& text) override {
        return m_inner.yesNoCancel(WithNativePath(text, m_path));
    }
    std::optional<std::string> saveFileName(const std::string& initialFolder,
                                            const std::string& pattern) override {
        return m_inner.saveFileName(initialFolder, pattern);
    }

private:
    Prompter& m_inner;
    std::string m_path;
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

// The main window's choices for a new sheet, as the command line gives them.
NewSheetChoices ChoicesOf(const SheetArgs& args) {
    return {args.answers, args.paperWidth != 0, args.paperWidth};
}

// Reads one unit of the question file's lines into a worksheet; false (after naming the unit
// and why) when it is missing or broken.
bool LoadUnit(const std::vector<std::string>& lines, const Course& course,
              const LessonIndex& lesson, const UnitAddress& address, const SheetArgs& args,
              SheetShared& shared, Prompter& prompter, Worksheet& worksheet) {
    const UnitFiles files = UnitFileNames(course.folder, course.tables, address);
    UnitOpenRequest request;
    request.address = address;
    request.titles = {At(course.index.lessonTitles, address.lesson),
                      At(lesson.sectionTitles, address.section),
                      UnitTitleOf(course.tables, address.section, address.unit)};
    request.choices = ChoicesOf(args);
    HoldingArea holding;
    UnitOpen open = OpenUnit(lines, files, request, holding, shared);
    // The lesson's paths are named with the system's separators.
    NativePathPrompter said(prompter, LessonFolderOf(course.folder, course.tables, address.lesson));
    if (open.status == UnitOpenStatus::Missing) {
        said.message(UnitLabel(address) + sjis("単元がありません: ") + files.identity);
        return false;
    }
    if (open.status == UnitOpenStatus::Failed) {
        said.message(UnitLabel(address) + open.problem->message);
        return false;
    }
    // Read, but not as written (a clamped number, a repeated block): said, and the sheet goes out.
    for (const std::string& w : open.warnings) said.message(UnitLabel(address) + w);
    worksheet = std::move(*open.worksheet);
    return true;
}

// The lines of the question file of address; nothing (after saying why) when there is none or it
// cannot be read. A unit without a file is missing, which names the unit.
std::optional<std::vector<std::string>> QuestionLines(const Course& course,
                                                      const UnitAddress& address, bool wholeSection,
                                                      Prompter& prompter) {
    const UnitSource source = FindUnitSource(course.folder, course.tables, address);
    NativePathPrompter said(prompter, LessonFolderOf(course.folder, course.tables, address.lesson));
    if (source.status == UnitOpenStatus::Failed) {
        said.message(UnitLabel(address) + source.problem->message);
    } else if (source.status == UnitOpenStatus::Missing) {
        said.message(wholeSection
                         ? FileMissingText(source.files.questionFile)
                         : UnitLabel(address) + sjis("単元がありません: ") + source.files.identity);
    } else if (auto lines = ReadLines(source.files.questionFile)) {
        return lines;
    } else {
        said.message(CannotReadText(source.files.questionFile));
    }
    return std::nullopt;
}

int UnitSheets(const SheetArgs& a, Course& course, Prompter& prompter, SheetShared& shared,
               const SheetOutput& output, Progress* progress) {
    const UnitAddress first = *a.unit;
    if (first.lesson > static_cast<int>(course.index.lessonTitles.size())) {
        prompter.message(UnitLabel(first) + sjis("単元がありません"));
        return 1;
    }
    NativePathPrompter lessonPrompter(prompter,
                                      LessonFolderOf(course.folder, course.tables, first.lesson));
    LessonIndex lesson =
        ReadLessonIndex(course.folder, course.tables, first.lesson, lessonPrompter);
    if (!lesson.ok()) return 1;

    const int units = course.tables.SectionUnitCounts[first.section];
    if (a.wholeSection && units < 1) {
        const UnitFiles files = UnitFileNames(course.folder, course.tables, first);
        prompter.message(sjis("単元がありません: ") + NativeSeparators(files.questionFile));
        return 1;
    }
    const auto lines = QuestionLines(course, first, a.wholeSection, prompter);
    if (!lines) return 1;

    if (!a.wholeSection) {
        Worksheet worksheet;
        if (!LoadUnit(*lines, course, lesson, first, a, shared, prompter, worksheet)) return 1;
        return output(worksheet, PicturesOf(worksheet, course, prompter), a.answers) ? 0 : 1;
    }
    bool allDone = true;
    ProgressRun run(
        progress, units,
        sjis("第") + IntText(first.lesson) + sjis("課 第") + IntText(first.section) + sjis("節"));
    for (int unit = 1; unit <= units; ++unit) {
        UnitAddress address = first;
        address.unit = unit;
        Worksheet worksheet;
        if (LoadUnit(*lines, course, lesson, address, a, shared, prompter, worksheet)) {
            SheetPictures pictures = PicturesOf(worksheet, course, prompter);
            for (bool answers : {false, true})
                if (!output(worksheet, pictures, answers)) return 1;
        } else {
            allDone = false;  // the other units are still worth having
        }
        const std::string title = TrimWide(UnitTitleOf(course.tables, first.section, unit));
        if (!run.step(unit, UnitName(address) + (title.empty() ? "" : " " + title))) return 1;
    }
    return allDone ? 0 : 1;
}

int CopySheet(const SheetArgs& a, const Course& course, Prompter& prompter, SheetShared& shared,
              const SheetOutput& output) {
    auto path = Utf8ToCp932(a.copyFile);
    if (!path) {
        std::cerr << "ファイル名に扱えない文字があります\n";
        return 2;
    }
    // As the file system is asked for it, and so named: "\" typed in a path is a folder
    // separator here too.
    const std::string shown = NativeSeparators(*path);
    CopyOpenOptions options;
    options.choices = ChoicesOf(a);
    HoldingArea holding;
    CopyFileRead read = ReadCopyFile(shown, options, holding, shared);
    if (!read.worksheet) {
        prompter.message(read.problem->message);
        return 1;
    }
    for (const std::string& w : read.warnings) prompter.message(shown + ": " + w);
    Worksheet& worksheet = *read.worksheet;
    return output(worksheet, PicturesOf(worksheet, course, prompter), a.answers) ? 0 : 1;
}

}  // namespace

std::optional<SheetArgs> ParseSheetArgs(SheetCommand command,
                                        const std::vector<std::string>& args) {
    const bool print = command == SheetCommand::Print;
    SheetArgs a;
    bool startGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (!print && arg == "--practice") {
            a.practice = true;
        } else if (arg == "--answers") {
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
        } else if (!print && arg == "--out" && hasValue) {
            a.out = args[++i];
        } else if (print && arg == "--printer" && hasValue) {
            a.printer = args[++i];
            if (a.printer.empty()) return std::nullopt;
        } else if (print && arg == "--copies" && hasValue) {
            auto copies = NumberIn(args[++i], 1, kMaxCopies);
            if (!copies) return std::nullopt;
            a.copies = *copies;
        } else if (print && arg == "--numbered") {
            a.numbered = true;
        } else if (print && arg == "--start" && hasValue) {
            auto start = NumberIn(args[++i], 1, kMaxStartNumber);
            if (!start) return std::nullopt;
            a.start = *start;
            startGiven = true;
        } else if (print && arg == "--mode" && hasValue) {
            const std::string& mode = args[++i];
            if (mode == "faithful")
                a.mode = PrintMode::Faithful;
            else if (mode == "printer")
                a.mode = PrintMode::PrinterResolution;
            else
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    // Exactly one source.
    if (a.unit.has_value() == !a.copyFile.empty()) return std::nullopt;
    if (print) {
        if (startGiven && !a.numbered) return std::nullopt;  // a number needs numbering
        return a;
    }
    if (a.out.empty()) return std::nullopt;
    auto pdf = IsPdfName(a.out);
    if (!pdf) return std::nullopt;
    a.pdf = *pdf;
    if (a.wholeSection && !a.pdf) return std::nullopt;  // a section only fits into a PDF
    if (a.practice && !a.pdf) return std::nullopt;      // a practice sheet is written as a PDF
    return a;
}

const char* SheetUsage(SheetCommand command) {
    return command == SheetCommand::Print ? kPrintUsage : kExportUsage;
}

void ErrorPrompter::message(const std::string& text) {
    std::cerr << Cp932ToUtf8(text) << "\n";
}

Answer ErrorPrompter::yesNo(const std::string& text) {
    message(text);
    return Answer::No;
}

Answer ErrorPrompter::yesNoCancel(const std::string& text) {
    message(text);
    return Answer::Cancel;
}

std::optional<std::string> ErrorPrompter::saveFileName(const std::string&, const std::string&) {
    return std::nullopt;
}

int ForEachSheet(const SheetArgs& args, Prompter& prompter, SheetShared& shared,
                 const SheetOutput& output, Progress* progress) {
    const std::optional<std::string> folder = CommandCourseFolder(args.course);
    if (!folder) {
        std::cerr << "フォルダ名に扱えない文字があります\n";
        return 2;
    }

    Course course;
    course.folder = *folder;
    // A copy file needs the course only for the figures of lesson 1.
    if (args.unit || FileExists(CourseIndexPath(course.folder))) {
        auto mainInd = LoadCourseIndex(course.folder, prompter);
        if (!mainInd) return 1;
        course.index = ReadCourseIndex(*mainInd, course.tables, prompter);
    }
    return args.unit ? UnitSheets(args, course, prompter, shared, output, progress)
                     : CopySheet(args, course, prompter, shared, output);
}

ScreenView CommandView(const Worksheet& worksheet, bool answers, const std::string& schoolName) {
    ScreenView view;
    view.answersShown = answers;
    view.showAlternatives = true;
    view.largerAnswers = false;
    // The size control follows the worksheet's size within its range, as on activation.
    view.questionSize = std::clamp(worksheet.params.FontSize, 8, 50);
    view.mainFontName = sjis("ＭＳ 明朝");
    view.schoolName = schoolName;
    return view;
}

QImage DrawScreenSheet(Worksheet& worksheet, const ScreenView& view, const SheetPictures& pictures,
                       const std::string& numberText, SheetShared& shared, Prompter& prompter) {
    RenderInputs in = ScreenInputs(worksheet, view, pictures);
    in.stamp.numberText = numberText;
    shared.blankRecording = true;
    RenderOutput output;
    QImage image = RenderSheetImage(worksheet, in, shared, &output);
    for (const auto& m : output.messages) prompter.message(m);
    return image;
}

}  // namespace sulkan
