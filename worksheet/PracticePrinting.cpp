#include "PracticePrinting.h"

#include <QPainter>
#include <memory>

#include "PracticeReadings.h"
#include "PracticeSheet.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

std::string PracticeJobName(const Worksheet& worksheet) {
    std::string name = JobNameOf(worksheet, false, "");
    const std::string question = ' ' + sjis("問題");
    if (name.size() >= question.size() &&
        name.compare(name.size() - question.size(), question.size(), question) == 0)
        name.erase(name.size() - question.size());
    return name + ' ' + sjis("練習用紙");
}

std::vector<std::string> PracticeKanjiOf(const Worksheet& worksheet) {
    if (worksheet.answerList.size() < 2) return {};
    return PracticeKanji({worksheet.answerList.begin() + 1, worksheet.answerList.end()});
}

Result<int> PrintPracticeSheet(PrintTarget& target, const Worksheet& worksheet,
                               const std::vector<std::string>& kanji, const std::string& face) {
    if (kanji.empty()) return Problem(sjis("練習する漢字がありません"));
    const TargetCheck ready = target.check();
    if (!ready) return ready.problem();
    const std::string title = TrimWide(worksheet.content.title);
    const std::vector<std::string> readings =
        PracticeReadings(worksheet.content.questionLines, kanji);
    int printed = 0;
    for (int page = 0;; ++page) {
        target.setJobName(PracticeJobName(worksheet));
        QPainter* painter = target.beginJob();
        if (!painter) break;
        const PracticeLayout layout = LayOutPractice(target.pageWidth(), target.pageHeight());
        const int pages = layout.pages(static_cast<int>(kanji.size()));
        if (pages == 0) {
            target.abortJob();
            return Problem(sjis("用紙が小さすぎて練習用紙を印刷できません"));
        }
        {
            std::unique_ptr<Canvas> canvas = target.canvasFor(*painter);
            DrawPracticePage(*canvas, layout, page, kanji, readings, title, face,
                             target.resolution());
        }
        if (!target.endJob()) break;
        ++printed;
        if (page + 1 >= pages) return printed;
    }
    std::string why = target.failure();
    if (why.empty()) why = sjis("印刷を完了できませんでした");
    return Problem(why);
}

}  // namespace sulkan
