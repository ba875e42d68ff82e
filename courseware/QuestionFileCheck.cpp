#include "QuestionFileCheck.h"

#include <algorithm>

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

std::optional<std::string> CheckLayoutBlocks(const UnitBlocks& blocks) {
    const auto wrong = [](const std::vector<std::string>& block, auto accepted) {
        return !block.empty() && !accepted(block.size());
    };
    const auto seven = [](std::size_t n) { return n == 7; };
    if (wrong(blocks.value, seven)) return sjis("valueブロックの数が合いません");
    if (wrong(blocks.font, seven)) return sjis("fontブロックの数が合いません");
    // Older units have 8 kran lines; readers add the last two as "0".
    if (wrong(blocks.kran, [](std::size_t n) { return n == 10 || n == 8; })) {
        return sjis("kranブロックの数が合いません");
    }
    return std::nullopt;
}

std::optional<std::string> ValidateUnit(const UnitBlocks& blocks) {
    if (auto problem = CheckQuestionLines(blocks.ques)) return problem->message;
    return CheckLayoutBlocks(blocks);
}

}  // namespace sulkan
