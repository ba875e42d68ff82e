// Layout parameters of a unit or worksheet: the contents of the "<<value", "<<font" and "<<kran"
// blocks read into named fields and written back as block lines.
#pragma once

#include <string>
#include <vector>

namespace sulkan {

// The bits of SheetOptions: what the sheet's header carries.
namespace sheet_options {
inline constexpr int kClassFlag = 1;      // the class flag picture before the title
inline constexpr int kDateLine = 2;       // "実施日　　月　　日"
inline constexpr int kNumberAndDate = 4;  // sheet number, printing date and source file
inline constexpr int kAll = kClassFlag | kDateLine | kNumberAndDate;
}  // namespace sheet_options

// The answer font face of a new unit, "MS 明朝", as CP932 bytes.
const std::string& DefaultAnswerFontName();

// Ranges a number read from a layout block is clamped into, so that the layout's arithmetic
// stays far from overflow and the sheet image stays allocatable.
inline constexpr int kMinPoints = 1;
inline constexpr int kMaxPoints = 200;
inline constexpr int kMaxExtent = 100000;  // positions, widths, spacings: within ±kMaxExtent
inline constexpr int kMinPaperWidth = 100;
inline constexpr int kMaxPaperWidth = 2000;

// The block lines a layout was read from. A field that still reads the same from its line is
// written back as that line, so an unchanged layout keeps its bytes ("007", an old "True" paper
// line, a size beyond the range). Not part of the layout's value: it never makes two layouts
// differ.
struct LayoutSource {
    std::vector<std::string> value, font, kran;
    friend bool operator==(const LayoutSource&, const LayoutSource&) { return true; }
};

// Every field starts at the value a new unit gets.
struct LayoutParams {
    // "<<value"
    int PaperWidth = 630;  // sheet units: 546 B5, 630 A4, 771 B4, 891 A3
    bool ShowAnswers = false;
    int LineSpacing = 40;
    int LeftMargin = 5;   // steps of 10 sheet units
    int RightMargin = 5;  // steps of 10 sheet units
    int StartNumber = 1;
    int SheetOptions = sheet_options::kAll;  // bits of sheet_options
    // "<<font"
    int FontSize = 12;
    std::string FontName = DefaultAnswerFontName();  // CP932
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikeOut = false;
    int AnswerFontSize = 0;  // 0 or less: FontSize + 4, see EffectiveAnswerFontSize
    // "<<kran"
    int BoxStyle = 5;  // 0 none, 1 square, 2 ［］, 3 【】, 4 underline, 5 rounded square
    int BoxWidth = 15;
    int BoxHeight = 2;
    int ColumnMode = 0;  // 2: two columns
    int AnswerOffsetX = 0;
    int AnswerOffsetY = 0;
    int BoxOffsetX = 15;
    int BoxOffsetY = 10;
    int SubLineSpacing = 0;
    std::string KranSpare = "0";  // not interpreted; kept as written

    LayoutSource source;

    friend bool operator==(const LayoutParams&, const LayoutParams&) = default;
};

// The 30 lines of the three layout blocks of a new unit, tags and ">>" included.
std::vector<std::string> DefaultLayoutLines();

// The kran lines of a worksheet that has read no "<<kran" block.
std::vector<std::string> FallbackKranLines();

// The starting layout of a worksheet, kept by each block its unit lacks: A4, question text 14
// points, lines 30 apart, answer face "Bookman Old Style" (its pixel height is the window's),
// kran from FallbackKranLines().
LayoutParams WorksheetFallbackLayout();

// Reads the contents (without tag and ">>") of the three blocks over base. An empty block leaves
// its fields as in base; a block shorter than its length leaves its missing lines' fields as in
// base, except that "<<kran" is filled up to 10 lines with "0" as the readers do. Numbers are
// clamped: point sizes to kMinPoints..kMaxPoints (an answer size of 0 or less keeps its meaning),
// the paper width to kMinPaperWidth..kMaxPaperWidth, the sheet options to 0..15, the rest to
// ±kMaxExtent. A number line that is not a number reads as 0 (and is then clamped).
LayoutParams ReadLayout(const std::vector<std::string>& value, const std::vector<std::string>& font,
                        const std::vector<std::string>& kran, const LayoutParams& base = {});

// What reading the blocks changes: lines that are not numbers, numbers out of range. CP932, one
// message per line, naming the block and the line.
std::vector<std::string> LayoutLineProblems(const std::vector<std::string>& value,
                                            const std::vector<std::string>& font,
                                            const std::vector<std::string>& kran);

// Block contents written back: numbers in decimal, flags "True"/"False"; a field unchanged since
// it was read keeps its line as written (LayoutSource).
std::vector<std::string> ValueLines(const LayoutParams& params);  // 7 lines
std::vector<std::string> FontLines(const LayoutParams& params);   // 7 lines
std::vector<std::string> KranLines(const LayoutParams& params);   // 10 lines
// The three blocks with their tags and ">>" (30 lines).
std::vector<std::string> LayoutLines(const LayoutParams& params);

// The size answers are shown at: AnswerFontSize, or FontSize + 4 when that is 0 or less; never
// beyond kMaxPoints.
int EffectiveAnswerFontSize(const LayoutParams& params);

}  // namespace sulkan
