// "sulkan check": reads a course the way the program does and reports every unit, so that
// teachers who edit courseware with a text editor can find their mistakes.
#pragma once

#include <string>
#include <vector>

namespace sulkan {

struct CourseCheckReport {
    std::vector<std::string> lines;  // UTF-8, one per unit or problem, then the summary
    int units = 0;
    int problems = 0;
    int exitCode = 0;  // 0 clean, 1 problems found, 2 no course index
};

// programFolder: CP932, with a trailing separator.
CourseCheckReport CheckCourse(const std::string& programFolder);

// The usage text of "sulkan check" (UTF-8).
const char* CheckUsage();

// Command-line entry: args are the arguments after "check". Writes the report to standard
// output (errors to standard error) and returns the exit status.
int RunCheckCommand(const std::vector<std::string>& args);

}  // namespace sulkan
