#include "FileLock.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string_view>
#include <system_error>
#include <thread>

#include "LineFile.h"
#include "Processes.h"
#include "Sjis.h"

#ifdef _WIN32
#define NOMINMAX
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sulkan {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

// How the lock works: the lock file is opened (created when missing) and the system's own lock is
// taken on one byte of it. That lock is the one that counts: the system gives it to one holder
// at a time and drops it the moment its process ends, however it ends, also on a share whose
// server keeps locks for its clients. The holder then writes its owner line into the file
// ("<pid> <token> <process start> <host>"), keeps its time fresh while it holds it, and removes the
// file when done. An owner line found by the next holder was left by a holder that never
// released: this computer's by a process that has ended (taken at once), another computer's
// perhaps by a live one on a share that does not pass locks between computers (taken only when
// it has not been refreshed for the stale age).

namespace {

// The byte the system lock is taken on: beyond any content, so that readers of the owner line are
// never refused, and the same on every system, so that locks of all computers on a share meet.
constexpr std::int64_t kLockedByte = std::int64_t(1) << 30;

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

std::uint64_t OwnStartTime() {
    static const std::uint64_t started = ProcessStartTime(OwnProcessId());
    return started;
}

// The one line our lock files hold: it tells this holder from every other, also from an earlier
// process that had the same id.
std::string OwnerLine() {
    return std::to_string(OwnProcessId()) + " " + RandomHex() + " " +
           std::to_string(OwnStartTime()) + " " + HostName() + "\r\n";
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

// A name of our temporary files, which saves remove again when their process is gone.
fs::path TempName(const fs::path& folder) {
    return TempFileNameIn(folder, RandomHex());
}

// The file system's time now, from a file written just now: ages of locks are measured on the
// clock that stamped them, not on this computer's, which may differ from a server's.
fs::file_time_type FileSystemNow(const fs::path& folder) {
    const fs::path probe = TempName(folder);
    std::error_code ec;
    if (!std::ofstream(probe, std::ios::binary)) return fs::file_time_type::clock::now();
    const auto stamped = fs::last_write_time(probe, ec);
    const bool known = !ec;
    fs::remove(probe, ec);
    return known ? stamped : fs::file_time_type::clock::now();
}

#ifdef _WIN32
using Handle = HANDLE;
const Handle kNoHandle = INVALID_HANDLE_VALUE;

std::intptr_t Stored(Handle handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}
Handle Held(std::intptr_t stored) {
    return reinterpret_cast<Handle>(stored);
}

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

Handle OpenLockFile(const fs::path& path, int& error) {
    const Handle handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    // Another program opening the file for a moment without sharing it: as if locked.
    error =
        handle == kNoHandle
            ? (GetLastError() == ERROR_SHARING_VIOLATION ? EWOULDBLOCK : ErrnoOf(GetLastError()))
            : 0;
    return handle;
}

void CloseLockFile(Handle handle) {
    CloseHandle(handle);
}

enum class SystemLock { Held, Busy, Unsupported, Failed };

SystemLock TakeSystemLock(Handle handle, int& error) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(kLockedByte & 0xFFFFFFFF);
    at.OffsetHigh = static_cast<DWORD>(kLockedByte >> 32);
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return SystemLock::Held;
    const DWORD code = GetLastError();
    if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING) return SystemLock::Busy;
    if (code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_FUNCTION)
        return SystemLock::Unsupported;
    error = ErrnoOf(code);
    return SystemLock::Failed;
}

// Whether the name still leads to the file held open: a released lock is gone or replaced.
bool StillNamed(Handle handle, const fs::path& path) {
    BY_HANDLE_FILE_INFORMATION held{}, named{};
    if (!GetFileInformationByHandle(handle, &held)) return false;
    const Handle again =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (again == kNoHandle) return false;
    const bool ok = GetFileInformationByHandle(again, &named);
    CloseHandle(again);
    return ok && held.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
           held.nFileIndexHigh == named.nFileIndexHigh && held.nFileIndexLow == named.nFileIndexLow;
}

std::optional<std::string> ReadHeld(Handle handle) {
    std::string text(512, '\0');
    OVERLAPPED at{};
    DWORD got = 0;
    if (!ReadFile(handle, text.data(), static_cast<DWORD>(text.size()), &got, &at)) {
        if (GetLastError() != ERROR_HANDLE_EOF) return std::nullopt;
        got = 0;
    }
    text.resize(got);
    return text;
}

int WriteHeld(Handle handle, const std::string& text) {
    OVERLAPPED at{};
    DWORD put = 0;
    if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &put, &at) ||
        put != text.size())
        return ErrnoOf(GetLastError());
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(text.size());
    if (!SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) || !SetEndOfFile(handle))
        return ErrnoOf(GetLastError());
    return 0;
}

void TouchHeld(Handle handle) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    SetFileTime(handle, nullptr, nullptr, &now);
}

// Windows cannot remove a file another program holds open; an empty lock file is a free one.
void ReleaseHeld(Handle handle, const fs::path&) {
    WriteHeld(handle, std::string());
}
#else
using Handle = int;
constexpr Handle kNoHandle = -1;

std::intptr_t Stored(Handle fd) {
    return fd;
}
Handle Held(std::intptr_t stored) {
    return static_cast<Handle>(stored);
}

Handle OpenLockFile(const fs::path& path, int& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    error = fd < 0 ? errno : 0;
    // Learners of a shared folder may be different users: a lock one of them left behind (killed)
    // must still open for writing for the others. Only its creator can do this; others' fail.
    if (fd >= 0) (void)::fchmod(fd, 0666);
    return fd;
}

void CloseLockFile(Handle fd) {
    ::close(fd);
}

enum class SystemLock { Held, Busy, Unsupported, Failed };

bool NoLocksHere(int error) {
    return error == ENOLCK || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

SystemLock TakeSystemLock(Handle fd, int& error) {
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(kLockedByte);
    range.l_len = 1;
#ifdef F_OFD_SETLK
    // Held by the open file, not the process: two threads of one program exclude each other too.
    if (::fcntl(fd, F_OFD_SETLK, &range) == 0) return SystemLock::Held;
    if (errno == EAGAIN || errno == EACCES) return SystemLock::Busy;
    if (errno != EINVAL && !NoLocksHere(errno)) {
        error = errno;
        return SystemLock::Failed;
    }
#endif
    // Without such locks: flock belongs to the open file as well.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return SystemLock::Held;
    if (errno == EWOULDBLOCK) return SystemLock::Busy;
    if (NoLocksHere(errno) || errno == EINVAL) return SystemLock::Unsupported;
    error = errno;
    return SystemLock::Failed;
}

bool StillNamed(Handle fd, const fs::path& path) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

std::optional<std::string> ReadHeld(Handle fd) {
    std::string text(512, '\0');
    const ssize_t got = ::pread(fd, text.data(), text.size(), 0);
    if (got < 0) return std::nullopt;
    text.resize(static_cast<std::size_t>(got));
    return text;
}

int WriteHeld(Handle fd, const std::string& text) {
    // One write of a short line at the start, then the rest cut: a reader sees it whole or not.
    if (::pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size()))
        return errno ? errno : ENOSPC;
    if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) return errno;
    return 0;
}

void TouchHeld(Handle fd) {
    ::futimens(fd, nullptr);
}

void ReleaseHeld(Handle, const fs::path& path) {
    ::unlink(path.c_str());
}
#endif

// The owner lines of the locks this process holds now: on a file system without system locks,
// they tell a lock of another thread from a leftover of this process. With add, adds (true) or
// removes (false) line.
bool HeldHere(const std::string& line, std::optional<bool> add) {
    static std::mutex mutex;
    static std::set<std::string> held;
    const std::lock_guard guard(mutex);
    if (add) {
        if (*add)
            held.insert(line);
        else
            held.erase(line);
    }
    return held.contains(line);
}

// Whether this process released the lock at path a moment ago; with when, notes a release.
bool ReleasedJustNow(const fs::path& path,
                     std::optional<std::chrono::steady_clock::time_point> when) {
    static std::mutex mutex;
    static std::map<fs::path, std::chrono::steady_clock::time_point> released;
    const std::lock_guard guard(mutex);
    const auto now = std::chrono::steady_clock::now();
    if (when) {
        // Only the last few matter.
        if (released.size() > 64)
            std::erase_if(released, [&](const auto& r) { return now - r.second > 10ms; });
        released[path] = *when;
        return true;
    }
    const auto found = released.find(path);
    return found != released.end() && now - found->second < 5ms;
}

// Whether an owner line found in a lock whose system lock was free still stands for a holder:
// one that names nobody, or this computer's ended process, or one not refreshed for the stale
// age, does not.
bool StandsForHolder(const std::optional<std::string>& content, fs::file_time_type written,
                     const std::function<fs::file_time_type()>& now, std::chrono::seconds stale) {
    const std::optional<Owner> owner = content ? ParseOwner(*content) : std::nullopt;
    if (!owner) return false;
    if (owner->thisHost) {
        // A line of this very process stands only while one of its locks holds it; otherwise
        // a release could not remove the file.
        if (owner->pid == OwnProcessId() &&
            (owner->started == 0 || owner->started == OwnStartTime()))
            return HeldHere(*content, std::nullopt);
        if (ProcessGone(owner->pid, owner->started)) return false;
    }
    // Another computer's process ids mean nothing here: its lock goes by its age alone.
    return now() - written <= stale;
}

// Whether files in folder take system locks, tried once per folder on a file of our own: a file
// system that refuses them (a share without its lock service) does so for all its files.
bool SystemLocksIn(const fs::path& folder) {
    static std::mutex mutex;
    static std::map<fs::path, bool> known;
    {
        const std::lock_guard guard(mutex);
        if (const auto found = known.find(folder); found != known.end()) return found->second;
    }
    const fs::path probe = TempName(folder);
    int error = 0;
    const Handle handle = OpenLockFile(probe, error);
    if (handle == kNoHandle) return true;  // the lock file itself will tell why
    const bool locks = TakeSystemLock(handle, error) != SystemLock::Unsupported;
    CloseLockFile(handle);
    std::error_code ec;
    fs::remove(probe, ec);
    const std::lock_guard guard(mutex);
    known[folder] = locks;
    return locks;
}

std::optional<std::string> ReadNamed(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(512, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

enum class Claim { Held, Busy, Failed };

// The name the takeover of one leftover, as it was seen, is claimed under: of all the claimants
// that judged it stale, only the one that creates this name removes it.
fs::path TakeoverName(const fs::path& lockPath, const std::string& content,
                      fs::file_time_type written) {
    const std::size_t seen = std::hash<std::string>()(
        content + "@" + std::to_string(written.time_since_epoch().count()));
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(seen));
    fs::path name = lockPath;
    name += std::string(".take-") + text;
    return name;
}

// Without system locks the name itself is the lock: the owner line is written into a file of its
// own and linked into place, which succeeds for one claimant only, so a lock file of ours is never
// empty. A leftover judged stale is removed only by the one claimant that links its own file to
// the leftover's takeover name, and only if it is still there unchanged: nobody else removes it
// meanwhile, so a holder's lock made in its place is never removed by mistake.
Claim ClaimByName(const fs::path& lockPath, const std::string& owner, std::chrono::seconds stale,
                  const std::function<fs::file_time_type()>& now, Handle& held, int& error) {
    const fs::path temp = TempName(lockPath.parent_path());
    const Handle handle = OpenLockFile(temp, error);
    if (handle == kNoHandle) return Claim::Failed;
    std::error_code ec;
    auto giveUp = [&](Claim claim) {
        HeldHere(owner, false);
        CloseLockFile(handle);
        fs::remove(temp, ec);
        return claim;
    };
    auto seen = [&](const fs::path& path) {
        const std::optional<std::string> content = ReadNamed(path);
        std::error_code timeError;
        const auto written = fs::last_write_time(path, timeError);
        return std::pair(timeError ? std::nullopt : content,
                         timeError ? fs::file_time_type() : written);
    };
    if ((error = WriteHeld(handle, owner)) != 0) return giveUp(Claim::Failed);
    // Noted as held before it is in place: another thread of ours must not judge it a leftover.
    HeldHere(owner, true);
    for (int tries = 0; tries < 3; ++tries) {
        fs::create_hard_link(temp, lockPath, ec);
        if (!ec) {
            fs::remove(temp, ec);
            held = handle;
            return Claim::Held;
        }
        if (ec != std::errc::file_exists) {
            error = ec.value();
            return giveUp(Claim::Failed);
        }
        const auto [judged, written] = seen(lockPath);
        if (!judged || StandsForHolder(judged, written, now, stale)) return giveUp(Claim::Busy);
        const fs::path takeover = TakeoverName(lockPath, *judged, written);
        fs::create_hard_link(temp, takeover, ec);
        if (ec) {
            // Another claimant is taking it over, or was killed doing so: its takeover name is
            // judged as a lock is, and one left by a claimant that is gone is cleared.
            const auto [taker, taken] = seen(takeover);
            if (taker && !StandsForHolder(taker, taken, now, stale)) fs::remove(takeover, ec);
            return giveUp(Claim::Busy);
        }
        const auto [still, stillWritten] = seen(lockPath);
        const bool same = still == judged && stillWritten == written;
        if (same) fs::remove(lockPath, ec);
        fs::remove(takeover, ec);
        if (!same) return giveUp(Claim::Busy);
    }
    return giveUp(Claim::Busy);
}

std::chrono::milliseconds RefreshInterval(std::chrono::seconds stale) {
    return std::clamp<std::chrono::milliseconds>(std::chrono::milliseconds(stale) / 4, 50ms, 5s);
}

}  // namespace

// Keeps the time of a held lock fresh, so that a long save on a slow share is not judged stale by
// another computer.
class FileLock::Refresher {
public:
    Refresher(Handle handle, std::chrono::milliseconds every)
        : m_thread([this, handle, every] { run(handle, every); }) {}
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
    void run(Handle handle, std::chrono::milliseconds every) {
        std::unique_lock guard(m_mutex);
        while (!m_wake.wait_for(guard, every, [this] { return m_stop; })) TouchHeld(handle);
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
    auto busy = [&] {
        m_error = sjis("ファイル ") + path +
                  sjis(" はほかのプログラムが使用中です。しばらくしてからやり直してください");
    };
    // How far the file system's clock is from ours, measured once and only when an age is needed.
    std::optional<fs::file_time_type::duration> skew;
    const auto now = [&] {
        if (!skew)
            skew = FileSystemNow(m_lockPath.parent_path()) - fs::file_time_type::clock::now();
        return fs::file_time_type::clock::now() + *skew;
    };
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::minstd_rand jitter(static_cast<unsigned>(OwnProcessId()) ^
                            static_cast<unsigned>(std::hash<std::string>()(m_owner)));
    // Waiters try again after a pause: a program that has just released this lock and wants it
    // again pauses as they do, or it would take it back every time before any of them.
    if (ReleasedJustNow(m_lockPath, std::nullopt))
        std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 1500));
    const bool byName = testing_hooks::noSystemLocks || !SystemLocksIn(m_lockPath.parent_path());
    for (;;) {
        int error = 0;
        if (byName) {
            Handle held = kNoHandle;
            const Claim claim = ClaimByName(m_lockPath, m_owner, stale, now, held, error);
            if (claim == Claim::Failed) {
                cannotLock(error);
                return;
            }
            if (claim == Claim::Held) {
                m_handle = Stored(held);
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                busy();
                return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 1500));
            continue;
        }
        const Handle handle = OpenLockFile(m_lockPath, error);
        if (handle == kNoHandle && error != EWOULDBLOCK) {
            cannotLock(error);
            return;
        }
        bool free = false;
        bool replaced = false;
        if (handle != kNoHandle) {
            const SystemLock got = testing_hooks::noSystemLocks ? SystemLock::Unsupported
                                                                : TakeSystemLock(handle, error);
            switch (got) {
                case SystemLock::Failed:
                    CloseLockFile(handle);
                    cannotLock(error);
                    return;
                case SystemLock::Busy:
                    break;
                case SystemLock::Unsupported:
                    // A file system that keeps no locks (a share without its lock service): the
                    // owner line alone is all there is to go by.
                    [[fallthrough]];
                case SystemLock::Held: {
                    std::error_code ec;
                    auto written = fs::last_write_time(m_lockPath, ec);
                    if (ec) written = now();  // no age known: counts as young
                    // The holder before released it (removed the file) while we opened it: the
                    // next try, at once, opens the current one.
                    replaced = !StillNamed(handle, m_lockPath);
                    free = !replaced && !StandsForHolder(ReadHeld(handle), written, now, stale);
                    break;
                }
            }
        }
        if (free) {
            if ((error = WriteHeld(handle, m_owner)) != 0) {
                ReleaseHeld(handle, m_lockPath);
                CloseLockFile(handle);
                cannotLock(error);
                return;
            }
            m_handle = Stored(handle);
            HeldHere(m_owner, true);
            break;
        }
        if (handle != kNoHandle) CloseLockFile(handle);
        const bool late = std::chrono::steady_clock::now() >= deadline;
        if (replaced && !late) continue;
        if (late) {
            busy();
            return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 1500));
    }
    m_locked = true;
    m_refresher = std::make_unique<Refresher>(Held(m_handle), RefreshInterval(stale));
}

FileLock::~FileLock() {
    m_refresher.reset();
    if (!m_locked) return;
    const auto handle = Held(m_handle);
    // Another's lock in our place (ours was judged stale on a share that keeps no locks) is left
    // alone. The name goes before the system lock, so that no one finds our line without it.
    if (StillNamed(handle, m_lockPath) && ReadHeld(handle) == m_owner)
        ReleaseHeld(handle, m_lockPath);
    CloseLockFile(handle);
    HeldHere(m_owner, false);
    ReleasedJustNow(m_lockPath, std::chrono::steady_clock::now());
}

bool RemoveAbandonedLock(const std::string& lockPath) {
    const fs::path path = NativePath(lockPath);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return true;
#ifdef _WIN32
    // A live holder keeps it open without letting it be removed.
    return DeleteFileW(path.c_str()) != 0;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return errno == ENOENT;
    // Its holder keeps flock on it from creating it until removing it.
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, path))
        removed = ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
#endif
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
