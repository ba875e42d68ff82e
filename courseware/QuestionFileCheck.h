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
std::optional<std::string> CheckLayoutBlocks(const UnitBlocks& blocks);

// The editor's full check in its order: question lines, then layout blocks.
std::optional<std::string> ValidateUnit(const UnitBlocks& blocks);

}  // namespace sulkan
