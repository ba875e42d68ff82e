// Copy files: a composed worksheet saved on its own, and the save-as dialog loop around it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CourseTree.h"
#include "Prompter.h"
#include "Result.h"
#include "Worksheet.h"

namespace sulkan {

// The lines of a copy file of the worksheet, in the order of the format: "[[unitX", the header
// block, questions, the empty "<<ans", figures when there are any, the layout blocks, the answer
// choices, "]]".
std::vector<std::string> CopyFileLines(const Worksheet& worksheet);

// Saves the worksheet as a copy file. Without a target path the name is asked for with the save
// dialog opened in initialFolder (looping on an invalid extension; a name without one gets
// ".skn"), and an existing file is overwritten only after the user agreed. On success the
// worksheet's file path becomes the path, it counts as a copy and is no longer modified; on
// failure the user is told and the worksheet keeps its path and stays modified. A worksheet with a
// line the file could not give back as it is (a line ">>", a line break inside a line, a first
// question line "{", more than 60 question lines) is refused before any dialog. The path written
// (CP932); nothing when the file was not saved: the user cancelled, or was told why.
std::optional<std::string> SaveWorksheetAsCopy(Worksheet& worksheet,
                                               const std::optional<std::string>& targetPath,
                                               const std::string& initialFolder,
                                               Prompter& prompter);

// Where the copy files of a lesson live, for the save dialog and the copy-file list alike: the
// lesson's folder, the one folder a course is sure to have. Lesson 1's for a worksheet without a
// lesson.
std::string CopyFileFolder(const std::string& programFolder, const CourseTables& tables,
                           int lesson);

// The path a chosen copy-file name stands for: as given when its file name ends in ".skn" (any
// case), with ".skn" appended when it has no extension; nullopt for any other extension.
std::optional<std::string> CopyFilePathOf(const std::string& chosen);
// Why a name chosen in the save dialog (a system path) cannot be a copy file's name: a file name
// that would lead into another folder once the program builds paths with it (on Linux a "\" in
// it). The failure's message is CP932.
Result<> CopyFileNameProblem(const std::string& chosen);
// chosen + ":拡張子が不正です", CP932.
std::string InvalidExtensionMessage(const std::string& chosen);

}  // namespace sulkan
