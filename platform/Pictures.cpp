#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace sulkan {
namespace {

constexpr int kSize = 24;

QPixmap Blank(int w = kSize, int h = kSize) {
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

QPixmap Circle(QColor fill, QColor ring) {
    QPixmap p = Blank();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(ring, 2));
    g.setBrush(fill);
    g.drawEllipse(QRectF(3, 3, kSize - 6, kSize - 6));
    return p;
}

QPixmap Lock(bool shut) {
    QPixmap p = Blank();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QColor body = shut ? QColor(160, 60, 40) : QColor(40, 130, 60);
    g.setPen(QPen(QColor(60, 60, 60), 2.5));
    g.setBrush(Qt::NoBrush);
    // The shackle stands open to the right in teacher mode.
    QPainterPath shackle;
    shackle.moveTo(7, 12);
    shackle.lineTo(7, 8);
    shackle.arcTo(QRectF(7, 3, 10, 10), 180, -180);
    shackle.lineTo(17, shut ? 12 : 8);
    g.translate(shut ? 0 : 4, shut ? 0 : -2);
    g.drawPath(shackle);
    g.resetTransform();
    g.setPen(Qt::NoPen);
    g.setBrush(body);
    g.drawRoundedRect(QRectF(4, 11, 16, 11), 2, 2);
    return p;
}

QCursor PixmapCursor(bool scissors) {
    QPixmap p = Blank(32, 32);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    if (scissors) {
        g.setPen(QPen(Qt::black, 2));
        g.drawLine(8, 2, 22, 18);
        g.drawLine(24, 2, 10, 18);
        g.drawEllipse(QRectF(19, 17, 9, 9));
        g.drawEllipse(QRectF(4, 17, 9, 9));
        return QCursor(p, 16, 4);
    }
    g.setPen(QPen(Qt::black, 1.5));
    g.setBrush(QColor(250, 210, 80));
    QPolygonF pencil;
    pencil << QPointF(1, 1) << QPointF(6, 3) << QPointF(24, 21) << QPointF(21, 24) << QPointF(3, 6);
    g.drawPolygon(pencil);
    return QCursor(p, 1, 1);
}

}  // namespace

QPixmap MakePicture(Picture which) {
    switch (which) {
        case Picture::AnswerOn:
            return Circle(QColor(230, 30, 30), QColor(120, 0, 0));
        case Picture::AnswerOff:
            return Circle(QColor(110, 30, 30), QColor(60, 0, 0));
        case Picture::Shrunk:
            return Circle(QColor(60, 170, 60), QColor(20, 90, 20));
        case Picture::NormalSize:
            return Circle(QColor(240, 220, 40), QColor(140, 120, 0));
        case Picture::LockShut:
            return Lock(true);
        case Picture::LockOpen:
            return Lock(false);
    }
    return Blank();
}

QCursor CursorSlot(int slot) {
    switch (slot) {
        case 2:
            return QCursor(Qt::PointingHandCursor);
        case 3:
            return QCursor(Qt::UpArrowCursor);
        case 4:
            return QCursor(Qt::CrossCursor);
        case 5:
            return PixmapCursor(false);
        case 6:
            return PixmapCursor(true);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

}  // namespace sulkan
