// The menu bar of the main window: its items, their shortcuts and the
// commands they run.

#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "ui/codec.h"
#include "ui/status_bar.h"

namespace vb {

static_assert(static_cast<int>(MenuItem::Cpu31) == 5, "menuItems_ holds one action per item");

void TForm1::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setFont(QApplication::font());
  QPalette barPalette = bar->palette();
  barPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  bar->setPalette(barPalette);
  bar->setCursor(Qt::ArrowCursor);
  QPalette sbPalette = SB1_->palette();
  sbPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  SB1_->setPalette(sbPalette);
  SB1_->setAutoFillBackground(true);

  auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
    QAction* action = menu->addAction(tr8(caption));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  // A check mark is the session's or the appearance's to set: the click
  // itself does not toggle it.
  auto checkItem = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
    QAction* action = menu->addAction(tr8(caption));
    action->setObjectName(name);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [action, handler](bool checked) {
      action->setChecked(!checked);
      handler();
    });
    return action;
  };
  // A separator line that carries a shortcut: it cannot be chosen, but its
  // key runs the command while the item is enabled. The menu shows a bare
  // line; the key lives on a separator of the window itself, so that no
  // style writes the key's name beside the line.
  auto hiddenItem = [this](QMenu* menu, const char* name, QKeySequence key, auto handler) {
    menu->addSeparator()->setObjectName(QStringLiteral("%1Line").arg(QLatin1String(name)));
    auto* action = new QAction(this);
    action->setSeparator(true);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  auto mi = [this](MenuItem m) -> QAction*& { return menuItems_[static_cast<std::size_t>(m)]; };

  N1_ = bar->addMenu(tr8("&Система"));
  N1_->setObjectName("N1");
  item(N1_, "N2", "&Новый диалог", [this] { run([this] { session_->N2Click(); }); });
  N23_ = hiddenItem(N1_, "N23", QKeySequence(Qt::Key_F5),
                    [this] { run([this] { session_->N23Click(); }); });
  N23_->setEnabled(false);
  QMenu* n17 = N1_->addMenu(tr8("&Подробнее о базе:"));
  n17->setObjectName("N17");
  n17->menuAction()->setObjectName("N17");
  mi(MenuItem::N18) = item(n17, "N18", "&Входящие выражения:", [] {});
  mi(MenuItem::N19) = item(n17, "N19", "&Исходящие выражения:", [] {});
  mi(MenuItem::N20) = item(n17, "N20", "&Итого:", [] {});
  N3_ = hiddenItem(N1_, "N3", QKeySequence(Qt::CTRL | Qt::Key_Z),
                   [this] { run([this] { session_->N3Click(); }); });
  N3_->setEnabled(false);
  item(N1_, "N4", "В&ыход", [this] { run([this] { session_->N4Click(); }); });

  N5_ = bar->addMenu(tr8("&Настройки"));
  N5_->setObjectName("N5");
  item(N5_, "N6", "&Цвет основного фона ",
       [this] { sharedColourCommand(ColourTarget::MainBackground); });
  item(N5_, "N21", "Ц&вет фона поля вывода реплик",
       [this] { sharedColourCommand(ColourTarget::DialogueBackground); });
  item(N5_, "N16", "Цв&ет фона поля ввода реплик",
       [this] { sharedColourCommand(ColourTarget::InputBackground); });
  item(N5_, "N9", "Цве&т шрифтов кнопок на панели", [this] { buttonTextColourCommand(); });
  QMenu* n7 = N5_->addMenu(tr8("Цвет &реплик"));
  n7->setObjectName("N7");
  item(n7, "User1", "&User", [this] { lineColourCommand(true); });
  item(n7, "Cpu1", "&Cpu", [this] { lineColourCommand(false); });
  item(n7, "Mystring2", "&My string", [this] { sharedColourCommand(ColourTarget::InputText); });
  QMenu* n10 = N5_->addMenu(tr8("&Параметры шрифта"));
  n10->setObjectName("N10");
  item(n10, "User2", "&User", [this] { lineFontCommand(true); });
  item(n10, "Cpu2", "&Cpu", [this] { lineFontCommand(false); });
  item(n10, "Mystring1", "&My string", [this] { myStringFontCommand(); });
  N5_->addSeparator()->setObjectName("N8");
  N13_ = checkItem(N5_, "N13", "Вернуть первоначальные настройки", [this] { restoreCommand(); });
  N13_->setChecked(true);

  N25_ = bar->addMenu(tr8("Сервис"));
  N25_->setObjectName("N25");
  item(N25_, "N22", "&Вызвать виртуальную клавиатуру",
       [this] { run([this] { session_->N22Click(); }); });
  mi(MenuItem::N24) =
      checkItem(N25_, "N24", "Speed Word", [this] { run([this] { session_->N24Click(); }); });
  N40_ = checkItem(N25_, "N40", "&Full Screen", [this] { fullScreenCommand(); });
  N25_->addSeparator()->setObjectName("N14");
  QMenu* n37 = N25_->addMenu(tr8("&Режим"));
  n37->setObjectName("N37");
  mi(MenuItem::CpuUser1) = checkItem(n37, "CpuUser1", "&Cpu\\User",
                                     [this] { run([this] { session_->CpuUser1Click(); }); });
  mi(MenuItem::CpuUser1)->setChecked(true);
  mi(MenuItem::Cpu31) =
      checkItem(n37, "Cpu31", "C&pu\\Cpu", [this] { run([this] { session_->Cpu31Click(); }); });
  item(N25_, "N38", "Ре&дактор", [this] { run([this] { session_->N38Click(); }); });

  N11_ = bar->addMenu(tr8("С&правка"));
  N11_->setObjectName("N11");
  item(N11_, "N12", "&О программе...", [this] { run([this] { session_->N12Click(); }); });

  // Ctrl+S, which the E/R button's hint names: a click on that button.
  N36_ = new QAction(this);
  N36_->setObjectName("N36");
  N36_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  N36_->setShortcutContext(Qt::WindowShortcut);
  N36_->setEnabled(false);
  addAction(N36_);
  connect(N36_, &QAction::triggered, this, [this] { run([this] { session_->N36Click(); }); });
}

QAction& TForm1::action(MenuItem item) {
  return *menuItems_[static_cast<std::size_t>(item)];
}

void TForm1::setMenuCaption(MenuItem item, const std::string& caption) {
  action(item).setText(toQt(caption));
}

void TForm1::setChecked(MenuItem item, bool checked) {
  action(item).setChecked(checked);
}

}  // namespace vb
