// The worksheet window: its menu, moving figures and framing regions with the mouse, saving
// and the question on closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <filesystem>
#include <memory>

#include "FakeHost.h"
#include "LineFile.h"
#include "QuestionFile.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmPrint.h"
#include "WorksheetReader.h"

namespace sulkan {
namespace {

using test::ColorAt;
using test::FakeHost;
using test::ReadRawFile;
using test::TempDir;
using test::WriteSjisFile;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

const QColor kRed(255, 0, 0), kGreen(0, 160, 0), kBlue(0, 0, 255), kYellow(255, 255, 0);

void WriteBmp(const fs::path& file, int width, int height, const QColor& colour) {
    fs::create_directories(file.parent_path());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(file.string()), "BMP"));
}

// Sends one mouse event to the sheet as the pointer would, with the left button held on moves.
void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                  : type == QEvent::MouseMove        ? Qt::LeftButton
                                                                     : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Points are in sheet units, at any scale factor of the screen.
QColor ShownAt(const TfrmPrint& w, int x, int y) {
    return ColorAt(w.Image1->pixmap().toImage(), x, y);
}

// Points of row y between x1 and x2 where what is shown differs from the sheet without frames.
int ShownDifferences(const TfrmPrint& w, int y, int x1, int x2) {
    const QImage shown = w.Image1->pixmap().toImage();
    int n = 0;
    for (int x = x1; x <= x2; ++x) n += ColorAt(shown, x, y) != ColorAt(w.shownSheet(), x, y);
    return n;
}

// One question line and three figures of 30 × 20 (red, green, blue) at (100, 300), (300, 300)
// and (100, 500), well clear of the text.
class TfrmPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.program = dir.folder();
        host.figures = dir.folder() + "Graph/";
        WriteBmp(dir.path() / "Graph" / "f1.bmp", 30, 20, kRed);
        WriteBmp(dir.path() / "Graph" / "f2.bmp", 30, 20, kGreen);
        WriteBmp(dir.path() / "Graph" / "f3.bmp", 30, 20, kBlue);
        WriteBmp(dir.path() / "Graph" / "a1.bmp", 40, 30, kYellow);
    }

    static Worksheet Sheet() {
        Worksheet ws;
        ws.params = LayoutParams{};
        ws.params.SheetOptions = 0;
        ws.address = {1, 1, 1, 0};
        ws.content.questionLines = {sjis("（１）#やま#に登る")};
        ws.content.questionFigures = {"f1.bmp", "100",    "300", "f2.bmp", "300",
                                      "300",    "f3.bmp", "100", "500"};
        return ws;
    }

    TfrmPrint& Open(Worksheet ws, const QString& caption = QStringLiteral("kan31.que-U1")) {
        window = std::make_unique<TfrmPrint>(host, std::move(ws));
        window->setIdentity(caption);
        window->setWindowTitle(caption);
        window->LoadPictures();
        window->Redraw();
        window->show();
        return *window;
    }

    // A question file with unit 1 between other text, and a master worksheet read from it.
    TfrmPrint& OpenMaster() {
        questionFile = dir.folder() + "kan31.que";
        Lines file = test::Sjis({"先頭の行", "[[unit1", "<<ques", "（１）#やま#に登る", ">>"});
        for (const std::string& l : DefaultLayoutLines()) file.push_back(l);
        for (const std::string& l : test::Sjis({"]]", "[[unit2", "<<ques", "#き#", ">>", "]]"}))
            file.push_back(l);
        test::WriteRawFile(questionFile, JoinLines(file));
        ReadRequest request;
        request.headerLine = "[[unit1";
        request.section = 1;
        request.unit = 1;
        HoldingArea holding;
        EXPECT_TRUE(ReadIntoHolding(file, request, holding, host.shared).ok());
        LoadOptions options;
        options.address = {1, 1, 1, 0};
        options.filePath = questionFile;
        Worksheet ws;
        LoadWorksheet(holding, ws, options, host.shared);
        return Open(std::move(ws));
    }

    TempDir dir;
    FakeHost host;
    std::unique_ptr<TfrmPrint> window;
    std::string questionFile;
};

TEST_F(TfrmPrintTest, FiguresAreReadOnlyFromInsideTheFigureFolderAndAsPictures) {
    WriteBmp(dir.path() / "secret.bmp", 30, 20, kRed);  // beside the figure folder
    test::WriteRawFile(dir.path() / "Graph" / "text.bmp", "no picture\r\n");
    Worksheet ws = Sheet();
    ws.content.questionFigures = {"..\\secret.bmp", "100", "300", "text.bmp", "300", "300",
                                  "gone.bmp",       "100", "500"};
    TfrmPrint& w = Open(std::move(ws));
    EXPECT_FALSE(w.figurePlaces().places[0].width);  // nothing was read from outside
    const std::string native = dir.path().string() + "/Graph/";
    ASSERT_EQ(host.prompts.shown.size(), 3u);
    EXPECT_NE(host.prompts.shown[0].find("..\\secret.bmp"), std::string::npos);
    EXPECT_EQ(host.prompts.shown[1],
              sjis("ファイル ") + native + "text.bmp" + sjis(" を画像として読み込めません"));
    EXPECT_EQ(host.prompts.shown[2],
              sjis("ファイル ") + native + "gone.bmp" + sjis(" が見つかりません"));
}

TEST_F(TfrmPrintTest, DraggingAFigureMovesItByThePointersTravel) {
    TfrmPrint& w = Open(Sheet());
    ASSERT_FALSE(w.worksheet().modified);
    const FigurePlace& third = w.figurePlaces().places[2];
    ASSERT_TRUE(third.visible);
    ASSERT_EQ(QRect(third.left, third.top, third.width, third.height), QRect(100, 500, 30, 20));
    const QImage before = w.sheetImage();

    // A click without travel moves nothing.
    Mouse(w.Image1, QEvent::MouseButtonPress, {110, 505});
    Mouse(w.Image1, QEvent::MouseButtonRelease, {110, 505});
    EXPECT_EQ(w.worksheet().content.questionFigures[7], "100");
    EXPECT_FALSE(w.worksheet().modified);

    Mouse(w.Image1, QEvent::MouseButtonPress, {110, 505});
    Mouse(w.Image1, QEvent::MouseMove, {130, 505});
    // The outline follows the pointer over the figure, inverted, on the view only.
    EXPECT_EQ(ShownAt(w, 120, 510), kYellow);
    EXPECT_EQ(w.sheetImage(), before);
    Mouse(w.Image1, QEvent::MouseButtonRelease, {130, 505});

    EXPECT_EQ(w.worksheet().content.questionFigures,
              (Lines{"f1.bmp", "100", "300", "f2.bmp", "300", "300", "f3.bmp", "120", "500"}));
    EXPECT_TRUE(w.worksheet().modified);
    EXPECT_EQ(w.figurePlaces().places[2].left, 120);
    EXPECT_EQ(w.sheetImage().pixelColor(145, 510), kBlue);
    EXPECT_EQ(ShownAt(w, 120, 510), kBlue);  // the outline is gone again
}

TEST_F(TfrmPrintTest, InLearnerModeFiguresStayWhereTheTeacherPutThem) {
    host.learner = true;
    TfrmPrint& w = Open(Sheet());
    Mouse(w.Image1, QEvent::MouseButtonPress, {110, 505});
    Mouse(w.Image1, QEvent::MouseMove, {130, 505});
    Mouse(w.Image1, QEvent::MouseButtonRelease, {130, 505});
    EXPECT_EQ(w.worksheet().content.questionFigures[7], "100");
    EXPECT_FALSE(w.worksheet().modified);
}

TEST_F(TfrmPrintTest, DraggingAnAnswerFigureMovesThePlaceItShares) {
    host.answersShown = true;
    Worksheet ws = Sheet();
    ws.content.answerFigures = {"a1.bmp", "0", "0"};
    TfrmPrint& w = Open(std::move(ws));
    // The answer picture (40 × 30) is larger than the question picture of its place.
    Mouse(w.Image1, QEvent::MouseButtonPress, {135, 325});
    Mouse(w.Image1, QEvent::MouseButtonRelease, {145, 340});
    EXPECT_EQ(w.worksheet().content.questionFigures[1], "110");
    EXPECT_EQ(w.worksheet().content.questionFigures[2], "315");
    EXPECT_EQ(w.worksheet().content.answerFigures, (Lines{"a1.bmp", "0", "0"}));
}

TEST_F(TfrmPrintTest, ARightPressFramesTheFigureOneUnitOutside) {
    TfrmPrint& w = Open(Sheet());
    const QImage before = w.sheetImage();
    Mouse(w.Image1, QEvent::MouseButtonPress, {305, 305}, Qt::RightButton);
    Mouse(w.Image1, QEvent::MouseButtonRelease, {305, 305}, Qt::RightButton);
    ASSERT_TRUE(host.region);
    EXPECT_EQ(*host.region, (std::array<int, 4>{299, 299, 330, 320}));
    EXPECT_GT(ShownDifferences(w, 299, 299, 330), 0);
    EXPECT_EQ(ShownDifferences(w, 298, 290, 340), 0);
    EXPECT_EQ(w.sheetImage(), before);  // what the copy button copies has no frame
    EXPECT_EQ(w.worksheet().content.questionFigures[4], "300");

    w.EraseSelection();
    EXPECT_EQ(ShownDifferences(w, 299, 299, 330), 0);
}

TEST_F(TfrmPrintTest, ARubberBandOnTheSheetSelectsTheDraggedRectangle) {
    TfrmPrint& w = Open(Sheet());
    Mouse(w.Image1, QEvent::MouseButtonPress, {305, 305}, Qt::RightButton);
    ASSERT_TRUE(host.region);

    // From the bottom right to the top left: the corners are reported as dragged.
    Mouse(w.Image1, QEvent::MouseButtonPress, {400, 700});
    EXPECT_FALSE(host.region);  // the pending copy is cancelled
    EXPECT_EQ(host.regionClears, 1);
    EXPECT_EQ(ShownDifferences(w, 299, 299, 330), 0);
    Mouse(w.Image1, QEvent::MouseMove, {200, 600});
    EXPECT_GT(ShownDifferences(w, 600, 200, 400), 0);
    Mouse(w.Image1, QEvent::MouseButtonRelease, {200, 600});
    ASSERT_TRUE(host.region);
    EXPECT_EQ(*host.region, (std::array<int, 4>{400, 700, 200, 600}));
    EXPECT_GT(ShownDifferences(w, 700, 200, 400), 0);
    EXPECT_FALSE(w.worksheet().modified);

    // A band dragged past the edge of the sheet ends on it.
    Mouse(w.Image1, QEvent::MouseButtonPress, {600, 800});
    Mouse(w.Image1, QEvent::MouseButtonRelease, {900, 2000});
    EXPECT_EQ(*host.region, (std::array<int, 4>{600, 800, 629, 890}));

    // Closing the window takes its region away from the copy buttons.
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(host.region);
}

TEST_F(TfrmPrintTest, MenuItemsFollowTheMainWindowAndForwardItsCommands) {
    host.answersEnabled = false;
    TfrmPrint& w = OpenMaster();
    Q_EMIT w.mnuShow->aboutToShow();
    EXPECT_FALSE(w.mnuKaitou->isEnabled());
    host.answersEnabled = true;
    Q_EMIT w.mnuShow->aboutToShow();
    ASSERT_TRUE(w.mnuKaitou->isEnabled());
    EXPECT_FALSE(w.mnuKaitou->isChecked());
    w.mnuKaitou->trigger();
    EXPECT_TRUE(host.answersShown);
    EXPECT_TRUE(w.mnuKaitou->isChecked());

    Q_EMIT w.mnuFile->aboutToShow();
    EXPECT_TRUE(w.mnuSaveMaster->isEnabled());
    w.worksheet().isMaster = false;  // as after adding a unit
    Q_EMIT w.mnuFile->aboutToShow();
    EXPECT_FALSE(w.mnuSaveMaster->isEnabled());

    for (QAction* a : {w.mnuOpenMaster, w.mnuPrint, w.mnuJuku, w.mnuEditMaster, w.mnuSetPrinter,
                       w.mnuSetKran, w.mnuSetPaper, w.mnuExit})
        a->trigger();
    using C = WorksheetCommand;
    EXPECT_EQ(host.commands,
              (std::vector<C>{C::ToggleAnswers, C::OpenMaster, C::Print, C::Juku, C::EditMaster,
                              C::SetPrinter, C::SetKran, C::SetPaper, C::Exit}));

    w.mnuEditIndex->trigger();
    EXPECT_EQ(host.prompts.shown, (Lines{sjis("開いているファイルをすべて閉じてください")}));
    w.mnuToClipBoard->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), w.sheetImage().size());
}

TEST_F(TfrmPrintTest, ClosingAModifiedMasterWithYesOverwritesItsUnit) {
    TfrmPrint& w = OpenMaster();
    const std::string old = ReadRawFile(questionFile);
    w.worksheet().params.LineSpacing = 55;
    w.worksheet().modified = true;
    host.prompts.answers = {Answer::Yes};

    w.mnuClose->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(host.closing, (std::vector<TfrmPrint*>{&w}));
    EXPECT_EQ(host.prompts.shown, (Lines{sjis("kan31.que-U1を保存しますか？")}));
    EXPECT_EQ(host.prompts.fillWhileAsked, (std::vector<bool>{false}));
    EXPECT_TRUE(host.shared.activationFillEnabled);
    EXPECT_FALSE(w.worksheet().modified);

    const std::string now = ReadRawFile(questionFile);
    const std::string head = sjis("先頭の行\r\n"),
                      tail = sjis("[[unit2\r\n<<ques\r\n#き#\r\n>>\r\n]]\r\n");
    EXPECT_EQ(now.substr(0, head.size()), head);
    EXPECT_EQ(now.substr(now.size() - tail.size()), tail);
    EXPECT_EQ(old.substr(old.size() - tail.size()), tail);
    const Lines lines = SplitLines(now);
    EXPECT_EQ(ReadUnit(lines, 1).value[2], "55");
}

TEST_F(TfrmPrintTest, ClosingAModifiedCopyWithYesAndACancelledSaveDialogClosesUnsaved) {
    Worksheet ws = Sheet();
    ws.isCopy = true;
    ws.filePath = dir.folder() + "old.skn";
    ws.modified = true;
    TfrmPrint& w = Open(std::move(ws), QString::fromStdString(dir.folder() + "old.skn"));
    host.prompts.answers = {Answer::Yes};
    host.prompts.fileNames = {std::nullopt};

    EXPECT_TRUE(w.close());
    EXPECT_EQ(host.closing.size(), 1u);
    EXPECT_EQ(host.prompts.dialogFolders, (Lines{dir.folder()}));
    EXPECT_TRUE(w.worksheet().modified);
    EXPECT_FALSE(fs::exists(dir.path() / "old.skn"));
    EXPECT_TRUE(host.renamedFrom.empty());
}

TEST_F(TfrmPrintTest, CancelKeepsTheWindowAndNoClosesWithoutSaving) {
    TfrmPrint& w = OpenMaster();
    const std::string old = ReadRawFile(questionFile);
    w.worksheet().modified = true;

    host.prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(host.closing.empty());
    EXPECT_TRUE(host.shared.activationFillEnabled);

    host.prompts.answers = {Answer::No};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(host.closing.size(), 1u);
    EXPECT_EQ(ReadRawFile(questionFile), old);
    EXPECT_EQ(host.prompts.shown.size(), 2u);
}

TEST_F(TfrmPrintTest, InsideTheFrameTheMenuClosesTheChildWindowAfterAsking) {
    QMdiArea area;
    area.show();
    TfrmPrint& w = Open(Sheet());
    QMdiSubWindow* sub = area.addSubWindow(window.release());
    sub->show();
    w.worksheet().modified = true;

    host.prompts.answers = {Answer::Cancel};
    w.mnuClose->trigger();
    EXPECT_TRUE(sub->isVisible());
    host.prompts.answers = {Answer::No};
    w.mnuClose->trigger();
    EXPECT_FALSE(sub->isVisible());
    EXPECT_EQ(host.closing, (std::vector<TfrmPrint*>{&w}));
}

TEST_F(TfrmPrintTest, ASaveThatFailsKeepsTheWindowOpenAndModified) {
    // A copy whose chosen name lies in a "folder" that is a file.
    WriteSjisFile(dir.path() / "afile", {"x"});
    Worksheet ws = Sheet();
    ws.isCopy = true;
    ws.modified = true;
    TfrmPrint& copy = Open(std::move(ws));
    host.prompts.answers = {Answer::Yes};
    host.prompts.fileNames = {dir.folder() + "afile/new.skn"};
    EXPECT_FALSE(copy.close());
    EXPECT_TRUE(copy.isVisible());
    EXPECT_TRUE(copy.worksheet().modified);
    EXPECT_TRUE(host.closing.empty());
    EXPECT_EQ(host.prompts.shown.size(), 2u);  // the question and the failure

    // A master whose question file has become unreadable.
    TfrmPrint& master = OpenMaster();
    master.worksheet().modified = true;
    fs::remove(questionFile);
    fs::create_directory(questionFile);
    host.prompts.shown.clear();
    host.prompts.answers = {Answer::Yes};
    EXPECT_FALSE(master.close());
    EXPECT_TRUE(master.worksheet().modified);
    EXPECT_TRUE(host.closing.empty());
    EXPECT_EQ(host.prompts.shown.size(), 2u);
}

TEST_F(TfrmPrintTest, SavingAsACopyRenamesTheWindow) {
    TfrmPrint& w = OpenMaster();
    w.worksheet().modified = true;
    const std::string path = dir.folder() + "new.skn";
    host.prompts.fileNames = {path};
    ASSERT_TRUE(w.saveAsCopy());
    EXPECT_TRUE(fs::exists(dir.path() / "new.skn"));
    EXPECT_EQ(w.identity(), QString::fromStdString(path));
    EXPECT_EQ(w.windowTitle(), w.identity());
    EXPECT_EQ(host.renamedFrom, (std::vector<QString>{QStringLiteral("kan31.que-U1")}));
    EXPECT_FALSE(w.worksheet().modified);
    // Now a copy, it no longer overwrites its master.
    Q_EMIT w.mnuFile->aboutToShow();
    EXPECT_FALSE(w.mnuSaveMaster->isEnabled());
    EXPECT_FALSE(w.saveMaster());
}

}  // namespace
}  // namespace sulkan
