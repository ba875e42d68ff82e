#include "LayoutParams.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>

#include "QuestionFileTags.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

using Lines = std::vector<std::string>;

constexpr std::size_t kValueLength = 7;
constexpr std::size_t kFontLength = 7;
constexpr std::size_t kKranLength = 10;

constexpr int kA4Width = 630;
constexpr int kMaxSheetOptions = 15;
constexpr int kAnswerSizeGap = 4;  // answers at the question size + 4 unless set

bool IsTrueFalse(std::string_view line) {
    return line == "True" || line == "False";
}

bool Flag(const std::string& line) {
    return line == "True";
}

// Optional sign, then digits only: what the readers take as a number.
bool IsNumberText(std::string_view text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number as written, saturated far beyond every range (so "99999999999" is large, not 0);
// 0 for a line that is not a number.
long long WideNumber(std::string_view text) {
    if (!IsNumberText(text)) return 0;
    const bool negative = text[0] == '-';
    if (text[0] == '+' || text[0] == '-') text.remove_prefix(1);
    constexpr long long kSaturation = 1'000'000'000'000LL;
    long long value = 0;
    for (char c : text) value = std::min(kSaturation, value * 10 + (c - '0'));
    return negative ? -value : value;
}

// How one number line of a layout block is read.
struct NumberRule {
    int low, high;
    std::optional<int> oldFlag;  // what "True"/"False" read as, where older files hold them
    // What any other line that is not a number reads as; without it, 0 (then clamped).
    std::optional<int> notNumber = std::nullopt;
};

// A paper width that is not a number would otherwise read as 0 and be clamped to the narrowest
// sheet (33 mm): A4 is what the teacher most likely had.
constexpr NumberRule kPaperRule{kMinPaperWidth, kMaxPaperWidth, kA4Width, kA4Width};
constexpr NumberRule kOptionsRule{0, kMaxSheetOptions, sheet_options::kAll};
constexpr NumberRule kExtentRule{-kMaxExtent, kMaxExtent, std::nullopt};
constexpr NumberRule kPointsRule{kMinPoints, kMaxPoints, std::nullopt};
// 0 or less means "question size + 4", so the low end stays open.
constexpr NumberRule kAnswerPointsRule{-kMaxExtent, kMaxPoints, std::nullopt};

int ReadWith(const NumberRule& rule, const std::string& line) {
    if (rule.oldFlag && IsTrueFalse(line)) return *rule.oldFlag;
    if (rule.notNumber && !IsNumberText(line)) return *rule.notNumber;
    return static_cast<int>(std::clamp<long long>(WideNumber(line), rule.low, rule.high));
}

// The rule of each line of a block; none for lines that are not numbers (flags, names).
using BlockRules = std::vector<std::optional<NumberRule>>;

const BlockRules& ValueRules() {
    static const BlockRules rules{kPaperRule,  std::nullopt, kExtentRule, kExtentRule,
                                  kExtentRule, kExtentRule,  kOptionsRule};
    return rules;
}

const BlockRules& FontRules() {
    static const BlockRules rules{kPointsRule,  std::nullopt, std::nullopt,     std::nullopt,
                                  std::nullopt, std::nullopt, kAnswerPointsRule};
    return rules;
}

const BlockRules& KranRules() {
    static const BlockRules rules = [] {
        BlockRules r(kKranLength - 1, kExtentRule);
        r.push_back(std::nullopt);  // KranSpare is not interpreted
        return r;
    }();
    return rules;
}

// Reads line index of block into field when the block has that line.
template <typename Field, typename Read>
void Take(const Lines& block, std::size_t index, Field& field, Read read) {
    if (index < block.size()) field = read(block[index]);
}

void TakeNumber(const Lines& block, std::size_t index, int& field, const BlockRules& rules) {
    Take(block, index, field, [&](const std::string& l) { return ReadWith(*rules[index], l); });
}

void ReadValue(const Lines& v, LayoutParams& p) {
    const BlockRules& r = ValueRules();
    TakeNumber(v, 0, p.PaperWidth, r);
    Take(v, 1, p.ShowAnswers, Flag);
    TakeNumber(v, 2, p.LineSpacing, r);
    TakeNumber(v, 3, p.LeftMargin, r);
    TakeNumber(v, 4, p.RightMargin, r);
    TakeNumber(v, 5, p.StartNumber, r);
    TakeNumber(v, 6, p.SheetOptions, r);
}

void ReadFont(const Lines& f, LayoutParams& p) {
    const BlockRules& r = FontRules();
    TakeNumber(f, 0, p.FontSize, r);
    Take(f, 1, p.FontName, [](const std::string& l) { return l; });
    Take(f, 2, p.FontBold, Flag);
    Take(f, 3, p.FontItalic, Flag);
    Take(f, 4, p.FontUnderline, Flag);
    Take(f, 5, p.FontStrikeOut, Flag);
    TakeNumber(f, 6, p.AnswerFontSize, r);
}

void ReadKran(Lines k, LayoutParams& p) {
    if (k.size() < kKranLength) k.resize(kKranLength, "0");
    const BlockRules& r = KranRules();
    int* const fields[] = {&p.BoxStyle,   &p.BoxWidth,      &p.BoxHeight,
                           &p.ColumnMode, &p.AnswerOffsetX, &p.AnswerOffsetY,
                           &p.BoxOffsetX, &p.BoxOffsetY,    &p.SubLineSpacing};
    for (std::size_t i = 0; i < std::size(fields); ++i) TakeNumber(k, i, *fields[i], r);
    p.KranSpare = k[9];
}

void NoteProblems(std::string_view tag, const Lines& block, const BlockRules& rules,
                  Lines& problems) {
    for (std::size_t i = 0; i < block.size() && i < rules.size(); ++i) {
        if (!rules[i]) continue;
        const NumberRule& rule = *rules[i];
        const std::string& line = block[i];
        if (rule.oldFlag && IsTrueFalse(line)) continue;
        const long long written = WideNumber(line);
        const bool number = IsNumberText(line);
        if (number && written >= rule.low && written <= rule.high) continue;
        problems.push_back(std::string(tag) + sjis(" の") + IntText(static_cast<long long>(i) + 1) +
                           sjis("行目「") + line +
                           (number ? sjis("」は範囲外です（") : sjis("」は数値ではありません（")) +
                           IntText(ReadWith(rule, line)) + sjis(" として読みます）"));
    }
}

// The line a number field is written as: its line as read while that still reads as value.
std::string NumberLine(const Lines& read, std::size_t index, const BlockRules& rules, int value) {
    if (index < read.size() && ReadWith(*rules[index], read[index]) == value) return read[index];
    return IntText(value);
}

std::string FlagLine(const Lines& read, std::size_t index, bool value) {
    if (index < read.size() && Flag(read[index]) == value) return read[index];
    return BoolText(value);
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
    p.SheetOptions = sheet_options::kAll;
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
    if (!value.empty()) p.source.value = value;
    if (!font.empty()) p.source.font = font;
    if (!kran.empty()) p.source.kran = kran;
    return p;
}

std::vector<std::string> LayoutLineProblems(const std::vector<std::string>& value,
                                            const std::vector<std::string>& font,
                                            const std::vector<std::string>& kran) {
    Lines problems;
    NoteProblems(tags::kValue, value, ValueRules(), problems);
    NoteProblems(tags::kFont, font, FontRules(), problems);
    NoteProblems(tags::kKran, kran, KranRules(), problems);
    return problems;
}

std::vector<std::string> ValueLines(const LayoutParams& p) {
    const Lines& read = p.source.value;
    const BlockRules& r = ValueRules();
    return {NumberLine(read, 0, r, p.PaperWidth),  FlagLine(read, 1, p.ShowAnswers),
            NumberLine(read, 2, r, p.LineSpacing), NumberLine(read, 3, r, p.LeftMargin),
            NumberLine(read, 4, r, p.RightMargin), NumberLine(read, 5, r, p.StartNumber),
            NumberLine(read, 6, r, p.SheetOptions)};
}

std::vector<std::string> FontLines(const LayoutParams& p) {
    const Lines& read = p.source.font;
    const BlockRules& r = FontRules();
    std::string answerLine = NumberLine(read, 6, r, p.AnswerFontSize);
    // A worksheet resolves "0 or less" to the question size + 4 when it loads; while that still
    // holds, the line keeps saying so, and a later change of the question size still counts.
    LayoutParams derived = p;
    derived.AnswerFontSize = 0;
    if (read.size() > 6 && ReadWith(*r[6], read[6]) <= 0 &&
        p.AnswerFontSize == EffectiveAnswerFontSize(derived))
        answerLine = read[6];
    return {NumberLine(read, 0, r, p.FontSize),
            p.FontName,
            FlagLine(read, 2, p.FontBold),
            FlagLine(read, 3, p.FontItalic),
            FlagLine(read, 4, p.FontUnderline),
            FlagLine(read, 5, p.FontStrikeOut),
            answerLine};
}

std::vector<std::string> KranLines(const LayoutParams& p) {
    const Lines& read = p.source.kran;
    const BlockRules& r = KranRules();
    return {NumberLine(read, 0, r, p.BoxStyle),       NumberLine(read, 1, r, p.BoxWidth),
            NumberLine(read, 2, r, p.BoxHeight),      NumberLine(read, 3, r, p.ColumnMode),
            NumberLine(read, 4, r, p.AnswerOffsetX),  NumberLine(read, 5, r, p.AnswerOffsetY),
            NumberLine(read, 6, r, p.BoxOffsetX),     NumberLine(read, 7, r, p.BoxOffsetY),
            NumberLine(read, 8, r, p.SubLineSpacing), p.KranSpare};
}

std::vector<std::string> LayoutLines(const LayoutParams& p) {
    std::vector<std::string> out;
    out.reserve(kValueLength + kFontLength + kKranLength + 6);
    tags::AppendBlock(out, tags::kValue, ValueLines(p));
    tags::AppendBlock(out, tags::kFont, FontLines(p));
    tags::AppendBlock(out, tags::kKran, KranLines(p));
    return out;
}

int EffectiveAnswerFontSize(const LayoutParams& p) {
    if (p.AnswerFontSize > 0) return std::min(p.AnswerFontSize, kMaxPoints);
    const long long derived = static_cast<long long>(p.FontSize) + kAnswerSizeGap;
    return static_cast<int>(std::clamp<long long>(derived, kMinPoints, kMaxPoints));
}

}  // namespace sulkan
