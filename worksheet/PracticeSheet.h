// The practice sheet of a unit's answer kanji: per distinct kanji a row with the character large
// in the stroke-order face, twice in light grey to trace, then empty squares with cross guides,
// on the worksheet's paper under its title.
#pragma once

#include <string>
#include <vector>

#include "Canvas.h"

namespace sulkan {

// The distinct kanji of the answers (CP932), in the order they first appear; every alternative
// (";") counts, kana, digits and symbols are left out.
std::vector<std::string> PracticeKanji(const std::vector<std::string>& answers);

struct PracticeSquare {
    int left = 0, top = 0, side = 0;
    friend bool operator==(const PracticeSquare&, const PracticeSquare&) = default;
};

// Where everything stands on a page of paperWidth × paperHeight sheet units.
struct PracticeLayout {
    int paperWidth = 0, paperHeight = 0;
    int margin = 0;
    int titleTop = 0, titleHeight = 0;
    int squaresPerRow = 0;  // the model, two to trace, the rest empty
    int side = 0;           // of a square
    int rowPitch = 0;       // a row of squares and the line under it for a reading
    int firstRowTop = 0;
    int rowsPerPage = 0;

    int pages(int kanjiCount) const;
    // The squares of row `row` (0 at the top of the page), left to right.
    std::vector<PracticeSquare> squares(int row) const;
};

inline constexpr int kPracticeSquaresPerRow = 8;
inline constexpr int kPracticeTraceCount = 2;

PracticeLayout LayOutPractice(int paperWidth, int paperHeight);

// Draws page `page` (0-based) of the sheet. readings: beside kanji, the reading drawn small in
// the line under each row ("" or missing: nothing). face: the stroke-order face for the model
// characters (empty: the sheet's usual face); the traced copies, the readings and the title use
// the usual face. dotsPerInch: the canvas's, so that characters fill their squares on a screen or
// a printer.
void DrawPracticePage(Canvas& canvas, const PracticeLayout& layout, int page,
                      const std::vector<std::string>& kanji,
                      const std::vector<std::string>& readings, const std::string& title,
                      const std::string& face, double dotsPerInch = 96);

inline constexpr Rgb kTraceGrey{200, 200, 200};
inline constexpr Rgb kGuideGrey{170, 170, 170};

}  // namespace sulkan
