// Every saver killed at random moments, 200 times each: the file it saves is always the old or
// the new one, never half of one or missing, and the next save succeeds at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <set>

#include "LineFile.h"
#include "ProfileFile.h"
#include "RecordStore.h"
#include "SettingsStore.h"
#include "Sjis.h"
#include "StudyRecord.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kKills = 200;

// Runs save(0), save(1) ... in a child program, kills it after a random moment up to 6 ms, and
// asks check whether what it left is whole. Stops at the first fault.
void KillWhileSaving(const std::function<void(int)>& save,
                     const std::function<::testing::AssertionResult(int)>& check) {
    std::mt19937 random(2024);
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) save(i);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        const ::testing::AssertionResult whole = check(kill);
        ASSERT_TRUE(whole) << "after kill " << kill;
    }
}

// The next save after a kill: it must not wait for the killed program's lock.
::testing::AssertionResult SavesAtOnce(const std::function<Result<>()>& save) {
    const auto start = std::chrono::steady_clock::now();
    const Result<> saved = save();
    const auto took = std::chrono::steady_clock::now() - start;
    if (!saved)
        return ::testing::AssertionFailure() << "next save failed: " << saved.problem().message;
    if (took > 1s)
        return ::testing::AssertionFailure()
               << "next save waited "
               << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult OneOf(const std::string& bytes, const std::set<std::string>& allowed) {
    if (allowed.contains(bytes)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "file is neither old nor new (" << bytes.size() << " bytes)";
}

const std::string& Tail() {
    static const std::string tail = sjis(" 2003年10月15日 14:05 OxOO  3/ 4  75点 01:23");
    return tail;
}

TEST(KilledSaver, RecordAppend) {
    test::TempDir dir;
    const std::string path = dir.folder() + "taro.ini";
    const std::string section = sjis("S12漢字の読み");
    ProfileRecordSink sink(path, section);
    ASSERT_TRUE(sink.append("first" + Tail()));
    std::size_t count = 1;
    KillWhileSaving([&](int i) { (void)sink.append("child " + std::to_string(i) + Tail()); },
                    [&](int kill) -> ::testing::AssertionResult {
                        const auto bytes = ReadBytes(path);
                        if (!bytes) return ::testing::AssertionFailure() << "file missing";
                        const ProfileLines profile(SplitLines(*bytes));
                        if (JoinLines(profile.lines()) != *bytes)
                            return ::testing::AssertionFailure() << "a line is cut";
                        const std::vector<std::string> keys = profile.keys(section);
                        if (keys.size() < count)
                            return ::testing::AssertionFailure() << "records lost";
                        for (std::size_t k = 0; k < keys.size(); ++k) {
                            if (keys[k] != std::to_string(k + 1))
                                return ::testing::AssertionFailure() << "key gap at " << k;
                            if (!profile.read(section, keys[k], "").ends_with(Tail()))
                                return ::testing::AssertionFailure() << "line " << k << " cut";
                        }
                        count = keys.size() + 1;
                        return SavesAtOnce(
                            [&] { return sink.append("parent " + std::to_string(kill) + Tail()); });
                    });
}

TEST(KilledSaver, Password) {
    test::TempDir dir;
    const std::string path = dir.folder() + "taro.ini";
    std::vector<std::string> lines = {"[password]", "pw=first"};
    lines.push_back(sjis("[S12漢字の読み]"));
    for (int k = 1; k <= 30; ++k) lines.push_back(std::to_string(k) + "=run" + Tail());
    ASSERT_TRUE(WriteLines(path, lines));
    std::set<std::string> allowed;
    for (const char* pw : {"first", "abcd1234", "wxyz5678"}) {
        ProfileLines profile(lines);
        ASSERT_TRUE(profile.write("password", "pw", pw));
        allowed.insert(JoinLines(profile.lines()));
    }
    KillWhileSaving(
        [&](int i) {
            (void)ProfileFile(path).write("password", "pw", i % 2 ? "abcd1234" : "wxyz5678");
        },
        [&](int) -> ::testing::AssertionResult {
            const auto bytes = ReadBytes(path);
            if (!bytes) return ::testing::AssertionFailure() << "file missing";
            if (auto whole = OneOf(*bytes, allowed); !whole) return whole;
            return SavesAtOnce([&] { return ProfileFile(path).write("password", "pw", "first"); });
        });
}

TEST(KilledSaver, Roster) {
    test::TempDir dir;
    const std::string path = dir.folder() + "sname.txt";
    const std::vector<std::string> before = test::Sjis({"共通", "太郎", "花子"});
    const std::vector<std::string> after = test::Sjis({"共通", "太郎", "花子", "一郎"});
    ASSERT_TRUE(SaveRoster(path, before));
    const std::set<std::string> allowed = {JoinLines(before), JoinLines(after)};
    KillWhileSaving([&](int i) { (void)SaveRoster(path, i % 2 ? before : after); },
                    [&](int) -> ::testing::AssertionResult {
                        const auto bytes = ReadBytes(path);
                        if (!bytes) return ::testing::AssertionFailure() << "file missing";
                        if (auto whole = OneOf(*bytes, allowed); !whole) return whole;
                        return SavesAtOnce([&] { return SaveRoster(path, before); });
                    });
}

TEST(KilledSaver, Settings) {
    test::TempDir dir;
    const std::string folder = dir.path().string();
    const fs::path file = dir.path() / "SlkDrill.ini";
    auto store = MakeQtSettingsStore(folder);
    store->writeInt(SettingsKey::Product, "PaperSize", 4);
    std::set<std::string> allowed;
    for (const char* name : {"太郎", "花子"}) {
        store->writeString(SettingsKey::Product, "LogOnName", sjis(name));
        allowed.insert(test::ReadRawFile(file));
    }
    ASSERT_EQ(allowed.size(), 2u);
    KillWhileSaving(
        [&](int i) {
            MakeQtSettingsStore(folder)->writeString(SettingsKey::Product, "LogOnName",
                                                     sjis(i % 2 ? "太郎" : "花子"));
        },
        [&](int) -> ::testing::AssertionResult {
            if (!fs::exists(file)) return ::testing::AssertionFailure() << "file missing";
            if (auto whole = OneOf(test::ReadRawFile(file), allowed); !whole) return whole;
            auto fresh = MakeQtSettingsStore(folder);
            if (auto saved = SavesAtOnce([&] {
                    fresh->writeString(SettingsKey::Product, "LogOnName", sjis("花子"));
                    return Result<>();
                });
                !saved)
                return saved;
            if (fresh->readString(SettingsKey::Product, "LogOnName", "?") != sjis("花子"))
                return ::testing::AssertionFailure() << "the next save did not arrive";
            if (fresh->readInt(SettingsKey::Product, "PaperSize", 0) != 4)
                return ::testing::AssertionFailure() << "another setting was lost";
            return ::testing::AssertionSuccess();
        });
}

}  // namespace
}  // namespace sulkan
