// The drill's writing pad: a square with a light cross guide on which the learner writes one
// character with the mouse, a pen or a finger. It keeps the strokes for recognition and never
// takes the keyboard focus, so the answer box keeps it while the learner writes.
#pragma once

#include <QWidget>
#include <algorithm>
#include <vector>

#include "Handwriting.h"

class QTabletEvent;

namespace sulkan {

class HandwritingPad : public QWidget {
    Q_OBJECT
public:
    explicit HandwritingPad(QWidget* parent = nullptr);

    const std::vector<HandStroke>& strokes() const { return m_strokes; }
    int padSize() const { return std::min(width(), height()); }
    void undoStroke();
    void clear();

Q_SIGNALS:
    // A stroke was finished, taken back or the pad cleared.
    void strokesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    bool event(QEvent* event) override;

private:
    void begin(QPointF at);
    void extend(QPointF at);
    void finish(QPointF at);

    std::vector<HandStroke> m_strokes;
    bool m_writing = false;
};

}  // namespace sulkan
