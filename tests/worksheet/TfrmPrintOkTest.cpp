// The print dialog and the print-mode dialog, driven through their controls, printing a real
// worksheet window onto a recording printer.
#include "TfrmPrintOk.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <chrono>
#include <functional>
#include <thread>

#include "FakeHost.h"
#include "Progress.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"
#include "TfrmPrintMode.h"

namespace sulkan {
namespace {

// The main window as far as printing needs it: the print-mode dialog gives the number.
class PrintHost : public test::FakeHost {
public:
    explicit PrintHost(const TfrmPrintMode& mode) : m_mode(mode) {}
    std::string numberText() const override { return m_mode.numberText(); }

private:
    const TfrmPrintMode& m_mode;
};

Worksheet Sheet() {
    Worksheet w;
    w.content.title = sjis("印刷のテスト");
    w.filePath = "kanji1.que";
    w.params.FontSize = 12;
    w.params.BoxStyle = 1;
    w.params.SheetOptions = 4;
    w.params.StartNumber = 7;
    for (const char* line : {"（１）#やま#に登る", "（２）#かわ#で遊ぶ"})
        w.content.questionLines.push_back(sjis(line));
    return w;
}

class TfrmPrintOkTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.window = &window;
        window.Redraw();  // as activation draws it, recording the blanks
        dialog.usePrinter({&target, [this](QWidget*) { return ScriptedSetup(); }});
    }

    // The printer setup answers from setupAnswers, and cancels when they run out.
    bool ScriptedSetup() {
        ++setups;
        if (setupAnswers.empty()) return false;
        const bool ok = setupAnswers.front();
        setupAnswers.erase(setupAnswers.begin());
        if (ok && otherPaper) target.setPage(1754, 2480);
        return ok;
    }

    // Shows the dialog and runs whileShown inside its modal loop; closes it if still open.
    int ShowAndDo(const std::function<void()>& whileShown) {
        QTimer::singleShot(0, &dialog, [&] {
            whileShown();
            if (dialog.isVisible()) dialog.reject();
        });
        return dialog.showFor(&window);
    }

    // The rightmost dark pixel of a page: the right end of the header rules.
    static int RightEdge(const QImage& page) {
        int right = -1;
        for (int y = 0; y < page.height(); ++y)
            for (int x = page.width() - 1; x > right; --x)
                if (qGray(page.pixel(x, y)) < 128) right = x;
        return right;
    }

    MemorySettingsStore settings;
    TfrmPrintMode mode{settings};
    PrintHost host{mode};
    TfrmPrint window{host, Sheet()};
    TfrmPrintOk dialog{host, mode};
    RecordingPrintTarget target{1240, 1754, 150};  // A4 at 150 dpi
    std::vector<bool> setupAnswers;
    bool otherPaper = false;  // the setup switches to A3
    int setups = 0;
};

TEST_F(TfrmPrintOkTest, ShowingTellsThePageAndPaperAndStopsBlankRecording) {
    host.paper = 546;
    setupAnswers = {true};
    otherPaper = true;
    ShowAndDo([&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("印刷"));
        EXPECT_EQ(dialog.lblPWidth->text(), QStringLiteral("横：1240"));
        EXPECT_EQ(dialog.lblPHeight->text(), QStringLiteral("縦：1754"));
        EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("用紙のサイズを B5 に設定してください"));
        EXPECT_EQ(dialog.spnStartNum->value(), 7);
        EXPECT_EQ(dialog.lblFit->text(), QString());  // the sheet's own paper
        EXPECT_FALSE(host.shared.blankRecording);
        // The setup may bring other paper; the labels follow it.
        dialog.btnSettei->click();
        EXPECT_EQ(dialog.lblPWidth->text(), QStringLiteral("横：1754"));
        EXPECT_EQ(dialog.lblPHeight->text(), QStringLiteral("縦：2480"));
        EXPECT_EQ(dialog.lblFit->text(),
                  QStringLiteral("A4 のシートを A3 の用紙に合わせて拡大して印刷します（141％）"));
        EXPECT_TRUE(dialog.printerChosen());
    });
    EXPECT_FALSE(host.shared.blankRecording);  // until a window is activated again
    EXPECT_TRUE(target.jobs.empty());
}

TEST_F(TfrmPrintOkTest, PrintingAsksForThePrinterOnceAndACancelPrintsNothing) {
    setupAnswers = {false, true};
    int result = ShowAndDo([&] {
        dialog.btnPrint->click();  // the setup is cancelled
        EXPECT_TRUE(target.jobs.empty());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.btnPrint->isEnabled());
        dialog.btnPrint->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("印刷完了"));
        EXPECT_TRUE(dialog.btnPrint->isEnabled());
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(target.jobs.size(), 1u);
    EXPECT_EQ(setups, 2);

    // Chosen once in this run: the next print goes straight to the printer.
    ShowAndDo([&] { dialog.btnPrint->click(); });
    EXPECT_EQ(target.jobs.size(), 2u);
    EXPECT_EQ(setups, 2);
}

TEST_F(TfrmPrintOkTest, ThePracticeSheetGoesToTheSamePrinter) {
    // Kana answers only: said, nothing printed, the dialog stays.
    setupAnswers = {true};
    ShowAndDo([&] {
        dialog.btnPractice->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("印刷できませんでした"));
        EXPECT_TRUE(dialog.btnPractice->isEnabled());
    });
    EXPECT_TRUE(target.jobs.empty());
    ASSERT_FALSE(host.prompts.shown.empty());
    EXPECT_EQ(host.prompts.shown.back(), sjis("練習する漢字がありません"));

    Worksheet kanji = Sheet();
    kanji.content.questionLines = {sjis("（１）#山#に登る"), sjis("（２）#川;かわ#で遊ぶ")};
    TfrmPrint other{host, kanji};
    host.window = &other;
    other.Redraw();
    QTimer::singleShot(0, &dialog, [&] { dialog.btnPractice->click(); });
    EXPECT_EQ(dialog.showFor(&other), QDialog::Accepted);
    ASSERT_EQ(target.jobs.size(), 1u);
    EXPECT_TRUE(target.jobs[0].ended);
    EXPECT_EQ(target.jobs[0].texts,
              (std::vector<std::string>{sjis("印刷のテスト"), sjis("山"), sjis("山"), sjis("山"),
                                        sjis("川"), sjis("川"), sjis("川")}));
    EXPECT_EQ(setups, 1);  // the printer chosen before
}

TEST_F(TfrmPrintOkTest, ARefusingPrinterKeepsTheDialogOpenAndPrintsNothing) {
    RecordingPrintQueue queue;
    queue.queues["office"] = {QueueStatus::State::Refusing, "用紙切れ"};
    QueuePrintTarget office(queue, "office", PrinterLikePage(QPageSize(QPageSize::A4)), 150);
    dialog.usePrinter({&office, [](QWidget*) { return true; }});
    mode.spnStart->setValue(5);
    ShowAndDo([&] {
        dialog.btnPrint->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("印刷できませんでした"));
        EXPECT_TRUE(dialog.btnPrint->isEnabled());

        // Accepting again, the same dialog prints.
        queue.queues["office"] = {QueueStatus::State::Ready, ""};
        dialog.btnPrint->click();
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(
        host.prompts.shown,
        (std::vector<std::string>{sjis("プリンタ office は印刷を受け付けていません（用紙切れ）")}));
    ASSERT_EQ(queue.jobs.size(), 1u);
    EXPECT_EQ(queue.jobs[0].job.jobName, "印刷のテスト 問題 № 5");  // the number was kept
    EXPECT_EQ(mode.spnStart->value(), 1);
}

TEST_F(TfrmPrintOkTest, NumberedCopiesAtPrinterResolutionFollowThePrintModeDialog) {
    setupAnswers = {true};
    mode.radPrinter->setChecked(true);
    mode.spnStart->setValue(5);
    target.copies = 3;
    const BlankTable blanks = host.shared.blanks;
    ShowAndDo([&] { dialog.btnPrint->click(); });

    ASSERT_EQ(target.jobs.size(), 3u);
    const std::string mark = sjis("№ ");
    for (int k = 0; k < 3; ++k) {
        int number = -1;
        for (const std::string& text : target.jobs[k].texts)
            if (text.compare(0, mark.size(), mark) == 0)
                number = std::stoi(text.substr(mark.size()));
        EXPECT_EQ(number, 5 + k);
    }
    EXPECT_EQ(mode.spnStart->value(), 1);
    EXPECT_EQ(target.copies, 1);
    EXPECT_EQ(host.shared.blanks.BlankCount, blanks.BlankCount);
    EXPECT_EQ(host.shared.blanks.slots[2].left, blanks.slots[2].left);
    EXPECT_TRUE(host.shared.activationFillEnabled);
}

TEST_F(TfrmPrintOkTest, PrintingTheReducedViewPrintsTheFullSheet) {
    for (bool printer : {false, true}) {
        SCOPED_TRACE(printer);
        mode.radPrinter->setChecked(printer);
        mode.chkNumber->setChecked(false);
        host.reduced = true;
        window.Redraw();
        setupAnswers = {true};
        target.jobs.clear();
        ShowAndDo([&] { dialog.btnPrint->click(); });

        EXPECT_FALSE(host.reduced);
        ASSERT_EQ(target.jobs.size(), 1u);
        // The header rules end at 580 of the sheet's 630 units (the faithful image stands 6 in).
        const double unit = 1240 / 630.0;
        EXPECT_NEAR(RightEdge(target.jobs[0].page), (printer ? 580 : 586) * unit, 3 * unit);
    }
    EXPECT_EQ(host.shrinkToggles, 2);
}

TEST_F(TfrmPrintOkTest, TheStartNumberIsStoredInTheWorksheetShownOnly) {
    ShowAndDo([&] {
        dialog.spnStartNum->setValue(9);
        EXPECT_EQ(window.worksheet().params.StartNumber, 9);
        EXPECT_TRUE(window.worksheet().modified);
    });
    // Activation shows another worksheet's number; it is not written anywhere.
    dialog.showStartNumber(3);
    dialog.spnStartNum->setValue(4);
    EXPECT_EQ(window.worksheet().params.StartNumber, 9);
    EXPECT_EQ(dialog.showFor(nullptr), QDialog::Rejected);
}

TEST(TfrmPrintModeTest, NumberingModeAndClosing) {
    MemorySettingsStore settings;
    TfrmPrintMode mode(settings);
    EXPECT_TRUE(mode.radDisplay->isChecked());
    EXPECT_EQ(mode.mode(), PrintMode::Faithful);
    EXPECT_TRUE(mode.chkNumber->isChecked());
    EXPECT_EQ(mode.numberText(), "\x87\x82 1");
    mode.spnStart->setValue(12);
    EXPECT_EQ(mode.numberText(), "\x87\x82 12");
    mode.chkNumber->setChecked(false);
    EXPECT_EQ(mode.numberText(), "");

    QSignalSpy redraws(&mode, &TfrmPrintMode::redrawRequested);
    mode.radPrinter->setChecked(true);
    mode.show();
    mode.frmClose->click();
    EXPECT_FALSE(mode.isVisible());
    EXPECT_EQ(mode.mode(), PrintMode::PrinterResolution);
    EXPECT_EQ(std::get<bool>(settings.values.at({SettingsKey::Product, "PrintMode"})), true);
    EXPECT_EQ(redraws.count(), 1);
}

TEST_F(TfrmPrintOkTest, StoppedNumberedCopiesKeepTheDialogForTheRest) {
    setupAnswers = {true};
    mode.radPrinter->setChecked(true);
    mode.spnStart->setValue(5);
    target.copies = 4;
    RecordingProgress progress;
    progress.cancelAt = 1;
    dialog.useProgress(&progress);
    ShowAndDo([&] {
        dialog.btnPrint->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("印刷を中止しました"));
        EXPECT_TRUE(dialog.btnPrint->isEnabled());
        EXPECT_EQ(target.jobs.size(), 1u);
        EXPECT_EQ(mode.spnStart->value(), 6);
        EXPECT_EQ(target.copies, 3);

        // "印刷開始" again prints the three copies left, numbered on.
        dialog.useProgress(nullptr);
        dialog.btnPrint->click();
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(progress.steps(), (std::vector<int>{1}));
    EXPECT_EQ(
        host.prompts.shown,
        (std::vector<std::string>{sjis("印刷を中止しました。1 部を印刷に回し、残りの 3 部は印刷"
                                       "していません")}));
    EXPECT_EQ(target.jobs.size(), 4u);
    EXPECT_EQ(mode.spnStart->value(), 1);
}

// A printer that takes its time over each job, and presses "中止" once the progress dialog is
// up, as a teacher would.
class SlowPrinter : public RecordingPrintTarget {
public:
    using RecordingPrintTarget::RecordingPrintTarget;
    bool endJob() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* shown = qobject_cast<QProgressDialog*>(window);
            if (!shown || !shown->isVisible()) continue;
            labels.push_back(shown->labelText());
            if (auto* cancel = shown->findChild<QPushButton*>(QStringLiteral("btnCancel")))
                cancel->click();
        }
        return RecordingPrintTarget::endJob();
    }
    QStringList labels;
};

TEST_F(TfrmPrintOkTest, ALongPrintShowsTheProgressDialogAndItsCancelStopsBetweenCopies) {
    SlowPrinter slow(1240, 1754, 150);
    slow.copies = 6;
    dialog.usePrinter({&slow, [](QWidget*) { return true; }});
    mode.spnStart->setValue(1);
    ShowAndDo([&] {
        dialog.btnPrint->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("印刷を中止しました"));
    });
    // Up after the first copy; the click during the second stops the print after it.
    ASSERT_EQ(slow.jobs.size(), 2u);
    for (const auto& job : slow.jobs) EXPECT_TRUE(job.ended);
    ASSERT_EQ(slow.labels.size(), 1u);
    EXPECT_EQ(slow.labels[0], QStringLiteral("印刷のテスト 問題 を印刷しています\n1/6　№ 1"));
    EXPECT_EQ(slow.copies, 4);
    // Gone once the print ended.
    for (auto* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<QProgressDialog*>(widget), nullptr);
}

}  // namespace
}  // namespace sulkan
