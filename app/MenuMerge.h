// The frame's one menu bar: which menus it carries for the active worksheet and the lock, and the
// frame of a worksheet's child window in learner mode.
#pragma once

#include <QList>

class QMdiSubWindow;
class QMenu;
class QMenuBar;

namespace sulkan {

// The main window's own menus, in bar order.
struct FrameMenus {
    QMenu* file = nullptr;
    QMenu* edit = nullptr;
    QMenu* window = nullptr;
    QMenu* help = nullptr;
};

// The menus the bar carries: the active worksheet's menus (File, Edit, View, Settings) in place of
// the frame's File and Edit, then Window and Help; in learner mode Help alone.
QList<QMenu*> BarMenus(const FrameMenus& frame, const QList<QMenu*>& worksheetMenus, bool learner);

// Puts exactly these menus on the bar, in this order. A menu off the bar takes its &-letter and
// its items' shortcuts with it; a hidden menu left on the bar would still answer its shortcuts.
void SetBarMenus(QMenuBar* bar, const QList<QMenu*>& menus);

// The close key of a worksheet's child window belongs to the worksheet's "閉じる", which only the
// active worksheet offers: every child frame's own close item would answer the same key at once.
void TakeFrameCloseKey(QMdiSubWindow* window);

// In learner mode a worksheet's child window has a title and nothing else: no close, minimise or
// maximise buttons, since closing may offer to save.
void SetLearnerFrame(QMdiSubWindow* window, bool learner);

}  // namespace sulkan
