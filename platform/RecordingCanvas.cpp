#include "RecordingCanvas.h"

#include "Sjis.h"

namespace sulkan {

double RecordingCanvas::textWidth(const std::string& text) {
    double em = m_font.points * m_pixelsPerPoint;
    double w = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        w += CharLength(text, i) == 2 ? em : em / 2;
    return w;
}

double RecordingCanvas::drawText(double x, double y, const std::string& text) {
    Op op;
    op.kind = Kind::Text;
    op.x = x;
    op.y = y;
    op.text = text;
    op.advance = textWidth(text);
    op.font = m_font;
    op.textColour = m_textColour;
    op.pen = m_pen;
    op.brush = m_brush;
    ops.push_back(op);
    return op.advance;
}

RecordingCanvas::Op RecordingCanvas::shape(Kind kind, int x1, int y1, int x2, int y2) const {
    Op op;
    op.kind = kind;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.font = m_font;
    op.textColour = m_textColour;
    op.pen = m_pen;
    op.brush = m_brush;
    return op;
}

void RecordingCanvas::line(int x1, int y1, int x2, int y2) {
    ops.push_back(shape(Kind::Line, x1, y1, x2, y2));
}

void RecordingCanvas::rectangle(int left, int top, int right, int bottom) {
    ops.push_back(shape(Kind::Rectangle, left, top, right, bottom));
}

void RecordingCanvas::roundRect(int left, int top, int right, int bottom, int cornerW,
                                int cornerH) {
    Op op = shape(Kind::RoundRect, left, top, right, bottom);
    op.cornerW = cornerW;
    op.cornerH = cornerH;
    ops.push_back(op);
}

void RecordingCanvas::ellipse(int left, int top, int right, int bottom) {
    ops.push_back(shape(Kind::Ellipse, left, top, right, bottom));
}

void RecordingCanvas::fillRect(int left, int top, int right, int bottom, Rgb colour) {
    Op op = shape(Kind::Fill, left, top, right, bottom);
    op.textColour = colour;
    ops.push_back(op);
}

void RecordingCanvas::drawBitmap(const Bitmap& bitmap, int left, int top, int right, int bottom) {
    Op op = shape(Kind::Bitmap, left, top, right, bottom);
    op.bitmapWidth = bitmap.width;
    op.bitmapHeight = bitmap.height;
    ops.push_back(op);
}

std::vector<RecordingCanvas::Op> RecordingCanvas::texts() const {
    std::vector<Op> out;
    for (const auto& op : ops)
        if (op.kind == Kind::Text) out.push_back(op);
    return out;
}

std::string RecordingCanvas::allText() const {
    std::string out;
    for (const auto& op : ops)
        if (op.kind == Kind::Text) out += op.text;
    return out;
}

}  // namespace sulkan
