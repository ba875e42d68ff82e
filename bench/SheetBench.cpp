// Speed of the work done on every spin-control step and on opening: drawing a full A3 sheet
// against plain QPainter text drawing of the same characters, opening a unit from a large question
// file, and recounting the unit marks of a lesson.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <random>

#include "AppState.h"
#include "BenchMain.h"
#include "BenchSupport.h"
#include "Codec.h"
#include "CourseTree.h"
#include "Fonts.h"
#include "LayoutParams.h"
#include "LineFile.h"
#include "QtText.h"
#include "QuestionFile.h"
#include "SheetImage.h"
#include "Sjis.h"
#include "UnitMarks.h"
#include "WorksheetReader.h"

namespace sulkan {
namespace {

using namespace bench;

void BM_BaselinePlainQPainter(benchmark::State& state) {
    PlainQPainterBaseline(state);
}
BENCHMARK(BM_BaselinePlainQPainter)->Unit(benchmark::kMillisecond);

void BM_RenderFullSheetOnScreen(benchmark::State& state) {
    Worksheet w = FullA3Sheet();
    SheetShared shared;
    RenderInputs inputs = ScreenInputs(w, BenchView(), SheetPictures{});
    for (auto _ : state) {
        QImage image = RenderSheetImage(w, inputs, shared);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["blanks"] = shared.blanks.BlankCount;
}
BENCHMARK(BM_RenderFullSheetOnScreen)->Unit(benchmark::kMillisecond);

// The same sheet on a screen at 200 %: the worksheet window's pass at the sheet's size (which
// records blanks and figures) and its pass at the screen's density.
void BM_RenderFullSheetOnHighDensityScreen(benchmark::State& state) {
    Worksheet w = FullA3Sheet();
    SheetShared shared;
    RenderInputs inputs = ScreenInputs(w, BenchView(), SheetPictures{});
    for (auto _ : state) {
        QImage image = RenderSheetImage(w, inputs, shared);
        Worksheet copy = w;
        SheetShared sharedCopy = shared;
        QImage sharp = RenderSheetImage(copy, inputs, sharedCopy, nullptr, 1, 2.0);
        benchmark::DoNotOptimize(image.bits());
        benchmark::DoNotOptimize(sharp.bits());
    }
}
BENCHMARK(BM_RenderFullSheetOnHighDensityScreen)->Unit(benchmark::kMillisecond);

std::vector<std::string> BenchUnitLines(int unit) {
    std::vector<std::string> u{"[[unit" + std::to_string(unit), "<<ques"};
    for (int i = 0; i < 10; ++i)
        u.push_back(sjis("（") + std::to_string(i + 1) + sjis("）#やま#に登る"));
    for (const auto& l : DefaultLayoutLines()) u.push_back(l);
    u.push_back("]]");
    return u;
}

void BM_OpenUnitFromLargeQuestionFile(benchmark::State& state) {
    ScratchFolder scratch;
    std::vector<std::string> lines;
    for (int unit = 1; unit <= 10000; ++unit) {
        auto u = BenchUnitLines(unit);
        lines.insert(lines.end(), u.begin(), u.end());
    }
    std::string file = scratch.folder() + "k1.que";
    WriteFile(file, lines);
    for (auto _ : state) {
        auto read = ReadLines(file);
        ReadRequest request;
        request.headerLine = "[[unit9999";
        request.section = 1;
        request.unit = 9999;
        HoldingArea holding;
        SheetShared shared;
        ReadResult result = ReadIntoHolding(*read, request, holding, shared);
        Worksheet w;
        LoadWorksheet(holding, w, LoadOptions{}, shared);
        benchmark::DoNotOptimize(result.found);
        benchmark::DoNotOptimize(w.content.questionLines.data());
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_OpenUnitFromLargeQuestionFile)->Unit(benchmark::kMillisecond);

void BM_RecountUnitMarks80x80(benchmark::State& state) {
    ScratchFolder scratch;
    auto app = std::make_unique<AppState>();
    app->ProgramFolder = scratch.folder();
    app->LearnerName = sjis("共通");
    app->Course.LessonFolders[1] = "k1\\";
    app->Course.LessonBaseNames[1] = "k1";
    for (int d = 1; d <= 80; ++d) {
        std::vector<std::string> que;
        for (int e = 1; e <= 80; ++e) {
            app->Course.SectionUnitTitles[d].push_back(sjis("単元") + std::to_string(e));
            que.push_back("[[unit" + std::to_string(e));
            que.push_back("]]");
            if (e % 3 == 0) {
                que.push_back("[[unit" + std::to_string(e) + "R1");
                que.push_back("]]");
            }
        }
        app->Course.SectionUnitCounts[d] = 80;
        WriteFile(scratch.path / "k1" / ("k1" + std::to_string(d) + ".que"), que);
    }
    // 20,000 record lines spread over the units.
    std::vector<std::string> records;
    std::mt19937 random(7);
    for (int section = 0; section < 2000; ++section) {
        int d = 1 + static_cast<int>(random() % 80), e = 1 + static_cast<int>(random() % 80);
        records.push_back("[S" + std::to_string(d) + std::to_string(e) + sjis("単元") +
                          std::to_string(e) + "]");
        for (int k = 1; k <= 9; ++k)
            records.push_back(std::to_string(k) + "=" +
                              sjis("2026年12月08日 14:05 OxOO  3/ 4  75点 01:23"));
    }
    WriteFile(scratch.path / "k1" / (Cp932ToUtf8(sjis("共通")) + ".ini"), records);
    for (auto _ : state) {
        app->MarksRecountPending = true;
        RecountUnitMarks(*app, 1, 80);
        benchmark::DoNotOptimize(app->UnitMarks[80][80].data());
    }
    state.counters["recordLines"] = static_cast<double>(records.size());
}
BENCHMARK(BM_RecountUnitMarks80x80)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulkan

int main(int argc, char** argv) {
    return sulkan::bench::RunBenchmarks(argc, argv);
}
