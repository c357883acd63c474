#!/usr/bin/python3
# Drives the running desktop program through the accessibility bus, as a
# screen reader user would: prints the tree of names it offers, then uses
# Full Screen and back, About, the virtual keyboard, says a phrase and
# leaves by Exit. Exits non-zero with a message at the first step that fails.
import sys
import time

import pyatspi


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find_app(name, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    sys.exit('the program never appeared on the accessibility bus')


def find(root, role, name):
    for node in walk(root):
        if node.getRoleName() == role and node.name == name:
            return node
    sys.exit('no %s named %r' % (role, name))


def press(root, role, name):
    action = find(root, role, name).queryAction()
    if action.nActions == 0:
        sys.exit('%s %r cannot be pressed' % (role, name))
    action.doAction(0)
    time.sleep(0.6)


app = find_app('verbonik')
time.sleep(1)
main = next(n for n in walk(app) if n.getRoleName() == 'frame' and 'ВЕРБОНИК' in n.name)
for node in walk(main):
    print('NAME %s | %s' % (node.getRoleName(), node.name))


def size():
    box = main.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.width, box.height


normal = size()
press(app, 'menu item', 'Full Screen')
full = size()
press(app, 'menu item', 'Normal')
print('SIZES', normal, full, size())
if not (full[0] > normal[0] and full[1] > normal[1]) or size() != normal:
    sys.exit('Full Screen and back did not size the window')

press(app, 'menu item', 'О программе...')
about = find(app, 'dialog', 'О программе')
if not about.getState().contains(pyatspi.STATE_SHOWING):
    sys.exit('About is not shown')
press(about, 'push button', 'Закрыть')
press(app, 'menu item', 'Вызвать виртуальную клавиатуру')
press(find(app, 'dialog', 'Виртуальная клавиатура'), 'menu item', 'Скрыть виртуальную клавиатуру')

find(main, 'text', 'Ваша фраза').queryEditableText().insertText(0, 'привет', len('привет'))
time.sleep(0.6)
press(main, 'push button', 'Сказать')
time.sleep(1)
press(app, 'menu item', 'Выход')
