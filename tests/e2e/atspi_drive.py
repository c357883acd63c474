#!/usr/bin/python3
# Drives the running desktop program through the accessibility bus as a
# screen reader user would: prints the names it offers, then Full Screen and
# back, About, the virtual keyboard, a phrase and Exit. Exits non-zero with
# a message at the first step that fails.
import sys
import time

import pyatspi


def walk(node):
    yield node
    for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
        if child is not None:
            yield from walk(child)


def find(root, role, name):
    for node in walk(root):
        if node.getRoleName() == role and name in node.name:
            return node
    sys.exit('no %s named %r' % (role, name))


def press(root, role, name):
    find(root, role, name).queryAction().doAction(0)
    time.sleep(0.6)


for _ in range(100):
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    app = next((a for a in apps if a is not None and a.name == 'verbonik'), None)
    if app:
        break
    time.sleep(0.2)
else:
    sys.exit('the program never appeared on the accessibility bus')
time.sleep(1)
main = find(app, 'frame', 'ВЕРБОНИК')
for node in walk(main):
    print('%s | %s' % (node.getRoleName(), node.name))


def size():
    box = main.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.width, box.height


normal = size()
press(app, 'menu item', 'Full Screen')
full = size()
press(app, 'menu item', 'Normal')
print('sizes', normal, full, size())
if full <= normal or size() != normal:
    sys.exit('Full Screen and back did not size the window')
press(app, 'menu item', 'О программе...')
press(find(app, 'dialog', 'О программе'), 'push button', 'Закрыть')
press(app, 'menu item', 'Вызвать виртуальную клавиатуру')
press(find(app, 'dialog', 'Виртуальная клавиатура'), 'menu item', 'Скрыть')
find(main, 'text', 'Ваша фраза').queryEditableText().insertText(0, 'привет', 6)
time.sleep(0.6)
press(main, 'push button', 'Сказать')
time.sleep(1)
press(app, 'menu item', 'Выход')
