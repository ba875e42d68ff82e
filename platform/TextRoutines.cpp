#include "TextRoutines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <random>

#include "Sjis.h"

namespace sulkan {
namespace {

constexpr std::string_view kWideSpace = "\x81\x40";  // "　"

bool IsNarrowBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Start of the last whole character of s (s not empty).
std::size_t LastCharStart(std::string_view s) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) last = i;
    return last;
}

// The longest prefix of s no longer than limit bytes that does not end inside a character.
std::string_view WholeCharPrefix(std::string_view s, std::size_t limit) {
    std::size_t end = 0;
    while (end < s.size()) {
        std::size_t next = end + CharLength(s, end);
        if (next > limit) break;
        end = next;
    }
    return s.substr(0, end);
}

std::string TwoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string FourDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", n);
    return buf;
}

}  // namespace

std::string BoolText(bool flag) {
    return flag ? "True" : "False";
}

std::string FileExtension(std::string_view path) {
    std::size_t slash = FindLastWholeChar(path, '\\');
    std::size_t fwd = FindLastWholeChar(path, '/');
    if (fwd != std::string_view::npos && (slash == std::string_view::npos || fwd > slash))
        slash = fwd;
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::size_t dot = FindLastWholeChar(name, '.');
    if (dot == std::string_view::npos) return {};
    // Lower-case single-byte letters only: a trail byte may look like an ASCII capital.
    return FoldAsciiCase(WholeCharPrefix(name.substr(dot), 4));
}

int SplitAtHash(std::string_view line, std::vector<std::string>& pieces) {
    pieces.clear();
    if (line.empty()) return 0;
    int hashes = 0;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = line.find('#', start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(line.substr(start));
            return hashes;
        }
        pieces.emplace_back(line.substr(start, at - start));
        ++hashes;
        start = at + 1;
    }
}

int SplitAtSemicolon(std::string_view line, std::vector<std::string>& pieces) {
    pieces.clear();
    std::size_t start = 0;
    for (;;) {
        std::size_t at = line.find(';', start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(line.substr(start));
            return static_cast<int>(pieces.size());
        }
        pieces.emplace_back(std::string(line.substr(start, at - start)) + " ");
        start = at + 1;
    }
}

std::string TrimWide(std::string_view text) {
    std::string_view s = text;
    // Narrow and full-width blanks in any mix ("　 x", "x 　"): trimming one kind can bare the
    // other, so both are trimmed until neither is left, and trimming the result again changes
    // nothing.
    for (std::size_t before = s.size() + 1; s.size() != before;) {
        before = s.size();
        // Trail bytes start at 0x40, so cutting bytes up to 0x20 never splits a character.
        while (!s.empty() && IsNarrowBlank(s.front())) s.remove_prefix(1);
        while (!s.empty() && IsNarrowBlank(s.back())) s.remove_suffix(1);
        while (s.substr(0, 2) == kWideSpace) s.remove_prefix(2);
        while (s.size() >= 2 && LastCharStart(s) == s.size() - 2 &&
               s.substr(s.size() - 2) == kWideSpace)
            s.remove_suffix(2);
    }
    return std::string(s);
}

std::string PadLike(std::string_view text, std::string_view model) {
    if (text.size() >= model.size()) return std::string(text);
    if (text.empty()) return std::string(std::min<std::size_t>(model.size(), 12), ' ');
    std::string padded = std::string(" ").append(text).append(12, ' ');
    return std::string(WholeCharPrefix(padded, model.size()));
}

void ShuffleList(std::vector<std::string>& lines, const std::function<int(int)>& random) {
    if (lines.size() <= 1) return;
    const int n = static_cast<int>(lines.size());
    for (int i = 0; i < n; ++i) {
        int r = random(n);
        if (r < 0 || r >= n) continue;  // a faulty source must not index out of range
        if (r != i) std::swap(lines[i], lines[r]);
    }
}

void ShuffleList(std::vector<std::string>& lines) {
    static std::mt19937 engine{std::random_device{}()};
    ShuffleList(lines, [](int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); });
}

std::string FullWidthDigits(std::string_view text) {
    if (text.empty() || static_cast<unsigned char>(text[0]) >= 0x80) return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            out.push_back('\x82');
            out.push_back(static_cast<char>(0x4F + (c - '0')));
        }
    }
    return out;
}

std::string AfterLastChar(char c, std::string_view text) {
    std::size_t at = FindLastWholeChar(text, c);
    if (at == std::string_view::npos) return std::string(text);
    return std::string(text.substr(at + 1));
}

std::string TempFolder() {
    const char* value = std::getenv("temp");
    return value ? std::string(value) : std::string();
}

LocalTime Now() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

std::string TimeStamp(const LocalTime& t) {
    return TwoDigits(t.hour) + ":" + TwoDigits(t.minute);
}
std::string TimeStamp() {
    return TimeStamp(Now());
}

std::string JapaneseDateStamp(const LocalTime& t) {
    static const std::string year = sjis("年"), month = sjis("月"), day = sjis("日");
    return FourDigits(t.year) + year + TwoDigits(t.month) + month + TwoDigits(t.day) + day;
}
std::string JapaneseDateStamp() {
    return JapaneseDateStamp(Now());
}

std::string DotDateStamp(const LocalTime& t) {
    return FourDigits(t.year) + "." + TwoDigits(t.month) + "." + TwoDigits(t.day);
}
std::string DotDateStamp() {
    return DotDateStamp(Now());
}

std::string IntText(long long n) {
    return std::to_string(n);
}

int ReadNumber(std::string_view text) {
    std::size_t digits = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) digits = 1;
    if (digits == text.size()) return 0;
    for (std::size_t i = digits; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
    }
    // from_chars takes a minus sign but not a plus sign.
    if (text[0] == '+') text.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return 0;
    return value;
}

long long RoundHalfEven(double x) {
    if (std::isnan(x)) return 0;
    constexpr double kLimit = 9.2e18;  // inside the range of long long
    if (x >= kLimit) return std::numeric_limits<long long>::max();
    if (x <= -kLimit) return std::numeric_limits<long long>::min();
    double floor = std::floor(x);
    double diff = x - floor;
    auto result = static_cast<long long>(floor);
    if (diff > 0.5 || (diff == 0.5 && result % 2 != 0)) ++result;
    return result;
}

int RoundToInt(double x) {
    return static_cast<int>(std::clamp<long long>(RoundHalfEven(x), std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

}  // namespace sulkan
