#include "ReviewSheet.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "LayoutParams.h"
#include "QuestionFile.h"
#include "Sjis.h"
#include "TextRoutines.h"
#include "WorksheetReader.h"

namespace sulkan {

ReviewSheet ComposeReviewSheet(const LessonResults& results, const std::vector<std::size_t>& units,
                               int belowPercent, const std::string& learner) {
    std::vector<std::size_t> chosen;
    for (const std::size_t u : units)
        if (u < results.units.size()) chosen.push_back(u);
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());

    // Every line with a blank below the rate, once, in outline and sheet order.
    std::vector<ReviewSource> found;
    for (const std::size_t u : chosen) {
        for (const BlankResult& b : results.units[u].blanks) {
            if (!RateBelow(b, belowPercent)) continue;
            const int rate = RatePercent(b);
            if (!found.empty() && found.back().unit == u && found.back().similar == b.similar &&
                found.back().line == b.blank.line) {
                found.back().lowestRate = std::min(found.back().lowestRate, rate);
                continue;
            }
            found.push_back({u, b.similar, b.blank.line, rate});
        }
    }

    ReviewSheet sheet;
    if (found.size() > kMaxQuestionLines) {
        std::vector<std::size_t> order(found.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return found[a].lowestRate < found[b].lowestRate;
        });
        order.resize(kMaxQuestionLines);
        std::sort(order.begin(), order.end());
        std::vector<ReviewSource> kept;
        for (const std::size_t i : order) kept.push_back(found[i]);
        sheet.leftOut = found.size() - kept.size();
        found = std::move(kept);
    }

    std::size_t lastUnit = std::numeric_limits<std::size_t>::max();
    for (const ReviewSource& s : found) {
        const UnitResults& u = results.units[s.unit];
        const auto& lines = u.questions.lines[static_cast<std::size_t>(s.similar)];
        sheet.questionLines.push_back((*lines)[static_cast<std::size_t>(s.line)]);
        if (s.unit != lastUnit) {
            if (sheet.unitsUsed == 0) {
                sheet.value = u.questions.value;
                sheet.font = u.questions.font;
                sheet.kran = u.questions.kran;
            }
            ++sheet.unitsUsed;
            lastUnit = s.unit;
        }
    }
    sheet.sources = std::move(found);

    sheet.title = sjis("復習：");
    if (!learner.empty()) sheet.title += learner + sjis("　");
    if (!sheet.sources.empty()) {
        sheet.title += results.units[sheet.sources.front().unit].unit.title;
        if (sheet.unitsUsed > 1)
            sheet.title +=
                sjis("ほか") + IntText(static_cast<long long>(sheet.unitsUsed) - 1) + sjis("単元");
    }
    return sheet;
}

Worksheet ReviewWorksheet(const ReviewSheet& sheet, int lesson) {
    Worksheet w;
    w.address = {lesson, 0, 0, 0};
    w.isMaster = false;
    // A composition like a copy file not yet saved: no unit of a question file to edit or
    // overwrite, no records until it has a name, no unit named in its header.
    w.isCopy = true;
    w.modified = true;
    w.content.title = sheet.title;
    w.lastTitle = sheet.title;
    w.content.school = UnitSheetSchool();
    w.content.nameLine = UnitSheetNameLine();
    w.content.questionLines = sheet.questionLines;
    w.params = ReadLayout(sheet.value, sheet.font, sheet.kran, WorksheetFallbackLayout());
    w.params.AnswerFontSize = EffectiveAnswerFontSize(w.params);
    return w;
}

}  // namespace sulkan
