// A lock file beside a data file, held for one read-modify-write so that two programs saving the
// same record file or roster at once never lose each other's lines.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace sulkan {

class FileLock {
public:
    // Locks the file at path (CP932, as the program builds paths) by creating path + ".lock".
    // Waits up to wait for another holder; a lock file older than stale, or left by a process
    // that no longer runs, is taken over.
    explicit FileLock(const std::string& path,
                      std::chrono::milliseconds wait = std::chrono::seconds(10),
                      std::chrono::seconds stale = std::chrono::seconds(30));
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    explicit operator bool() const { return m_locked; }
    // CP932 message naming the file and why it could not be locked; empty when locked.
    const std::string& error() const { return m_error; }

private:
    std::filesystem::path m_lockPath;
    bool m_locked = false;
    std::string m_error;
};

// Whether files can be created in folder (CP932): false for a missing folder, a read-only file
// system or share, or a folder the user may not write to.
bool FolderWritable(const std::string& folder);

namespace testing_hooks {
// Replaces FolderWritable's answer (tests run as root, who may write anywhere).
inline std::function<bool(const std::string&)>* folderWritable = nullptr;
}  // namespace testing_hooks

}  // namespace sulkan
