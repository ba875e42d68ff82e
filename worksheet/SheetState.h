// Drawing state shared by every worksheet window: the blanks of the sheet drawn last and the
// flags that switch drawing and blank recording on and off.
#pragma once

#include <string>
#include <vector>

namespace sulkan {

// The drill takes at most this many blanks; a sheet draws any number.
inline constexpr int kMaxBlanks = 80;

// The values of BlankRecord::BlankStatus.
namespace blank_status {
inline constexpr int kOpen = 99;  // not graded yet
inline constexpr int kCorrect = 1;
inline constexpr int kWrong = 0;
inline constexpr int kNotGraded = -1;          // box hidden, or the answer was just shown
inline constexpr int kCorrectAfterShown = -2;  // right, but only after seeing the answer
}  // namespace blank_status

struct BlankRecord {
    int BlankStatus = blank_status::kOpen;
    int left = 0, top = 0;   // sheet units: where the answer begins, and its line's y
    int width = 0;           // sheet units taken by the first alternative at the question size
    std::string AnswerText;  // the whole answer between the "#" pair
    std::string shownText;   // its first alternative
    double size = 0;         // text size current when recorded
    bool AnswerShown = false;
    std::vector<std::string> Alternatives;
};

// Slots 1..BlankCount are the blanks of the last drawn sheet (slot 0 unused). There are always
// at least kMaxBlanks + 1 slots; a sheet with more blanks gets more.
struct BlankTable {
    std::vector<BlankRecord> slots = std::vector<BlankRecord>(kMaxBlanks + 1);
    int BlankCount = 0;
};

// The drill refuses a sheet with more blanks than it can take.
inline bool ExceedsDrillBlanks(const BlankTable& table) {
    return table.BlankCount > kMaxBlanks;
}

// Where a text piece (question text or answer) began on the sheet, sheet units.
struct TextPieceStart {
    int left = 0, top = 0;
    friend bool operator==(const TextPieceStart&, const TextPieceStart&) = default;
};

struct SheetShared {
    BlankTable blanks;
    int runningSizeOffset = 0;    // size tags "+" and "-" build on it from call to call
    bool redrawEnabled = true;    // off while a worksheet's values are copied into the controls
    bool blankRecording = true;   // off from the print dialog until the next activation
    bool drillDrawing = false;    // on while the drill draws or prints its sheet
    int AnswerFontSize = 0;       // of the worksheet read or activated last
    int lastSectionRead = 0;      // for the title of added units
    bool lastReadOpened = false;  // the last read opened a worksheet
    // Off while a print job or a close query runs: activating a window then does not copy its
    // values into the controls.
    bool activationFillEnabled = true;
    // Off while the layout settings dialog fills its fields; a style button that gets the focus
    // then does nothing.
    bool layoutDialogReady = true;
    // Every text piece of the last screen pass of a worksheet, in drawing order: the question
    // editor places new figures beside them.
    std::vector<TextPieceStart> textPieceStarts;
};

// Holds one of the shared flags at a value for the life of a scope, then puts back what it was
// (so nested holds of the same flag end as they began).
class ScopedFlag {
public:
    ScopedFlag(bool& flag, bool value) : m_flag(flag), m_was(flag) { flag = value; }
    ~ScopedFlag() { m_flag = m_was; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& m_flag;
    bool m_was;
};

}  // namespace sulkan
