#include "StagedFile.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "LineFile.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace sulkan {
namespace {

Result<> Failed(int error) {
    const std::string reason = SystemErrorText(error);
    return Result<>(Problem(reason, reason));
}

// Opens a new file exclusively; -1 with errno set when it exists or cannot be made.
int CreateNew(const fs::path& path) {
#ifdef _WIN32
    int fd = -1;
    _wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
              _S_IREAD | _S_IWRITE);
    return fd;
#else
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

void CloseFd(int fd) {
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd);
#endif
}

// Flushes a complete file to the disk; errno of the failure, 0 when done.
int SyncFile(const fs::path& path) {
#ifdef _WIN32
    int fd = -1;
    _wsopen_s(&fd, path.c_str(), _O_RDWR | _O_BINARY, _SH_DENYNO, 0);
    if (fd < 0) return errno;
    const int error = _commit(fd) == 0 ? 0 : errno;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
#endif
    CloseFd(fd);
    return error;
}

}  // namespace

StagedFile::StagedFile(fs::path target) : m_target(std::move(target)) {
    fs::path folder = m_target.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        m_error = ENOENT;
        return;
    }
    RemoveStaleTempFiles(folder);
    std::random_device rd;
    for (int attempt = 0; attempt < 20; ++attempt) {
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(rd()));
        const fs::path candidate = TempFileNameIn(folder, hex);
        const int fd = CreateNew(candidate);
        if (fd >= 0) {
            CloseFd(fd);
            m_temp = candidate;
            return;
        }
        m_error = errno;
        if (errno != EEXIST) return;
    }
}

StagedFile::~StagedFile() {
    if (m_committed || m_temp.empty()) return;
    std::error_code ec;
    fs::remove(m_temp, ec);
}

Result<> StagedFile::ready() const {
    if (m_temp.empty()) return Failed(m_error != 0 ? m_error : EIO);
    return {};
}

Result<> StagedFile::commit() {
    if (const Result<> made = ready(); !made) return made;
    fs::path target = m_target;
    fs::file_status status;
    if (const int refused = CheckSaveTarget(target, status); refused != 0) return Failed(refused);
    if (fs::exists(status)) {
        // The new file keeps the permissions the old one was given.
        std::error_code ec;
        fs::permissions(m_temp, status.permissions(), ec);
    }
    if (const int error = SyncFile(m_temp); error != 0) return Failed(error);
    if (const int error = MoveIntoPlace(m_temp, target); error != 0) return Failed(error);
    m_committed = true;
    return {};
}

}  // namespace sulkan
