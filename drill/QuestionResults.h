// How a class did on each question: the blanks of a unit as it stands now, the share of learners
// who got each one right from their record lines, the units' questions ranked by that share, the
// lesson's most-missed questions and their CSV. Plain logic over CP932 lines; nothing is written.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "RecordStore.h"

namespace sulkan {

// The unit itself and its similar problems R1..R5.
inline constexpr int kQuestionVariants = 6;

// One blank of a question sheet, in the order the sheet draws and the drill grades them.
struct QuestionBlank {
    int blank = 0;         // 1, 2, ... over the whole sheet
    int line = 0;          // index of its question line
    int inLine = 0;        // 0 for the first blank of its line, 1 for the next, ...
    std::string answer;    // the text between its "#" marks, alternatives included (CP932)
    std::string question;  // the whole question line (CP932)
};
// Every "#" pair of every line is a blank; an unpaired last "#" is text.
std::vector<QuestionBlank> BlanksOf(const std::vector<std::string>& questionLines);

// A question line for reading on screen: style tags ("<" and two more characters ending in ">")
// left out, each blank as its first alternative in "（）", and blank inLine of the line in "【】".
// With the answers hidden (what a screen reader reads during a drill) every blank is "（　）"
// and blank inLine "【　】"; inLine -1 marks none.
enum class BlankAnswers { Shown, Hidden };
std::string QuestionText(const std::string& line, int inLine,
                         BlankAnswers answers = BlankAnswers::Shown);

// The questions of a unit as its question file holds them now: the question lines of the unit
// and of each similar problem it has ("[[unit<u>R<n>"), and the unit's layout blocks.
struct UnitQuestions {
    std::array<std::optional<std::vector<std::string>>, kQuestionVariants> lines;
    std::vector<std::string> value, font, kran;  // of the unit itself
};
// A unit (or similar problem) that is missing or does not read stays empty.
UnitQuestions QuestionsOfUnit(const std::vector<std::string>& questionFileLines, int unit);

// A record line that read as the drill writes it and whose result agrees with its marks: one
// mark per blank, and as many "O" as it says were right. Only such lines are counted.
bool SoundRecord(const RecordEntry& entry);

// Which runs of a learner count: the first graded run of each learner (of the unit itself and of
// each similar problem apart), or every run.
enum class RunsCounted { First, All };

struct BlankResult {
    int similar = 0;  // 0 the unit itself, n its similar problem Rn
    QuestionBlank blank;
    int counted = 0;  // learners (first runs) or runs that graded it
    int correct = 0;  // of them, right at the first try ("O"); "X" was right only after seeing it
    std::vector<std::string>
        missedBy;  // learners (CP932) who missed it in a counted run, once each

    int missed() const { return counted - correct; }
};
// The correct rate in percent, rounded half to even; -1 when nobody was counted.
int RatePercent(const BlankResult& result);
// Whether some run counted and the rate is below percent (exactly, not after rounding).
bool RateBelow(const BlankResult& result, int percent);

// One unit's figures. A line whose marks do not fit the unit as it is now (a different number of
// blanks, a similar problem the unit no longer has: "記録と問題が合いません") is left out and
// counted in mismatched; a line that does not read as the drill writes it, or whose result
// disagrees with its marks, is skipped and counted in damaged. Left-out lines never count as a
// learner's first run.
struct UnitResults {
    LessonUnit unit;
    UnitQuestions questions;
    std::vector<BlankResult> blanks;  // the unit's blanks, then R1's, ...; blank order in each
    int learners = 0;                 // learners with at least one counted run
    int mismatched = 0;
    int damaged = 0;
};
UnitResults ResultsOfUnit(const LessonUnit& unit, UnitQuestions questions,
                          const std::vector<LearnerFile>& files, RunsCounted runs);

struct LessonResults {
    std::vector<UnitResults> units;  // in outline order
    int mismatched = 0;
    int damaged = 0;
};
// The lines of each section's question file (paths CP932, section 1 first); an empty path or a
// file that cannot be read gives nullopt.
std::vector<std::optional<std::vector<std::string>>> ReadSectionFiles(
    const std::vector<std::string>& paths);
// sectionFiles[s - 1]: the lines of section s's question file (nullopt: missing or unreadable,
// so its units have no questions and every record line of them is left out).
// afterUnit, when given, is called after each unit is worked out; false stops there, leaving
// the units so far.
LessonResults ResultsOfLesson(
    const LessonOutline& outline,
    const std::vector<std::optional<std::vector<std::string>>>& sectionFiles,
    const std::vector<LearnerFile>& files, RunsCounted runs,
    const std::function<bool(const LessonUnit&)>& afterUnit = {});

// The unit's blanks, lowest rate first (then the most learners who missed it, then sheet order);
// blanks nobody was counted for come last, in sheet order. Indices into results.blanks.
std::vector<std::size_t> RankedBlanks(const UnitResults& results);

struct BlankPlace {
    std::size_t unit = 0;   // into LessonResults::units
    std::size_t blank = 0;  // into UnitResults::blanks
};
// The lesson's blanks that somebody missed, ranked as RankedBlanks ranks them (then outline
// order), at most limit of them.
std::vector<BlankPlace> MostMissed(const LessonResults& results, std::size_t limit = 20);

// Header lesson,section,unit,similar,blank,answer,question,learners,correct,rate; one row per
// blank, unit by unit in outline order, each unit's blanks ranked. rate is the percentage, empty
// when nobody was counted; learners counts runs when every run counts. UTF-8 with BOM, CR LF,
// text fields as CsvField writes them.
std::string QuestionsCsv(int lesson, const LessonResults& results);

// "記録と問題が合いません" (CP932).
const std::string& RecordsDoNotFitMessage();

}  // namespace sulkan
