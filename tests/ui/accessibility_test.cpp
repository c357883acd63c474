// What a screen reader is given: the accessibility tree of the main window
// dumped and checked; the About window is a dialog; a minimised dialog
// leaves the main window usable.

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QTest>
#include <iostream>

#include "input/virtual_keyboard.h"
#include "tests/ui/ui_fixture.h"
#include "ui/about_window.h"
#include "ui/dialogue_view.h"
#include "ui/keyboard_window.h"
#include "ui/main_window.h"

namespace vb::uitest {
namespace {

class AccessibilityTest : public UiTest {
 protected:
  // Every interface below `node` as "role name", depth first.
  void dump(QAccessibleInterface* node, QStringList& out, int depth = 0) {
    if (!node || depth > 12) return;
    out << QString(depth * 2, ' ') + QString::number(node->role(), 16) + " " +
               node->text(QAccessible::Name);
    for (int i = 0; i < node->childCount(); ++i) dump(node->child(i), out, depth + 1);
  }
};

TEST_F(AccessibilityTest, ControlsAreNamedInRussianAndTheDialogueSaysWhoSpoke) {
  start();
  type(input(), q("привет"));
  advance(30);
  enter();
  advance(30);

  QStringList tree;
  dump(QAccessible::queryAccessibleInterface(&main()), tree);
  std::cout << tree.join('\n').toStdString() << "\n";
  const QString all = tree.join('\n');
  for (const char* name : {"Ваша фраза", "Диалог", "Отмена", "Раскладка", "Сказать"}) {
    EXPECT_TRUE(all.contains(q(name))) << name;
  }
  // The default button outside the window is not offered.
  EXPECT_FALSE(all.contains(q("<ENTER>")));

  QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&main().dialogueView());
  ASSERT_NE(view->textInterface(), nullptr);
  const QString spoken = view->textInterface()->text(0, view->textInterface()->characterCount());
  EXPECT_TRUE(spoken.contains(q("Вы: Привет."))) << spoken.toStdString();
  EXPECT_TRUE(spoken.contains(q("\nВербоник: "))) << spoken.toStdString();
  // What is drawn stays the bare phrase.
  EXPECT_EQ(line(lines() - 2), q("Привет."));

  EXPECT_EQ(QAccessible::queryAccessibleInterface(&program().about())->role(), QAccessible::Dialog);

  // Every key of the virtual keyboard is named in words, never by a bare sign.
  for (const VirtualKey& key : virtualKeys()) {
    const QString name =
        QAccessible::queryAccessibleInterface(&program().keyboard().key(std::string(key.name)))
            ->text(QAccessible::Name);
    ASSERT_FALSE(name.isEmpty()) << key.name;
    EXPECT_TRUE(name.front().isLetter()) << key.name << " " << name.toStdString();
  }
}

TEST_F(AccessibilityTest, AMinimisedDialogClosesAndTheMainWindowIsUsableAgain) {
  start();
  for (const char* command : {"N12", "N22"}) {
    QWidget& dialog = command == std::string("N12") ? static_cast<QWidget&>(program().about())
                                                    : static_cast<QWidget&>(program().keyboard());
    choose(command);
    ASSERT_FALSE(main().isEnabled());
    dialog.setWindowState(Qt::WindowMinimized);
    QTest::qWait(20);
    EXPECT_FALSE(dialog.isVisible()) << command;
    EXPECT_TRUE(main().isEnabled()) << command;
    EXPECT_FALSE(dialog.isMinimized()) << command;
  }
}

}  // namespace
}  // namespace vb::uitest
