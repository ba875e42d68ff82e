// Writing blanks: the stroke order of shown answers and the stroke count of a character written
// on the pad.
#include <string>

#include "DrillEngine.h"
#include "MessageBoard.h"
#include "Sjis.h"

namespace sulkan {

using namespace blank_status;

void DrillEngine::setStrokeOrder(bool on) {
    m_strokeOrder = on;
    // The correct answers on show take the change at once; unticked, the panel goes back to the
    // course's steps, which it shows between runs.
    if (!m_correctShown || inRun()) return;
    if (strokeOrder()) {
        drawShownStrokeOrder();
        return;
    }
    DrawCourseText(m_front.messageCanvas(MessageImage::RecordPanel));
    m_front.imagesChanged();
}

void DrillEngine::drawShownStrokeOrder() {
    if (!strokeOrder()) return;
    Canvas& canvas = m_front.messageCanvas(MessageImage::RecordPanel);
    bool any = false;
    double top = kMessageLinePitch;
    for (int i = 1; i <= m_blanks.BlankCount; ++i) {
        if (blank(i).BlankStatus == kCorrect || blank(i).Alternatives.empty()) continue;
        const std::string& answer = blank(i).Alternatives.front();
        if (!HasKanji(answer)) continue;
        if (!any) DrawMessageLine(canvas, 0, sjis("正解の筆順"), 14, kBlack);
        any = true;
        top = DrawStrokeOrder(canvas, top, answer, m_strokeOrderFont);
    }
    if (any) m_front.imagesChanged();
}

void DrillEngine::checkStrokeCount(std::size_t charIndex, int strokes) {
    if (!m_strokeCounts) return;
    const std::string& text = boxAt(CurrentBlank).text;
    // The learner's text before the character: the alternative it begins is the one being
    // written; otherwise the first.
    std::size_t prefixBytes = 0;
    for (std::size_t k = 0; k < charIndex && prefixBytes < text.size(); ++k)
        prefixBytes += CharLength(text, prefixBytes);
    const std::string prefix = text.substr(0, prefixBytes);
    const std::vector<std::string>& alternatives = blank(CurrentBlank).Alternatives;
    const std::string* answer = nullptr;
    for (const std::string& a : alternatives)
        if (a.compare(0, prefix.size(), prefix) == 0 && a.size() > prefix.size()) {
            answer = &a;
            break;
        }
    if (!answer) {
        if (alternatives.empty()) return;
        answer = &alternatives.front();
    }
    std::size_t at = 0;
    for (std::size_t k = 0; k < charIndex && at < answer->size(); ++k)
        at += CharLength(*answer, at);
    if (at >= answer->size()) return;
    const std::string expected = answer->substr(at, CharLength(*answer, at));
    if (!IsKanji(expected)) return;
    const std::optional<int> count = m_strokeCounts->of(expected);
    if (!count || *count == strokes) return;
    drawMessage(MessageImage::RunPanel, 0,
                sjis("画数がちがいます：正しくは ") + std::to_string(*count) + sjis(" 画"), 11,
                kMessageBlue);
}

}  // namespace sulkan
