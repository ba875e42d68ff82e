// Shared by the fuzz targets: a failed property stops the run like a crash, so libFuzzer keeps
// the input that broke it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace sulkan::fuzz {

[[noreturn]] inline void PropertyFailed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "\n*** property failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}

// The first byte of an input picks among choices; the rest is the file under test.
struct Split {
    unsigned pick = 0;
    std::string bytes;
};

inline Split SplitPick(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    return {data[0], std::string(reinterpret_cast<const char*>(data) + 1, size - 1)};
}

inline constexpr std::string_view kHeaderPrefix = "[[unit";

// Unit header lines in the order of their first occurrence.
inline std::vector<std::string> UnitHeaders(const std::vector<std::string>& lines) {
    std::vector<std::string> headers;
    for (const auto& line : lines) {
        if (!line.starts_with(kHeaderPrefix)) continue;
        bool seen = false;
        for (const auto& h : headers) seen = seen || h == line;
        if (!seen) headers.push_back(line);
    }
    return headers;
}

// Where each line starts in the bytes (CR LF, CR or LF ends a line), the end of the bytes last;
// counted here on its own, so that the writers are not checked against their own cutting.
inline std::vector<std::size_t> LineStarts(const std::string& bytes) {
    std::vector<std::size_t> starts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        starts.push_back(start);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) starts.push_back(start);
    starts.push_back(bytes.size());
    return starts;
}

}  // namespace sulkan::fuzz

// A macro so that the message names the failing line of the target.
#define FUZZ_REQUIRE(cond, what) \
    ((cond) ? static_cast<void>(0) : ::sulkan::fuzz::PropertyFailed(what, __FILE__, __LINE__))
