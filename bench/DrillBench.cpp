// Speed of the drill's answering: grading one blank on Enter (the grade, its marks and the sheet
// image shown again) and grading the whole sheet with its result rendering, against the plain
// QPainter baseline of the sheet benchmarks, on the full A3 sheet of 60 lines and 80 blanks.
#include <benchmark/benchmark.h>

#include <QPixmap>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "DrillEngine.h"
#include "Fonts.h"
#include "GradingMarks.h"
#include "QtCanvas.h"
#include "SheetImage.h"

namespace sulkan {
namespace {

using namespace bench;

void BM_BaselinePlainQPainter(benchmark::State& state) {
    PlainQPainterBaseline(state);
}
BENCHMARK(BM_BaselinePlainQPainter)->Unit(benchmark::kMillisecond);

// The drill window's part of the work, without widgets: the sheet image on a canvas, frames
// measured on it, and the image converted for showing as the window does after every change.
class BenchFront : public DrillFrontEnd {
public:
    BenchFront(Worksheet& w, SheetShared& shared) : m_ws(w), m_shared(shared) {
        renderSheet(false);
    }
    void boxesChanged() override {}
    void panelsChanged() override {}
    void focusBox(int, Caret) override {}
    void focusButton(DrillButton) override {}
    void renderSheet(bool result) override {
        m_shared.drillDrawing = result;
        RenderInputs in = ScreenInputs(m_ws, BenchView(), SheetPictures{});
        in.view.answersShown = false;
        if (result && engine) {
            in.drill.entries = engine->resultEntries();
            in.drill.pieceStarts = m_ws.pieceStarts;
            in.drill.graded = engine->scoreShown();
            in.drill.score = engine->lastScore();
            in.drill.gradingMark = [](Canvas& c, int, const BlankRecord& r, const BlankFrame& f,
                                      double s) {
                DrawGradingMark(c, MarkForStatus(r.BlankStatus), f, s, f.enlarged.width(), kRed);
            };
        }
        sheet = std::make_unique<ImageCanvas>(in.target.pageWidth, in.target.pageHeight);
        tracker = CanvasTracker{};
        RenderSheet(m_ws, *sheet, in, m_shared);
        m_shared.drillDrawing = false;
        shown = QPixmap::fromImage(sheet->image());
    }
    Canvas& sheetCanvas() override { return *sheet; }
    Canvas& messageCanvas(MessageImage) override { return messages; }
    void imagesChanged() override { shown = QPixmap::fromImage(sheet->image()); }
    BlankFrame frameOf(int blank) override {
        const BlankRecord& b = m_shared.blanks.slots[static_cast<std::size_t>(blank)];
        const int h = BlankBaseHeight(*sheet, tracker, m_ws.params.FontName, b.size);
        return FrameOfBlank(b, h, m_ws.params.BoxWidth, m_ws.params.BoxHeight, 1.0);
    }
    void message(const std::string&) override {}
    void showAllCorrect() override {}
    void showMascot(Mascot) override {}
    void showUnitRecords() override {}
    void recordWritten() override {}
    void scrollToTop() override {}
    void timerRunning(bool) override {}
    void choicesChanged() override {}

    DrillEngine* engine = nullptr;
    std::unique_ptr<ImageCanvas> sheet;
    ImageCanvas messages{209, 100};
    CanvasTracker tracker;
    QPixmap shown;

private:
    Worksheet& m_ws;
    SheetShared& m_shared;
};

// A drill opened over the full A3 sheet, as the window opens it.
struct OpenDrill {
    Worksheet w = FullA3Sheet();
    SheetShared shared;
    BenchFront front{w, shared};
    SeededRandom random{1};
    DrillEngine engine{shared.blanks, front, random};

    OpenDrill() {
        front.engine = &engine;
        DrillSetup setup;
        setup.answerCount = shared.blanks.BlankCount;
        engine.open(setup);
    }
};

void BM_GradeOneBlankOnEnter(benchmark::State& state) {
    OpenDrill drill;
    auto& [w, shared, front, random, engine] = drill;
    engine.startPractice();
    const std::string answer = shared.blanks.slots[1].Alternatives.front();
    for (auto _ : state) {
        // Every Enter goes to the first blank, which is open again each round.
        state.PauseTiming();
        shared.blanks.slots[1].BlankStatus = blank_status::kOpen;
        engine.boxFocusEnter(1);
        state.ResumeTiming();
        engine.boxEdited(1, answer);
        engine.enterPressed(1);
        benchmark::DoNotOptimize(front.shown.cacheKey());
    }
}
BENCHMARK(BM_GradeOneBlankOnEnter)->Unit(benchmark::kMillisecond);

void BM_GradeWholeSheet(benchmark::State& state) {
    OpenDrill drill;
    auto& [w, shared, front, random, engine] = drill;
    for (auto _ : state) {
        state.PauseTiming();
        engine.startTest();
        for (int i = 1; i <= shared.blanks.BlankCount; ++i) {
            engine.boxEdited(i, i % 3 ? shared.blanks.slots[i].Alternatives.front() : "x");
            engine.enterPressed(i);
        }
        state.ResumeTiming();
        engine.grade();
        benchmark::DoNotOptimize(front.shown.cacheKey());
    }
}
BENCHMARK(BM_GradeWholeSheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulkan

int main(int argc, char** argv) {
    return sulkan::bench::RunBenchmarks(argc, argv);
}
