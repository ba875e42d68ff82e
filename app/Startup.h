// What the program does when its main window first shows, apart from the window itself: the
// settings it reads, the course index, the help file and the records folders. The window puts
// the result on its controls.
#pragma once

#include <optional>
#include <string>

#include "AppState.h"
#include "CourseTree.h"
#include "Prompter.h"
#include "Result.h"
#include "SettingsStore.h"

namespace sulkan {

enum class StartupStatus {
    Ready,
    NoCourseIndex,    // "Main.ind" missing or unreadable (said): the program ends
    NoRecordsFolder,  // the records folders could not be made (said): the rest is not read
};

struct StartupResult {
    StartupStatus status = StartupStatus::Ready;
    CourseIndex index;         // the course title and the lesson titles
    std::string titlePicture;  // "Title.BMP" of the course folder; empty when missing (said)
    std::string helpFile;      // the first "*.hlp" of the course folder; empty when none
    bool showTips = true;      // "ShowDoYouKnow"
    int paperWidth = 0;        // "PaperSize"
};

// Reads, in this order and creating what is missing: "theSchool", the title picture, the help
// file, the course index (into state.Course), "ShowDoYouKnow", "PaperSize", the records root
// "RecDrive" and its folders (with one folder per lesson when run from a CD-ROM), "LogOnName"
// and "KeyLock". A missing course index stops before the settings after it; a records folder
// that cannot be made stops before the learner's settings.
StartupResult Startup(AppState& state, SettingsStore& settings, Prompter& prompter);

// The folder the "Sulkan" records folder is made in: "RecDrive" of the shared settings, the
// default when it is missing or empty (an empty one would mean whatever folder is current).
std::string RecordsRootSetting(SettingsStore& settings);
// root + "Sulkan" + separator.
std::string RecordsFolderIn(const std::string& recordsRoot);
// The log-on folder of a records folder, without a trailing separator.
std::string LogOnFolderIn(const std::string& recordsFolder);
// The roster "sname.txt" of a log-on folder.
std::string RosterPathIn(const std::string& logOnFolder);

// Makes the records folder and its log-on folder under state.RecordsRoot and sets RecordsFolder
// and LogOnFolder; the failure names the folder that cannot be made.
Result<> CreateRecordsFolders(AppState& state);

}  // namespace sulkan
