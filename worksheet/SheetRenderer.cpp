#include "SheetRenderer.h"

#include <algorithm>
#include <map>

#include "Sjis.h"
#include "StyledText.h"

namespace sulkan {

namespace {

constexpr double kPitchFactor = 0.7875;  // line spacing units to sheet units
constexpr double kTextOffset = 6.732;    // from a line's y down to the top of its text
constexpr double kPrinterStepFactor = 1.1;
constexpr double kPrinterStretch = 1.03;
constexpr int kPrinterPoints = 3;  // printed text is this much larger than on screen
constexpr int kFallbackQuestionSize = 10;
constexpr int kLargerAnswerSize = 30;
constexpr double kDividerBottom = 0.97;  // of the page height

// Header sizes before the printer's extra points.
constexpr int kStampSize = 10;
constexpr int kTitleSize = 12;
constexpr int kNameSize = 16;
constexpr int kScoreExtra = 20;
constexpr int kScoreUnitExtra = 6;

constexpr std::size_t kLongTitle = 61;  // bytes from which a title breaks at its "§"

// Byte offset of the first whole character at or after byte 'from'.
std::size_t CharBoundaryFrom(std::string_view text, std::size_t from) {
    std::size_t i = 0;
    while (i < text.size() && i < from) i += CharLength(text, i);
    return i;
}

// Byte offset of the first whole double-byte character equal to c, or npos.
std::size_t FindWholeDoubleChar(std::string_view text, std::string_view c) {
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        if (text.compare(i, c.size(), c) == 0) return i;
    return std::string_view::npos;
}

class SheetPass {
public:
    SheetPass(Worksheet& worksheet, Canvas& canvas, const RenderInputs& inputs, SheetShared& shared,
              RenderOutput& out)
        : m_ws(worksheet),
          m_params(worksheet.params),
          m_canvas(canvas),
          m_in(inputs),
          m_shared(shared),
          m_out(out),
          m_context{shared.runningSizeOffset, inputs.view.mainFontName} {
        const bool printer = inputs.target.toPrinter;
        m_s = inputs.target.s;
        m_r = inputs.target.r;
        m_p = printer ? kPrinterPoints : 0;
        m_d = printer ? kPrinterStretch : 1.0;
        m_q =
            (inputs.view.questionSize < 1 ? kFallbackQuestionSize : inputs.view.questionSize) + m_p;
        m_left = RoundToInt(m_params.LeftMargin * 10 * m_s);
        m_right = RoundToInt(inputs.target.pageWidth - m_params.RightMargin * 10 * m_s);
        m_pitch = m_params.LineSpacing * m_s * kPitchFactor;
        m_context.f = printer ? kPrinterStepFactor : 1.0;
        m_context.s = m_s;
        m_context.textOffset = kTextOffset * m_s;
        // The printer pass reuses the table of the last screen pass: its positions are in sheet
        // units, which device pixels would spoil.
        m_recording = shared.blankRecording && !printer;
        m_drillVariant = shared.drillDrawing;
        m_recordStarts = !m_drillVariant && !printer;
    }

    void run() {
        m_canvas.setTextBackground(std::nullopt);
        if (!m_in.target.toPrinter)
            m_canvas.fillRect(0, 0, m_in.target.pageWidth, m_in.target.pageHeight, kWhite);
        drawHeader();
        drawBody();
        drawAnswers();
        placeFigures();
        drawFrames();
        drawPictures();
    }

private:
    double headerText(double x, double y, const std::string& text, double points,
                      Rgb colour = kBlack) {
        FontSpec font;
        font.face = m_in.view.mainFontName;
        font.points = points;
        m_context.tracker.useFont(m_canvas, font);
        m_context.tracker.useColour(m_canvas, colour);
        return m_canvas.drawText(x, y, text);
    }

    int headerY(double y) const { return RoundToInt(y * m_r); }

    void drawHeader() {
        m_canvas.setPen(PenSpec{kBlack, std::max(1, RoundToInt(2 * m_s))});
        for (int y : {headerY(30), headerY(90)}) m_canvas.line(m_left, y, m_right, y);
        if (m_params.ColumnMode == 2) {
            // The size in points takes part in the divider's x as a plain number.
            const int x = (m_right + m_q + m_left) / 2 - RoundToInt(10 * m_s);
            m_canvas.line(x, headerY(90), x, RoundToInt(m_in.target.pageHeight * kDividerBottom));
        }
        const int options = m_params.SheetOptions;
        if (options & sheet_options::kNumberAndDate) {
            static const std::string wideSpace = sjis("　");
            std::string source = m_in.stamp.sourceName;
            if (source.size() > kSourceNameShown)
                source.erase(0, CharBoundaryFrom(source, kSourceNameShown));
            headerText(m_left, headerY(15),
                       m_in.stamp.numberText + "  " + DotDateStamp(m_in.stamp.now) + "-" +
                           TimeStamp(m_in.stamp.now) + wideSpace + source,
                       kStampSize + m_p);
        }
        if (options & sheet_options::kDateLine) {
            static const std::string dateLine = sjis("実施日　　月　　日");
            headerText(RoundToInt(m_right - 120 * m_s), headerY(15), dateLine, kStampSize + m_p);
        }
        drawTitle((options & sheet_options::kClassFlag) && m_in.pictures.classFlag);
        drawNameLine();
        if (m_in.drill.graded && m_shared.blanks.BlankCount >= 1) {
            static const std::string unit = sjis("点");
            const int x = RoundToInt(m_right - 75 * m_s);
            const double advance = headerText(x, headerY(35), IntText(m_in.drill.score),
                                              kNameSize + m_p + kScoreExtra, kRed);
            headerText(RoundToInt(x + advance), RoundToInt(headerY(35) + 15 * m_s), unit,
                       kNameSize + m_p + kScoreUnitExtra, kRed);
        }
    }

    void drawTitle(bool besideFlag) {
        static const std::string section = sjis("§");
        static const std::string indent = sjis("　　");
        const int x =
            besideFlag ? RoundToInt(m_left + (m_in.pictures.classFlag.width + 5) * m_s) : m_left;
        const std::string& title = m_ws.content.title;
        const std::size_t at =
            title.size() >= kLongTitle ? FindWholeDoubleChar(title, section) : std::string::npos;
        if (at == std::string::npos) {
            headerText(x, headerY(35), title, kTitleSize + m_p);
            return;
        }
        headerText(x, headerY(35), title.substr(0, at), kTitleSize + m_p);
        headerText(x, headerY(48), indent + title.substr(at), kTitleSize + m_p);
    }

    void drawNameLine() {
        static const std::string afterSchool = sjis("　　氏名");
        static const std::string noSchool = sjis("　　　　　　　　氏名");
        static const std::vector<std::string> sharedNames = {sjis("noname"), sjis("公開"),
                                                             sjis("共通")};
        std::string text =
            m_in.view.schoolName.empty() ? noSchool : m_in.view.schoolName + afterSchool;
        const std::string& learner = m_in.view.learnerName;
        if (m_in.stamp.forLearner && !learner.empty() &&
            std::find(sharedNames.begin(), sharedNames.end(), learner) == sharedNames.end())
            text = learner + " " + text;
        headerText(RoundToInt(m_left + 150 * m_s), headerY(65), text, kNameSize + m_p);
    }

    void drawBody() {
        if (m_recording) {
            BlankTable& table = m_shared.blanks;
            table.BlankCount = 0;
            for (std::size_t n = 1; n < table.slots.size(); ++n) {
                BlankRecord& b = table.slots[n];
                b.left = b.top = b.width = 0;
                b.AnswerText.clear();
                b.shownText.clear();
                b.size = 0;
            }
        }
        m_ws.answerList.assign(1, "start");
        if (m_recordStarts) m_ws.pieceStarts.clear();
        m_bodyTop =
            RoundToInt(65 * m_r + RoundToInt(20 * m_r) + RoundToInt(17 * kPitchFactor * m_r));
        double y = m_bodyTop;
        for (const std::string& line : m_ws.content.questionLines) {
            if (!line.empty()) drawLine(line, RoundToInt(y));
            y += m_pitch;
        }
    }

    void notePiece(double x, int y) {
        if (m_in.target.toPrinter)
            m_pieces.push_back({RoundToInt(x / m_s), RoundToInt(y / m_s)});
        else
            m_pieces.push_back({RoundToInt(x), y});
    }

    void drawLine(const std::string& line, int lineY) {
        const int answers = SplitAtHash(line, m_split) / 2;
        double x = m_left;
        for (int k = 0; k < answers; ++k) {
            const std::string& question = m_split[2 * k];
            const std::string& answer = m_split[2 * k + 1];
            if (m_drillVariant) {
                // Keep the pieces where the ordinary sheet had them: the learner's entries are
                // not as wide as the answers.
                const std::vector<int>& starts = m_in.drill.pieceStarts;
                if (m_answerIndex < static_cast<int>(starts.size()))
                    x = RoundToInt(starts[m_answerIndex] * m_s);
            } else if (m_recordStarts) {
                m_ws.pieceStarts.push_back(RoundToInt(x));
            }
            notePiece(x, lineY);
            x = DrawStyledText(m_canvas, question, x, lineY, m_q, m_context);

            const double answerX = x;
            m_ws.answerList.push_back(answer);
            SplitAtSemicolon(answer, m_alternatives);
            notePiece(answerX, lineY);
            // The answer takes its room on the sheet without showing; the answers themselves are
            // written in the answer font afterwards.
            const double end =
                MeasureStyledText(m_canvas, m_alternatives[0], answerX, m_q, m_context);
            recordBlank(RoundToInt(answerX), lineY, answer, m_alternatives[0],
                        RoundToInt(end - answerX), m_context.endSize);
            if (m_in.target.toPrinter) m_printed.push_back({answerX, lineY, end - answerX});
            x = m_drillVariant ? drawEntry(answerX, lineY, answer) : end;

            if (m_in.view.answersShown && m_in.view.showAlternatives && m_alternatives.size() > 1) {
                m_context.colour = kGrey;
                double altX = answerX;
                const int altY = RoundToInt(lineY + 30 * m_s);
                for (std::size_t i = 1; i < m_alternatives.size(); ++i)
                    altX = DrawStyledText(m_canvas, " " + m_alternatives[i], altX, altY, m_q,
                                          m_context);
                m_context.colour = kBlack;
            }
            ++m_answerIndex;
        }
        // An unpaired "#" stays text of the last piece rather than losing what follows it.
        std::string rest = m_split[2 * answers];
        for (std::size_t i = 2 * answers + 1; i < m_split.size(); ++i) rest += "#" + m_split[i];
        notePiece(x, lineY);
        DrawStyledText(m_canvas, rest, x, lineY, m_q, m_context);
    }

    // The learner's entry for the current blank, padded to the answer's length.
    double drawEntry(double x, int lineY, const std::string& answer) {
        const std::size_t blank = static_cast<std::size_t>(m_answerIndex) + 1;
        const std::vector<std::string>& entries = m_in.drill.entries;
        const std::string entry = blank < entries.size() ? entries[blank] : std::string();
        return DrawPlainText(m_canvas, PadLike(entry, answer), x, lineY, m_q, m_context);
    }

    void recordBlank(int left, int top, const std::string& answer, const std::string& shown,
                     int width, double size) {
        if (!m_recording) return;
        BlankTable& table = m_shared.blanks;
        // Every blank is recorded, so every one gets its frame and answer; grades of slots
        // already there survive a redraw.
        const auto n = static_cast<std::size_t>(++table.BlankCount);
        if (n >= table.slots.size()) table.slots.resize(n + 1);
        BlankRecord& b = table.slots[n];
        b.left = left;
        b.top = top;
        b.width = width;
        b.AnswerText = answer;
        b.shownText = shown;
        b.size = size;
    }

    // Blank positions are sheet units; the printer stretches x by d.
    int blankX(int left) const { return RoundToInt(left * m_s * m_d); }
    int blankY(int top) const { return RoundToInt(top * m_s); }

    // On the printer the text is set in larger printer fonts, so the gaps it leaves drift from the
    // screen's blanks as the size moves away from 12 points. Where this pass left the gap of
    // blank n, that is where its answer and frame go; the table still gives texts and grades.
    BlankRecord printedBlank(int n, const BlankRecord& b) const {
        if (!m_in.target.toPrinter || n < 1 || n > static_cast<int>(m_printed.size())) return b;
        const PrintedGap& gap = m_printed[static_cast<std::size_t>(n - 1)];
        BlankRecord placed = b;
        placed.left = RoundToInt(gap.x / (m_s * m_d));
        placed.top = RoundToInt(gap.y / m_s);
        placed.width = RoundToInt(gap.width / m_s);
        return placed;
    }

    void drawAnswers() {
        if (!m_in.view.answersShown) return;
        // Printed text is larger by the same points as the question text, answers included.
        const double size =
            (m_in.view.largerAnswers ? kLargerAnswerSize : EffectiveAnswerFontSize(m_params)) + m_p;
        m_context.face = m_params.FontName;
        m_context.colour = kBlue;
        const BlankTable& table = m_shared.blanks;
        for (int n = 1; n <= table.BlankCount; ++n) {
            const BlankRecord b = printedBlank(n, table.slots[n]);
            DrawStyledText(m_canvas, b.shownText, blankX(b.left), blankY(b.top), size, m_context);
        }
        m_context.face = m_in.view.mainFontName;
        m_context.colour = kBlack;
    }

    void placeFigures() {
        const SheetPoint fallback{RoundToInt(m_left / m_s), RoundToInt(m_bodyTop / m_s)};
        if (m_recordStarts) {
            m_shared.textPieceStarts.clear();
            for (const SheetPoint& p : m_pieces) m_shared.textPieceStarts.push_back({p.x, p.y});
        }
        m_out.figures = PlaceFigures(m_ws.content.questionFigures, m_ws.content.answerFigures,
                                     m_in.pictures.question, m_in.pictures.answer, m_pieces,
                                     fallback, m_in.view.answersShown);
        m_out.messages.insert(m_out.messages.end(), m_out.figures.messages.begin(),
                              m_out.figures.messages.end());
        if (m_out.figures.wroteBack) {
            m_out.figuresWrittenBack = true;
            m_ws.modified = true;
        }
    }

    void drawFrames() {
        const bool frames = !m_in.view.largerAnswers && m_params.BoxStyle != 0;
        if (!frames && !m_in.drill.gradingMark) return;
        std::map<double, int> heights;  // base height by text size
        const BlankTable& table = m_shared.blanks;
        for (int n = 1; n <= table.BlankCount; ++n) {
            const BlankRecord b = printedBlank(n, table.slots[n]);
            auto found = heights.find(b.size);
            if (found == heights.end())
                found = heights
                            .emplace(b.size,
                                     BlankBaseHeight(m_canvas, m_context.tracker, m_params.FontName,
                                                     b.size, m_in.target.pointScale))
                            .first;
            const BlankFrame frame =
                FrameOfBlank(b, found->second, m_params.BoxWidth, m_params.BoxHeight, m_s, m_d);
            if (frames) {
                FontSpec bracketFont;
                bracketFont.face = m_in.view.mainFontName;
                bracketFont.points = b.size;
                DrawFrame(m_canvas, m_context.tracker, m_params.BoxStyle, frame, bracketFont, m_s);
            }
            if (m_in.drill.gradingMark) m_in.drill.gradingMark(m_canvas, n, b, frame, m_s);
        }
    }

    void drawPictures() {
        if ((m_params.SheetOptions & sheet_options::kClassFlag) && m_in.pictures.classFlag) {
            m_out.classFlag = ClassFlagPlace(m_in.pictures.classFlag, m_params.LeftMargin);
            DrawPlacedPicture(m_canvas, m_in.pictures.classFlag, m_out.classFlag, m_s);
        }
        DrawFigures(m_canvas, m_out.figures, m_in.pictures.question, m_in.pictures.answer, m_s);
    }

    Worksheet& m_ws;
    const LayoutParams& m_params;
    Canvas& m_canvas;
    const RenderInputs& m_in;
    SheetShared& m_shared;
    RenderOutput& m_out;
    StyleContext m_context;

    double m_s = 1, m_r = 1, m_d = 1, m_pitch = 0;
    int m_p = 0, m_q = 0, m_left = 0, m_right = 0, m_bodyTop = 0;
    bool m_recording = false, m_drillVariant = false, m_recordStarts = false;
    int m_answerIndex = 0;
    std::vector<SheetPoint> m_pieces;  // start of every text piece drawn, sheet units
    struct PrintedGap {
        double x;
        int y;
        double width;
    };
    std::vector<PrintedGap> m_printed;  // printer pass: where each answer's gap was left
    std::vector<std::string> m_split, m_alternatives;
};

}  // namespace

TargetScales ScalesFor(bool toPrinter, int pageWidth, int sheetWidth) {
    if (!toPrinter) return {};
    TargetScales scales;
    scales.s = static_cast<double>(pageWidth) / kScaleBaseWidth;
    scales.r = sheetWidth > 0 ? static_cast<double>(pageWidth) / sheetWidth : scales.s;
    return scales;
}

SheetTarget ScreenTarget(const Worksheet& worksheet) {
    SheetTarget target;
    target.pageWidth = worksheet.sheetWidth();
    target.pageHeight = worksheet.sheetHeight();
    return target;
}

SheetTarget PrinterTarget(const Worksheet& worksheet, int pageWidth, int pageHeight,
                          double pointScale) {
    const TargetScales scales = ScalesFor(true, pageWidth, worksheet.sheetWidth());
    return {true, pageWidth, pageHeight, scales.s, scales.r, pointScale};
}

RenderOutput RenderSheet(Worksheet& worksheet, Canvas& canvas, const RenderInputs& inputs,
                         SheetShared& shared) {
    RenderOutput out;
    if (!shared.redrawEnabled) return out;
    out.drawn = true;
    SheetPass(worksheet, canvas, inputs, shared, out).run();
    return out;
}

}  // namespace sulkan
