// Copy files: a composed worksheet saved on its own, and the save-as dialog loop around it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Prompter.h"
#include "Worksheet.h"

namespace sulkan {

// The lines of a copy file of the worksheet, in the order of the format: "[[unitX", the header
// block, questions, the empty "<<ans", figures when there are any, the layout blocks, the answer
// choices, "]]".
std::vector<std::string> CopyFileLines(const Worksheet& worksheet);

struct CopySaveResult {
    bool saved = false;
    std::string path;  // CP932, the file written
};

// Saves the worksheet as a copy file. Without a target path the name is asked for with the save
// dialog opened in initialFolder (looping on an invalid extension; a name without one gets
// ".skn"), and an existing file is overwritten only after the user agreed. On success the
// worksheet's file path becomes the path, it counts as a copy and is no longer modified; on
// failure the user is told and the worksheet keeps its path and stays modified.
CopySaveResult SaveWorksheetAsCopy(Worksheet& worksheet,
                                   const std::optional<std::string>& targetPath,
                                   const std::string& initialFolder, Prompter& prompter);

}  // namespace sulkan
