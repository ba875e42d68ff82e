#include "RecordsCommand.h"

#include <algorithm>
#include <optional>

#include "ClassQuestions.h"
#include "Codec.h"
#include "CourseFolder.h"
#include "CourseTree.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "QuestionResults.h"
#include "RecordFile.h"
#include "RecordStore.h"
#include "RecordsXlsx.h"
#include "Settings.h"
#include "SheetCommandLine.h"
#include "Sjis.h"
#include "Startup.h"
#include "SystemFolders.h"

namespace sulkan {
namespace {

constexpr const char* kRecordsUsage =
    "使い方: sulkan records [--course フォルダ] --lesson L [--learner 名前] [--out ファイル.csv]\n"
    "                      [--xlsx ファイル.xlsx]\n"
    "       sulkan records [--course フォルダ] --lesson L [--learner 名前] --questions\n"
    "                      [--all-runs] [--out ファイル.csv]\n";

struct RecordsArgs {
    std::string course;  // UTF-8
    int lesson = 0;
    std::optional<std::string> learner;  // UTF-8
    std::string out;                     // UTF-8
    std::string xlsx;                    // UTF-8
    bool questions = false;              // the correct rate of every question instead
    bool allRuns = false;                // with questions: every run, not each learner's first
};

std::optional<RecordsArgs> Parse(const std::vector<std::string>& args) {
    RecordsArgs a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--questions" || arg == "--all-runs") {
            (arg == "--questions" ? a.questions : a.allRuns) = true;
            continue;
        }
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& value = args[++i];
        if (arg == "--course") {
            a.course = value;
        } else if (arg == "--lesson") {
            if (value.empty() || value.size() > 2 ||
                value.find_first_not_of("0123456789") != std::string::npos)
                return std::nullopt;
            a.lesson = std::stoi(value);
        } else if (arg == "--learner") {
            a.learner = value;
        } else if (arg == "--out") {
            a.out = value;
        } else if (arg == "--xlsx") {
            if (value.empty()) return std::nullopt;
            a.xlsx = value;
        } else {
            return std::nullopt;
        }
    }
    if (a.lesson < 1) return std::nullopt;
    // The rates have no spreadsheet of their own, and every run counts only for the rates.
    if ((a.questions && !a.xlsx.empty()) || (a.allRuns && !a.questions)) return std::nullopt;
    return a;
}

}  // namespace

std::vector<LearnerRecordFile> LessonRecordFiles(const std::string& programFolder,
                                                 const CourseTables& tables, int lesson,
                                                 bool runFromCdRom,
                                                 const std::string& recordsFolder) {
    const std::string recordFolder =
        RecordFolderPath(programFolder, tables, lesson, runFromCdRom, recordsFolder);
    if (recordFolder.empty()) return {};
    const std::vector<std::string> roster =
        ReadLines(RosterPathIn(LogOnFolderIn(recordsFolder))).value_or(std::vector<std::string>{});
    // Records lie in the lesson folder, and in the records folder while that cannot be written.
    std::vector<std::string> iniFiles;
    const std::vector<std::string> folders =
        RecordFolderCandidates(programFolder, tables, lesson, runFromCdRom, recordsFolder);
    for (const std::string& folder : folders)
        for (std::string& name : ListFiles(folder, "*.ini")) iniFiles.push_back(std::move(name));

    // A file found beside the records is a learner's only when it holds records: a folder's
    // desktop.ini is nobody's.
    LessonOutline outline;
    if (auto lines = ReadLines(LessonIndexPathOf(programFolder, tables, lesson)))
        outline = OutlineOfLesson(*lines);
    auto onRoster = [&](const std::string& name) {
        return std::any_of(roster.begin(), roster.end(), [&](const std::string& listed) {
            return SameIgnoringAsciiCase(listed, name);
        });
    };
    std::vector<LearnerRecordFile> out;
    for (const std::string& learner : LearnersWithRecords(roster, iniFiles)) {
        LearnerRecordFile file;
        file.learner = learner;
        file.path =
            RecordFilePath(programFolder, tables, learner, lesson, runFromCdRom, recordsFolder);
        for (std::string& candidate : RecordFileCandidates(programFolder, tables, learner, lesson,
                                                           runFromCdRom, recordsFolder))
            if (FileExists(candidate)) file.files.push_back(std::move(candidate));
        if (file.path.empty() || file.files.empty()) continue;
        if (!onRoster(learner) && !HoldsRecordSections(LoadLearnerRecords(file), outline)) continue;
        out.push_back(std::move(file));
    }
    return out;
}

namespace {

// The record file of the learner named on the command line (UTF-8); nothing when the name is
// not one a learner can have.
std::optional<LearnerRecordFile> NamedLearner(const std::string& nameUtf8,
                                              const std::string& folder, const CourseTables& tables,
                                              int lesson, bool fromCd,
                                              const std::string& recordsFolder) {
    auto name = Utf8ToCp932(nameUtf8);
    if (!name || !LearnerNameProblem(*name)) return std::nullopt;
    return LearnerRecordFile{
        *name, RecordFilePath(folder, tables, *name, lesson, fromCd, recordsFolder),
        RecordFileCandidates(folder, tables, *name, lesson, fromCd, recordsFolder)};
}

// The rows of every learner that has a record file, learner by learner.
std::vector<CsvRecord> LearnersRecords(const std::vector<LearnerRecordFile>& learners, int lesson,
                                       const LessonOutline& outline) {
    std::vector<CsvRecord> records;
    for (const LearnerRecordFile& learner : learners) {
        if (learner.path.empty()) continue;
        std::vector<CsvRecord> rows =
            CsvRecordsOf(learner.learner, lesson, outline, LoadLearnerRecords(learner));
        records.insert(records.end(), std::make_move_iterator(rows.begin()),
                       std::make_move_iterator(rows.end()));
    }
    return records;
}

// The CSV to csvPath (standard output when neither path is given) and the workbook to xlsxPath;
// 0 when everything was written and every line read, 1 otherwise (said on err).
int WriteRecords(const ExportTable& table, const std::optional<std::string>& csvPath,
                 const std::optional<std::string>& xlsxPath, std::ostream& out, std::ostream& err) {
    int status = 0;
    // Each file asked for is written even when the other one fails.
    if (csvPath || !xlsxPath) {
        const CsvText csv = CsvOfTable(table);
        if (!csvPath) {
            out.write(csv.bytes.data(), static_cast<std::streamsize>(csv.bytes.size()));
            out.flush();
            // A full disk or a closed pipe behind standard output loses the export: never say
            // it was done.
            if (!out) {
                err << "記録を標準出力に書き込めませんでした\n";
                status = 1;
            }
        } else if (const Result<> saved = WriteBytes(*csvPath, csv.bytes); !saved) {
            err << Cp932ToUtf8(saved.problem().message) << "\n";
            status = 1;
        }
    }
    if (xlsxPath) {
        const XlsxResult written = WriteRecordsXlsx(*xlsxPath, table);
        if (written.problem) {
            err << Cp932ToUtf8(written.problem->message) << "\n";
            status = 1;
        } else if (written.cutCells > 0) {
            err << written.cutCells
                << " 個のセルは長すぎるため、表計算ファイルでは 32767 文字で切りました\n";
            status = 1;
        }
    }
    if (table.unparsed > 0) {
        err << table.unparsed
            << " 行の記録を読み取れませんでした（raw 列にそのまま出力しました）\n";
        status = 1;
    }
    return status;
}

// The correct rate of every question of the lesson's units to csvPath (standard output when
// none); 0 when written and every line read, 1 otherwise (said on err). Lines that do not fit
// the units as they are now are only reported.
int WriteQuestions(const std::string& folder, const CourseTables& tables, int lesson,
                   const LessonOutline& outline, const std::vector<LearnerRecordFile>& learners,
                   RunsCounted runs, const std::optional<std::string>& csvPath, std::ostream& out,
                   std::ostream& err) {
    std::vector<LearnerFile> files;
    for (const LearnerRecordFile& learner : learners)
        if (!learner.path.empty()) files.push_back({learner.learner, LoadLearnerRecords(learner)});
    const auto sections = ReadSectionFiles(SectionQuestionFiles(
        folder, tables, lesson, static_cast<int>(outline.sectionTitles.size())));
    const LessonResults results = ResultsOfLesson(outline, sections, files, runs);
    const std::string csv = QuestionsCsv(lesson, results);
    int status = 0;
    if (!csvPath) {
        out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
        out.flush();
        if (!out) {
            err << "記録を標準出力に書き込めませんでした\n";
            status = 1;
        }
    } else if (const Result<> saved = WriteBytes(*csvPath, csv); !saved) {
        err << Cp932ToUtf8(saved.problem().message) << "\n";
        status = 1;
    }
    if (results.mismatched > 0)
        err << results.mismatched << " 行の記録は数えていません（"
            << Cp932ToUtf8(RecordsDoNotFitMessage()) << "）\n";
    if (results.damaged > 0) {
        err << results.damaged << " 行の記録を読み取れませんでした（数えていません）\n";
        status = 1;
    }
    return status;
}

}  // namespace

const char* RecordsUsage() {
    return kRecordsUsage;
}

int RunRecordsCommand(const std::vector<std::string>& args, SettingsStore& settings,
                      std::ostream& out, std::ostream& err) {
    const auto a = Parse(args);
    if (!a) {
        err << kRecordsUsage;
        return 2;
    }
    const std::optional<std::string> folder = CommandCourseFolder(a->course);
    if (!folder) {
        err << "フォルダ名に扱えない文字があります\n";
        return 2;
    }
    ErrorPrompter prompter;
    CourseTables tables;
    auto mainInd = LoadCourseIndex(*folder, prompter);
    if (!mainInd) return 2;
    const CourseIndex index = ReadCourseIndex(*mainInd, tables, prompter);
    const int lesson = a->lesson;
    if (!IsSlot(lesson) || lesson > static_cast<int>(index.lessonTitles.size()) ||
        tables.LessonBaseNames[lesson].empty() || !tables.LessonRefusals[lesson].empty()) {
        err << "課 " << lesson << " はありません\n";
        return 2;
    }
    // Without its index the units are unknown; every section then counts as a copy file.
    LessonOutline outline;
    if (auto lines = ReadLines(LessonIndexPathOf(*folder, tables, lesson)))
        outline = OutlineOfLesson(*lines);
    else
        err << Cp932ToUtf8(FileMissingText(LessonIndexPathOf(*folder, tables, lesson))) << "\n";

    const std::string recordsFolder = RecordsFolderIn(RecordsRootSetting(settings));
    const bool fromCd = IsOnOpticalDisc(*folder);

    std::vector<LearnerRecordFile> learners;
    if (a->learner) {
        auto learner = NamedLearner(*a->learner, *folder, tables, lesson, fromCd, recordsFolder);
        if (!learner) {
            err << "学習者の名前に使えない文字があります\n";
            return 2;
        }
        learners.push_back(std::move(*learner));
    } else {
        learners = LessonRecordFiles(*folder, tables, lesson, fromCd, recordsFolder);
    }
    std::optional<std::string> csvPath, xlsxPath;
    if (!a->out.empty() && !(csvPath = Utf8ToCp932(a->out))) {
        err << "ファイル名に扱えない文字があります\n";
        return 2;
    }
    if (!a->xlsx.empty() && !(xlsxPath = Utf8ToCp932(a->xlsx))) {
        err << "ファイル名に扱えない文字があります\n";
        return 2;
    }

    if (a->questions)
        return WriteQuestions(*folder, tables, lesson, outline, learners,
                              a->allRuns ? RunsCounted::All : RunsCounted::First, csvPath, out,
                              err);
    const std::vector<CsvRecord> records = LearnersRecords(learners, lesson, outline);
    return WriteRecords(RecordsTable(records), csvPath, xlsxPath, out, err);
}

}  // namespace sulkan
