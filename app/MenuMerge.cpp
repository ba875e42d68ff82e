#include "MenuMerge.h"

#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace sulkan {

QList<QMenu*> BarMenus(const FrameMenus& frame, const QList<QMenu*>& worksheetMenus, bool learner) {
    if (learner) return {frame.help};
    QList<QMenu*> menus =
        worksheetMenus.isEmpty() ? QList<QMenu*>{frame.file, frame.edit} : worksheetMenus;
    menus << frame.window << frame.help;
    return menus;
}

void SetBarMenus(QMenuBar* bar, const QList<QMenu*>& menus) {
    QList<QAction*> wanted;
    for (QMenu* m : menus) wanted.append(m->menuAction());
    if (bar->actions() == wanted) return;
    for (QAction* a : bar->actions()) bar->removeAction(a);
    bar->addActions(wanted);
}

void TakeFrameCloseKey(QMdiSubWindow* window) {
    if (QMenu* system = window->systemMenu())
        for (QAction* a : system->actions()) a->setShortcuts({});
}

void SetLearnerFrame(QMdiSubWindow* window, bool learner) {
    // Teacher mode: the frame a child window gets by default.
    const Qt::WindowFlags flags =
        learner ? Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                : Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                      Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    if (window->windowFlags() == flags) return;
    // Changing the flags hides a widget. A maximised one keeps the buttons it put into the bar
    // under the old flags until it is maximised again.
    const bool shown = window->isVisible(), maximised = window->isMaximized();
    window->setWindowFlags(flags);
    if (maximised) {
        window->showNormal();
        window->showMaximized();
    } else if (shown) {
        window->show();
    }
    // The title bar is not repainted by itself: its old buttons would stay on screen.
    window->update();
}

}  // namespace sulkan
