#!/usr/bin/python3
# Walks the accessibility tree of a running Sulkan++ (AT-SPI) and lists, per window, the
# interactive controls a screen reader would announce without a name. Run by
# check-accessibility.sh inside its own display and session bus.
#   check-accessibility.py STEP ...   (the windows to reach and check after the main window, in
#   this order: index (the table-of-contents editor, from the menu, closed again), units (unit
#   selection, then the unit opens), questions (the question editor of that unit, closed again),
#   drill)
import subprocess
import sys
import time

import pyatspi

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_LIST,
    pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_SLIDER,
}


def application():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == 'sulkan' and app.childCount > 0:
                return app
        time.sleep(0.2)
    sys.exit('check-accessibility: the program did not appear on the accessibility bus')


def walk(node, depth=0):
    yield node
    if depth > 60:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def controls(window):
    return [n for n in walk(window) if n.getRole() in INTERACTIVE and showing(n)]


def unnamed(window):
    return ['%s (%s)' % (n.getRoleName(), n.description or 'no description')
            for n in controls(window) if not n.name.strip()]


def frames(app):
    return [w for w in (app.getChildAtIndex(i) for i in range(app.childCount))
            if w is not None and showing(w)]


def do_action(node):
    # A command that opens a modal window answers only when that window closes, and one that
    # closes it may answer after its button has gone: the bus then reports no reply or no such
    # object, but the command has run.
    try:
        node.queryAction().doAction(0)
    except Exception as e:  # GLib.GError from the bus
        if 'reply' not in str(e) and 'No such object' not in str(e):
            raise
    time.sleep(1.5)


def press(app, name):
    for window in frames(app):
        for node in walk(window):
            if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and ''.join(node.name.split()) == name:
                do_action(node)
                return True
    return False


def activate(app, name):
    # A menu command: Qt lists the items of the menu bar's menus whether or not they are open.
    wanted = ''.join(name.split())
    for window in frames(app):
        for node in walk(window):
            if node.getRole() == pyatspi.ROLE_MENU_ITEM and \
                    ''.join(node.name.split()).startswith(wanted):
                do_action(node)
                return True
    return False


def close(app, title):
    # Escape closes a dialog as its Cancel does; the key goes to the focused window, the dialog.
    for _ in range(3):
        if not any(w.name == title for w in frames(app)):
            return
        subprocess.run(['xdotool', 'key', 'Escape'], check=False)
        time.sleep(1.5)
    sys.exit('check-accessibility: the window "%s" did not close' % title)


def window_title(app, part):
    for w in frames(app):
        if part in w.name:
            return w.name
    sys.exit('check-accessibility: no window "%s" opened' % part)


def report(app, label):
    total = 0
    for window in frames(app):
        names = unnamed(window)
        total += len(names)
        print('%s: window "%s": %d interactive controls, %d unnamed'
              % (label, window.name, len(controls(window)), len(names)))
        for n in names:
            print('  ' + n)
    return total


def main():
    app = application()
    time.sleep(1)
    total = report(app, 'main window')
    for step in sys.argv[1:]:
        if step == 'index':
            if not activate(app, '目次作成'):
                sys.exit('check-accessibility: no "目次作成" menu command')
            total += report(app, 'index editor')
            close(app, window_title(app, '教材の作成'))
        elif step == 'questions':
            if not press(app, '編集'):
                sys.exit('check-accessibility: no "編 集" button')
            press(app, 'マスターファイルを編集')
            total += report(app, 'question editor')
            editor = window_title(app, 'マスターファイルの編集')
            before = {w.name for w in frames(app)}
            if not press(app, '直接編集'):
                sys.exit('check-accessibility: no "直接編集" button')
            total += report(app, 'source editor')
            opened = [w.name for w in frames(app) if w.name not in before]
            if not opened:
                sys.exit('check-accessibility: "直接編集" opened no window')
            close(app, opened[0])
            close(app, editor)
        elif step == 'units':
            if not press(app, '開く'):
                sys.exit('check-accessibility: no "開 く" button')
            total += report(app, 'unit selection')
            press(app, 'ＯＫ') or press(app, 'OK') or press(app, 'O K')
        elif step == 'drill':
            if not press(app, '学習'):
                sys.exit('check-accessibility: no "学 習" button')
            total += report(app, 'drill')
    print('check-accessibility: %d unnamed interactive controls in all' % total)
    sys.exit(1 if total else 0)


main()
