#include "Desktop.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <clocale>
#include <cstring>

#include "AccessibleNames.h"
#include "QtText.h"
#include "Settings.h"
#include "Sjis.h"
#include "SystemFolders.h"

// The resources live in a static library: without a reference the linker would drop them.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace sulkan {
namespace {

constexpr char kCourseFolderSetting[] = "CourseFolder";

// A folder as the program names it (CP932, native separators, trailing separator); empty when
// its name cannot be held.
std::string ProgramFolderName(const QString& folder) {
    auto name = FromQString(QDir::toNativeSeparators(QDir::cleanPath(folder)));
    return name ? WithTrailingSeparator(*name) : std::string();
}

void KeepInsideScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QRect frame = window->frameGeometry();
    // The frame's margins (title bar, borders) are known once the window has been shown.
    const QSize margins = frame.size() - window->size();
    const QRect kept =
        KeptInside(frame, window->minimumSize() + margins, screen->availableGeometry());
    if (kept == frame) return;
    window->resize(kept.size() - margins);
    window->move(kept.topLeft());
}

// The toolkit's own texts that its Japanese catalogue lacks: the kind of a file list entry in the
// file dialogs (the catalogue has them under an older context) and the newer controls of the
// print dialog. Asked only for what the catalogue has no translation of.
class MissingToolkitTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override {
        struct Text {
            const char* context;
            const char* source;
            const char* japanese;
        };
        static constexpr Text texts[] = {
            {"QAbstractFileIconProvider", "Folder", "フォルダ"},
            {"QAbstractFileIconProvider", "Drive", "ドライブ"},
            {"QAbstractFileIconProvider", "File", "ファイル"},
            {"QAbstractFileIconProvider", "%1 File", "%1 ファイル"},
            {"QPrintSettingsOutput", "Pages", "ページ指定"},
            {"QPrintSettingsOutput",
             "Specify pages or ranges separated by commas. Ranges are specified by two numbers "
             "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
             "ページまたはページの範囲をコンマで区切って指定します。範囲は2つの番号をハイフンで"
             "つなぎます。例: 3,5-7,9 でページ 3、5、6、7、9 を印刷します。"},
            {"QPrintSettingsOutput", "Double Sided Printing", "両面印刷"},
            {"QPrintSettingsOutput", "Off", "しない"},
            {"QPrintSettingsOutput", "Long side binding", "長辺とじ"},
            {"QPrintSettingsOutput", "Short side binding", "短辺とじ"},
        };
        if (!context || !source) return {};
        for (const Text& t : texts)
            if (std::strcmp(context, t.context) == 0 && std::strcmp(source, t.source) == 0)
                return QString::fromUtf8(t.japanese);
        return {};
    }
    bool isEmpty() const override { return false; }
};

// Application-wide, so that it holds in the main window and in every dialog alike.
class DesktopFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            // Outside dialogs the toolkit ignores Enter on a focused button; the program's users
            // expect it to press the button everywhere. A held key presses once.
            auto* key = static_cast<QKeyEvent*>(event);
            auto* button = qobject_cast<QPushButton*>(watched);
            if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                button->isEnabled()) {
                if (!key->isAutoRepeat()) button->click();
                return true;
            }
        } else if (event->type() == QEvent::Show) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow() && widget->windowTitle().isEmpty())
                widget->setWindowTitle(ApplicationTitle());
            // Screen readers: every control of a window and of the dialogs it owns gets its name
            // when the window first shows.
            if (widget && widget->isWindow()) NameControls(widget);
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow())
                KeepInsideScreen(dialog);
        } else if (event->type() == QEvent::ShowToParent) {
            // Again once shown: a dialog may size itself while it is being shown.
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow())
                KeepInsideScreen(dialog);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QString ApplicationTitle() {
    return QStringLiteral("Sulkan++ 漢字プリント＆ドリル");
}

QIcon ApplicationIcon() {
    InitResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/sulkan-%1.png").arg(size), QSize(size, size));
    return icon;
}

DesktopConventions::DesktopConventions()
    : m_filter(std::make_unique<DesktopFilter>()),
      m_displayName(QGuiApplication::applicationDisplayName()),
      m_icon(QGuiApplication::windowIcon()),
      m_desktopFileName(QGuiApplication::desktopFileName()) {
    // An empty display name: the toolkit appends it to every title only when it is not empty.
    QGuiApplication::setApplicationDisplayName(QString());
    QGuiApplication::setWindowIcon(ApplicationIcon());
    // Lets the desktop match the windows to the installed entry (and its icon).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileId));
    QCoreApplication::instance()->installEventFilter(m_filter.get());

    // Installed first, so that the catalogue installed after it is asked first.
    m_missingTexts = std::make_unique<MissingToolkitTexts>();
    QCoreApplication::installTranslator(m_missingTexts.get());
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        m_translator = std::move(translator);
    }
}

DesktopConventions::~DesktopConventions() {
    if (m_translator) QCoreApplication::removeTranslator(m_translator.get());
    QCoreApplication::removeTranslator(m_missingTexts.get());
    QCoreApplication::instance()->removeEventFilter(m_filter.get());
    QGuiApplication::setApplicationDisplayName(m_displayName);
    QGuiApplication::setWindowIcon(m_icon);
    QGuiApplication::setDesktopFileName(m_desktopFileName);
}

bool WantsJapaneseDates(const QByteArray& lcAll, const QByteArray& lcTime, const QByteArray& lang) {
    // LC_ALL is the user's word for everything; otherwise the time category decides.
    if (!lcAll.isEmpty()) return false;
    const QByteArray& time = lcTime.isEmpty() ? lang : lcTime;
    return !time.startsWith("ja");
}

void PreferJapaneseDates() {
    if (WantsJapaneseDates(qgetenv("LC_ALL"), qgetenv("LC_TIME"), qgetenv("LANG")))
        qputenv("LC_TIME", "ja_JP.UTF-8");
}

void SettleSystemLocale() {
    // The toolkit sets every category at once, which fails as a whole when the Japanese time
    // locale is not installed with the C library: the other categories (the character type
    // above all, which input methods need) are set one by one. Only the toolkit reads the time
    // category, from its own data.
    for (int category : {LC_CTYPE, LC_NUMERIC, LC_COLLATE, LC_MONETARY, LC_MESSAGES, LC_TIME})
        std::setlocale(category, "");
}

QRect KeptInside(const QRect& frame, const QSize& minimum, const QRect& available) {
    const int width = std::max(std::min(frame.width(), available.width()), minimum.width());
    const int height = std::max(std::min(frame.height(), available.height()), minimum.height());
    // Right and bottom edges first, so that what does not fit leaves at the right and bottom.
    int x = std::min(frame.x(), available.x() + available.width() - width);
    int y = std::min(frame.y(), available.y() + available.height() - height);
    x = std::max(x, available.x());
    y = std::max(y, available.y());
    return {x, y, width, height};
}

QString EnterStartFolder(const QStringList& arguments) {
    if (arguments.isEmpty()) return {};
    if (arguments.size() > 1)
        return QStringLiteral(
            "コースのフォルダは一つだけ指定してください（sulkan [フォルダ | ファイル.skn]）");
    const QString& folder = arguments.front();
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("ディレクトリ ") + folder + QStringLiteral(" が見つかりません");
    if (!QDir::setCurrent(folder))
        return QStringLiteral("ディレクトリ ") + folder + QStringLiteral(" に移れません");
    return {};
}

StartArgument EnterStartArgument(const QStringList& arguments) {
    StartArgument start;
    if (arguments.size() == 1 && QFileInfo(arguments.front()).isFile() &&
        arguments.front().endsWith(QLatin1String(".skn"), Qt::CaseInsensitive)) {
        const QFileInfo file(arguments.front());
        start.copyFile = file.absoluteFilePath();
        QDir folder = file.absoluteDir();
        for (int up = 0; up < 2; ++up) {
            if (folder.exists(QStringLiteral("Main.ind"))) {
                if (!QDir::setCurrent(folder.path())) {
                    start.problem = QStringLiteral("ディレクトリ ") + folder.path() +
                                    QStringLiteral(" に移れません");
                    return start;
                }
                start.namedFolder = true;
                break;
            }
            if (!folder.cdUp()) break;
        }
        return start;
    }
    start.problem = EnterStartFolder(arguments);
    start.namedFolder = !arguments.isEmpty();
    return start;
}

CourseFolderPlaces StartCoursePlaces(bool named, SettingsStore& settings) {
    CourseFolderPlaces places;
    places.working = WorkingFolder().value_or(std::string());
    places.named = named;
    places.remembered = ReadStringSetting(settings, kCourseFolderSetting, std::string());
    const QDir programDir(QCoreApplication::applicationDirPath());
    places.installedSample =
        ProgramFolderName(programDir.filePath(QStringLiteral("../share/sulkan/kanji")));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        places.userSample =
            ProgramFolderName(QDir(data).filePath(QStringLiteral("Sulkan++/kanji")));
    return places;
}

std::optional<std::string> ChooseCourseFolderDialog(const std::string& initialFolder,
                                                    Prompter& prompter) {
    for (;;) {
        const QString chosen = QFileDialog::getExistingDirectory(
            nullptr, QStringLiteral("コースのフォルダ（Main.ind のあるフォルダ）を選んでください"),
            ToQString(initialFolder), QFileDialog::ShowDirsOnly);
        if (chosen.isEmpty()) return std::nullopt;
        const std::string folder = ProgramFolderName(chosen);
        if (!folder.empty()) return folder;
        prompter.message(sjis("フォルダの名前に扱えない文字があります"));
    }
}

std::optional<std::string> EnterCourseFolder(bool named, SettingsStore& settings,
                                             Prompter& prompter) {
    const CourseFolderPlaces places = StartCoursePlaces(named, settings);
    if (named && places.working.empty()) {
        prompter.message(sjis("作業フォルダの名前に扱えない文字があります"));
        return std::nullopt;
    }
    const auto folder = FindCourseFolder(places, prompter, [&](const std::string& initial) {
        return ChooseCourseFolderDialog(initial, prompter);
    });
    if (!folder) return std::nullopt;
    if (!QDir::setCurrent(ToQString(*folder))) {
        prompter.message(sjis("ディレクトリ ") + *folder + sjis(" に移れません"));
        return std::nullopt;
    }
    return WorkingFolder();
}

void RememberCourseFolder(SettingsStore& settings, const std::string& folder) {
    WriteStringSetting(settings, kCourseFolderSetting, folder);
}

}  // namespace sulkan
