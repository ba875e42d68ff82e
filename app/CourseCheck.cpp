#include "CourseCheck.h"

#include <iostream>
#include <utility>

#include "Codec.h"
#include "CourseTree.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "ProfileFile.h"
#include "QuestionFile.h"
#include "QuestionFileCheck.h"
#include "RecordFile.h"
#include "SheetState.h"
#include "Sjis.h"
#include "SystemFolders.h"
#include "TextRoutines.h"

namespace sulkan {
namespace {

// Collects what the readers would show in message boxes.
class CollectingPrompter : public Prompter {
public:
    void message(const std::string& text) override { shown.push_back(text); }
    Answer yesNo(const std::string& text) override {
        shown.push_back(text);
        return Answer::No;
    }
    Answer yesNoCancel(const std::string& text) override {
        shown.push_back(text);
        return Answer::Cancel;
    }
    std::optional<std::string> saveFileName(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::vector<std::string> take() { return std::exchange(shown, {}); }

private:
    std::vector<std::string> shown;
};

// Message boxes may hold several lines; a report line holds one.
std::string OneLine(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        char c = text[i];
        if (c == '\r') continue;
        if (c == '\n') {
            out += sjis("／");
            continue;
        }
        out.append(text, i, CharLength(text, i));
    }
    return out;
}

std::string AtFileLine(std::size_t index) {
    return sjis("（ファイルの") + IntText(static_cast<long long>(index) + 1) + sjis("行目）");
}

std::string HexBytes(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

// A file of binary junk would otherwise report every line.
constexpr int kMaxByteReports = 10;

class Checker {
public:
    explicit Checker(std::string programFolder) : m_folder(std::move(programFolder)) {}

    CourseCheckReport run() {
        auto mainInd = LoadCourseIndex(m_folder, m_prompter);
        if (!mainInd) {
            for (const auto& m : m_prompter.take()) m_report.lines.push_back(Cp932ToUtf8(m));
            m_report.exitCode = 2;
            return m_report;
        }
        CourseIndex index = ReadCourseIndex(*mainInd, m_tables, m_prompter);
        m_prompter.take();
        for (const auto& p : index.problems) problem("Main.ind", p);

        std::vector<bool> usable(index.lessonTitles.size() + 1, false);
        for (std::size_t n = 2; n < mainInd->size() && n - 1 <= index.lessonTitles.size(); ++n) {
            const std::string& line = (*mainInd)[n];
            if (line == ">>") break;
            LessonLine parsed = ParseLessonLine(line);
            int lesson = static_cast<int>(n - 1);
            if (parsed.valid) {
                usable[lesson] = true;
            } else if (!parsed.hasComma) {
                problem(IntText(lesson), sjis("課の行に「,」がありません: ") + line);
            }
        }
        for (int lesson = 1; lesson < static_cast<int>(usable.size()); ++lesson)
            if (usable[lesson]) checkLesson(lesson);

        m_report.exitCode = m_report.problems == 0 ? 0 : 1;
        m_report.lines.push_back(IntText(m_report.units) + " units, " + IntText(m_report.problems) +
                                 " problems");
        return m_report;
    }

private:
    void problem(const std::string& where, const std::string& message) {
        m_report.lines.push_back(Cp932ToUtf8(where + "\t" + OneLine(message)));
        ++m_report.problems;
    }

    // "ok", or one line per problem of the unit.
    void unitLines(const UnitAddress& a, const std::vector<std::string>& problems) {
        std::string address = IntText(a.lesson) + "-" + IntText(a.section) + "-" + IntText(a.unit) +
                              SimilarSuffix(a.similar);
        ++m_report.units;
        if (problems.empty()) m_report.lines.push_back(address + "\tok");
        for (const auto& message : problems) {
            m_report.lines.push_back(Cp932ToUtf8(address + "\t" + OneLine(message)));
            ++m_report.problems;
        }
    }

    void checkLesson(int lesson) {
        LessonIndex index = ReadLessonIndex(m_folder, m_tables, lesson, m_prompter);
        std::vector<std::string> shown = m_prompter.take();
        if (!index.ok()) {
            for (const auto& m : shown) problem(IntText(lesson), m);
            return;
        }
        for (const auto& p : index.problems) problem(IntText(lesson), p);

        for (int section = 1; section <= static_cast<int>(index.sectionTitles.size()); ++section) {
            UnitFiles files = UnitFileNames(m_folder, m_tables, {lesson, section, 1, 0});
            std::optional<std::vector<std::string>> lines;
            if (FileExists(files.questionFile)) lines = ReadLines(files.questionFile);
            for (int unit = 1; unit <= m_tables.SectionUnitCounts[section]; ++unit)
                checkUnitAndSimilar({lesson, section, unit, 0}, lines);
        }
    }

    void checkUnitAndSimilar(const UnitAddress& a,
                             const std::optional<std::vector<std::string>>& lines) {
        static const std::optional<std::string> kNotWritten = sjis("未作成");
        std::optional<std::size_t> at;
        if (lines) at = LocateUnit(*lines, UnitHeaderOf(a));
        if (!at) {
            ++m_report.units;
            m_report.lines.push_back(Cp932ToUtf8(IntText(a.lesson) + "-" + IntText(a.section) +
                                                 "-" + IntText(a.unit) + "\t" + *kNotWritten));
            return;
        }
        std::vector<std::string> problems = checkUnit(a, *lines, *at);
        // Its similar problems share the section: said once, at the unit.
        const Result<> named = ProfileNameProblem(UnitRecordSection(m_tables, a), "1");
        if (!named)
            problems.push_back(sjis("この単元の学習の記録は書き込めません：") +
                               named.problem().message);
        unitLines(a, problems);

        // Similar problems as unit selection offers them: R1, R2, ... in file order, the first
        // missing number ending the list, at most five.
        std::size_t from = 0;
        for (int j = 1; j <= 5; ++j) {
            UnitAddress similar{a.lesson, a.section, a.unit, j};
            std::string header = UnitHeaderOf(similar);
            std::optional<std::size_t> found;
            for (std::size_t i = from; i < lines->size(); ++i) {
                if ((*lines)[i] == header) {
                    found = i;
                    break;
                }
            }
            if (!found) break;
            from = *found + 1;
            unitLines(similar, checkUnit(similar, *lines, *found));
        }
    }

    // Where the header stands; what stops the worksheet reader, or what it reads other than as
    // written; the editor's checks; blanks the drill cannot take; missing figures; bytes that
    // are not CP932 (the sheet draws them as replacement marks).
    std::vector<std::string> checkUnit(const UnitAddress& a, const std::vector<std::string>& lines,
                                       std::size_t header) {
        std::vector<std::string> problems;
        if (const Result<> own = HeaderInsideBlock(lines, header); !own)
            problems.push_back(own.problem().message);
        const StrictUnitRead strict = ReadUnitStrict(lines, header);
        if (strict.problem) {
            problems.push_back(strict.problem->message + AtFileLine(strict.errorLine));
        } else {
            problems.insert(problems.end(), strict.warnings.begin(), strict.warnings.end());
            UnitBlocks raw = ReadUnit(lines, header);
            raw.ques = strict.blocks.ques;  // the question lines a worksheet shows
            if (const Result<> valid = ValidateUnit(raw); !valid)
                problems.push_back(valid.problem().message);
            const int blanks = BlankCountOf(strict.blocks.ques);
            if (blanks > kMaxBlanks) {
                problems.push_back(sjis("解答欄が") + IntText(blanks) +
                                   sjis("個あります（ドリルは８０個まで）"));
            }
            if (auto missing = missingFigure(a, strict.blocks)) problems.push_back(*missing);
        }
        int reported = 0;
        const std::size_t end = UnitEnd(lines, header);
        for (std::size_t i = header; i < end && reported < kMaxByteReports; ++i) {
            const auto bad = FirstNonCp932Char(lines[i]);
            if (!bad) continue;
            ++reported;
            problems.push_back(sjis("ファイルの") + IntText(static_cast<long long>(i) + 1) +
                               sjis("行目、") + IntText(static_cast<long long>(bad->offset) + 1) +
                               sjis("バイト目に Shift-JIS でないバイトがあります: ") +
                               HexBytes(bad->bytes));
        }
        return problems;
    }

    std::optional<std::string> missingFigure(const UnitAddress& a, const UnitBlocks& blocks) {
        std::string figures = FigureFolderOf(m_folder, m_tables, a.lesson);
        for (const auto* list : {&blocks.graph, &blocks.agraph}) {
            for (std::size_t i = 0; i < list->size(); i += 3) {
                std::string file = figures + (*list)[i];
                if (figures.empty() || !FileExists(file)) return FileMissingText(file);
            }
        }
        return std::nullopt;
    }

    std::string m_folder;
    CollectingPrompter m_prompter;
    CourseTables m_tables;
    CourseCheckReport m_report;
};

}  // namespace

CourseCheckReport CheckCourse(const std::string& programFolder) {
    return Checker(WithTrailingSeparator(programFolder)).run();
}

const char* CheckUsage() {
    return "使い方: sulkan check [コースのフォルダ]\n";
}

int RunCheckCommand(const std::vector<std::string>& args) {
    std::string folder;
    if (args.size() > 1) {
        std::cerr << CheckUsage();
        return 2;
    }
    if (args.empty()) {
        auto working = WorkingFolder();
        if (!working) {
            std::cerr << "作業フォルダの名前に扱えない文字があります\n";
            return 2;
        }
        folder = *working;
    } else {
        auto converted = Utf8ToCp932(args[0]);
        if (!converted) {
            std::cerr << "フォルダ名に扱えない文字があります: " << args[0] << "\n";
            return 2;
        }
        folder = WithTrailingSeparator(*converted);
    }
    CourseCheckReport report = CheckCourse(folder);
    auto& out = report.exitCode == 2 ? std::cerr : std::cout;
    for (const auto& line : report.lines) out << line << "\n";
    return report.exitCode;
}

}  // namespace sulkan
