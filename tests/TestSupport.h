// Helpers shared by the tests: temporary folders and courseware files written as CP932 CR LF.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Result.h"

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

// The failure's message, nothing on success: what a test compares byte for byte.
template <class T>
std::optional<std::string> MessageOf(const Result<T>& result) {
    if (result) return std::nullopt;
    return result.problem().message;
}
inline std::optional<std::string> MessageOf(const std::optional<Problem>& problem) {
    if (!problem) return std::nullopt;
    return problem->message;
}

}  // namespace sulkan::test

class QColor;
class QImage;
class QWidget;
namespace sulkan::test {

// The colour at point (x, y) in the image's own units, whatever its pixel ratio: the device pixel
// at the centre of that unit, so that a test written for a 1× screen also reads a 2× one.
QColor ColorAt(const QImage& image, int x, int y);

// The controls under root a screen reader would announce without a name: buttons, text and spin
// boxes, lists, tables, combo boxes and tabs whose accessible name is empty (each as its
// window's class, its class and its object name).
std::vector<std::string> UnnamedControls(QWidget* root);

}  // namespace sulkan::test
