// Print jobs on a recording target: one job per numbered copy, the numbers drawn, the two print
// modes placing the same blanks, and what a failed job leaves behind.
#include "SheetPrinting.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

#include "SheetPrintingTargets.h"
#include "Sjis.h"

namespace sulkan {
namespace {

constexpr int kDpi = 150;
constexpr LocalTime kNow{2026, 1, 2, 3, 4};

struct Numbering : PrintNumbering {
    bool on = true;
    int start = 1;
    bool numberingOn() const override { return on; }
    int startNumber() const override { return start; }
    void setStartNumber(int number) override { start = number; }
};

// A page of the paper of a sheet width at 150 dpi: 1/3 mm a sheet unit is 150 / 76.2 pixels.
RecordingPrintTarget PageFor(int sheetWidth) {
    const double unit = kDpi / 76.2;
    const int width = static_cast<int>(std::lround(sheetWidth * unit));
    return RecordingPrintTarget(width, static_cast<int>(std::lround(width * std::sqrt(2.0))), kDpi);
}

// Lines with blanks spread from the left margin to the far right, boxed frames, the number
// line on.
Worksheet Sheet(int paperWidth) {
    Worksheet w;
    w.content.title = sjis("印刷のテスト");
    w.filePath = "kanji1.que";
    w.address = {1, 1, 3, 0};
    w.params.PaperWidth = paperWidth;
    w.params.FontSize = 12;
    w.params.BoxStyle = 1;
    w.params.SheetOptions = 4;
    for (const char* line :
         {"#やま#に登る", "（２）大きな#かわ#で遊んでから#はやし#の中を歩く",
          "（３）ながいながい道をずっと歩いて遠くの町の#えきまえ#まで行く", "（４）#みずうみ#"})
        w.content.questionLines.push_back(sjis(line));
    return w;
}

ScreenView View() {
    ScreenView view;
    view.answersShown = false;
    view.questionSize = 12;
    view.mainFontName = sjis("ＭＳ 明朝");
    return view;
}

class SheetPrinting : public ::testing::Test {
protected:
    // The window's drawing: a screen pass with the current number, recording the blanks while
    // recording is on.
    QImage ScreenImage(const std::string& numberText) {
        RenderInputs in = ScreenInputs(ws, View(), SheetPictures{});
        in.stamp.now = kNow;
        in.stamp.numberText = numberText;
        return RenderSheetImage(ws, in, shared);
    }

    PrintSource Source() {
        PrintSource source;
        source.worksheet = &ws;
        source.view = View();
        source.screenImage = ScreenImage(NumberText(numbering.on, numbering.start));
        return source;
    }

    // The number each job's header carries ("№ 5  2026.01.02-..." gives 5), or -1 without one.
    static std::vector<int> NumbersDrawn(const RecordingPrintTarget& target) {
        static const std::string mark = sjis("№ ");
        std::vector<int> numbers;
        for (const auto& job : target.jobs) {
            int number = -1;
            for (const std::string& text : job.texts)
                if (text.compare(0, mark.size(), mark) == 0)
                    number = std::stoi(text.substr(mark.size()));
            numbers.push_back(number);
        }
        return numbers;
    }

    Worksheet ws = Sheet(630);
    SheetShared shared;
    Numbering numbering;
};

TEST_F(SheetPrinting, NumberedCopiesAreJobsOfTheirOwnNumberedFromTheStart) {
    RecordingPrintTarget target = PageFor(630);
    target.copies = 3;
    numbering.start = 5;
    PrintResult result =
        PrintWorksheet(Source(), PrintMode::PrinterResolution, numbering, target, shared);

    EXPECT_EQ(result.jobs, 3);
    EXPECT_FALSE(result.stopped());
    ASSERT_EQ(target.jobs.size(), 3u);
    EXPECT_EQ(NumbersDrawn(target), (std::vector<int>{5, 6, 7}));
    for (const auto& job : target.jobs) EXPECT_TRUE(job.ended);
    EXPECT_EQ(target.copies, 1);  // the printer must not multiply each numbered job
    EXPECT_EQ(numbering.start, 1);
    EXPECT_TRUE(shared.activationFillEnabled);
}

TEST_F(SheetPrinting, WithoutNumberingOneJobCarriesNoNumberAndTheCopiesAreThePrinters) {
    RecordingPrintTarget target = PageFor(630);
    target.copies = 3;
    numbering.on = false;
    numbering.start = 5;
    PrintWorksheet(Source(), PrintMode::PrinterResolution, numbering, target, shared);

    ASSERT_EQ(target.jobs.size(), 1u);
    EXPECT_EQ(NumbersDrawn(target), (std::vector<int>{-1}));
    for (const std::string& text : target.jobs[0].texts)
        EXPECT_EQ(text.find(sjis("№")), std::string::npos);
    EXPECT_EQ(target.copies, 3);
    EXPECT_EQ(numbering.start, 1);
}

TEST_F(SheetPrinting, FaithfulCopiesEachShowTheScreenDrawnWithTheirNumber) {
    numbering.start = 5;
    PrintSource source = Source();
    std::vector<bool> fillDuringJob;
    source.redrawScreen = [&] {
        fillDuringJob.push_back(shared.activationFillEnabled);
        return ScreenImage(NumberText(numbering.on, numbering.start));
    };
    RecordingPrintTarget target = PageFor(630);
    target.copies = 3;
    PrintWorksheet(source, PrintMode::Faithful, numbering, target, shared);

    // The same screen images printed one by one.
    RecordingPrintTarget expected = PageFor(630);
    for (int n : {5, 6, 7}) PrintSheetImage(expected, ScreenImage(NumberText(true, n)));
    ASSERT_EQ(target.jobs.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(target.jobs[k].page == expected.jobs[k].page) << k;
    EXPECT_FALSE(target.jobs[0].page == target.jobs[1].page);  // the number shows on the page
    // Drawn again for each copy while activation leaves the controls alone, and once more
    // afterwards so that the screen shows the number the next print starts with.
    EXPECT_EQ(fillDuringJob, (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(shared.activationFillEnabled);
}

// Horizontal strokes long enough to be frame edges and short of the header rules, as left end,
// top and length in fractions of the page width.
std::vector<std::array<double, 3>> FrameEdges(const QImage& page, int sheetWidth) {
    const double unit = static_cast<double>(page.width()) / sheetWidth;
    const double shortest = 36 * unit, longest = page.width() / 2.0;
    std::vector<std::array<int, 4>> edges;  // left, top, right, last row
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width();) {
            if (qGray(row[x]) >= 128) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < page.width() && qGray(row[x]) < 128) ++x;
            if (x - start < shortest || x - start > longest) continue;
            auto same = std::find_if(edges.begin(), edges.end(), [&](const auto& e) {
                return std::abs(e[0] - start) <= 2 && y - e[3] <= 2;
            });
            if (same != edges.end())
                (*same)[3] = y;
            else
                edges.push_back({start, y, x, y});
        }
    }
    std::vector<std::array<double, 3>> out;
    const double w = page.width();
    for (const auto& e : edges) out.push_back({e[0] / w, e[1] / w, (e[2] - e[0]) / w});
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return std::tie(a[1], a[0]) < std::tie(b[1], b[0]);
    });
    return out;
}

TEST_F(SheetPrinting, BothModesPutTheFramesAtTheSamePlacesOnEveryPaper) {
    for (int paper : {630, 891, 546}) {
        SCOPED_TRACE(paper);
        ws = Sheet(paper);
        numbering.on = false;
        PrintSource source = Source();
        shared.blankRecording = false;  // the print dialog is open
        RecordingPrintTarget faithful = PageFor(paper), fresh = PageFor(paper);
        PrintWorksheet(source, PrintMode::Faithful, numbering, faithful, shared);
        PrintWorksheet(source, PrintMode::PrinterResolution, numbering, fresh, shared);
        ASSERT_EQ(faithful.jobs.size(), 1u);
        ASSERT_EQ(fresh.jobs.size(), 1u);

        auto expected = FrameEdges(faithful.jobs[0].page, paper);
        auto printed = FrameEdges(fresh.jobs[0].page, paper);
        ASSERT_EQ(expected.size(), 2u * shared.blanks.BlankCount);  // top and bottom of each
        ASSERT_EQ(printed.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            // The printer pass sets the text in its own, larger fonts and puts each frame at the
            // gap that text leaves; the faithful image stands 6 units in. 2.5 % of the page
            // width holds both.
            EXPECT_NEAR(printed[i][0], expected[i][0], 0.025);
            EXPECT_NEAR(printed[i][1], expected[i][1], 0.005);
            EXPECT_NEAR(printed[i][2], expected[i][2], 0.005);
        }
        EXPECT_EQ(shared.blanks.BlankCount, 5);  // printing recorded nothing
    }
}

// The smallest rectangle holding every pixel that is not white.
QRect InkOf(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST_F(SheetPrinting, ImagesForHighDensityScreensHoldTheSameSheetInMorePixels) {
    RenderInputs in = ScreenInputs(ws, View(), SheetPictures{});
    in.stamp.now = kNow;
    in.view.answersShown = true;
    SheetShared plainShared;
    Worksheet plainSheet = ws;
    const QImage plain = RenderSheetImage(plainSheet, in, plainShared);
    ASSERT_FALSE(plain.isNull());
    const QRect plainInk = InkOf(plain);
    for (double ratio : {1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        SheetShared dense;
        Worksheet sheet = ws;
        const QImage image = RenderSheetImage(sheet, in, dense, nullptr, 1, ratio);
        EXPECT_EQ(image.width(), std::lround(plain.width() * ratio));
        EXPECT_EQ(image.height(), std::lround(plain.height() * ratio));
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), ratio);
        EXPECT_EQ(image.deviceIndependentSize().toSize(), plain.size());
        // The blanks the answer boxes stand on are where they are at 1.
        ASSERT_EQ(dense.blanks.BlankCount, plainShared.blanks.BlankCount);
        for (int n = 1; n <= dense.blanks.BlankCount; ++n) {
            const BlankRecord& got = dense.blanks.slots[n];
            const BlankRecord& want = plainShared.blanks.slots[n];
            EXPECT_EQ(got.left, want.left) << n;
            EXPECT_EQ(got.top, want.top) << n;
            EXPECT_EQ(got.width, want.width) << n;
        }
        // Text, frames and answers take the same room, in sheet units.
        const QRect ink = InkOf(image);
        EXPECT_NEAR(ink.left() / ratio, plainInk.left(), 1.5);
        EXPECT_NEAR(ink.top() / ratio, plainInk.top(), 1.5);
        EXPECT_NEAR((ink.right() + 1) / ratio, plainInk.right() + 1, 1.5);
        EXPECT_NEAR((ink.bottom() + 1) / ratio, plainInk.bottom() + 1, 1.5);

        // Printed faithfully it covers the page the plain image covers, to a pixel or two of the
        // 150 dpi page (the enlarged edges are smoothed differently).
        RecordingPrintTarget a = PageFor(630), b = PageFor(630);
        ASSERT_TRUE(PrintSheetImage(a, plain));
        ASSERT_TRUE(PrintSheetImage(b, image));
        const QRect onA = InkOf(a.jobs[0].page), onB = InkOf(b.jobs[0].page);
        EXPECT_LE((onA.topLeft() - onB.topLeft()).manhattanLength(), 3);
        EXPECT_LE((onA.bottomRight() - onB.bottomRight()).manhattanLength(), 3);
    }
}

TEST_F(SheetPrinting, AJobThatCannotStartStopsThePrint) {
    RecordingPrintTarget target = PageFor(630);
    target.copies = 3;
    target.refuseJobs = true;
    numbering.start = 5;
    PrintResult result =
        PrintWorksheet(Source(), PrintMode::PrinterResolution, numbering, target, shared);
    EXPECT_EQ(result.jobs, 0);
    EXPECT_TRUE(result.stopped());
    ASSERT_TRUE(result.problem);
    EXPECT_TRUE(result.note.empty());
    // Printing again prints the same copies with the same numbers.
    EXPECT_EQ(numbering.start, 5);
    EXPECT_EQ(target.copies, 3);

    // Faithful without an image to print: no job is begun.
    target.refuseJobs = false;
    PrintSource source = Source();
    source.screenImage = QImage();
    numbering.on = false;
    result = PrintWorksheet(source, PrintMode::Faithful, numbering, target, shared);
    EXPECT_TRUE(result.stopped());
    EXPECT_TRUE(target.jobs.empty());

    // Without a worksheet nothing happens at all.
    source.worksheet = nullptr;
    result = PrintWorksheet(source, PrintMode::Faithful, numbering, target, shared);
    EXPECT_FALSE(result.stopped());
    EXPECT_EQ(result.said(), std::nullopt);
}

TEST(SheetPrintingFit, ASheetOnOtherPaperIsScaledAsAWhole) {
    const QSizeF a4(210, 297);
    EXPECT_NEAR(FitScale(891, a4), 210.0 / 297, 0.001);  // A3 on A4
    EXPECT_NEAR(FitScale(546, a4), 210.0 / 182, 0.001);  // B5 on A4
    EXPECT_EQ(FitScale(630, a4), 1.0);
    EXPECT_EQ(FitScale(630, QSizeF(209.5, 296.6)), 1.0);  // a page measured in whole pixels
    // Letter is wider but shorter than A4: the height decides.
    EXPECT_NEAR(FitScale(630, QSizeF(215.9, 279.4)), 279.4 / 297, 0.001);

    EXPECT_EQ(FitNotice(630, a4), "");
    EXPECT_EQ(FitNotice(891, a4),
              sjis("A3 のシートを A4 の用紙に合わせて縮小して印刷します（71％）"));
    EXPECT_EQ(FitNotice(546, a4),
              sjis("B5 のシートを A4 の用紙に合わせて拡大して印刷します（115％）"));
    EXPECT_EQ(FitNotice(630, QSizeF(215.9, 279.4)),
              sjis("A4 のシートを 216×279mm の用紙に合わせて縮小して印刷します（94％）"));
}

TEST_F(SheetPrinting, AnA3SheetOnA4PaperIsTheA3PageReduced) {
    ws = Sheet(891);
    numbering.on = false;
    PrintSource source = Source();
    shared.blankRecording = false;
    RecordingPrintTarget own = PageFor(891), a4 = PageFor(630);
    PrintWorksheet(source, PrintMode::PrinterResolution, numbering, own, shared);
    PrintWorksheet(source, PrintMode::PrinterResolution, numbering, a4, shared);
    ASSERT_EQ(own.jobs.size(), 1u);
    ASSERT_EQ(a4.jobs.size(), 1u);

    // Text keeps its place beside the frames only when it shrinks with them: every frame stands
    // where it stands on A3, in proportion to the page.
    auto expected = FrameEdges(own.jobs[0].page, 891);
    auto printed = FrameEdges(a4.jobs[0].page, 891);
    ASSERT_EQ(expected.size(), 2u * shared.blanks.BlankCount);
    ASSERT_EQ(printed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(printed[i][k], expected[i][k], 0.004) << i;
}

// Jobs handed to a print queue: named by the sheet, and never reported as printed when the
// queue refuses them.
class QueuePrinting : public SheetPrinting {
protected:
    PrintResult Print(bool answers = false) {
        PrintSource source = Source();
        source.view.answersShown = answers;
        return PrintWorksheet(source, PrintMode::PrinterResolution, numbering, *target, shared);
    }
    void Aim(const std::string& printer) {
        target = std::make_unique<QueuePrintTarget>(
            queue, printer, PrinterLikePage(QPageSize(QPageSize::A4)), kDpi);
    }
    std::vector<std::string> JobNames() const {
        std::vector<std::string> names;
        for (const auto& job : queue.jobs) names.push_back(job.job.jobName);
        return names;
    }

    RecordingPrintQueue queue;
    std::unique_ptr<QueuePrintTarget> target;
};

TEST_F(QueuePrinting, EachJobIsNamedByItsSheetAndNumber) {
    queue.defaultName = "office";
    queue.queues["office"] = {QueueStatus::State::Ready, ""};
    Aim("");
    target->setCopyCount(2);
    numbering.start = 5;
    PrintResult result = Print();
    EXPECT_EQ(result.jobs, 2);
    EXPECT_EQ(result.said(), std::nullopt);
    EXPECT_EQ(JobNames(),
              (std::vector<std::string>{"印刷のテスト 問題 № 5", "印刷のテスト 問題 № 6"}));
    for (const auto& job : queue.jobs) {
        EXPECT_EQ(job.queue, "office");
        EXPECT_EQ(job.job.copies, 1);
        EXPECT_EQ(job.job.media, "iso_a4_210x297mm");
        EXPECT_EQ(job.pdf.compare(0, 5, "%PDF-"), 0);
    }

    // Unnumbered, the printer makes the copies of one job; a sheet without a title goes by its
    // file name.
    queue.jobs.clear();
    numbering.on = false;
    target->setCopyCount(3);
    ws.content.title.clear();
    Print(true);
    EXPECT_EQ(JobNames(), (std::vector<std::string>{"kanji1.que 解答"}));
    EXPECT_EQ(queue.jobs[0].job.copies, 3);
}

TEST_F(QueuePrinting, ARefusingMissingOrFailingPrinterIsReportedAndNothingCounts) {
    queue.queues["office"] = {QueueStatus::State::Refusing, "用紙切れ"};
    Aim("office");
    auto refused = [&](const std::string& said) {
        PrintResult result = Print();
        EXPECT_TRUE(result.stopped());
        EXPECT_EQ(result.jobs, 0);
        EXPECT_EQ(result.said(), sjis(said));
        EXPECT_TRUE(result.note.empty());
        EXPECT_TRUE(queue.jobs.empty());
    };
    refused("プリンタ office は印刷を受け付けていません（用紙切れ）");
    queue.queues["office"] = {QueueStatus::State::Missing, ""};
    refused("プリンタ office が見つかりません");
    queue.queues["office"] = {QueueStatus::State::Unreachable, "Connection refused"};
    refused("プリンタ office の状態を印刷システムに問い合わせできません（Connection refused）");
    queue.queues["office"] = {QueueStatus::State::Ready, ""};
    queue.submitError = "Destination \"office\" is not accepting jobs.";
    refused(
        "プリンタ office に印刷を送れませんでした（Destination \"office\" is not accepting "
        "jobs.）");

    // No printer named and none set as the default.
    Aim("");
    refused("既定のプリンタが設定されていません");
}

TEST_F(QueuePrinting, AStoppedQueueTakesTheJobsAndSaysTheyWait) {
    queue.defaultName = "office";
    queue.queues["office"] = {QueueStatus::State::Stopped, "Paused"};
    Aim("");
    PrintResult result = Print();
    EXPECT_FALSE(result.stopped());
    EXPECT_EQ(result.jobs, 1);
    EXPECT_EQ(queue.jobs.size(), 1u);
    EXPECT_EQ(result.note,
              sjis("プリンタ office は停止中です。印刷は再開されるまで待機します（Paused）"));
}

TEST(SheetPrintingClipboard, HoldsTheSheetImage) {
    QImage sheet(63, 89, QImage::Format_RGB32);
    sheet.fill(Qt::blue);
    CopySheetToClipboard(sheet);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), sheet);
}

TEST_F(SheetPrinting, NumberedCopiesReportAStepPerCopyOnceItsJobEnded) {
    RecordingProgress progress;
    RecordingPrintTarget target = PageFor(630);
    target.copies = 4;
    numbering.start = 5;
    PrintResult result = PrintWorksheet(Source(), PrintMode::PrinterResolution, numbering, target,
                                        shared, &progress);
    EXPECT_EQ(result.jobs, 4);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(progress.starts(), 1);
    EXPECT_EQ(progress.calls.front().number, 4);
    EXPECT_EQ(progress.calls.front().label, sjis("印刷のテスト 問題 を印刷しています"));
    EXPECT_EQ(progress.steps(), (std::vector<int>{1, 2, 3, 4}));
    std::vector<std::string> labels;
    for (const auto& call : progress.calls)
        if (call.kind == RecordingProgress::Kind::Step) labels.push_back(call.label);
    EXPECT_EQ(labels,
              (std::vector<std::string>{sjis("№ 5"), sjis("№ 6"), sjis("№ 7"), sjis("№ 8")}));
    EXPECT_EQ(progress.finishes(), 1);
    EXPECT_EQ(result.said(), std::nullopt);

    // One copy is over at once: nothing to report.
    RecordingProgress single;
    target.copies = 1;
    PrintWorksheet(Source(), PrintMode::PrinterResolution, numbering, target, shared, &single);
    numbering.on = false;
    target.copies = 3;
    PrintWorksheet(Source(), PrintMode::PrinterResolution, numbering, target, shared, &single);
    EXPECT_TRUE(single.calls.empty());
}

TEST_F(SheetPrinting, AStopAtCopyKPrintsKWholeCopiesAndPrintingAgainGoesOnWithTheRest) {
    for (PrintMode mode : {PrintMode::PrinterResolution, PrintMode::Faithful}) {
        SCOPED_TRACE(static_cast<int>(mode));
        RecordingProgress progress;
        progress.cancelAt = 2;
        RecordingPrintTarget target = PageFor(630);
        target.copies = 5;
        numbering.start = 5;
        PrintSource source = Source();
        source.redrawScreen = [&] { return ScreenImage(NumberText(true, numbering.start)); };
        PrintResult result = PrintWorksheet(source, mode, numbering, target, shared, &progress);

        EXPECT_EQ(result.jobs, 2);
        EXPECT_TRUE(result.cancelled);
        EXPECT_FALSE(result.stopped());
        EXPECT_EQ(result.copiesLeft, 3);
        EXPECT_EQ(progress.steps(), (std::vector<int>{1, 2}));
        EXPECT_EQ(progress.finishes(), 1);
        // Every job begun was ended: no page is left half printed.
        ASSERT_EQ(target.jobs.size(), 2u);
        for (const auto& job : target.jobs) {
            EXPECT_TRUE(job.ended);
            EXPECT_FALSE(job.aborted);
        }
        if (mode == PrintMode::PrinterResolution) {
            EXPECT_EQ(NumbersDrawn(target), (std::vector<int>{5, 6}));
        }
        EXPECT_EQ(result.said(), sjis("印刷を中止しました。2 部を印刷に回し、残りの 3 部は印刷"
                                      "していません"));
        // The rest is what the next print prints, numbered on.
        EXPECT_EQ(numbering.start, 7);
        EXPECT_EQ(target.copies, 3);
        RecordingProgress again;
        result = PrintWorksheet(source, mode, numbering, target, shared, &again);
        EXPECT_EQ(result.jobs, 3);
        EXPECT_FALSE(result.cancelled);
        if (mode == PrintMode::PrinterResolution) {
            EXPECT_EQ(NumbersDrawn(target), (std::vector<int>{5, 6, 7, 8, 9}));
        }
        EXPECT_EQ(numbering.start, 1);
    }
}

TEST_F(SheetPrinting, AStopDuringTheLastCopyLeavesNothingOut) {
    RecordingProgress progress;
    progress.cancelAt = 3;
    RecordingPrintTarget target = PageFor(630);
    target.copies = 3;
    PrintResult result = PrintWorksheet(Source(), PrintMode::PrinterResolution, numbering, target,
                                        shared, &progress);
    EXPECT_EQ(result.jobs, 3);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.said(), std::nullopt);
    EXPECT_EQ(numbering.start, 1);
    EXPECT_EQ(target.copies, 1);

    // A job that fails ends the progress too.
    RecordingProgress failed;
    target.copies = 3;
    target.refuseJobs = true;
    result =
        PrintWorksheet(Source(), PrintMode::PrinterResolution, numbering, target, shared, &failed);
    EXPECT_TRUE(result.stopped());
    EXPECT_TRUE(failed.steps().empty());
    EXPECT_EQ(failed.finishes(), 1);
}

}  // namespace
}  // namespace sulkan
