// The school-name, tips and version dialogs, alone and from the main window's menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRegularExpression>
#include <QTimer>

#include "Prompter.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmDoYouKnow.h"
#include "TfrmJuku.h"
#include "TfrmMain.h"
#include "TfrmVersion.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteSjisFile;

// Runs what while the next modal dialog is open; it must close the dialog.
template <typename F>
void WhenModal(F what) {
    QTimer::singleShot(0, [what] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        what(dialog);
    });
}

class JukuTest : public ::testing::Test {
protected:
    int show(const QString& typed, QPushButton* TfrmJuku::*button) {
        WhenModal([this, typed, button](QDialog*) {
            seen = dialog.edtSchool->text();
            if (!typed.isNull()) dialog.edtSchool->setText(typed);
            (dialog.*button)->click();
            if (dialog.isVisible()) dialog.reject();  // refused: closed by the test
        });
        return dialog.showModal();
    }
    std::string stored() { return settings.readString(SettingsKey::Product, "theSchool", "?"); }

    AppState state;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    TfrmJuku dialog{state, settings, prompter};
    QString seen;
};

TEST_F(JukuTest, OkStoresTheNameEvenEmptyAndCancelChangesNothing) {
    EXPECT_EQ(show(QStringLiteral("ひまわり塾　３年１組"), &TfrmJuku::btnOk), QDialog::Accepted);
    EXPECT_EQ(state.SchoolName, sjis("ひまわり塾　３年１組"));
    EXPECT_EQ(stored(), sjis("ひまわり塾　３年１組"));

    EXPECT_EQ(show(QStringLiteral("別の名前"), &TfrmJuku::btnCancel), QDialog::Rejected);
    EXPECT_EQ(state.SchoolName, sjis("ひまわり塾　３年１組"));
    EXPECT_EQ(stored(), sjis("ひまわり塾　３年１組"));

    EXPECT_EQ(show(QString(""), &TfrmJuku::btnOk), QDialog::Accepted);
    EXPECT_EQ(state.SchoolName, "");
    EXPECT_EQ(stored(), "");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(JukuTest, BoxShowsTheNameInUseWithAWorksheetAndKeepsItsTextWithout) {
    // After a restart the box starts from the stored name, so OK cannot erase it unseen.
    state.SchoolName = sjis("桜小学校");
    show(QString(), &TfrmJuku::btnOk);
    EXPECT_EQ(seen, QStringLiteral("桜小学校"));
    EXPECT_EQ(state.SchoolName, sjis("桜小学校"));

    // Without a worksheet the box keeps what was typed, even when cancelled.
    show(QStringLiteral("下書き"), &TfrmJuku::btnCancel);
    show(QString(), &TfrmJuku::btnCancel);
    EXPECT_EQ(seen, QStringLiteral("下書き"));
    // With one open it shows the name in use.
    state.OpenWorksheetCount = 1;
    show(QString(), &TfrmJuku::btnCancel);
    EXPECT_EQ(seen, QStringLiteral("桜小学校"));
}

TEST_F(JukuTest, CharacterWithoutShiftJisCodeIsRefusedAndNothingStored) {
    state.SchoolName = sjis("桜小学校");
    EXPECT_EQ(show(QStringLiteral("桜小学校😀"), &TfrmJuku::btnOk), QDialog::Rejected);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("1F600"), std::string::npos);
    EXPECT_EQ(state.SchoolName, sjis("桜小学校"));
    EXPECT_EQ(stored(), "?");
}

class DoYouKnowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.ShowTitleHook = [this] { ++titleShown; };
    }
    bool storedValue(bool otherwise) {
        auto it = settings.values.find({SettingsKey::Product, "ShowDoYouKnow"});
        return it == settings.values.end() ? otherwise : std::get<bool>(it->second);
    }

    AppState state;
    MemorySettingsStore settings;
    TfrmDoYouKnow dialog{state, settings};
    int titleShown = 0;
};

TEST_F(DoYouKnowTest, CloseButtonStoresTheBoxAndTheCloseBoxStoresNothing) {
    EXPECT_FALSE(dialog.btnRuidai->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.btnStudy->isVisibleTo(&dialog));

    WhenModal([this](QDialog*) {
        EXPECT_TRUE(dialog.chkNextTime->isChecked());
        dialog.chkNextTime->setChecked(false);
        dialog.close();  // the window's close box
    });
    dialog.showModal();
    EXPECT_TRUE(settings.values.empty());
    EXPECT_EQ(titleShown, 0);

    WhenModal([this](QDialog*) {
        EXPECT_TRUE(dialog.chkNextTime->isChecked()) << "each showing starts from the stored value";
        dialog.chkNextTime->setChecked(false);
        dialog.btnClose->click();
    });
    EXPECT_EQ(dialog.showModal(), QDialog::Accepted);
    EXPECT_FALSE(storedValue(true));
    EXPECT_EQ(titleShown, 1);

    // The next showing starts unticked; with a worksheet open the title stays as it is.
    state.OpenWorksheetCount = 1;
    WhenModal([this](QDialog*) {
        EXPECT_FALSE(dialog.chkNextTime->isChecked());
        dialog.chkNextTime->setChecked(true);
        dialog.btnClose->click();
    });
    dialog.showModal();
    EXPECT_TRUE(storedValue(false));
    EXPECT_EQ(titleShown, 1);
}

TEST(VersionTest, TextHasTheVersionAndTheDateOfTheBuild) {
    EXPECT_EQ(VersionText(0, "1", "2026.12.08"), "Version 0.10 2026.12.08");
    EXPECT_EQ(VersionText(2, "05", "2005.12.21"), "Version 2.05 2005.12.21");
    EXPECT_EQ(VersionText(1, "12", "2027.01.02"), "Version 1.12 2027.01.02");
    const QRegularExpression form(
        QStringLiteral("^Version \\d+\\.\\d\\d \\d{4}\\.\\d\\d\\.\\d\\d$"));
    EXPECT_TRUE(form.match(QString::fromStdString(BuildVersionText())).hasMatch())
        << BuildVersionText();

    TfrmVersion dialog;
    WhenModal([&](QDialog*) { dialog.btnOK->click(); });
    EXPECT_EQ(dialog.showFor(QStringLiteral("Sulkan++")), QDialog::Accepted);
    EXPECT_EQ(dialog.lblProductName->text(), QStringLiteral("Sulkan++"));
    EXPECT_EQ(dialog.lblVersion->text().toStdString(), BuildVersionText());
}

// The dialogs as the main window shows them.
class MainDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind",
                      {"漢字のコース", "メモ", "三年の漢字,kan3\\_kan3", ">>"});
        WriteSjisFile(course.path() / "kan3" / "kan3.ind",
                      {"三年", "[[sect1", "読み", "<<", "一", ">>", "]]"});
        settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
    }
    std::unique_ptr<TfrmMain> start() {
        const AppServices services{&settings, &prompter, course.path().string(), 1024, 768};
        auto w = std::make_unique<TfrmMain>(services);
        w->show();
        return w;
    }

    TempDir course, records;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
};

TEST_F(MainDialogsTest, WorksheetMenuSchoolNameReachesTheMainWindowState) {
    settings.values[{SettingsKey::Product, "theSchool"}] = sjis("旧校名");
    auto w = start();
    EXPECT_EQ(w->state().SchoolName, sjis("旧校名"));
    QDialog* shown = nullptr;
    WhenModal([&](QDialog* d) {
        shown = d;
        w->frmJuku->edtSchool->setText(QStringLiteral("新校名"));
        w->frmJuku->btnOk->click();
    });
    w->runCommand(WorksheetCommand::Juku);
    EXPECT_EQ(shown, w->frmJuku);
    EXPECT_EQ(w->state().SchoolName, sjis("新校名"));
    EXPECT_EQ(w->sheetHost().schoolName(), sjis("新校名"));  // what worksheets draw in their header
}

TEST_F(MainDialogsTest, TipsComeUpAfterStartOnlyWhenAskedForAndForTeachers) {
    // Each case records the modal dialog open once the start-up's queued call has run.
    auto tipsAfter = [](TfrmMain& w) {
        QDialog* shown = nullptr;
        w.ShowTipsAtStart();
        QTimer::singleShot(0, [&shown] {
            shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (shown) shown->reject();
        });
        QApplication::processEvents();
        QApplication::processEvents();
        return shown;
    };
    auto w = start();
    EXPECT_EQ(tipsAfter(*w), w->frmDoYouKnow);

    settings.values[{SettingsKey::Product, "ShowDoYouKnow"}] = false;
    auto off = start();
    EXPECT_EQ(tipsAfter(*off), nullptr);

    settings.values[{SettingsKey::Product, "ShowDoYouKnow"}] = true;
    settings.values[{SettingsKey::Product, "KeyLock"}] = true;
    auto learner = start();
    EXPECT_EQ(tipsAfter(*learner), nullptr);
}

}  // namespace
}  // namespace sulkan
