// The main window's one menu bar with worksheets open and closed, and learner mode: no teacher
// command reachable by menu or key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <set>

#include "Help.h"
#include "Prompter.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmEditIndex.h"
#include "TfrmEditQues.h"
#include "TfrmMain.h"
#include "TfrmPrint.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;
using namespace Qt::Literals::StringLiterals;

const QStringList kFrameTitles{u"ファイル(&F)"_s, u"編集(&E)"_s, u"ウィンドウ(&W)"_s,
                               u"ヘルプ(&H)"_s};
const QStringList kWorksheetTitles{u"ファイル(&F)"_s, u"編集(&E)"_s,       u"表示(&V)"_s,
                                   u"設定(&T)"_s,     u"ウィンドウ(&W)"_s, u"ヘルプ(&H)"_s};

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind", {"コース", "", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "山", "川", "林", ">>", "]]"});
        std::vector<std::string> que;
        for (const char* unit : {"[[unit1", "[[unit2", "[[unit3"})
            for (const char* line : {unit, "<<ques", "#やま#", ">>", "<<value", "630", "False",
                                     "40", "5", "5", "1", "7", ">>", "]]"})
                que.push_back(line);
        WriteSjisFile(course.path() / "kan3" / "kan31.que", que);
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
        const AppServices services{&settings, &prompter, course.path().string(), 1280, 1024};
        w = std::make_unique<TfrmMain>(services);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }

    TfrmPrint* open(int unit) {
        EXPECT_EQ(w->OpenUnitWorksheet({1, 1, unit, 0}, false), OpenResult::Opened);
        return w->activeWorksheet();
    }

    QStringList titles() const {
        QStringList t;
        for (QAction* a : w->menuBar()->actions())
            if (a->isVisible()) t << a->text();
        return t;
    }

    // Every action a user can reach: the bar's menus and their sub-menus, and the actions of
    // visible widgets (menus only through the bar).
    QList<QAction*> reachable() const {
        QList<QAction*> found;
        std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
            for (QAction* a : actions) {
                if (!a->isVisible() || found.contains(a)) continue;
                found << a;
                if (a->menu()) walk(a->menu()->actions());
            }
        };
        walk(w->actions());
        for (QWidget* c : w->findChildren<QWidget*>())
            if (c->isVisible() && !qobject_cast<QMenu*>(c)) walk(c->actions());
        return found;
    }

    static QString name(QAction* a) {
        return a->objectName().isEmpty() ? a->text() : a->objectName();
    }

    // Top-level &-letters, the item letters of each menu and the keys of everything reachable
    // are unique.
    void expectUniqueKeys() const {
        std::set<QKeySequence> top;
        for (QAction* a : w->menuBar()->actions()) {
            if (!a->isVisible()) continue;
            EXPECT_TRUE(top.insert(QKeySequence::mnemonic(a->text())).second)
                << a->text().toStdString();
            std::set<QKeySequence> items;
            for (QAction* i : a->menu()->actions()) {
                const QKeySequence letter = QKeySequence::mnemonic(i->text());
                if (i->isVisible() && !letter.isEmpty()) {
                    EXPECT_TRUE(items.insert(letter).second) << i->text().toStdString();
                }
            }
        }
        std::map<QKeySequence, QString> keys;
        for (QAction* a : reachable()) {
            if (!a->isEnabled()) continue;  // its keys do nothing
            for (const QKeySequence& k : a->shortcuts()) {
                EXPECT_TRUE(keys.emplace(k, name(a)).second)
                    << k.toString().toStdString() << " on " << name(a).toStdString() << " and "
                    << keys[k].toStdString();
            }
        }
    }

    // Sends every shortcut of every action and the Alt-letter of every menu, and returns the
    // names of what answered: actions triggered, menus popped up, dialogs opened (each closed at
    // once, so a wrong answer cannot block the test).
    std::set<QString> pressEveryKey() {
        std::set<QString> answered;
        std::vector<QMetaObject::Connection> spies;
        QList<QKeySequence> keys;
        for (QAction* a : w->findChildren<QAction*>()) {  // reachable or not
            spies.push_back(QObject::connect(a, &QAction::triggered,
                                             [&answered, a] { answered.insert(name(a)); }));
            keys << a->shortcuts();
            if (a->menu() && !QKeySequence::mnemonic(a->text()).isEmpty())
                keys << QKeySequence(QKeySequence::mnemonic(a->text())[0]);
        }
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&answered] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                answered.insert(m->objectName());
                m->close();
            }
        });
        guard.start(10);
        for (const QKeySequence& k : keys) {
            w->setFocus();
            QTest::keySequence(w.get(), k);
            QApplication::processEvents();
            while (QWidget* popup = QApplication::activePopupWidget()) {
                if (auto* m = qobject_cast<QMenu*>(popup)) answered.insert(m->objectName());
                popup->close();
                QApplication::processEvents();
            }
            // A bar that took the keyboard would let the arrow keys walk to its menus.
            if (QApplication::focusWidget() == w->menuBar()) {
                answered.insert(u"menuBar:"_s + k.toString());
                QTest::keyClick(w->menuBar(), Qt::Key_Escape);
            }
        }
        for (const auto& c : spies) QObject::disconnect(c);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return answered;
    }

    void expectLearnerLocked() {
        EXPECT_EQ(titles(), QStringList{u"ヘルプ(&H)"_s});
        const std::set<QString> allowed{u"mnuUsage"_s, u"mnuVersion"_s, u"mnuHelp"_s,
                                        u"menuBar:Alt+H"_s};
        for (QAction* a : reachable()) {
            if (!a->isEnabled()) continue;
            // A child window's frame may still be moved or sized (its own menu, checked below).
            if (auto* sub =
                    qobject_cast<QMdiSubWindow*>(a->parent() ? a->parent()->parent() : nullptr);
                sub && a->parent() == sub->systemMenu())
                continue;
            if (a == w->mnuHelp->menuAction()) continue;
            EXPECT_TRUE(allowed.count(name(a))) << name(a).toStdString() << " is reachable";
        }
        for (QMdiSubWindow* sub : w->mdiArea->subWindowList()) {
            if (qobject_cast<TfrmPrint*>(sub->widget())) {
                EXPECT_FALSE(sub->systemMenu()->actions().last()->isEnabled()) << "its close item";
            }
        }
        const int windows = static_cast<int>(w->mdiArea->subWindowList().size());
        for (const QString& n : pressEveryKey())
            EXPECT_TRUE(allowed.count(n)) << n.toStdString() << " answered a key";
        EXPECT_EQ(w->mdiArea->subWindowList().size(), windows);
    }

    TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmMain> w;
};

TEST_F(MenuBarTest, OneBarCarriesTheActiveWorksheetsMenus) {
    EXPECT_EQ(titles(), kFrameTitles);
    EXPECT_EQ(w->menuBar()->actions().first(), w->mnuFile->menuAction());
    expectUniqueKeys();

    TfrmPrint* first = open(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(titles(), kWorksheetTitles);
    EXPECT_EQ(w->menuBar()->actions().mid(0, 4),
              (QList<QAction*>{first->mnuFile->menuAction(), first->mnuEdit->menuAction(),
                               first->mnuShow->menuAction(), first->mnuSetting->menuAction()}));
    EXPECT_EQ(w->findChildren<QMenuBar*>().size(), 1);
    // The frame's copy-file and class-record items are the same objects in the worksheet's File.
    EXPECT_TRUE(first->mnuFile->actions().contains(w->mnuOpenCopy));
    EXPECT_TRUE(first->mnuFile->actions().contains(w->mnuClassRecords));
    expectUniqueKeys();

    TfrmPrint* second = open(2);
    ASSERT_NE(second, first);
    EXPECT_EQ(titles(), kWorksheetTitles);
    EXPECT_EQ(w->menuBar()->actions().first(), second->mnuFile->menuAction());
    expectUniqueKeys();
    w->mdiArea->setActiveSubWindow(w->subWindowOf(first));
    EXPECT_EQ(w->menuBar()->actions().first(), first->mnuFile->menuAction());
    expectUniqueKeys();

    // Only the active worksheet answers its shortcut.
    int firstSaves = 0, secondSaves = 0;
    QObject::connect(first->mnuSaveMaster, &QAction::triggered, [&] { ++firstSaves; });
    QObject::connect(second->mnuSaveMaster, &QAction::triggered, [&] { ++secondSaves; });
    QTest::keySequence(w.get(), QKeySequence::Save);
    EXPECT_EQ(firstSaves, 1);
    EXPECT_EQ(secondSaves, 0);

    w->btnFpClose->click();
    QApplication::processEvents();
    EXPECT_EQ(w->menuBar()->actions().first(), second->mnuFile->menuAction());
    w->btnFpClose->click();
    QApplication::processEvents();
    EXPECT_EQ(w->state().OpenWorksheetCount, 0);
    EXPECT_EQ(titles(), kFrameTitles);
    EXPECT_EQ(w->menuBar()->actions().first(), w->mnuFile->menuAction());
}

TEST_F(MenuBarTest, LearnerModeLeavesNoTeacherCommandAndTeacherModeRestoresAll) {
    w->SetLearnerMode(true);
    expectLearnerLocked();
    w->SetLearnerMode(false);
    EXPECT_EQ(titles(), kFrameTitles);
    EXPECT_TRUE(w->mnuDoYouKnow->isVisible() && w->mnuDoYouKnow->isEnabled());

    open(1);
    open(2);
    w->mnuMaximize->trigger();
    w->SetLearnerMode(true);
    // A maximised child window puts its buttons into the bar; a locked one has none to put.
    QWidget* corner = w->menuBar()->cornerWidget(Qt::TopRightCorner);
    EXPECT_TRUE(!corner || corner->sizeHint().width() == 0);
    expectLearnerLocked();
    TfrmPrint* active = open(3);
    ASSERT_NE(active, nullptr);
    expectLearnerLocked();

    w->SetLearnerMode(false);
    EXPECT_EQ(titles(), kWorksheetTitles);
    EXPECT_EQ(w->menuBar()->actions().first(), active->mnuFile->menuAction());
    expectUniqueKeys();
    QMdiSubWindow* sub = w->subWindowOf(active);
    EXPECT_TRUE(sub->systemMenu()->actions().last()->isEnabled()) << "its close item";
    ASSERT_TRUE(sub->isMaximized());
    corner = w->menuBar()->cornerWidget(Qt::TopRightCorner);
    ASSERT_NE(corner, nullptr);
    EXPECT_GT(corner->sizeHint().width(), 0);
    int saves = 0;
    QObject::connect(active->mnuSaveMaster, &QAction::triggered, [&] { ++saves; });
    QTest::keySequence(w.get(), QKeySequence::Save);
    EXPECT_EQ(saves, 1);
}

TEST_F(MenuBarTest, ALearnersChangesAreNeverOfferedForSaving) {
    TfrmPrint* sheet = open(1);
    ASSERT_NE(sheet, nullptr);
    const std::string before = test::ReadRawFile(course.path() / "kan3" / "kan31.que");
    w->SetLearnerMode(true);
    w->chkKaiSize->click();
    EXPECT_FALSE(sheet->worksheet().modified);
    // Closing the program asks nothing, so a learner cannot overwrite the question file.
    prompter.answers = {Answer::Yes};
    prompter.shown.clear();
    w->close();
    QApplication::processEvents();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(test::ReadRawFile(course.path() / "kan3" / "kan31.que"), before);
}

TEST_F(MenuBarTest, TheEditorsHelpButtonsOpenTheirTopics) {
    SetHelpFolders({QStringLiteral(SULKAN_SOURCE_DIR "/help")});
    // The index editor's own button, and a request from the question editor (its source
    // editor's, passed on).
    w->frmEditIndex->btnHelp->click();
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    EXPECT_EQ(CurrentHelpWindow()->currentPage(), HelpPageOf(730));
    Q_EMIT w->frmEditQues->helpRequested(720);
    EXPECT_EQ(CurrentHelpWindow()->currentPage(), HelpPageOf(720));
    SetHelpFolders({});
}

}  // namespace
}  // namespace sulkan
