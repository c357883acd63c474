// Config.ini applied to the window, and the appearance commands with their
// colour and font dialogs confirmed and cancelled.
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QMenuBar>

#include "session/session.h"
#include "tests/ui/ui_fixture.h"
#include "ui/about_window.h"
#include "ui/appearance.h"
#include "ui/dialogue_view.h"
#include "ui/editor_dialog.h"
#include "ui/font_dialog_setup.h"
#include "ui/fonts.h"
#include "ui/input_field.h"
#include "ui/main_window.h"

namespace vb::uitest {
namespace {

class AppearanceTest : public UiTest {
 protected:
  QColor base(QWidget& w) { return w.palette().color(QPalette::Active, QPalette::Base); }
  QColor buttonText(QWidget& w) {
    return w.palette().color(QPalette::Active, QPalette::ButtonText);
  }

  static std::function<void(QDialog&)> pickColour(QColor colour) {
    return [colour](QDialog& d) {
      auto& dialog = static_cast<QColorDialog&>(d);
      dialog.setCurrentColor(colour);
      dialog.accept();
    };
  }
  static std::function<void(QDialog&)> pickFont(QFont font) {
    return [font](QDialog& d) {
      auto& dialog = static_cast<QFontDialog&>(d);
      presetFontDialog(dialog, font);
      dialog.accept();
    };
  }
  static void cancel(QDialog& d) { d.reject(); }

  void sayHello() {
    type(input(), q("привет"));
    advance(30);
    enter();
    advance(30);
  }
};

TEST_F(AppearanceTest, SettingsFileGivesColoursAndStyles) {
  start();
  EXPECT_EQ(main().palette().color(QPalette::Window), QColor(192, 192, 192));
  EXPECT_EQ(base(main().dialogueView()), QColor(255, 255, 255));
  EXPECT_EQ(base(main().input()), QColor(240, 255, 240));
  EXPECT_EQ(buttonText(main().speakButton()), QColor(255, 0, 0));
  EXPECT_EQ(buttonText(main().cancelButton()), QColor(0, 128, 0));
  EXPECT_EQ(buttonText(main().enRusButton()), QColor(0, 0, 255));
  EXPECT_EQ(main().input().palette().color(QPalette::Text), QColor(0, 0, 0));
  const Appearance& a = main().appearance();
  EXPECT_EQ(a.user(), (LineStyle{8388608, "Arial", 10, FontStyle::Bold}));
  EXPECT_EQ(a.cpu(), (LineStyle{128, "Courier New", 12, FontStyle::Italic}));
  EXPECT_EQ(a.myStringPreset(), (FontPreset{"Arial", FontStyle::Regular}));
  // The input field keeps the font the window is built with.
  EXPECT_EQ(main().input().font().pointSize(), 8);
  EXPECT_FALSE(main().input().font().bold());
  EXPECT_TRUE(takeErrors().empty());
}

TEST_F(AppearanceTest, SystemColourByNegativeIndex) {
  writeConfigLine(8, "DialogColor=-16777201");  // the button face
  start();
  EXPECT_EQ(base(main().dialogueView()), QApplication::palette().color(QPalette::Button));
}

TEST_F(AppearanceTest, BadNumberStopsTheSettingsAndTheHook) {
  writeConfigLine(7, "MainColor=255");
  writeConfigLine(8, "DialogColor=65280");
  writeConfigLine(9, "InputColor=abc");
  writeFile("Base\\dictionary.dat", {"пра", "прб", "прв"});
  start();
  ASSERT_EQ(main().shownErrors().size(), 1u);
  EXPECT_EQ(main().shownErrors()[0], "'abc' is not a valid integer value.");
  const auto boxes = takeErrors();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(main().palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(base(main().dialogueView()), QColor(0, 255, 0));
  EXPECT_EQ(base(main().input()), QColor(192, 192, 192));
  EXPECT_EQ(main().appearance().user(), LineStyle{});
  EXPECT_FALSE(program().session().hookInstalled());
  EXPECT_TRUE(main().isVisible());
}

TEST_F(AppearanceTest, ShortSettingsFileAndMissingFile) {
  writeFile("Config.ini", {"a", "b", "c", "d", "e", "f", "7", "8", "9", "10"});
  start();
  ASSERT_EQ(main().shownErrors().size(), 1u);
  EXPECT_EQ(main().shownErrors()[0], "List index out of bounds (11)");
  program_.reset();
  takeErrors();
  std::filesystem::remove(folder_ / "Config.ini");
  start();
  ASSERT_EQ(main().shownErrors().size(), 1u);
  EXPECT_EQ(main().shownErrors()[0], "Cannot open file Config.ini.");
}

TEST_F(AppearanceTest, SharedColourDialogConfirmedAndCancelled) {
  start();
  auto& dialog = main().colorDialog(1);
  answerDialogs(dialog, {pickColour(QColor(10, 20, 30))});
  choose("N6");
  EXPECT_EQ(main().palette().color(QPalette::Window), QColor(10, 20, 30));
  EXPECT_FALSE(item("N13").isChecked());
  EXPECT_EQ(main().appearance().sharedDialogColour(), 10 | 20 << 8 | 30 << 16);

  // The next command opens at the last confirmed colour; cancelling keeps
  // the view's background.
  QColor seen;
  answerDialogs(dialog, {[&](QDialog& d) {
                  seen = static_cast<QColorDialog&>(d).currentColor();
                  d.reject();
                }});
  choose("N21");
  EXPECT_EQ(seen, QColor(10, 20, 30));
  EXPECT_EQ(base(main().dialogueView()), QColor(255, 255, 255));

  answerDialogs(dialog, {pickColour(QColor(1, 2, 3))});
  choose("N16");
  EXPECT_EQ(base(main().input()), QColor(1, 2, 3));
  answerDialogs(dialog, {pickColour(QColor(200, 0, 200))});
  choose("Mystring2");
  EXPECT_EQ(main().input().palette().color(QPalette::Text), QColor(200, 0, 200));
}

TEST_F(AppearanceTest, ButtonTextDialogShowsThreeTimes) {
  start();
  answerDialogs(main().colorDialog(1),
                {pickColour(QColor(11, 11, 11)), cancel, pickColour(QColor(33, 33, 33))});
  choose("N9");
  EXPECT_EQ(buttonText(main().speakButton()), QColor(11, 11, 11));
  EXPECT_EQ(buttonText(main().cancelButton()), QColor(0, 128, 0));
  EXPECT_EQ(buttonText(main().enRusButton()), QColor(33, 33, 33));
}

TEST_F(AppearanceTest, CancelledCommandStillClearsTheMark) {
  start();
  EXPECT_TRUE(item("N13").isChecked());
  answerDialogs(main().fontDialog(1), {cancel});
  choose("User2");
  EXPECT_FALSE(item("N13").isChecked());
  EXPECT_EQ(main().appearance().user(), (LineStyle{8388608, "Arial", 10, FontStyle::Bold}));
}

TEST_F(AppearanceTest, ProgramColourReachesLaterLinesOnly) {
  start();
  sayHello();
  const int earlier = lines() - 1;
  // Nothing selected: the earlier lines keep their colour.
  answerDialogs(main().colorDialog(3), {pickColour(QColor(0, 150, 0))});
  choose("Cpu1");
  EXPECT_EQ(main().dialogueView().lineFormat(earlier).foreground().color(), QColor(128, 0, 0));
  sayHello();
  EXPECT_EQ(main().dialogueView().lineFormat(lines() - 1).foreground().color(), QColor(0, 150, 0));

  // A selection takes the new user colour at once.
  QTextCursor all(main().dialogueView().document());
  all.select(QTextCursor::Document);
  main().dialogueView().setTextCursor(all);
  answerDialogs(main().colorDialog(2), {pickColour(QColor(5, 5, 5))});
  choose("User1");
  EXPECT_EQ(main().dialogueView().lineFormat(earlier).foreground().color(), QColor(5, 5, 5));
  EXPECT_EQ(main().appearance().user().colour, 0x050505);
}

// The dialogs open on the current face (drawn in its installed stand-in),
// size and style, in Russian; OK without a change keeps the Windows name.
TEST_F(AppearanceTest, FontDialogsOpenOnTheCurrentFontAndOkChangesNothing) {
  start();
  QFont shown;
  auto look = [&shown](QDialog& d) {
    shown = static_cast<QFontDialog&>(d).currentFont();
    d.accept();
  };
  const LineStyle user = main().appearance().user();
  answerDialogs(main().fontDialog(1), {look});
  choose("User2");
  EXPECT_EQ(shown.family(), drawingFamily("Arial"));
  EXPECT_EQ(shown.pointSize(), 10);
  EXPECT_TRUE(shown.bold());
  EXPECT_FALSE(shown.italic());
  EXPECT_EQ(main().appearance().user().fontName, "Arial");
  EXPECT_EQ(main().appearance().user().size, user.size);
  EXPECT_EQ(main().appearance().user().style, FontStyle::Bold);

  answerDialogs(main().fontDialog(2), {look});
  choose("Cpu2");
  EXPECT_EQ(shown.family(), drawingFamily("Courier New"));
  EXPECT_TRUE(shown.italic());
  EXPECT_EQ(main().appearance().cpu().fontName, "Courier New");
  EXPECT_EQ(main().appearance().cpu().style, FontStyle::Italic);
  EXPECT_EQ(main().fontDialog(2).windowTitle(), q("Выбор шрифта"));
}

TEST_F(AppearanceTest, FontDialogsSetTheLineStyles) {
  start();
  QFont chosen("DejaVu Serif", 14);
  chosen.setBold(true);
  chosen.setItalic(true);
  answerDialogs(main().fontDialog(2), {pickFont(chosen)});
  choose("Cpu2");
  const LineStyle& cpu = main().appearance().cpu();
  EXPECT_EQ(cpu.fontName, "DejaVu Serif");
  EXPECT_EQ(cpu.size, 14);
  EXPECT_EQ(cpu.style, FontStyle::BoldItalic);
  sayHello();
  const QTextCharFormat format = main().dialogueView().lineFormat(lines() - 1);
  EXPECT_EQ(format.fontPointSize(), 14);
  EXPECT_EQ(format.fontWeight(), QFont::Bold);
  EXPECT_TRUE(format.fontItalic());
}

TEST_F(AppearanceTest, MyStringCancelledStillGivesThePresetStyle) {
  writeConfigLine(28, "MyStringFontStyle=[fsBold]");
  start();
  EXPECT_FALSE(main().input().font().bold());
  answerDialogs(main().fontDialog(3), {cancel});
  choose("Mystring1");
  EXPECT_TRUE(main().input().font().bold());
  EXPECT_EQ(main().input().font().pointSize(), 8);

  QFont chosen("DejaVu Sans Mono", 20);
  chosen.setItalic(true);
  answerDialogs(main().fontDialog(3), {pickFont(chosen)});
  choose("Mystring1");
  EXPECT_EQ(main().input().font().family(), "DejaVu Sans Mono");
  EXPECT_TRUE(main().input().font().italic());
  EXPECT_FALSE(main().input().font().bold());
  EXPECT_EQ(main().input().font().pointSize(), 8);
}

TEST_F(AppearanceTest, FontDialogsOfferNoEffectsAndMyStringOnlyEightPoints) {
  start();
  for (int number = 1; number <= 3; ++number) {
    for (auto* box : main().fontDialog(number).findChildren<QCheckBox*>()) {
      EXPECT_FALSE(box->isVisibleTo(&main().fontDialog(number))) << number;
    }
  }
  QFont seen;
  answerDialogs(main().fontDialog(3), {[&](QDialog& d) {
                  auto& dialog = static_cast<QFontDialog&>(d);
                  seen = dialog.currentFont();
                  dialog.accept();
                }});
  choose("Mystring1");
  EXPECT_EQ(seen.pointSize(), 8);
  EXPECT_EQ(main().input().font().pointSize(), 8);
}

TEST_F(AppearanceTest, RestoreReturnsTheBuiltInLookAndKeepsTheMark) {
  start();
  answerDialogs(main().colorDialog(1), {pickColour(QColor(10, 20, 30))});
  choose("N6");
  program().session().editor().path = "elsewhere.txt";
  program().session().editor().interval = 7;
  choose("N13");
  EXPECT_TRUE(item("N13").isChecked());
  EXPECT_EQ(main().palette().color(QPalette::Window), QColor(192, 192, 192));
  EXPECT_EQ(base(main().dialogueView()), QColor(192, 192, 192));
  EXPECT_EQ(base(main().input()), QColor(192, 192, 192));
  EXPECT_EQ(buttonText(main().speakButton()), QColor(0, 0, 0));
  EXPECT_TRUE(main().input().font().bold());
  EXPECT_EQ(main().appearance().user(), LineStyle{});
  EXPECT_EQ(main().appearance().cpu(), LineStyle{});
  EXPECT_EQ(main().appearance().sharedDialogColour(), 0);
  EXPECT_EQ(program().session().editor().path, "D:\\Txt.Dat");
  EXPECT_EQ(program().session().editor().interval, 1000);
  EXPECT_EQ(program().editor().Edit1().text(), "D:\\Txt.Dat");
  EXPECT_EQ(program().about().outerHeight(), 179);
  // Restoring right after start also makes the input bold.
  EXPECT_TRUE(item("N13").isChecked());
}

TEST_F(AppearanceTest, FullScreenAndBackPutsEveryElementInItsPlace) {
  start();
  choose("N40");
  EXPECT_TRUE(item("N40").isChecked());
  EXPECT_EQ(item("N40").text(), "Normal");
  const int W = main().width() + 5;
  const int H = main().height() - main().menuBar()->height() + 44;
  auto geometry = [&](const char* name) { return main().findChild<QWidget*>(name)->geometry(); };
  EXPECT_GT(main().width(), 587);
  EXPECT_EQ(geometry("TabControl1").size(), QSize(W - 4, H - 92));
  EXPECT_EQ(geometry("RE1").size(), QSize(W - 11, H - 101));
  EXPECT_EQ(geometry("TabControl2").top(), H - 93);
  EXPECT_EQ(geometry("TabControl2").width(), W - 5);
  EXPECT_EQ(geometry("Speak").left(), W - 93);
  EXPECT_EQ(geometry("EnRus").left(), W - 136);
  EXPECT_EQ(geometry("Cancel").left(), W - 163);
  EXPECT_EQ(geometry("Input").width(), W - 167);

  choose("N40");
  EXPECT_FALSE(item("N40").isChecked());
  EXPECT_EQ(item("N40").text(), "Full Screen");
  EXPECT_EQ(main().width(), 587);
  EXPECT_EQ(main().height() - main().menuBar()->height(), 361);
  EXPECT_EQ(geometry("TabControl1"), QRect(0, 0, 588, 313));
  EXPECT_EQ(geometry("RE1"), QRect(3, 5, 581, 305));
  EXPECT_EQ(geometry("TabControl2"), QRect(0, 312, 585, 30));
  EXPECT_EQ(geometry("Input"), QRect(3, 5, 422, 21));
  EXPECT_EQ(geometry("Cancel"), QRect(426, 5, 27, 22));
  EXPECT_EQ(geometry("EnRus"), QRect(453, 5, 43, 22));
  EXPECT_EQ(geometry("Speak"), QRect(496, 5, 86, 22));
}

}  // namespace
}  // namespace vb::uitest
