#include "LineFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "Codec.h"
#include "Processes.h"
#include "Sjis.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
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

#ifdef _WIN32

fs::path PathFromUtf16(const std::u16string& text) {
    return fs::path(std::wstring(text.begin(), text.end()));
}

std::optional<std::string> NameToCp932(const fs::path& name) {
    return Utf16ToCp932(name.u16string());
}

#else

// POSIX file names are UTF-8; an escaped byte goes back to the raw byte it stands for, so a name
// that is not valid CP932 or UTF-8 still names one file.
fs::path PathFromUtf16(const std::u16string& text) {
    return fs::path(Utf16ToUtf8(text, Utf8Escapes::Keep));
}

// nullopt when a character has no CP932 code.
std::optional<std::string> NameToCp932(const fs::path& name) {
    return Utf16ToCp932(*Utf8ToUtf16(name.native(), Utf8Escapes::Keep));
}

#endif

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

// The entry of folder whose name equals name ignoring ASCII case; the smallest such name when
// there are several, so the choice does not depend on the order of the directory. Names are
// compared as CP932 text, as the program spells them; an entry CP932 cannot spell is never the
// one asked for, since every name asked for comes from CP932 text.
std::optional<fs::path> FindIgnoringCase(const fs::path& folder, const fs::path& name) {
    const std::optional<std::string> wanted = NameToCp932(name);
    if (!wanted) return std::nullopt;
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    std::optional<fs::path> best;
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        fs::path entry = it->path().filename();
        if (best && !(entry < *best)) continue;
        const std::optional<std::string> spelled = NameToCp932(entry);
        if (spelled && SameIgnoringAsciiCase(*spelled, *wanted)) best = entry;
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

// The errno an error code stands for; 0 when it has none.
int ErrnoOf(const std::error_code& ec) {
    const std::error_condition condition = ec.default_error_condition();
    return condition.category() == std::generic_category() ? condition.value() : 0;
}

// One CP932 character of a mask against one of a name, single-byte letters in either case.
bool SameChar(std::string_view a, std::string_view b) {
    return SameIgnoringAsciiCase(a, b);
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

constexpr std::string_view kTempPrefix = ".~sulkan-";
constexpr std::string_view kTempSuffix = ".tmp";

// A temporary file beside the target that is removed again unless it was renamed. Its name
// carries the process id, so a later save can tell a leftover from a save still running.
class TempFile {
public:
    explicit TempFile(const fs::path& folder) {
        std::random_device rd;
        for (int attempt = 0; attempt < 20 && m_fd < 0; ++attempt) {
            char hex[9];
            std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(rd()));
            m_path = TempFileNameIn(folder, hex);
#ifdef _WIN32
            _wsopen_s(&m_fd, m_path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYRW,
                      _S_IREAD | _S_IWRITE);
#else
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
            m_error = m_fd < 0 ? errno : 0;
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
    // errno of the last failed step.
    int error() const {
        return m_error;
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
            if (n <= 0) {
                m_error = n < 0 ? errno : ENOSPC;
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    // Makes the bytes durable before the rename, so a crash cannot leave an empty file behind.
    bool flush() {
#ifdef _WIN32
        const bool ok = _commit(m_fd) == 0;
#else
        const bool ok = ::fsync(m_fd) == 0;
#endif
        if (!ok) m_error = errno;
        return ok;
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
        if (rc != 0) m_error = errno;
        return rc == 0;
    }

    void keep() {
        m_kept = true;
    }

private:
    fs::path m_path;
    int m_fd = -1;
    int m_error = 0;
    bool m_kept = false;
};

// The process id in a temporary name of ours (".~sulkan-<pid>-<hex>.tmp"), 0 for the older form
// without one, nullopt for any other name.
std::optional<int> TempFileOwner(std::string_view name) {
    if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return std::nullopt;
    std::string_view middle =
        name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
    const std::size_t dash = middle.find('-');
    std::string_view pid =
        dash == std::string_view::npos ? std::string_view() : middle.substr(0, dash);
    std::string_view hex = dash == std::string_view::npos ? middle : middle.substr(dash + 1);
    auto all = [](std::string_view t, auto pred) {
        return !t.empty() && std::all_of(t.begin(), t.end(), pred);
    };
    if (!all(hex, [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
        return std::nullopt;
    if (dash == std::string_view::npos) return 0;
    if (pid.size() > 9 || !all(pid, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(std::string(pid));
}

}  // namespace

fs::path TempFileNameIn(const fs::path& folder, std::string_view unique) {
    std::string name(kTempPrefix);
    name.append(std::to_string(OwnProcessId())).append("-").append(unique).append(kTempSuffix);
    return folder / name;
}

void RemoveStaleTempFiles(const std::filesystem::path& folder, std::chrono::seconds maxAge) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::optional<int> owner = TempFileOwner(name);
        if (!owner || *owner == OwnProcessId()) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || it->is_symlink(typeError)) continue;
        const auto written = it->last_write_time(typeError);
        if (typeError) continue;
        // A save that really runs finishes within seconds; an old file is a leftover even when
        // its process id now belongs to another process.
        const bool old = now - written > maxAge;
        if (old || ProcessGone(*owner)) fs::remove(it->path(), typeError);
    }
}

namespace {

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

Result<> CreateFolder(const std::string& path) {
    fs::path native = NativePath(path);
    while (!native.empty() && native.filename().empty() && native.has_relative_path())
        native = native.parent_path();  // "a/b/" names the folder "a/b"
    std::error_code ec;
    if (fs::is_directory(native, ec)) return {};
    fs::create_directories(native, ec);
    if (!ec && fs::is_directory(native, ec)) return {};
    if (!ec) ec = std::make_error_code(std::errc::not_a_directory);
    const int error = ErrnoOf(ec);
    std::string reason = error != 0 ? SystemErrorText(error) : ErrorText(ec);
    return Problem{sjis("ディレクトリ ") + path + sjis(" を作成できませんでした: ") + reason,
                   reason};
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

Result<> WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    return WriteBytes(path, JoinLines(lines));
}

Result<> WriteBytes(const std::string& path, const std::string& bytes) {
    auto failed = [&path](int error) {
        std::string text = sjis("ファイル ") + path + sjis(" を保存できませんでした");
        const std::string reason = error != 0 ? SystemErrorText(error) : std::string();
        if (!reason.empty()) text += sjis("（") + reason + sjis("）");
        return Result<>(Problem{text, reason});
    };
    fs::path target = NativePath(path);
    if (target.filename().empty()) return failed(EISDIR);
    fs::file_status status;
    if (const int refused = CheckSaveTarget(target, status); refused != 0) return failed(refused);
    const bool replacing = fs::exists(status);

    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    RemoveStaleTempFiles(folder);
    TempFile temp(folder);
    if (!temp.ok()) return failed(temp.error());
    if (replacing) temp.copyModeFrom(target);
    if (!temp.write(bytes) || !temp.flush() || !temp.close()) return failed(temp.error());
    if (testing_hooks::beforeRename && *testing_hooks::beforeRename)
        (*testing_hooks::beforeRename)();
    if (const int error = MoveIntoPlace(temp.path(), target); error != 0) return failed(error);
    temp.keep();
    return {};
}

int CheckSaveTarget(fs::path& target, fs::file_status& status) {
    std::error_code ec;
    // Replace the file a link points to, not the link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target = fs::weakly_canonical(target, ec);
        if (ec) return ErrnoOf(ec);
    }
    status = fs::status(target, ec);
    if (!fs::exists(status)) return 0;
    if (!fs::is_regular_file(status)) return fs::is_directory(status) ? EISDIR : EINVAL;
    return MayOverwrite(target) ? 0 : EACCES;
}

int MoveIntoPlace(const fs::path& temp, const fs::path& target) {
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) return ErrnoOf(ec);
    fs::path folder = target.parent_path();
    SyncFolder(folder.empty() ? fs::path(".") : folder);
    return 0;
}

std::string SystemErrorText(int error) {
    switch (error) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return sjis("空き容量がありません");
        case EACCES:
        case EPERM:
            return sjis("書き込みが許可されていません");
        case EROFS:
            return sjis("読み取り専用のファイルシステムです");
        case ENOENT:
        case ENOTDIR:
            return sjis("フォルダがありません");
        case EISDIR:
            return sjis("同じ名前のフォルダがあります");
        case EINVAL:
            return sjis("ファイルではありません");
        case ENAMETOOLONG:
            return sjis("名前が長すぎます");
        case EIO:
            return sjis("読み書き中に装置のエラーが起きました");
        case EMFILE:
        case ENFILE:
            return sjis("開いているファイルが多すぎます");
        case EBUSY:
        case ETXTBSY:
            return sjis("ファイルが使用中です");
        case EEXIST:
            return sjis("一時ファイルを作れません");
        default:
            return ErrorText(std::error_code(error, std::generic_category()));
    }
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
