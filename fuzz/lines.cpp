// Splitting bytes into lines and joining them: no byte but the line ends is lost, lines never
// hold a line end, and a CR LF file comes back byte for byte.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "LineFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sulkan;
    const std::string in(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitLines(in);

    // Walking the input: each line, then one line end (CR LF, CR or LF) unless it is the last.
    bool onlyCrLf = true;
    std::size_t at = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        FUZZ_REQUIRE(line.find_first_of("\r\n") == std::string::npos, "a line holds a line end");
        FUZZ_REQUIRE(in.compare(at, line.size(), line) == 0, "a line differs from the input");
        at += line.size();
        if (at == in.size()) {
            FUZZ_REQUIRE(n + 1 == lines.size(), "lines after the end of the input");
            onlyCrLf = false;  // the last line has no line end
            break;
        }
        if (in.compare(at, 2, "\r\n") == 0) {
            at += 2;
        } else {
            FUZZ_REQUIRE(in[at] == '\r' || in[at] == '\n', "a line stops before a line end");
            onlyCrLf = false;
            ++at;
        }
    }
    FUZZ_REQUIRE(at == in.size(), "input left over after the last line");

    const std::string joined = JoinLines(lines);
    FUZZ_REQUIRE(SplitLines(joined) == lines, "joined lines split differently");
    if (onlyCrLf) FUZZ_REQUIRE(joined == in, "a CR LF file does not come back byte for byte");
    return 0;
}
