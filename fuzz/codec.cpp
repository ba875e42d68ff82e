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
    std::vector<bool> held = std::vector<bool>(65536, false);   // characters some code decodes to
    std::u16string bestFit;  // characters no code decodes to that encode all the same

    PairTable() {
        for (unsigned b = 0; b <= 0xFF; ++b) {
            if (IsLeadByte(static_cast<unsigned char>(b))) continue;
            const std::u16string text = Cp932ToUtf16(std::string(1, static_cast<char>(b)));
            if (text[0] < 0xDC80 || text[0] > 0xDCFF) held[text[0]] = true;
        }
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0; trail <= 0xFF; ++trail) {
                const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
                const std::u16string text = Cp932ToUtf16(pair);
                if (text.size() != 1) continue;  // not a character: lead byte kept as an escape
                valid[lead << 8 | trail] = true;
                held[text[0]] = true;
                const auto back = Utf16ToCp932(text);
                FUZZ_REQUIRE(back.has_value(), "a decoded character does not encode");
                if (*back != pair) duplicates.emplace(lead << 8 | trail, *back);
            }
        }
        for (char32_t c = 1; c <= 0xFFFF; ++c) {
            if (held[c] || (c >= 0xD800 && c <= 0xDFFF)) continue;
            if (Utf16ToCp932(std::u16string(1, static_cast<char16_t>(c)))) bestFit.push_back(c);
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

// The same bytes read as UTF-16LE text: text of characters that CP932 holds encodes, and decodes
// back to the same text. Other characters are refused, or taken by the system's best-fit mapping
// (counted at start-up; that they come back as other characters is not this property's concern).
void CheckTextRoundTrip(const std::string& in) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < in.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(in[i]) |
                                             static_cast<unsigned char>(in[i + 1]) << 8));
    char32_t failed = 0;
    const auto bytes = Utf16ToCp932(text, &failed);
    bool held = true;
    for (char16_t c : text) held = held && table->held[c];
    if (!bytes) {
        FUZZ_REQUIRE(failed != 0, "a refused text names no character");
        FUZZ_REQUIRE(!held, "a text of CP932 characters was refused");
        return;
    }
    // Escaped bytes (never held) may pair up with their neighbours: that is their purpose.
    if (!held) return;
    FUZZ_REQUIRE(Cp932ToUtf16(*bytes) == text, "encoded text decodes to another text");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    table = new PairTable;
    std::fprintf(stderr, "CP932 duplicate codes found in the codec: %zu\n",
                 table->duplicates.size());
    std::fprintf(stderr, "characters encoded by a best-fit mapping:");
    for (char16_t c : table->bestFit) std::fprintf(stderr, " U+%04X", static_cast<unsigned>(c));
    std::fprintf(stderr, "\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    CheckBytesRoundTrip(in);
    CheckTextRoundTrip(in);
    return 0;
}
