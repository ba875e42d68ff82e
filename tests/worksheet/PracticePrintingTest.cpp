// The practice sheet printed: a job per page, named after the worksheet, and what stops it.
#include <gtest/gtest.h>

#include <QImage>

#include "PracticePrinting.h"
#include "PracticeSheet.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"

namespace sulkan {
namespace {

class NamedJobsTarget : public RecordingPrintTarget {
public:
    using RecordingPrintTarget::RecordingPrintTarget;
    void setJobName(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

Worksheet SheetWithAnswers(const std::vector<const char*>& answers) {
    Worksheet ws;
    ws.content.title = sjis("　漢字の練習　");
    ws.answerList.push_back("start");
    for (const char* a : answers) ws.answerList.push_back(sjis(a));
    return ws;
}

TEST(PracticePrinting, EachPageIsAJobNamedAfterTheWorksheet) {
    Worksheet ws = SheetWithAnswers({"山", "川;かわ", "山林", "やま"});
    const std::vector<std::string> kanji = PracticeKanjiOf(ws);
    EXPECT_EQ(kanji, (std::vector<std::string>{sjis("山"), sjis("川"), sjis("林")}));
    // A small page at a low resolution, so that the three rows need two pages.
    NamedJobsTarget target(300, 150, 96);
    ASSERT_EQ(LayOutPractice(300, 150).rowsPerPage, 2);
    const Result<int> printed = PrintPracticeSheet(target, ws, kanji, "");
    ASSERT_TRUE(printed) << printed.problem().message;
    EXPECT_EQ(printed.value(), 2);
    ASSERT_EQ(target.jobs.size(), 2u);
    EXPECT_TRUE(target.jobs[0].ended && target.jobs[1].ended);
    EXPECT_EQ(target.names,
              std::vector<std::string>(2, sjis("漢字の練習") + ' ' + sjis("練習用紙")));
    // The title on every page, the first page's two rows, the last row alone on the next.
    EXPECT_EQ(target.jobs[0].texts,
              (std::vector<std::string>{sjis("漢字の練習"), sjis("山"), sjis("山"), sjis("山"),
                                        sjis("川"), sjis("川"), sjis("川")}));
    EXPECT_EQ(target.jobs[1].texts,
              (std::vector<std::string>{sjis("漢字の練習"), sjis("林"), sjis("林"), sjis("林")}));
    // Ink inside the model square, paper white past the margins.
    const PracticeLayout l = LayOutPractice(300, 150);
    const QImage& page = target.jobs[0].page;
    bool ink = false;
    for (int y = l.firstRowTop + 2; y < l.firstRowTop + l.side - 2 && !ink; ++y)
        for (int x = l.margin + 2; x < l.margin + l.side - 2 && !ink; ++x)
            ink = qGray(page.pixel(x, y)) < 128;
    EXPECT_TRUE(ink);
    EXPECT_EQ(page.pixel(299, 149) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(PracticePrinting, NothingToPracticeOrARefusingPrinterPrintsNothing) {
    Worksheet kana = SheetWithAnswers({"やま", "１２"});
    kana.content.title.clear();
    kana.filePath = "/course/L1/unit.txt";
    EXPECT_EQ(PracticeJobName(kana), "unit.txt " + sjis("練習用紙"));
    NamedJobsTarget target(300, 300, 96);
    const Result<int> none = PrintPracticeSheet(target, kana, PracticeKanjiOf(kana), "");
    EXPECT_FALSE(none);
    EXPECT_EQ(none.problem().message, sjis("練習する漢字がありません"));
    EXPECT_TRUE(target.jobs.empty());

    Worksheet ws = SheetWithAnswers({"山"});
    target.refuseJobs = true;
    const Result<int> refused = PrintPracticeSheet(target, ws, PracticeKanjiOf(ws), "");
    EXPECT_FALSE(refused);
    EXPECT_FALSE(refused.problem().message.empty());

    // A page too small for one row of squares.
    NamedJobsTarget tiny(300, 40, 96);
    const Result<int> small = PrintPracticeSheet(tiny, ws, PracticeKanjiOf(ws), "");
    EXPECT_FALSE(small);
    ASSERT_EQ(tiny.jobs.size(), 1u);
    EXPECT_TRUE(tiny.jobs[0].aborted);
}

TEST(PracticePrinting, TheReadingsTheQuestionsGiveArePrintedUnderTheirRows) {
    Worksheet ws = SheetWithAnswers({"山", "川"});
    ws.content.questionLines = {sjis("（1）<U>やま</>#山#に登る。"), sjis("（2）#川#を渡る。")};
    NamedJobsTarget target(630, 445, 96);
    const PracticeLayout l = LayOutPractice(630, 445);
    ASSERT_GE(l.rowsPerPage, 2);
    const Result<int> printed = PrintPracticeSheet(target, ws, PracticeKanjiOf(ws), "");
    ASSERT_TRUE(printed) << printed.problem().message;
    ASSERT_EQ(target.jobs.size(), 1u);
    EXPECT_EQ(target.jobs[0].texts,
              (std::vector<std::string>{sjis("漢字の練習"), sjis("山"), sjis("山"), sjis("山"),
                                        sjis("やま"), sjis("川"), sjis("川"), sjis("川")}));
    // Ink in the line under the first row, none under the second, which has no reading.
    const QImage& page = target.jobs[0].page;
    auto inkUnder = [&](int row) {
        const PracticeSquare s = l.squares(row).front();
        int dark = 0;
        for (int y = s.top + s.side + 2; y < s.top + l.rowPitch - 1; ++y)
            for (int x = l.margin; x < l.margin + l.squaresPerRow * l.side; ++x)
                dark += qGray(page.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(inkUnder(0), 20);
    EXPECT_EQ(inkUnder(1), 0);
}

}  // namespace
}  // namespace sulkan
