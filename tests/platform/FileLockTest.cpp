// The lock beside a shared file: held, waited for, taken over when its holder is gone.
#include <gtest/gtest.h>

#include <chrono>

#include "FileLock.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using namespace std::chrono_literals;

TEST(FileLock, ExcludesAndTakesOverLocksLeftBehind) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    {
        FileLock first(path);
        ASSERT_TRUE(first);
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "a.ini.lock"));
        FileLock second(path, 50ms);
        EXPECT_FALSE(second);
        EXPECT_NE(second.error().find("a.ini"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.ini.lock"));
    // A holder that no longer runs (no process has a pid that large) left its lock.
    test::WriteRawFile(dir.path() / "a.ini.lock", "4000000");
    EXPECT_TRUE(FileLock(path, 50ms));
    // A lock held far too long is taken over too.
    test::WriteRawFile(dir.path() / "a.ini.lock", "");
    std::filesystem::last_write_time(dir.path() / "a.ini.lock",
                                     std::filesystem::file_time_type::clock::now() - 1h);
    EXPECT_TRUE(FileLock(path, 50ms));
    // A folder that is not there cannot hold a lock: said at once, not after waiting.
    FileLock none(dir.folder() + "missing/a.ini", 10s);
    EXPECT_FALSE(none);
}

}  // namespace
}  // namespace sulkan
