#include "RecordFile.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "Codec.h"
#include "ContainedPath.h"
#include "FileLock.h"
#include "LineFile.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

std::string UnitRecordSection(const CourseTables& tables, const UnitAddress& address) {
    return std::string("S")
        .append(IntText(address.section))
        .append(IntText(address.unit))
        .append(UnitTitleOf(tables, address.section, address.unit));
}

namespace {

// The lesson's own folder when it exists and lies inside the course; empty otherwise.
std::string LessonFolderInCourse(const std::string& programFolder, const CourseTables& tables,
                                 int lesson) {
    const std::string& folder = tables.LessonFolders[lesson];
    const std::string path = folder == "\\" ? programFolder : programFolder + folder;
    // A lesson folder that is a link out of the course is no place for records.
    const bool inside = folder == "\\" || folder.empty() ||
                        PathInside(programFolder, folder.substr(0, folder.size() - 1));
    return inside && FolderExists(path) ? path : std::string();
}

// The lesson's folder in the records folder (trailing "\\"); empty when there is none.
std::string LessonFolderInRecords(const CourseTables& tables, int lesson,
                                  const std::string& recordsFolder) {
    const std::string& base = tables.LessonBaseNames[lesson];
    if (base.empty() || recordsFolder.empty()) return {};
    const ContainedPath path = PathInside(recordsFolder, base);
    return path ? path.value() + "\\" : std::string();
}

bool UsableLesson(const CourseTables& tables, int lesson) {
    return IsSlot(lesson) && tables.LessonRefusals[lesson].empty();
}

}  // namespace

std::string RecordFolderPath(const std::string& programFolder, const CourseTables& tables,
                             int lesson, bool runFromCdRom, const std::string& recordsFolder) {
    if (lesson < 1) lesson = 1;
    if (!UsableLesson(tables, lesson)) return {};
    if (!runFromCdRom) {
        const std::string path = LessonFolderInCourse(programFolder, tables, lesson);
        if (!path.empty() && FolderWritable(path)) return path;
    }
    return LessonFolderInRecords(tables, lesson, recordsFolder);
}

std::string RecordFilePath(const std::string& programFolder, const CourseTables& tables,
                           const std::string& learnerName, int lesson, bool runFromCdRom,
                           const std::string& recordsFolder) {
    // The learner's name becomes one file name; nothing in it may reach another folder.
    if (!NameFault(learnerName, NameShape::FileName)) return {};
    const std::string folder =
        RecordFolderPath(programFolder, tables, lesson, runFromCdRom, recordsFolder);
    if (folder.empty()) return {};
    const ContainedPath path = PathInside(folder, learnerName + ".ini", NameShape::FileName);
    return path ? path.value() : std::string();
}

std::vector<std::string> RecordFolderCandidates(const std::string& programFolder,
                                                const CourseTables& tables, int lesson,
                                                bool runFromCdRom,
                                                const std::string& recordsFolder) {
    if (lesson < 1) lesson = 1;
    if (!UsableLesson(tables, lesson)) return {};
    std::vector<std::string> folders;
    auto add = [&](std::string folder) {
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    };
    // Even from a disc: a course burnt with records in it still shows them.
    add(LessonFolderInCourse(programFolder, tables, lesson));
    add(LessonFolderInRecords(tables, lesson, recordsFolder));
    // The folder records are written to is always read, whatever RecordFolderPath decided.
    add(RecordFolderPath(programFolder, tables, lesson, runFromCdRom, recordsFolder));
    return folders;
}

std::vector<std::string> RecordFileCandidates(const std::string& programFolder,
                                              const CourseTables& tables,
                                              const std::string& learnerName, int lesson,
                                              bool runFromCdRom, const std::string& recordsFolder) {
    if (!NameFault(learnerName, NameShape::FileName)) return {};
    std::vector<std::string> files;
    for (const std::string& folder :
         RecordFolderCandidates(programFolder, tables, lesson, runFromCdRom, recordsFolder)) {
        const ContainedPath path = PathInside(folder, learnerName + ".ini", NameShape::FileName);
        if (path) files.push_back(path.value());
    }
    return files;
}

long long RecordLineTime(std::string_view line) {
    static const std::string ruidai = sjis("類題"), nen = sjis("年"), tsuki = sjis("月"),
                             hi = sjis("日");
    std::size_t at = 0;
    auto take = [&](std::string_view text) {
        if (line.substr(at).substr(0, text.size()) != text) return false;
        at += text.size();
        return true;
    };
    auto number = [&](int maxDigits) -> long long {
        const std::size_t start = at;
        long long n = 0;
        while (at < line.size() && line[at] >= '0' && line[at] <= '9') {
            if (static_cast<int>(at - start) == maxDigits) return -1;
            n = n * 10 + (line[at++] - '0');
        }
        return at == start ? -1 : n;
    };
    if (take(ruidai) && (number(9) < 0 || !take(")"))) return -1;
    const long long year = number(4);
    if (year < 0 || !take(nen)) return -1;
    const long long month = number(2);
    if (month < 0 || !take(tsuki)) return -1;
    const long long day = number(2);
    if (day < 0 || !take(hi) || !take(" ")) return -1;
    const long long hour = number(2);
    if (hour < 0 || !take(":")) return -1;
    const long long minute = number(2);
    if (minute < 0) return -1;
    return (((year * 100 + month) * 100 + day) * 100 + hour) * 100 + minute;
}

namespace {

std::string NameKey(const std::string& name) {
    return FoldAsciiCase(CanonicalSpelling(name));
}

// Two runs of lines, each in its own order, merged by time; an undated line follows the line
// before it in its own file.
std::vector<std::string> MergeByTime(std::vector<std::string> a, std::vector<std::string> b) {
    std::vector<std::string> out;
    out.reserve(a.size() + b.size());
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const long long ta = RecordLineTime(a[i]);
        const long long tb = RecordLineTime(b[j]);
        if (ta < 0 || (tb >= 0 && ta <= tb))
            out.push_back(std::move(a[i++]));
        else
            out.push_back(std::move(b[j++]));
    }
    for (; i < a.size(); ++i) out.push_back(std::move(a[i]));
    for (; j < b.size(); ++j) out.push_back(std::move(b[j]));
    return out;
}

// Reads back exactly: reading takes one pair of matching quotes off a value.
std::string KeyLine(const std::string& key, const std::string& value) {
    return key + "=\"" + value + "\"";
}

}  // namespace

ProfileLines LoadRecordFiles(const std::vector<std::string>& files) {
    std::vector<ProfileLines> loaded;
    for (const std::string& file : files)
        if (FileExists(file)) loaded.push_back(ProfileFile(file).load());
    if (loaded.empty()) return {};
    if (loaded.size() == 1 && !loaded.front().hasRepeatedSections())
        return std::move(loaded.front());

    struct Section {
        std::string name;  // as first spelled
        bool password = false;
        std::vector<std::string> lines;                          // merged record lines
        std::vector<std::pair<std::string, std::string>> keyed;  // the password's keys
        std::unordered_set<std::string> keys;
    };
    std::vector<Section> sections;
    std::unordered_map<std::string, std::size_t> byName;
    for (const ProfileLines& file : loaded) {
        const bool repeated = file.hasRepeatedSections();
        for (const std::string& name : file.sections()) {
            auto [it, added] = byName.try_emplace(NameKey(name), sections.size());
            if (added)
                sections.push_back({name, SameIgnoringAsciiCase(name, "password"), {}, {}, {}});
            Section& s = sections[it->second];
            if (s.password) {
                for (const std::string& key : file.keys(name))
                    if (s.keys.insert(NameKey(key)).second)
                        s.keyed.emplace_back(key, file.read(name, key, ""));
                continue;
            }
            if (!repeated) {
                const std::vector<std::string> keys = file.keys(name);
                std::vector<std::string> lines;
                lines.reserve(keys.size());
                for (const std::string& key : keys) lines.push_back(file.read(name, key, ""));
                s.lines = MergeByTime(std::move(s.lines), std::move(lines));
                continue;
            }
            // Every copy of the section: runs written under another spelling of the title are
            // the same unit's.
            for (std::vector<std::string>& copy : file.valuesOfEachCopy(name))
                s.lines = MergeByTime(std::move(s.lines), std::move(copy));
        }
    }
    std::vector<std::string> out;
    for (const Section& s : sections) {
        out.push_back("[" + s.name + "]");
        for (const auto& [key, value] : s.keyed) out.push_back(KeyLine(key, value));
        for (std::size_t i = 0; i < s.lines.size(); ++i)
            out.push_back(KeyLine(IntText(static_cast<long long>(i) + 1), s.lines[i]));
    }
    return ProfileLines(std::move(out));
}

std::string NextRecordKey(const ProfileLines& file, const std::string& section) {
    const std::vector<std::string> keys = file.keys(section);
    std::unordered_set<std::string> taken;
    unsigned long long largest = 0;
    for (const std::string& key : keys) {
        taken.insert(key);
        if (key.empty() || key.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::size_t first = std::min(key.find_first_not_of('0'), key.size());
        // Beyond nine digits no run count reaches: such a key is only stepped around below.
        if (key.size() - first > 9) continue;
        largest =
            std::max(largest, std::stoull(key.substr(first).empty() ? "0" : key.substr(first)));
    }
    unsigned long long next = largest + 1;
    while (taken.contains(std::to_string(next))) ++next;
    return std::to_string(next);
}

int SectionKeyCounts::count(const std::string& section) const {
    return static_cast<int>(m_profile.keys(section).size());
}

}  // namespace sulkan
