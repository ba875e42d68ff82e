#include "QuestionEditing.h"

#include <algorithm>
#include <utility>

#include "Codec.h"
#include "LayoutParams.h"
#include "LineFile.h"
#include "QuestionFileCheck.h"
#include "QuestionFileTags.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

QuestionFields NewUnitFields() {
    QuestionFields fields;
    fields.blocks.ques = {sjis("１．次の各空欄に適語を入れなさい。"),
                          sjis("例　日本の首都は　#　東京　#　です")};
    fields.pasteLo = DefaultLayoutLines();
    return fields;
}

LoadedFields LoadUnitFields(const std::vector<std::string>& fileLines,
                            const std::string& headerLine) {
    LoadedFields loaded;
    const auto at = LocateUnit(fileLines, headerLine);
    if (!at) {
        loaded.fields = NewUnitFields();
        return loaded;
    }
    loaded.found = true;
    const std::size_t end = UnitEnd(fileLines, *at);
    loaded.unitLines.assign(fileLines.begin() + static_cast<std::ptrdiff_t>(*at),
                            fileLines.begin() + static_cast<std::ptrdiff_t>(end));
    UnitBlocks blocks = ReadUnit(fileLines, *at);
    QuestionFields& f = loaded.fields;
    f.pasteLo = LayoutTextLines(blocks);
    if (!blocks.softKeyB.empty()) f.softKeyB = blocks.softKeyB.back();
    for (auto* shownElsewhere :
         {&blocks.value, &blocks.font, &blocks.kran, &blocks.softKeyB, &blocks.ans, &blocks.header})
        shownElsewhere->clear();
    f.blocks = std::move(blocks);
    return loaded;
}

std::vector<std::string> ExtractAnswers(const std::vector<std::string>& ques) {
    std::vector<std::string> answers, pieces;
    for (const std::string& line : ques) {
        SplitAtHash(line, pieces);
        for (std::size_t i = 1; i < pieces.size(); i += 2) answers.push_back(TrimWide(pieces[i]));
    }
    return answers;
}

namespace {

bool AllFullWidthDigits(const std::string& line) {
    static const std::string digits = sjis("０１２３４５６７８９");
    for (std::size_t i = 0; i + 1 < line.size(); i += 2) {
        bool digit = false;
        for (std::size_t d = 0; d < digits.size(); d += 2)
            digit = digit || line.compare(i, 2, digits, d, 2) == 0;
        if (!digit) return false;
    }
    return true;
}

bool IsChoiceLetter(const std::string& line) {
    static const std::string letters =
        sjis("あいうえおかきくけこアイウエオカキクケコＡＢＣＤＥＦＨＩＪ");
    if (line.size() != 2) return false;
    // Whole characters only: a trail byte and the next lead byte are no letter.
    for (std::size_t i = 0; i < letters.size(); i += 2)
        if (letters.compare(i, 2, line) == 0) return true;
    return false;
}

}  // namespace

std::vector<std::string> RebuildChoices(const std::vector<std::string>& answers, bool excludeDigits,
                                        bool excludeSymbols) {
    std::vector<std::string> choices, alternatives;
    for (const std::string& answer : answers) {
        if (answer.empty()) continue;
        SplitAtSemicolon(answer, alternatives);
        choices.insert(choices.end(), alternatives.begin(), alternatives.end());
    }
    std::erase_if(choices, [&](const std::string& line) {
        if (excludeDigits && (line.size() < 2 || AllFullWidthDigits(line))) return true;
        return excludeSymbols && IsChoiceLetter(line);
    });
    return choices;
}

void MergeDistractors(std::vector<std::string>& kgroup, const std::vector<std::string>& dummy) {
    for (const std::string& line : dummy) {
        if (line.empty()) continue;
        // A distractor spelled with the other code of a character is no new choice.
        if (std::none_of(kgroup.begin(), kgroup.end(),
                         [&line](const std::string& choice) { return SameSpelling(choice, line); }))
            kgroup.push_back(line);
    }
}

ChoiceCounts CountChoices(const std::vector<std::string>& kgroup) {
    ChoiceCounts counts;
    counts.lines = static_cast<int>(kgroup.size());
    for (const std::string& line : kgroup) counts.characters += static_cast<int>(line.size() / 2);
    return counts;
}

MarkupTags TagsOf(Markup markup) {
    switch (markup) {
        case Markup::Answer:
            return {" # ", " # "};
        case Markup::Underline:
            return {"<U>", "</>"};
        case Markup::Bold:
            return {"<B>", "</>"};
        case Markup::Italic:
            return {"<I>", "</>"};
        case Markup::UnderlineBold:
            return {"<U><B>", "</></>"};
    }
    return {};
}

std::string QuestionNumberPrefix(int n) {
    return sjis("（") + std::to_string(n) + sjis("）");
}

std::vector<std::string> NumberQuestionLines(std::vector<std::string> ques) {
    if (ques.size() < 2) return ques;
    for (std::size_t i = 1; i < ques.size(); ++i)
        ques[i] = QuestionNumberPrefix(static_cast<int>(i)) + ques[i];
    return ques;
}

int AddFigures(std::vector<std::string>& triples, const std::vector<std::string>& names,
               const std::vector<TextPieceStart>& pieces, bool answerFigures) {
    int refused = 0;
    for (const std::string& name : names) {
        const std::size_t k = triples.size() / 3;
        if (k >= kMaxEditorFigures) {
            ++refused;
            continue;
        }
        const std::size_t piece = answerFigures ? k : k + 1;
        TextPieceStart at;
        if (piece >= 1 && piece <= pieces.size()) at = pieces[piece - 1];
        triples.push_back(name);
        triples.push_back(std::to_string(at.left + kFigureShiftX));
        triples.push_back(std::to_string(at.top + kFigureShiftY));
    }
    return refused;
}

std::string FigureLimitText() {
    return sjis("グラフは") + std::to_string(kMaxEditorFigures) + sjis("個までです");
}

Result<> CheckLayoutText(const std::vector<std::string>& pasteLo) {
    return CheckLayoutBlocks(ReadLayoutText(pasteLo));
}

UnitBlocks BlocksOf(const QuestionFields& fields) {
    UnitBlocks layout = ReadLayoutText(fields.pasteLo);
    UnitBlocks out = fields.blocks;
    out.value = std::move(layout.value);
    out.font = std::move(layout.font);
    out.kran = std::move(layout.kran);
    if (!fields.softKeyB.empty()) out.softKeyB = {fields.softKeyB};
    return out;
}

std::string FullWidthMarkNotice(const std::vector<std::string>& ques) {
    static const std::string fullWidthMark = sjis("＃");
    for (std::size_t n = 0; n < ques.size(); ++n) {
        const std::string& line = ques[n];
        if (FindWholeChar(line, '#') != std::string::npos) continue;
        for (std::size_t pos = 0; pos < line.size(); pos += CharLength(line, pos)) {
            if (line.compare(pos, 2, fullWidthMark) == 0)
                return IntText(static_cast<long long>(n) + 1) +
                       sjis(" 行目の「＃」は全角です。解答欄には半角の「#」を使います");
        }
    }
    return {};
}

}  // namespace sulkan
