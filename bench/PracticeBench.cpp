// Speed of the practice sheet: 40 distinct school kanji from the answers of a unit to a PDF file
// on A4, each with the reading its question gives, in the stroke-order face where it is installed
// (target: 200 ms median).
#include <benchmark/benchmark.h>

#include <QString>
#include <filesystem>
#include <string>

#include "BenchMain.h"
#include "Kanji.h"
#include "PracticePrinting.h"
#include "PracticeReadings.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"

namespace sulkan {
namespace {

void BM_PracticeSheetOf40KanjiToPdf(benchmark::State& state) {
    Worksheet ws;
    ws.content.title = sjis("二年の漢字");
    ws.answerList.push_back("start");
    // Two-kanji answers, one with a kana alternative, some kanji twice: 40 distinct.
    // Each question gives the answer's reading, marked before its blank, so that every row has
    // a reading to find and draw.
    const char* answers[][2] = {{"引力;いんりょく", "いんりょく"},
                                {"羽毛", "うもう"},
                                {"雲海", "うんかい"},
                                {"園長", "えんちょう"},
                                {"遠近", "えんきん"},
                                {"何回", "なんかい"},
                                {"科学", "かがく"},
                                {"夏草", "なつくさ"},
                                {"家来", "けらい"},
                                {"歌声", "うたごえ"},
                                {"画家", "がか"},
                                {"会話", "かいわ"},
                                {"海外", "かいがい"},
                                {"絵画", "かいが"},
                                {"角形", "かくけい"},
                                {"活気", "かっき"},
                                {"間食", "かんしょく"},
                                {"丸顔", "まるがお"},
                                {"岩石", "がんせき"},
                                {"汽船", "きせん"},
                                {"記帳", "きちょう"},
                                {"帰", "かえ"}};
    for (const auto& [answer, reading] : answers) {
        ws.answerList.push_back(sjis(answer));
        ws.content.questionLines.push_back(
            sjis(std::string("（１）<U>") + reading + "</>#　" + answer + "　#を書く。"));
    }
    const std::vector<std::string> kanji = PracticeKanjiOf(ws);
    const std::string face = StrokeOrderFontFamily();
    const auto file = std::filesystem::temp_directory_path() / "practice_bench.pdf";
    for (auto _ : state) {
        PdfPrintTarget pdf(QString::fromStdString(file.string()), PageSizeOf(630), 600);
        const Result<int> pages = PrintPracticeSheet(pdf, ws, kanji, face);
        if (!pages || !pdf.finish()) state.SkipWithError("not written");
    }
    if (kanji.size() != 40) state.SkipWithError("not 40 kanji");
    for (const std::string& reading : PracticeReadings(ws.content.questionLines, kanji))
        if (reading.empty()) state.SkipWithError("a kanji without its reading");
    state.counters["kanji"] = static_cast<double>(kanji.size());
    std::filesystem::remove(file);
}
BENCHMARK(BM_PracticeSheetOf40KanjiToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulkan

int main(int argc, char** argv) {
    return sulkan::bench::RunBenchmarks(argc, argv);
}
