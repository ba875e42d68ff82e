#include "Desktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
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
        if (event->type() == QEvent::Show) {
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

}  // namespace sulkan
