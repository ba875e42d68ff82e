// Many programs appending to one learner's record file at once, with locks left behind by
// programs that died holding them: every line arrives under its own key, none is lost, and no
// writer waits long for a dead program.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <random>
#include <thread>

#include "FileLock.h"
#include "LineFile.h"
#include "Processes.h"
#include "ProfileFile.h"
#include "Sjis.h"
#include "StudyRecord.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kWriters = 8;
constexpr int kRounds = 200;

struct Reply {
    int ok = 0;
    long long micros = 0;
};

const std::string& Tail() {
    static const std::string tail = sjis(" 2003年10月15日 14:05 OxOO  3/ 4  75点 01:23");
    return tail;
}

// A writer: one append for every "a" read from commands, each answered with a Reply.
[[noreturn]] void Writer(int index, int commands, int replies, const std::string& path,
                         const std::string& section) {
    ProfileRecordSink sink(path, section);
    char command = 0;
    for (int n = 0; ::read(commands, &command, 1) == 1 && command == 'a'; ++n) {
        const auto start = std::chrono::steady_clock::now();
        const Result<> saved =
            sink.append("w" + std::to_string(index) + " " + std::to_string(n) + Tail());
        Reply reply{saved.ok() ? 1 : 0, std::chrono::duration_cast<std::chrono::microseconds>(
                                            std::chrono::steady_clock::now() - start)
                                            .count()};
        if (::write(replies, &reply, sizeof reply) != sizeof reply) _exit(2);
    }
    _exit(0);
}

// The program that gets killed: waits for "go", then appends to a section of its own, and says
// "L" each time it is inside the lock.
[[noreturn]] void DoomedWriter(const std::string& path, int go, int signal) {
    ProfileFile file(path);
    const std::string section = "S99kill";
    char byte = 0;
    if (::read(go, &byte, 1) != 1) _exit(4);
    for (;;)
        file.update([&](ProfileLines& profile) {
            const char inside = 'L';
            if (::write(signal, &inside, 1) != 1) _exit(3);
            const std::string key = std::to_string(profile.keys(section).size() + 1);
            return profile.write(section, key, "k" + key + Tail());
        });
}

int DeadPid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// Whether the lock file there names a process that has ended (it was killed holding the lock).
bool LeftByEndedProcess(const fs::path& lock) {
    std::error_code ec;
    if (!fs::exists(lock, ec)) return false;
    const std::string text = test::ReadRawFile(lock);
    const int pid = std::atoi(text.c_str());
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Places a lock of a process that has ended, as one that died holding it would leave it; waits
// while a live holder has the lock. One the killed program left there is such a lock already.
bool PlantStaleLock(const fs::path& lock) {
    const fs::path temp = lock.parent_path() / "planted.tmp";
    test::WriteRawFile(temp,
                       std::to_string(DeadPid()) + " feedfacefeedface 1 " + OwnHostName() + "\r\n");
    const auto until = std::chrono::steady_clock::now() + 2s;
    bool placed = false;
    while (!placed && std::chrono::steady_clock::now() < until) {
        placed = ::link(temp.c_str(), lock.c_str()) == 0 || LeftByEndedProcess(lock);
        if (!placed) std::this_thread::sleep_for(200us);
    }
    fs::remove(temp);
    return placed;
}

// Waits up to timeout for a byte on fd; false on timeout or end.
bool ReadByte(int fd, std::chrono::milliseconds timeout) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return false;
    char byte = 0;
    return ::read(fd, &byte, 1) == 1;
}

// byName: as on a file system that keeps no system locks, where the lock is claimed by its name.
void EightWritersBesideStaleLocksAndAKilledHolder(bool byName) {
    testing_hooks::noSystemLocks = byName;  // the forked programs take it with them
    test::TempDir dir;
    const std::string path = dir.folder() + "taro.ini";
    const fs::path lock = dir.path() / "taro.ini.lock";
    const std::string section = sjis("S12漢字の読み");
    const auto started = std::chrono::steady_clock::now();

    int commands[kWriters], replies[kWriters];
    pid_t writers[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        int down[2], up[2];
        ASSERT_EQ(::pipe(down), 0);
        ASSERT_EQ(::pipe(up), 0);
        writers[w] = fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) Writer(w, down[0], up[1], path, section);
        ::close(down[0]);
        ::close(up[1]);
        commands[w] = down[1];
        replies[w] = up[0];
    }

    // A ninth program, started again and again and killed 20 to 80 ms after each start, at a
    // moment it holds the lock.
    std::atomic<bool> stop = false;
    std::atomic<int> kills = 0, killedHolding = 0;
    std::thread killer([&] {
        std::mt19937 random(12345);
        while (!stop) {
            int signal[2], go[2];
            if (::pipe(signal) != 0 || ::pipe(go) != 0) return;
            const pid_t doomed = fork();
            if (doomed == 0) {
                ::close(signal[0]);
                ::close(go[1]);
                DoomedWriter(path, go[0], signal[1]);
            }
            ::close(signal[1]);
            ::close(go[0]);
            // It saves only in its last moments, so that the file grows mostly by the writers'
            // lines and the test stays quick.
            std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 61));
            const bool started = ::write(go[1], "g", 1) == 1;
            ::close(go[1]);
            // The next "L" comes from inside the lock; the kill lands somewhere in its save.
            const bool inside = started && ReadByte(signal[0], 2000ms);
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 1000));
            // Whose lock is there just before the kill: the doomed program's, if it still holds.
            const std::string held = fs::exists(lock) ? test::ReadRawFile(lock) : "";
            ::kill(doomed, SIGKILL);
            ::waitpid(doomed, nullptr, 0);
            ::close(signal[0]);
            ++kills;
            if (inside && held.starts_with(std::to_string(doomed) + " ")) ++killedHolding;
        }
    });

    int planted = 0, failed = 0;
    long long slowest = 0;
    for (int round = 0; round < kRounds; ++round) {
        if (PlantStaleLock(lock)) ++planted;
        for (int w = 0; w < kWriters; ++w) ASSERT_EQ(::write(commands[w], "a", 1), 1);
        for (int w = 0; w < kWriters; ++w) {
            Reply reply;
            ASSERT_EQ(::read(replies[w], &reply, sizeof reply), static_cast<ssize_t>(sizeof reply));
            if (!reply.ok) ++failed;
            slowest = std::max(slowest, reply.micros);
        }
    }
    stop = true;
    killer.join();
    testing_hooks::noSystemLocks = false;
    for (int w = 0; w < kWriters; ++w) {
        ASSERT_EQ(::write(commands[w], "q", 1), 1);
        int status = 0;
        ASSERT_EQ(waitpid(writers[w], &status, 0), writers[w]);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ::close(commands[w]);
        ::close(replies[w]);
    }

    EXPECT_EQ(planted, kRounds);
    EXPECT_EQ(failed, 0);
    // No append waits long for a dead program's lock. The sanitizers make every save several
    // times slower, and so every wait behind the seven live writers.
#if defined(__SANITIZE_ADDRESS__)
    constexpr long long kLongestWait = 10'000'000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    constexpr long long kLongestWait = 10'000'000;
#else
    constexpr long long kLongestWait = 2'000'000;
#endif
#else
    constexpr long long kLongestWait = 2'000'000;
#endif
    EXPECT_LT(slowest, kLongestWait) << "an append waited " << slowest / 1000 << " ms";
    EXPECT_GT(kills, 20);
    // Most kills leave the killed program's lock behind (the rest land just after its save).
    EXPECT_GT(killedHolding * 2, kills.load()) << killedHolding << " of " << kills;

    const ProfileLines profile = ProfileFile(path).load();
    const std::vector<std::string> keys = profile.keys(section);
    ASSERT_EQ(keys.size(), static_cast<std::size_t>(kWriters * kRounds));
    int next[kWriters] = {};
    for (std::size_t k = 0; k < keys.size(); ++k) {
        ASSERT_EQ(keys[k], std::to_string(k + 1));
        const std::string value = profile.read(section, keys[k], "?");
        // Whole, and each writer's lines in the order it wrote them.
        ASSERT_TRUE(value.size() > 2 && value[0] == 'w' && value[1] >= '0' && value[1] < '8')
            << value;
        const int w = value[1] - '0';
        ASSERT_EQ(value, "w" + std::to_string(w) + " " + std::to_string(next[w]++) + Tail());
    }
    // The killed program's own lines: whatever was saved is whole and numbered without a gap.
    const std::vector<std::string> doomedKeys = profile.keys("S99kill");
    for (std::size_t k = 0; k < doomedKeys.size(); ++k) {
        ASSERT_EQ(doomedKeys[k], std::to_string(k + 1));
        ASSERT_EQ(profile.read("S99kill", doomedKeys[k], "?"), "k" + doomedKeys[k] + Tail());
    }
    std::cout << "[          ] " << kills << " kills (" << killedHolding << " holding), "
              << doomedKeys.size() << " lines of the killed program, slowest append "
              << slowest / 1000 << " ms, "
              << std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::steady_clock::now() - started)
                     .count()
              << " ms in all\n";
}

TEST(RecordWriters, EightProgramsLoseNothingBesideStaleLocksAndAKilledHolder) {
    EightWritersBesideStaleLocksAndAKilledHolder(false);
}

TEST(RecordWriters, WithoutSystemLocksEightProgramsLoseNothingEither) {
    EightWritersBesideStaleLocksAndAKilledHolder(true);
}

}  // namespace
}  // namespace sulkan
