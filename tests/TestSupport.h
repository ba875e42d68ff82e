// Helpers shared by the tests: temporary folders and courseware files written as CP932 CR LF.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sulkan::test {

// A fresh folder removed again at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder as the program writes folders: native separators, one trailing separator.
    std::string folder() const;

private:
    std::filesystem::path m_path;
};

// UTF-8 lines of a test to CP932 lines.
std::vector<std::string> Sjis(const std::vector<std::string>& utf8Lines);

// Writes UTF-8 lines as CP932 with CR LF after each line; creates missing folders.
void WriteSjisFile(const std::filesystem::path& file, const std::vector<std::string>& utf8Lines);
// Writes bytes exactly as given.
void WriteRawFile(const std::filesystem::path& file, const std::string& bytes);
std::string ReadRawFile(const std::filesystem::path& file);

}  // namespace sulkan::test
