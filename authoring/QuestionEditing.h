// What the question editor does to a unit, without a window: its fields loaded from the question
// file, the answers extracted, the choice list rebuilt, markup and numbering, figures added, and
// the unit written back into the file's bytes. Texts are CP932 lines without line ends.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "QuestionFile.h"
#include "SheetState.h"

namespace sulkan {

// The editor's fields: the unit's question blocks as read (ques, dummy, kgroup, hint, graph,
// agraph); the layout blocks as one text with their tags and ">>" (pasteLo), and the soft
// keyboard as its one line, as the editor shows them.
struct QuestionFields {
    UnitBlocks blocks;  // no layout, soft-keyboard or copy-file blocks
    std::vector<std::string> pasteLo;
    std::string softKeyB;

    friend bool operator==(const QuestionFields&, const QuestionFields&) = default;
};

// The fields a unit new to its file starts with: two question lines and the default layout.
QuestionFields NewUnitFields();

// The unit of headerLine read into the fields (blocks in any order, the last "<<SoftKeyB" line
// wins); NewUnitFields when the file has no such unit. found tells which.
struct LoadedFields {
    QuestionFields fields;
    bool found = false;
    std::vector<std::string> unitLines;  // the unit as the file has it, header through "]]"
};
LoadedFields LoadUnitFields(const std::vector<std::string>& fileLines,
                            const std::string& headerLine);

// The answers of checked question lines, in order, each without blanks at its ends.
std::vector<std::string> ExtractAnswers(const std::vector<std::string>& ques);

// The choice list from the answers: every alternative a line, all but the last of an answer with
// one blank appended. excludeDigits drops lines under two bytes and lines of full-width digits
// only; excludeSymbols drops lines that are one of the choice letters ("ア", "Ａ" ...).
std::vector<std::string> RebuildChoices(const std::vector<std::string>& answers, bool excludeDigits,
                                        bool excludeSymbols);

// Appends each non-empty distractor that is not a choice line yet.
void MergeDistractors(std::vector<std::string>& kgroup, const std::vector<std::string>& dummy);

struct ChoiceCounts {
    int lines = 0;
    int characters = 0;  // per line its bytes halved, rounded down
};
ChoiceCounts CountChoices(const std::vector<std::string>& kgroup);

enum class Markup { Answer, Underline, Bold, Italic, UnderlineBold };
struct MarkupTags {
    std::string prefix, suffix;
};
MarkupTags TagsOf(Markup markup);

// "（n）" with n in ASCII digits, CP932.
std::string QuestionNumberPrefix(int n);
// Every line after the first gets the next number in front; lines already numbered get another.
std::vector<std::string> NumberQuestionLines(std::vector<std::string> ques);

inline constexpr std::size_t kMaxEditorFigures = 15;
inline constexpr int kFigureShiftX = 40;
inline constexpr int kFigureShiftY = 20;

// Appends a figure triple per name (file name, left, top) beside the text piece it belongs to:
// piece k + 1 for a question figure, piece k for an answer figure, k being the figures the list
// has (pieces count from 1; one never drawn counts as 0, 0). Names beyond the limit are skipped;
// returns how many were.
int AddFigures(std::vector<std::string>& triples, const std::vector<std::string>& names,
               const std::vector<TextPieceStart>& pieces, bool answerFigures);
// "グラフは15個までです", CP932.
std::string FigureLimitText();

// The layout blocks of the field must have the line counts the readers take.
Result<> CheckLayoutText(const std::vector<std::string>& pasteLo);

// A question line with a full-width "＃" and no "#": an input method in kana mode types the
// answer marks full-width, and such a line shows no answer blank. The notice names the line
// (1-based); empty when there is none. Not an error: "＃" may be meant as a sharp sign.
std::string FullWidthMarkNotice(const std::vector<std::string>& ques);

// The fields as the blocks of a unit.
UnitBlocks BlocksOf(const QuestionFields& fields);

// The unit is written into the file's bytes by SpliceUnit (courseware), always in the editor's
// full order: OK is how a teacher tidies a unit.

}  // namespace sulkan
