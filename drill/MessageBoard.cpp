#include "MessageBoard.h"

#include <algorithm>
#include <cmath>

#include "Sjis.h"

namespace sulkan {
namespace {

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

void ExtentCanvas::reach(double right, double bottom) {
    m_right = std::max(m_right, static_cast<int>(std::ceil(right)));
    m_bottom = std::max(m_bottom, static_cast<int>(std::ceil(bottom)));
}

double ExtentCanvas::drawText(double x, double y, const std::string& text) {
    const double advance = m_inner.drawText(x, y, text);
    if (!text.empty()) reach(x + advance, y + m_inner.textHeight());
    return advance;
}

void ExtentCanvas::setPen(const PenSpec& pen) {
    m_penWidth = std::max(1, pen.width);
    m_inner.setPen(pen);
}

void ExtentCanvas::line(int x1, int y1, int x2, int y2) {
    m_inner.line(x1, y1, x2, y2);
    reach(std::max(x1, x2) + m_penWidth, std::max(y1, y2) + m_penWidth);
}

void ExtentCanvas::rectangle(int left, int top, int right, int bottom) {
    m_inner.rectangle(left, top, right, bottom);
    reach(right + m_penWidth / 2, bottom + m_penWidth / 2);
}

void ExtentCanvas::roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
    m_inner.roundRect(left, top, right, bottom, cornerW, cornerH);
    reach(right + m_penWidth / 2, bottom + m_penWidth / 2);
}

void ExtentCanvas::ellipse(int left, int top, int right, int bottom) {
    m_inner.ellipse(left, top, right, bottom);
    reach(right + m_penWidth / 2, bottom + m_penWidth / 2);
}

void ExtentCanvas::fillRect(int left, int top, int right, int bottom, Rgb colour) {
    m_inner.fillRect(left, top, right, bottom, colour);
    if (left <= 0 && top <= 0 && right >= width() && bottom >= height()) {
        m_right = m_bottom = 0;
        ++m_clears;
        return;
    }
    reach(right, bottom);
}

void ExtentCanvas::drawBitmap(const Bitmap& bitmap, int left, int top, int right, int bottom) {
    m_inner.drawBitmap(bitmap, left, top, right, bottom);
    reach(right, bottom);
}

void ClearMessage(Canvas& canvas) {
    canvas.fillRect(0, 0, canvas.width(), canvas.height(), kWhite);
}

void DrawMessageLine(Canvas& canvas, int line, const std::string& text, double points, Rgb colour) {
    if (line == 0) ClearMessage(canvas);
    Text(canvas, 0, kMessageLinePitch * line, text, points, colour);
}

double DrawStrokeOrder(Canvas& canvas, double top, const std::string& text,
                       const std::string& face) {
    FontSpec font;
    font.face = face;
    font.points = kStrokeOrderPoints;
    canvas.setFont(font);
    canvas.setTextColour(kBlack);
    canvas.setTextBackground(std::nullopt);
    canvas.drawText(0, top, text);
    return top + canvas.textHeight();
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
