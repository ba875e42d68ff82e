// Shared by the fuzz targets: a failed property stops the run like a crash, so libFuzzer keeps
// the input that broke it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
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

}  // namespace sulkan::fuzz

// A macro so that the message names the failing line of the target.
#define FUZZ_REQUIRE(cond, what) \
    ((cond) ? static_cast<void>(0) : ::sulkan::fuzz::PropertyFailed(what, __FILE__, __LINE__))
