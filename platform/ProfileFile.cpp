#include "ProfileFile.h"

#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "Sjis.h"

namespace sulkan {
namespace {

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, blanks trimmed
    std::string_view value;  // key value, blanks trimmed
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

ParsedLine Parse(std::string_view line) {
    std::string_view s = Trim(line);
    if (!s.empty() && s.front() == '[') {
        // "]" can be the trail byte of a kanji, so search whole characters.
        std::size_t close = FindLastWholeChar(s, ']');
        if (close != std::string_view::npos)
            return {LineKind::Section, Trim(s.substr(1, close - 1)), {}};
    }
    std::size_t eq = FindWholeChar(s, '=');
    if (eq == std::string_view::npos) return {};
    return {LineKind::Key, Trim(s.substr(0, eq)), Trim(s.substr(eq + 1))};
}

// Names compared ignoring ASCII case: only single-byte letters fold, never trail bytes.
std::string Fold(std::string_view name) {
    std::string out(name);
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) {
        if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    }
    return out;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A line break inside a value would split the line and corrupt the file.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// A lead byte as the last byte would take the "]" or "=" written after the name as its second
// byte, and the name would never be found again.
bool EndsInLoneLeadByte(std::string_view name) {
    std::size_t i = 0;
    while (i + 1 < name.size()) i += CharLength(name, i);
    return i + 1 == name.size() && IsLeadByte(static_cast<unsigned char>(name[i]));
}

}  // namespace

std::string ProfileNameProblem(const std::string& section, const std::string& key) {
    // Written as it stands, such a name would read back as another key or another section.
    const std::string_view s = Trim(section), k = Trim(key);
    if (HasLineBreak(s) || FindWholeChar(s, ']') != std::string_view::npos)
        return sjis("セクション名「") + section + sjis("」に「]」または改行があります");
    if (EndsInLoneLeadByte(s))
        return sjis("セクション名「") + section + sjis("」の終わりの文字が欠けています");
    if (HasLineBreak(k) || FindWholeChar(k, '=') != std::string_view::npos ||
        (!k.empty() && k.front() == '['))
        return sjis("キー名「") + key + sjis("」に「=」または改行があるか、「[」で始まっています");
    if (EndsInLoneLeadByte(k))
        return sjis("キー名「") + key + sjis("」の終わりの文字が欠けています");
    return {};
}

struct ProfileLines::Index {
    struct Section {
        std::size_t header = 0;
        std::size_t end = 0;  // the next section's header, or the end of the lines
        std::vector<std::size_t> keyLines;
        std::unordered_map<std::string, std::size_t> firstKey;  // folded name -> line
    };
    // Folded section name -> its first occurrence; later duplicates are not looked at.
    std::unordered_map<std::string, Section> sections;

    const Section* find(const std::string& section) const {
        auto it = sections.find(Fold(Trim(section)));
        return it == sections.end() ? nullptr : &it->second;
    }
};

const ProfileLines::Index& ProfileLines::index() const {
    if (m_index) return *m_index;
    auto index = std::make_shared<Index>();
    Index::Section* current = nullptr;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        ParsedLine parsed = Parse(m_lines[i]);
        if (parsed.kind == LineKind::Section) {
            if (current) current->end = i;
            auto [it, inserted] = index->sections.try_emplace(Fold(parsed.name));
            current = inserted ? &it->second : nullptr;
            if (current) current->header = i;
        } else if (parsed.kind == LineKind::Key && current) {
            current->keyLines.push_back(i);
            current->firstKey.try_emplace(Fold(parsed.name), i);
        }
    }
    if (current) current->end = m_lines.size();
    m_index = std::move(index);
    return *m_index;
}

std::string ProfileLines::read(const std::string& section, const std::string& key,
                               const std::string& def) const {
    const Index::Section* s = index().find(section);
    if (!s) return def;
    auto it = s->firstKey.find(Fold(Trim(key)));
    if (it == s->firstKey.end()) return def;
    return std::string(Parse(m_lines[it->second]).value);
}

bool ProfileLines::write(const std::string& section, const std::string& key,
                         const std::string& value) {
    if (!ProfileNameProblem(section, key).empty()) return false;
    const std::string cleanKey(Trim(key));
    const std::string cleanValue = OneLine(value);
    const Index::Section* s = index().find(section);
    if (!s) {
        m_lines.push_back("[" + std::string(Trim(section)) + "]");
        m_lines.push_back(cleanKey + "=" + cleanValue);
        changed();
        return true;
    }
    auto it = s->firstKey.find(Fold(cleanKey));
    if (it != s->firstKey.end()) {
        // The key keeps its spelling in the file; the line stays where it is.
        std::string& line = m_lines[it->second];
        line = std::string(Parse(line).name) + "=" + cleanValue;
        return true;
    }
    // After the section's last non-blank line, so blank lines before the next section stay there.
    std::size_t at = s->end;
    while (at > s->header + 1 && Trim(m_lines[at - 1]).empty()) --at;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), cleanKey + "=" + cleanValue);
    changed();
    return true;
}

std::vector<std::string> ProfileLines::keys(const std::string& section) const {
    std::vector<std::string> names;
    const Index::Section* s = index().find(section);
    if (!s) return names;
    names.reserve(s->keyLines.size());
    for (std::size_t line : s->keyLines) names.emplace_back(Parse(m_lines[line]).name);
    return names;
}

bool ProfileLines::hasSection(const std::string& section) const {
    return index().find(section) != nullptr;
}

void ProfileLines::eraseSection(const std::string& section) {
    if (!hasSection(section)) return;
    // Every occurrence goes, so a duplicate further down cannot bring the records back.
    const std::string folded = Fold(Trim(section));
    std::vector<std::string> kept;
    kept.reserve(m_lines.size());
    bool erasing = false;
    for (auto& line : m_lines) {
        ParsedLine parsed = Parse(line);
        if (parsed.kind == LineKind::Section) erasing = Fold(parsed.name) == folded;
        if (!erasing) kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
    changed();
}

std::string ProfileFile::read(const std::string& section, const std::string& key,
                              const std::string& def) const {
    return load().read(section, key, def);
}

std::vector<std::string> ProfileFile::keys(const std::string& section) const {
    return load().keys(section);
}

ProfileLines ProfileFile::load() const {
    auto lines = ReadLines(m_path);
    return ProfileLines(lines ? std::move(*lines) : std::vector<std::string>{});
}

namespace {

// The lines of the file for a change: empty for a missing file, nullopt when the file is there
// but cannot be read (saving then would throw its contents away).
std::optional<std::vector<std::string>> LinesForChange(const std::string& path) {
    if (auto lines = ReadLines(path)) return lines;
    std::error_code ec;
    if (std::filesystem::exists(NativePath(path), ec)) return std::nullopt;
    return std::vector<std::string>{};
}

SaveResult CannotSave(const std::string& path) {
    return {false, sjis("ファイル ") + path + sjis(" を保存できませんでした"), {}};
}

}  // namespace

SaveResult ProfileFile::write(const std::string& section, const std::string& key,
                              const std::string& value) {
    const std::string problem = ProfileNameProblem(section, key);
    if (!problem.empty()) return {false, CannotSave(m_path).error + sjis("：") + problem, {}};
    auto lines = LinesForChange(m_path);
    if (!lines) return CannotSave(m_path);
    ProfileLines profile(std::move(*lines));
    profile.write(section, key, value);
    return WriteLines(m_path, profile.lines());
}

SaveResult ProfileFile::eraseSection(const std::string& section) {
    auto lines = LinesForChange(m_path);
    if (!lines) return CannotSave(m_path);
    ProfileLines profile(std::move(*lines));
    if (!profile.hasSection(section)) return {};
    profile.eraseSection(section);
    return WriteLines(m_path, profile.lines());
}

}  // namespace sulkan
