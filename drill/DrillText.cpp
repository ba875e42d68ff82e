#include "DrillText.h"

#include <algorithm>
#include <cstdio>

#include "Codec.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

std::vector<std::string> SplitAlternatives(std::string_view answerText) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        // ";" (0x3B) is never a trail byte, so a plain byte search finds whole characters.
        const std::size_t at = answerText.find(';', start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(answerText.substr(start));
            return pieces;
        }
        pieces.emplace_back(answerText.substr(start, at - start));
        start = at + 1;
    }
}

std::string EnteredAnswer(std::string_view boxText) {
    std::size_t first = 0, last = boxText.size();
    auto narrowBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (first < last && narrowBlank(boxText[first])) ++first;
    while (last > first && narrowBlank(boxText[last - 1])) --last;
    const std::string_view text = boxText.substr(first, last - first);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = CharLength(text, i);
        const char c = text[i];
        if (n == 1 && c >= '0' && c <= '9') {
            out += '\x82';
            out += static_cast<char>(0x4F + (c - '0'));
        } else {
            out.append(text.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::string ComparableAnswer(std::string_view text) {
    return CanonicalSpelling(EnteredAnswer(TrimWide(text)));
}

bool MatchesAlternative(std::string_view answer, const std::vector<std::string>& alternatives) {
    const std::string given = ComparableAnswer(answer);
    if (given.empty()) return false;
    for (const std::string& alternative : alternatives)
        if (ComparableAnswer(alternative) == given) return true;
    return false;
}

std::string UnusableCharacterMessage(char32_t character) {
    char code[16];
    std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(character));
    return sjis("答えに使えない文字（U+") + code +
           sjis("）が入っています。別の書き方で入力してください");
}

std::vector<std::string> PreparedChoices(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    return lines;
}

void ShuffleChoices(std::vector<std::string>& choices, RandomSource& random) {
    ShuffleList(choices, [&random](int n) { return random.below(n); });
}

void LayKeysFromChoices(SoftKeys& keys, const std::vector<std::string>& choices,
                        RandomSource& random) {
    if (choices.empty()) return;
    int n = 0;
    for (const std::string& choice : choices) {
        for (std::size_t i = 0; i < choice.size(); i += CharLength(choice, i)) {
            if (CharLength(choice, i) != 2 || n >= kSoftKeyCount) continue;
            keys.captions[static_cast<std::size_t>(++n)] = choice.substr(i, 2);
        }
    }
    for (int i = 1; i <= n; ++i) {
        const int j = random.below(n);
        if (j != i && j >= 1)
            std::swap(keys.captions[static_cast<std::size_t>(i)],
                      keys.captions[static_cast<std::size_t>(j)]);
    }
    for (int i = n + 1; i <= kSoftKeyCount; ++i) keys.captions[static_cast<std::size_t>(i)].clear();
    keys.green = true;
}

void LayKeysFromFile(SoftKeys& keys, const std::vector<std::string>& lines) {
    std::size_t key = 1;
    for (const std::string& line : lines) {
        for (std::size_t i = 0; i < line.size(); i += CharLength(line, i)) {
            if (CharLength(line, i) != 2 || key > kSoftKeyCount) continue;
            keys.captions[key++] = line.substr(i, 2);
        }
    }
    keys.green = false;
}

const std::vector<std::string>& PraiseWords() {
    static const std::vector<std::string> words = {sjis("正解です"),     sjis("よくできました"),
                                                   sjis("合っています"), sjis("ＧＯＯＤ"),
                                                   sjis("ＧＲＥＡＴ"),   sjis("ＮＩＣＥ")};
    return words;
}

}  // namespace sulkan
