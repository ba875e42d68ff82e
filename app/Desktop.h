// The program's behaviour as a desktop program, set up once at start-up before any window: the
// toolkit's own texts in Japanese, window titles as the program gives them, Enter on a push
// button, the application icon, and the course folder it starts in.
#pragma once
#include <QByteArray>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "CourseFolder.h"

class QObject;
class QTranslator;

namespace sulkan {

class SettingsStore;

// The name of the desktop entry, icon and metadata files installed with the program.
inline constexpr char kDesktopFileId[] = "org.sulkanpp.Sulkan";

// The application icon: the worksheet drawing at every size it was drawn for.
QIcon ApplicationIcon();

// The application title: the taskbar's name for the program and the caption of windows that have
// none of their own (message boxes).
QString ApplicationTitle();

// While it lives, on the running application: the toolkit's Japanese texts (Yes/No/Cancel, file
// dialogs) whatever the user's locale, window titles without the program's name appended, the
// application title on windows without a title, Enter on a focused push button pressing it, in
// the main window as in dialogs, the application icon on every window, every dialog shown
// inside the screen's available area, and the accessible names of every window's controls
// (NameControls) when it shows.
class DesktopConventions {
public:
    DesktopConventions();
    ~DesktopConventions();
    DesktopConventions(const DesktopConventions&) = delete;
    DesktopConventions& operator=(const DesktopConventions&) = delete;

    // False when the Japanese texts are not installed; the program runs on with English ones.
    bool japaneseTexts() const { return m_translator != nullptr; }

private:
    std::unique_ptr<QTranslator> m_missingTexts;
    std::unique_ptr<QTranslator> m_translator;
    std::unique_ptr<QObject> m_filter;
    QString m_displayName;
    QIcon m_icon;
    QString m_desktopFileName;
};

// The file dialogs write dates as the system's time locale does: a Japanese one unless the user
// set LC_ALL or a Japanese time locale already. PreferJapaneseDates sets LC_TIME before the
// QApplication is made; SettleSystemLocale, right after it, sets the C library's categories from
// the environment one by one.
bool WantsJapaneseDates(const QByteArray& lcAll, const QByteArray& lcTime, const QByteArray& lang);
void PreferJapaneseDates();
void SettleSystemLocale();

// A window's frame moved, and made smaller where it is larger, so that it lies inside `available`.
// It never gets smaller than `minimum`; a window that still does not fit keeps its top left (and
// so its title bar) visible.
QRect KeptInside(const QRect& frame, const QSize& minimum, const QRect& available);

// `sulkan [COURSE_FOLDER]`: arguments are those after the program name, the toolkit's own options
// already removed. With a folder it becomes the working folder, so the program runs in it as if
// started there. Returns the Japanese message to show when the program cannot go on, else empty.
QString EnterStartFolder(const QStringList& arguments);

// `sulkan [COURSE_FOLDER | FILE.skn]`, as the file manager passes a course folder or a copy file.
// A folder is entered as EnterStartFolder does. A copy file (".skn" in any case) is kept, as an
// absolute path, to open once the course is open; its course is the file's folder or the folder
// above it (a lesson folder) when that holds Main.ind, which then becomes the working folder, and
// otherwise the course start-up finds without a folder named.
struct StartArgument {
    QString problem;           // the Japanese message to show when the program cannot go on
    bool namedFolder = false;  // the working folder was named (directly or as a copy's course)
    QString copyFile;          // empty: none
};
StartArgument EnterStartArgument(const QStringList& arguments);

// Where start-up looks for a course besides the working folder: the "CourseFolder" setting, the
// sample course installed with the program (<bindir>/../share/sulkan/kanji) and the user's copy
// of it (<user's data folder>/Sulkan++/kanji). `named`: the working folder was named.
CourseFolderPlaces StartCoursePlaces(bool named, SettingsStore& settings);

// The folder dialog of start-up, opened in initialFolder. A folder whose name CP932 cannot hold
// is refused with a message and the dialog comes back.
std::optional<std::string> ChooseCourseFolderDialog(const std::string& initialFolder,
                                                    Prompter& prompter);

// After EnterStartFolder: finds the course (FindCourseFolder with the places above and the
// dialog) and makes it the working folder. Returns that folder (CP932, trailing separator), or
// nothing when the program ends (every reason already shown).
std::optional<std::string> EnterCourseFolder(bool named, SettingsStore& settings,
                                             Prompter& prompter);

// Kept once the course has opened, for the next start without a folder.
void RememberCourseFolder(SettingsStore& settings, const std::string& folder);

}  // namespace sulkan
