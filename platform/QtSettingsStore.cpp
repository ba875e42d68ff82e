// The settings store over QSettings. Booleans and integers are stored as integers (a boolean is
// 0 or 1) and strings as Unicode text, so the values read the same on every platform. A string
// whose bytes Unicode cannot give back (duplicate CP932 codes, bytes that are not CP932) is
// stored as its bytes, so a learner's name still names the same record file.
#include <QSettings>
#include <QStandardPaths>
#include <memory>
#include <optional>

#include "FileLock.h"
#include "QtText.h"
#include "SettingsStore.h"

namespace sulkan {
namespace {

class QtSettingsStore : public SettingsStore {
public:
    explicit QtSettingsStore(QString folder) : m_folder(std::move(folder)) {}

    bool readBool(SettingsKey key, const std::string& name, bool def) override {
        const Session session(*this, key);
        QSettings* settings = session.settings.get();
        const QString n = ToQString(name);
        if (!created(*settings, n, def ? 1 : 0)) {
            bool ok = false;
            int value = settings->value(n).toInt(&ok);
            if (ok) return value != 0;
        }
        return def;
    }

    int readInt(SettingsKey key, const std::string& name, int def) override {
        const Session session(*this, key);
        QSettings* settings = session.settings.get();
        const QString n = ToQString(name);
        if (!created(*settings, n, def)) {
            bool ok = false;
            int value = settings->value(n).toInt(&ok);
            if (ok) return value;
        }
        return def;
    }

    std::string readString(SettingsKey key, const std::string& name,
                           const std::string& def) override {
        const Session session(*this, key);
        QSettings* settings = session.settings.get();
        const QString n = ToQString(name);
        if (!created(*settings, n, ToQString(def))) {
            QVariant value = settings->value(n);
            // A number or a list is not a string value; text CP932 cannot hold is unusable.
            if (value.typeId() == QMetaType::QString) {
                if (auto text = FromQString(value.toString())) return *text;
            } else if (value.typeId() == QMetaType::QByteArray) {
                return value.toByteArray().toStdString();
            }
        }
        return def;
    }

    void writeBool(SettingsKey key, const std::string& name, bool value) override {
        write(key, name, value ? 1 : 0);
    }
    void writeInt(SettingsKey key, const std::string& name, int value) override {
        write(key, name, value);
    }
    void writeString(SettingsKey key, const std::string& name, const std::string& value) override {
        const QString text = ToQString(value);
        if (FromQString(text) == value)
            write(key, name, text);
        else
            write(key, name, QByteArray::fromStdString(value));
    }

private:
    static QString organisationOf(SettingsKey key) {
        return key == SettingsKey::Product ? QStringLiteral("Sulkan++") : QStringLiteral("Sulkan");
    }
    static QString applicationOf(SettingsKey key) {
        return key == SettingsKey::Product ? QStringLiteral("SlkDrill") : QStringLiteral("Common");
    }

    // The settings file without its extension (CP932), or nullopt where settings are no file.
    std::optional<std::string> fileStem(SettingsKey key) const {
        if (!m_folder.isEmpty()) return FromQString(m_folder + u'/' + applicationOf(key));
#ifdef Q_OS_WIN
        return std::nullopt;
#else
        return FromQString(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           u'/' + organisationOf(key) + u'/' + applicationOf(key));
#endif
    }

    // One call's settings, opened and saved while holding our own lock on the file. QSettings
    // locks the file too, but a program killed while creating that lock leaves it empty, and
    // QSettings then waits half a minute for it: inside our lock no other program of ours is
    // between creating and filling it, so such a leftover is removed.
    struct Session {
        Session(const QtSettingsStore& store, SettingsKey key) {
            if (const auto stem = store.fileStem(key)) {
                lock.emplace(*stem);
                if (*lock) RemoveAbandonedLock(*stem + ".ini.lock");
            }
            settings = store.open(key);
        }
        std::optional<FileLock> lock;
        std::unique_ptr<QSettings> settings;  // last: saved and closed before the lock goes
    };

    // Opened for each call and closed on return: nothing is cached between calls.
    std::unique_ptr<QSettings> open(SettingsKey key) const {
        const QString organisation = organisationOf(key);
        const QString application = applicationOf(key);
        if (!m_folder.isEmpty())
            return std::make_unique<QSettings>(
                m_folder + u'/' + application + QStringLiteral(".ini"), QSettings::IniFormat);
#ifdef Q_OS_WIN
        // HKEY_CURRENT_USER\Software\<organisation>\<application>
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           organisation, application);
#else
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisation,
                                           application);
#endif
    }

    // Read-or-create: writes the default when the value is missing and says so.
    static bool created(QSettings& settings, const QString& name, const QVariant& def) {
        if (settings.contains(name)) return false;
        settings.setValue(name, def);
        settings.sync();
        return true;
    }

    void write(SettingsKey key, const std::string& name, const QVariant& value) {
        const Session session(*this, key);
        session.settings->setValue(ToQString(name), value);
        session.settings->sync();
    }

    QString m_folder;
};

}  // namespace

std::unique_ptr<SettingsStore> MakeQtSettingsStore(const std::string& folderForTests) {
    return std::make_unique<QtSettingsStore>(QString::fromStdString(folderForTests));
}

}  // namespace sulkan
