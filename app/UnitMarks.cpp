#include "UnitMarks.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "LineFile.h"
#include "RecordFile.h"
#include "RecordStore.h"
#include "RecordWindowSources.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

const std::string kUnitHeader = "[[unit";

// The unit header lines of a question file, as views into its bytes. Looking only for the
// header text keeps a recount of a whole lesson from splitting every file into lines.
std::unordered_set<std::string_view> UnitHeaders(std::string_view bytes) {
    std::unordered_set<std::string_view> headers;
    for (std::size_t at = bytes.find(kUnitHeader); at != std::string_view::npos;
         at = bytes.find(kUnitHeader, at + kUnitHeader.size())) {
        // Only at the start of a line; CR and LF are never the trail byte of a character.
        if (at > 0 && bytes[at - 1] != '\n' && bytes[at - 1] != '\r') continue;
        const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        headers.insert(bytes.substr(at, end - at));
    }
    return headers;
}

void RecomputeSimilarFlags(AppState& state, int lesson, int section) {
    auto& flags = state.SimilarFlags[section];
    std::fill(flags.begin(), flags.end(), false);
    const std::string path =
        UnitFileNames(state.ProgramFolder, state.Course, {lesson, section, 1, 0}).questionFile;
    if (path.empty() || !FileExists(path)) return;
    const auto bytes = ReadBytes(path);
    if (!bytes) return;
    const auto headers = UnitHeaders(*bytes);
    const int units = std::min(state.Course.SectionUnitCounts[section], kMaxSlots);
    for (int unit = 1; unit <= units; ++unit)
        flags[unit] = headers.contains(kUnitHeader + IntText(unit) + "R1");
}

}  // namespace

std::vector<std::string> SimilarProblemItems(const std::vector<std::string>& questionFileLines,
                                             int unit) {
    static const std::string label = sjis("類題　");
    std::vector<std::string> items;
    const std::string unitText = IntText(unit);
    auto from = questionFileLines.begin();
    for (int j = 1; j <= kMaxSimilarProblems; ++j) {
        const std::string name = unitText + "R" + IntText(j);
        auto found = std::find(from, questionFileLines.end(), kUnitHeader + name);
        if (found == questionFileLines.end()) break;
        from = found + 1;
        items.push_back(label + name);
    }
    return items;
}

std::string UnitMarkText(bool hasSimilar, int practiceCount) {
    static const std::string similarMark = sjis("◎");
    static const std::string noMark = sjis("　");
    return (hasSimilar ? similarMark : noMark) + "[" +
           (practiceCount == 0 ? std::string(" ") : IntText(practiceCount)) + "]";
}

void RecountUnitMarks(AppState& state, int lesson, int sectionCount, bool similarFlagsStale) {
    if (!IsSlot(lesson)) return;
    // Every place the learner's records lie in, read once; none means no practice yet.
    const SectionKeyCounts counts(
        LoadRecordFiles(RecordFileCandidates(state.ProgramFolder, state.Course, state.LearnerName,
                                             lesson, state.RunFromCdRom, state.RecordsFolder)));

    const bool recomputeFlags = state.MarksRecountPending || similarFlagsStale;
    const int sections = std::min(sectionCount, kMaxSlots);
    for (int section = 1; section <= sections; ++section) {
        if (recomputeFlags) RecomputeSimilarFlags(state, lesson, section);
        const int units = std::min(state.Course.SectionUnitCounts[section], kMaxSlots);
        for (int unit = 1; unit <= units; ++unit) {
            const int count =
                counts.count(UnitRecordSection(state.Course, {lesson, section, unit, 0}));
            state.UnitMarks[section][unit] = UnitMarkText(state.SimilarFlags[section][unit], count);
        }
    }
    state.MarksRecountPending = false;
}

std::string UnitMarkOf(const AppState& state, int section, int unit) {
    return IsSlot(section) && IsSlot(unit) ? state.UnitMarks[section][unit] : std::string();
}

ZenTangenSource ZenTangenSourceOf(const AppState& state, int lesson, const std::string& dateStamp) {
    ZenTangenSource source;
    const auto index = ReadLines(LessonIndexPathOf(state.ProgramFolder, state.Course, lesson));
    if (index && !index->empty()) source.lessonTitle = index->front();
    const LessonOutline outline = OutlineOfLesson(index.value_or(std::vector<std::string>{}));
    source.sectionTitles = outline.sectionTitles;
    source.unitLines.resize(outline.sectionTitles.size());
    for (const LessonUnit& u : outline.units)
        source.unitLines[static_cast<std::size_t>(u.section - 1)].push_back(
            UnitMarkOf(state, u.section, u.unit) + u.title);
    source.dateStamp = dateStamp;
    return source;
}

}  // namespace sulkan
