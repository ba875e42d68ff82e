// Settings saved beside an empty lock file that a program killed while saving left behind.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

TEST(SettingsLock, AnEmptyLockLeftByAKilledSaveDoesNotHoldUpTheNextSave) {
    test::TempDir dir;
    auto store = MakeQtSettingsStore(dir.path().string());
    store->writeInt(SettingsKey::Product, "PaperSize", 4);
    for (const char* left : {"SlkDrill.ini.lock", "SlkDrill.lock"}) {
        test::WriteRawFile(dir.path() / left, "");
        const auto start = std::chrono::steady_clock::now();
        store->writeString(SettingsKey::Product, "LogOnName", sjis(left));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << left;
        EXPECT_EQ(MakeQtSettingsStore(dir.path().string())
                      ->readString(SettingsKey::Product, "LogOnName", "?"),
                  sjis(left));
        EXPECT_EQ(store->readInt(SettingsKey::Product, "PaperSize", 0), 4);
        // Nothing of either lock is left.
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "SlkDrill.ini.lock"));
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "SlkDrill.lock"));
    }
}

}  // namespace
}  // namespace sulkan
