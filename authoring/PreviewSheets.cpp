#include "PreviewSheets.h"

#include <QPainter>
#include <utility>

namespace sulkan {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPreviewGap = 8;  // between the two sheets

}  // namespace

PreviewSheets::PreviewSheets(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 160);
}

PreviewArea PreviewSheets::area() const {
    return {size(), fontMetrics().height(), kPreviewGap};
}

void PreviewSheets::setSheets(const EditorPreview& sheets) {
    m_sheets = sheets;
    update();
}

void PreviewSheets::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (ResizedHook) ResizedHook();
}

void PreviewSheets::paintEvent(QPaintEvent*) {
    if (m_sheets.questionSheet.isNull()) return;
    QPainter p(this);
    const int ascent = fontMetrics().ascent();
    const std::pair<const QRect&, QString> captions[] = {{m_sheets.place.question, u"問題"_s},
                                                         {m_sheets.place.answer, u"解答"_s}};
    for (const auto& [place, caption] : captions)
        p.drawText(place.left(), place.top() - fontMetrics().height() + ascent, caption);
    p.drawImage(m_sheets.place.question.topLeft(), m_sheets.questionSheet);
    p.drawImage(m_sheets.place.answer.topLeft(), m_sheets.answerSheet);
    // The paper's edge, since a sheet is as white as many window backgrounds.
    p.setPen(palette().color(QPalette::Mid));
    for (const QRect& r : {m_sheets.place.question, m_sheets.place.answer})
        p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace sulkan
