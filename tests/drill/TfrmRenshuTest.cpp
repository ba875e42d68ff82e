// The drill window: controls by name, boxes over the blanks and what they show, typing with an
// input method, the answering controls that keep the focus in the box, Escape, unusable
// characters, the memo pad, the sheet number, whole messages, the record file and the result sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <memory>
#include <optional>

#include "Handwriting.h"
#include "Kanji.h"
#include "LineFile.h"
#include "MessageBoard.h"
#include "QtCanvas.h"
#include "QtText.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmRenshu.h"
#include "worksheet/FakeHost.h"

namespace sulkan {
namespace {

using test::ColorAt;
using test::FakeHost;
using test::TempDir;

// A main window whose worksheets are numbered, as with the print mode's numbering on.
class NumberedHost : public FakeHost {
public:
    std::string numberText() const override { return number; }
    int questionSize() const override { return size; }
    std::string number;  // CP932
    int size = 12;       // points of the main window's "サイズ"
};

// Seeded, or always the same choice where a test needs one praise word.
class TestRandom : public RandomSource {
public:
    int below(int n) override {
        return fixed ? std::clamp(*fixed, 0, std::max(0, n - 1)) : seeded.below(n);
    }
    std::optional<int> fixed;
    SeededRandom seeded{5};
};

class FakeDrillHost : public DrillHost {
public:
    explicit FakeDrillHost(FakeHost& host) : m_host(host) {}
    WorksheetHost& worksheetHost() override { return m_host; }
    bool alternativesShown() const override { return alternatives; }
    void setAlternativesShown(bool shown) override { alternatives = shown; }
    int commandPanelWidth() const override { return 113; }
    RecordPlace recordPlace(const Worksheet&) const override { return place; }
    void recordWritten() override { ++written; }
    void printSheet(TfrmPrint*, std::function<void(PrintSource&)>) override { ++prints; }
    void showRecordViewer() override {}
    SettingsStore* settings() override { return &store; }

    MemorySettingsStore store;
    bool alternatives = true;
    RecordPlace place;
    int written = 0;
    int prints = 0;

private:
    FakeHost& m_host;
};

void Commit(QWidget* box, const QString& preedit, const QString& commit) {
    QInputMethodEvent composing(preedit, {});
    QApplication::sendEvent(box, &composing);
    if (commit.isNull()) return;
    QInputMethodEvent done;
    done.setCommitString(commit);
    QApplication::sendEvent(box, &done);
}

class TfrmRenshuTest : public ::testing::Test {
protected:
    // answers: the blanks of the sheet, one question line each (UTF-8).
    void Open(const std::vector<std::string>& answers, const std::vector<std::string>& kgroup = {},
              const std::string& keyFile = {}) {
        const std::string file = dir.folder() + "kan31.que";
        std::vector<std::string> que = {"[[unit1", "<<ques", ">>", "<<hint"};
        que.insert(que.end(), hint.begin(), hint.end());
        que.insert(que.end(), {">>", "]]"});
        test::WriteSjisFile(dir.path() / "kan31.que", que);
        Worksheet ws;
        ws.address = {1, 1, 1, 0};
        ws.filePath = file;
        ws.isMaster = true;
        ws.content.title = sjis("山と川");
        ws.params.SheetOptions = sheetOptions;
        ws.params.BoxWidth = boxWidth;
        for (const std::string& a : answers)
            ws.content.questionLines.push_back(sjis("（）#" + a + "#です"));
        for (const std::string& k : kgroup) ws.content.kgroup.push_back(sjis(k));
        if (!keyFile.empty()) ws.content.softKey = {keyFile};
        window = std::make_unique<TfrmPrint>(host, std::move(ws));
        window->Redraw();
        drillHost.place = {dir.folder() + "learner.ini", sjis("S11山と川")};
        frm = std::make_unique<TfrmRenshu>(drillHost, random);
        frm->allCorrectDialog = [this] { ++allCorrect; };
        frm->resize(1366, 740);
        frm->prepare(window.get());
        frm->show();
        frm->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    }
    template <typename T>
    T* Find(const char* name) {
        return frm->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* Box(int i) { return frm->answerBox(i); }
    void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
    void Type(int i, const QString& text) {
        QTest::sendKeyEvent(QTest::KeyAction::Click, Box(i), Qt::Key_unknown, text, Qt::NoModifier);
    }
    void Return(QWidget* target) { QTest::keyClick(target, Qt::Key_Return); }
    void Answer(int i, const QString& text) {
        Type(i, text);
        Return(Box(i));
    }

    // Reopens the drill over the same worksheet, as the main window does for the next unit.
    void Reopen() {
        frm->reject();
        frm->prepare(window.get());
        frm->show();
        frm->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    }

    std::vector<std::string> hint = {"山のつく漢字"};  // the unit's hint lines (UTF-8)
    int sheetOptions = 0;
    int boxWidth = LayoutParams{}.BoxWidth;  // pixels the answer frames are wider than the answers

    TempDir dir;
    NumberedHost host;
    FakeDrillHost drillHost{host};
    TestRandom random;
    std::unique_ptr<TfrmPrint> window;
    std::unique_ptr<TfrmRenshu> frm;
    int allCorrect = 0;
};

TEST_F(TfrmRenshuTest, OpeningNamesEveryControlAndLaysBoxesOverTheBlanks) {
    Open({"山", "川"}, {"川", "山", "川"});
    for (const char* name : {"pnlRenshu", "imgPaper2", "pnlSS", "grbTest", "pnlAnki", "grbSelect",
                             "grbMoji", "pnlKiroku", "memKiroku", "imgMess", "imgMessXX",
                             "grbColor", "rad1", "shpCol4", "M0", "M80", "Button120", "imgMemo"})
        EXPECT_NE(frm->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("山と川"));
    EXPECT_TRUE(Find<QRadioButton>("chkKaitou")->isChecked());
    EXPECT_FALSE(Find<QPushButton>("btnTouan")->isEnabled());
    EXPECT_FALSE(Find<QWidget>("pnlSS")->isVisible());
    EXPECT_FALSE(drillHost.alternatives);  // "別解表示" off while the drill is open
    EXPECT_EQ(Find<QListWidget>("lstKgroup")->count(), 2);
    EXPECT_EQ(Find<QPlainTextEdit>("memKiroku")->toPlainText(),
              QStringLiteral("練習の記録はありません"));

    Click("btnRenshu");
    const BlankTable& table = host.shared.blanks;
    ASSERT_EQ(table.BlankCount, 2);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_TRUE(Box(i)->isVisible());
        // A unit higher on a high-density screen, where the frame is drawn finer.
        const int lift = frm->imgPaper2->devicePixelRatioF() > 1 ? 1 : 0;
        EXPECT_EQ(Box(i)->pos(), QPoint(table.slots[i].left + 1, table.slots[i].top + 4 - lift));
        EXPECT_TRUE(frm->imgPaper2->rect().contains(Box(i)->geometry()));
    }
    EXPECT_FALSE(Box(3)->isVisible());
    EXPECT_LT(Box(1)->y(), Box(2)->y());

    frm->reject();
    EXPECT_TRUE(drillHost.alternatives);
}

TEST_F(TfrmRenshuTest, TheEnterThatEndsACompositionDoesNotGrade) {
    Open({"山", "川"});
    Click("btnRenshu");
    ASSERT_TRUE(Box(1)->hasFocus());
    Commit(Box(1), QStringLiteral("やま"), QString());
    Return(Box(1));  // the input method's Enter: still composing
    EXPECT_EQ(host.shared.blanks.slots[1].BlankStatus, blank_status::kOpen);
    Commit(Box(1), QString(), QStringLiteral("山"));
    EXPECT_EQ(Box(1)->text(), QStringLiteral("山"));
    Return(Box(1));
    EXPECT_EQ(host.shared.blanks.slots[1].BlankStatus, blank_status::kCorrect);
    EXPECT_TRUE(Box(2)->hasFocus());

    Type(2, QStringLiteral("谷"));
    QTest::keyClick(Box(2), Qt::Key_Tab);  // Tab stays on the blank
    EXPECT_TRUE(Box(2)->hasFocus());
    Return(Box(2));  // wrong: the text stays, selected, for correcting
    EXPECT_EQ(host.shared.blanks.slots[2].BlankStatus, blank_status::kWrong);
    EXPECT_TRUE(Box(2)->hasFocus());
    EXPECT_EQ(Box(2)->selectedText(), QStringLiteral("谷"));
    Type(2, QStringLiteral("川"));
    Return(Box(2));
    EXPECT_EQ(frm->engine().state(), DrillState::Results);
    EXPECT_EQ(frm->engine().marksText(), "Ox");
}

// The buttons keep the focus in the box, so a click does not end a composition by itself.
TEST_F(TfrmRenshuTest, ACommandClickedDuringACompositionTakesTheComposedText) {
    Open({"山", "川"}, {"山", "川"});
    Click("btnTest");
    Commit(Box(1), QStringLiteral("山"), QString());
    Click("btnSaiten");
    EXPECT_EQ(Box(1)->text(), QStringLiteral("山"));
    EXPECT_EQ(frm->engine().state(), DrillState::Results);
    EXPECT_EQ(frm->engine().marksText(), "Ox");

    Click("btnRenshu");
    Commit(Box(1), QStringLiteral("やま"), QString());
    auto* list = Find<QListWidget>("lstKgroup");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(Box(1)->text(), QStringLiteral("山"));  // the choice replaces the box
    Return(Box(1));  // no composition is left to swallow this Enter
    EXPECT_EQ(host.shared.blanks.slots[1].BlankStatus, blank_status::kCorrect);
}

TEST_F(TfrmRenshuTest, ChoicesAndNextKeepTheTypedAnswer) {
    Open({"山川", "森"}, {"森", "山川"});
    ASSERT_TRUE(Find<QRadioButton>("chkKaitou")->isChecked());
    Click("btnRenshu");
    auto* list = Find<QListWidget>("lstKgroup");
    ASSERT_TRUE(list->isVisible());
    // Sorted by bytes: 山川 (8E52) before 森 (9058).
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(Box(1)->text(), QStringLiteral("山川"));
    EXPECT_TRUE(Box(1)->hasFocus());
    Click("btnNext2");
    EXPECT_EQ(host.shared.blanks.slots[1].BlankStatus, blank_status::kCorrect);

    // The soft keyboard is swapped in; its keys append without taking the focus.
    Click("btnSoftKey");
    ASSERT_TRUE(Find<QWidget>("grbMoji")->isVisible());
    QPushButton* key = nullptr;
    for (int k = 1; k <= kSoftKeyCount && !key; ++k)
        if (frm->softKeys[k]->text() == QStringLiteral("森")) key = frm->softKeys[k];
    ASSERT_NE(key, nullptr);
    QTest::mouseClick(key, Qt::LeftButton);
    EXPECT_EQ(Box(2)->text(), QStringLiteral("森"));
    Click("btnNext");
    EXPECT_EQ(frm->engine().state(), DrillState::Results);
    EXPECT_EQ(allCorrect, 1);
}

// Every button reaches its own command: a handler wired to the wrong one shows in the boxes.
TEST_F(TfrmRenshuTest, TheMemoriseButtonsShowAndEraseTheAnswers) {
    Open({"山", "川"});
    Click("btnAnki");
    ASSERT_EQ(frm->engine().state(), DrillState::Memorise);
    EXPECT_EQ(Box(1)->text(), QStringLiteral("山"));
    Click("btnNextB");  // on, the answer left in sight
    EXPECT_EQ(Box(1)->text(), QStringLiteral("山"));
    EXPECT_EQ(Box(2)->text(), QStringLiteral("川"));
    Click("btnNextA");  // on, the answer erased; from the last blank back to the first
    EXPECT_TRUE(Box(2)->text().isEmpty());
    EXPECT_TRUE(Box(1)->hasFocus());
    Click("btnAllClear");
    EXPECT_TRUE(Box(1)->text().isEmpty());
    Click("btnShow");
    EXPECT_EQ(Box(1)->text(), QStringLiteral("山"));
    EXPECT_EQ(Box(2)->text(), QStringLiteral("川"));
    Click("btnClose");
    EXPECT_EQ(frm->engine().state(), DrillState::Ready);
    EXPECT_TRUE(Find<QWidget>("pnlRenshu")->isVisible());
    EXPECT_FALSE(Find<QWidget>("pnlAnki")->isVisible());
}

TEST_F(TfrmRenshuTest, TheRunAndSheetButtonsReachTheirCommands) {
    Open({"山", "川"}, {"山", "川"});
    Click("btnRenshu");
    Type(1, QStringLiteral("谷"));
    Click("btnClear2");  // the choice list's "クリア"
    EXPECT_TRUE(Box(1)->text().isEmpty());
    Click("btnSoftKey");
    ASSERT_TRUE(Find<QWidget>("grbMoji")->isVisible());
    Type(1, QStringLiteral("谷"));
    Click("btnClearS");  // the soft keyboard's
    EXPECT_TRUE(Box(1)->text().isEmpty());
    Click("btnAbort");
    EXPECT_EQ(frm->engine().state(), DrillState::Results);
    EXPECT_TRUE(Box(1)->isReadOnly());

    Click("btnTest");
    Answer(1, QStringLiteral("山"));
    Answer(2, QStringLiteral("谷"));
    Click("btnSaiten");
    ASSERT_EQ(frm->engine().state(), DrillState::Results);
    EXPECT_FALSE(Box(2)->isVisible());
    Click("btnSeikai");  // the right answer where the learner's was wrong
    EXPECT_FALSE(Box(1)->isVisible());
    EXPECT_TRUE(Box(2)->isVisible());
    EXPECT_EQ(Box(2)->text(), QStringLiteral("川"));
    Click("btnTouan");  // the learner's own answers again
    EXPECT_FALSE(Box(2)->isVisible());
    Click("btnFukushu");
    EXPECT_EQ(frm->engine().state(), DrillState::Review);
    EXPECT_TRUE(Box(2)->isVisible());
    EXPECT_TRUE(Box(2)->text().isEmpty());
    EXPECT_TRUE(Box(2)->hasFocus());
}

TEST_F(TfrmRenshuTest, EscapeNeedsTheStopAndATestIsRecordedOnDisk) {
    Open({"山", "川"});
    Click("btnTest");
    QTest::keyClick(frm.get(), Qt::Key_Escape);
    EXPECT_TRUE(frm->isVisible());
    Type(1, QStringLiteral("山"));
    Return(Box(1));
    Type(2, QStringLiteral("谷"));
    Return(Box(2));
    Click("btnSaiten");
    EXPECT_EQ(frm->engine().state(), DrillState::Results);
    const auto lines = ReadLines(dir.folder() + "learner.ini");
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), 2u);
    EXPECT_EQ((*lines)[0], sjis("[S11山と川]"));
    EXPECT_NE((*lines)[1].find(sjis(" Ox  1/ 2  50点 ")), std::string::npos) << (*lines)[1];
    EXPECT_EQ(drillHost.written, 1);
    EXPECT_TRUE(Find<QPushButton>("btnTouan")->isEnabled());

    // The result sheet carries a red mark on the wrong blank.
    const BlankRecord& wrong = host.shared.blanks.slots[2];
    int red = 0;
    const QImage sheet = frm->sheetImage();
    for (int y = wrong.top - 10; y < wrong.top + 40; ++y)
        for (int x = wrong.left - 10; x < wrong.left + 60; ++x)
            red += ColorAt(sheet, x, y) == QColor(255, 0, 0);
    EXPECT_GT(red, 10);

    QTest::keyClick(frm.get(), Qt::Key_Escape);
    EXPECT_FALSE(frm->isVisible());
}

// Writes one stroke on the pad as the mouse does: press, moves with the button held, release.
void Stroke(QWidget* pad, const std::vector<QPoint>& points) {
    auto send = [pad](QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, pad->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(pad, &e);
    };
    send(QEvent::MouseButtonPress, points.front(), Qt::LeftButton, Qt::LeftButton);
    for (const QPoint& p : points) send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, points.back(), Qt::LeftButton, Qt::NoButton);
}

TEST_F(TfrmRenshuTest, WrittenCharactersGoIntoTheAnswerBoxAndTheChoiceIsKept) {
    if (!HandwritingAvailable()) GTEST_SKIP() << "no handwriting model";
    Open({"一二", "川"});
    auto* tegaki = Find<QRadioButton>("chkTegaki");
    ASSERT_TRUE(tegaki->isEnabled());
    QTest::mouseClick(tegaki, Qt::LeftButton);
    EXPECT_EQ(std::get<bool>(drillHost.store.values.at({SettingsKey::Product, "TegakiInput"})),
              true);
    Click("btnRenshu");
    auto* pad = Find<HandwritingPad>("imgTegaki");
    ASSERT_TRUE(pad->isVisible());
    EXPECT_GE(pad->width(), 200);
    EXPECT_GE(pad->height(), 200);
    EXPECT_FALSE(Find<QWidget>("grbMoji")->isVisible());
    ASSERT_TRUE(Box(1)->hasFocus());

    // A wrong stroke taken back, then 一: candidates come without a button to press.
    Stroke(pad, {{100, 30}, {100, 100}, {100, 170}});
    Stroke(pad, {{30, 100}, {100, 102}, {170, 100}});
    ASSERT_EQ(pad->strokes().size(), 2u);
    Click("btnUndo");
    Click("btnUndo");
    EXPECT_TRUE(pad->strokes().empty());
    Stroke(pad, {{30, 100}, {100, 102}, {170, 100}});
    auto candidate = [this](const QString& text) -> QPushButton* {
        for (int k = 1; k <= TfrmRenshu::kCandidateCount; ++k)
            if (frm->btnKouho[k]->isEnabled() && frm->btnKouho[k]->text() == text)
                return frm->btnKouho[k];
        return nullptr;
    };
    QPushButton* ichi = candidate(QStringLiteral("一"));
    ASSERT_NE(ichi, nullptr);
    QTest::mouseClick(ichi, Qt::LeftButton);
    EXPECT_EQ(Box(1)->text(), QStringLiteral("一"));
    EXPECT_TRUE(Box(1)->hasFocus());  // the pad and candidates leave the box its focus
    EXPECT_TRUE(pad->strokes().empty());
    EXPECT_FALSE(frm->btnKouho[1]->isEnabled());

    // "クリア" clears the pad first, then the box.
    Stroke(pad, {{30, 60}, {170, 60}});
    Click("btnClear3");
    EXPECT_TRUE(pad->strokes().empty());
    EXPECT_EQ(Box(1)->text(), QStringLiteral("一"));
    Click("btnClear3");
    EXPECT_EQ(Box(1)->text(), QString());

    Stroke(pad, {{30, 100}, {170, 100}});
    QTest::mouseClick(candidate(QStringLiteral("一")), Qt::LeftButton);
    Stroke(pad, {{50, 60}, {150, 60}});
    Stroke(pad, {{20, 140}, {180, 140}});
    QPushButton* ni = candidate(QStringLiteral("二"));
    ASSERT_NE(ni, nullptr);
    QTest::mouseClick(ni, Qt::LeftButton);
    EXPECT_EQ(Box(1)->text(), QStringLiteral("一二"));
    Click("btnNext3");  // "次へ" grades as Enter does
    EXPECT_EQ(host.shared.blanks.slots[1].BlankStatus, blank_status::kCorrect);
    EXPECT_TRUE(Box(2)->hasFocus());

    // "入力切替" goes round the list, the keyboard and the pad; the learner's last choice stays.
    Click("btnSoftKey");
    EXPECT_TRUE(Find<QWidget>("grbSelect")->isVisible());
    EXPECT_FALSE(std::get<bool>(drillHost.store.values.at({SettingsKey::Product, "TegakiInput"})));
    Click("btnSoftKey");
    Click("btnSoftKey");
    EXPECT_TRUE(pad->isVisible());
    frm->reject();
    frm->prepare(window.get());
    EXPECT_TRUE(tegaki->isChecked());
}

TEST_F(TfrmRenshuTest, WithoutTheModelNoWritingPadIsOffered) {
    const std::string installed = HandwritingModelPath();
    SetHandwritingModelPath(dir.folder() + "none.model");
    drillHost.store.values[{SettingsKey::Product, "TegakiInput"}] = true;
    Open({"山"});
    SetHandwritingModelPath(installed);
    auto* tegaki = Find<QRadioButton>("chkTegaki");
    EXPECT_FALSE(tegaki->isEnabled());
    EXPECT_TRUE(tegaki->toolTip().contains(QStringLiteral("tegaki-zinnia-japanese")));
    EXPECT_TRUE(Find<QRadioButton>("chkKaitou")->isChecked());
    Click("btnRenshu");
    EXPECT_TRUE(Find<QWidget>("grbSelect")->isVisible());
    Click("btnSoftKey");
    Click("btnSoftKey");
    EXPECT_TRUE(Find<QWidget>("grbSelect")->isVisible());
    EXPECT_FALSE(Find<QWidget>("grbTegaki")->isVisible());
}

TEST_F(TfrmRenshuTest, TheStrokeOrderBoxIsKeptAndNamesThePackageWithoutTheFont) {
    SetFontLookup([](const std::string&) { return true; });
    Open({"山"});
    auto* hitsujun = Find<QCheckBox>("chkHitsujun");
    ASSERT_TRUE(hitsujun->isEnabled());
    EXPECT_FALSE(hitsujun->isChecked());
    // Under the answer commands of a run.
    Click("btnRenshu");
    ASSERT_TRUE(hitsujun->isVisible());
    Click("btnAnswer");
    const int plain = Find<QLabel>("imgMessXX")->pixmap().height();
    QTest::mouseClick(hitsujun, Qt::LeftButton);
    EXPECT_TRUE(std::get<bool>(drillHost.store.values.at({SettingsKey::Product, "StrokeOrder"})));
    Click("btnAnswer");
    // The character in the stroke-order face below the answer makes the message taller.
    EXPECT_GT(Find<QLabel>("imgMessXX")->pixmap().height(), plain + 30);
    frm->reject();
    frm->prepare(window.get());
    EXPECT_TRUE(hitsujun->isChecked());

    // Without the font: disabled, unticked, the package named; the learner's setting stays.
    frm->reject();
    SetFontLookup([](const std::string&) { return false; });
    frm->prepare(window.get());
    SetFontLookup({});
    EXPECT_FALSE(hitsujun->isEnabled());
    EXPECT_FALSE(hitsujun->isChecked());
    EXPECT_TRUE(hitsujun->toolTip().contains(QStringLiteral("fonts-kanjistrokeorders")));
    EXPECT_TRUE(std::get<bool>(drillHost.store.values.at({SettingsKey::Product, "StrokeOrder"})));
}

TEST_F(TfrmRenshuTest, TheStrokeOrderBoxIsReachableBetweenRunsByMouseAndKeyboard) {
    SetFontLookup([](const std::string&) { return true; });
    Open({"山"});
    SetFontLookup({});
    auto* hitsujun = Find<QCheckBox>("chkHitsujun");
    auto setting = [this]() -> std::optional<bool> {
        const auto it = drillHost.store.values.find({SettingsKey::Product, "StrokeOrder"});
        if (it == drillHost.store.values.end()) return std::nullopt;
        return std::get<bool>(it->second);
    };
    // Before any run: in the command column, named for a screen reader, its key in the tooltip.
    ASSERT_TRUE(hitsujun->isVisible());
    ASSERT_TRUE(hitsujun->isEnabled());
    EXPECT_TRUE(Find<QWidget>("pnlRenshu")->isAncestorOf(hitsujun));
    EXPECT_EQ(hitsujun->accessibleName(), QStringLiteral("筆順"));
    EXPECT_TRUE(hitsujun->accessibleDescription().contains(QStringLiteral("筆順")));
    EXPECT_TRUE(hitsujun->toolTip().contains(QStringLiteral("F7")));
    QTest::mouseClick(hitsujun, Qt::LeftButton);
    EXPECT_TRUE(hitsujun->isChecked());
    EXPECT_EQ(setting(), true);
    EXPECT_TRUE(frm->engine().strokeOrder());

    // From the keyboard: Tab reaches it from the commands, Space unticks it.
    frm->btnAnki->setFocus(Qt::TabFocusReason);
    for (int k = 0; k < 40 && !hitsujun->hasFocus(); ++k)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(hitsujun->hasFocus());
    QTest::keyClick(hitsujun, Qt::Key_Space);
    EXPECT_FALSE(hitsujun->isChecked());
    EXPECT_EQ(setting(), false);
    EXPECT_FALSE(frm->engine().strokeOrder());

    // In a run it stays where it was while the commands go; F7 ticks it from the answer box and
    // a click leaves the focus there.
    const QPoint at = hitsujun->mapTo(frm.get(), QPoint(0, 0));
    Click("btnRenshu");
    ASSERT_TRUE(hitsujun->isVisible());
    EXPECT_FALSE(frm->btnAnki->isVisible());
    EXPECT_FALSE(frm->btnEnd->isVisible());
    EXPECT_EQ(hitsujun->mapTo(frm.get(), QPoint(0, 0)), at);
    ASSERT_TRUE(Box(1)->hasFocus());
    QTest::keyClick(Box(1), Qt::Key_F7);
    QTRY_VERIFY(hitsujun->isChecked());
    EXPECT_EQ(setting(), true);
    EXPECT_TRUE(Box(1)->hasFocus());
    QTest::mouseClick(hitsujun, Qt::LeftButton);
    EXPECT_FALSE(hitsujun->isChecked());
    EXPECT_TRUE(Box(1)->hasFocus());

    // Graded, between runs again: the click still counts, and F7 does as well.
    Answer(1, QStringLiteral("山"));
    ASSERT_EQ(frm->engine().state(), DrillState::Results);
    ASSERT_TRUE(frm->btnAnki->isVisible());
    QTest::mouseClick(hitsujun, Qt::LeftButton);
    EXPECT_TRUE(hitsujun->isChecked());
    EXPECT_EQ(setting(), true);
    QTest::keyClick(frm.get(), Qt::Key_F7);
    QTRY_VERIFY(!hitsujun->isChecked());
    EXPECT_EQ(setting(), false);

    // Without the face: disabled between runs too, and a click changes nothing.
    frm->reject();
    drillHost.store.values[{SettingsKey::Product, "StrokeOrder"}] = true;
    SetFontLookup([](const std::string&) { return false; });
    frm->prepare(window.get());
    SetFontLookup({});
    frm->show();
    ASSERT_TRUE(hitsujun->isVisible());
    EXPECT_FALSE(hitsujun->isEnabled());
    EXPECT_TRUE(hitsujun->toolTip().contains(QStringLiteral("fonts-kanjistrokeorders")));
    QTest::mouseClick(hitsujun, Qt::LeftButton);
    EXPECT_FALSE(hitsujun->isChecked());
    EXPECT_EQ(setting(), true);
}

TEST_F(TfrmRenshuTest, SheetsWithTooManyAnswersAreRefused) {
    std::vector<std::string> answers(81, "山");
    Open(answers);
    EXPECT_FALSE(Find<QPushButton>("btnRenshu")->isEnabled());
    ASSERT_FALSE(host.prompts.shown.empty());
    EXPECT_EQ(host.prompts.shown.back(),
              sjis("解答欄が多すぎるため、このシートでは学習できません（８０個まで）"));
}

TEST_F(TfrmRenshuTest, TheKeyboardFileMustLieInsideTheCourse) {
    // The course lies in a subfolder, so that a name reaching out still stays in the test's own.
    host.program = dir.folder() + "course/";
    std::filesystem::create_directories(dir.path() / "course" / "kan3");
    test::WriteSjisFile(dir.path() / "course" / "kan3" / "keys.txt", {"森林"});
    test::WriteSjisFile(dir.path() / "outside.txt", {"外"});
    auto hasKey = [this](const QString& caption) {
        for (int k = 1; k <= kSoftKeyCount; ++k)
            if (frm->softKeys[k]->text() == caption) return true;
        return false;
    };

    Open({"森"}, {}, "kan3\\keys.txt");
    EXPECT_TRUE(hasKey(QStringLiteral("林")));
    EXPECT_TRUE(host.prompts.shown.empty());

    Open({"森"}, {}, "..\\outside.txt");
    EXPECT_FALSE(hasKey(QStringLiteral("外")));
    ASSERT_FALSE(host.prompts.shown.empty());
    EXPECT_NE(host.prompts.shown.back().find("outside.txt"), std::string::npos);
}

// Inside the frame of a box as it is on screen (the corners show what lies behind it).
QImage Inside(QLineEdit* box) {
    return box->grab()
        .toImage()
        .copy(box->rect().adjusted(3, 3, -3, -3))
        .convertToFormat(QImage::Format_RGB32);
}

// Inside a box as it looks showing its text from the start: a box like it, never focused.
QImage FromStart(QLineEdit* box) {
    QLineEdit shown(box->text());
    shown.setFont(box->font());
    shown.setPalette(box->palette());
    shown.setReadOnly(box->isReadOnly());
    shown.resize(box->size());
    shown.setCursorPosition(0);
    return shown.grab()
        .toImage()
        .copy(box->rect().adjusted(3, 3, -3, -3))
        .convertToFormat(QImage::Format_RGB32);
}

// A box over a one-character blank can be narrower than the character: what it holds is shown
// from its start, whether the drill put it there or the learner typed it and went on.
TEST_F(TfrmRenshuTest, NarrowBoxesShowTheirTextFromItsStart) {
    boxWidth = 0;
    host.size = 16;
    Open({"山", "川", "森"});
    ASSERT_LT(Box(2)->width(), QFontMetrics(Box(2)->font()).horizontalAdvance(u'川') + 8);
    Click("btnAnki");
    Click("btnShow");
    ASSERT_TRUE(Box(1)->hasFocus());
    for (int i = 2; i <= 3; ++i) {
        ASSERT_FALSE(Box(i)->text().isEmpty());
        EXPECT_EQ(Inside(Box(i)), FromStart(Box(i))) << i;
    }
    Click("btnClose");
    Click("btnTest");
    Type(1, QStringLiteral("山"));
    Return(Box(1));
    ASSERT_TRUE(Box(2)->hasFocus());
    Type(2, QStringLiteral("川"));
    QTest::mouseClick(Box(3), Qt::LeftButton);
    ASSERT_TRUE(Box(3)->hasFocus());
    for (int i = 1; i <= 2; ++i) EXPECT_EQ(Inside(Box(i)), FromStart(Box(i))) << i;
}

// ---- unusable characters, the memo pad, the sheet number, the message images ----------------

bool Ink(QRgb pixel) {
    return (pixel & 0xFFFFFF) != 0xFFFFFF;
}

// The smallest rectangle holding every pixel that is not white.
QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Ink(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

int RedPixels(const QImage& image) {
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) red += image.pixelColor(x, y) == QColor(Qt::red);
    return red;
}

// A message as it looks drawn where nothing can cut it.
QImage WholeMessage(const std::function<void(Canvas&)>& draw) {
    ImageCanvas canvas(1000, 1600);
    ClearMessage(canvas);
    draw(canvas);
    return canvas.image().convertToFormat(QImage::Format_RGB32);
}

TEST_F(TfrmRenshuTest, ABoxHoldingAnUnusableCharacterIsNeitherGradedNorLeftByAnyWay) {
    Open({"川", "山"}, {"川", "山"});
    Click("btnTest");
    ASSERT_TRUE(Box(1)->hasFocus());
    Type(1, QStringLiteral("川😀"));
    ASSERT_EQ(Box(1)->text(), QStringLiteral("川😀"));
    const std::string refusal =
        sjis("答えに使えない文字（U+1F600）が入っています。別の書き方で入力してください");
    auto expectRefused = [&](const char* how) {
        ASSERT_FALSE(host.prompts.shown.empty()) << how;
        EXPECT_EQ(host.prompts.shown.back(), refusal) << how;
        host.prompts.shown.clear();
        EXPECT_TRUE(Box(1)->hasFocus()) << how;
        EXPECT_EQ(Box(1)->text(), QStringLiteral("川😀")) << how;
        EXPECT_EQ(frm->engine().state(), DrillState::Test) << how;
        EXPECT_FALSE(frm->engine().firstAnswer(1).has_value()) << how;
    };

    Click("btnSaiten");
    expectRefused("採点");
    Return(Box(1));
    expectRefused("Enter");
    QTest::keyClick(Box(1), Qt::Key_Tab);
    EXPECT_TRUE(Box(1)->hasFocus());
    Click("btnNext2");
    expectRefused("入力");
    Click("btnSoftKey");
    ASSERT_TRUE(Find<QWidget>("grbMoji")->isVisible());
    Click("btnNext");
    expectRefused("次へ");
    QTest::mouseClick(Box(2), Qt::LeftButton);
    expectRefused("the next box");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "learner.ini"));

    // Written otherwise, the box is graded as it shows.
    Box(1)->selectAll();
    Type(1, QStringLiteral("川"));
    Return(Box(1));
    ASSERT_TRUE(Box(2)->hasFocus());
    Type(2, QStringLiteral("山"));
    Click("btnSaiten");
    EXPECT_EQ(frm->engine().state(), DrillState::Results);
    EXPECT_EQ(frm->engine().marksText(), "OO");
    EXPECT_TRUE(host.prompts.shown.empty());
}

TEST_F(TfrmRenshuTest, EveryOpeningStartsWithoutTheMemoPad) {
    Open({"山"});
    auto* memo = Find<MemoPad>("imgMemo");
    auto* button = Find<QPushButton>("btnMemo");
    EXPECT_FALSE(memo->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(memo->isVisible());
    Stroke(memo, {{20, 120}, {120, 130}, {200, 140}});
    ASSERT_GT(RedPixels(memo->pixmap().toImage()), 0);

    Reopen();
    EXPECT_FALSE(memo->isVisible());
    EXPECT_FALSE(button->isChecked());
    EXPECT_TRUE(Find<QWidget>("memKiroku")->isVisible());
    EXPECT_EQ(RedPixels(memo->pixmap().toImage()), 0);  // nothing of the last drawing is kept
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(memo->isVisible());
    EXPECT_EQ(RedPixels(memo->pixmap().toImage()), 0);
}

TEST_F(TfrmRenshuTest, TheSheetCarriesTheWorksheetsNumber) {
    sheetOptions = sheet_options::kNumberAndDate;
    Open({"山"});
    const QImage plain = frm->sheetImage().convertToFormat(QImage::Format_RGB32);
    host.number = sjis("№ 1");
    Reopen();
    const QImage numbered = frm->sheetImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(plain.size(), numbered.size());

    // The stamp line lies above the header's first rule, a row inked most of the way across.
    int rule = 0;
    for (int y = 0; y < plain.height() && !rule; ++y) {
        int ink = 0;
        for (int x = 0; x < plain.width(); ++x) ink += Ink(plain.pixel(x, y));
        if (ink > plain.width() / 2) rule = y;
    }
    ASSERT_GT(rule, 5);
    // Without a number the stamp begins with the blanks before the date; the number comes first.
    int firstInk = plain.width();
    for (int y = 0; y < rule; ++y)
        for (int x = 0; x < firstInk; ++x)
            if (Ink(plain.pixel(x, y))) firstInk = x;
    ASSERT_LT(firstInk, plain.width() / 2);
    int before = 0;
    for (int y = 0; y < rule; ++y)
        for (int x = 0; x < firstInk; ++x) before += Ink(numbered.pixel(x, y));
    EXPECT_GT(before, 15);
}

TEST_F(TfrmRenshuTest, TheRecordImageLiesBelowTheChoiceGroup) {
    Open({"山"});
    auto top = [this](const char* name) {
        return Find<QWidget>(name)->mapTo(frm.get(), QPoint()).y();
    };
    EXPECT_EQ(top("imgMess"), top("grbSelect") + Find<QWidget>("grbSelect")->height() + 20);
    const QWidget* panel = Find<QWidget>("pnlKiroku");
    EXPECT_TRUE(panel->rect().contains(Find<QWidget>("imgMess")->geometry()));
}

class TfrmRenshuMessageTest : public TfrmRenshuTest {
protected:
    // The message image shows the whole of what drawing it made, pixel for pixel, and its view
    // shows it or scrolls to every part of it.
    void ExpectShownWhole(const QImage& whole, const char* what) {
        const QRect ink = InkBox(whole);
        ASSERT_FALSE(ink.isEmpty()) << what;
        const QImage shown =
            frm->imgMessXX->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_TRUE(QRect(QPoint(), shown.size()).contains(ink))
            << what << ": ink to " << ink.right() << "," << ink.bottom() << ", image "
            << shown.width() << "x" << shown.height();
        EXPECT_EQ(shown.copy(ink), whole.copy(ink)) << what;
        auto* area = Find<QScrollArea>("scrMessXX");
        ASSERT_NE(area, nullptr);
        EXPECT_GT(area->viewport()->width() + area->horizontalScrollBar()->maximum(), ink.right())
            << what;
        EXPECT_GT(area->viewport()->height() + area->verticalScrollBar()->maximum(), ink.bottom())
            << what;
    }
    // Whether the message view shows its scroll bar of that direction.
    bool Bar(Qt::Orientation o) {
        auto* area = Find<QScrollArea>("scrMessXX");
        if (!area) return false;
        return (o == Qt::Vertical ? area->verticalScrollBar() : area->horizontalScrollBar())
            ->isVisible();
    }
    static std::vector<std::string> Sjis(const std::vector<std::string>& lines) {
        std::vector<std::string> out;
        for (const std::string& l : lines) out.push_back(sjis(l));
        return out;
    }
};

TEST_F(TfrmRenshuMessageTest, PraiseIsShownWhole) {
    Open({"山", "川", "森"});
    Click("btnRenshu");
    for (int word : {1, 2}) {  // よくできました, 合っています
        random.fixed = word;
        const int i = frm->engine().currentBlank();
        Type(i, i == 1 ? QStringLiteral("山") : QStringLiteral("川"));
        Return(Box(i));
        const std::string text =
            sjis("★★") + PraiseWords()[static_cast<std::size_t>(word)] + sjis("★★");
        ExpectShownWhole(WholeMessage([&](Canvas& c) { DrawMessageLine(c, 0, text, 18, kRed); }),
                         word == 1 ? "よくできました" : "合っています");
        EXPECT_GT(frm->imgMessXX->width(), 209);  // wider than the usual image: it grew
        EXPECT_FALSE(Bar(Qt::Horizontal));
    }
}

TEST_F(TfrmRenshuMessageTest, LongHintsAndAThirdAlternativeAreShownWhole) {
    hint = {"山のつく漢字", "川のつく漢字", "木のつく漢字", "水のつく漢字"};
    Open({"山;岳;嶺", "川"});
    Click("btnRenshu");
    Click("btnHint");
    ExpectShownWhole(WholeMessage([&](Canvas& c) { DrawHintText(c, Sjis(hint)); }), "hint");
    EXPECT_GT(frm->imgMessXX->height(), 100);

    Click("btnAnswer");
    ExpectShownWhole(WholeMessage([&](Canvas& c) {
                         DrawMessageLine(c, 0, sjis("正解は"), 18, kBlack);
                         for (int k = 0; k < 3; ++k)
                             DrawMessageLine(c, k + 2,
                                             sjis(std::vector<std::string>{"山", "岳", "嶺"}[k]),
                                             18, kBlack);
                     }),
                     "alternatives");
    EXPECT_FALSE(Bar(Qt::Vertical));
}

TEST_F(TfrmRenshuMessageTest, AShortMessageKeepsTheUsualSizeAndAnOverlongOneScrolls) {
    Open({"山"});
    Click("btnRenshu");
    Click("btnHint");
    EXPECT_EQ(frm->imgMessXX->size(), QSize(209, 100));
    EXPECT_FALSE(Bar(Qt::Vertical));
    EXPECT_FALSE(Bar(Qt::Horizontal));

    hint.clear();
    for (int k = 1; k <= 40; ++k) hint.push_back("ヒント" + std::to_string(k));
    Open({"山"});
    Click("btnRenshu");
    Click("btnHint");
    const QImage whole = WholeMessage([&](Canvas& c) { DrawHintText(c, Sjis(hint)); });
    ASSERT_GT(InkBox(whole).bottom(), frm->height());  // more than the window can show
    ExpectShownWhole(whole, "40 lines");
    EXPECT_TRUE(Bar(Qt::Vertical));
    EXPECT_FALSE(Bar(Qt::Horizontal));
    // The view stays inside the right panel.
    const QWidget* view = Find<QWidget>("scrMessXX");
    ASSERT_NE(view, nullptr);
    EXPECT_LE(view->geometry().bottom(), Find<QWidget>("pnlSS")->height());
}

}  // namespace
}  // namespace sulkan

namespace sulkan {
namespace {

// What a screen reader gets from the drill, and its commands from the keyboard.
using TfrmRenshuAccessTest = TfrmRenshuTest;

TEST_F(TfrmRenshuAccessTest, EveryControlIsNamedAndTheSheetReadsAsItsQuestionsWithoutAnswers) {
    Open({"山", "川"}, {"山", "川"});
    Click("btnRenshu");
    EXPECT_EQ(test::UnnamedControls(frm.get()), std::vector<std::string>{});
    EXPECT_EQ(Box(1)->accessibleName(), QStringLiteral("解答欄 1"));
    EXPECT_EQ(Box(1)->accessibleDescription(), QStringLiteral("（）【　】です"));
    EXPECT_EQ(Box(2)->accessibleName(), QStringLiteral("解答欄 2"));
    EXPECT_EQ(Box(2)->accessibleDescription(), QStringLiteral("（）【　】です"));
    auto* sheet = Find<QWidget>("imgPaper2");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->accessibleName(), QStringLiteral("問題用紙"));
    EXPECT_EQ(sheet->accessibleDescription(), QStringLiteral("（）（　）です\n（）（　）です"));
    // Nothing a screen reader reads gives the answers away.
    for (QWidget* w : frm->findChildren<QWidget*>()) {
        if (w->objectName() == QLatin1String("lstKgroup")) continue;
        for (const QString& text : {w->accessibleName(), w->accessibleDescription()}) {
            EXPECT_FALSE(text.contains(u'山') || text.contains(u'川'))
                << w->objectName().toStdString() << ": " << text.toStdString();
        }
    }
    EXPECT_EQ(Find<QWidget>("lstKgroup")->accessibleName(), QStringLiteral("解答選択"));
}

TEST_F(TfrmRenshuAccessTest, CommandKeysWorkFromTheAnswerBoxAndLeaveTheFocusThere) {
    Open({"山", "川"}, {"山", "川"});
    Click("btnRenshu");
    ASSERT_TRUE(Box(1)->hasFocus());
    for (const char* name :
         {"btnAnswer", "btnHint", "btnSoftKey", "btnAbort", "btnNext2", "btnClear2"}) {
        auto* button = Find<QPushButton>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(button->shortcut().isEmpty()) << name;
        EXPECT_TRUE(
            button->toolTip().contains(button->shortcut().toString(QKeySequence::NativeText)))
            << name;
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << name;
    }
    EXPECT_EQ(Find<QPushButton>("btnAnswer")->toolTip(), QStringLiteral("答えを見る（F2）"));

    QTest::keyClick(Box(1), Qt::Key_F2);  // 答えを見る
    QTRY_VERIFY(host.shared.blanks.slots[1].AnswerShown);
    EXPECT_TRUE(Box(1)->hasFocus());

    auto* list = Find<QListWidget>("lstKgroup");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    ASSERT_FALSE(Box(1)->text().isEmpty());
    QTest::keyClick(Box(1), Qt::Key_F6);  // クリア
    QTRY_VERIFY(Box(1)->text().isEmpty());
    EXPECT_TRUE(Box(1)->hasFocus());

    QTest::keyClick(Box(1), Qt::Key_F8);  // 中止
    QTRY_VERIFY(frm->engine().state() != DrillState::Practise);
}

// Run again by CTest with QT_SCALE_FACTOR 1.5 and 2: the sheet is drawn in as many more pixels,
// its blanks stay where they are on the worksheet at 1, and each box stands on its blank.
TEST_F(TfrmRenshuTest, AtEveryScaleTheSheetIsSharpAndTheBoxesStandOnTheirBlanks) {
    Open({"山", "川"}, {"川", "山", "川"});
    const BlankTable atOne = host.shared.blanks;  // the worksheet window's pass at its own size
    Click("btnRenshu");
    const double ratio = frm->imgPaper2->devicePixelRatioF();
    if (const QString factor = qEnvironmentVariable("QT_SCALE_FACTOR"); !factor.isEmpty()) {
        EXPECT_DOUBLE_EQ(ratio, factor.toDouble());
    }
    const QPixmap sheet = frm->imgPaper2->pixmap();
    EXPECT_DOUBLE_EQ(sheet.devicePixelRatio(), ratio);
    EXPECT_EQ(sheet.deviceIndependentSize().toSize(), window->sheetImage().size());
    EXPECT_EQ(sheet.width(), std::lround(window->sheetImage().width() * ratio));

    const BlankTable& table = host.shared.blanks;
    ASSERT_EQ(table.BlankCount, 2);
    ASSERT_EQ(atOne.BlankCount, 2);
    const QImage pixels = sheet.toImage();
    const auto inkIn = [&](QRect logical, int lightest = 160) {
        const QRect r(QPoint(static_cast<int>(logical.left() * ratio),
                             static_cast<int>(logical.top() * ratio)),
                      QPoint(static_cast<int>((logical.right() + 1) * ratio) - 1,
                             static_cast<int>((logical.bottom() + 1) * ratio) - 1));
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += qGray(pixels.pixel(x, y)) < lightest;
        return n;
    };
    for (int i = 1; i <= 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table.slots[i].left, atOne.slots[i].left);
        EXPECT_EQ(table.slots[i].top, atOne.slots[i].top);
        EXPECT_EQ(table.slots[i].width, atOne.slots[i].width);
        const QRect box = Box(i)->geometry();
        const int lift = ratio > 1 ? 1 : 0;
        EXPECT_EQ(box.topLeft(), QPoint(table.slots[i].left + 1, table.slots[i].top + 4 - lift));
        // Under the box's left part, where the hidden answer would stand, nothing is drawn;
        // just left of it the line's bracket is.
        const QRect line(box.left(), table.slots[i].top + 6, table.slots[i].width / 2, 14);
        EXPECT_EQ(inkIn(line), 0);
        // Not even a light edge of the blank's frame shows above the box.
        EXPECT_EQ(inkIn(QRect(box.left(), box.top() - 1, box.width(), 1), 240), 0);
        EXPECT_GT(inkIn(line.translated(-line.width() - 24, 0).adjusted(0, 0, 20, 0)), 0);
    }
}

}  // namespace
}  // namespace sulkan
