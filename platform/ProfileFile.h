// Initialisation (INI) files with the semantics of the Windows profile functions: sections and
// keys compared as the characters they decode to (the NEC and IBM spellings of one character
// are one) ignoring ASCII case, CP932 text, CR LF. Lines that are not understood are kept.
// As Windows reads them: a line beginning with ";" and a line with nothing before "=" are no
// keys; one pair of matching quotes around a value is not part of it (a value written that would
// lose its quotes or outer blanks is written inside one more pair).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LineFile.h"

namespace sulkan {

// Why a section or key name cannot be written: a key that is empty, holds "=" or a line break
// or begins with "[" or ";", a section name with a line break, a name that ends in half a
// double-byte character (the failure's message, CP932). A section name may hold "]": it runs
// to the last "]" of its line. Names are compared with blanks and tabs at both ends trimmed,
// when reading and writing alike.
Result<> ProfileNameProblem(const std::string& section, const std::string& key);

// The lines of one INI file held in memory; reads and edits work on the lines, save writes them.
class ProfileLines {
public:
    ProfileLines() = default;
    // A DOS end-of-file byte (1A hex) at the end of the last line is dropped.
    explicit ProfileLines(std::vector<std::string> lines);

    std::string read(const std::string& section, const std::string& key,
                     const std::string& def) const;
    // False, with nothing changed, for a name ProfileNameProblem refuses; the first such problem
    // is kept in refusal(). A section or key is found whichever spelling the file has, and
    // keeps the file's spelling.
    bool write(const std::string& section, const std::string& key, const std::string& value);
    // Why the first refused write of these lines was refused; empty when none was.
    const std::string& refusal() const { return m_refusal; }
    // Keys of a section in file order (a key line is one with "=" in it).
    std::vector<std::string> keys(const std::string& section) const;
    bool hasSection(const std::string& section) const;
    // Section names in file order, each once (as first spelled, whatever the later spellings).
    std::vector<std::string> sections() const;
    // The values of the key lines of each section of that name, one list per section in file
    // order: a file that another program split by writing the name in a second spelling holds
    // the section twice, and only the first is what read and write see.
    std::vector<std::vector<std::string>> valuesOfEachCopy(const std::string& section) const;
    // Whether some section name stands more than once in the file.
    bool hasRepeatedSections() const;
    // Erases every section of that name, in every spelling.
    void eraseSection(const std::string& section);

    const std::vector<std::string>& lines() const { return m_lines; }

private:
    struct Index;
    // Where sections and keys are, built by one pass on the first lookup and dropped by every
    // change that moves lines, so that reading many keys of a large file stays linear.
    const Index& index() const;
    void changed() { m_index.reset(); }

    std::vector<std::string> m_lines;
    std::string m_refusal;
    mutable std::shared_ptr<const Index> m_index;
};

// One INI file on disk: every call reads the file and every change saves it atomically, holding
// the file's lock from reading to saving. A file that begins with a UTF-16LE byte-order mark is
// read as UTF-16 and written back as UTF-16.
class ProfileFile {
public:
    explicit ProfileFile(std::string path) : m_path(std::move(path)) {}

    std::string read(const std::string& section, const std::string& key,
                     const std::string& def) const;
    Result<> write(const std::string& section, const std::string& key, const std::string& value);
    std::vector<std::string> keys(const std::string& section) const;
    Result<> eraseSection(const std::string& section);
    // Reads, changes and saves the file under its lock; change returns false to save nothing. A
    // write refused inside change fails the whole update with the file and the reason (reason
    // alone in the problem's reason), and nothing is saved.
    Result<> update(const std::function<bool(ProfileLines&)>& change);
    // The whole file at once, for callers that look at many sections.
    ProfileLines load() const;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace sulkan
