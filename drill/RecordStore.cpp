#include "RecordStore.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "Codec.h"
#include "FileLock.h"
#include "RecordFile.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

// ---- learners ----

namespace {

bool IsValidCp932(std::string_view s, std::size_t& bad) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (IsLeadByte(b)) {
            const auto t = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
            if (t < 0x40 || t == 0x7F || t > 0xFC) {
                bad = i;
                return false;
            }
            i += 2;
        } else {
            if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
                bad = i;
                return false;
            }
            ++i;
        }
    }
    return true;
}

// How the profile functions and the file system compare names: ASCII case folded by whole
// character, blanks at both ends trimmed, the duplicate spellings of CP932 alike.
std::string NameKey(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return FoldAsciiCase(CanonicalSpelling(s));
}

bool IsReservedDevice(std::string_view name) {
    // Windows takes "CON" and "con.txt" alike for the device, and ignores trailing blanks.
    std::string stem = FoldAsciiCase(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

Result<> LearnerNameProblem(const std::string& name) {
    const std::string head = sjis("名前「") + name + sjis("」は使えません：");
    if (name.empty()) return Problem{sjis("名前を入力してください")};
    if (name.size() > kMaxLearnerNameBytes)
        return Problem{head + sjis("長すぎます（半角６４文字まで）")};
    std::size_t bad = 0;
    if (!IsValidCp932(name, bad)) return Problem{head + sjis("シフトJISにない文字があります")};
    static const std::string forbidden = "\\/:*?\"<>|";
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (CharLength(name, i) == 1 && (b < 0x20 || b == 0x7F))
            return Problem{head + sjis("制御文字があります")};
        if (CharLength(name, i) == 1 && forbidden.find(name[i]) != std::string::npos)
            return Problem{head + sjis("記号 \\ / : * ? \" < > | は使えません")};
    }
    // Blanks and dots at either end vanish or confuse on Windows; a full-width blank is a blank.
    std::size_t lastChar = 0;
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) lastChar = i;
    const std::string wideBlank = sjis("　");
    const std::string_view last = std::string_view(name).substr(lastChar);
    if (name.front() == ' ' || name.front() == '.' || name.starts_with(wideBlank) || last == " " ||
        last == "." || last == wideBlank)
        return Problem{head + sjis("前後に空白や「.」があります")};
    if (name.find("..") != std::string::npos) return Problem{head + sjis("「..」があります")};
    if (IsReservedDevice(name)) return Problem{head + sjis("装置名と同じ名前です")};
    return {};
}

bool PasswordLongEnough(const std::string& password) {
    return password.size() >= 4;
}

std::optional<std::vector<std::string>> ReadRoster(const std::string& path) {
    return ReadLines(path);
}

Result<> SaveRoster(const std::string& path, const std::vector<std::string>& names) {
    const FileLock lock(path);
    if (!lock) return Problem{lock.error()};
    return WriteLines(path, names);
}

namespace {

// The roster as the file holds it now; a missing file is an empty roster, an unreadable one is
// a failure naming the file.
Result<std::vector<std::string>> CurrentRoster(const std::string& path) {
    if (!FileExists(path) && !FolderExists(path)) return std::vector<std::string>{};
    if (auto lines = FileExists(path) ? ReadRoster(path) : std::nullopt) return std::move(*lines);
    return Problem{sjis("ファイル ") + path + sjis(" を読み込めません")};
}

}  // namespace

Result<std::vector<std::string>> UpdateRoster(
    const std::string& path,
    const std::function<std::vector<std::string>(const std::vector<std::string>&)>& change) {
    auto before = CurrentRoster(path);
    if (!before) return before;
    if (FileExists(path) && change(before.value()) == before.value()) return before;
    const FileLock lock(path);
    if (!lock) return Problem{lock.error()};
    // Read again under the lock: what another computer saved since the first read is kept.
    auto current = CurrentRoster(path);
    if (!current) return current;
    const bool exists = FileExists(path);
    std::vector<std::string> changed = change(current.value());
    if (!exists || changed != current.value()) {
        if (const Result<> saved = WriteLines(path, changed); !saved) return saved.problem();
    }
    return changed;
}

Result<> PrepareRecordFolder(const std::string& recordFile) {
    // Whole characters only: the 5C trail byte of a name such as 表 is no separator.
    const std::size_t back = FindLastWholeChar(recordFile, '\\');
    const std::size_t slash = FindLastWholeChar(recordFile, '/');
    const std::size_t cut = back == std::string::npos    ? slash
                            : slash == std::string::npos ? back
                                                         : std::max(back, slash);
    if (cut == std::string::npos || FolderExists(recordFile.substr(0, cut))) return {};
    if (const Result<> made = CreateFolder(recordFile.substr(0, cut)); !made) {
        const std::string& error = made.problem().message;
        return Problem{
            sjis("ファイル ") + recordFile + sjis(" を保存できませんでした（") + error + sjis("）"),
            error};
    }
    return {};
}

// ---- record lines ----

namespace {

class Reader {
public:
    explicit Reader(std::string_view s) : m_s(s) {}
    bool take(std::string_view text) {
        if (!m_s.substr(m_pos).starts_with(text)) return false;
        m_pos += text.size();
        return true;
    }
    // Digits (at least one); blanks before them are skipped when padded is set.
    std::optional<int> number(bool padded = false) {
        if (padded)
            while (m_pos < m_s.size() && m_s[m_pos] == ' ') ++m_pos;
        const std::size_t start = m_pos;
        long long n = 0;
        while (m_pos < m_s.size() && m_s[m_pos] >= '0' && m_s[m_pos] <= '9' && m_pos - start < 9)
            n = n * 10 + (m_s[m_pos++] - '0');
        if (m_pos == start) return std::nullopt;
        return static_cast<int>(n);
    }
    std::string marks() {
        const std::size_t start = m_pos;
        while (m_pos < m_s.size() && (m_s[m_pos] == 'O' || m_s[m_pos] == 'x' || m_s[m_pos] == 'X'))
            ++m_pos;
        return std::string(m_s.substr(start, m_pos - start));
    }
    bool atEnd() const { return m_pos == m_s.size(); }

private:
    std::string_view m_s;
    std::size_t m_pos = 0;
};

}  // namespace

RecordEntry ParseRecordLine(std::string_view line) {
    static const std::string ruidai = sjis("類題"), nen = sjis("年"), tsuki = sjis("月"),
                             hi = sjis("日"), ten = sjis("点");
    RecordEntry e;
    Reader r(line);
    if (r.take(ruidai)) {
        auto n = r.number();
        if (!n || !r.take(")")) return e;
        e.similar = *n;
    }
    auto year = r.number();
    if (!year || !r.take(nen)) return e;
    auto month = r.number();
    if (!month || !r.take(tsuki)) return e;
    auto day = r.number();
    if (!day || !r.take(hi)) return e;
    e.year = *year, e.month = *month, e.day = *day;
    if (!r.take(" ")) return e;
    auto hour = r.number();
    if (!hour || !r.take(":")) return e;
    auto minute = r.number();
    if (!minute) return e;
    e.hour = *hour, e.minute = *minute;
    if (!r.take(" ")) return e;
    e.marks = r.marks();
    if (!r.take(" ")) return e;
    auto correct = r.number(true);
    if (!correct || !r.take("/")) return e;
    e.correct = *correct;
    auto total = r.number(true);
    if (!total || !r.take(" ")) return e;
    e.total = *total;
    auto score = r.number(true);
    if (!score || !r.take(ten)) return e;
    e.score = *score;
    if (!r.take(" ")) return e;
    auto minutes = r.number();
    if (!minutes || !r.take(":")) return e;
    auto seconds = r.number();
    if (!seconds || *seconds > 59 || !r.atEnd()) return e;
    e.seconds = *minutes * 60 + *seconds;
    e.parsed = true;
    return e;
}

// ---- the units of a lesson ----

LessonOutline OutlineOfLesson(const std::vector<std::string>& lines) {
    LessonOutline outline;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].starts_with("[[")) continue;
        const int section = static_cast<int>(outline.sectionTitles.size()) + 1;
        outline.sectionTitles.push_back(i + 1 < lines.size() ? lines[i + 1] : std::string());
        int unit = 0;
        std::size_t j = i + 3;
        for (; j < lines.size() && lines[j] != ">>"; ++j) {
            ++unit;
            outline.units.push_back(
                {section, unit, lines[j],
                 std::string("S").append(IntText(section)).append(IntText(unit)).append(lines[j])});
        }
        i = std::max(i, j == lines.size() ? j - 1 : j);
    }
    return outline;
}

std::vector<std::string> RecordLinesOf(const ProfileLines& file, const std::string& section) {
    std::vector<std::string> out;
    const std::vector<std::string> keys = file.keys(section);
    out.reserve(keys.size());
    for (const std::string& key : keys) out.push_back(file.read(section, key, "?"));
    return out;
}

bool HoldsRecordSections(const ProfileLines& file, const LessonOutline& outline) {
    std::unordered_set<std::string> units;
    for (const LessonUnit& u : outline.units) units.insert(NameKey(u.recordSection));
    static const std::string password = "password", copyFile = ".skn";
    for (const std::string& section : file.sections()) {
        const std::string key = NameKey(section);
        if (key == password || units.contains(key)) return true;
        if (key.size() > copyFile.size() && key.ends_with(copyFile)) return true;
    }
    return false;
}

// ---- the class overview ----

std::vector<LearnerRow> BuildClassOverview(const LessonOutline& outline,
                                           const std::vector<LearnerFile>& files) {
    std::vector<LearnerRow> rows;
    rows.reserve(files.size());
    for (const LearnerFile& f : files) {
        LearnerRow row;
        row.learner = f.learner;
        row.cells.reserve(outline.units.size());
        for (const LessonUnit& u : outline.units) {
            UnitCell cell;
            const std::vector<std::string> keys = f.records.keys(u.recordSection);
            cell.runs = static_cast<int>(keys.size());
            // The last line of the section, whatever its key (keys may have gaps).
            if (cell.runs > 0)
                cell.last = ParseRecordLine(f.records.read(u.recordSection, keys.back(), "?"));
            row.cells.push_back(std::move(cell));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> LearnersWithRecords(const std::vector<std::string>& roster,
                                             const std::vector<std::string>& iniFileNames) {
    auto folded = [](const std::string& s) { return NameKey(s); };
    std::set<std::string> files;
    std::vector<std::string> found;
    for (const std::string& file : iniFileNames) {
        if (file.size() <= 4) continue;
        const std::string name = file.substr(0, file.size() - 4);
        if (files.insert(folded(name)).second) found.push_back(name);
    }
    std::vector<std::string> out;
    std::set<std::string> taken;
    for (const std::string& name : roster)
        if (files.count(folded(name)) && taken.insert(folded(name)).second) out.push_back(name);
    std::sort(found.begin(), found.end());
    for (const std::string& name : found)
        if (LearnerNameProblem(name) && taken.insert(folded(name)).second) out.push_back(name);
    return out;
}

ProfileLines LoadLearnerRecords(const LearnerRecordFile& learner) {
    std::vector<std::string> files = learner.files;
    if (!learner.path.empty() && std::find(files.begin(), files.end(), learner.path) == files.end())
        files.push_back(learner.path);
    return LoadRecordFiles(files);
}

int ScoreBand(int score) {
    if (score < 0) return -1;
    if (score < 40) return 0;
    if (score < 80) return 1;
    if (score < 100) return 2;
    return 3;
}

// ---- CSV ----

std::vector<CsvRecord> CsvRecordsOf(const std::string& learner, int lesson,
                                    const LessonOutline& outline, const ProfileLines& file) {
    // Section names compare as the profile functions compare them: a title ending in a blank
    // is written trimmed and still names its unit.
    std::unordered_map<std::string, const LessonUnit*> units;
    for (const LessonUnit& u : outline.units) units.try_emplace(NameKey(u.recordSection), &u);
    std::vector<CsvRecord> out;
    for (const std::string& section : file.sections()) {
        if (NameKey(section) == "password") continue;
        auto it = units.find(NameKey(section));
        const LessonUnit* unit = it == units.end() ? nullptr : it->second;
        const std::vector<std::string> lines = RecordLinesOf(file, section);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            CsvRecord r;
            r.learner = learner;
            r.lesson = lesson;
            r.section = unit ? unit->section : 0;
            r.unit = unit ? unit->unit : 0;
            r.title = unit ? unit->title : section;
            r.run = static_cast<int>(i) + 1;
            r.raw = lines[i];
            out.push_back(std::move(r));
        }
    }
    return out;
}

namespace {

// Whether a spreadsheet opening the CSV would read this text as a formula, a number, a date or a
// truth value instead of the text itself: it begins with = + - @, a tab or a line break, or it
// is made of digits and the signs of numbers, dates and times only, or it reads TRUE/FALSE.
bool SpreadsheetWouldConvert(std::string_view utf8) {
    if (utf8.empty()) return false;
    if (std::string_view("=+-@\t\r\n").find(utf8.front()) != std::string_view::npos) return true;
    static constexpr std::string_view kNumberSigns[] = {
        "\xEF\xBC\x90", "\xEF\xBC\x91", "\xEF\xBC\x92", "\xEF\xBC\x93", "\xEF\xBC\x94",
        "\xEF\xBC\x95", "\xEF\xBC\x96", "\xEF\xBC\x97", "\xEF\xBC\x98", "\xEF\xBC\x99",  // ０-９
        "\xE5\xB9\xB4", "\xE6\x9C\x88", "\xE6\x97\xA5",  // 年 月 日
        "\xC2\xA5",     "\xEF\xBF\xA5"};                 // yen signs
    bool digit = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const char c = utf8[i];
        if (c >= '0' && c <= '9') {
            digit = true;
            ++i;
            continue;
        }
        if (std::string_view(" .,:/-+%()$\\eE").find(c) != std::string_view::npos) {
            ++i;
            continue;
        }
        bool sign = false;
        for (std::size_t k = 0; k < std::size(kNumberSigns) && !sign; ++k) {
            if (utf8.substr(i).starts_with(kNumberSigns[k])) {
                sign = true;
                digit = digit || k < 10;
                i += kNumberSigns[k].size();
            }
        }
        if (!sign) {
            digit = false;
            break;
        }
    }
    if (digit) return true;
    std::string word(utf8);
    while (!word.empty() && word.back() == ' ') word.pop_back();
    while (!word.empty() && word.front() == ' ') word.erase(0, 1);
    for (char& ch : word)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return word == "TRUE" || word == "FALSE";
}

std::string Quoted(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string CsvField(std::string_view utf8) {
    if (!SpreadsheetWouldConvert(utf8)) return Quoted(utf8);
    // A string literal holds at most 255 characters in the common spreadsheets: longer text is
    // joined from pieces.
    std::string formula = "=\"";
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) != 0x80) {
            if (chars == 255) {
                formula += "\"&\"";
                chars = 0;
            }
            ++chars;
        }
        if (utf8[i] == '"') formula += '"';
        formula += utf8[i];
    }
    formula += '"';
    return Quoted(formula);
}

namespace {

std::string NumberField(int n) {
    return n < 0 ? std::string() : std::to_string(n);
}

std::string Padded(int n, const char* format) {
    char text[16];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

}  // namespace

ExportTable RecordsTable(const std::vector<CsvRecord>& records) {
    ExportTable table;
    table.rows.reserve(records.size());
    for (const CsvRecord& r : records) {
        const RecordEntry e = ParseRecordLine(r.raw);
        ExportRow row;
        row.learner = Cp932ToUtf8(r.learner);
        row.title = Cp932ToUtf8(r.title);
        row.marks = e.marks;
        row.lesson = r.lesson;
        if (r.section != 0) row.section = r.section, row.unit = r.unit;
        // The prefix comes before the date: once the date or a prefix number was read, whether
        // the run was a similar problem is known; before that it is not.
        row.similar = e.parsed || e.year >= 0 || e.similar > 0 ? e.similar : -1;
        row.run = r.run;
        row.year = e.year, row.month = e.month, row.day = e.day;
        row.hour = e.hour, row.minute = e.minute;
        row.correct = e.correct, row.total = e.total, row.score = e.score;
        row.seconds = e.seconds;
        row.parsed = e.parsed;
        if (!e.parsed) {
            row.raw = Cp932ToUtf8(r.raw);
            ++table.unparsed;
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<std::string> RecordsColumns(bool withRaw) {
    std::vector<std::string> columns = {"learner", "lesson", "section", "unit",   "similar",
                                        "title",   "run",    "date",    "time",   "marks",
                                        "correct", "total",  "score",   "seconds"};
    if (withRaw) columns.push_back("raw");
    return columns;
}

CsvText RecordsCsv(const std::vector<CsvRecord>& records) {
    return CsvOfTable(RecordsTable(records));
}

CsvText CsvOfTable(const ExportTable& table) {
    CsvText csv;
    csv.unparsed = table.unparsed;
    const bool withRaw = table.unparsed > 0;
    std::string& out = csv.bytes;
    out = "\xEF\xBB\xBF";
    const std::vector<std::string> columns = RecordsColumns(withRaw);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c) out += ',';
        out += columns[c];
    }
    out += "\r\n";
    for (const ExportRow& r : table.rows) {
        const std::string date = r.year < 0
                                     ? std::string()
                                     : Padded(r.year, "%04d") + "-" + Padded(r.month, "%02d") +
                                           "-" + Padded(r.day, "%02d");
        const std::string time =
            r.hour < 0 ? std::string() : Padded(r.hour, "%02d") + ":" + Padded(r.minute, "%02d");
        const std::string fields[] = {
            CsvField(r.learner),
            std::to_string(r.lesson),
            NumberField(r.section),
            NumberField(r.unit),
            NumberField(r.similar),
            CsvField(r.title),
            std::to_string(r.run),
            date,
            time,
            CsvField(r.marks),
            NumberField(r.correct),
            NumberField(r.total),
            NumberField(r.score),
            NumberField(r.seconds),
        };
        for (std::size_t f = 0; f < std::size(fields); ++f) {
            if (f) out += ',';
            out += fields[f];
        }
        if (withRaw) out.append(",").append(CsvField(r.raw));
        out += "\r\n";
    }
    return csv;
}

}  // namespace sulkan
