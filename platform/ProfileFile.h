// Initialisation (INI) files with the semantics of the Windows profile functions: sections and
// keys compared ignoring ASCII case, CP932 text, CR LF. Lines that are not understood are kept.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LineFile.h"

namespace sulkan {

// Why a section or key name cannot be written: a key that holds "=" or a line break
// or begins with "[", a section name with "]" or a line break, a name that ends in half a
// double-byte character (CP932 message; empty when fine).
// Names are compared with blanks and tabs at both ends trimmed, when reading and writing alike.
std::string ProfileNameProblem(const std::string& section, const std::string& key);

// The lines of one INI file held in memory; reads and edits work on the lines, save writes them.
class ProfileLines {
public:
    ProfileLines() = default;
    explicit ProfileLines(std::vector<std::string> lines) : m_lines(std::move(lines)) {}

    std::string read(const std::string& section, const std::string& key,
                     const std::string& def) const;
    // False, with nothing changed, for a name ProfileNameProblem refuses.
    bool write(const std::string& section, const std::string& key, const std::string& value);
    // Keys of a section in file order (a key line is one with "=" in it).
    std::vector<std::string> keys(const std::string& section) const;
    bool hasSection(const std::string& section) const;
    void eraseSection(const std::string& section);

    const std::vector<std::string>& lines() const { return m_lines; }

private:
    struct Index;
    // Where sections and keys are, built by one pass on the first lookup and dropped by every
    // change that moves lines, so that reading many keys of a large file stays linear.
    const Index& index() const;
    void changed() { m_index.reset(); }

    std::vector<std::string> m_lines;
    mutable std::shared_ptr<const Index> m_index;
};

// One INI file on disk: every call reads the file and every change saves it atomically.
class ProfileFile {
public:
    explicit ProfileFile(std::string path) : m_path(std::move(path)) {}

    std::string read(const std::string& section, const std::string& key,
                     const std::string& def) const;
    SaveResult write(const std::string& section, const std::string& key, const std::string& value);
    std::vector<std::string> keys(const std::string& section) const;
    SaveResult eraseSection(const std::string& section);
    // The whole file at once, for callers that look at many sections.
    ProfileLines load() const;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace sulkan
