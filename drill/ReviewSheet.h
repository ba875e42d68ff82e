// A review worksheet of what the class (or one learner) got wrong: the question lines of the
// chosen units whose blanks fall below a correct rate, as a worksheet to print or save.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "QuestionResults.h"
#include "Worksheet.h"

namespace sulkan {

// The rate a question must fall below to go on the sheet, unless the teacher chooses another.
inline constexpr int kDefaultReviewPercent = 70;

struct ReviewSource {
    std::size_t unit = 0;  // into LessonResults::units
    int similar = 0;
    int line = 0;        // index into that unit's (or similar problem's) question lines
    int lowestRate = 0;  // percent, of the line's blanks that were counted
};

struct ReviewSheet {
    std::string title;                       // "復習：" + what it covers (CP932)
    std::vector<std::string> questionLines;  // each line's own bytes, every blank of it kept
    std::vector<ReviewSource> sources;       // one per question line
    std::size_t leftOut = 0;                 // lines beyond what one sheet holds
    std::size_t unitsUsed = 0;               // units that gave a line
    // The layout blocks of the first unit that gave a line.
    std::vector<std::string> value, font, kran;
};

// The lines of the chosen units (indices into results.units, in any order) with a blank whose
// rate is below belowPercent, in outline order, each unit's lines before its similar problems'.
// A sheet holds kMaxQuestionLines: past that the lines with the lowest rates are kept, still in
// that order. learner (CP932) names whose results these are; empty for the class.
// Title: "復習：" [+ learner + "　"] + the first unit's title [+ "ほか" + n + "単元"].
ReviewSheet ComposeReviewSheet(const LessonResults& results, const std::vector<std::size_t>& units,
                               int belowPercent, const std::string& learner = {});

// The sheet as a new worksheet of the lesson, kept as a copy file not yet saved is: not a master
// (it can only be saved as a copy file, and edits no unit), modified until saved, the first unit's
// layout over the fallback one, no figures (they were placed for their own units).
Worksheet ReviewWorksheet(const ReviewSheet& sheet, int lesson);

}  // namespace sulkan
