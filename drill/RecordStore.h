// The study records of a lesson as a whole: learner names that can name record files, the
// roster, record lines read back into their parts, the units of a lesson index, the class
// overview and the CSV export. Plain logic over CP932 lines; files only through the profile layer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LineFile.h"
#include "ProfileFile.h"
#include "Result.h"

namespace sulkan {

// ---- learners ----

constexpr std::size_t kMaxLearnerNameBytes = 64;

// Why a name (CP932) cannot be a learner: it becomes a file name on every system the records may
// be copied to. The failure's message (CP932) names the problem.
Result<> LearnerNameProblem(const std::string& name);

// A password must have four bytes or more (two double-byte characters are four).
bool PasswordLongEnough(const std::string& password);

// The roster "sname.txt": one name a line. Missing file: nullopt.
std::optional<std::vector<std::string>> ReadRoster(const std::string& path);
// Saved whole and atomically while holding the roster's lock.
Result<> SaveRoster(const std::string& path, const std::vector<std::string>& names);
// A change of the shared roster: reads it, lets change make the new list from the names it holds
// (empty when there is no file yet), and writes that back only when it differs, all while holding
// the roster's lock, so names another computer saves meanwhile are never overwritten. Nothing to
// change takes no lock, so a roster made read-only still serves. A roster that cannot be read is
// never replaced. On success the value is what the roster now holds.
Result<std::vector<std::string>> UpdateRoster(
    const std::string& path,
    const std::function<std::vector<std::string>(const std::vector<std::string>&)>& change);

// Record files kept outside the course lie in a per-lesson folder made on the first write; made
// here when missing. The failure names the file and the system's reason.
Result<> PrepareRecordFolder(const std::string& recordFile);

// ---- record lines ----

// A record line taken apart. Numbers not read are -1; parsed is false when the line does not
// have the shape the drill writes (what could be read before the fault is kept).
struct RecordEntry {
    bool parsed = false;
    int similar = 0;
    int year = -1, month = -1, day = -1;
    int hour = -1, minute = -1;
    std::string marks;
    int correct = -1, total = -1, score = -1;
    int seconds = -1;
};
RecordEntry ParseRecordLine(std::string_view line);

// ---- the units of a lesson ----

struct LessonUnit {
    int section = 0;
    int unit = 0;
    std::string title;
    std::string recordSection;  // "S" + section + unit + title
};
struct LessonOutline {
    std::vector<std::string> sectionTitles;
    std::vector<LessonUnit> units;  // in index order
};
// The sections and units of a lesson index as the record viewer walks it: a line beginning
// with "[[" opens a section, the next line is its title, the unit titles start on the third line
// after it and end at ">>".
LessonOutline OutlineOfLesson(const std::vector<std::string>& indexLines);

// ---- one learner's file ----

struct SectionRecords {
    std::string section;
    std::vector<std::string> lines;  // values of keys "1".."k" ("?" for a key that is missing)
};
// The record lines of one section: the value of every key line in file order (keys need not be
// 1..k: a line deleted by hand leaves a gap).
std::vector<std::string> RecordLinesOf(const ProfileLines& file, const std::string& section);
// Whether a file holds a learner's records: a section of a unit of the outline, of a copy file
// (".skn") or the password. Other INI files (a folder's desktop.ini) are no learner's.
bool HoldsRecordSections(const ProfileLines& file, const LessonOutline& outline);

// ---- the class overview ----

struct UnitCell {
    int runs = 0;
    RecordEntry last;  // the last record line (parsed == false and score -1 when none)
};
struct LearnerRow {
    std::string learner;
    std::vector<UnitCell> cells;  // one per outline unit
};
struct LearnerFile {
    std::string learner;
    ProfileLines records;
};
// Where a learner's record file of a lesson lies (both CP932): the file written to, and every
// file its records are read from (the written one included; when empty, path alone).
struct LearnerRecordFile {
    LearnerRecordFile() = default;
    LearnerRecordFile(std::string learnerName, std::string filePath,
                      std::vector<std::string> readFiles = {})
        : learner(std::move(learnerName)), path(std::move(filePath)), files(std::move(readFiles)) {}

    std::string learner;
    std::string path;
    std::vector<std::string> files;
};
// The learner's records of the lesson, from every file they lie in.
ProfileLines LoadLearnerRecords(const LearnerRecordFile& learner);
// One row per learner file, one cell per unit of the outline; each file is looked at once.
std::vector<LearnerRow> BuildClassOverview(const LessonOutline& outline,
                                           const std::vector<LearnerFile>& files);

// Learners to look at: roster names first (in roster order), then other names of record files
// found in the folder (sorted); only names with a record file, each once. Names compare as the
// file system compares them (ASCII case folded by whole character: ナミ and オミ are two).
std::vector<std::string> LearnersWithRecords(const std::vector<std::string>& roster,
                                             const std::vector<std::string>& iniFileNames);

// The colour band of a score: 0 for 0-39, 1 for 40-79, 2 for 80-99, 3 for 100, -1 for none.
int ScoreBand(int score);

// ---- CSV ----

// One exported row: the record line of a unit (or copy file) with its place.
struct CsvRecord {
    std::string learner;  // CP932
    int lesson = 0;
    int section = 0;  // 0 for a copy file
    int unit = 0;
    std::string title;  // unit title, or the copy file's name
    int run = 0;
    std::string raw;  // the record line as stored
};
// The rows of one learner's file in file order of its sections: sections of units of the
// outline (a section name two units share goes to the first), copy files for every other
// section except "password".
std::vector<CsvRecord> CsvRecordsOf(const std::string& learner, int lesson,
                                    const LessonOutline& outline, const ProfileLines& file);

// One exported row as cells, the same for the CSV and the spreadsheet. Numbers not known are -1
// (an empty cell); text is UTF-8.
struct ExportRow {
    std::string learner, title, marks;
    std::string raw;  // the line as stored, only when it did not read
    int lesson = 0;
    int section = -1, unit = -1;  // -1 for a copy file
    int similar = -1;             // -1 when the line did not read as far as its date
    int run = 0;
    int year = -1, month = -1, day = -1;
    int hour = -1, minute = -1;
    int correct = -1, total = -1, score = -1, seconds = -1;
    bool parsed = false;
};
struct ExportTable {
    std::vector<ExportRow> rows;
    int unparsed = 0;  // rows whose line did not read; the raw column is added when > 0
};
ExportTable RecordsTable(const std::vector<CsvRecord>& records);
// The column names, raw included when asked.
std::vector<std::string> RecordsColumns(bool withRaw);

struct CsvText {
    std::string bytes;  // UTF-8 with BOM, CR LF
    int unparsed = 0;   // lines exported with their raw text
};
// Header learner,lesson,section,unit,similar,title,run,date,time,marks,correct,total,score,
// seconds, plus raw when a line did not parse (then every row has it).
CsvText RecordsCsv(const std::vector<CsvRecord>& records);
CsvText CsvOfTable(const ExportTable& table);
// One text field. Text a spreadsheet would take for a formula, a number or a date (it begins with
// = + - @, a tab or a line break, or holds only digits and the signs of numbers, dates and times,
// or reads TRUE/FALSE) is written as the formula ="text", which shows the text itself; a field
// holding a comma, quote or line break is quoted as RFC 4180 asks.
std::string CsvField(std::string_view utf8);

}  // namespace sulkan
