// "sulkan --help", "sulkan --version" and "sulkan MODE --help": what the program says about its
// own command line, written before any window or display is needed.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace sulkan {

// The usage of every mode, window mode first, then check, export, print and records, with the
// exit status and the environment the program reads (UTF-8).
std::string ProgramUsage();

// The usage of one mode ("check", "export", "print", "records"); nothing for any other word.
std::optional<std::string> ModeUsage(const std::string& mode);

// args: every argument after the program name. When they ask for help or the version
// ("--help"/"-h" or "--version" alone, or "MODE --help"/"MODE -h") the text goes to out and the
// exit status (0) is returned; otherwise nothing, and the program starts as usual.
std::optional<int> RunInfoOption(const std::vector<std::string>& args, const std::string& version,
                                 std::ostream& out);

}  // namespace sulkan
