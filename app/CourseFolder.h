// Which course the program opens at start-up: the folder named or the working folder, the course
// used last time, or the user's copy of the installed sample course; failing those, the user
// picks a folder.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "Prompter.h"
#include "Result.h"

namespace sulkan {

// The places looked at, CP932 paths with a trailing separator (empty when there is none).
struct CourseFolderPlaces {
    std::string working;          // the working folder, or the folder named on the command line
    bool named = false;           // the folder was named: nothing else is tried before asking
    std::string remembered;       // the course opened last time
    std::string installedSample;  // the read-only sample course installed with the program
    std::string userSample;       // the user's writable copy of it, made on first use
};

// The folder dialog, opened in initialFolder: the chosen folder (CP932), or nothing on Cancel.
using ChooseFolderFunction = std::function<std::optional<std::string>(const std::string&)>;

// The course folder to run in, with a trailing separator; nothing when the user cancelled the
// folder dialog and the program ends. In this order: the working (or named) folder when it holds
// "Main.ind"; unless a folder was named, the remembered course, else the user's copy of the
// sample (copied from the installed one when missing). Whenever none of these applies the
// file-missing message names the "Main.ind" that was looked for and the dialog is offered, again
// after each choice without "Main.ind".
std::optional<std::string> FindCourseFolder(const CourseFolderPlaces& places, Prompter& prompter,
                                            const ChooseFolderFunction& chooseFolder);

// The course folder a command-line mode works on: the folder given with --course (UTF-8), or the
// working folder when none was; CP932 with a trailing separator. Nothing when the name holds a
// character CP932 cannot, which the caller reports as "フォルダ名に扱えない文字があります".
std::optional<std::string> CommandCourseFolder(const std::string& givenUtf8);

// Copies the course in `from` to the folder `to` (missing or empty), every file and folder
// writable by the user. The copy is made beside `to` and renamed into place, so an interrupted
// copy never leaves half a course behind. The failure names both folders and the reason.
Result<> CopyCourseFolder(const std::string& from, const std::string& to);

}  // namespace sulkan
