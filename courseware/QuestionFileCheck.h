// The checks a unit must pass before the editor saves it: answer marks in the question lines,
// then the line counts of the layout blocks. Messages are CP932 texts for the user.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "QuestionFile.h"

namespace sulkan {

struct QuestionProblem {
    std::string message;
    // 0-based index of the offending question line; none when the unit as a whole is at fault.
    std::optional<std::size_t> line;
};

// Each line in turn: an even number of "#", and no empty piece between its first and last "#".
// Then the unit as a whole must have at least one "#". Lines are numbered from 1 in messages.
std::optional<QuestionProblem> CheckQuestionLines(const std::vector<std::string>& ques);

// Line counts of the layout blocks: "<<value" 7, "<<font" 7, "<<kran" 10 or 8. A block without
// lines is absent (the writer leaves it out) and passes.
Result<> CheckLayoutBlocks(const UnitBlocks& blocks);

// The editor's full check in its order: question lines, then layout blocks.
Result<> ValidateUnit(const UnitBlocks& blocks);

// Answer blanks of the question lines (pairs of "#").
int BlankCountOf(const std::vector<std::string>& ques);

// Byte offset of the first character of line that is not CP932 (a byte with no code of its own,
// or a lead byte whose pair has no character), and its bytes; none when the line is all CP932.
struct NonCp932Char {
    std::size_t offset = 0;
    std::string bytes;
};
std::optional<NonCp932Char> FirstNonCp932Char(const std::string& line);

}  // namespace sulkan
