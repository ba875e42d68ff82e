// Speed of the study records of a whole class: one graded run written into a record file of
// 20,000 lines (locked read, change, atomic save), the class overview of 40 learners over a lesson
// of 80 sections of 10 units read from their files, "sulkan records" of that lesson to a file, and
// one run written while seven other programs keep writing into the same file.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "ProfileFile.h"
#include "RecordsCommand.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "StudyRecord.h"
#include "TfrmClassRecords.h"

namespace sulkan {
namespace {

using namespace bench;

constexpr int kSections = 80;
constexpr int kUnits = 10;
constexpr int kLearners = 40;

std::string UnitTitle(int section, int unit) {
    return sjis("漢字の読み") + std::to_string(section) + "-" + std::to_string(unit);
}

std::string RecordSection(int section, int unit) {
    return "S" + std::to_string(section) + std::to_string(unit) + UnitTitle(section, unit);
}

std::string RunLine(int run) {
    StudyRun r;
    r.prefix = run % 4 == 3 ? SimilarPrefix(1) : std::string();
    r.when = {2003, 10, 1 + run % 28, 9 + run % 8, run % 60};
    r.marks = "OOxOOOOxOO";
    r.correct = 8;
    r.total = 10;
    r.score = (run * 37) % 101;
    r.elapsedSeconds = 60 + run;
    return StudyRecordLine(r);
}

// Every unit of the lesson with runsPerUnit record lines, plus a password section.
std::vector<std::string> RecordFileLines(int runsPerUnit) {
    std::vector<std::string> lines = {"[password]", "pw=abcd"};
    for (int s = 1; s <= kSections; ++s)
        for (int u = 1; u <= kUnits; ++u) {
            lines.push_back("[" + RecordSection(s, u) + "]");
            for (int k = 1; k <= runsPerUnit; ++k)
                lines.push_back(std::to_string(k) + "=" + RunLine(k));
        }
    return lines;
}

// A course of one lesson of 80 sections of 10 units, with kLearners record files of
// runsPerUnit lines per unit and a roster naming them.
struct ClassCourse {
    ScratchFolder scratch;
    std::string courseFolder = scratch.folder() + "course/";
    std::string recordsRoot = scratch.folder() + "rec/";
    std::string lessonFolder = courseFolder + "kan1/";
    std::vector<LearnerRecordFile> learners;

    explicit ClassCourse(int runsPerUnit) {
        WriteFile(scratch.path / "course" / "Main.ind",
                  {sjis("漢字のコース"), sjis("メモ"), sjis("四年の漢字,kan1\\_k1"), ">>"});
        std::vector<std::string> index = {sjis("四年の漢字")};
        for (int s = 1; s <= kSections; ++s) {
            index.insert(index.end(), {"[[sect" + std::to_string(s),
                                       sjis("第") + std::to_string(s) + sjis("節"), "<<"});
            for (int u = 1; u <= kUnits; ++u) index.push_back(UnitTitle(s, u));
            index.insert(index.end(), {">>", "]]"});
        }
        WriteFile(scratch.path / "course" / "kan1" / "k1.ind", index);
        const std::vector<std::string> records = RecordFileLines(runsPerUnit);
        std::vector<std::string> roster;
        for (int l = 1; l <= kLearners; ++l) {
            // ASCII names: the file is written here by its bytes, not through the program's paths.
            const std::string name = "learner" + std::to_string(l);
            roster.push_back(name);
            WriteFile(scratch.path / "course" / "kan1" / (name + ".ini"), records);
            learners.push_back({name, lessonFolder + name + ".ini"});
        }
        WriteFile(scratch.path / "rec" / "Sulkan" / "LogOn" / "sname.txt", roster);
    }
};

// Runs per unit in the class benchmarks: 3 runs of 800 units, 3,200 lines a learner.
constexpr int kClassRuns = 3;

void BM_AppendRecordTo20000Lines(benchmark::State& state) {
    ScratchFolder scratch;
    // 800 sections of 24 runs: 20,002 lines.
    const std::vector<std::string> lines = RecordFileLines(24);
    const std::string path = scratch.folder() + "taro.ini";
    ProfileRecordSink sink(path, RecordSection(40, 5));
    const std::string line = RunLine(25);
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(scratch.path / "taro.ini", lines);
        state.ResumeTiming();
        const Result<> saved = sink.append(line);
        if (!saved) state.SkipWithError("append failed");
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_AppendRecordTo20000Lines)->Unit(benchmark::kMillisecond);

void BM_ClassOverview40Learners800Units(benchmark::State& state) {
    ClassCourse course(kClassRuns);
    ClassRecordsSource source;
    source.lesson = 1;
    source.lessonIndexPath = course.lessonFolder + "k1.ind";
    source.learners = course.learners;
    for (auto _ : state) {
        ClassOverview overview = LoadClassOverview(source);
        if (overview.rows.size() != kLearners ||
            overview.rows.front().cells.size() != kSections * kUnits ||
            overview.rows.back().cells.back().runs != kClassRuns)
            state.SkipWithError("overview incomplete");
        benchmark::DoNotOptimize(overview);
    }
}
BENCHMARK(BM_ClassOverview40Learners800Units)->Unit(benchmark::kMillisecond);

void BM_RecordsCommandCsv40Learners(benchmark::State& state) {
    ClassCourse course(kClassRuns);
    MemorySettingsStore settings;
    settings.values[{SettingsKey::Shared, "RecDrive"}] = course.recordsRoot;
    const std::string out = course.scratch.folder() + "class.csv";
    const std::vector<std::string> args = {
        "--course", course.courseFolder, "--lesson", "1", "--out", out};
    for (auto _ : state) {
        std::ostringstream o, e;
        if (RunRecordsCommand(args, settings, o, e) != 0) state.SkipWithError(e.str().c_str());
    }
    state.counters["rows"] = static_cast<double>(kLearners * kSections * kUnits * kClassRuns);
}
BENCHMARK(BM_RecordsCommandCsv40Learners)->Unit(benchmark::kMillisecond);

// Seven other programs appending to the same learner's file (one of the class's record files,
// 3,202 lines to begin with) for as long as the benchmark runs: every append waits for the lock
// behind them.
void BM_LockedAppendBeside7Writers(benchmark::State& state) {
    constexpr int kOthers = 7;
    ScratchFolder scratch;
    WriteFile(scratch.path / "taro.ini", RecordFileLines(kClassRuns));
    const std::string path = scratch.folder() + "taro.ini";
    int stop[2];
    if (::pipe(stop) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    std::vector<pid_t> others;
    for (int w = 0; w < kOthers; ++w) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(stop[1]);
            ProfileRecordSink other(path, RecordSection(1 + w, 1));
            const std::string line = RunLine(w);
            pollfd ended{stop[0], POLLIN, 0};
            // Until the benchmark closes its end of the pipe.
            while (::poll(&ended, 1, 0) == 0) (void)other.append(line);
            ::_exit(0);
        }
        if (child > 0) others.push_back(child);
    }
    ::close(stop[0]);
    ProfileRecordSink sink(path, RecordSection(40, 5));
    const std::string line = RunLine(25);
    for (auto _ : state) {
        const Result<> saved = sink.append(line);
        if (!saved) state.SkipWithError("append failed");
    }
    ::close(stop[1]);
    for (const pid_t child : others) ::waitpid(child, nullptr, 0);
    if (others.size() != kOthers) state.SkipWithError("the other writers did not start");
    state.counters["lines"] = static_cast<double>(ProfileFile(path).load().lines().size());
}
BENCHMARK(BM_LockedAppendBeside7Writers)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace sulkan

int main(int argc, char** argv) {
    return sulkan::bench::RunBenchmarks(argc, argv);
}
