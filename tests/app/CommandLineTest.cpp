// The program's own command line: help and version run the installed binary without a display,
// wrong arguments are refused, and a copy file given at start-up (as the file manager gives it)
// opens in the course that holds it.
#include <gtest/gtest.h>

#include <QDir>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <sstream>

#include "CommandLineHelp.h"
#include "CopyFileOpen.h"
#include "Desktop.h"
#include "Prompter.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmMain.h"
#include "TfrmPrint.h"
#include "TfrmVersion.h"

namespace sulkan {
namespace {

using test::Sjis;
using test::TempDir;
using test::WriteSjisFile;

struct ProgramRun {
    int status = -1;
    QByteArray out, err;
};

// The program with no display at all: a window or a display connection would make it fail.
ProgramRun RunProgram(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(SULKAN_PROGRAM), arguments);
    ProgramRun run;
    if (!process.waitForFinished(30000)) return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

TEST(CommandLineTest, HelpPrintsEveryModeWithoutADisplay) {
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        SCOPED_TRACE(option.toStdString());
        const ProgramRun run = RunProgram({option});
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_EQ(run.out.toStdString(), ProgramUsage());
    }
    const std::string usage = ProgramUsage();
    for (const char* part :
         {"sulkan [コースのフォルダ | ファイル.skn]", "sulkan --version", "sulkan check",
          "sulkan export", "sulkan print", "sulkan records", "--mode faithful|printer",
          "--paper B5|A4|B4|A3", "--numbered", "--xlsx", "--questions", "--all-runs",
          "終了ステータス", "QT_QPA_PLATFORM", "SULKAN_HELP_DIR", "進み具合:", "中断（Ctrl+C）"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
}

TEST(CommandLineTest, VersionPrintsTheBuildsVersionWithoutADisplay) {
    const ProgramRun run = RunProgram({QStringLiteral("--version")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), CommandLineVersionText() + "\n");
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral(R"(^Sulkan\+\+ \d+\.\d+ \(\d{4}\.\d\d\.\d\d\)\n$)"))
            .match(QString::fromUtf8(run.out))
            .hasMatch())
        << run.out.toStdString();
}

TEST(CommandLineTest, ModeHelpPrintsThatModesUsageAndWrongArgumentsItOnStandardError) {
    for (const char* mode : {"check", "export", "print", "records"}) {
        SCOPED_TRACE(mode);
        const ProgramRun run = RunProgram({QString::fromLatin1(mode), QStringLiteral("--help")});
        EXPECT_EQ(run.status, 0);
        ASSERT_TRUE(ModeUsage(mode).has_value());
        EXPECT_EQ(run.out.toStdString(), *ModeUsage(mode));
        EXPECT_NE(run.out.toStdString().find(std::string("sulkan ") + mode), std::string::npos);
    }
    EXPECT_NE(ModeUsage("print")->find("--mode faithful|printer"), std::string::npos);
    // Each sheet command says when it reports its progress.
    EXPECT_NE(ModeUsage("export")->find("標準エラーが端末なら"), std::string::npos);
    EXPECT_NE(ModeUsage("print")->find("--numbered の複数部は部ごとに"), std::string::npos);

    const ProgramRun wrong = RunProgram({QStringLiteral("export"), QStringLiteral("--bogus")});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.out.isEmpty());
    // After whatever the toolkit says about the environment (XDG_RUNTIME_DIR).
    EXPECT_TRUE(wrong.err.endsWith(QByteArray::fromStdString(*ModeUsage("export"))))
        << wrong.err.toStdString();
}

TEST(CommandLineTest, OnlyALoneOptionOrAModeFollowedByItIsARequestForInformation) {
    std::ostringstream out;
    EXPECT_FALSE(RunInfoOption({}, "v", out));
    EXPECT_FALSE(RunInfoOption({"--help", "course"}, "v", out));
    EXPECT_FALSE(RunInfoOption({"course", "--help"}, "v", out));  // not a mode
    EXPECT_FALSE(RunInfoOption({"export", "--unit", "1-1-1", "--help"}, "v", out));
    EXPECT_FALSE(RunInfoOption({"--versions"}, "v", out));
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(RunInfoOption({"--version"}, "Sulkan++ 9.9 (2000.01.01)", out), 0);
    EXPECT_EQ(out.str(), "Sulkan++ 9.9 (2000.01.01)\n");
    EXPECT_FALSE(ModeUsage("").has_value());
    EXPECT_FALSE(ModeUsage("--help").has_value());
}

// A course with two lessons; copy files lie in the lesson folders as "コピー保存" puts them.
class CopyFileStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind",
                      {"コース", "", "三年の漢字,kan3\\_kan3", "四年の漢字,kan4\\_kan4", ">>"});
        for (const char* lesson : {"kan3", "kan4"})
            WriteSjisFile(course.path() / lesson / (std::string(lesson) + ".ind"),
                          {"漢字", "[[sect1", "読み", "<<", "山と川", ">>", "]]"});
        WriteSjisFile(course.path() / "kan4" / "mine.skn",
                      {"[[unitX", "<<ques", "（１）#やま#に登る", "（２）#かわ#で遊ぶ", ">>",
                       "<<value", "630", "False", "40", "5", "5", "1", "7", ">>", "]]"});
    }
    void TearDown() override { QDir::setCurrent(m_before); }

    QString path(const std::filesystem::path& p) const {
        return QString::fromStdString(p.string());
    }

    const QString m_before = QDir::currentPath();
    TempDir course, elsewhere;
};

TEST_F(CopyFileStartTest, ACopyFilesCourseIsItsLessonFolderAboveOrTheFolderItself) {
    const StartArgument inLesson = EnterStartArgument({path(course.path() / "kan4" / "mine.skn")});
    EXPECT_TRUE(inLesson.problem.isEmpty());
    EXPECT_TRUE(inLesson.namedFolder);
    EXPECT_EQ(inLesson.copyFile,
              QFileInfo(path(course.path() / "kan4" / "mine.skn")).absoluteFilePath());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(path(course.path())).canonicalPath());

    // Relative to the folder the program was started in, in any case of the extension.
    QDir::setCurrent(path(course.path() / "kan4"));
    std::filesystem::copy_file(course.path() / "kan4" / "mine.skn", course.path() / "TOP.SKN");
    const StartArgument inCourse = EnterStartArgument({QStringLiteral("../TOP.SKN")});
    EXPECT_TRUE(inCourse.problem.isEmpty());
    EXPECT_TRUE(inCourse.namedFolder);
    EXPECT_EQ(QFileInfo(inCourse.copyFile).canonicalFilePath(),
              QFileInfo(path(course.path() / "TOP.SKN")).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(inCourse.copyFile).isAbsolute());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(path(course.path())).canonicalPath());
}

TEST_F(CopyFileStartTest, ACopyFileOutsideACourseKeepsTheUsualStartAndOtherFilesAreRefused) {
    std::filesystem::create_directories(elsewhere.path() / "a" / "b");
    std::filesystem::copy_file(course.path() / "kan4" / "mine.skn",
                               elsewhere.path() / "a" / "b" / "x.skn");
    QDir::setCurrent(path(elsewhere.path()));
    const QString before = QDir::currentPath();
    const StartArgument loose = EnterStartArgument({path(elsewhere.path() / "a" / "b" / "x.skn")});
    EXPECT_TRUE(loose.problem.isEmpty());
    EXPECT_FALSE(loose.namedFolder);  // the course is found as without an argument
    EXPECT_FALSE(loose.copyFile.isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);

    const StartArgument other = EnterStartArgument({path(course.path() / "Main.ind")});
    EXPECT_FALSE(other.problem.isEmpty());
    EXPECT_TRUE(other.copyFile.isEmpty());
    const StartArgument two =
        EnterStartArgument({path(course.path() / "kan4" / "mine.skn"), path(course.path())});
    EXPECT_FALSE(two.problem.isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);

    const StartArgument folder = EnterStartArgument({path(course.path())});
    EXPECT_TRUE(folder.problem.isEmpty());
    EXPECT_TRUE(folder.namedFolder);
    EXPECT_TRUE(folder.copyFile.isEmpty());
}

TEST_F(CopyFileStartTest, TheLessonIsTheOneWhoseFolderHoldsTheFile) {
    const std::vector<std::string> index =
        Sjis({"コース", "", "三年の漢字,kan3\\_kan3", "四年の漢字,kan4\\_kan4", ">>"});
    const std::string folder = course.folder();
    EXPECT_EQ(LessonOfCopyFile(folder, index, folder + "kan4/mine.skn"), 2);
    EXPECT_EQ(LessonOfCopyFile(folder, index, folder + "kan3/../kan4/mine.skn"), 2);
    EXPECT_EQ(LessonOfCopyFile(folder, index, folder + "kan4\\mine.skn"), 2);
    std::filesystem::copy_file(course.path() / "kan4" / "mine.skn", course.path() / "top.skn");
    EXPECT_EQ(LessonOfCopyFile(folder, index, folder + "top.skn"), 1);
    EXPECT_EQ(LessonOfCopyFile(folder, index, folder + "kan4/none.skn"), 2);  // its folder
    EXPECT_EQ(LessonOfCopyFile(folder, index, "/nowhere/at/all.skn"), 1);
    EXPECT_EQ(LessonOfCopyFile(folder, {}, folder + "kan4/mine.skn"), 1);
}

TEST_F(CopyFileStartTest, TheMainWindowOpensTheCopyInItsLessonOnce) {
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    TempDir records;
    settings.values[{SettingsKey::Shared, "RecDrive"}] = records.folder();
    const AppServices services{&settings, &prompter, course.folder(), 1280, 1024};
    TfrmMain w(services);
    w.show();
    prompter.shown.clear();

    const std::string copy = course.folder() + "kan4/mine.skn";
    ASSERT_TRUE(w.OpenCopyFileAt(copy));
    TfrmPrint* sheet = w.activeWorksheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->worksheet().isCopy);
    EXPECT_EQ(sheet->worksheet().address.lesson, 2);
    EXPECT_EQ(sheet->worksheet().content.questionLines.size(), 2u);
    EXPECT_EQ(sheet->identity().toStdString(), copy);
    EXPECT_TRUE(prompter.shown.empty());

    EXPECT_FALSE(w.OpenCopyFileAt(copy));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown.back(), sjis("すでに読み込まれています"));

    // A damaged copy opens nothing and says why.
    test::WriteRawFile(course.path() / "kan3" / "bad.skn", "no unit here\r\n");
    EXPECT_FALSE(w.OpenCopyFileAt(course.folder() + "kan3/bad.skn"));
    EXPECT_EQ(prompter.shown.size(), 2u);
    int sheets = 0;
    for (QMdiSubWindow* sub : w.mdiArea->subWindowList())
        if (qobject_cast<TfrmPrint*>(sub->widget())) ++sheets;
    EXPECT_EQ(sheets, 1);
}

}  // namespace
}  // namespace sulkan
