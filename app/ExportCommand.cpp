#include "ExportCommand.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <iostream>
#include <optional>
#include <regex>

#include "Codec.h"
#include "CourseTree.h"
#include "LineFile.h"
#include "Paper.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "SheetImage.h"
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

struct ExportArgs {
    std::string course;  // UTF-8 as given
    UnitAddress unit;
    bool answers = false;
    int paperWidth = 0;  // 0: the unit's own paper
    std::string out;
};

const char* const kUsage =
    "使い方: sulkan export [--course フォルダ] --unit L-S-U[Rn] [--answers] "
    "[--paper B5|A4|B4|A3] --out ファイル.png\n";

std::optional<UnitAddress> ParseUnit(const std::string& text) {
    static const std::regex form(R"((\d+)-(\d+)-(\d+)(?:R(\d+))?)");
    std::smatch m;
    if (!std::regex_match(text, m, form)) return std::nullopt;
    UnitAddress a;
    a.lesson = std::stoi(m[1]);
    a.section = std::stoi(m[2]);
    a.unit = std::stoi(m[3]);
    a.similar = m[4].matched ? std::stoi(m[4]) : 0;
    if (!IsSlot(a.lesson) || !IsSlot(a.section) || !IsSlot(a.unit)) return std::nullopt;
    return a;
}

int PaperWidthOf(const std::string& name) {
    if (name == "B5") return kB5Width;
    if (name == "A4") return kA4Width;
    if (name == "B4") return kB4Width;
    if (name == "A3") return kA3Width;
    return 0;
}

std::optional<ExportArgs> ParseArgs(const std::vector<std::string>& args) {
    ExportArgs a;
    bool haveUnit = false;
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
            a.unit = *unit;
            haveUnit = true;
        } else if (arg == "--paper" && hasValue) {
            a.paperWidth = PaperWidthOf(args[++i]);
            if (a.paperWidth == 0) return std::nullopt;
        } else if (arg == "--out" && hasValue) {
            a.out = args[++i];
        } else {
            return std::nullopt;
        }
    }
    if (!haveUnit || a.out.empty()) return std::nullopt;
    return a;
}

std::string At(const std::vector<std::string>& list, int n) {
    return n >= 1 && n <= static_cast<int>(list.size()) ? list[n - 1] : std::string();
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

    auto mainInd = LoadCourseIndex(*folder, prompter);
    if (!mainInd) return 1;
    CourseTables tables;
    CourseIndex course = ReadCourseIndex(*mainInd, tables, prompter);
    if (a.unit.lesson > static_cast<int>(course.lessonTitles.size())) {
        prompter.message(sjis("単元がありません"));
        return 1;
    }
    LessonIndex lesson = ReadLessonIndex(*folder, tables, a.unit.lesson, prompter);
    if (!lesson.ok()) return 1;

    UnitFiles files = UnitFileNames(*folder, tables, a.unit);
    std::optional<std::vector<std::string>> lines;
    if (!files.questionFile.empty() && FileExists(files.questionFile))
        lines = ReadLines(files.questionFile);
    ReadRequest request;
    request.kind = ReadKind::OpenMaster;
    request.headerLine = UnitHeaderOf(a.unit);
    request.section = a.unit.section;
    request.unit = a.unit.unit;
    request.lessonName = At(course.lessonTitles, a.unit.lesson);
    request.sectionName = At(lesson.sectionTitles, a.unit.section);
    request.unitName = UnitTitleOf(tables, a.unit.section, a.unit.unit);
    HoldingArea holding;
    SheetShared shared;
    ReadResult read =
        lines ? ReadIntoHolding(*lines, request, holding, shared) : ReadResult{false, {}};
    if (!read.found) {
        prompter.message(sjis("単元がありません: ") + files.identity);
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
    options.address = a.unit;
    options.filePath = files.questionFile;
    options.lessonName = request.lessonName;
    options.sectionName = request.sectionName;
    options.unitName = request.unitName;
    Worksheet worksheet;
    LoadWorksheet(holding, worksheet, options, shared);

    auto settings = MakeQtSettingsStore();
    ScreenView view;
    view.answersShown = a.answers;
    view.showAlternatives = true;
    view.largerAnswers = false;
    // The size control follows the worksheet's size within its range, as on activation.
    view.questionSize = std::clamp(worksheet.params.FontSize, 8, 50);
    view.mainFontName = sjis("ＭＳ 明朝");
    view.schoolName = settings->readString(SettingsKey::Product, "theSchool", "");
    int figureLesson = a.unit.lesson < 1 ? 1 : a.unit.lesson;
    SheetPictures pictures = LoadSheetPictures(
        worksheet, *folder, FigureFolderOf(*folder, tables, figureLesson), &prompter);
    RenderOutput output;
    QImage image =
        RenderSheetImage(worksheet, ScreenInputs(worksheet, view, pictures), shared, &output);
    for (const auto& m : output.messages) prompter.message(m);
    if (image.isNull() || !image.save(QString::fromStdString(a.out), "PNG")) {
        std::cerr << "ファイル " << a.out << " を保存できませんでした\n";
        return 1;
    }
    return 0;
}

}  // namespace sulkan
