#include "PracticeReadings.h"

#include <optional>
#include <string_view>

#include "Kanji.h"
#include "Sjis.h"
#include "StyledText.h"
#include "TextRoutines.h"

namespace sulkan {
namespace {

std::string Plain(std::string_view piece) {
    std::string text;
    for (const TextStretch& r : StyledStretches(piece)) text += r.text;
    return text;
}

// The start of every character.
std::vector<std::size_t> CharStarts(std::string_view s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) starts.push_back(i);
    return starts;
}

bool IsBlankChar(std::string_view c) {
    if (c.size() == 1) return static_cast<unsigned char>(c[0]) <= 0x20;
    return c == "\x81\x40";  // full-width space
}

std::string TrimRight(std::string_view s) {
    std::size_t end = 0;
    for (const std::size_t i : CharStarts(s)) {
        const std::size_t n = CharLength(s, i);
        if (!IsBlankChar(s.substr(i, n))) end = i + n;
    }
    return std::string(s.substr(0, end));
}

// The last character, or "".
std::string_view LastChar(std::string_view s) {
    const std::vector<std::size_t> starts = CharStarts(s);
    return starts.empty() ? std::string_view() : s.substr(starts.back());
}

const std::string kOpenWide = "\x81\x69", kCloseWide = "\x81\x6A";  // （ ）

bool IsOpening(std::string_view c) {
    return c == "(" || c == kOpenWide;
}
bool IsClosing(std::string_view c) {
    return c == ")" || c == kCloseWide;
}

// Hiragana, katakana and the long vowel mark, nothing else.
bool IsKana(std::string_view text) {
    if (text.empty()) return false;
    for (const std::size_t i : CharStarts(text)) {
        if (CharLength(text, i) != 2) return false;
        const unsigned code = static_cast<unsigned>(static_cast<unsigned char>(text[i])) << 8 |
                              static_cast<unsigned char>(text[i + 1]);
        const bool hiragana = code >= 0x829F && code <= 0x82F1;
        const bool katakana = code >= 0x8340 && code <= 0x8396 && code != 0x837F;
        if (!hiragana && !katakana && code != 0x815B) return false;
    }
    return true;
}

bool HoldsChar(std::string_view text, std::string_view c) {
    for (const std::size_t i : CharStarts(text))
        if (text.substr(i, CharLength(text, i)) == c) return true;
    return false;
}

// The answer's alternatives, trimmed, empty ones left out.
std::vector<std::string> Alternatives(std::string_view answer) {
    std::vector<std::string> pieces, out;
    SplitAtSemicolon(answer, pieces);
    for (const std::string& piece : pieces)
        if (std::string a = TrimWide(piece); !a.empty()) out.push_back(std::move(a));
    return out;
}

// What the question says right before a blank.
struct Before {
    std::optional<std::string> marked;  // a marked passage ends there
    std::string tail;                   // else the unmarked text up to the blank
    bool bracket = false;               // an opening bracket stands between it and the blank
};

Before BeforeBlank(std::string_view piece) {
    std::vector<TextStretch> runs = StyledStretches(piece);
    Before before;
    auto trim = [&runs] {
        while (!runs.empty()) {
            runs.back().text = TrimRight(runs.back().text);
            if (!runs.back().text.empty()) return;
            runs.pop_back();
        }
    };
    trim();
    if (!runs.empty() && IsOpening(LastChar(runs.back().text))) {
        before.bracket = true;
        runs.back().text.erase(runs.back().text.size() - LastChar(runs.back().text).size());
        trim();
    }
    if (runs.empty()) return before;
    if (runs.back().marked)
        before.marked = TrimWide(runs.back().text);
    else
        before.tail = runs.back().text;
    return before;
}

// Kana in brackets at the end of text ("（はし）").
std::optional<std::string> BracketedKanaAtEnd(std::string_view text) {
    const std::vector<std::size_t> starts = CharStarts(text);
    if (starts.empty() || !IsClosing(text.substr(starts.back()))) return std::nullopt;
    for (std::size_t k = starts.size() - 1; k-- > 0;) {
        const std::string_view c = text.substr(starts[k], CharLength(text, starts[k]));
        if (!IsOpening(c)) continue;
        const std::size_t from = starts[k] + c.size();
        const std::string inside = TrimWide(text.substr(from, starts.back() - from));
        if (IsKana(inside)) return inside;
        return std::nullopt;
    }
    return std::nullopt;
}

// Kana in brackets at the start of the text after a blank.
std::optional<std::string> BracketedKanaAtStart(std::string_view piece) {
    const std::string text = TrimWide(Plain(piece));
    if (text.empty() || !IsOpening(text.substr(0, CharLength(text, 0)))) return std::nullopt;
    for (const std::size_t i : CharStarts(text)) {
        if (i == 0 || !IsClosing(text.substr(i, CharLength(text, i)))) continue;
        const std::size_t from = CharLength(text, 0);
        const std::string inside = TrimWide(std::string_view(text).substr(from, i - from));
        if (IsKana(inside)) return inside;
        return std::nullopt;
    }
    return std::nullopt;
}

// The kanji (and 々) the text ends with.
std::string TrailingKanji(std::string_view text) {
    const std::vector<std::size_t> starts = CharStarts(text);
    std::size_t from = text.size();
    for (std::size_t k = starts.size(); k-- > 0;) {
        const std::string_view c = text.substr(starts[k], CharLength(text, starts[k]));
        if (!IsKanji(c) && c != "\x81\x58") break;  // 々
        from = starts[k];
    }
    return std::string(text.substr(from));
}

struct Found {
    std::string text;
    bool own = false;  // the reading of the kanji alone
};

void Offer(std::optional<Found>& best, const std::string& kanji, const std::string& word,
           const std::string& reading) {
    const bool own = word == kanji;
    if (best && (best->own || !own)) return;
    best = Found{own ? reading : word + kOpenWide + reading + kCloseWide, own};
}

}  // namespace

std::vector<std::string> PracticeReadings(const std::vector<std::string>& questionLines,
                                          const std::vector<std::string>& kanji) {
    std::vector<std::optional<Found>> best(kanji.size());
    const std::string dot = sjis("・");
    std::vector<std::string> pieces;
    for (const std::string& line : questionLines) {
        SplitAtHash(line, pieces);
        // Odd pieces are answers; one without its closing "#" is none.
        for (std::size_t a = 1; a + 1 < pieces.size(); a += 2) {
            const std::vector<std::string> alternatives = Alternatives(pieces[a]);
            if (alternatives.empty()) continue;
            const Before before = BeforeBlank(pieces[a - 1]);
            if (IsKana(alternatives.front())) {
                // A reading blank: the word it reads stands before it.
                std::string word;
                if (before.marked)
                    word = *before.marked;
                else if (before.bracket)
                    word = TrailingKanji(before.tail);
                if (!HasKanji(word)) continue;
                std::string reading;
                for (const std::string& alt : alternatives) {
                    if (!IsKana(alt)) continue;
                    if (!reading.empty()) reading += dot;
                    reading += alt;
                }
                for (std::size_t k = 0; k < kanji.size(); ++k)
                    if (HoldsChar(word, kanji[k])) Offer(best[k], kanji[k], word, reading);
                continue;
            }
            // A writing blank: its reading next to it.
            std::optional<std::string> reading;
            if (before.marked && IsKana(*before.marked))
                reading = before.marked;
            else if (!before.marked && !before.bracket)
                reading = BracketedKanaAtEnd(before.tail);
            if (!reading) reading = BracketedKanaAtStart(pieces[a + 1]);
            if (!reading) continue;
            for (std::size_t k = 0; k < kanji.size(); ++k)
                for (const std::string& alt : alternatives)
                    if (HoldsChar(alt, kanji[k])) {
                        Offer(best[k], kanji[k], alt, *reading);
                        break;
                    }
        }
    }
    std::vector<std::string> out;
    out.reserve(kanji.size());
    for (const std::optional<Found>& f : best) out.push_back(f ? f->text : std::string());
    return out;
}

}  // namespace sulkan
