#include "Startup.h"

#include "ContainedPath.h"
#include "FileChecks.h"
#include "LineFile.h"
#include "Paper.h"
#include "Settings.h"
#include "Sjis.h"
#include "SystemFolders.h"

namespace sulkan {
namespace {

Result<> MakeFolder(const std::string& path) {
    return FolderExists(path) ? Result<>() : CreateFolder(path);
}

// On a CD-ROM the lesson folders cannot take records: each lesson gets its folder under the
// records folder instead.
void CreateLessonRecordFolders(const AppState& s, int lessonCount) {
    for (int i = 1; i <= lessonCount && i <= kMaxSlots; ++i) {
        // A lesson without a base name, or refused, would name the records folder itself.
        const std::string& base = s.Course.LessonBaseNames[i];
        if (base.empty() || !s.Course.LessonRefusals[i].empty()) continue;
        const ContainedPath folder = PathInside(s.RecordsFolder, base);
        if (folder) MakeFolder(folder.value());  // a failure here does no harm
    }
}

}  // namespace

StartupResult Startup(AppState& s, SettingsStore& settings, Prompter& prompter) {
    StartupResult result;
    s.RunFromCdRom = IsOnOpticalDisc(s.ProgramFolder);
    s.SchoolName = ReadStringSetting(settings, "theSchool", "");
    const std::string title = s.ProgramFolder + "Title.BMP";
    if (FileCheck(prompter, title)) result.titlePicture = title;
    s.PaperTable = MakePaperTable();
    s.IndexReloadPending = false;

    // The help file is the first "*.hlp" of the course folder, by its bare name.
    const auto helpFiles = ListFiles(s.ProgramFolder, "*.hlp");
    if (!helpFiles.empty()) result.helpFile = s.HelpFileName = helpFiles.front();

    const auto lines = LoadCourseIndex(s.ProgramFolder, prompter);
    if (!lines) {
        result.status = StartupStatus::NoCourseIndex;
        return result;
    }
    result.showTips = ReadBoolSetting(settings, "ShowDoYouKnow", true);
    result.index = ReadCourseIndex(*lines, s.Course, prompter);
    s.PaperFixed = false;
    result.paperWidth = ReadIntSetting(settings, "PaperSize", kA4Width);

    s.RecordsRoot = RecordsRootSetting(settings);
    s.WindowsFolder = SystemFolder();
    if (const Result<> made = CreateRecordsFolders(s); !made) {
        prompter.message(made.problem().message);
        result.status = StartupStatus::NoRecordsFolder;
        return result;
    }
    if (s.RunFromCdRom)
        CreateLessonRecordFolders(s, static_cast<int>(result.index.lessonTitles.size()));

    s.LearnerName = ReadStringSetting(settings, "LogOnName", sjis("共通"));
    s.MarksRecountPending = true;
    s.LearnerMode = ReadBoolSetting(settings, "KeyLock", false);
    return result;
}

std::string RecordsRootSetting(SettingsStore& settings) {
    std::string root = ReadCommonString(settings, "RecDrive", DefaultRecordsRoot());
    return root.empty() ? DefaultRecordsRoot() : root;
}

std::string RecordsFolderIn(const std::string& recordsRoot) {
    return WithTrailingSeparator(WithTrailingSeparator(recordsRoot) + "Sulkan");
}

std::string LogOnFolderIn(const std::string& recordsFolder) {
    return WithTrailingSeparator(recordsFolder) + "LogOn";
}

std::string RosterPathIn(const std::string& logOnFolder) {
    return logOnFolder + "\\sname.txt";
}

Result<> CreateRecordsFolders(AppState& s) {
    const std::string folder = RecordsFolderIn(s.RecordsRoot);
    // The folder without its separator, as the message names it.
    if (Result<> made = MakeFolder(WithTrailingSeparator(s.RecordsRoot) + "Sulkan"); !made)
        return made;
    s.RecordsFolder = folder;
    s.LogOnFolder = LogOnFolderIn(folder);
    return MakeFolder(s.LogOnFolder);
}

}  // namespace sulkan
