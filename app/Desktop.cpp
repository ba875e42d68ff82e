#include "Desktop.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>
#include <QWidget>

namespace sulkan {
namespace {

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
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QString ApplicationTitle() {
    return QStringLiteral("Sulkan++ 漢字プリント＆ドリル");
}

DesktopConventions::DesktopConventions()
    : m_filter(std::make_unique<DesktopFilter>()),
      m_displayName(QGuiApplication::applicationDisplayName()) {
    // An empty display name: the toolkit appends it to every title only when it is not empty.
    QGuiApplication::setApplicationDisplayName(QString());
    QCoreApplication::instance()->installEventFilter(m_filter.get());

    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        m_translator = std::move(translator);
    }
}

DesktopConventions::~DesktopConventions() {
    if (m_translator) QCoreApplication::removeTranslator(m_translator.get());
    QCoreApplication::instance()->removeEventFilter(m_filter.get());
    QGuiApplication::setApplicationDisplayName(m_displayName);
}

QString EnterStartFolder(const QStringList& arguments) {
    if (arguments.isEmpty()) return {};
    if (arguments.size() > 1)
        return QStringLiteral("コースのフォルダは一つだけ指定してください（sulkan [フォルダ]）");
    const QString& folder = arguments.front();
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("ディレクトリ ") + folder + QStringLiteral(" が見つかりません");
    if (!QDir::setCurrent(folder))
        return QStringLiteral("ディレクトリ ") + folder + QStringLiteral(" に移れません");
    return {};
}

}  // namespace sulkan
