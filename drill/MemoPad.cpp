#include "MemoPad.h"

#include <QFont>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "Pictures.h"

namespace sulkan {

MemoPad::MemoPad(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void MemoPad::Reset() {
    m_image = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    m_image.fill(Qt::white);
    QPainter g(&m_image);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(18);
    g.setFont(font);
    g.drawText(QPoint(10, 5 + QFontMetrics(font).ascent()), QStringLiteral("    自由メモ欄"));
    font.setPointSize(12);
    g.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    g.drawText(QPoint(10, 33 + ascent), QStringLiteral("左ボタン：描く"));
    g.drawText(QPoint(10, 50 + ascent), QStringLiteral("右ボタン：消す"));
    g.drawText(QPoint(10, 67 + ascent), QStringLiteral("ダブルクリック：全部消す"));
    g.end();
    setPixmap(QPixmap::fromImage(m_image));
    setCursor(CursorSlot(4));
}

void MemoPad::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Reset();
}

void MemoPad::mousePressEvent(QMouseEvent* event) {
    m_drawing = true;
    m_erasing = event->button() != Qt::LeftButton;
    m_last = event->position().toPoint();
    setCursor(m_erasing ? CursorSlot(6) : CursorSlot(4));
}

void MemoPad::mouseMoveEvent(QMouseEvent* event) {
    if (m_drawing) segmentTo(event->position().toPoint());
}

void MemoPad::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_drawing) return;
    segmentTo(event->position().toPoint());
    m_drawing = false;
    setCursor(CursorSlot(4));
}

void MemoPad::mouseDoubleClickEvent(QMouseEvent*) {
    m_drawing = false;
    Reset();
}

void MemoPad::segmentTo(QPoint point) {
    QPainter g(&m_image);
    g.setPen(m_erasing ? QPen(Qt::white, 10, Qt::SolidLine, Qt::RoundCap)
                       : QPen(Qt::red, 2, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(m_last, point);
    g.end();
    m_last = point;
    setPixmap(QPixmap::fromImage(m_image));
}

}  // namespace sulkan
