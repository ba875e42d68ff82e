#include "MessageBoard.h"

#include "Sjis.h"

namespace sulkan {
namespace {

constexpr Rgb kMessageBlue{0, 0, 255};

void Text(Canvas& canvas, double x, double y, const std::string& text, double points, Rgb colour) {
    FontSpec font;
    font.face = sjis("ＭＳ Ｐゴシック");
    font.points = points;
    canvas.setFont(font);
    canvas.setTextColour(colour);
    canvas.setTextBackground(std::nullopt);
    canvas.drawText(x, y, text);
}

}  // namespace

void ClearMessage(Canvas& canvas) {
    canvas.fillRect(0, 0, canvas.width(), canvas.height(), kWhite);
}

void DrawMessageLine(Canvas& canvas, int line, const std::string& text, double points, Rgb colour) {
    if (line == 0) ClearMessage(canvas);
    Text(canvas, 0, kMessageLinePitch * line, text, points, colour);
}

void DrawCourseText(Canvas& canvas) {
    DrawMessageLine(canvas, 0, sjis("　　　標準の学習コース"), 14, kMessageBlue);
    DrawMessageLine(canvas, 2, sjis("（１）［暗記］ボタンで答えを暗記する"), 10, kMessageBlue);
    DrawMessageLine(canvas, 3, sjis("（２）［練習］ボタンで練習する"), 10, kMessageBlue);
    DrawMessageLine(canvas, 4, sjis("（３）［復習］ボタンで間違ったところを復習する"), 8,
                    kMessageBlue);
    DrawMessageLine(canvas, 5, sjis("（４）［テスト］ボタンでもう一度テストする"), 10,
                    kMessageBlue);
}

bool HasHint(const std::vector<std::string>& hintLines) {
    return !hintLines.empty() && hintLines.front() != "Hint";
}

bool DrawHintText(Canvas& canvas, const std::vector<std::string>& hintLines) {
    if (!HasHint(hintLines)) return false;
    ClearMessage(canvas);
    Text(canvas, 0, 0, sjis("学習のポイント"), 20, kBlack);
    for (std::size_t k = 0; k < hintLines.size(); ++k)
        Text(canvas, 0, 30 + 20 * static_cast<double>(k), hintLines[k], 12, kBlack);
    return true;
}

}  // namespace sulkan
