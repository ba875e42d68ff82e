// Program entry: "sulkan check [FOLDER]" checks a course, "sulkan export ..." and "sulkan print
// ..." output sheets, "sulkan records ..." exports study records, all without a window; otherwise
// the program starts on the course in the folder named ("sulkan FOLDER"), the working folder, the
// course used last time or the sample course.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <iostream>
#include <string>
#include <vector>

#include "CourseCheck.h"
#include "Desktop.h"
#include "ExportCommand.h"
#include "Fonts.h"
#include "PrintCommand.h"
#include "PrintQueue.h"
#include "QtPrompter.h"
#include "QtText.h"
#include "RecordsCommand.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "SystemFolders.h"
#include "TfrmMain.h"

int main(int argc, char** argv) {
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

    sulkan::PreferJapaneseDates();
    QApplication app(argc, argv);
    sulkan::SettleSystemLocale();
    sulkan::DesktopConventions desktop;
    sulkan::InstallFontSubstitutions();

    sulkan::QtPrompter prompter;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (QString problem = sulkan::EnterStartFolder(arguments); !problem.isEmpty()) {
        // A folder whose name CP932 cannot hold is reported without its name.
        prompter.message(sulkan::FromQString(problem).value_or(
            sulkan::sjis("指定されたコースのフォルダが使えません")));
        return 1;
    }
    auto settings = sulkan::MakeQtSettingsStore();
    // Started from the desktop menu the working folder is the home folder: the course is then the
    // one used last, or a first copy of the sample course, or one the user picks.
    auto folder = sulkan::EnterCourseFolder(!arguments.isEmpty(), *settings, prompter);
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
    main.ShowTipsAtStart();
    return app.exec();
}
