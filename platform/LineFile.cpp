#include "LineFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "Codec.h"
#include "Sjis.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sulkan {
namespace fs = std::filesystem;

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Native file names (UTF-8 bytes on POSIX, UTF-16 on Windows) compared ignoring ASCII case;
// bytes of multi-byte UTF-8 sequences are all 0x80 or above, so they are never folded.
template <typename Str>
bool SameIgnoringAsciiCase(const Str& a, const Str& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = x - 'A' + 'a';
        if (y >= 'A' && y <= 'Z') y = y - 'A' + 'a';
        if (x != y) return false;
    }
    return true;
}

#ifdef _WIN32

fs::path PathFromUtf16(const std::u16string& text) {
    return fs::path(std::wstring(text.begin(), text.end()));
}

std::optional<std::string> NameToCp932(const fs::path& name) {
    return Utf16ToCp932(name.u16string());
}

#else

// UTF-16 to a POSIX file name in UTF-8; an escaped byte goes back to the raw byte it stands
// for, so a name that is not valid CP932 still names one file.
fs::path PathFromUtf16(const std::u16string& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xDC80 && cp <= 0xDCFF) {
            out.push_back(static_cast<char>(cp - 0xDC00));
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return fs::path(out);
}

// A POSIX file name (UTF-8, possibly invalid) to CP932; bytes that are not valid UTF-8 come
// back as the raw bytes. nullopt when a character has no CP932 code.
std::optional<std::string> NameToCp932(const fs::path& name) {
    const std::string& s = name.native();
    std::u16string u;
    u.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80         ? 1
                        : (b >> 5) == 6  ? 2
                        : (b >> 4) == 14 ? 3
                        : (b >> 3) == 30 ? 4
                                         : 0;
        char32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        bool valid = n != 0 && i + n <= s.size();
        for (std::size_t k = 1; valid && k < n; ++k) {
            auto c = static_cast<unsigned char>(s[i + k]);
            valid = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid) valid = cp >= kMin[n] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!valid) {
            u.push_back(static_cast<char16_t>(0xDC00 + b));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            u.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            u.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            u.push_back(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return Utf16ToCp932(u);
}

#endif

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

// The entry of folder whose name equals name ignoring ASCII case; the smallest such name when
// there are several, so the choice does not depend on the order of the directory.
std::optional<fs::path> FindIgnoringCase(const fs::path& folder, const fs::path& name) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    std::optional<fs::path> best;
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        fs::path entry = it->path().filename();
        if (SameIgnoringAsciiCase(entry.native(), name.native()) && (!best || entry < *best))
            best = entry;
    }
    return best;
}

// Text of an operating-system error, as CP932 for the user.
std::string ErrorText(const std::error_code& ec) {
    std::string message = ec.message();
#ifdef _WIN32
    return message;  // already in the ANSI code page
#else
    if (auto converted = Utf8ToCp932(message)) return *converted;
    std::string ascii;
    for (char c : message)
        if (static_cast<unsigned char>(c) < 0x80) ascii.push_back(c);
    return ascii;
#endif
}

// Lower-cases single-byte letters of a CP932 character for mask comparison.
bool SameChar(std::string_view a, std::string_view b) {
    if (a.size() == 1 && b.size() == 1) return AsciiLower(a[0]) == AsciiLower(b[0]);
    return a == b;
}

std::vector<std::string_view> Chars(std::string_view s) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = CharLength(s, i);
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}

// "*" matches any run of characters, "?" one character; whole CP932 characters throughout.
bool MatchMask(std::string_view mask, std::string_view name) {
    if (mask == "*.*") return true;  // means every file, as it does on Windows
    auto m = Chars(mask), n = Chars(name);
    std::size_t mi = 0, ni = 0, starM = std::string_view::npos, starN = 0;
    while (ni < n.size()) {
        if (mi < m.size() && m[mi] == "*") {
            starM = mi++;
            starN = ni;
        } else if (mi < m.size() && (m[mi] == "?" || SameChar(m[mi], n[ni]))) {
            ++mi;
            ++ni;
        } else if (starM != std::string_view::npos) {
            mi = starM + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (mi < m.size() && m[mi] == "*") ++mi;
    return mi == m.size();
}

// A temporary file beside the target that is removed again unless it was renamed.
class TempFile {
public:
    explicit TempFile(const fs::path& folder) {
        std::random_device rd;
        for (int attempt = 0; attempt < 20 && m_fd < 0; ++attempt) {
            char name[40];
            std::snprintf(name, sizeof name, ".~sulkan-%08x.tmp", static_cast<unsigned>(rd()));
            m_path = folder / name;
#ifdef _WIN32
            _wsopen_s(&m_fd, m_path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYRW,
                      _S_IREAD | _S_IWRITE);
#else
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
            if (m_fd < 0 && errno != EEXIST) break;
        }
    }
    ~TempFile() {
        close();
        if (!m_kept && !m_path.empty()) {
            std::error_code ec;
            fs::remove(m_path, ec);
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool ok() const {
        return m_fd >= 0;
    }
    const fs::path& path() const {
        return m_path;
    }

    bool write(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1 << 20);
#ifdef _WIN32
            int n = _write(m_fd, bytes.data() + done, static_cast<unsigned>(chunk));
#else
            ssize_t n = ::write(m_fd, bytes.data() + done, chunk);
            if (n < 0 && errno == EINTR) continue;
#endif
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    // Makes the bytes durable before the rename, so a crash cannot leave an empty file behind.
    bool flush() {
#ifdef _WIN32
        return _commit(m_fd) == 0;
#else
        return ::fsync(m_fd) == 0;
#endif
    }

    // Gives the new file the permission bits of the file it replaces.
    void copyModeFrom([[maybe_unused]] const fs::path& old) {
#ifndef _WIN32
        struct stat st {};
        if (::stat(old.c_str(), &st) == 0) ::fchmod(m_fd, st.st_mode & 07777);
#endif
    }

    bool close() {
        if (m_fd < 0) return true;
#ifdef _WIN32
        int rc = _close(m_fd);
#else
        int rc = ::close(m_fd);
#endif
        m_fd = -1;
        return rc == 0;
    }

    void keep() {
        m_kept = true;
    }

private:
    fs::path m_path;
    int m_fd = -1;
    bool m_kept = false;
};

// Makes the rename itself durable.
void SyncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

bool MayOverwrite([[maybe_unused]] const fs::path& file) {
#ifdef _WIN32
    return true;  // replacing a read-only file fails at the rename there
#else
    // A rename would replace a read-only file without asking; refuse as a direct write would.
    return ::access(file.c_str(), W_OK) == 0;
#endif
}

}  // namespace

fs::path NativePath(const std::string& path) {
    std::u16string text = Cp932ToUtf16(path);
    // After decoding, U+005C is only ever a separator, never the trail byte of a kanji.
    std::replace(text.begin(), text.end(), u'\\', u'/');
    fs::path written = PathFromUtf16(text);
    if (written.empty() || Exists(written)) return written;

    fs::path resolved;
    bool missing = false;
    for (const fs::path& part : written) {
        fs::path candidate = resolved / part;
        bool special = part.empty() || part == "." || part == ".." || part == written.root_name() ||
                       part == written.root_directory();
        if (!missing && !special && !Exists(candidate)) {
            if (auto found = FindIgnoringCase(resolved, part)) {
                candidate = resolved / *found;
            } else {
                missing = true;  // nothing below a missing folder can exist either
            }
        }
        resolved = std::move(candidate);
    }
    return resolved;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(NativePath(path), ec);
}

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(NativePath(path), ec);
}

std::optional<std::string> CreateFolder(const std::string& path) {
    fs::path native = NativePath(path);
    while (!native.empty() && native.filename().empty() && native.has_relative_path())
        native = native.parent_path();  // "a/b/" names the folder "a/b"
    std::error_code ec;
    if (fs::is_directory(native, ec)) return std::nullopt;
    fs::create_directories(native, ec);
    if (!ec && fs::is_directory(native, ec)) return std::nullopt;
    if (!ec) ec = std::make_error_code(std::errc::not_a_directory);
    return sjis("ディレクトリ ") + path + sjis(" を作成できませんでした: ") + ErrorText(ec);
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& mask) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(NativePath(folder), ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        // A name CP932 cannot hold cannot be named by the program either; leave it out.
        auto name = NameToCp932(it->path().filename());
        if (name && MatchMask(mask, *name)) names.push_back(std::move(*name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    // Question files run to hundreds of thousands of lines: count first, allocate once.
    lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* start = begin;
    while (start < end) {
        const char* stop = start;
        while (stop < end && *stop != '\r' && *stop != '\n') ++stop;
        if (stop == end) {
            lines.emplace_back(start, stop);
            break;
        }
        lines.emplace_back(start, stop);
        start = stop + ((*stop == '\r' && stop + 1 < end && stop[1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::optional<std::string> ReadBytes(const std::string& path) {
    fs::path native = NativePath(path);
    std::error_code ec;
    if (!fs::is_regular_file(native, ec)) return std::nullopt;
    std::ifstream in(native, std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(bytes.data(), size);
    if (in.gcount() != size) return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
    auto bytes = ReadBytes(path);
    if (!bytes) return std::nullopt;
    return SplitLines(*bytes);
}

SaveResult WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    return WriteBytes(path, JoinLines(lines));
}

SaveResult WriteBytes(const std::string& path, const std::string& bytes) {
    const SaveResult failed{false, sjis("ファイル ") + path + sjis(" を保存できませんでした")};
    fs::path target = NativePath(path);
    if (target.filename().empty()) return failed;
    std::error_code ec;
    // Replace the file a link points to, not the link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target = fs::weakly_canonical(target, ec);
        if (ec) return failed;
    }
    fs::file_status status = fs::status(target, ec);
    bool replacing = fs::exists(status);
    if (replacing && (!fs::is_regular_file(status) || !MayOverwrite(target))) return failed;

    fs::path folder = target.parent_path();
    TempFile temp(folder.empty() ? fs::path(".") : folder);
    if (!temp.ok()) return failed;
    if (replacing) temp.copyModeFrom(target);
    if (!temp.write(bytes) || !temp.flush() || !temp.close()) return failed;
    if (testing_hooks::beforeRename && *testing_hooks::beforeRename)
        (*testing_hooks::beforeRename)();
    fs::rename(temp.path(), target, ec);
    if (ec) return failed;
    temp.keep();
    SyncFolder(folder.empty() ? fs::path(".") : folder);
    return {};
}

std::string NativeSeparators(const std::string& path) {
#ifdef _WIN32
    constexpr char from = '/', to = '\\';
#else
    constexpr char from = '\\', to = '/';
#endif
    std::string out = path;
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i))
        if (out[i] == from) out[i] = to;
    return out;
}

}  // namespace sulkan
