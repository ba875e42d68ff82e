// The eight mascot pictures shown after a graded run, drawn by the program itself.
#pragma once

#include <QPixmap>

#include "DrillEngine.h"

namespace sulkan {

// 120 × 120 on white: a roaring face, tears, a puzzled face, a sleepy face, a happy face, a green
// heart, a contented face, a red heart.
QPixmap MakeMascot(Mascot which);

}  // namespace sulkan
