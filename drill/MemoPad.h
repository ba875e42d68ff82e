// The free memo pad of the drill's record panel, where the learner jots while answering.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPoint>

namespace sulkan {

// Draw with the left button, erase with any other, double click clears.
class MemoPad : public QLabel {
    Q_OBJECT
public:
    explicit MemoPad(QWidget* parent = nullptr);
    void Reset();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void segmentTo(QPoint point);
    QImage m_image;
    bool m_drawing = false;
    bool m_erasing = false;
    QPoint m_last;
};

}  // namespace sulkan
