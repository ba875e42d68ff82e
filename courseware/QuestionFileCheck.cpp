#include "QuestionFileCheck.h"

#include <algorithm>

#include "Codec.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

std::optional<QuestionProblem> CheckQuestionLines(const std::vector<std::string>& ques) {
    bool anyHash = false;
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < ques.size(); ++i) {
        const int hashes = SplitAtHash(ques[i], pieces);
        if (hashes == 0) continue;
        anyHash = true;
        const std::string lineNumber = IntText(static_cast<long long>(i) + 1);
        if (hashes % 2 != 0) {
            return QuestionProblem{lineNumber + sjis("行目：＃の数は偶数にしてください"), i};
        }
        // Pieces strictly between the first and the last "#": answers and the text between them.
        const bool emptyInside = std::any_of(pieces.begin() + 1, pieces.end() - 1,
                                             [](const std::string& p) { return p.empty(); });
        if (emptyInside) return QuestionProblem{lineNumber + sjis("行目：解答がありません"), i};
    }
    if (!anyHash) return QuestionProblem{sjis("解答欄がありません"), std::nullopt};
    return std::nullopt;
}

Result<> CheckLayoutBlocks(const UnitBlocks& blocks) {
    const auto wrong = [](const std::vector<std::string>& block, auto accepted) {
        return !block.empty() && !accepted(block.size());
    };
    const auto seven = [](std::size_t n) { return n == 7; };
    if (wrong(blocks.value, seven)) return Problem(sjis("valueブロックの数が合いません"));
    if (wrong(blocks.font, seven)) return Problem(sjis("fontブロックの数が合いません"));
    // Older units have 8 kran lines; readers add the last two as "0".
    if (wrong(blocks.kran, [](std::size_t n) { return n == 10 || n == 8; })) {
        return Problem(sjis("kranブロックの数が合いません"));
    }
    return {};
}

Result<> ValidateUnit(const UnitBlocks& blocks) {
    if (auto problem = CheckQuestionLines(blocks.ques)) return Problem(problem->message);
    return CheckLayoutBlocks(blocks);
}

int BlankCountOf(const std::vector<std::string>& ques) {
    std::vector<std::string> pieces;
    int blanks = 0;
    for (const auto& line : ques) blanks += SplitAtHash(line, pieces) / 2;
    return blanks;
}

namespace {

// The codec turns each byte it cannot decode into U+DC80 + byte.
bool HasEscapedByte(std::string_view bytes) {
    const std::u16string text = Cp932ToUtf16(bytes);
    return std::any_of(text.begin(), text.end(),
                       [](char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; });
}

}  // namespace

std::optional<NonCp932Char> FirstNonCp932Char(const std::string& line) {
    if (!HasEscapedByte(line)) return std::nullopt;
    for (std::size_t i = 0; i < line.size(); i += CharLength(line, i)) {
        const std::string c = line.substr(i, CharLength(line, i));
        if (HasEscapedByte(c)) return NonCp932Char{i, c};
    }
    return std::nullopt;
}

}  // namespace sulkan
