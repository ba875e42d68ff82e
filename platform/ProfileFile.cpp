#include "ProfileFile.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "Codec.h"
#include "FileLock.h"
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

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// One pair of matching quotes around a value is not part of it.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

ParsedLine Parse(std::string_view line) {
    std::string_view s = Trim(line);
    // A comment is never a section or a key, whatever it holds.
    if (!s.empty() && s.front() == ';') return {};
    if (!s.empty() && s.front() == '[') {
        // "]" can be the trail byte of a kanji, so search whole characters.
        std::size_t close = FindLastWholeChar(s, ']');
        if (close != std::string_view::npos)
            return {LineKind::Section, Trim(s.substr(1, close - 1)), {}};
    }
    std::size_t eq = FindWholeChar(s, '=');
    if (eq == std::string_view::npos) return {};
    const std::string_view name = Trim(s.substr(0, eq));
    if (name.empty()) return {};
    return {LineKind::Key, name, Unquote(Trim(s.substr(eq + 1)))};
}

// What two names are compared by: blanks at the ends trimmed, the duplicate double-byte codes in
// one spelling (a Windows machine writing the file may re-spell them) and ASCII letters folded.
std::string NameKey(std::string_view name) {
    return FoldAsciiCase(CanonicalSpelling(Trim(name)));
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A line break inside a value would split the line and corrupt the file. A value that reading
// would change (outer quotes taken off, outer blanks trimmed, an end-of-file byte closing the
// last line dropped) gets one more pair of quotes.
std::string ValueText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    if (out.empty()) return out;
    const bool quoted = out.size() >= 2 && IsQuote(out.front()) && out.back() == out.front();
    const bool blankEnds =
        out.front() == ' ' || out.front() == '\t' || out.back() == ' ' || out.back() == '\t';
    if (quoted || blankEnds || out.back() == '\x1A') out = '"' + out + '"';
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

Result<> ProfileNameProblem(const std::string& section, const std::string& key) {
    // Written as it stands, such a name would read back as another key or another section. A
    // section name may hold "]" and begin with "[" or ";": its line begins with "[" and the name
    // runs to the line's last "]", so it reads back as written.
    const std::string_view s = Trim(section), k = Trim(key);
    if (HasLineBreak(s))
        return Problem{sjis("セクション名「") + section + sjis("」に改行があります")};
    if (EndsInLoneLeadByte(s))
        return Problem{sjis("セクション名「") + section + sjis("」の終わりの文字が欠けています")};
    if (k.empty() || k.front() == ';')
        return Problem{sjis("キー名「") + key +
                       sjis("」は空か「;」で始まっていて、キーとして読めません")};
    if (HasLineBreak(k) || FindWholeChar(k, '=') != std::string_view::npos ||
        (!k.empty() && k.front() == '['))
        return Problem{sjis("キー名「") + key +
                       sjis("」に「=」または改行があるか、「[」で始まっています")};
    if (EndsInLoneLeadByte(k))
        return Problem{sjis("キー名「") + key + sjis("」の終わりの文字が欠けています")};
    return {};
}

struct ProfileLines::Index {
    struct Section {
        std::size_t header = 0;
        std::size_t end = 0;  // the next section's header, or the end of the lines
        std::vector<std::size_t> keyLines;
        std::unordered_map<std::string, std::size_t> firstKey;  // folded name -> line
    };
    // NameKey of a section -> its first occurrence; later duplicates (whatever their spelling)
    // are not looked at.
    std::unordered_map<std::string, Section> sections;
    std::size_t headerLines = 0;  // section lines, repeated names included

    const Section* find(const std::string& section) const {
        auto it = sections.find(NameKey(section));
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
            ++index->headerLines;
            if (current) current->end = i;
            auto [it, inserted] = index->sections.try_emplace(NameKey(parsed.name));
            current = inserted ? &it->second : nullptr;
            if (current) current->header = i;
        } else if (parsed.kind == LineKind::Key && current) {
            current->keyLines.push_back(i);
            current->firstKey.try_emplace(NameKey(parsed.name), i);
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
    auto it = s->firstKey.find(NameKey(key));
    if (it == s->firstKey.end()) return def;
    return std::string(Parse(m_lines[it->second]).value);
}

bool ProfileLines::write(const std::string& section, const std::string& key,
                         const std::string& value) {
    if (const Result<> named = ProfileNameProblem(section, key); !named) {
        if (m_refusal.empty()) m_refusal = named.problem().message;
        return false;
    }
    const std::string cleanKey(Trim(key));
    const std::string cleanValue = ValueText(value);
    const Index::Section* s = index().find(section);
    if (!s) {
        m_lines.push_back(std::string("[").append(Trim(section)).append("]"));
        m_lines.push_back(cleanKey + "=" + cleanValue);
        changed();
        return true;
    }
    auto it = s->firstKey.find(NameKey(cleanKey));
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

std::vector<std::vector<std::string>> ProfileLines::valuesOfEachCopy(
    const std::string& section) const {
    std::vector<std::vector<std::string>> copies;
    const std::string wanted = NameKey(section);
    bool inside = false;
    for (const std::string& line : m_lines) {
        const ParsedLine parsed = Parse(line);
        if (parsed.kind == LineKind::Section) {
            inside = NameKey(parsed.name) == wanted;
            if (inside) copies.emplace_back();
        } else if (inside && parsed.kind == LineKind::Key) {
            copies.back().emplace_back(parsed.value);
        }
    }
    return copies;
}

bool ProfileLines::hasRepeatedSections() const {
    const Index& all = index();
    return all.headerLines != all.sections.size();
}

std::vector<std::string> ProfileLines::sections() const {
    std::vector<std::string> names;
    const Index& all = index();
    names.reserve(all.sections.size());
    for (const std::string& line : m_lines) {
        const ParsedLine parsed = Parse(line);
        if (parsed.kind != LineKind::Section) continue;
        const Index::Section* s = all.find(std::string(parsed.name));
        if (s && &m_lines[s->header] == &line) names.emplace_back(parsed.name);
    }
    return names;
}

bool ProfileLines::hasSection(const std::string& section) const {
    return index().find(section) != nullptr;
}

void ProfileLines::eraseSection(const std::string& section) {
    if (!hasSection(section)) return;
    // Every occurrence in every spelling goes, so a duplicate further down cannot bring the
    // records back.
    const std::string folded = NameKey(section);
    std::vector<std::string> kept;
    kept.reserve(m_lines.size());
    bool erasing = false;
    for (auto& line : m_lines) {
        ParsedLine parsed = Parse(line);
        if (parsed.kind == LineKind::Section) erasing = NameKey(parsed.name) == folded;
        if (!erasing) kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
    changed();
}

ProfileLines::ProfileLines(std::vector<std::string> lines) : m_lines(std::move(lines)) {
    // A DOS end-of-file mark closing the last line is not part of its value; a line that held
    // only the mark goes, but a blank line of the file stays.
    if (!m_lines.empty() && !m_lines.back().empty() && m_lines.back().back() == '\x1A') {
        std::string& last = m_lines.back();
        while (!last.empty() && last.back() == '\x1A') last.pop_back();
        if (last.empty()) m_lines.pop_back();
    }
}

namespace {

constexpr std::string_view kUtf16Bom = "\xFF\xFE";
// A character of a UTF-16 file that CP932 cannot hold stands in the lines as this byte (never a
// CP932 lead byte) and four hex digits of its code unit, so it is written back as it was.
constexpr char kUnitEscape = '\xFF';

std::string HexUnit(char16_t unit) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(unit));
    return std::string(1, kUnitEscape) + text;
}

std::string Utf16FileToCp932(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (auto whole = Utf16ToCp932(text)) return *whole;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        if (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            n = 2;
        const std::u16string_view one(text.data() + i, n);
        if (auto code = Utf16ToCp932(one)) {
            out += *code;
        } else {
            for (char16_t unit : one) out += HexUnit(unit);
        }
        i += n;
    }
    return out;
}

bool IsHexDigits(std::string_view s) {
    for (char c : s)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string Cp932ToUtf16File(const std::string& text) {
    std::u16string units;
    std::size_t start = 0;
    auto flush = [&](std::size_t end) {
        units += Cp932ToUtf16(std::string_view(text).substr(start, end - start));
    };
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == kUnitEscape && i + 5 <= text.size() &&
            IsHexDigits(std::string_view(text).substr(i + 1, 4))) {
            flush(i);
            units.push_back(static_cast<char16_t>(std::stoul(text.substr(i + 1, 4), nullptr, 16)));
            i += 5;
            start = i;
        } else {
            i += CharLength(text, i);
        }
    }
    flush(text.size());
    std::string out(kUtf16Bom);
    out.reserve(2 + units.size() * 2);
    for (char16_t unit : units) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

struct FileContent {
    std::vector<std::string> lines;
    bool utf16 = false;
};

FileContent Decode(const std::string& bytes) {
    if (bytes.starts_with(kUtf16Bom))
        return {SplitLines(Utf16FileToCp932(std::string_view(bytes).substr(2))), true};
    return {SplitLines(bytes), false};
}

// The file's content for a change: empty for a missing file, nullopt when the file is there
// but cannot be read (saving then would throw its contents away).
std::optional<FileContent> ContentForChange(const std::string& path) {
    if (auto bytes = ReadBytes(path)) return Decode(*bytes);
    std::error_code ec;
    if (std::filesystem::exists(NativePath(path), ec)) return std::nullopt;
    return FileContent{};
}

std::string CannotSaveText(const std::string& path) {
    return sjis("ファイル ") + path + sjis(" を保存できませんでした");
}

// The failure of a change that a refused name stopped: the file, and the refusal as the reason.
Problem Refused(const std::string& path, const std::string& refusal) {
    return Problem(CannotSaveText(path) + sjis("：") + refusal, refusal);
}

}  // namespace

std::string ProfileFile::read(const std::string& section, const std::string& key,
                              const std::string& def) const {
    return load().read(section, key, def);
}

std::vector<std::string> ProfileFile::keys(const std::string& section) const {
    return load().keys(section);
}

ProfileLines ProfileFile::load() const {
    auto bytes = ReadBytes(m_path);
    return ProfileLines(bytes ? Decode(*bytes).lines : std::vector<std::string>{});
}

Result<> ProfileFile::update(const std::function<bool(ProfileLines&)>& change) {
    const FileLock lock(m_path);
    if (!lock) return Problem{lock.error()};
    auto content = ContentForChange(m_path);
    if (!content) return Problem{CannotSaveText(m_path)};
    ProfileLines profile(std::move(content->lines));
    const bool save = change(profile);
    // A write the change could not make is a failure, not "nothing to save": the caller's record,
    // password or name would be lost without a word. Nothing is saved then.
    if (const std::string& problem = profile.refusal(); !problem.empty())
        return Refused(m_path, problem);
    if (!save) return {};
    // A file kept as UTF-16 stays UTF-16: Shift-JIS lines in it would read as garbage.
    if (content->utf16) return WriteBytes(m_path, Cp932ToUtf16File(JoinLines(profile.lines())));
    return WriteLines(m_path, profile.lines());
}

Result<> ProfileFile::write(const std::string& section, const std::string& key,
                            const std::string& value) {
    if (const Result<> named = ProfileNameProblem(section, key); !named)
        return Refused(m_path, named.problem().message);
    return update([&](ProfileLines& profile) { return profile.write(section, key, value); });
}

Result<> ProfileFile::eraseSection(const std::string& section) {
    return update([&](ProfileLines& profile) {
        if (!profile.hasSection(section)) return false;
        profile.eraseSection(section);
        return true;
    });
}

}  // namespace sulkan
