#include "PracticeSheet.h"

#include <algorithm>

#include "Kanji.h"
#include "Sjis.h"

namespace sulkan {

std::vector<std::string> PracticeKanji(const std::vector<std::string>& answers) {
    std::vector<std::string> out;
    for (const std::string& answer : answers) {
        for (std::size_t i = 0; i < answer.size();) {
            const std::size_t n = CharLength(answer, i);
            const std::string c = answer.substr(i, n);
            i += n;
            // ';' between alternatives is a single byte and never a kanji: it only separates.
            if (IsKanji(c) && std::find(out.begin(), out.end(), c) == out.end()) out.push_back(c);
        }
    }
    return out;
}

int PracticeLayout::pages(int kanjiCount) const {
    if (kanjiCount <= 0 || rowsPerPage <= 0) return 0;
    return (kanjiCount + rowsPerPage - 1) / rowsPerPage;
}

std::vector<PracticeSquare> PracticeLayout::squares(int row) const {
    std::vector<PracticeSquare> out;
    const int top = firstRowTop + row * rowPitch;
    for (int k = 0; k < squaresPerRow; ++k) out.push_back({margin + k * side, top, side});
    return out;
}

PracticeLayout LayOutPractice(int paperWidth, int paperHeight) {
    PracticeLayout l;
    l.paperWidth = paperWidth;
    l.paperHeight = paperHeight;
    l.margin = std::max(4, paperWidth / 14);
    l.titleTop = l.margin;
    l.titleHeight = std::max(8, paperWidth / 25);
    l.squaresPerRow = kPracticeSquaresPerRow;
    l.side = std::max(1, (paperWidth - 2 * l.margin) / l.squaresPerRow);
    // A reading under the row takes a third of a square.
    l.rowPitch = l.side + l.side / 3;
    l.firstRowTop = l.titleTop + l.titleHeight * 2;
    l.rowsPerPage = std::max(0, (paperHeight - l.margin - l.firstRowTop) / l.rowPitch);
    return l;
}

namespace {

void SetFont(Canvas& canvas, const std::string& face, double pixels, Rgb colour,
             double dotsPerInch) {
    FontSpec font;
    font.face = face;
    font.points = pixels * 72.0 / dotsPerInch;
    canvas.setFont(font);
    canvas.setTextColour(colour);
    canvas.setTextBackground(std::nullopt);
}

void Text(Canvas& canvas, double x, double y, const std::string& text, const std::string& face,
          double pixels, Rgb colour, double dotsPerInch) {
    SetFont(canvas, face, pixels, colour, dotsPerInch);
    canvas.drawText(x, y, text);
}

// The character in the middle of its square, whatever the face's line height.
void Centred(Canvas& canvas, const PracticeSquare& s, const std::string& c, const std::string& face,
             double pixels, Rgb colour, double dotsPerInch) {
    SetFont(canvas, face, pixels, colour, dotsPerInch);
    const double w = canvas.textWidth(c), h = canvas.textHeight();
    canvas.drawText(s.left + (s.side - w) / 2, s.top + (s.side - h) / 2, c);
}

// The reading in the line under the row, from the row's left edge and shrunk to the row's width
// when long; the line is a third of a square, the text most of its height.
void Reading(Canvas& canvas, const PracticeLayout& layout, int rowTop, const std::string& reading,
             const std::string& face, double dotsPerInch) {
    const int lineTop = rowTop + layout.side, lineHeight = layout.rowPitch - layout.side;
    if (reading.empty() || lineHeight < 4) return;
    const double room = layout.squaresPerRow * layout.side - lineHeight / 2.0;
    double pixels = lineHeight * 0.7;
    SetFont(canvas, face, pixels, kBlack, dotsPerInch);
    const double width = canvas.textWidth(reading);
    if (width > room) {
        pixels *= room / width;
        SetFont(canvas, face, pixels, kBlack, dotsPerInch);
    }
    const double h = canvas.textHeight();
    canvas.drawText(layout.margin + lineHeight / 4.0, lineTop + (lineHeight - h) / 2, reading);
}

}  // namespace

void DrawPracticePage(Canvas& canvas, const PracticeLayout& layout, int page,
                      const std::vector<std::string>& kanji,
                      const std::vector<std::string>& readings, const std::string& title,
                      const std::string& face, double dotsPerInch) {
    const std::string usual = sjis("ＭＳ 明朝");
    canvas.fillRect(0, 0, canvas.width(), canvas.height(), kWhite);
    // A long title is made smaller rather than run off the paper.
    double titlePixels = layout.titleHeight;
    SetFont(canvas, usual, titlePixels, kBlack, dotsPerInch);
    const double titleRoom = layout.paperWidth - 2.0 * layout.margin;
    if (const double w = canvas.textWidth(title); w > titleRoom) titlePixels *= titleRoom / w;
    Text(canvas, layout.margin, layout.titleTop, title, usual, titlePixels, kBlack, dotsPerInch);
    const int first = page * layout.rowsPerPage;
    const int last = std::min(static_cast<int>(kanji.size()), first + layout.rowsPerPage);
    const double charPixels = layout.side * 0.8;
    for (int r = 0; first + r < last; ++r) {
        const std::string& c = kanji[static_cast<std::size_t>(first + r)];
        const std::vector<PracticeSquare> row = layout.squares(r);
        for (std::size_t k = 0; k < row.size(); ++k) {
            const PracticeSquare& s = row[k];
            const int right = s.left + s.side, bottom = s.top + s.side;
            if (k > 0) {
                // The cross guide, dotted.
                PenSpec guide;
                guide.colour = kGuideGrey;
                guide.style = PenStyle::Dot;
                canvas.setPen(guide);
                canvas.line(s.left + s.side / 2, s.top, s.left + s.side / 2, bottom);
                canvas.line(s.left, s.top + s.side / 2, right, s.top + s.side / 2);
            }
            PenSpec frame;
            canvas.setPen(frame);
            canvas.setBrush(std::nullopt);
            canvas.rectangle(s.left, s.top, right, bottom);
            if (k == 0)
                Centred(canvas, s, c, face.empty() ? usual : face, charPixels, kBlack, dotsPerInch);
            else if (k <= static_cast<std::size_t>(kPracticeTraceCount))
                Centred(canvas, s, c, usual, charPixels, kTraceGrey, dotsPerInch);
        }
        const auto at = static_cast<std::size_t>(first + r);
        if (at < readings.size())
            Reading(canvas, layout, row.front().top, readings[at], usual, dotsPerInch);
    }
}

}  // namespace sulkan
