#include "FileLock.h"

#include <fcntl.h>
#include <cerrno>
#include <fstream>
#include <random>
#include <string_view>
#include <system_error>
#include <thread>

#include "LineFile.h"
#include "Processes.h"
#include "Sjis.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace sulkan {
namespace fs = std::filesystem;

namespace {

// Creates the lock file only if it does not exist; the errno value on failure.
int CreateExclusive(const fs::path& path) {
#ifdef _WIN32
    int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY, 0644);
#else
    int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
#endif
    if (fd < 0) return errno;
    const std::string pid = std::to_string(OwnProcessId());
#ifdef _WIN32
    (void)_write(fd, pid.data(), static_cast<unsigned>(pid.size()));
    _close(fd);
#else
    (void)!::write(fd, pid.data(), pid.size());
    ::close(fd);
#endif
    return 0;
}

// A holder that died (its process is gone) or has held the lock far too long.
bool IsStale(const fs::path& path, std::chrono::seconds stale) {
    std::error_code ec;
    const auto written = fs::last_write_time(path, ec);
    if (ec) return false;  // gone already: the next attempt takes it
    if (fs::file_time_type::clock::now() - written > stale) return true;
    std::ifstream in(path, std::ios::binary);
    std::string text;
    std::getline(in, text);
    if (text.empty()) return false;  // still being written by its owner
    int pid = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        pid = pid * 10 + (c - '0');
        if (pid > 1 << 22) return false;
    }
    return ProcessGone(pid);
}

}  // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait,
                   std::chrono::seconds stale) {
    m_lockPath = NativePath(path);
    m_lockPath += ".lock";
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::minstd_rand jitter(static_cast<unsigned>(OwnProcessId()));
    for (;;) {
        const int error = CreateExclusive(m_lockPath);
        if (error == 0) {
            m_locked = true;
            return;
        }
        if (error != EEXIST) {
            m_error = sjis("ファイル ") + path + sjis(" をロックできません（") +
                      SystemErrorText(error) + sjis("）");
            return;
        }
        if (IsStale(m_lockPath, stale)) {
            std::error_code ec;
            fs::remove(m_lockPath, ec);
            continue;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_error = sjis("ファイル ") + path +
                      sjis(" はほかのプログラムが使用中です。しばらくしてからやり直してください");
            return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 1500));
    }
}

FileLock::~FileLock() {
    if (!m_locked) return;
    std::error_code ec;
    fs::remove(m_lockPath, ec);
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
