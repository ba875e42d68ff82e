#include "MascotPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace sulkan {
namespace {

constexpr int kSize = 120;
const QColor kInk(60, 40, 30);

// A round face of the given colour, ready for its eyes and mouth.
void Face(QPainter& g, QColor skin) {
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(kInk, 3));
    g.setBrush(skin);
    g.drawEllipse(QRectF(10, 10, 100, 100));
    g.setBrush(Qt::NoBrush);
}

void DotEyes(QPainter& g) {
    g.setBrush(kInk);
    g.drawEllipse(QRectF(38, 45, 10, 12));
    g.drawEllipse(QRectF(72, 45, 10, 12));
    g.setBrush(Qt::NoBrush);
}

void Smile(QPainter& g, double depth) {
    QPainterPath mouth;
    mouth.moveTo(38, 75);
    mouth.quadTo(60, 75 + depth, 82, 75);
    g.drawPath(mouth);
}

void Roar(QPainter& g) {
    Face(g, QColor(255, 170, 60));
    // Angry brows and a wide open mouth with teeth.
    g.setPen(QPen(kInk, 4));
    g.drawLine(32, 38, 50, 46);
    g.drawLine(88, 38, 70, 46);
    g.setPen(QPen(kInk, 3));
    DotEyes(g);
    g.setBrush(QColor(170, 30, 30));
    g.drawEllipse(QRectF(35, 66, 50, 32));
    g.setBrush(Qt::white);
    g.setPen(QPen(kInk, 1.5));
    for (int x : {42, 54, 66})
        g.drawPolygon(QPolygonF({QPointF(x, 68), QPointF(x + 12, 68), QPointF(x + 6, 78)}));
}

void Tears(QPainter& g) {
    Face(g, QColor(255, 224, 180));
    g.drawArc(QRectF(34, 48, 16, 10), 0, 180 * 16);
    g.drawArc(QRectF(70, 48, 16, 10), 0, 180 * 16);
    Smile(g, -14);
    g.setPen(QPen(QColor(40, 120, 230), 2));
    g.setBrush(QColor(120, 190, 255));
    for (double x : {38.0, 76.0}) {
        QPainterPath drop;
        drop.moveTo(x + 4, 58);
        drop.quadTo(x + 10, 72, x + 4, 76);
        drop.quadTo(x - 2, 72, x + 4, 58);
        g.drawPath(drop);
    }
}

void Puzzled(QPainter& g) {
    Face(g, QColor(255, 230, 150));
    DotEyes(g);
    g.drawLine(46, 80, 74, 76);
    g.setPen(QPen(QColor(40, 90, 200), 4));
    QFont font = g.font();
    font.setPixelSize(34);
    font.setBold(true);
    g.setFont(font);
    g.drawText(QRectF(84, 0, 36, 40), Qt::AlignCenter, QStringLiteral("?"));
}

void Sleepy(QPainter& g) {
    Face(g, QColor(200, 220, 255));
    g.drawLine(34, 52, 50, 52);
    g.drawLine(70, 52, 86, 52);
    g.drawEllipse(QRectF(54, 74, 12, 10));
    g.setPen(QPen(QColor(60, 60, 160), 2));
    QFont font = g.font();
    font.setPixelSize(18);
    font.setBold(true);
    g.setFont(font);
    g.drawText(QPointF(86, 26), QStringLiteral("Z"));
    g.drawText(QPointF(98, 14), QStringLiteral("z"));
}

void Happy(QPainter& g) {
    Face(g, QColor(255, 215, 90));
    g.drawArc(QRectF(34, 44, 16, 14), 0, 180 * 16);
    g.drawArc(QRectF(70, 44, 16, 14), 0, 180 * 16);
    g.setBrush(QColor(230, 80, 80));
    QPainterPath mouth;
    mouth.moveTo(36, 70);
    mouth.quadTo(60, 104, 84, 70);
    mouth.closeSubpath();
    g.drawPath(mouth);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 150, 150, 160));
    g.drawEllipse(QRectF(22, 62, 14, 9));
    g.drawEllipse(QRectF(84, 62, 14, 9));
}

void Heart(QPainter& g, QColor colour) {
    g.setRenderHint(QPainter::Antialiasing);
    QPainterPath heart;
    heart.moveTo(60, 104);
    heart.cubicTo(10, 70, 4, 34, 32, 22);
    heart.cubicTo(46, 16, 56, 26, 60, 36);
    heart.cubicTo(64, 26, 74, 16, 88, 22);
    heart.cubicTo(116, 34, 110, 70, 60, 104);
    g.setPen(QPen(colour.darker(150), 3));
    g.setBrush(colour);
    g.drawPath(heart);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 255, 255, 150));
    g.drawEllipse(QRectF(30, 34, 16, 10));
}

void Contented(QPainter& g) {
    Face(g, QColor(255, 200, 140));
    // Eyes closed with pleasure, a full smile and a little star.
    g.drawArc(QRectF(34, 46, 16, 12), 0, 180 * 16);
    g.drawArc(QRectF(70, 46, 16, 12), 0, 180 * 16);
    Smile(g, 20);
    g.setPen(QPen(QColor(230, 160, 0), 2));
    g.setBrush(QColor(255, 220, 0));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 5 : 12;
        const double a = 3.14159265 / 5 * i - 3.14159265 / 2;
        star << QPointF(100 + r * std::cos(a), 18 + r * std::sin(a));
    }
    g.drawPolygon(star);
}

}  // namespace

QPixmap MakeMascot(Mascot which) {
    QPixmap p(kSize, kSize);
    p.fill(Qt::white);
    QPainter g(&p);
    switch (which) {
        case Mascot::Gaoh:
            Roar(g);
            break;
        case Mascot::Namida:
            Tears(g);
            break;
        case Mascot::Nanda:
            Puzzled(g);
            break;
        case Mascot::Sleep:
            Sleepy(g);
            break;
        case Mascot::Happy:
            Happy(g);
            break;
        case Mascot::GreenHeart:
            Heart(g, QColor(60, 180, 80));
            break;
        case Mascot::Kutta:
            Contented(g);
            break;
        case Mascot::RedHeart:
            Heart(g, QColor(230, 40, 60));
            break;
    }
    return p;
}

}  // namespace sulkan
