// Small pictures drawn by the program itself: button pictures and cursors.
#pragma once

#include <QCursor>
#include <QPixmap>

namespace sulkan {

enum class Picture {
    AnswerOn,   // answers shown
    AnswerOff,  // answers hidden
    Shrunk,     // sheet drawn reduced
    NormalSize,
    LockShut,  // learner mode
    LockOpen,  // teacher mode
};

QPixmap MakePicture(Picture which);

// The program's cursors by slot: 1 arrow, 2 finger, 3 point, 4 cross, 5 pencil, 6 scissors.
QCursor CursorSlot(int slot);

}  // namespace sulkan
