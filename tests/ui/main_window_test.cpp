// The main window as it is built, the dialogue through Enter, the hidden
// shortcut items, the mode commands and the text-is-text rule.
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextDocument>
#include <QTextFragment>

#include "session/session.h"
#include "tests/ui/ui_fixture.h"
#include "ui/about_window.h"
#include "ui/dialogue_view.h"
#include "ui/editor_dialog.h"
#include "ui/fonts.h"
#include "ui/input_field.h"
#include "ui/keyboard_window.h"
#include "ui/main_window.h"
#include "ui/sound_bank.h"

namespace vb::uitest {
namespace {

class MainWindowTest : public UiTest {};

TEST_F(MainWindowTest, FourWindowsOnlyTheMainOneShown) {
  start();
  EXPECT_EQ(main().windowTitle(), q("-=ВЕРБОНИК=-   Разработчик: Дрозмир.   [v2.546b]"));
  EXPECT_TRUE(main().isVisible());
  EXPECT_EQ(program().editor().windowTitle(), q("Редактор"));
  EXPECT_EQ(program().about().windowTitle(), q("О программе"));
  EXPECT_EQ(program().keyboard().windowTitle(), q("Виртуальная клавиатура"));
  EXPECT_FALSE(program().editor().isVisible());
  EXPECT_FALSE(program().about().isVisible());
  EXPECT_FALSE(program().keyboard().isVisible());
  EXPECT_TRUE(takeErrors().empty());
}

TEST_F(MainWindowTest, FixedClientAreaWithoutMaximiseBox) {
  start();
  const int menu = main().menuBar()->height();
  EXPECT_EQ(main().width(), 587);
  EXPECT_EQ(main().height() - menu, 361);
  EXPECT_EQ(main().minimumSize(), main().maximumSize());
  EXPECT_FALSE(main().windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(main().windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(main().windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(main().palette().color(QPalette::Window), QColor(192, 192, 192));
  EXPECT_EQ(main().centralWidget()->cursor().shape(), Qt::ForbiddenCursor);
}

TEST_F(MainWindowTest, ElementsInTheirPlacesWithHintsAndPointers) {
  start();
  auto geometry = [&](const char* name) { return main().findChild<QWidget*>(name)->geometry(); };
  EXPECT_EQ(geometry("TabControl1"), QRect(0, 0, 588, 313));
  EXPECT_EQ(geometry("RE1"), QRect(3, 5, 581, 304));
  EXPECT_EQ(geometry("TabControl2"), QRect(0, 312, 585, 30));
  EXPECT_EQ(geometry("Input"), QRect(3, 5, 422, 21));
  EXPECT_EQ(geometry("Cancel"), QRect(426, 5, 27, 22));
  EXPECT_EQ(geometry("EnRus"), QRect(453, 5, 43, 22));
  EXPECT_EQ(geometry("Speak"), QRect(496, 5, 86, 22));
  EXPECT_LT(geometry("Talk").right(), 0);

  EXPECT_EQ(main().dialogueView().toolTip(), q("Поле для отображения диалога"));
  EXPECT_EQ(input().toolTip(), q("Поле для ввода фразы пользователя"));
  EXPECT_EQ(main().cancelButton().toolTip(), q("Отмена (Альтернатива клавиша: <Ctrl + Z>)"));
  EXPECT_EQ(main().enRusButton().toolTip(), q("Раскладка (Альтернатива клавиша: <Ctrl + S>)"));
  EXPECT_EQ(main().speakButton().toolTip(),
            q("Кнопка отправки текста (Альтернативная клавиша: <ENTER>)"));
  EXPECT_EQ(main().findChild<QWidget*>("SB1")->toolTip(), q("Индикатор"));
  EXPECT_EQ(main().talkButton().text(), q("<ENTER> (Для кнопки сказать)"));

  EXPECT_EQ(main().dialogueView().viewport()->cursor().shape(), Qt::ForbiddenCursor);
  EXPECT_EQ(main().findChild<QWidget*>("TabControl2")->cursor().shape(), Qt::ForbiddenCursor);
  EXPECT_EQ(main().speakButton().cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(main().findChild<QWidget*>("SB1")->cursor().shape(), Qt::WhatsThisCursor);
  EXPECT_TRUE(main().speakButton().isFlat());
  EXPECT_EQ(main().speakButton().focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(main().dialogueView().isReadOnly());

  EXPECT_EQ(main().statusPanel(0).width(), 130);
  EXPECT_EQ(main().statusPanel(1).width(), 322);
  EXPECT_GE(main().statusPanel(2).width(), 50);
  EXPECT_EQ(main().statusPanel(1).x(), 130);
  EXPECT_EQ(main().statusPanel(2).x(), 452);
  EXPECT_EQ(panel(2), q("Режим Cpu\\User"));
  EXPECT_EQ(panel(0), q("Загрузка окончена"));
  EXPECT_TRUE(panel(1).startsWith(q("Программе известно:   [главные фразы - ")));
}

TEST_F(MainWindowTest, MenusWithTheirCaptionsMarksAndShortcuts) {
  start();
  QStringList top;
  for (QAction* a : main().menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, QStringList({q("&Система"), q("&Настройки"), q("Сервис"), q("С&правка")}));

  auto captions = [&](const char* menuName) {
    QStringList list;
    for (QAction* a : main().findChild<QMenu*>(menuName)->actions()) {
      list << (a->isSeparator() ? QString("-") : a->text());
    }
    return list;
  };
  EXPECT_EQ(captions("N1"),
            QStringList({q("&Новый диалог"), "-", q("&Подробнее о базе:"), "-", q("В&ыход")}));
  EXPECT_EQ(captions("N5"),
            QStringList({q("&Цвет основного фона "), q("Ц&вет фона поля вывода реплик"),
                         q("Цв&ет фона поля ввода реплик"), q("Цве&т шрифтов кнопок на панели"),
                         q("Цвет &реплик"), q("&Параметры шрифта"), "-",
                         q("Вернуть первоначальные настройки")}));
  EXPECT_EQ(captions("N25"), QStringList({q("&Вызвать виртуальную клавиатуру"), "Speed Word",
                                          q("&Full Screen"), "-", q("&Режим"), q("Ре&дактор")}));
  EXPECT_EQ(captions("N7"), QStringList({"&User", "&Cpu", "&My string"}));
  EXPECT_EQ(captions("N10"), QStringList({"&User", "&Cpu", "&My string"}));
  EXPECT_EQ(captions("N37"), QStringList({"&Cpu\\User", "C&pu\\Cpu"}));
  EXPECT_EQ(captions("N11"), QStringList({q("&О программе...")}));

  EXPECT_TRUE(item("N23").isSeparator());
  EXPECT_EQ(item("N23").shortcut(), QKeySequence(Qt::Key_F5));
  EXPECT_TRUE(item("N3").isSeparator());
  EXPECT_EQ(item("N3").shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_TRUE(item("N13").isChecked());
  EXPECT_TRUE(item("CpuUser1").isChecked());
  EXPECT_FALSE(item("Cpu31").isChecked());
  EXPECT_FALSE(item("N24").isChecked());
  EXPECT_FALSE(item("N40").isChecked());
  // No other item has a shortcut.
  for (QAction* a : main().findChildren<QAction*>()) {
    if (a->objectName() == "N23" || a->objectName() == "N3" || a->objectName() == "N36") continue;
    EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
  }
}

TEST_F(MainWindowTest, EnterSendsOneTurnOnlyWithText) {
  start();
  const int before = lines();
  enter();
  advance(50);
  EXPECT_EQ(lines(), before);

  type(input(), q("привет"));
  advance(30);
  EXPECT_TRUE(main().speakButton().isEnabled());
  EXPECT_TRUE(main().talkButton().isEnabled());
  EXPECT_TRUE(main().enRusButton().isEnabled());
  enter();
  advance(30);
  ASSERT_GE(lines(), before + 2);
  EXPECT_EQ(line(before), q("Привет."));
  EXPECT_TRUE(main().input().text().isEmpty());
  advance(30);
  EXPECT_FALSE(main().speakButton().isEnabled());
  EXPECT_TRUE(main().cancelButton().isEnabled());

  // Each speaker's line in its style from Config.ini.
  const QTextCharFormat user = main().dialogueView().lineFormat(before);
  EXPECT_EQ(user.foreground().color(), QColor(0, 0, 128));
  EXPECT_EQ(user.fontPointSize(), 10);
  EXPECT_EQ(user.fontWeight(), QFont::Bold);
  EXPECT_FALSE(user.fontItalic());
  // Arial is drawn in its installed stand-in.
  EXPECT_EQ(user.fontFamilies().toStringList().value(0), drawingFamily("Arial"));
  const QTextCharFormat cpu = main().dialogueView().lineFormat(before + 1);
  EXPECT_EQ(cpu.foreground().color(), QColor(128, 0, 0));
  EXPECT_EQ(cpu.fontPointSize(), 12);
  EXPECT_TRUE(cpu.fontItalic());
  EXPECT_EQ(main().dialogueView().document()->findBlockByNumber(before).blockFormat().alignment() &
                Qt::AlignHorizontal_Mask,
            Qt::AlignHCenter);
  EXPECT_GE(program().sounds().requests(Cue::UserLine), 1);
  EXPECT_GE(program().sounds().requests(Cue::CpuLine), 1);
}

TEST_F(MainWindowTest, TypingClicksAndLongTypingStopsAt255) {
  start();
  const int clicks = program().sounds().requests(Cue::KeyClick);
  type(input(), "abc");
  EXPECT_EQ(program().sounds().requests(Cue::KeyClick), clicks + 3);
  EXPECT_EQ(program().session().input(), "abc");
  type(input(), QString(300, 'x'));
  EXPECT_EQ(main().input().text().size(), 255);
  EXPECT_EQ(program().session().input().size(), 255u);
}

TEST_F(MainWindowTest, PhrasesAreShownAsTypedNeverAsMarkup) {
  start();
  const int before = lines();
  type(input(), "<b>");
  advance(30);
  enter();
  advance(30);
  type(input(), "<img src=x>");
  advance(30);
  enter();
  advance(30);
  const QString plain = main().dialogueView().toPlainText();
  EXPECT_TRUE(plain.contains("<b>")) << plain.toStdString();
  EXPECT_TRUE(plain.contains("<img src=x>")) << plain.toStdString();
  EXPECT_EQ(line(before).left(3), "<b>");
  // Nothing was read as an image or as bold markup.
  for (QTextBlock b = main().dialogueView().document()->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      EXPECT_FALSE(it.fragment().charFormat().isImageFormat());
    }
  }
  // Labels show plain text as well.
  main().setStatus(0, "<b>x</b>");
  EXPECT_EQ(main().statusPanel(0).textFormat(), Qt::PlainText);
  EXPECT_EQ(panel(0), "<b>x</b>");
}

TEST_F(MainWindowTest, CtrlZUndoesAndF5CompletesThoughTheirItemsAreSeparators) {
  writeFile("Base\\dictionary.dat", {"привет", "пример"});
  start();
  type(input(), q("привет"));
  advance(30);
  enter();
  advance(30);
  const int after = lines();
  ASSERT_GT(after, 0);
  EXPECT_TRUE(item("N3").isEnabled());
  EXPECT_EQ(main().input().text(), "");
  EXPECT_FALSE(main().input().isUndoAvailable());
  pressKey(input(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(main().input().text(), "");
  advance(30);
  EXPECT_EQ(lines(), after - 1);

  choose("N24");
  advance(30);
  EXPECT_TRUE(item("N24").isChecked());
  EXPECT_EQ(panel(0), "[NONE]");
  EXPECT_FALSE(item("N23").isEnabled());
  type(input(), q("пр"));
  advance(30);
  EXPECT_EQ(panel(0), q("привет"));
  EXPECT_TRUE(item("N23").isEnabled());
  pressKey(input(), Qt::Key_F5);
  advance(30);
  EXPECT_EQ(main().input().text(), q("привет"));
  EXPECT_EQ(main().input().cursorPosition(), 0);

  // The menus show the two items as bare lines: no key name beside them.
  for (QMenu* menu : main().findChildren<QMenu*>()) {
    for (QAction* a : menu->actions()) {
      if (a->isSeparator()) {
        EXPECT_TRUE(a->shortcut().isEmpty() && a->text().isEmpty());
      }
    }
  }
}

TEST_F(MainWindowTest, ALongSpeedWordEntryIsShownWholeOrVisiblyCut) {
  writeFile("Base\\dictionary.dat", {"электромашиностроение"});
  start();
  choose("N24");
  type(input(), q("эле"));
  advance(30);
  EXPECT_EQ(panel(0), q("электромашиностроение"));
  const StatusPanel& shown = main().statusPanel(0);
  const QString drawn = shown.shownText();
  EXPECT_TRUE(drawn == panel(0) || drawn.endsWith(QChar(0x2026))) << drawn.toStdString();
  EXPECT_LE(shown.fontMetrics().horizontalAdvance(drawn),
            shown.contentsRect().width() - 2 * shown.indent());
}

TEST_F(MainWindowTest, ArrowKeysStepThroughTheDictionaryThroughTheHook) {
  writeFile("Base\\dictionary.dat", {"пра", "прб", "прв"});
  start();
  choose("N24");
  type(input(), q("пр"));
  advance(30);
  EXPECT_EQ(panel(0), q("пра"));
  pressKey(input(), Qt::Key_Down);
  advance(30);
  EXPECT_EQ(panel(0), q("прв"));
  pressKey(input(), Qt::Key_Down);
  advance(30);
  EXPECT_EQ(panel(0), "[NONE]");
}

TEST_F(MainWindowTest, ModesAddServiceLinesInTeal) {
  start();
  const int before = lines();
  choose("Cpu31");
  advance(30);
  EXPECT_EQ(panel(2), q("Режим Cpu\\Cpu"));
  EXPECT_TRUE(item("Cpu31").isChecked());
  EXPECT_FALSE(item("CpuUser1").isChecked());
  ASSERT_EQ(lines(), before + 1);
  EXPECT_EQ(line(before), q("Сервис:   // Режим диалога Cpu\\Cpu."));
  EXPECT_EQ(main().dialogueView().lineFormat(before).foreground().color(), QColor(0, 128, 128));
  choose("CpuUser1");
  advance(30);
  EXPECT_EQ(panel(2), q("Режим Cpu\\User"));
  EXPECT_TRUE(item("CpuUser1").isChecked());
  EXPECT_EQ(lines(), before + 3);
  EXPECT_EQ(line(before + 2), "");
}

TEST_F(MainWindowTest, WindowGeometryAndBusyPointerForTheSession) {
  start();
  const Rect before = main().windowRect();
  EXPECT_EQ(before.width, main().frameGeometry().width());
  main().setWindowRect({before.left - 3, before.top - 2, before.width - 10, before.height - 8});
  const Rect after = main().windowRect();
  EXPECT_EQ(after.width, before.width - 10);
  EXPECT_EQ(after.height, before.height - 8);
  EXPECT_EQ(after.left, before.left - 3);
  EXPECT_EQ(after.top, before.top - 2);
  const Rect desk = main().desktopRect();
  EXPECT_GT(desk.width, 0);
  main().busyCursor(true);
  main().busyCursor(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  main().busyCursor(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, ExitWritesTheLogAndTheCloseBoxDoesNot) {
  start();
  bool closed = false;
  program().onClosed([&] { closed = true; });
  type(input(), q("привет"));
  advance(30);
  enter();
  advance(30);
  const auto logBefore = readFile("Base\\Log.dat");
  main().close();
  EXPECT_TRUE(closed);
  EXPECT_EQ(readFile("Base\\Log.dat"), logBefore);
}

TEST_F(MainWindowTest, ExitCommandSavesTheDialogue) {
  start();
  bool closed = false;
  program().onClosed([&] { closed = true; });
  type(input(), q("как дела"));
  advance(30);
  enter();
  advance(30);
  choose("N4");
  EXPECT_TRUE(closed);
  EXPECT_FALSE(main().isVisible());
  bool found = false;
  std::string log;
  for (const auto& l : readFile("Base\\Log.dat")) {
    log += l + "\n";
    found = found || l.find("Как дела") != std::string::npos;
  }
  EXPECT_TRUE(found) << log;
}

TEST_F(MainWindowTest, LayoutConversionByButtonAndCtrlS) {
  start();
  type(input(), "ghbdtn");
  advance(30);
  const int sounds = program().sounds().requests(Cue::Conversion);
  QTest::mouseClick(&main().enRusButton(), Qt::LeftButton);
  EXPECT_EQ(main().input().text(), q("привет"));
  EXPECT_EQ(program().sounds().requests(Cue::Conversion), sounds + 1);
  pressKey(input(), Qt::Key_End);
  type(input(), " rfr");
  advance(30);
  pressKey(input(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(main().input().text(), q("привет как"));
  EXPECT_EQ(main().input().cursorPosition(), 0);
}

}  // namespace
}  // namespace vb::uitest
