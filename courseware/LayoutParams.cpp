#include "LayoutParams.h"

#include <algorithm>
#include <string_view>

#include "QuestionFileTags.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

constexpr std::size_t kValueLength = 7;
constexpr std::size_t kFontLength = 7;
constexpr std::size_t kKranLength = 10;

constexpr int kA4Width = 630;
constexpr int kAllSheetOptions = 7;
constexpr int kMaxSheetOptions = 15;

bool IsTrueFalse(std::string_view line) {
    return line == "True" || line == "False";
}

// Reads line index of block into field when the block has that line.
template <typename Field, typename Read>
void Take(const std::vector<std::string>& block, std::size_t index, Field& field, Read read) {
    if (index < block.size()) field = read(block[index]);
}

int Number(const std::string& line) {
    return ReadNumber(line);
}
bool Flag(const std::string& line) {
    return line == "True";
}

void ReadValue(const std::vector<std::string>& v, LayoutParams& p) {
    // Older files hold "True"/"False" where the paper width and the sheet options now stand.
    Take(v, 0, p.PaperWidth,
         [](const std::string& l) { return IsTrueFalse(l) ? kA4Width : ReadNumber(l); });
    Take(v, 1, p.ShowAnswers, Flag);
    Take(v, 2, p.LineSpacing, Number);
    Take(v, 3, p.LeftMargin, Number);
    Take(v, 4, p.RightMargin, Number);
    Take(v, 5, p.StartNumber, Number);
    Take(v, 6, p.SheetOptions, [](const std::string& l) {
        if (IsTrueFalse(l)) return kAllSheetOptions;
        // A bit set of three options: a negative number would switch on arbitrary bits.
        return std::clamp(ReadNumber(l), 0, kMaxSheetOptions);
    });
}

void ReadFont(const std::vector<std::string>& f, LayoutParams& p) {
    Take(f, 0, p.FontSize, Number);
    Take(f, 1, p.FontName, [](const std::string& l) { return l; });
    Take(f, 2, p.FontBold, Flag);
    Take(f, 3, p.FontItalic, Flag);
    Take(f, 4, p.FontUnderline, Flag);
    Take(f, 5, p.FontStrikeOut, Flag);
    Take(f, 6, p.AnswerFontSize, Number);
}

void ReadKran(std::vector<std::string> k, LayoutParams& p) {
    if (k.size() < kKranLength) k.resize(kKranLength, "0");
    p.BoxStyle = ReadNumber(k[0]);
    p.BoxWidth = ReadNumber(k[1]);
    p.BoxHeight = ReadNumber(k[2]);
    p.ColumnMode = ReadNumber(k[3]);
    p.AnswerOffsetX = ReadNumber(k[4]);
    p.AnswerOffsetY = ReadNumber(k[5]);
    p.BoxOffsetX = ReadNumber(k[6]);
    p.BoxOffsetY = ReadNumber(k[7]);
    p.SubLineSpacing = ReadNumber(k[8]);
    p.KranSpare = k[9];
}

void AppendBlock(std::vector<std::string>& out, std::string_view tag,
                 const std::vector<std::string>& content) {
    out.emplace_back(tag);
    out.insert(out.end(), content.begin(), content.end());
    out.emplace_back(tags::kBlockEnd);
}

}  // namespace

const std::string& DefaultAnswerFontName() {
    static const std::string name = sjis("MS 明朝");
    return name;
}

std::vector<std::string> DefaultLayoutLines() {
    return LayoutLines(LayoutParams{});
}

std::vector<std::string> FallbackKranLines() {
    return {"2", "10", "4", "0", "0", "0", "15", "10", "0", "0"};
}

LayoutParams WorksheetFallbackLayout() {
    LayoutParams p;
    p.PaperWidth = kA4Width;
    p.ShowAnswers = false;
    p.LineSpacing = 30;
    p.LeftMargin = 5;
    p.RightMargin = 5;
    p.StartNumber = 1;
    p.SheetOptions = kAllSheetOptions;
    p.FontSize = 14;
    p.FontName = "Bookman Old Style";
    ReadKran(FallbackKranLines(), p);
    return p;
}

LayoutParams ReadLayout(const std::vector<std::string>& value, const std::vector<std::string>& font,
                        const std::vector<std::string>& kran, const LayoutParams& base) {
    LayoutParams p = base;
    ReadValue(value, p);
    ReadFont(font, p);
    if (!kran.empty()) ReadKran(kran, p);
    return p;
}

std::vector<std::string> ValueLines(const LayoutParams& p) {
    return {IntText(p.PaperWidth),  BoolText(p.ShowAnswers), IntText(p.LineSpacing),
            IntText(p.LeftMargin),  IntText(p.RightMargin),  IntText(p.StartNumber),
            IntText(p.SheetOptions)};
}

std::vector<std::string> FontLines(const LayoutParams& p) {
    return {IntText(p.FontSize),       p.FontName,
            BoolText(p.FontBold),      BoolText(p.FontItalic),
            BoolText(p.FontUnderline), BoolText(p.FontStrikeOut),
            IntText(p.AnswerFontSize)};
}

std::vector<std::string> KranLines(const LayoutParams& p) {
    return {IntText(p.BoxStyle),       IntText(p.BoxWidth),
            IntText(p.BoxHeight),      IntText(p.ColumnMode),
            IntText(p.AnswerOffsetX),  IntText(p.AnswerOffsetY),
            IntText(p.BoxOffsetX),     IntText(p.BoxOffsetY),
            IntText(p.SubLineSpacing), p.KranSpare};
}

std::vector<std::string> LayoutLines(const LayoutParams& p) {
    std::vector<std::string> out;
    out.reserve(kValueLength + kFontLength + kKranLength + 6);
    AppendBlock(out, tags::kValue, ValueLines(p));
    AppendBlock(out, tags::kFont, FontLines(p));
    AppendBlock(out, tags::kKran, KranLines(p));
    return out;
}

int EffectiveAnswerFontSize(const LayoutParams& p) {
    return p.AnswerFontSize <= 0 ? p.FontSize + 4 : p.AnswerFontSize;
}

}  // namespace sulkan
