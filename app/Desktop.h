// The program's behaviour as a desktop program, set up once at start-up before any window: the
// toolkit's own texts in Japanese, window titles as the program gives them, Enter on a push
// button, and the course folder named on the command line.
#pragma once
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

class QObject;
class QTranslator;

namespace sulkan {

// The application title: the taskbar's name for the program and the caption of windows that have
// none of their own (message boxes).
QString ApplicationTitle();

// While it lives, on the running application: the toolkit's Japanese texts (Yes/No/Cancel, file
// dialogs) whatever the user's locale, window titles without the program's name appended, the
// application title on windows without a title, Enter on a focused push button pressing it, in
// the main window as in dialogs, and every dialog shown inside the screen's available area.
class DesktopConventions {
public:
    DesktopConventions();
    ~DesktopConventions();
    DesktopConventions(const DesktopConventions&) = delete;
    DesktopConventions& operator=(const DesktopConventions&) = delete;

    // False when the Japanese texts are not installed; the program runs on with English ones.
    bool japaneseTexts() const { return m_translator != nullptr; }

private:
    std::unique_ptr<QTranslator> m_translator;
    std::unique_ptr<QObject> m_filter;
    QString m_displayName;
};

// A window's frame moved, and made smaller where it is larger, so that it lies inside `available`.
// It never gets smaller than `minimum`; a window that still does not fit keeps its top left (and
// so its title bar) visible.
QRect KeptInside(const QRect& frame, const QSize& minimum, const QRect& available);

// `sulkan [COURSE_FOLDER]`: arguments are those after the program name, the toolkit's own options
// already removed. With a folder it becomes the working folder, so the program runs in it as if
// started there. Returns the Japanese message to show when the program cannot go on, else empty.
QString EnterStartFolder(const QStringList& arguments);

}  // namespace sulkan
