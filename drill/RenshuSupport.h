// What the drill window's source files share: the writing pad's setting, colours and fresh
// white pictures.
#pragma once

#include <QColor>
#include <QSize>
#include <algorithm>
#include <memory>

#include "Canvas.h"
#include "QtCanvas.h"

namespace sulkan::renshu {

// The settings value that keeps the learner's choice of the writing pad for the next opening.
inline constexpr const char* kTegakiSetting = "TegakiInput";
// The settings value that keeps "筆順" (shown answers with their stroke order).
inline constexpr const char* kStrokeOrderSetting = "StrokeOrder";

inline QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

inline std::unique_ptr<ImageCanvas> FreshCanvas(QSize size) {
    auto canvas =
        std::make_unique<ImageCanvas>(std::max(1, size.width()), std::max(1, size.height()));
    canvas->fillRect(0, 0, canvas->width(), canvas->height(), kWhite);
    return canvas;
}

}  // namespace sulkan::renshu
