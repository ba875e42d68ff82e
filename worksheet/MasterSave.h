// Overwriting a master unit: the worksheet's current layout and figure positions written back into
// its unit of the question file, with every byte of the file outside that unit kept as it was.
#pragma once

#include <optional>
#include <string>

#include "Prompter.h"
#include "Result.h"
#include "Worksheet.h"

namespace sulkan {

// The question file's bytes with the worksheet's unit rewritten in place (the full editor order):
// "<<value", "<<font" and "<<kran" from its parameters, "<<graph" and "<<AGraph" from its figure
// lists; questions, choices, distractors, hints and the soft keyboard stay as the file has them.
// A file without the unit gets it appended, built from the worksheet. Line ends outside the unit
// are not normalised; a unit that would read the same is left as it stands. problem says why the
// unit cannot be written (UnitRewriteProblem, AppendProblem, UnwritableContent); bytes is then
// empty.
struct MasterBytes {
    std::string bytes;
    std::optional<Problem> problem;
};
MasterBytes MasterFileBytes(const std::string& fileBytes, const Worksheet& worksheet);

enum class MasterSaveStatus {
    Saved,
    NotMaster,  // no longer an unchanged master: it may only be saved as a copy
    Failed,     // the user has been told which file; the worksheet stays modified
};

// Rewrites the worksheet's unit in its question file and saves the file atomically. Clears the
// modified flag only when the file was written; a refused rewrite is told and counts as Failed.
MasterSaveStatus OverwriteMaster(Worksheet& worksheet, Prompter& prompter);

}  // namespace sulkan
