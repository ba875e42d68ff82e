#include "SettingsStore.h"

namespace sulkan {

// Booleans and integers share one stored form, as they do in the real store: a boolean reads
// back as an integer 0 or 1 and an integer reads as a boolean by being non-zero.

bool MemorySettingsStore::readBool(SettingsKey key, const std::string& name, bool def) {
    auto [it, created] = values.try_emplace({key, name}, def);
    if (created) return def;
    if (const bool* b = std::get_if<bool>(&it->second)) return *b;
    if (const int* i = std::get_if<int>(&it->second)) return *i != 0;
    return def;
}

int MemorySettingsStore::readInt(SettingsKey key, const std::string& name, int def) {
    auto [it, created] = values.try_emplace({key, name}, def);
    if (created) return def;
    if (const int* i = std::get_if<int>(&it->second)) return *i;
    if (const bool* b = std::get_if<bool>(&it->second)) return *b ? 1 : 0;
    return def;
}

std::string MemorySettingsStore::readString(SettingsKey key, const std::string& name,
                                            const std::string& def) {
    auto [it, created] = values.try_emplace({key, name}, def);
    if (created) return def;
    if (const std::string* s = std::get_if<std::string>(&it->second)) return *s;
    return def;
}

void MemorySettingsStore::writeBool(SettingsKey key, const std::string& name, bool value) {
    values[{key, name}] = value;
}

void MemorySettingsStore::writeInt(SettingsKey key, const std::string& name, int value) {
    values[{key, name}] = value;
}

void MemorySettingsStore::writeString(SettingsKey key, const std::string& name,
                                      const std::string& value) {
    values[{key, name}] = value;
}

}  // namespace sulkan
