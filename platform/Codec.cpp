#include "Codec.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
        detail::RequireConverter("UTF-16LE", "CP932");
        detail::RequireConverter("CP932", "UTF-16LE");
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
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

// For every double-byte code, the code its character encodes back to (0 when it is its own).
struct CanonicalTable {
    std::vector<std::uint16_t> pairs = std::vector<std::uint16_t>(65536, 0);

    CanonicalTable() {
        const DecodeTable& t = Table();
        iconv_t cd = iconv_open("CP932", "UTF-16LE");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (int code = 0x8100; code <= 0xFCFF; ++code) {
            const char16_t c = t.pairs[static_cast<std::size_t>(code)];
            if (c == 0) continue;
            char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
            char out[4];
            char* inp = in;
            char* outp = out;
            std::size_t inleft = 2, outleft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inleft, &outp, &outleft) == static_cast<std::size_t>(-1) ||
                outp - out != 2)
                continue;
            const int other =
                (static_cast<unsigned char>(out[0]) << 8) | static_cast<unsigned char>(out[1]);
            if (other != code)
                pairs[static_cast<std::size_t>(code)] = static_cast<std::uint16_t>(other);
        }
        iconv_close(cd);
    }
};

const CanonicalTable& Canonical() {
    static const CanonicalTable table;
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
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        detail::RequireConverter("CP932", "UTF-16LE");
        cd = iconv_open("CP932", "UTF-16LE");
        if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    }
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

std::string CanonicalSpelling(std::string_view bytes) {
    const CanonicalTable& t = Canonical();
    std::string out(bytes);
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) {
        if (CharLength(out, i) != 2) continue;
        const int code =
            (static_cast<unsigned char>(out[i]) << 8) | static_cast<unsigned char>(out[i + 1]);
        if (const std::uint16_t other = t.pairs[static_cast<std::size_t>(code)]) {
            out[i] = static_cast<char>(other >> 8);
            out[i + 1] = static_cast<char>(other & 0xFF);
        }
    }
    return out;
}

bool SameSpelling(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a == b || CanonicalSpelling(a) == CanonicalSpelling(b));
}

namespace {

void AppendUtf8(char32_t cp, std::string& out) {
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

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text, Utf8Escapes escapes) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= kEscapeBase && cp <= 0xDCFF && escapes == Utf8Escapes::Keep) {
            out.push_back(static_cast<char>(cp - 0xDC00));
            continue;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        AppendUtf8(cp, out);
    }
    return out;
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8, Utf8Escapes escapes) {
    std::u16string u;
    u.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        // n stays 0 for a continuation byte or 0xF8..0xFF: they start no character.
        const std::size_t n = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        char32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        bool valid = n != 0 && i + n <= utf8.size();
        for (std::size_t k = 1; valid && k < n; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            valid = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid) valid = cp >= kShortest[n] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!valid) {
            if (escapes == Utf8Escapes::Refuse) return std::nullopt;
            u.push_back(Escape(b));
            ++i;
            continue;
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
    return u;
}

std::string Cp932ToUtf8(std::string_view bytes) {
    return Utf16ToUtf8(Cp932ToUtf16(bytes), Utf8Escapes::Refuse);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8, char32_t* failedChar) {
    // Malformed UTF-8 is refused rather than guessed at.
    auto u = Utf8ToUtf16(utf8, Utf8Escapes::Refuse);
    if (!u) {
        if (failedChar) *failedChar = 0xFFFD;
        return std::nullopt;
    }
    return Utf16ToCp932(*u, failedChar);
}

namespace detail {

void RequireConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd != reinterpret_cast<iconv_t>(-1)) {
        iconv_close(cd);
        return;
    }
    const int error = errno;
    std::fprintf(stderr,
                 "sulkan: 文字コードの変換 %s → %s を用意できません（%s）。"
                 "iconv（glibc の gconv モジュール）を確認してください。\n",
                 from, to, std::strerror(error));
    std::fflush(stderr);
    std::_Exit(3);
}

}  // namespace detail

}  // namespace sulkan
