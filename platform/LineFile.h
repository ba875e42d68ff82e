// Whole-file reading and writing as lines of CP932 bytes, and the file-system calls the program
// needs. Paths given here are CP932 strings built the way the program builds them ("\" between
// parts); they are converted at this boundary.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

namespace sulkan {

// CP932 path with "\" or "/" to a native path; each component that does not exist as written is
// looked up ignoring ASCII case, so "Title.BMP" finds "title.bmp".
std::filesystem::path NativePath(const std::string& path);
// The path with every "\" or "/" turned into the native separator, CP932 kept (a 0x5C trail
// byte is not a separator).
std::string NativeSeparators(const std::string& path);

bool FileExists(const std::string& path);    // an existing regular file
bool FolderExists(const std::string& path);  // an existing folder
// Creates one folder (and its missing parents). The failure names the folder and the reason.
Result<> CreateFolder(const std::string& path);
// Bare file names in folder matching a mask of "*" and "?" (ASCII case ignored), sorted.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& mask);

// Splits bytes into lines at CR LF, lone CR or lone LF. A final line end does not start another
// line; empty input gives no lines.
std::vector<std::string> SplitLines(const std::string& bytes);
// Joins lines with CR LF after each line, the last included.
std::string JoinLines(const std::vector<std::string>& lines);

// Reads a whole file; nullopt when it cannot be read.
std::optional<std::vector<std::string>> ReadLines(const std::string& path);
std::optional<std::string> ReadBytes(const std::string& path);

// Writes the whole file to a temporary file in the same folder, flushes it and renames it over
// the old one, so a failed or interrupted save leaves the old file as it was. The failure's
// message names the file and the reason; its reason is the system's reason alone (may be empty).
Result<> WriteLines(const std::string& path, const std::vector<std::string>& lines);
Result<> WriteBytes(const std::string& path, const std::string& bytes);

// The file a save to target replaces (the one a link points to) and its status, checked as every
// save checks it: 0, or the errno that refuses it (a folder, a device, a read-only file).
int CheckSaveTarget(std::filesystem::path& target, std::filesystem::file_status& status);
// Moves a complete temporary file over target and makes the rename durable: 0, or the errno.
int MoveIntoPlace(const std::filesystem::path& temp, const std::filesystem::path& target);

// The operating system's reason for errno value error, in Japanese words where the program knows
// them (no free space, no permission, read-only file system ...), else the system's own text.
std::string SystemErrorText(int error);

// A fresh name for a temporary file of ours in folder: ".~sulkan-<pid>-<hex>.tmp", the naming
// RemoveStaleTempFiles recognises. unique is a random text of the caller's (hex digits).
std::filesystem::path TempFileNameIn(const std::filesystem::path& folder, std::string_view unique);

// Removes temporary files of our own naming in folder left by a save that was killed: those whose
// process no longer runs, and any older than maxAge. Other files are never touched. Every save
// calls it for the folder it writes to.
void RemoveStaleTempFiles(const std::filesystem::path& folder,
                          std::chrono::seconds maxAge = std::chrono::hours(1));

namespace testing_hooks {
// Called after the temporary file is complete and before the rename; a test can throw from it to
// stand for a save that dies at that moment.
inline std::function<void()>* beforeRename = nullptr;
}  // namespace testing_hooks

}  // namespace sulkan
