#include "Codec.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

#include "Sjis.h"

namespace sulkan {
namespace {

constexpr char16_t kEscapeBase = 0xDC80;  // escaped byte b decodes to kEscapeBase + (b - 0x80)

// Decoding table for every byte pair, built once from iconv; 0 marks an invalid pair.
struct DecodeTable {
    std::array<char16_t, 256> single{};
    std::vector<char16_t> pairs = std::vector<char16_t>(65536, 0);

    DecodeTable() {
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        auto convert = [&](const char* in, std::size_t len) -> char16_t {
            char out[8];
            char* inp = const_cast<char*>(in);
            char* outp = out;
            std::size_t inleft = len, outleft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inleft, &outp, &outleft) == static_cast<std::size_t>(-1) ||
                inleft != 0 || outp - out != 2)
                return 0;
            return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                         (static_cast<unsigned char>(out[1]) << 8));
        };
        for (int b = 0; b < 256; ++b) {
            if (b < 0x80) {
                single[b] = static_cast<char16_t>(b);
                continue;
            }
            if (IsLeadByte(static_cast<unsigned char>(b))) continue;
            char c = static_cast<char>(b);
            single[b] = convert(&c, 1);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                pairs[(lead << 8) | trail] = convert(in, 2);
            }
        }
        iconv_close(cd);
    }
};

const DecodeTable& Table() {
    static const DecodeTable table;
    return table;
}

char16_t Escape(unsigned char b) {
    return static_cast<char16_t>(0xDC00 + b);
}

// Encodes a run without escapes through iconv; false on the first unencodable character.
bool EncodeRun(std::u16string_view run, std::string& out, char32_t* failedChar) {
    if (run.empty()) return true;
    struct Closer {
        void operator()(void* p) const { iconv_close(static_cast<iconv_t>(p)); }
    };
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::unique_ptr<void, Closer> guard(cd);
    std::string in;
    in.reserve(run.size() * 2);
    for (char16_t ch : run) {
        in.push_back(static_cast<char>(ch & 0xFF));
        in.push_back(static_cast<char>(ch >> 8));
    }
    std::string buf(run.size() * 2 + 8, '\0');
    char* inp = in.data();
    std::size_t inleft = in.size();
    char* outp = buf.data();
    std::size_t outleft = buf.size();
    if (iconv(cd, &inp, &inleft, &outp, &outleft) == static_cast<std::size_t>(-1)) {
        if (failedChar) {
            std::size_t at = (in.size() - inleft) / 2;
            char32_t c = run[at];
            if (c >= 0xD800 && c <= 0xDBFF && at + 1 < run.size())
                c = 0x10000 + ((c - 0xD800) << 10) + (run[at + 1] - 0xDC00);
            *failedChar = c;
        }
        return false;
    }
    out.append(buf.data(), static_cast<std::size_t>(outp - buf.data()));
    return true;
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view bytes) {
    const DecodeTable& t = Table();
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (IsLeadByte(b) && i + 1 < bytes.size()) {
            auto trail = static_cast<unsigned char>(bytes[i + 1]);
            char16_t c = t.pairs[(b << 8) | trail];
            if (c != 0) {
                out.push_back(c);
                i += 2;
                continue;
            }
        }
        if (b < 0x80) {
            out.push_back(static_cast<char16_t>(b));
        } else if (!IsLeadByte(b) && t.single[b] != 0) {
            out.push_back(t.single[b]);
        } else {
            out.push_back(Escape(b));
        }
        ++i;
    }
    return out;
}

std::optional<std::string> Utf16ToCp932(std::u16string_view text, char32_t* failedChar) {
    std::string out;
    out.reserve(text.size() * 2);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        // A lone low surrogate in the escape range stands for one raw byte.
        bool escaped = i < text.size() && text[i] >= kEscapeBase && text[i] <= 0xDCFF &&
                       !(i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF);
        if (i == text.size() || escaped) {
            if (!EncodeRun(text.substr(start, i - start), out, failedChar)) return std::nullopt;
            if (escaped) out.push_back(static_cast<char>(text[i] - 0xDC00));
            start = i + 1;
        }
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view bytes) {
    std::u16string u = Cp932ToUtf16(bytes);
    std::string out;
    out.reserve(u.size() * 3);
    for (char16_t c : u) {
        char32_t cp = (c >= 0xD800 && c <= 0xDFFF) ? 0xFFFD : c;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8, char32_t* failedChar) {
    std::u16string u;
    u.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t n = 0;
        if (b < 0x80) {
            cp = b, n = 1;
        } else if ((b >> 5) == 6) {
            cp = b & 0x1F, n = 2;
        } else if ((b >> 4) == 14) {
            cp = b & 0x0F, n = 3;
        } else if ((b >> 3) == 30) {
            cp = b & 0x07, n = 4;
        }  // otherwise n stays 0: a continuation byte or 0xF8..0xFF starts no character
        // Malformed UTF-8 is refused rather than guessed at.
        bool valid = n != 0 && i + n <= utf8.size();
        for (std::size_t k = 1; valid && k < n; ++k) {
            auto c = static_cast<unsigned char>(utf8[i + k]);
            valid = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid) valid = cp >= kShortest[n] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!valid) {
            if (failedChar) *failedChar = 0xFFFD;
            return std::nullopt;
        }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            u.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            u.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            u.push_back(static_cast<char16_t>(cp));
        }
    }
    return Utf16ToCp932(u, failedChar);
}

}  // namespace sulkan
