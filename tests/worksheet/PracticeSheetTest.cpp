// The practice sheet: which kanji it holds, where its squares stand on the paper, and what a page
// draws.
#include <gtest/gtest.h>

#include "PracticeSheet.h"
#include "RecordingCanvas.h"
#include "Sjis.h"

namespace sulkan {
namespace {

using Kind = RecordingCanvas::Kind;

TEST(PracticeSheet, TheDistinctKanjiOfTheAnswersInTheOrderTheyAppear) {
    const std::vector<std::string> answers = {
        sjis("森林"),  sjis("山;やま"),         sjis("林業"), sjis("ひらがな"),
        sjis("１２3"), sjis("大;おお;多"),      sjis("々"),   "",
        sjis("山々"),  sjis("カタカナ・記号！")};
    EXPECT_EQ(PracticeKanji(answers),
              (std::vector<std::string>{sjis("森"), sjis("林"), sjis("山"), sjis("業"), sjis("大"),
                                        sjis("多"), sjis("記"), sjis("号")}));
    EXPECT_TRUE(PracticeKanji({}).empty());
    EXPECT_TRUE(PracticeKanji({sjis("あ;い"), "abc;", sjis("ＡＢＣ")}).empty());
    // A lead byte cut off at the end is no kanji.
    EXPECT_EQ(PracticeKanji({sjis("表") + "\x88"}), (std::vector<std::string>{sjis("表")}));
}

TEST(PracticeSheet, TheSquaresFillTheWidthOfEachPaperAndStayOnIt) {
    for (const int width : {546, 630, 771, 891}) {
        const int height = static_cast<int>(width * 1.41421356 + 0.5);
        const PracticeLayout l = LayOutPractice(width, height);
        ASSERT_GT(l.rowsPerPage, 0) << width;
        // Equal squares side by side within the margins, the model first.
        const std::vector<PracticeSquare> row = l.squares(0);
        ASSERT_EQ(row.size(), static_cast<std::size_t>(kPracticeSquaresPerRow));
        EXPECT_EQ(row.front().left, l.margin);
        EXPECT_LE(row.back().left + row.back().side, width - l.margin);
        EXPECT_GT(row.back().left + row.back().side, width - l.margin - l.squaresPerRow);
        for (std::size_t k = 1; k < row.size(); ++k) {
            EXPECT_EQ(row[k].left, row[k - 1].left + row[k - 1].side);
            EXPECT_EQ(row[k].side, row[0].side);
        }
        // Rows below the title, apart by a square and room for a reading; the last on the page.
        EXPECT_GE(row.front().top, l.titleTop + l.titleHeight);
        const PracticeSquare lastRow = l.squares(l.rowsPerPage - 1).front();
        EXPECT_LE(lastRow.top + lastRow.side, height - l.margin);
        EXPECT_GT(l.squares(l.rowsPerPage).front().top + l.side, height - l.margin);
        EXPECT_GT(l.rowPitch, l.side);
        // A larger paper has larger squares.
        if (width > 546) {
            EXPECT_GT(l.side, LayOutPractice(546, 772).side);
        }
    }
    const PracticeLayout a4 = LayOutPractice(630, 891);
    EXPECT_EQ(a4.pages(0), 0);
    EXPECT_EQ(a4.pages(1), 1);
    EXPECT_EQ(a4.pages(a4.rowsPerPage), 1);
    EXPECT_EQ(a4.pages(a4.rowsPerPage + 1), 2);
}

TEST(PracticeSheet, APageDrawsTheModelTheTracedCopiesAndTheGuides) {
    const PracticeLayout l = LayOutPractice(630, 891);
    std::vector<std::string> kanji;
    for (const char* k : {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "百", "千"})
        kanji.push_back(sjis(k));
    ASSERT_LT(l.rowsPerPage, static_cast<int>(kanji.size()));
    RecordingCanvas canvas(630, 891);
    DrawPracticePage(canvas, l, 1, kanji, {}, sjis("漢数字"), "KanjiStrokeOrders");
    const int onPage = static_cast<int>(kanji.size()) - l.rowsPerPage;
    std::vector<RecordingCanvas::Op> texts = canvas.texts();
    // The title, then per row the model and two grey copies.
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(1 + 3 * onPage));
    EXPECT_EQ(texts[0].text, sjis("漢数字"));
    const std::string& firstOnPage = kanji[static_cast<std::size_t>(l.rowsPerPage)];
    EXPECT_EQ(texts[1].text, firstOnPage);
    EXPECT_EQ(texts[1].font.face, "KanjiStrokeOrders");
    EXPECT_EQ(texts[1].textColour, kBlack);
    for (int k : {2, 3}) {
        EXPECT_EQ(texts[static_cast<std::size_t>(k)].text, firstOnPage);
        EXPECT_EQ(texts[static_cast<std::size_t>(k)].textColour, kTraceGrey);
        EXPECT_NE(texts[static_cast<std::size_t>(k)].font.face, "KanjiStrokeOrders");
    }
    // Each character inside its square.
    const std::vector<PracticeSquare> row = l.squares(0);
    EXPECT_GT(texts[2].x, row[1].left);
    EXPECT_LT(texts[2].x, row[1].left + row[1].side);
    EXPECT_GT(texts[1].y, row[0].top);
    // Every square framed; all but the model crossed by two dotted guides.
    int frames = 0, guides = 0;
    for (const auto& op : canvas.ops) {
        frames += op.kind == Kind::Rectangle;
        guides += op.kind == Kind::Line && op.pen.style == PenStyle::Dot;
    }
    EXPECT_EQ(frames, onPage * kPracticeSquaresPerRow);
    EXPECT_EQ(guides, onPage * (kPracticeSquaresPerRow - 1) * 2);

    // Without the stroke-order face the model is drawn in the usual face.
    RecordingCanvas plain(630, 891);
    DrawPracticePage(plain, l, 0, kanji, {}, sjis("漢数字"), "");
    EXPECT_NE(plain.texts()[1].font.face, "KanjiStrokeOrders");
    EXPECT_FALSE(plain.texts()[1].font.face.empty());
}

TEST(PracticeSheet, ALongTitleIsMadeSmallerToStayOnThePaper) {
    const PracticeLayout l = LayOutPractice(546, 772);
    for (const char* title : {"山", "小学三年の漢字//書きの練習§2-1 学校のことば（書き）その一"}) {
        SCOPED_TRACE(title);
        RecordingCanvas canvas(546, 772);
        DrawPracticePage(canvas, l, 0, {sjis("山")}, {}, sjis(title), "");
        const RecordingCanvas::Op drawn = canvas.texts().front();
        EXPECT_EQ(drawn.text, sjis(title));
        EXPECT_LE(drawn.x + drawn.advance, 546 - l.margin);
        EXPECT_LE(drawn.font.points * 96.0 / 72.0, l.titleHeight);
    }
    RecordingCanvas shortTitle(546, 772);
    DrawPracticePage(shortTitle, l, 0, {sjis("山")}, {}, sjis("山"), "");
    EXPECT_DOUBLE_EQ(shortTitle.texts().front().font.points * 96.0 / 72.0, l.titleHeight);
}

TEST(PracticeSheet, AReadingIsDrawnSmallInTheLineUnderItsRow) {
    for (const int width : {546, 630, 891}) {
        SCOPED_TRACE(width);
        const int height = static_cast<int>(width * 1.41421356 + 0.5);
        const PracticeLayout l = LayOutPractice(width, height);
        // A page and one row more: the first, short reading; none for the second; a long one for
        // the last row of the page, shrunk to the row; readings end before the last kanji.
        std::vector<std::string> kanji, readings;
        for (int k = 0; k <= l.rowsPerPage; ++k) kanji.push_back(sjis("山"));
        readings.assign(static_cast<std::size_t>(l.rowsPerPage), "");
        readings[0] = sjis("やま");
        std::string longReading;
        for (int k = 0; k < 12; ++k) longReading += sjis("大きな山（おおきなやま）");
        readings.back() = longReading;
        RecordingCanvas canvas(width, height);
        DrawPracticePage(canvas, l, 0, kanji, readings, sjis("山"), "KanjiStrokeOrders");
        std::vector<RecordingCanvas::Op> drawn;
        for (const auto& op : canvas.texts())
            if (op.text == readings[0] || op.text == longReading) drawn.push_back(op);
        // The title, three characters a row, and the two readings only.
        EXPECT_EQ(canvas.texts().size(), static_cast<std::size_t>(1 + 3 * l.rowsPerPage + 2));
        ASSERT_EQ(drawn.size(), 2u);
        const int rows[2] = {0, l.rowsPerPage - 1};
        for (int k = 0; k < 2; ++k) {
            const RecordingCanvas::Op& op = drawn[static_cast<std::size_t>(k)];
            const PracticeSquare first = l.squares(rows[k]).front();
            const double top = op.y, bottom = op.y + op.font.points * 96.0 / 72.0;
            // Inside the line under the squares, within the row's width, in the usual face.
            EXPECT_GE(top, first.top + first.side);
            EXPECT_LE(bottom, first.top + l.rowPitch);
            EXPECT_GE(op.x, l.margin);
            EXPECT_LE(op.x + op.advance, l.margin + l.squaresPerRow * l.side);
            EXPECT_EQ(op.font.face, sjis("ＭＳ 明朝"));
            EXPECT_EQ(op.textColour, kBlack);
            EXPECT_LT(bottom - top, l.side / 2.0);
        }
        // The short one fills most of its line; the long one is smaller to fit; the line of the
        // page's last row stays on the paper.
        EXPECT_GT(drawn[0].font.points * 96.0 / 72.0, (l.rowPitch - l.side) * 0.6);
        EXPECT_LT(drawn[1].font.points, drawn[0].font.points);
        EXPECT_LE(l.squares(l.rowsPerPage - 1).front().top + l.rowPitch, height - l.margin);

        // The next page: its row has no reading.
        RecordingCanvas next(width, height);
        DrawPracticePage(next, l, 1, kanji, readings, sjis("山"), "");
        EXPECT_EQ(next.texts().size(), 4u);
    }
}

}  // namespace
}  // namespace sulkan
