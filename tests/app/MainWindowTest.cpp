// The main window's file commands over worksheet windows, driven through the controls.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "Prompter.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "SheetPrintingTargets.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmDummy.h"
#include "TfrmEditQues.h"
#include "TfrmMain.h"
#include "TfrmMenu.h"
#include "TfrmOpenSKN.h"
#include "TfrmPrint.h"
#include "TfrmPrintMode.h"
#include "TfrmPrintOk.h"
#include "WindowArrangement.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

std::vector<std::string> Unit(const std::string& header, const std::vector<std::string>& ques,
                              const std::string& paper = "630") {
    std::vector<std::string> u{header, "<<ques"};
    u.insert(u.end(), ques.begin(), ques.end());
    for (const char* l : {">>", "<<value"}) u.push_back(l);
    for (const std::string& l : {paper, std::string("False"), std::string("40"), std::string("5"),
                                 std::string("5"), std::string("1"), std::string("7")})
        u.push_back(l);
    for (const char* l : {">>", "<<font", "12",     "MS 明朝", "False", "False", "False", "False",
                          "0",  ">>",     "<<kran", "5",       "15",    "2",     "0",     "0",
                          "0",  "15",     "10",     "0",       "0",     ">>",    "]]"})
        u.push_back(l);
    return u;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "山と川", "木と林", "壊れた単元", "海と空",
                       ">>", "]]"});
        std::vector<std::string> que =
            Unit("[[unit1", {"（１）#やま#に登る", "（２）#かわ#で遊ぶ"});
        auto r1 = Unit("[[unit1R1", {"（１）#き#を切る"});
        que.insert(que.end(), r1.begin(), r1.end());
        auto u2 = Unit("[[unit2", {"（１）#はやし#の中"}, "891");
        que.insert(que.end(), u2.begin(), u2.end());
        for (const char* l : {"[[unit3", "<<ques", "#a#", ">>", "<<value", "630", ">>", "]]"})
            que.push_back(l);
        auto u4 = Unit("[[unit4", {"（１）#うみ#を見る", "（２）#そら#が青い"});
        que.insert(que.end(), u4.begin(), u4.end());
        WriteSjisFile(course.path() / "kan3" / "kan31.que", que);
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();

        const AppServices services{&settings, &prompter, course.path().string(), 1280, 1024};
        w = std::make_unique<TfrmMain>(services);
        w->show();
        prompter.shown.clear();
    }

    OpenResult open(int unit, int similar = 0) {
        w->state().SelectedLessonName = sjis("三年の漢字");
        w->state().SelectedSectionName = sjis("読み");
        w->state().SelectedUnitName = sjis("山と川");
        return w->OpenUnitWorksheet({1, 1, unit, similar}, false);
    }

    int worksheetWindows() const {
        int n = 0;
        for (QMdiSubWindow* sub : w->mdiArea->subWindowList())
            if (qobject_cast<TfrmPrint*>(sub->widget())) ++n;
        return n;
    }

    static bool HasBlue(const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                QColor c = image.pixelColor(x, y);
                if (c.blue() > 150 && c.red() < 100 && c.green() < 100) return true;
            }
        return false;
    }

    TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmMain> w;
};

TEST_F(MainWindowTest, OpeningTheSameUnitTwiceActivatesTheFirstWindow) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* first = w->activeWorksheet();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(w->state().OpenWorksheetCount, 1);
    EXPECT_EQ(w->lstWindow->count(), 1);
    EXPECT_TRUE(w->lstWindow->item(0)->text().endsWith(QStringLiteral("kan31.que-U1")));

    EXPECT_EQ(open(1), OpenResult::AlreadyOpen);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0], sjis("すでに読み込まれています"));
    EXPECT_EQ(w->state().OpenWorksheetCount, 1);
    EXPECT_EQ(worksheetWindows(), 1);
    EXPECT_EQ(w->activeWorksheet(), first);
}

TEST_F(MainWindowTest, UnitAndItsSimilarProblemOpenTwoWindows) {
    EXPECT_EQ(open(1), OpenResult::Opened);
    EXPECT_EQ(open(1, 1), OpenResult::Opened);
    EXPECT_EQ(worksheetWindows(), 2);
    EXPECT_TRUE(w->lstWindow->item(1)->text().endsWith(QStringLiteral("kan31.que-U1R1")));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MainWindowTest, MissingAndDamagedUnitsOpenNothing) {
    EXPECT_EQ(open(9), OpenResult::UnitMissing);
    EXPECT_TRUE(prompter.shown.empty());  // the open command asks whether to create it
    EXPECT_EQ(open(3), OpenResult::ReadFailed);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].rfind(sjis("<<value block error（[[unit3、"), 0), 0u);
    EXPECT_EQ(worksheetWindows(), 0);
    EXPECT_EQ(w->state().OpenWorksheetCount, 0);
}

TEST_F(MainWindowTest, WorksheetShowsItsSheetAndTheAnswerDisplayToggles) {
    ASSERT_EQ(open(2), OpenResult::Opened);
    TfrmPrint* sheet = w->activeWorksheet();
    EXPECT_EQ(sheet->sheetImage().size(), QSize(891, 1260));
    EXPECT_TRUE(w->answerDisplay());
    EXPECT_TRUE(HasBlue(sheet->sheetImage()));
    w->btnKaitou->click();
    EXPECT_FALSE(w->answerDisplay());
    EXPECT_FALSE(HasBlue(sheet->sheetImage()));
    EXPECT_EQ(w->sheetHost().sheetShared().blanks.BlankCount, 1);
}

TEST_F(MainWindowTest, ActivationFillsTheControlsFromTheWorksheet) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    EXPECT_EQ(w->spnGyouSpace->value(), 40);
    EXPECT_EQ(w->spnMojiSize->value(), 12);
    EXPECT_TRUE(w->radA4->isChecked());
    ASSERT_EQ(open(2), OpenResult::Opened);
    EXPECT_TRUE(w->radA3->isChecked());
    // A step of the size control redraws the active worksheet and marks it modified.
    w->spnMojiSize->setValue(14);
    EXPECT_EQ(w->activeWorksheet()->worksheet().params.FontSize, 14);
    EXPECT_TRUE(w->activeWorksheet()->worksheet().modified);
}

TEST_F(MainWindowTest, ClosingRemovesTheWorksheetEverywhere) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    ASSERT_EQ(open(2), OpenResult::Opened);
    w->btnFpClose->click();
    EXPECT_EQ(w->state().OpenWorksheetCount, 1);
    EXPECT_EQ(w->lstWindow->count(), 1);
    EXPECT_EQ(worksheetWindows(), 1);
    Q_EMIT w->mnuMainWin->aboutToShow();
    w->mnuCloseAllWIndows->trigger();
    EXPECT_EQ(w->state().OpenWorksheetCount, 0);
    EXPECT_EQ(w->lstWindow->count(), 0);
    EXPECT_EQ(w->activeWorksheet(), nullptr);
}

TEST_F(MainWindowTest, WindowMenuIsDisabledWithoutWorksheets) {
    Q_EMIT w->mnuMainWin->aboutToShow();
    for (QAction* a : {w->mnuMaximize, w->mnuTile, w->mnuCascade, w->mnuCloseAllWIndows})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    ASSERT_EQ(open(1), OpenResult::Opened);
    Q_EMIT w->mnuMainWin->aboutToShow();
    for (QAction* a : {w->mnuMaximize, w->mnuTile, w->mnuCascade, w->mnuCloseAllWIndows})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(MainWindowTest, AddingAUnitAppendsItsLinesThroughUnitSelection) {
    w->btnAdd->click();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0], sjis("追加する元のファイルがありません"));

    ASSERT_EQ(open(2), OpenResult::Opened);
    TfrmPrint* sheet = w->activeWorksheet();
    // Unit selection opens on the first lesson, section and unit; accept that choice.
    QTimer::singleShot(0, w->frmMenu, [this] { w->frmMenu->btnOk->click(); });
    w->btnAdd->click();
    ASSERT_EQ(sheet->worksheet().content.questionLines.size(), 3u);
    EXPECT_EQ(sheet->worksheet().content.questionLines[2], sjis("（２）#かわ#で遊ぶ"));
    EXPECT_FALSE(sheet->worksheet().isMaster);
    EXPECT_EQ(w->sheetHost().sheetShared().blanks.BlankCount, 3);
    EXPECT_EQ(w->frmMenu->windowTitle(), QStringLiteral("追加ファイルを開く"));
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

using LayoutControlsTest = MainWindowTest;

TEST_F(LayoutControlsTest, WithoutAWorksheetNothingChanges) {
    w->radB4->click();
    w->cmbRetsuX->setCurrentIndex(1);
    w->spnKranWX->setValue(30);
    w->btnShukusho->click();
    w->btnScroll->click();
    w->btnUp->click();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(w->btnShukusho->text(), QStringLiteral("縮小"));
    EXPECT_FALSE(w->shrunk());
}

TEST_F(LayoutControlsTest, PaperRadiosApplyThePaperAndUndoTheReducedView) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* sheet = w->activeWorksheet();
    w->btnShukusho->click();
    EXPECT_TRUE(w->shrunk());
    EXPECT_EQ(w->btnShukusho->text(), QStringLiteral("拡大"));
    EXPECT_TRUE(sheet->Image1->isHidden());

    w->radA4->click();
    EXPECT_FALSE(w->shrunk());
    EXPECT_EQ(w->btnShukusho->text(), QStringLiteral("縮小"));
    EXPECT_EQ(sheet->sheetImage().size(), QSize(630, 891));
    EXPECT_FALSE(sheet->Image1->isHidden());

    w->radB4->click();
    EXPECT_EQ(sheet->worksheet().params.PaperWidth, 771);
    EXPECT_EQ(sheet->sheetImage().size(), QSize(771, 1090));
    EXPECT_TRUE(sheet->worksheet().modified);

    // 630 only ticks the radio; the worksheet keeps its paper.
    w->SelectPaperByWidth(630);
    EXPECT_TRUE(w->radA4->isChecked());
    EXPECT_EQ(sheet->worksheet().params.PaperWidth, 771);
}

TEST_F(LayoutControlsTest, TickedPaperAndFixing) {
    w->untickPaperRadios();
    EXPECT_EQ(w->TickedPaper(), (PaperRecord{891, 1260}));
    w->tickPaperRadio(kB5);
    EXPECT_EQ(w->TickedPaper(), (PaperRecord{546, 771}));

    ASSERT_EQ(open(1), OpenResult::Opened);
    w->TogglePaperFixed();
    EXPECT_TRUE(w->sheetHost().paperFixed());
    for (QRadioButton* r : {w->radB5, w->radA4, w->radB4, w->radA3}) EXPECT_FALSE(r->isEnabled());
    w->TogglePaperFixed();
    EXPECT_TRUE(w->radA3->isEnabled());
}

TEST_F(LayoutControlsTest, SameColumnChoiceTwiceDoesNotMarkModified) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    Worksheet& sheet = w->activeWorksheet()->worksheet();
    w->cmbRetsuX->setCurrentIndex(1);
    EXPECT_EQ(sheet.params.ColumnMode, 2);
    EXPECT_TRUE(sheet.modified);
    sheet.modified = false;
    w->cmbRetsuX->setCurrentIndex(2);  // another two-column choice: the same column mode
    EXPECT_FALSE(sheet.modified);
}

TEST_F(LayoutControlsTest, TwoWorksheetsKeepTheirOwnSettingsWhenActivatedInTurn) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* first = w->activeWorksheet();
    w->spnGyouSpace->setValue(55);
    w->spnMojiSize->setValue(16);
    ASSERT_EQ(open(2), OpenResult::Opened);
    TfrmPrint* second = w->activeWorksheet();
    EXPECT_EQ(w->spnGyouSpace->value(), 40);
    EXPECT_EQ(w->spnMojiSize->value(), 12);
    EXPECT_FALSE(second->worksheet().modified);

    w->mdiArea->setActiveSubWindow(w->subWindowOf(first));
    EXPECT_EQ(w->activeWorksheet(), first);
    EXPECT_EQ(w->spnGyouSpace->value(), 55);
    EXPECT_EQ(w->spnMojiSize->value(), 16);
    EXPECT_TRUE(w->radA4->isChecked());
    EXPECT_EQ(second->worksheet().params.LineSpacing, 40);
}

TEST_F(LayoutControlsTest, ScrollJumpsBetweenTopAndBottom) {
    ASSERT_EQ(open(2), OpenResult::Opened);  // A3: taller than the window
    TfrmPrint* sheet = w->activeWorksheet();
    QCoreApplication::processEvents();  // lay the window out
    QScrollBar* bar = sheet->ScrollBox->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    w->btnScroll->click();
    EXPECT_GT(bar->value(), 0);
    w->btnScroll->click();
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(LayoutControlsTest, ReducedViewNeverDrawsTheSheetLargerThanItIs) {
    ASSERT_EQ(open(1), OpenResult::Opened);  // A4, shorter than the window's panel
    TfrmPrint* sheet = w->activeWorksheet();
    w->btnShukusho->click();
    EXPECT_EQ(sheet->Image2->pixmap().size(), sheet->sheetImage().size());

    w->btnShukusho->click();
    ASSERT_EQ(open(2), OpenResult::Opened);  // A3, taller than the panel: reduced, proportions kept
    sheet = w->activeWorksheet();
    w->btnShukusho->click();
    const QSize reduced = sheet->Image2->pixmap().size();
    EXPECT_LE(reduced.height(), w->sheetHost().panelHeight() - 36);
    EXPECT_LT(reduced.width(), sheet->sheetImage().width());
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

using WindowArrangementTest = MainWindowTest;

TEST_F(WindowArrangementTest, CascadedWorksheetsStayUsableAndInsideTheArea) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    ASSERT_EQ(open(2), OpenResult::Opened);  // A3: wider than two thirds of the area
    w->mnuMaximize->trigger();
    QCoreApplication::processEvents();
    w->mnuCascade->trigger();
    const QRect area = w->mdiArea->viewport()->rect();
    std::vector<QRect> placed;
    for (QMdiSubWindow* sub : w->mdiArea->subWindowList()) {
        auto* sheet = qobject_cast<TfrmPrint*>(sub->widget());
        if (!sheet) continue;
        const QRect box = sub->geometry();
        EXPECT_TRUE(area.contains(box)) << sheet->identity().toStdString();
        EXPECT_GE(box.width(), std::min(sheet->sheetImage().width(), area.width() * 2 / 3));
        EXPECT_GE(box.height(), area.height() * 2 / 3);
        placed.push_back(box);
    }
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_NE(placed[0].topLeft(), placed[1].topLeft());
    // The title window is not arranged: it stays behind, filling the area.
    EXPECT_EQ(w->dummyWindow->geometry(), area);
}

TEST_F(WindowArrangementTest, TitleWindowFillsTheAreaAgainAfterTilingClosingAndResizing) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    ASSERT_EQ(open(2), OpenResult::Opened);
    w->mnuTile->trigger();
    const QRect first = w->subWindowOf(w->activeWorksheet())->geometry();
    EXPECT_NEAR(first.width(), w->mdiArea->viewport()->width() / 2, 1);  // side by side
    w->dummyWindow->move(400, 300);  // as a tiled or dragged title window would be
    w->mnuCloseAllWIndows->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(worksheetWindows(), 0);
    auto wholeAndCentred = [this] {
        const QRect area = w->mdiArea->viewport()->rect();
        EXPECT_EQ(w->dummyWindow->geometry(), area);
        const QRect button = w->frmDummy->btnTitle->geometry();
        EXPECT_TRUE(w->frmDummy->rect().contains(button));
        EXPECT_NEAR(button.center().x(), w->frmDummy->rect().center().x(), 1);
        EXPECT_NEAR(button.center().y(), w->frmDummy->rect().center().y(), 1);
    };
    wholeAndCentred();
    w->resize(900, 700);
    QCoreApplication::processEvents();
    wholeAndCentred();
}

TEST_F(WindowArrangementTest, CascadeStartsAgainAtTheTopLeftBeforeLeavingTheArea) {
    const std::vector<WindowExtent> wanted(6, WindowExtent{700, 1200});
    const auto boxes = CascadeWindows({1200, 900}, wanted, 100);
    ASSERT_EQ(boxes.size(), 6u);
    // Shorter down to two thirds of the area; the fifth would leave it and starts again.
    EXPECT_EQ(boxes[3], (WindowBox{300, 300, 700, 600}));
    EXPECT_EQ(boxes[4], (WindowBox{0, 0, 700, 900}));
    // A small sheet keeps its own size; a window never exceeds the area.
    EXPECT_EQ(CascadeWindows({1200, 900}, {{300, 200}}, 20)[0], (WindowBox{0, 0, 300, 200}));
    EXPECT_EQ(CascadeWindows({500, 400}, {{900, 1300}}, 20)[0], (WindowBox{0, 0, 500, 400}));
}

TEST_F(WindowArrangementTest, CaptionsShowPathsInOneFormAndIdentitiesKeepTheirBytes) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* sheet = w->activeWorksheet();
    const QString identity = w->lstWindow->item(0)->text();
    EXPECT_TRUE(identity.endsWith(QStringLiteral("kan3\\kan31.que-U1"))) << identity.toStdString();
    EXPECT_EQ(sheet->identity(), identity);
    EXPECT_FALSE(sheet->windowTitle().contains(QLatin1Char('\\')));
    EXPECT_EQ(sheet->windowTitle(), QString(identity).replace(QLatin1Char('\\'), QLatin1Char('/')));

    // The close question names the window as its caption shows it.
    w->spnMojiSize->setValue(15);
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(w->close());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(ToQString(prompter.shown[0]),
              sheet->windowTitle() + QStringLiteral("を保存しますか？"));
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

using SaveAndCopyTest = MainWindowTest;

TEST_F(SaveAndCopyTest, ClosingTheProgramAsksForEachModifiedWorksheet) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    w->spnMojiSize->setValue(15);  // modified
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(worksheetWindows(), 1);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.back().find(sjis("を保存しますか？")), std::string::npos);

    prompter.answers = {Answer::No};
    EXPECT_TRUE(w->close());
    EXPECT_EQ(worksheetWindows(), 0);
}

TEST_F(SaveAndCopyTest, SavePanelOffersOverwriteOnlyForAnUnchangedMaster) {
    w->btnSave->click();
    EXPECT_TRUE(w->pnlSave->isHidden());  // nothing to save
    ASSERT_EQ(open(1), OpenResult::Opened);
    w->btnSave->click();
    EXPECT_FALSE(w->pnlSave->isHidden());
    EXPECT_TRUE(w->btnSaveMaster->isEnabled());
    w->activeWorksheet()->worksheet().isMaster = false;
    w->btnSave->click();
    EXPECT_FALSE(w->btnSaveMaster->isEnabled());
}

TEST_F(SaveAndCopyTest, SavedCopyReopensThroughTheCopyFileDialog) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    const std::string copy = (course.path() / "kan3" / "mine").string();
    prompter.fileNames = {copy};
    w->btnSaveCopy->click();
    ASSERT_TRUE(std::filesystem::exists(copy + ".skn"));
    EXPECT_EQ(prompter.dialogFolders.back(), course.folder() + "kan3\\");
    EXPECT_EQ(w->lstWindow->item(0)->text().toStdString(), copy + ".skn");
    w->btnFpClose->click();
    ASSERT_EQ(worksheetWindows(), 0);

    QTimer::singleShot(0, w->frmOpenSKN, [this] {
        w->frmOpenSKN->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    });
    ASSERT_TRUE(w->OpenCopyFile());
    TfrmPrint* sheet = w->activeWorksheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->worksheet().isCopy);
    EXPECT_EQ(sheet->worksheet().content.questionLines.size(), 2u);
    EXPECT_EQ(sheet->identity().toStdString(), copy + ".skn");
}

TEST_F(SaveAndCopyTest, CopyTakesTheFramedRegionWithoutItsFrame) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    EXPECT_FALSE(w->btnCopy->isEnabled());
    w->regionSelected(110, 60, 10, 20);  // dragged from bottom right to top left
    EXPECT_TRUE(w->btnCopy->isEnabled());
    QGuiApplication::clipboard()->clear();
    w->btnCopy->click();
    QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(98, 38));
    EXPECT_EQ(
        copied,
        w->activeWorksheet()->sheetImage().copy(11, 21, 98, 38).convertToFormat(copied.format()));
    EXPECT_FALSE(w->btnCopy->isEnabled());
    EXPECT_FALSE(w->btnCancel->isEnabled());
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

TEST_F(SaveAndCopyTest, SheetHeaderTakesItsNumberFromThePrintModeDialog) {
    EXPECT_EQ(w->numberText(), sjis("№ 1"));
    w->frmPrintMode->spnStart->setValue(7);
    EXPECT_EQ(w->numberText(), sjis("№ 7"));
    w->frmPrintMode->chkNumber->setChecked(false);
    EXPECT_EQ(w->numberText(), "");
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

TEST_F(MainWindowTest, EditingTheActiveWorksheetsUnitOpensItAgainAsSaved) {
    ASSERT_EQ(open(2), OpenResult::Opened);
    w->activeWorksheet()->worksheet().params.LineSpacing = 33;  // shown, not saved yet
    QTimer::singleShot(0, [&] {
        TfrmEditQues* editor = w->frmEditQues;
        ASSERT_TRUE(editor->isVisible());
        // The worksheet's layout as shown is what the editor saves.
        EXPECT_TRUE(editor->memPasteLo->toPlainText().contains(QStringLiteral("\n33\n")));
        editor->MemQues->setPlainText(QStringLiteral("（１）#うみ#を見る"));
        editor->btnOk->click();
    });
    w->btnEdit->click();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(worksheetWindows(), 1);
    ASSERT_NE(w->activeWorksheet(), nullptr);
    EXPECT_EQ(w->activeWorksheet()->worksheet().content.questionLines,
              std::vector<std::string>{sjis("（１）#うみ#を見る")});
    EXPECT_EQ(w->activeWorksheet()->worksheet().params.LineSpacing, 33);
    EXPECT_FALSE(w->activeWorksheet()->worksheet().modified);
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

// Every job as a recording target keeps it, with the name the job went out under.
class NamedJobsTarget : public RecordingPrintTarget {
public:
    NamedJobsTarget() : RecordingPrintTarget(1240, 1754, 150) {}
    void setJobName(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

class TeacherCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        w->frmPrintOk->usePrinter({&target, [](QWidget*) { return true; }});
    }

    // Prints the active worksheet through the print button and the print dialog's start button.
    void print(int copies) {
        target.copies = copies;
        QTimer::singleShot(0, w->frmPrintOk, [this] {
            w->frmPrintOk->findChild<QPushButton*>(QStringLiteral("btnPrint"))->click();
        });
        w->btnStartPrint->click();
    }

    // Chooses unit n of the first section in unit selection, which is shown next, and accepts.
    void chooseUnitNext(int n) {
        QTimer::singleShot(0, w->frmMenu, [this, n] {
            w->frmMenu->lstUnit->setCurrentRow(n - 1);
            w->frmMenu->btnOk->click();
        });
    }

    TfrmPrint* frontWorksheet() const {
        const auto stack = w->mdiArea->subWindowList(QMdiArea::StackingOrder);
        for (auto it = stack.rbegin(); it != stack.rend(); ++it)
            if ((*it)->isVisible()) return qobject_cast<TfrmPrint*>((*it)->widget());
        return nullptr;
    }

    NamedJobsTarget target;
};

TEST_F(TeacherCommandsTest, ACancelledOpenLeavesTheQuestionSheetAndThatIsWhatIsPrinted) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* sheet = w->activeWorksheet();
    w->btnKaitou->click();  // the question sheet, without answers
    ASSERT_FALSE(HasBlue(sheet->sheetImage()));
    const qint64 offIcon = w->btnKaitou->icon().cacheKey();

    QTimer::singleShot(0, w->frmMenu, [this] { w->frmMenu->reject(); });
    w->btnOpenMaster->click();
    EXPECT_FALSE(w->answerDisplay());
    EXPECT_EQ(w->btnKaitou->icon().cacheKey(), offIcon);
    EXPECT_FALSE(HasBlue(sheet->sheetImage()));

    // Numbered copies are drawn again one by one: each is still the question sheet.
    print(2);
    ASSERT_EQ(target.jobs.size(), 2u);
    ASSERT_EQ(target.names.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NE(target.names[i].find(sjis("問題")), std::string::npos) << i;
        EXPECT_EQ(target.names[i].find(sjis("解答")), std::string::npos) << i;
        EXPECT_FALSE(HasBlue(target.jobs[i].page)) << i;
    }
    EXPECT_FALSE(w->answerDisplay());
    EXPECT_FALSE(HasBlue(sheet->sheetImage()));
}

TEST_F(TeacherCommandsTest, AnOpenedUnitStartsWithItsAnswersAndPrintsThemWhenShown) {
    w->btnKaitou->click();
    ASSERT_FALSE(w->answerDisplay());
    chooseUnitNext(1);
    w->btnOpenMaster->click();
    ASSERT_NE(w->activeWorksheet(), nullptr);
    EXPECT_TRUE(w->answerDisplay());
    EXPECT_TRUE(HasBlue(w->activeWorksheet()->sheetImage()));
    print(1);
    ASSERT_EQ(target.names.size(), 1u);
    EXPECT_NE(target.names[0].find(sjis("解答")), std::string::npos);
    EXPECT_TRUE(HasBlue(target.jobs[0].page));
}

TEST_F(TeacherCommandsTest, ClosingAWorksheetBringsTheNextOneForwardWithItsMenus) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* first = w->activeWorksheet();
    ASSERT_EQ(open(2), OpenResult::Opened);
    ASSERT_EQ(open(4), OpenResult::Opened);
    TfrmPrint* third = w->activeWorksheet();

    auto expectInFront = [this](TfrmPrint* sheet) {
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(w->activeWorksheet(), sheet);
        EXPECT_EQ(w->mdiArea->activeSubWindow(), w->subWindowOf(sheet));
        EXPECT_EQ(frontWorksheet(), sheet);  // above the title window and every other sheet
        EXPECT_TRUE(w->menuBar()->actions().contains(sheet->mnuFile->menuAction()));
        EXPECT_FALSE(w->menuBar()->actions().contains(w->mnuFile->menuAction()));
    };

    // The panel's button, the worksheet's menu item and its key: each time the sheet opened
    // before it comes forward.
    w->btnFpClose->click();
    QCoreApplication::processEvents();
    TfrmPrint* second = w->activeWorksheet();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, third);
    expectInFront(second);

    second->mnuClose->trigger();
    QCoreApplication::processEvents();
    expectInFront(first);

    // Arranging the one left shows it; the title window stays behind.
    w->mnuTile->trigger();
    expectInFront(first);
    w->mnuCascade->trigger();
    expectInFront(first);

    QTest::keyClick(first, Qt::Key_W, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(worksheetWindows(), 0);
    EXPECT_EQ(w->activeWorksheet(), nullptr);
    EXPECT_TRUE(w->menuBar()->actions().contains(w->mnuFile->menuAction()));
}

TEST_F(TeacherCommandsTest, TheAnswerDisplayRedrawsEveryOpenWorksheet) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* first = w->activeWorksheet();
    ASSERT_EQ(open(4), OpenResult::Opened);
    TfrmPrint* second = w->activeWorksheet();
    const int activeBlanks = w->sheetHost().sheetShared().blanks.BlankCount;
    ASSERT_TRUE(HasBlue(first->sheetImage()));

    w->btnKaitou->click();
    EXPECT_FALSE(HasBlue(first->sheetImage()));
    EXPECT_FALSE(HasBlue(second->sheetImage()));
    EXPECT_FALSE(first->worksheet().params.ShowAnswers);

    // The first sheet's own answers come back, not those of the active one.
    second->mnuKaitou->trigger();
    EXPECT_TRUE(HasBlue(second->sheetImage()));
    const QImage shown = first->sheetImage();
    EXPECT_TRUE(HasBlue(shown));
    w->mdiArea->setActiveSubWindow(w->subWindowOf(first));
    EXPECT_EQ(first->sheetImage(), shown);
    // The blank table is the active sheet's again after the others were drawn.
    w->mdiArea->setActiveSubWindow(w->subWindowOf(second));
    w->btnKaitou->click();
    EXPECT_EQ(w->sheetHost().sheetShared().blanks.BlankCount, activeBlanks);
}

TEST_F(TeacherCommandsTest, ASheetBehindIsRedrawnAtItsOwnSize) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* first = w->activeWorksheet();
    const int ownSize = first->worksheet().params.FontSize;
    ASSERT_EQ(open(4), OpenResult::Opened);
    TfrmPrint* second = w->activeWorksheet();
    w->spnMojiSize->setValue(ownSize + 8);  // the sheet in front only
    ASSERT_EQ(second->worksheet().params.FontSize, ownSize + 8);

    w->btnKaitou->click();
    w->btnKaitou->click();
    const QImage behind = first->sheetImage();
    EXPECT_EQ(first->worksheet().params.FontSize, ownSize);
    // Brought to the front, it is drawn at its own size again: what it showed behind was that.
    w->mdiArea->setActiveSubWindow(w->subWindowOf(first));
    ASSERT_EQ(w->spnMojiSize->value(), ownSize);
    EXPECT_EQ(first->sheetImage(), behind);
}

TEST_F(TeacherCommandsTest, AddingHasItsButtonMenuItemAndKeyForTeachersOnly) {
    EXPECT_FALSE(w->btnAdd->isHidden());
    EXPECT_EQ(w->btnAdd->parentWidget(), w->pnlMain);
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* sheet = w->activeWorksheet();
    QAction* add = sheet->findChild<QAction*>(QStringLiteral("mnuAdd"));
    ASSERT_NE(add, nullptr);
    EXPECT_TRUE(sheet->mnuFile->actions().contains(add));
    EXPECT_FALSE(add->shortcut().isEmpty());

    // The menu item adds through unit selection, like the button.
    chooseUnitNext(2);
    add->trigger();
    EXPECT_EQ(sheet->worksheet().content.questionLines.size(), 3u);

    w->SetLearnerMode(true);
    EXPECT_TRUE(w->btnAdd->isHidden());
    w->SetLearnerMode(false);
    EXPECT_FALSE(w->btnAdd->isHidden());
}

TEST_F(TeacherCommandsTest, ATestComposedOfThreeUnitsPrintsSavesAndOpensAgain) {
    ASSERT_EQ(open(1), OpenResult::Opened);
    TfrmPrint* sheet = w->activeWorksheet();
    chooseUnitNext(2);
    w->btnAdd->click();
    chooseUnitNext(4);
    sheet->findChild<QAction*>(QStringLiteral("mnuAdd"))->trigger();
    const std::vector<std::string> composed{sjis("（１）#やま#に登る"), sjis("（２）#かわ#で遊ぶ"),
                                            sjis("（１）#はやし#の中"), sjis("（１）#うみ#を見る"),
                                            sjis("（２）#そら#が青い")};
    ASSERT_EQ(sheet->worksheet().content.questionLines, composed);
    EXPECT_EQ(w->sheetHost().sheetShared().blanks.BlankCount, 5);
    EXPECT_FALSE(sheet->worksheet().isMaster);
    EXPECT_TRUE(prompter.shown.empty());

    print(1);
    ASSERT_EQ(target.jobs.size(), 1u);
    EXPECT_TRUE(HasBlue(target.jobs[0].page));

    const std::string title = sheet->worksheet().content.title;
    const std::string copy = (course.path() / "kan3" / "test1-3").string();
    prompter.fileNames = {copy};
    w->btnSaveCopy->click();
    ASSERT_TRUE(std::filesystem::exists(copy + ".skn"));
    w->btnFpClose->click();
    ASSERT_EQ(worksheetWindows(), 0);

    QTimer::singleShot(0, w->frmOpenSKN, [this] {
        w->frmOpenSKN->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    });
    ASSERT_TRUE(w->OpenCopyFile());
    ASSERT_NE(w->activeWorksheet(), nullptr);
    EXPECT_EQ(w->activeWorksheet()->worksheet().content.questionLines, composed);
    EXPECT_EQ(w->activeWorksheet()->worksheet().content.title, title);
    EXPECT_EQ(w->sheetHost().sheetShared().blanks.BlankCount, 5);
}

}  // namespace
}  // namespace sulkan
