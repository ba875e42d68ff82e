// Program entry: "sulkan --help" and "--version" print what they say; "sulkan check [FOLDER]"
// checks a course, "sulkan export ..." and "sulkan print ..." output sheets, "sulkan records ..."
// exports study records, all without a window; otherwise the program starts on the course in the
// folder named ("sulkan FOLDER"), the working folder, the course used last time or the sample
// course; "sulkan FILE.skn" opens that copy file in it.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "CommandLineHelp.h"
#include "CourseCheck.h"
#include "Desktop.h"
#include "ExportCommand.h"
#include "Fonts.h"
#include "Kanji.h"
#include "PrintCommand.h"
#include "PrintQueue.h"
#include "QtPrompter.h"
#include "QtText.h"
#include "RecordsCommand.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "SystemFolders.h"
#include "TfrmMain.h"
#include "TfrmVersion.h"

int main(int argc, char** argv) {
    // Help and version need no window, no display and no course.
    if (auto status = sulkan::RunInfoOption(std::vector<std::string>(argv + 1, argv + argc),
                                            sulkan::CommandLineVersionText(), std::cout))
        return *status;

    if (argc >= 2 && std::string(argv[1]) == "check") {
        std::vector<std::string> args(argv + 2, argv + argc);
        return sulkan::RunCheckCommand(args);
    }

    if (argc >= 2 && std::string(argv[1]) == "records") {
        QCoreApplication app(argc, argv);
        std::vector<std::string> args(argv + 2, argv + argc);
        auto settings = sulkan::MakeQtSettingsStore();
        return sulkan::RunRecordsCommand(args, *settings, std::cout, std::cerr);
    }

    if (argc >= 2 && (std::string(argv[1]) == "export" || std::string(argv[1]) == "print")) {
        // No window is shown: the offscreen platform needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        sulkan::InstallFontSubstitutions();
        std::vector<std::string> args(argv + 2, argv + argc);
        auto settings = sulkan::MakeQtSettingsStore();
        if (std::string(argv[1]) == "export") return sulkan::RunExportCommand(args, *settings);
        auto queue = sulkan::MakeSystemPrintQueue();
        return sulkan::RunPrintCommand(args, *settings, queue.get());
    }

    // The drill's stroke counts are read while the window starts; the modes above never need them.
    sulkan::StrokeCounts::StartReadingInstalled();
    sulkan::PreferJapaneseDates();
    QApplication app(argc, argv);
    sulkan::SettleSystemLocale();
    sulkan::DesktopConventions desktop;
    sulkan::InstallFontSubstitutions();

    sulkan::QtPrompter prompter;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const sulkan::StartArgument start = sulkan::EnterStartArgument(arguments);
    if (!start.problem.isEmpty()) {
        // A folder whose name CP932 cannot hold is reported without its name.
        prompter.message(sulkan::FromQString(start.problem)
                             .value_or(sulkan::sjis("指定されたコースのフォルダが使えません")));
        return 1;
    }
    std::optional<std::string> copyFile;
    if (!start.copyFile.isEmpty()) {
        copyFile = sulkan::FromQString(start.copyFile);
        if (!copyFile) {
            prompter.message(sulkan::sjis("コピーファイルの名前に扱えない文字があります"));
            return 1;
        }
    }
    auto settings = sulkan::MakeQtSettingsStore();
    // Started from the desktop menu the working folder is the home folder: the course is then the
    // one used last, or a first copy of the sample course, or one the user picks.
    auto folder = sulkan::EnterCourseFolder(start.namedFolder, *settings, prompter);
    if (!folder) return 1;
    sulkan::AppServices services;
    services.settings = settings.get();
    services.prompter = &prompter;
    services.workingFolder = *folder;

    sulkan::TfrmMain main(services);
    prompter.setParent(&main);
    main.show();
    if (main.startupFailed()) return 1;
    sulkan::RememberCourseFolder(*settings, *folder);
    if (copyFile) main.OpenCopyFileAt(*copyFile);
    main.ShowTipsAtStart();
    return app.exec();
}
