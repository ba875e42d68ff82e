// Speed of going from the class's records back to teaching: the per-question results of one unit
// for 40 learners of 20 runs each, the lesson's 20 most-missed questions over 40 learners and 800
// units, a review sheet of 60 lines, and one learner's due list over 800 units. The record files
// are read once beforehand, as the class overview and unit selection read them.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "ProfileFile.h"
#include "QuestionResults.h"
#include "ReviewSchedule.h"
#include "ReviewSheet.h"
#include "StudyRecord.h"

namespace sulkan {
namespace {

constexpr int kSections = 80;
constexpr int kUnits = 10;
constexpr int kLearners = 40;
constexpr int kBlanks = 10;

std::string UnitTitle(int section, int unit) {
    return sjis("漢字の読み") + std::to_string(section) + "-" + std::to_string(unit);
}

// A run of a learner: every blank right but a few that depend on the learner and the run.
std::string RunLine(int learner, int run, int similar = 0) {
    StudyRun r;
    r.prefix = SimilarPrefix(similar);
    r.when = {2003, 10, 1 + run % 28, 9 + run % 8, run % 60};
    for (int b = 0; b < kBlanks; ++b) r.marks += (learner + run + b) % 4 == 0 ? "x" : "O";
    r.correct = static_cast<int>(std::count(r.marks.begin(), r.marks.end(), 'O'));
    r.total = kBlanks;
    r.score = (200 * r.correct + kBlanks) / (2 * kBlanks);
    r.elapsedSeconds = 60 + run;
    return StudyRecordLine(r);
}

LessonOutline Outline() {
    std::vector<std::string> index = {sjis("四年の漢字")};
    for (int s = 1; s <= kSections; ++s) {
        index.insert(index.end(), {"[[sect" + std::to_string(s), sjis("節"), "<<"});
        for (int u = 1; u <= kUnits; ++u) index.push_back(UnitTitle(s, u));
        index.insert(index.end(), {">>", "]]"});
    }
    return OutlineOfLesson(index);
}

// A question file of 10 units of 10 lines with one blank each, and a similar problem each.
std::vector<std::string> SectionFile() {
    std::vector<std::string> lines;
    for (int u = 1; u <= kUnits; ++u) {
        for (const std::string& header :
             {"[[unit" + std::to_string(u), "[[unit" + std::to_string(u) + "R1"}) {
            lines.insert(lines.end(), {header, "<<ques"});
            for (int b = 0; b < kBlanks; ++b)
                lines.push_back(sjis("（") + std::to_string(b + 1) + sjis("）山#やま#を歩く。"));
            lines.insert(lines.end(),
                         {">>", "<<value", "630", "True", "40", "5", "5", "1", "7", ">>", "]]"});
        }
    }
    return lines;
}

// Every learner's file with runs lines for each unit (every fourth one on the similar problem).
std::vector<LearnerFile> ClassFiles(const LessonOutline& outline, int runs) {
    std::vector<LearnerFile> files;
    for (int l = 0; l < kLearners; ++l) {
        std::vector<std::string> lines;
        for (const LessonUnit& u : outline.units) {
            lines.push_back("[" + u.recordSection + "]");
            for (int k = 1; k <= runs; ++k)
                lines.push_back(std::to_string(k) + "=" + RunLine(l, k, k % 4 == 0 ? 1 : 0));
        }
        files.push_back({"learner" + std::to_string(l), ProfileLines(std::move(lines))});
        // Indexed as the class overview leaves them.
        (void)files.back().records.keys(outline.units.front().recordSection);
    }
    return files;
}

void BM_QuestionResultsOneUnit40Learners20Runs(benchmark::State& state) {
    LessonOutline outline =
        OutlineOfLesson({sjis("課"), "[[sect1", sjis("節"), "<<", UnitTitle(1, 1), ">>", "]]"});
    const std::vector<LearnerFile> files = ClassFiles(outline, 20);
    const std::vector<std::string> file = SectionFile();
    for (auto _ : state) {
        UnitResults r =
            ResultsOfUnit(outline.units[0], QuestionsOfUnit(file, 1), files, RunsCounted::All);
        if (r.learners != kLearners || r.blanks.size() != 2 * kBlanks)
            state.SkipWithError("results incomplete");
        benchmark::DoNotOptimize(RankedBlanks(r));
    }
}
BENCHMARK(BM_QuestionResultsOneUnit40Learners20Runs)->Unit(benchmark::kMillisecond);

void BM_MostMissed40Learners800Units(benchmark::State& state) {
    const LessonOutline outline = Outline();
    const std::vector<LearnerFile> files = ClassFiles(outline, 3);
    const std::vector<std::optional<std::vector<std::string>>> sections(kSections, SectionFile());
    for (auto _ : state) {
        LessonResults r = ResultsOfLesson(outline, sections, files, RunsCounted::First);
        const std::vector<BlankPlace> top = MostMissed(r);
        if (top.size() != 20 || r.mismatched + r.damaged != 0)
            state.SkipWithError("results incomplete");
        benchmark::DoNotOptimize(top);
    }
    state.counters["units"] = static_cast<double>(outline.units.size());
}
BENCHMARK(BM_MostMissed40Learners800Units)->Unit(benchmark::kMillisecond);

void BM_ReviewSheetOf60Lines(benchmark::State& state) {
    const LessonOutline outline = Outline();
    const std::vector<LearnerFile> files = ClassFiles(outline, 3);
    const std::vector<std::optional<std::vector<std::string>>> sections(kSections, SectionFile());
    const LessonResults results = ResultsOfLesson(outline, sections, files, RunsCounted::First);
    // Six units of ten lines (and their similar problems), every line below 100 %.
    const std::vector<std::size_t> units = {0, 1, 2, 3, 4, 5};
    for (auto _ : state) {
        ReviewSheet sheet = ComposeReviewSheet(results, units, 100);
        Worksheet w = ReviewWorksheet(sheet, 1);
        if (w.content.questionLines.size() != 60) state.SkipWithError("not 60 lines");
        benchmark::DoNotOptimize(w);
    }
}
BENCHMARK(BM_ReviewSheetOf60Lines)->Unit(benchmark::kMillisecond);

void BM_DueListOneLearner800Units(benchmark::State& state) {
    const LessonOutline outline = Outline();
    std::vector<std::string> lines;
    for (const LessonUnit& u : outline.units) {
        lines.push_back("[" + u.recordSection + "]");
        for (int k = 1; k <= 20; ++k) lines.push_back(std::to_string(k) + "=" + RunLine(0, k));
    }
    const ProfileLines records(std::move(lines));
    for (auto _ : state) {
        DueList list = DueUnits(outline, records, {2003, 11, 1});
        if (list.due.empty()) state.SkipWithError("nothing due");
        benchmark::DoNotOptimize(list);
    }
    state.counters["lines"] = static_cast<double>(outline.units.size() * 21);
}
BENCHMARK(BM_DueListOneLearner800Units)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulkan

int main(int argc, char** argv) {
    return sulkan::bench::RunBenchmarks(argc, argv);
}
