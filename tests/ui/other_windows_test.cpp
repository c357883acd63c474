// The editor dialog, the About window and the virtual keyboard: opened from
// the main window, driven by their controls, closed by their commands and
// by the window system.
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "session/session.h"
#include "tests/ui/ui_fixture.h"
#include "ui/about_window.h"
#include "ui/caption_frame.h"
#include "ui/editor_dialog.h"
#include "ui/input_field.h"
#include "ui/keyboard_window.h"
#include "ui/main_window.h"
#include "ui/sound_bank.h"

namespace vb::uitest {
namespace {

class OtherWindowsTest : public UiTest {
 protected:
  void click(QPushButton& button) { QTest::mouseClick(&button, Qt::LeftButton); }
  void keys(std::initializer_list<const char*> names) {
    for (const char* name : names) click(program().keyboard().key(name));
  }
};

TEST_F(OtherWindowsTest, AboutFoldsUnfoldsAndClosesBackToTheMainWindow) {
  writeFile("ReadMe.Txt", {"История программы", "<b>не разметка</b>"});
  start();
  TForm3& about = program().about();
  choose("N12");
  EXPECT_TRUE(about.isVisible());
  EXPECT_FALSE(main().isEnabled());
  EXPECT_EQ(about.outerHeight(), 179);
  EXPECT_TRUE(about.Memo1().toPlainText().isEmpty());
  click(about.Button1());
  EXPECT_EQ(about.outerHeight(), 327);
  EXPECT_EQ(about.Memo1().toPlainText(), q("История программы\n<b>не разметка</b>"));
  click(about.Button1());
  EXPECT_EQ(about.outerHeight(), 179);
  click(about.Button1());
  EXPECT_EQ(about.outerHeight(), 327);
  click(about.Button2());
  EXPECT_FALSE(about.isVisible());
  EXPECT_TRUE(main().isEnabled());
  // Opened again: folded.
  choose("N12");
  EXPECT_EQ(about.outerHeight(), 179);
  // The window system's close acts as the close button.
  about.close();
  EXPECT_FALSE(about.isVisible());
  EXPECT_TRUE(main().isEnabled());
  EXPECT_FALSE(about.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(about.windowFlags() & Qt::WindowSystemMenuHint);
}

TEST_F(OtherWindowsTest, AboutContentAndMissingFiles) {
  std::filesystem::remove(folder_ / "ReadMe.Txt");
  std::filesystem::remove(folder_ / "Images" / "Foto.bmp");
  start();
  ASSERT_EQ(main().shownErrors().size(), 1u);
  EXPECT_EQ(main().shownErrors()[0], "Cannot open file Images\\Foto.bmp.");
  // Its box waited for the main window and stands in front of it.
  auto* box = main().findChild<QWidget*>("ErrorBox");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->isEnabled());
  TForm3& about = program().about();
  EXPECT_TRUE(about.Inform().pixmap().isNull());
  EXPECT_EQ(about.Inform().toolTip(), q("Здесь мне 5 лет."));
  EXPECT_TRUE(about.Label1().text().startsWith(q("Программа написана в среде")));
  EXPECT_TRUE(about.Label1().text().contains(q("ВЕРСИЯ: 2.546b")));
  takeErrors();
  choose("N12");
  click(about.Button1());
  ASSERT_EQ(main().shownErrors().size(), 2u);
  // While the About window is open, the box belongs to it.
  EXPECT_NE(about.findChild<QWidget*>("ErrorBox"), nullptr);
  EXPECT_EQ(main().shownErrors()[1], "Cannot open file ReadMe.Txt.");
  EXPECT_EQ(about.outerHeight(), 179);
}

TEST_F(OtherWindowsTest, ShippedPhotoIsShown) {
  start();
  EXPECT_FALSE(program().about().Inform().pixmap().isNull());
  EXPECT_TRUE(main().shownErrors().empty());
}

TEST_F(OtherWindowsTest, EditorShowsTheStoredPathAndSavesItOnOk) {
  start();
  TForm2& editor = program().editor();
  EXPECT_EQ(editor.Edit1().text(), "D:\\Txt.Dat");
  EXPECT_TRUE(editor.RB1().isChecked());
  EXPECT_FALSE(editor.SpinEdit1().isEnabled());
  EXPECT_EQ(editor.SpinEdit1().minimum(), 1);
  EXPECT_EQ(editor.SpinEdit1().maximum(), 36000);
  EXPECT_EQ(editor.RB2().text(), q("По таймеру  каждые:"));
  EXPECT_EQ(editor.Button1().text(), q("Хорошо"));
  EXPECT_EQ(editor.Button2().text(), q("Отмена"));

  choose("N38");
  EXPECT_TRUE(editor.isVisible());
  EXPECT_FALSE(main().isEnabled());
  EXPECT_EQ(editor.Edit1().text(), "Partner.txt");
  // The path changed as the dialog opened: the appearance is no longer the
  // initial one.
  EXPECT_FALSE(item("N13").isChecked());

  editor.Edit1().clear();
  QTest::keyClicks(&editor.Edit1(), "talk.txt");
  editor.RB2().click();
  EXPECT_TRUE(editor.SpinEdit1().isEnabled());
  editor.SpinEdit1().setValue(5);
  EXPECT_EQ(program().session().editor().path, "talk.txt");
  EXPECT_TRUE(program().session().editor().timerMode);
  EXPECT_EQ(program().session().editor().interval, 5);
  click(editor.Button1());
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(main().isEnabled());
  EXPECT_EQ(program().session().editor().interval, 5000);
  EXPECT_EQ(readFile("Config.ini").at(30), "Adres=talk.txt");
}

TEST_F(OtherWindowsTest, EditorCancelAndCloseKeepTheFileAndFreeTheMainWindow) {
  start();
  TForm2& editor = program().editor();
  choose("N38");
  editor.Edit1().setText("other.txt");
  click(editor.Button2());
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(main().isEnabled());
  EXPECT_EQ(readFile("Config.ini").at(30), "Adres=Partner.txt");
  EXPECT_EQ(program().session().editor().path, "other.txt");

  choose("N38");
  EXPECT_EQ(editor.Edit1().text(), "Partner.txt");
  EXPECT_EQ(editor.SpinEdit1().value(), 1);
  editor.close();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(main().isEnabled());
}

TEST_F(OtherWindowsTest, EditorWithAShortSettingsFileDoesNotOpen) {
  config_.resize(30);
  writeFile("Config.ini", config_);
  start();
  choose("N38");
  EXPECT_FALSE(program().editor().isVisible());
  EXPECT_TRUE(main().isEnabled());
  ASSERT_FALSE(main().shownErrors().empty());
  EXPECT_EQ(main().shownErrors().back(), "List index out of bounds (30)");
}

TEST_F(OtherWindowsTest, KeyboardTypesWithCapsLockAndBackspace) {
  start();
  TForm4& kb = program().keyboard();
  choose("N22");
  EXPECT_TRUE(kb.isVisible());
  EXPECT_FALSE(main().isEnabled());
  EXPECT_FALSE(kb.key("SB62").isEnabled());
  EXPECT_FALSE(kb.key("SB66").isEnabled());
  EXPECT_EQ(kb.key("SB63").text(), q("Caps Lock [не нажат]"));

  const int clicks = program().sounds().requests(Cue::KeyClick);
  keys({"SB45", "SB46", "SB38", "SB31", "SB34", "SB48"});
  EXPECT_EQ(main().input().text(), q("привет"));
  EXPECT_EQ(program().sounds().requests(Cue::KeyClick), clicks + 6);
  EXPECT_TRUE(kb.key("SB62").isEnabled());
  EXPECT_TRUE(kb.key("SB66").isEnabled());
  EXPECT_EQ(main().input().cursorPosition(), 0);

  click(kb.key("SB63"));
  EXPECT_EQ(kb.key("SB63").text(), q("Caps Lock [нажат]"));
  EXPECT_EQ(program().sounds().requests(Cue::KeyClick), clicks + 6);
  keys({"SB23", "SB35", "SB18", "SB25", "SB7"});
  EXPECT_EQ(main().input().text(), q("привет Ё[<&"));
  click(kb.key("SB63"));
  keys({"SB35"});
  EXPECT_EQ(main().input().text(), q("привет Ё[<&ё"));

  main().input().setWholeText("x");
  program().session().InputChange("x");
  click(kb.key("SB62"));
  EXPECT_EQ(main().input().text(), "");
  EXPECT_FALSE(kb.key("SB62").isEnabled());
  EXPECT_FALSE(kb.key("SB66").isEnabled());
  keys({"SB29"});
  EXPECT_TRUE(kb.key("SB62").isEnabled());

  // Hidden and shown again: Caps Lock stays as it was.
  click(kb.key("SB63"));
  kb.hideItem().trigger();
  EXPECT_FALSE(kb.isVisible());
  EXPECT_TRUE(main().isEnabled());
  choose("N22");
  EXPECT_EQ(kb.key("SB63").text(), q("Caps Lock [нажат]"));
  // The window system's close acts as the hide command.
  kb.close();
  EXPECT_FALSE(kb.isVisible());
  EXPECT_TRUE(main().isEnabled());
}

TEST_F(OtherWindowsTest, KeyboardEnterSendsAndF5AppendsTheHandedCompletion) {
  writeFile("Base\\dictionary.dat", {"привет", "пример"});
  start();
  choose("N24");
  type(input(), q("прив"));
  advance(30);
  ASSERT_EQ(panel(0), q("привет"));
  choose("N22");
  TForm4& kb = program().keyboard();
  EXPECT_EQ(kb.completeItem().shortcut(), QKeySequence(Qt::Key_F5));
  kb.completeItem().trigger();
  EXPECT_EQ(main().input().text(), q("привет"));
  kb.completeItem().trigger();
  EXPECT_EQ(main().input().text(), q("приветет"));

  const int before = lines();
  click(kb.key("SB66"));
  EXPECT_GE(lines(), before + 2);
  EXPECT_EQ(line(before), q("Приветет."));
  EXPECT_TRUE(main().input().text().isEmpty());
  EXPECT_TRUE(kb.isVisible());
}

TEST_F(OtherWindowsTest, KeyboardLayout) {
  start();
  TForm4& kb = program().keyboard();
  EXPECT_EQ(kb.width(), 353);
  EXPECT_FALSE(kb.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(kb.key("SB4").geometry(), QRect(33, 15, 16, 17));
  EXPECT_EQ(kb.key("SB65").geometry().left(), 33 + 14 * 16);
  EXPECT_EQ(kb.key("SB28").geometry(), QRect(65, 34, 16, 17));
  EXPECT_EQ(kb.key("SB29").geometry(), QRect(8, 15, 17, 17));
  EXPECT_EQ(kb.key("SB46").geometry(), QRect(16, 34, 17, 17));
  EXPECT_EQ(kb.key("SB62").size(), QSize(41, 50));
  EXPECT_EQ(kb.key("SB66").size(), QSize(41, 51));
  EXPECT_EQ(kb.key("SB23").size(), QSize(134, 22));
  EXPECT_EQ(kb.key("SB63").size(), QSize(123, 22));
  EXPECT_EQ(kb.key("SB7").text(), "&&");
  EXPECT_EQ(kb.key("SB35").text(), q("Ё"));
  for (auto* button : kb.findChildren<QPushButton*>()) {
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(button->isFlat());
  }
  QStringList groups;
  for (auto* g : kb.findChildren<CaptionFrame*>()) {
    groups << g->caption();
    EXPECT_EQ(g->palette().color(QPalette::WindowText), QColor(Qt::white));
  }
  EXPECT_EQ(groups, QStringList({q("Знаки:"), q("Буквы:")}));
}

}  // namespace
}  // namespace vb::uitest
