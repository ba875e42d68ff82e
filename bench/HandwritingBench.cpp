// Speed of handwriting recognition: one character of twelve strokes to ten candidates, and
// loading the Japanese model.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Handwriting.h"

namespace {

using sulkan::HandStroke;

// 森, twelve strokes, from the test data of the first year's kanji (a pad of 300 pixels).
std::vector<HandStroke> Mori() {
    std::ifstream in(std::string(SULKAN_SOURCE_DIR) + "/tests/data/handwriting/grade1.txt");
    std::string line;
    std::vector<HandStroke> strokes;
    while (std::getline(in, line)) {
        if (line.rfind("森\t", 0) != 0) continue;
        strokes.emplace_back();
        std::istringstream points(line.substr(line.find('\t') + 1));
        std::string token;
        while (points >> token) {
            if (token == "|") {
                strokes.emplace_back();
                continue;
            }
            const auto comma = token.find(',');
            strokes.back().push_back(
                {std::stoi(token.substr(0, comma)), std::stoi(token.substr(comma + 1))});
        }
    }
    return strokes;
}

void BM_RecognizeKanji(benchmark::State& state) {
    const std::vector<HandStroke> strokes = Mori();
    if (strokes.size() != 12 || !sulkan::LoadHandwritingModel()) {
        state.SkipWithError("no model or no stroke data");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(sulkan::RecognizeHandwriting(strokes, 300, 10));
}
BENCHMARK(BM_RecognizeKanji)->Unit(benchmark::kMillisecond);

void BM_LoadModel(benchmark::State& state) {
    const std::string path = sulkan::HandwritingModelPath();
    for (auto _ : state) {
        // Setting the path drops the loaded model; the page cache keeps the file, as it would
        // after the program's first start.
        sulkan::SetHandwritingModelPath(path);
        if (!sulkan::LoadHandwritingModel()) {
            state.SkipWithError("no model");
            return;
        }
    }
}
BENCHMARK(BM_LoadModel)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
