// The per-user settings store: typed values under two keys, read-or-create with a default.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <variant>

namespace sulkan {

// The product key holds every setting but one; the shared key is common to related programs.
enum class SettingsKey { Product, Shared };

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Read-or-create: a missing value is written with the default, and the default returned.
    // A stored value that cannot be read as the type asked for gives the default and is left as
    // it is. Strings are CP932 bytes.
    virtual bool readBool(SettingsKey key, const std::string& name, bool def) = 0;
    virtual int readInt(SettingsKey key, const std::string& name, int def) = 0;
    virtual std::string readString(SettingsKey key, const std::string& name,
                                   const std::string& def) = 0;

    virtual void writeBool(SettingsKey key, const std::string& name, bool value) = 0;
    virtual void writeInt(SettingsKey key, const std::string& name, int value) = 0;
    virtual void writeString(SettingsKey key, const std::string& name,
                             const std::string& value) = 0;
};

// In-memory store for tests; values can be inspected and preset.
class MemorySettingsStore : public SettingsStore {
public:
    using Value = std::variant<bool, int, std::string>;
    using Map = std::map<std::pair<SettingsKey, std::string>, Value>;

    bool readBool(SettingsKey key, const std::string& name, bool def) override;
    int readInt(SettingsKey key, const std::string& name, int def) override;
    std::string readString(SettingsKey key, const std::string& name,
                           const std::string& def) override;
    void writeBool(SettingsKey key, const std::string& name, bool value) override;
    void writeInt(SettingsKey key, const std::string& name, int value) override;
    void writeString(SettingsKey key, const std::string& name, const std::string& value) override;

    Map values;
};

// The real store over QSettings: the registry on Windows, the user's configuration folder
// elsewhere. With a folder given, both keys live as files in that folder instead.
std::unique_ptr<SettingsStore> MakeQtSettingsStore(const std::string& folderForTests = {});

}  // namespace sulkan
