// The program's settings: read-or-create under the product key, "RecDrive" under the shared key.
#pragma once

#include <string>

#include "SettingsStore.h"

namespace sulkan {

inline bool ReadBoolSetting(SettingsStore& s, const std::string& name, bool def) {
    return s.readBool(SettingsKey::Product, name, def);
}
inline int ReadIntSetting(SettingsStore& s, const std::string& name, int def) {
    return s.readInt(SettingsKey::Product, name, def);
}
inline std::string ReadStringSetting(SettingsStore& s, const std::string& name,
                                     const std::string& def) {
    return s.readString(SettingsKey::Product, name, def);
}
inline std::string ReadCommonString(SettingsStore& s, const std::string& name,
                                    const std::string& def) {
    return s.readString(SettingsKey::Shared, name, def);
}
inline void WriteBoolSetting(SettingsStore& s, const std::string& name, bool value) {
    s.writeBool(SettingsKey::Product, name, value);
}
inline void WriteIntSetting(SettingsStore& s, const std::string& name, int value) {
    s.writeInt(SettingsKey::Product, name, value);
}
inline void WriteStringSetting(SettingsStore& s, const std::string& name,
                               const std::string& value) {
    s.writeString(SettingsKey::Product, name, value);
}

}  // namespace sulkan
