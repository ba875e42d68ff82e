// The lock beside a shared file: held, waited for, taken over only when its holder is gone, and
// never removed from under another holder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>
#include <vector>

#include "FileLock.h"
#include "Processes.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The id of a process of this computer that has ended and been collected.
int DeadPid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::string Owner(int pid, std::uint64_t started, const std::string& host) {
    return std::to_string(pid) + " 0123456789abcdef " + std::to_string(started) + " " + host +
           "\r\n";
}

void MakeOld(const fs::path& file) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - 1h);
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const std::string kBusy = sjis("はほかのプログラムが使用中です");

TEST(FileLock, ExcludesWhileHeldAndLeavesNothingBehind) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    {
        FileLock first(path);
        ASSERT_TRUE(first) << first.error();
        // The lock is complete from its first moment: it names this process and this computer.
        const std::string text = test::ReadRawFile(dir.path() / "a.ini.lock");
        EXPECT_TRUE(text.starts_with(std::to_string(OwnProcessId()) + " ")) << text;
        EXPECT_NE(text.find(" " + OwnHostName() + "\r\n"), std::string::npos) << text;
        // Writable for every user of a shared folder, whatever the umask, so that one left by a
        // killed program of another user can still be opened and taken.
        EXPECT_EQ(fs::status(dir.path() / "a.ini.lock").permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                      fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
        FileLock second(path, 50ms);
        EXPECT_FALSE(second);
        EXPECT_NE(second.error().find("a.ini"), std::string::npos);
        EXPECT_NE(second.error().find(kBusy), std::string::npos);
    }
    // No lock and no temporary file of the lock left.
    EXPECT_TRUE(FilesIn(dir.path()).empty());
    EXPECT_TRUE(FileLock(path, 50ms));

    // A folder that is not there cannot hold a lock: said at once with the reason, not after
    // waiting.
    const auto start = std::chrono::steady_clock::now();
    FileLock none(dir.folder() + "missing/a.ini", 10s);
    EXPECT_FALSE(none);
    EXPECT_LT(SecondsSince(start), 1.0);
    EXPECT_NE(none.error().find(sjis("をロックできません")), std::string::npos) << none.error();
}

TEST(FileLock, ThreadsOfOneProgramExcludeEachOther) {
    test::TempDir dir;
    const std::string path = dir.folder() + "count.txt";
    const fs::path counter = dir.path() / "count.txt";
    test::WriteRawFile(counter, "0");
    std::atomic<int> failed = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                const FileLock lock(path);
                if (!lock) {
                    ++failed;
                    continue;
                }
                // A plain read and rewrite: any second holder loses an increment.
                const int value = std::stoi(test::ReadRawFile(counter));
                std::ofstream(counter, std::ios::binary | std::ios::trunc) << value + 1;
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(test::ReadRawFile(counter), "400");
}

TEST(FileLock, ThisComputersLockIsTakenAtOnceWhenItsProcessIsGone) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    const fs::path lock = dir.path() / "a.ini.lock";
    const auto start = std::chrono::steady_clock::now();
    test::WriteRawFile(lock, Owner(DeadPid(), 12345, OwnHostName()));
    EXPECT_TRUE(FileLock(path, 10s));
    // As older versions wrote it: the bare id.
    test::WriteRawFile(lock, std::to_string(DeadPid()));
    EXPECT_TRUE(FileLock(path, 10s));
    // The id of a running process that started at another time: that process reused the id.
    test::WriteRawFile(lock,
                       Owner(OwnProcessId(), ProcessStartTime(OwnProcessId()) + 1, OwnHostName()));
    EXPECT_TRUE(FileLock(path, 10s));
    EXPECT_LT(SecondsSince(start), 2.0);
    EXPECT_FALSE(fs::exists(lock));

    // A line this very process left (a release that could not remove the file) is no holder.
    test::WriteRawFile(lock,
                       Owner(OwnProcessId(), ProcessStartTime(OwnProcessId()), OwnHostName()));
    EXPECT_TRUE(FileLock(path, 100ms));

    // A live process of this computer that named itself without the system's lock (an older
    // version) is waited for.
    test::WriteRawFile(lock, Owner(getppid(), ProcessStartTime(getppid()), OwnHostName()));
    FileLock waiter(path, 100ms);
    EXPECT_FALSE(waiter);
    EXPECT_NE(waiter.error().find(kBusy), std::string::npos);
    EXPECT_TRUE(fs::exists(lock));
}

TEST(FileLock, AnotherProgramsLockHoldsWhileItRunsAndEndsWithItsProcess) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    const fs::path lock = dir.path() / "a.ini.lock";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const FileLock held(path);
        const char byte = held ? 'y' : 'n';
        if (write(ready[1], &byte, 1) != 1) _exit(1);
        for (;;) pause();
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    ASSERT_EQ(byte, 'y');
    {
        // Old or not, a lock whose holder runs is not taken.
        MakeOld(lock);
        FileLock waiter(path, 200ms, 1s);
        EXPECT_FALSE(waiter);
        EXPECT_NE(waiter.error().find(kBusy), std::string::npos) << waiter.error();
    }
    kill(child, SIGKILL);
    // Taken at once, also before the killed program has been collected by its parent.
    const auto start = std::chrono::steady_clock::now();
    {
        FileLock taker(path, 10s);
        EXPECT_TRUE(taker) << taker.error();
        EXPECT_LT(SecondsSince(start), 1.0);
        EXPECT_TRUE(test::ReadRawFile(lock).starts_with(std::to_string(OwnProcessId()) + " "));
    }
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(FilesIn(dir.path()).empty());
}

TEST(FileLock, AnotherComputersLockGoesByItsAgeAlone) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    const fs::path lock = dir.path() / "a.ini.lock";
    // Its id is no process here, which says nothing about the computer it runs on.
    const std::string other = Owner(DeadPid(), 777, "pc-room3");
    test::WriteRawFile(lock, other);
    FileLock waiter(path, 300ms);
    EXPECT_FALSE(waiter);
    EXPECT_NE(waiter.error().find(kBusy), std::string::npos) << waiter.error();
    EXPECT_EQ(test::ReadRawFile(lock), other);
    // Not refreshed for longer than the stale age: its holder is gone.
    MakeOld(lock);
    {
        FileLock taker(path, 300ms);
        EXPECT_TRUE(taker) << taker.error();
        EXPECT_NE(test::ReadRawFile(lock), other);
    }
    EXPECT_FALSE(fs::exists(lock));
}

TEST(FileLock, EmptyOrUnreadableLockDoesNotBlock) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    const fs::path lock = dir.path() / "a.ini.lock";
    // Nobody holds the system's lock on them, so nobody is writing them: young or old, taken.
    for (const std::string& left : {std::string(), std::string("\x01garbage")}) {
        for (const bool old : {false, true}) {
            test::WriteRawFile(lock, left);
            if (old) MakeOld(lock);
            const auto start = std::chrono::steady_clock::now();
            EXPECT_TRUE(FileLock(path, 10s));
            EXPECT_LT(SecondsSince(start), 1.0);
            EXPECT_FALSE(fs::exists(lock));
        }
    }
}

TEST(FileLock, ReleaseLeavesAnotherHoldersLockAlone) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    const fs::path lock = dir.path() / "a.ini.lock";
    const std::string other = Owner(4321, 99, "pc-room3");
    {
        FileLock mine(path);
        ASSERT_TRUE(mine);
        // Meanwhile another program judged ours stale and put its own lock in its place.
        test::WriteRawFile(dir.path() / "other.tmp", other);
        fs::rename(dir.path() / "other.tmp", lock);
    }
    EXPECT_EQ(test::ReadRawFile(lock), other);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"a.ini.lock"});
}

// On a share that keeps no system locks, another computer's lock goes by its time alone.
TEST(FileLock, AHolderRefreshesItsLockSoThatALongSaveIsNotTakenOver) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    const fs::path lock = dir.path() / "a.ini.lock";
    testing_hooks::noSystemLocks = true;
    // The holder stands for another computer: a waiter can judge its lock only by its age.
    const std::string elsewhere = "pc-room3";
    testing_hooks::lockHostName = &elsewhere;
    auto holder = std::make_unique<FileLock>(path, 1s, 1s);
    testing_hooks::lockHostName = nullptr;
    ASSERT_TRUE(*holder);
    const std::string held = test::ReadRawFile(lock);
    ASSERT_NE(held.find(elsewhere), std::string::npos);
    // Held twice as long as the stale age.
    FileLock waiter(path, 2s, 1s);
    EXPECT_FALSE(waiter);
    EXPECT_EQ(test::ReadRawFile(lock), held);
    holder.reset();
    EXPECT_FALSE(fs::exists(lock));

    // The same lock left behind unrefreshed is taken once it is older than the stale age.
    test::WriteRawFile(lock, held);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(FileLock(path, 5s, 1s));
    EXPECT_GT(SecondsSince(start), 0.5);
    testing_hooks::noSystemLocks = false;
}

TEST(FileLock, WithoutSystemLocksTheOwnerLineStillExcludes) {
    test::TempDir dir;
    const std::string path = dir.folder() + "a.ini";
    const fs::path lock = dir.path() / "a.ini.lock";
    testing_hooks::noSystemLocks = true;
    {
        FileLock first(path);
        ASSERT_TRUE(first);
        // Another lock of this same program holds it: the line is not a leftover of ours.
        FileLock second(path, 100ms);
        EXPECT_FALSE(second);
        EXPECT_NE(second.error().find(kBusy), std::string::npos) << second.error();
    }
    EXPECT_FALSE(fs::exists(lock));
    // A leftover of this program that no lock holds is taken.
    test::WriteRawFile(lock,
                       Owner(OwnProcessId(), ProcessStartTime(OwnProcessId()), OwnHostName()));
    EXPECT_TRUE(FileLock(path, 100ms));
    testing_hooks::noSystemLocks = false;
}

// On a file system that keeps no system locks, claiming the lock must still be a single step of
// the file system: threads racing for a free or a dead holder's lock never hold it together.
TEST(FileLock, WithoutSystemLocksRacingClaimsNeverHoldTogether) {
    test::TempDir dir;
    const std::string path = dir.folder() + "count.txt";
    const fs::path lock = dir.path() / "count.txt.lock";
    testing_hooks::noSystemLocks = true;
    std::atomic<int> holders = 0, most = 0, failed = 0;
    for (int round = 0; round < 40; ++round) {
        if (round % 2) test::WriteRawFile(lock, Owner(DeadPid(), 12345, OwnHostName()));
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&] {
                for (int i = 0; i < 5; ++i) {
                    const FileLock held(path);
                    if (!held) {
                        ++failed;
                        continue;
                    }
                    const int now = ++holders;
                    int seen = most;
                    while (now > seen && !most.compare_exchange_weak(seen, now)) {
                    }
                    std::this_thread::sleep_for(100us);
                    --holders;
                }
            });
        for (auto& thread : threads) thread.join();
    }
    testing_hooks::noSystemLocks = false;
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(most, 1);
    EXPECT_FALSE(fs::exists(lock));
    for (const auto& name : FilesIn(dir.path())) {
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
        EXPECT_EQ(name.find(".take-"), std::string::npos) << name;
    }
}

// Lock files of the exclusive-creation kind (as Qt makes them) are removed only when nobody holds
// them.
TEST(FileLock, AnAbandonedLockOfAnotherKindIsRemovedAndAHeldOneIsNot) {
    test::TempDir dir;
    const fs::path other = dir.path() / "s.ini.lock";
    const std::string name = dir.folder() + "s.ini.lock";
    EXPECT_TRUE(RemoveAbandonedLock(name));  // not there
    test::WriteRawFile(other, "");
    {
        const int held = open(other.c_str(), O_RDONLY);
        ASSERT_GE(held, 0);
        ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
        EXPECT_FALSE(RemoveAbandonedLock(name));
        EXPECT_TRUE(fs::exists(other));
        close(held);
    }
    EXPECT_TRUE(RemoveAbandonedLock(name));
    EXPECT_FALSE(fs::exists(other));
}

}  // namespace
}  // namespace sulkan
