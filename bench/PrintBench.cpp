// Speed of printing to PDF: a full A3 sheet drawn at the printer's resolution against plain
// QPdfWriter text drawing of the same characters, and the export of a 20-unit section (question
// and answer sheet of every unit) into one PDF. Ends with the medians set against the targets.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "ExportCommand.h"
#include "Fonts.h"
#include "LayoutParams.h"
#include "LineFile.h"
#include "QtText.h"
#include "SheetImage.h"
#include "SheetPrinting.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"

namespace sulkan {
namespace {

using namespace bench;

constexpr int kDpi = 600;

// With SULKAN_BENCH_KEEP set to a folder, the last file a benchmark wrote is copied there, so
// that the pages of two builds can be compared.
void KeepFile(const ScratchFolder& scratch, const char* name) {
    const char* keep = std::getenv("SULKAN_BENCH_KEEP");
    if (!keep || !*keep) return;
    std::filesystem::create_directories(keep);
    std::filesystem::copy_file(scratch.path / name, std::filesystem::path(keep) / name,
                               std::filesystem::copy_options::overwrite_existing);
}

// The same characters written the plain way: one A3 page, one drawText per line.
void BM_BaselinePlainPdfPage(benchmark::State& state) {
    ScratchFolder scratch;
    Worksheet w = FullA3Sheet();
    const std::vector<QString> lines = PlainLines(w);
    QFont font(QStringLiteral("ＭＳ 明朝"));
    font.setPointSize(15);
    for (auto _ : state) {
        QPdfWriter writer(scratch.file("plain.pdf"));
        writer.setResolution(kDpi);
        writer.setPageSize(QPageSize(QPageSize::A3));
        QPainter p(&writer);
        p.setFont(font);
        const double s = writer.width() / 891.0;
        double y = 130 * s;
        for (const auto& line : lines) {
            p.drawText(QPointF(50 * s, y), line);
            y += 24 * 0.7875 * s;
        }
        p.end();
    }
    KeepFile(scratch, "plain.pdf");
}
BENCHMARK(BM_BaselinePlainPdfPage)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The header's date and time, the same in every build, so that kept pages can be compared.
void FixedTime(RenderInputs& in) {
    in.stamp.now = LocalTime{2026, 4, 6, 8, 30};
}

// The sheet at the printer's resolution on an A3 PDF page, after the screen pass whose blanks the
// printer pass uses.
void BM_PrinterResolutionPdfPage(benchmark::State& state) {
    ScratchFolder scratch;
    Worksheet w = FullA3Sheet();
    SheetShared shared;
    const ScreenView view = BenchView();
    RenderSheetImage(w, ScreenInputs(w, view, SheetPictures{}), shared);
    shared.blankRecording = false;
    for (auto _ : state) {
        PdfPrintTarget pdf(scratch.file("sheet.pdf"), PageSizeOf(891), kDpi);
        bool printed =
            PrintAtPrinterResolution(pdf, w, view, SheetPictures{}, {}, shared, nullptr, FixedTime);
        printed = pdf.finish() && printed;
        if (!printed) state.SkipWithError("the page was not written");
    }
    KeepFile(scratch, "sheet.pdf");
    state.counters["blanks"] = shared.blanks.BlankCount;
}
BENCHMARK(BM_PrinterResolutionPdfPage)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A course of one lesson whose first section has 20 units of 12 lines each.
void WriteSectionCourse(const std::filesystem::path& folder, int units) {
    WriteFile(folder / "Main.ind", {sjis("ベンチ用コース"), "", sjis("四年の漢字,k4\\_k4"), ">>"});
    std::vector<std::string> index{sjis("四年"), "[[sect1", sjis("まとめ"), "<<"};
    std::vector<std::string> que;
    for (int unit = 1; unit <= units; ++unit) {
        index.push_back(sjis("まとめ") + std::to_string(unit));
        que.push_back("[[unit" + std::to_string(unit));
        que.push_back("<<ques");
        for (int i = 1; i <= 12; ++i) {
            std::string line = sjis("（") + std::to_string(i) + sjis("）") + sjis("<U>山道</>を") +
                               "#" + sjis("やまみち") + "#" + sjis("歩いて");
            if (i % 2 == 0)
                line.append("#").append(sjis("かわ;せん")).append("#").append(sjis("へ行く"));
            que.push_back(line);
        }
        que.push_back(">>");
        for (const auto& l : DefaultLayoutLines()) que.push_back(l);
        que.push_back("]]");
    }
    index.push_back(">>");
    index.push_back("]]");
    WriteFile(folder / "k4" / "k4.ind", index);
    WriteFile(folder / "k4" / "k41.que", que);
}

void BM_ExportSectionOf20UnitsToPdf(benchmark::State& state) {
    ScratchFolder scratch;
    WriteSectionCourse(scratch.path, 20);
    const std::string out = (scratch.path / "section.pdf").string();
    MemorySettingsStore settings;
    for (auto _ : state) {
        if (RunExportCommand({"--course", scratch.path.string(), "--unit", "1-1", "--out", out},
                             settings) != 0)
            state.SkipWithError("the export failed");
    }
    state.counters["pages"] = 40;
}
BENCHMARK(BM_ExportSectionOf20UnitsToPdf)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Keeps the median real time of every benchmark (each measured in milliseconds).
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace
}  // namespace sulkan

int main(int argc, char** argv) {
    sulkan::MedianReporter reporter;
    sulkan::bench::RunBenchmarks(argc, argv, &reporter);

    const auto& m = reporter.medians;
    auto at = [&](const char* name) {
        auto found = m.find(name);
        return found == m.end() ? -1.0 : found->second;
    };
    const double baseline = at("BM_BaselinePlainPdfPage");
    const double page = at("BM_PrinterResolutionPdfPage");
    const double section = at("BM_ExportSectionOf20UnitsToPdf");
    if (baseline > 0 && page > 0)
        std::printf("one A3 page: %.1f ms, %.2f x the plain page (target at most 1.5 x)\n", page,
                    page / baseline);
    if (section > 0)
        std::printf("section of 20 units, 40 pages: %.0f ms (target at most 1500 ms)\n", section);
    return 0;
}
