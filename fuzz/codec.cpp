// CP932 decoding and encoding: decoded bytes encode back to the same bytes, except a duplicate
// code, which may come back as the code its character encodes to; text that encodes decodes back.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "Codec.h"
#include "FuzzCheck.h"
#include "Sjis.h"

namespace {

using namespace sulkan;

// Built from the codec itself rather than from a list, so a change of the system's tables shows
// up as a count at start-up, not as a false finding.
struct PairTable {
    std::vector<bool> valid = std::vector<bool>(65536, false);  // decodes to one character
    std::unordered_map<unsigned, std::string> duplicates;       // pair -> the code it comes back as

    PairTable() {
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0; trail <= 0xFF; ++trail) {
                const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
                const std::u16string text = Cp932ToUtf16(pair);
                if (text.size() != 1) continue;  // not a character: lead byte kept as an escape
                valid[lead << 8 | trail] = true;
                const auto back = Utf16ToCp932(text);
                FUZZ_REQUIRE(back.has_value(), "a decoded character does not encode");
                if (*back != pair) duplicates.emplace(lead << 8 | trail, *back);
            }
        }
    }
};

const PairTable* table = nullptr;

unsigned PairAt(const std::string& s, std::size_t i) {
    return static_cast<unsigned char>(s[i]) << 8 | static_cast<unsigned char>(s[i + 1]);
}

void CheckBytesRoundTrip(const std::string& in) {
    const auto out = Utf16ToCp932(Cp932ToUtf16(in));
    FUZZ_REQUIRE(out.has_value(), "decoded bytes do not encode");
    std::size_t j = 0;
    for (std::size_t i = 0; i < in.size();) {
        if (IsLeadByte(static_cast<unsigned char>(in[i])) && i + 1 < in.size() &&
            table->valid[PairAt(in, i)]) {
            std::string expected = in.substr(i, 2);
            if (out->compare(j, 2, expected) != 0) {
                auto dup = table->duplicates.find(PairAt(in, i));
                FUZZ_REQUIRE(dup != table->duplicates.end(), "a byte pair came back changed");
                expected = dup->second;
                FUZZ_REQUIRE(out->compare(j, expected.size(), expected) == 0,
                             "a duplicate code came back as another code than its character's");
            }
            i += 2;
            j += expected.size();
        } else {
            FUZZ_REQUIRE(j < out->size() && (*out)[j] == in[i], "a byte came back changed");
            ++i;
            ++j;
        }
    }
    FUZZ_REQUIRE(j == out->size(), "bytes were added by the round trip");
}

bool HasEscape(const std::u16string& text) {
    for (char16_t c : text)
        if (c >= 0xDC80 && c <= 0xDCFF) return true;
    return false;
}

// The same bytes read as UTF-16LE text: whatever encodes must decode to the same text, so
// nothing typed is silently replaced by another character.
void CheckTextRoundTrip(const std::string& in) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < in.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(in[i]) |
                                             static_cast<unsigned char>(in[i + 1]) << 8));
    char32_t failed = 0;
    const auto bytes = Utf16ToCp932(text, &failed);
    if (!bytes) {
        FUZZ_REQUIRE(failed != 0, "a refused text names no character");
        return;
    }
    // Escaped bytes may pair up with their neighbours into characters: that is their purpose.
    if (HasEscape(text)) return;
    FUZZ_REQUIRE(Cp932ToUtf16(*bytes) == text, "encoded text decodes to another text");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    table = new PairTable;
    std::fprintf(stderr, "CP932 duplicate codes found in the codec: %zu\n",
                 table->duplicates.size());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    CheckBytesRoundTrip(in);
    CheckTextRoundTrip(in);
    return 0;
}
