// A lock file beside a data file, held for one read-modify-write so that two programs saving the
// same record file or roster at once never lose each other's lines, also from several computers
// sharing one folder.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace sulkan {

class FileLock {
public:
    // Locks the file at path (CP932, as the program builds paths) through path + ".lock": the
    // system's lock on that file, which ends with its process, and in it the owner line
    // "<pid> <token> <process start> <host>". Waits up to wait for another holder. A line left
    // behind by a holder that never released is taken over at once when it is this computer's
    // and its process has ended, and otherwise when it is older than stale (the holder refreshes
    // its time while it holds it).
    explicit FileLock(const std::string& path,
                      std::chrono::milliseconds wait = std::chrono::seconds(10),
                      std::chrono::seconds stale = std::chrono::seconds(30));
    // Removes the lock only while it is still this holder's.
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    explicit operator bool() const { return m_locked; }
    // CP932 message naming the file and why it could not be locked; empty when locked.
    const std::string& error() const { return m_error; }

private:
    class Refresher;

    std::filesystem::path m_lockPath;
    std::string m_owner;          // the bytes of our lock file
    std::intptr_t m_handle = -1;  // the open lock file while held (a descriptor or a HANDLE)
    bool m_locked = false;
    std::string m_error;
    std::unique_ptr<Refresher> m_refresher;
};

// Removes the lock file at lockPath (CP932) of another kind, one made by exclusive creation as
// Qt's lock files are, when no process holds it open or locked: a program killed while creating
// it leaves it empty, and its own kind would wait for its age. Only call while holding a FileLock
// that every writer of the locked file takes first. True when it is not there (any more).
bool RemoveAbandonedLock(const std::string& lockPath);

// Whether files can be created in folder (CP932): false for a missing folder, a read-only file
// system or share, or a folder the user may not write to.
bool FolderWritable(const std::string& folder);

namespace testing_hooks {
// Replaces FolderWritable's answer (tests run as root, who may write anywhere).
inline std::function<bool(const std::string&)>* folderWritable = nullptr;
// Replaces the host name locks are written and judged with, to stand for another computer.
inline const std::string* lockHostName = nullptr;
// When set, locks are taken as on a share that keeps no system locks: by the owner line alone.
inline bool noSystemLocks = false;
}  // namespace testing_hooks

}  // namespace sulkan
