// Folders the operating system decides: the working folder, the system folder, the default root
// of the records, and whether a folder lies on an optical disc.
#pragma once

#include <optional>
#include <string>

namespace sulkan {

// The folder with exactly one trailing separator ("/", or "\" when the folder uses "\").
std::string WithTrailingSeparator(const std::string& folder);

// The process's working folder as CP932 with one trailing separator; nullopt when its name holds
// characters CP932 cannot store.
std::optional<std::string> WorkingFolder();

// The Windows directory on Windows; elsewhere the user's data folder for this program.
std::string SystemFolder();

// "C:\" on Windows; elsewhere the user's data folder for this program.
std::string DefaultRecordsRoot();

// True when the folder lies on a CD/DVD file system (ISO 9660 or UDF).
bool IsOnOpticalDisc(const std::string& folder);

}  // namespace sulkan
