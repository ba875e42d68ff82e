// INI profile lines: a name the writer refuses writes nothing; otherwise a value written reads
// back under its section and key, the write changes or adds one line (two for a new section),
// and no other section reads differently afterwards.
// Input: section NUL key NUL value NUL file bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Codec.h"
#include "FuzzCheck.h"
#include "LineFile.h"
#include "ProfileFile.h"
#include "Sjis.h"

namespace {

using namespace sulkan;
using Lines = std::vector<std::string>;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Line breaks in a value are turned into blanks by the writer, and a value loses its outer
// blanks on reading as the profile functions have always done: neither can come back as written.
bool WritableValue(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos &&
           (value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back())));
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Names are the same with outer blanks trimmed, the duplicate double-byte spellings of one
// character counted as one and ignoring ASCII case; a trail byte is never folded.
bool SameName(std::string_view a, std::string_view b) {
    return SameIgnoringAsciiCase(CanonicalSpelling(TrimBlanks(a)),
                                 CanonicalSpelling(TrimBlanks(b)));
}

// Names of the sections a file seems to have, to look at them before and after the write; a
// rough cut is enough, since each is only asked for through the reader.
Lines SectionNames(const Lines& lines) {
    Lines names;
    for (const auto& line : lines) {
        std::size_t open = line.find_first_not_of(" \t");
        std::size_t close = line.rfind(']');
        if (open == std::string::npos || line[open] != '[' || close == std::string::npos ||
            close <= open)
            continue;
        std::string name = line.substr(open + 1, close - open - 1);
        while (!name.empty() && IsBlank(name.front())) name.erase(0, 1);
        while (!name.empty() && IsBlank(name.back())) name.pop_back();
        names.push_back(std::move(name));
    }
    return names;
}

// At most one line changed or inserted, or two appended for a new section.
void CheckOneLineChanged(const Lines& before, const Lines& after) {
    FUZZ_REQUIRE(after.size() >= before.size() && after.size() <= before.size() + 2,
                 "the write removed lines or added more than a section");
    const std::size_t grown = after.size() - before.size();
    std::size_t d = 0;  // the first difference
    while (d < before.size() && before[d] == after[d]) ++d;
    if (grown == 2) {
        FUZZ_REQUIRE(d == before.size(), "a new section was not added at the end");
        return;
    }
    // Past the changed line (or from the inserted one on) everything is as it was.
    for (std::size_t i = grown == 0 ? d + 1 : d; i < before.size(); ++i)
        FUZZ_REQUIRE(after[i + grown] == before[i], "the write changed more than one line");
}

struct Input {
    std::string section, key, value, file;
};

Input Parse(const std::uint8_t* data, std::size_t size) {
    std::string rest(reinterpret_cast<const char*>(data), size);
    Input in;
    for (std::string* part : {&in.section, &in.key, &in.value}) {
        const std::size_t nul = rest.find('\0');
        if (nul == std::string::npos) {
            part->swap(rest);
            rest.clear();
            break;
        }
        *part = rest.substr(0, nul);
        rest.erase(0, nul + 1);
    }
    in.file = std::move(rest);
    return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input in = Parse(data, size);
    if (!WritableValue(in.value)) return 0;

    const ProfileLines before(SplitLines(in.file));
    ProfileLines after = before;
    const bool refused = !ProfileNameProblem(in.section, in.key);
    FUZZ_REQUIRE(after.write(in.section, in.key, in.value) != refused,
                 "a write refused a fine name or took a refused one");
    // The refusal is kept for the save to report; a write that went through keeps none.
    FUZZ_REQUIRE(after.refusal().empty() != refused, "the refusal was not kept or made up");
    if (refused) {
        FUZZ_REQUIRE(after.lines() == before.lines(), "a refused name changed the lines");
        return 0;
    }

    FUZZ_REQUIRE(after.read(in.section, in.key, "\x01") == in.value,
                 "a written value does not read back");
    FUZZ_REQUIRE(after.hasSection(in.section), "the written section is not there");
    CheckOneLineChanged(before.lines(), after.lines());

    for (const auto& name : SectionNames(before.lines())) {
        const Lines keys = before.keys(name);
        if (SameName(name, in.section)) {
            // The section written to: its other keys keep their values.
            for (const auto& key : keys) {
                if (SameName(key, in.key)) continue;
                FUZZ_REQUIRE(after.read(name, key, "\x01") == before.read(name, key, "\x01"),
                             "another key of the section changed");
            }
            continue;
        }
        FUZZ_REQUIRE(after.keys(name) == keys, "another section's keys changed");
        for (const auto& key : keys)
            FUZZ_REQUIRE(after.read(name, key, "\x01") == before.read(name, key, "\x01"),
                         "another section's value changed");
    }
    return 0;
}
