// Learner log-on: the roster, the password per lesson, names that cannot name a record file.
#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <memory>

#include "AppState.h"
#include "FileLock.h"
#include "LineFile.h"
#include "ProfileFile.h"
#include "Prompter.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmInputName.h"
#include "TfrmPassword.h"

namespace sulkan {
namespace {

using test::Sjis;

struct LogOn {
    test::TempDir course, records;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    ScriptedPrompter prompter;
    MemorySettingsStore settings;
    std::unique_ptr<TfrmInputName> dialog;
    int loggedOn = 0;

    LogOn() {
        state->ProgramFolder = course.folder();
        state->RecordsFolder = records.folder();
        state->LogOnFolder = records.folder() + "LogOn";
        std::filesystem::create_directories(records.path() / "LogOn");
        for (int lesson : {1, 2}) {
            const std::string folder = "kan" + std::to_string(lesson);
            state->Course.LessonFolders[lesson] = folder + "\\";
            state->Course.LessonBaseNames[lesson] = folder;
            std::filesystem::create_directories(course.path() / folder);
        }
        state->LearnerName = sjis("共通");
        dialog = std::make_unique<TfrmInputName>(*state, prompter, settings);
        dialog->LoggedOnHook = [this] { ++loggedOn; };
    }
    std::vector<std::string> roster() const {
        return ReadLines(state->LogOnFolder + "/sname.txt").value_or(std::vector<std::string>{});
    }
    std::string password(int lesson, const std::string& learner) const {
        return ProfileFile(course.folder() + "kan" + std::to_string(lesson) + "\\" + learner +
                           ".ini")
            .read("password", "pw", "?");
    }
    // Types a name and presses OK (a password dialog is answered by a timer set beforehand).
    void logOn(const QString& name) {
        if (!dialog->isVisible()) dialog->show();
        dialog->edtName->setText(name);
        dialog->btnOk->click();
    }
};

void Type(TfrmPassword& p, const QString& first, const QString& second, bool ok = true) {
    p.mskPW->setText(first);
    p.mskPW2->setText(second);
    (ok ? p.btnOk : p.btnCancel)->click();
}

TEST(LogOn, FirstUseCreatesTheRosterAndCommonNeedsNoPassword) {
    LogOn t;
    t.dialog->show();
    EXPECT_EQ(t.roster(), Sjis({"共通"}));
    EXPECT_EQ(t.dialog->edtMeibo->text(), QStringLiteral("sname.txt"));
    t.state->LearnerName = "taro";
    t.logOn(QStringLiteral("共通"));
    EXPECT_EQ(t.state->LearnerName, sjis("共通"));
    EXPECT_EQ(t.settings.readString(SettingsKey::Product, "LogOnName", ""), sjis("共通"));
    EXPECT_EQ(t.loggedOn, 1);
    EXPECT_TRUE(t.prompter.shown.empty());
}

TEST(LogOn, PasswordsPerLessonSetOnceAndChecked) {
    LogOn t;
    // A new name is kept in the roster even when the password is cancelled.
    QTimer::singleShot(0, [&] { Type(*t.dialog->frmPassword, "", "", false); });
    t.logOn(QStringLiteral("taro"));
    EXPECT_EQ(t.roster(), Sjis({"共通", "taro"}));
    EXPECT_EQ(t.state->LearnerName, sjis("共通"));
    EXPECT_TRUE(t.dialog->isVisible());

    // Three bytes are refused; two double-byte characters are four; confirmation must match.
    QTimer::singleShot(0, [&] {
        TfrmPassword& p = *t.dialog->frmPassword;
        EXPECT_TRUE(p.mskPW2->isVisibleTo(&p));
        EXPECT_EQ(p.mskPW->echoMode(), QLineEdit::Password);
        Type(p, "abc", "abc");
        Type(p, QStringLiteral("秘密"), QStringLiteral("秘蜜"));
        Type(p, QStringLiteral("秘密"), QStringLiteral("秘密"));
    });
    t.logOn(QStringLiteral("taro"));
    EXPECT_EQ(t.prompter.shown, Sjis({"４文字以上にしてください", "確認のため再入力してください"}));
    EXPECT_EQ(t.state->LearnerName, "taro");
    EXPECT_EQ(t.password(1, "taro"), sjis("秘密"));
    EXPECT_EQ(t.password(2, "taro"), "?");

    // The stored password is asked for, not set again; a wrong one keeps the dialog open.
    t.prompter.shown.clear();
    t.state->LearnerName = sjis("共通");
    QTimer::singleShot(0, [&] {
        TfrmPassword& p = *t.dialog->frmPassword;
        EXPECT_FALSE(p.mskPW2->isVisibleTo(&p));
        Type(p, "wrong", "");
        Type(p, QStringLiteral("秘密"), "");
    });
    t.logOn(QStringLiteral("taro"));
    EXPECT_EQ(t.prompter.shown, Sjis({"パスワードを正しく入力してください"}));
    EXPECT_EQ(t.state->LearnerName, "taro");

    // Another lesson has its own password.
    t.state->CurrentUnit.lesson = 2;
    QTimer::singleShot(0, [&] { Type(*t.dialog->frmPassword, "\"pw\"", "\"pw\""); });
    t.logOn(QStringLiteral("taro"));
    EXPECT_EQ(t.password(2, "taro"), "\"pw\"");

    // A name that differs only in case is another learner.
    QTimer::singleShot(0, [&] { Type(*t.dialog->frmPassword, "", "", false); });
    t.logOn(QStringLiteral("Taro"));
    EXPECT_EQ(t.roster(), Sjis({"共通", "taro", "Taro"}));
}

TEST(LogOn, NamesThatCannotNameAFileChangeNothing) {
    LogOn t;
    t.dialog->show();
    t.dialog->lstName->setCurrentRow(0);
    t.dialog->btnDelete->click();  // not saved until OK
    for (const QString& name :
         {QStringLiteral("CON"), QStringLiteral("a/b"), QStringLiteral("x..y"),
          QStringLiteral("花子　"), QStringLiteral("😀")}) {
        t.prompter.shown.clear();
        t.logOn(name);
        EXPECT_EQ(t.prompter.shown.size(), 1u) << name.toStdString();
        EXPECT_EQ(t.roster(), Sjis({"共通"}));
        EXPECT_EQ(t.state->LearnerName, sjis("共通"));
    }
    // OK with an empty name saves the roster and closes with Cancel.
    t.logOn("");
    EXPECT_TRUE(t.roster().empty());
    EXPECT_EQ(t.dialog->result(), QDialog::Rejected);
}

TEST(LogOn, ARosterChangedOnAnotherComputerMeanwhileKeepsThoseChanges) {
    LogOn t;
    const auto file = t.records.path() / "LogOn" / "sname.txt";
    t.dialog->show();
    // Another computer adds hanako while this dialog is open; here jiro is added.
    test::WriteSjisFile(file, {"共通", "hanako"});
    t.dialog->edtName->setText(QStringLiteral("jiro"));
    t.dialog->btnAdd->click();
    t.logOn(QStringLiteral("共通"));
    EXPECT_EQ(t.roster(), Sjis({"共通", "hanako", "jiro"}));
    EXPECT_EQ(t.loggedOn, 1);

    // Another computer removes jiro; here hanako is removed. Neither comes back.
    t.dialog->show();
    ASSERT_EQ(t.dialog->lstName->count(), 3);
    test::WriteSjisFile(file, {"共通", "hanako"});
    t.dialog->lstName->setCurrentRow(1);
    t.dialog->btnDelete->click();
    t.logOn(QStringLiteral("共通"));
    EXPECT_EQ(t.roster(), Sjis({"共通"}));

    // A roster nothing was changed in is not written again (a teacher's read-only roster still
    // lets learners log on): its bytes stay as they are.
    test::WriteRawFile(file, sjis("共通\nhanako"));
    t.dialog->show();
    t.logOn(QStringLiteral("共通"));
    EXPECT_EQ(test::ReadRawFile(file), sjis("共通\nhanako"));
    EXPECT_EQ(t.loggedOn, 3);
    EXPECT_TRUE(t.prompter.shown.empty());
}

// A read-only lesson folder (a share) while the test runs as root.
struct ReadOnlyFolders {
    ReadOnlyFolders() { testing_hooks::folderWritable = &never; }
    ~ReadOnlyFolders() { testing_hooks::folderWritable = nullptr; }
    std::function<bool(const std::string&)> never = [](const std::string&) { return false; };
};

bool Mentions(const std::vector<std::string>& shown, const std::string& text) {
    for (const std::string& message : shown)
        if (message.find(text) != std::string::npos) return true;
    return false;
}

TEST(LogOn, APasswordInAReadOnlyLessonFolderIsAskedForNotSetAgain) {
    LogOn t;
    const auto lessonFile = t.course.path() / "kan1" / "taro.ini";
    test::WriteSjisFile(lessonFile, {"[password]", "pw=abcd", "[S11駅]",
                                     "1=2003年10月15日 14:05 OxOO  3/ 4  75点 01:23"});
    const std::string before = test::ReadRawFile(lessonFile);
    const ReadOnlyFolders readOnly;
    bool asked = false;
    QTimer::singleShot(0, [&] {
        TfrmPassword& p = *t.dialog->frmPassword;
        asked = !p.mskPW2->isVisibleTo(&p);
        // Anyone setting a "new" password would take the name over: the old one is required.
        Type(p, "efgh", "efgh");
        Type(p, "abcd", "");
    });
    t.logOn(QStringLiteral("taro"));
    EXPECT_TRUE(asked);
    EXPECT_EQ(t.prompter.shown, Sjis({"パスワードを正しく入力してください"}));
    EXPECT_EQ(t.state->LearnerName, "taro");
    EXPECT_EQ(test::ReadRawFile(lessonFile), before);
    EXPECT_FALSE(std::filesystem::exists(t.records.path() / "kan1" / "taro.ini"));

    // A new learner's password goes where records go now, and is asked for from there.
    QTimer::singleShot(0, [&] { Type(*t.dialog->frmPassword, "wxyz", "wxyz"); });
    t.logOn(QStringLiteral("hanako"));
    EXPECT_EQ(t.state->LearnerName, "hanako");
    EXPECT_EQ(ProfileFile(t.records.folder() + "kan1\\hanako.ini").read("password", "pw", "?"),
              "wxyz");
    asked = false;
    QTimer::singleShot(0, [&] {
        TfrmPassword& p = *t.dialog->frmPassword;
        asked = !p.mskPW2->isVisibleTo(&p);
        Type(p, "wxyz", "");
    });
    t.logOn(QStringLiteral("hanako"));
    EXPECT_TRUE(asked);
}

TEST(LogOn, APasswordThatCannotBeSavedIsSaidWithTheFileAndLogsNobodyOn) {
    LogOn t;
    // A folder where the record file should be: nothing can replace it.
    std::filesystem::create_directories(t.course.path() / "kan1" / "taro.ini");
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        TfrmPassword& p = *t.dialog->frmPassword;
        Type(p, "abcd", "abcd");
        stillOpen = p.isVisible();
        Type(p, "", "", false);
    });
    t.logOn(QStringLiteral("taro"));
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_TRUE(Mentions(t.prompter.shown, "taro.ini")) << t.prompter.shown[0];
    EXPECT_TRUE(Mentions(t.prompter.shown, sjis("保存できませんでした"))) << t.prompter.shown[0];
    EXPECT_EQ(t.state->LearnerName, sjis("共通"));
    EXPECT_TRUE(std::filesystem::is_directory(t.course.path() / "kan1" / "taro.ini"));
    // The name itself was kept in the roster.
    EXPECT_EQ(t.roster(), Sjis({"共通", "taro"}));

    // The lesson folder is read-only and the records folder's lesson folder cannot be made: the
    // message says why.
    const ReadOnlyFolders readOnly;
    test::WriteRawFile(t.records.path() / "kan1", "a file, not a folder");
    t.prompter.shown.clear();
    QTimer::singleShot(0, [&] {
        TfrmPassword& p = *t.dialog->frmPassword;
        Type(p, "abcd", "abcd");
        Type(p, "", "", false);
    });
    t.logOn(QStringLiteral("hanako"));
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_TRUE(Mentions(t.prompter.shown, "hanako.ini")) << t.prompter.shown[0];
    EXPECT_TRUE(Mentions(t.prompter.shown, sjis("（"))) << t.prompter.shown[0];
    EXPECT_EQ(t.state->LearnerName, sjis("共通"));
    EXPECT_EQ(test::ReadRawFile(t.records.path() / "kan1"), "a file, not a folder");
}

TEST(LogOn, ARosterThatCannotBeSavedIsSaidWithTheFileAndChangesNothing) {
    LogOn t;
    // The roster's folder is gone (a share that went away).
    t.state->LogOnFolder = t.records.folder() + "gone\\LogOn";
    t.dialog->show();
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_TRUE(Mentions(t.prompter.shown, "sname.txt")) << t.prompter.shown[0];
    EXPECT_TRUE(Mentions(t.prompter.shown, sjis("（"))) << t.prompter.shown[0];
    t.prompter.shown.clear();
    t.logOn(QStringLiteral("共通"));
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_TRUE(Mentions(t.prompter.shown, "sname.txt")) << t.prompter.shown[0];
    EXPECT_TRUE(t.dialog->isVisible());
    EXPECT_EQ(t.loggedOn, 0);
    EXPECT_FALSE(std::filesystem::exists(t.records.path() / "gone"));
}

}  // namespace
}  // namespace sulkan
