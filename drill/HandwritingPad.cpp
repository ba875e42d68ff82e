#include "HandwritingPad.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTabletEvent>
#include <QTouchEvent>
#include <cmath>

namespace sulkan {
namespace {

constexpr int kInkWidth = 5;

HandPoint ToPoint(QPointF p) {
    return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

}  // namespace

HandwritingPad::HandwritingPad(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_AcceptTouchEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void HandwritingPad::undoStroke() {
    if (m_writing || m_strokes.empty()) return;
    m_strokes.pop_back();
    update();
    Q_EMIT strokesChanged();
}

void HandwritingPad::clear() {
    m_writing = false;
    if (m_strokes.empty()) return;
    m_strokes.clear();
    update();
    Q_EMIT strokesChanged();
}

void HandwritingPad::begin(QPointF at) {
    m_writing = true;
    m_strokes.push_back({ToPoint(at)});
    update();
}

void HandwritingPad::extend(QPointF at) {
    if (!m_writing) return;
    const HandPoint p = ToPoint(at);
    const HandPoint& last = m_strokes.back().back();
    if (p.x == last.x && p.y == last.y) return;
    m_strokes.back().push_back(p);
    update();
}

void HandwritingPad::finish(QPointF at) {
    if (!m_writing) return;
    extend(at);
    m_writing = false;
    Q_EMIT strokesChanged();
}

void HandwritingPad::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) begin(event->position());
}

void HandwritingPad::mouseMoveEvent(QMouseEvent* event) {
    extend(event->position());
}

void HandwritingPad::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) finish(event->position());
}

void HandwritingPad::tabletEvent(QTabletEvent* event) {
    // Taken here, so no mouse events are made up from the pen as well.
    switch (event->type()) {
        case QEvent::TabletPress:
            begin(event->position());
            break;
        case QEvent::TabletMove:
            extend(event->position());
            break;
        case QEvent::TabletRelease:
            finish(event->position());
            break;
        default:
            break;
    }
    event->accept();
}

bool HandwritingPad::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd: {
            // One finger writes; a second one resting on the pad is ignored.
            auto* touch = static_cast<QTouchEvent*>(event);
            if (touch->points().isEmpty()) return true;
            const QEventPoint& p = touch->points().front();
            if (p.state() == QEventPoint::Pressed)
                begin(p.position());
            else if (p.state() == QEventPoint::Released)
                finish(p.position());
            else
                extend(p.position());
            event->accept();
            return true;
        }
        case QEvent::TouchCancel:
            if (m_writing) {
                m_writing = false;
                m_strokes.pop_back();
                update();
            }
            return true;
        default:
            return QWidget::event(event);
    }
}

void HandwritingPad::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.setRenderHint(QPainter::Antialiasing);
    g.fillRect(rect(), Qt::white);
    // The cross guide: light enough that strokes stand out against it.
    g.setPen(QPen(QColor(200, 200, 200), 1, Qt::DashLine));
    g.drawLine(QPointF(width() / 2.0, 0), QPointF(width() / 2.0, height()));
    g.drawLine(QPointF(0, height() / 2.0), QPointF(width(), height() / 2.0));
    g.setPen(QPen(QColor(128, 128, 128), 1));
    g.drawRect(rect().adjusted(0, 0, -1, -1));
    g.setPen(QPen(Qt::black, kInkWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const HandStroke& s : m_strokes) {
        if (s.size() == 1) {
            g.drawPoint(QPoint(s.front().x, s.front().y));
            continue;
        }
        QPainterPath path(QPointF(s.front().x, s.front().y));
        for (std::size_t i = 1; i < s.size(); ++i) path.lineTo(s[i].x, s[i].y);
        g.drawPath(path);
    }
}

}  // namespace sulkan
