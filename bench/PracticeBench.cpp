// Speed of the practice sheet: 40 distinct school kanji from the answers of a unit to a PDF file
// on A4, in the stroke-order face where it is installed (target: 200 ms median).
#include <benchmark/benchmark.h>

#include <QString>
#include <filesystem>

#include "BenchMain.h"
#include "Kanji.h"
#include "PracticePrinting.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"

namespace sulkan {
namespace {

void BM_PracticeSheetOf40KanjiToPdf(benchmark::State& state) {
    Worksheet ws;
    ws.content.title = sjis("二年の漢字");
    ws.answerList.push_back("start");
    // Two-kanji answers, one with a kana alternative, some kanji twice: 40 distinct.
    const char* answers[] = {"引力;いんりょく", "羽毛", "雲海", "園長", "遠近", "何回", "科学",
                             "夏草", "家来", "歌声", "画家", "会話", "海外", "絵画", "角形",
                             "活気", "間食", "丸顔", "岩石", "汽船", "記帳", "帰"};
    for (const char* a : answers) ws.answerList.push_back(sjis(a));
    const std::vector<std::string> kanji = PracticeKanjiOf(ws);
    const std::string face = StrokeOrderFontFamily();
    const auto file = std::filesystem::temp_directory_path() / "practice_bench.pdf";
    for (auto _ : state) {
        PdfPrintTarget pdf(QString::fromStdString(file.string()), PageSizeOf(630), 600);
        const Result<int> pages = PrintPracticeSheet(pdf, ws, kanji, face);
        if (!pages || !pdf.finish()) state.SkipWithError("not written");
    }
    if (kanji.size() != 40) state.SkipWithError("not 40 kanji");
    state.counters["kanji"] = static_cast<double>(kanji.size());
    std::filesystem::remove(file);
}
BENCHMARK(BM_PracticeSheetOf40KanjiToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulkan

int main(int argc, char** argv) {
    return sulkan::bench::RunBenchmarks(argc, argv);
}
