// Speed of the question editor's live preview: one update from the field texts of a full A3 unit
// (encoding the fields, the check, the worksheet reader, and the sheet renderer drawing the
// question and the answer sheet at the size the pane shows them) against plain QPainter text
// drawing of the same characters at full size.
#include <benchmark/benchmark.h>

#include <QString>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "EditorPreview.h"
#include "EditorText.h"
#include "LayoutParams.h"
#include "QuestionEditing.h"

namespace sulkan {
namespace {

using namespace bench;

// The preview pane of an editor the size of a 1280 x 1024 main window.
constexpr QSize kPane(392, 800);
constexpr int kCaption = 17;
constexpr int kGap = 8;

void BM_BaselinePlainQPainter(benchmark::State& state) {
    PlainQPainterBaseline(state);
}
BENCHMARK(BM_BaselinePlainQPainter)->Unit(benchmark::kMillisecond);

void BM_EditorPreviewUpdate(benchmark::State& state) {
    const Worksheet sheet = FullA3Sheet();
    LayoutParams layout = sheet.params;
    const std::vector<std::string> original = sheet.content.questionLines;
    // The fields as the teacher sees them, one line changed since loading.
    std::vector<std::string> shown = original;
    shown[30] += sjis("ね");
    const QString ques = JoinLinesForField(shown);
    const QString pasteLo = JoinLinesForField(LayoutLines(layout));
    const ScreenView view = BenchView();
    LoadOptions options;
    options.address = {1, 1, 1, 0};
    options.filePath = sjis("kan4\\kan41.que");
    options.titles.lesson = sjis("小学四年の漢字");
    options.titles.section = sjis("まとめ");
    options.titles.unit = sjis("まとめテスト");
    SheetShared shared;
    const KeptSpellings spellings(original);  // made once per loaded unit, as in the editor
    const KeptSpellings none;
    int blanks = 0;
    for (auto _ : state) {
        QuestionFields fields;
        fields.blocks.ques = spellings.encode(ques).lines;
        fields.pasteLo = none.encode(pasteLo).lines;
        const EditorPreview preview =
            RenderEditorPreview(BlocksOf(fields), options, view, shared, {kPane, kCaption, kGap});
        if (preview.answerSheet.isNull() || !preview.problem.empty()) {
            state.SkipWithError("the unit was not drawn");
            break;
        }
        blanks = shared.blanks.BlankCount;
        benchmark::DoNotOptimize(preview.questionSheet.constBits());
        benchmark::DoNotOptimize(preview.answerSheet.constBits());
    }
    state.counters["blanks"] = blanks;
}
BENCHMARK(BM_EditorPreviewUpdate)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulkan

int main(int argc, char** argv) {
    return sulkan::bench::RunBenchmarks(argc, argv);
}
