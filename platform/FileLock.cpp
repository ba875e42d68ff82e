#include "FileLock.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>
#include <thread>

#include "LineFile.h"
#include "Processes.h"
#include "Sjis.h"

#ifdef _WIN32
#define NOMINMAX
#include <io.h>
#include <process.h>
#include <sys/utime.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sulkan {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// An empty or unreadable lock cannot name its holder; it only exists from a holder killed while
// creating it without hard links (or a machine switched off), so it is waited for this long.
constexpr auto kNamelessLockGrace = std::chrono::seconds(2);

const std::string& HostName() {
    static const std::string own = OwnHostName();
    return testing_hooks::lockHostName ? *testing_hooks::lockHostName : own;
}

std::string RandomHex() {
    static std::mutex mutex;
    static std::mt19937_64 generator = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(),
                           static_cast<unsigned>(OwnProcessId())};
        return std::mt19937_64(seed);
    }();
    std::uint64_t value;
    {
        const std::lock_guard guard(mutex);
        value = generator();
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// The one line our lock files hold: it tells this holder from every other, also from an earlier
// process that had the same id.
std::string OwnerLine() {
    static const std::uint64_t started = ProcessStartTime(OwnProcessId());
    return std::to_string(OwnProcessId()) + " " + RandomHex() + " " + std::to_string(started) +
           " " + HostName() + "\r\n";
}

struct Owner {
    int pid = 0;
    std::uint64_t started = 0;
    bool thisHost = false;
};

bool AllDigits(std::string_view text) {
    return !text.empty() && text.size() <= 20 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<pid> <token> <start> <host>", or a bare pid as older versions wrote on their own computer.
std::optional<Owner> ParseOwner(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    auto field = [&text]() {
        const std::size_t blank = text.find(' ');
        std::string_view head = text.substr(0, blank);
        text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
        return head;
    };
    const std::string_view pid = field();
    if (!AllDigits(pid) || pid.size() > 9) return std::nullopt;
    Owner owner;
    owner.pid = std::stoi(std::string(pid));
    if (text.empty()) {
        owner.thisHost = true;
        return owner;
    }
    const std::string_view token = field();
    const std::string_view started = field();
    if (token.empty() || !AllDigits(started) || text.empty()) return std::nullopt;
    owner.started = std::stoull(std::string(started));
    owner.thisHost = text == HostName();
    return owner;
}

std::optional<std::string> ReadContent(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(512, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) return std::nullopt;
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// What a waiter sees of a lock: whether it is there, its text (nullopt: unreadable), its time.
struct LockSeen {
    bool exists = false;
    bool regular = true;
    std::optional<std::string> content;
    fs::file_time_type written{};
};

LockSeen Inspect(const fs::path& path) {
    LockSeen seen;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec || !fs::exists(status)) return seen;
    seen.exists = true;
    seen.regular = fs::is_regular_file(status);
    seen.written = fs::last_write_time(path, ec);
    if (ec) seen.written = fs::file_time_type::clock::now();  // no age known: counts as young
    seen.content = ReadContent(path);
    return seen;
}

// now is the file system's clock (see OwnerFile::skew), so another computer's clock does not
// make a lock look older or younger than it is.
bool IsStale(const LockSeen& seen, fs::file_time_type now, std::chrono::seconds stale) {
    if (!seen.exists || !seen.regular) return false;
    const auto age = now - seen.written;
    const std::optional<Owner> owner = seen.content ? ParseOwner(*seen.content) : std::nullopt;
    if (!owner) return age > std::min<fs::file_time_type::duration>(stale, kNamelessLockGrace);
    if (age > stale) return true;
    // Another computer's process ids mean nothing here: its lock goes by its age alone.
    return owner->thisHost && ProcessGone(owner->pid, owner->started);
}

// A name of our temporary files, which saves remove again when their process is gone.
fs::path TempName(const fs::path& folder) {
    return folder / (".~sulkan-" + std::to_string(OwnProcessId()) + "-" + RandomHex() + ".tmp");
}

// Writes text into a new temporary file in folder; the errno value on failure.
int CreateOwnerFile(const fs::path& folder, const std::string& text, fs::path& created) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        created = TempName(folder);
#ifdef _WIN32
        int fd = -1;
        _wsopen_s(&fd, created.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                  _S_IREAD | _S_IWRITE);
#else
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
#endif
        if (fd < 0) {
            if (errno == EEXIST) continue;
            created.clear();
            return errno;
        }
#ifdef _WIN32
        const bool written = _write(fd, text.data(), static_cast<unsigned>(text.size())) ==
                             static_cast<int>(text.size());
        const int error = written ? 0 : errno;
        _close(fd);
#else
        const bool written =
            ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        const int error = written ? 0 : (errno ? errno : ENOSPC);
        ::close(fd);
#endif
        if (!written) {
            std::error_code ec;
            fs::remove(created, ec);
            created.clear();
            return error;
        }
        return 0;
    }
    created.clear();
    return EEXIST;
}

#ifdef _WIN32
int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            return EEXIST;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}
#else
// The file system has no hard links (FAT on a memory stick, some shares).
bool NoHardLinks(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS ||
           error == EMLINK;
}
#endif

// Gives the complete file from the name to, only if to does not exist: no one ever sees a lock
// without its owner. from is gone on success. The errno value on failure (EEXIST: taken).
int PlaceExclusive(const fs::path& from, const fs::path& to, const std::string& text) {
#ifdef _WIN32
    (void)text;
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
    return ErrnoOf(GetLastError());
#else
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    int error = errno;
    if (!NoHardLinks(error)) return error;
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    error = errno;
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP && error != EOPNOTSUPP) return error;
#endif
    // Neither: create exclusively and write at once. Waiters give such a lock a moment while it
    // is still empty.
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    (void)!::write(fd, text.data(), text.size());
    ::close(fd);
    ::unlink(from.c_str());
    return 0;
#endif
}

int MoveAside(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), 0)) return 0;
    return ErrnoOf(GetLastError());
#else
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
#endif
}

// Removes the file at path only if it is still the one expected (by its text; nullopt: one that
// could not be read). It is moved aside first, so what is judged is exactly what is removed; one
// that turns out to be another's goes back unless a newer one has taken its place. True when the
// file is gone.
bool RemoveIfStill(const fs::path& path, const std::optional<std::string>& expected) {
    const fs::path aside = TempName(path.parent_path());
    if (const int error = MoveAside(path, aside)) return error == ENOENT;
    const std::optional<std::string> content = ReadContent(aside);
    std::error_code ec;
    if (content == expected) {
        fs::remove(aside, ec);
        return true;
    }
    if (PlaceExclusive(aside, path, content.value_or(std::string())) != 0) fs::remove(aside, ec);
    return false;
}

void Touch(const fs::path& path) {
#ifdef _WIN32
    _wutime(path.c_str(), nullptr);
#else
    ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
#endif
}

// Removes a stale lock while holding path + ".takeover", so that of several waiters that judged
// the same lock stale only one removes it, and none removes the lock another has placed since.
// True when a retry may succeed at once.
bool TakeOver(const fs::path& lock, const LockSeen& judged, const std::string& owner,
              fs::file_time_type::duration skew, std::chrono::seconds stale) {
    fs::path guard = lock;
    guard += ".takeover";
    fs::path mine;
    if (CreateOwnerFile(lock.parent_path(), owner, mine) != 0) return false;
    const int placed = PlaceExclusive(mine, guard, owner);
    if (placed != 0) {
        std::error_code ec;
        fs::remove(mine, ec);
        if (placed != EEXIST) return false;
        // Its holder was killed in these few steps: the guard goes as any stale lock does.
        const LockSeen guardSeen = Inspect(guard);
        const auto now = fs::file_time_type::clock::now() + skew;
        return guardSeen.exists && IsStale(guardSeen, now, stale) &&
               RemoveIfStill(guard, guardSeen.content);
    }
    bool retry = false;
    const LockSeen again = Inspect(lock);
    const auto now = fs::file_time_type::clock::now() + skew;
    if (!again.exists)
        retry = true;
    else if (again.content == judged.content && IsStale(again, now, stale))
        retry = RemoveIfStill(lock, again.content);
    RemoveIfStill(guard, owner);
    return retry;
}

std::chrono::milliseconds RefreshInterval(std::chrono::seconds stale) {
    return std::clamp<std::chrono::milliseconds>(std::chrono::milliseconds(stale) / 4, 50ms, 5s);
}

}  // namespace

// Keeps the time of a held lock fresh, so that a long save on a slow share is not judged stale by
// another computer. It stops as soon as the lock is no longer ours.
class FileLock::Refresher {
public:
    Refresher(fs::path lock, std::string owner, std::chrono::milliseconds every)
        : m_thread([this, lock = std::move(lock), owner = std::move(owner), every] {
              run(lock, owner, every);
          }) {}
    ~Refresher() {
        {
            const std::lock_guard guard(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    Refresher(const Refresher&) = delete;
    Refresher& operator=(const Refresher&) = delete;

private:
    void run(const fs::path& lock, const std::string& owner, std::chrono::milliseconds every) {
        std::unique_lock guard(m_mutex);
        while (!m_wake.wait_for(guard, every, [this] { return m_stop; })) {
            guard.unlock();
            if (ReadContent(lock) != owner) return;
            Touch(lock);
            guard.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;  // last: it starts once the members it uses exist
};

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait,
                   std::chrono::seconds stale) {
    m_lockPath = NativePath(path);
    m_lockPath += ".lock";
    m_owner = OwnerLine();
    auto cannotLock = [&](int error) {
        m_error = sjis("ファイル ") + path + sjis(" をロックできません（") +
                  SystemErrorText(error) + sjis("）");
    };
    fs::path mine;
    if (const int error = CreateOwnerFile(m_lockPath.parent_path(), m_owner, mine)) {
        cannotLock(error);
        return;
    }
    // The file system's clock against ours, from the file just written: ages of locks are
    // measured on the clock that stamped them.
    std::error_code ec;
    const auto stamped = fs::last_write_time(mine, ec);
    const auto skew =
        ec ? fs::file_time_type::duration::zero() : stamped - fs::file_time_type::clock::now();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::minstd_rand jitter(static_cast<unsigned>(OwnProcessId()));
    int lateRetries = 0;
    for (;;) {
        const int error = PlaceExclusive(mine, m_lockPath, m_owner);
        if (error == 0) break;
        if (error != EEXIST) {
            fs::remove(mine, ec);
            cannotLock(error);
            return;
        }
        const LockSeen seen = Inspect(m_lockPath);
        // A share may answer "exists" to a link it has made when it repeats the request.
        if (seen.content == m_owner) {
            fs::remove(mine, ec);
            break;
        }
        const auto now = fs::file_time_type::clock::now() + skew;
        const bool retryNow = !seen.exists || (IsStale(seen, now, stale) &&
                                               TakeOver(m_lockPath, seen, m_owner, skew, stale));
        const bool late = std::chrono::steady_clock::now() >= deadline;
        // A lock that went just now is tried for even when the time is up, but not endlessly.
        if (retryNow && (!late || ++lateRetries <= 2)) continue;
        if (late) {
            fs::remove(mine, ec);
            m_error = sjis("ファイル ") + path +
                      sjis(" はほかのプログラムが使用中です。しばらくしてからやり直してください");
            return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 1500));
    }
    m_locked = true;
    m_refresher = std::make_unique<Refresher>(m_lockPath, m_owner, RefreshInterval(stale));
}

FileLock::~FileLock() {
    m_refresher.reset();
    if (!m_locked) return;
    // Another's lock (ours was judged stale and taken over) is left alone.
    if (ReadContent(m_lockPath) == m_owner) RemoveIfStill(m_lockPath, m_owner);
}

bool FolderWritable(const std::string& folder) {
    if (testing_hooks::folderWritable) return (*testing_hooks::folderWritable)(folder);
    const fs::path native = NativePath(folder);
    std::error_code ec;
    if (!fs::is_directory(native, ec)) return false;
#ifdef _WIN32
    return _waccess(native.c_str(), 2) == 0;
#else
    // access() reports a read-only file system even to root.
    return ::access(native.c_str(), W_OK) == 0;
#endif
}

}  // namespace sulkan
