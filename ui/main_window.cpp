#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFocusEvent>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTextCharFormat>

#include "engine/failure.h"
#include "ui/about_window.h"
#include "ui/codec.h"
#include "ui/colour.h"
#include "ui/dialogue_view.h"
#include "ui/editor_dialog.h"
#include "ui/font_dialog_setup.h"
#include "ui/fonts.h"
#include "ui/input_field.h"
#include "ui/keyboard_window.h"
#include "ui/session_driver.h"
#include "ui/sound_bank.h"
#include "ui/status_bar.h"

namespace vb {
namespace {

static_assert(static_cast<int>(MenuItem::Cpu31) == 5, "menuItems_ holds one action per item");

QFont builtInFont() {
  return makeFont("MS Sans Serif", 8, FontStyle::Regular);
}

void setRole(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Active, role, colour);
  palette.setColor(QPalette::Inactive, role, colour);
  if (role == QPalette::Window || role == QPalette::Base) {
    palette.setColor(QPalette::Disabled, role, colour);
  }
  widget->setPalette(palette);
}

QPushButton* flatButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
  auto* button = new QPushButton(tr8(caption), parent);
  button->setObjectName(name);
  button->setFlat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setCursor(Qt::PointingHandCursor);
  button->setToolTip(tr8(hint));
  button->setEnabled(false);
  return button;
}

}  // namespace

QString programTitle() {
  return tr8("Вербоник");
}

TForm1::TForm1(SoundBank& sounds, FileStore& files)
    : sounds_(sounds), files_(files), appearance_(*this) {
  setObjectName("Form1");
  setWindowTitle(tr8("-=ВЕРБОНИК=-   Разработчик: Дрозмир.   [v2.546b]"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(builtInFont());
  setAutoFillBackground(true);
  buildElements();
  buildMenus();
  showColour(ColourTarget::MainBackground, kSilver);
  showColour(ColourTarget::DialogueBackground, kSilver);
  showColour(ColourTarget::InputBackground, kSilver);
  applyFixedClientSize(kClientWidth, kClientHeight);
  layOutElements(false);
}

TForm1::~TForm1() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void TForm1::buildElements() {
  central_ = new QWidget(this);
  central_->setObjectName("ClientArea");
  central_->setCursor(Qt::ForbiddenCursor);
  setCentralWidget(central_);

  TabControl1_ = new QFrame(central_);
  TabControl1_->setObjectName("TabControl1");
  TabControl1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  RE1_ = new DialogueView(TabControl1_);
  RE1_->setObjectName("RE1");
  RE1_->setToolTip(tr8("Поле для отображения диалога"));
  RE1_->setCursor(Qt::ForbiddenCursor);
  // The selection stays visible when the view loses the focus.
  QPalette viewPalette = RE1_->palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    viewPalette.setColor(QPalette::Inactive, role, viewPalette.color(QPalette::Active, role));
  }
  RE1_->setPalette(viewPalette);

  TabControl2_ = new QFrame(central_);
  TabControl2_->setObjectName("TabControl2");
  TabControl2_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  TabControl2_->setCursor(Qt::ForbiddenCursor);

  Input_ = new InputField(TabControl2_);
  Input_->setObjectName("Input");
  Input_->setToolTip(tr8("Поле для ввода фразы пользователя"));
  Input_->setCursor(Qt::IBeamCursor);
  Input_->setFont(builtInFont());
  Input_->installEventFilter(this);

  Cancel_ = flatButton(TabControl2_, "Cancel", "<", "Отмена (Альтернатива клавиша: <Ctrl + Z>)");
  EnRus_ = flatButton(TabControl2_, "EnRus", "E/R", "Раскладка (Альтернатива клавиша: <Ctrl + S>)");
  Speak_ = flatButton(TabControl2_, "Speak", "Сказать",
                      "Кнопка отправки текста (Альтернативная клавиша: <ENTER>)");
  // The default action lies outside the visible area; Enter presses it.
  Talk_ = new QPushButton(tr8("<ENTER> (Для кнопки сказать)"), TabControl2_);
  Talk_->setObjectName("Talk");
  Talk_->setFocusPolicy(Qt::NoFocus);
  Talk_->setEnabled(false);

  SB1_ = new StatusBar(this);
  SB1_->setObjectName("SB1");
  SB1_->setToolTip(tr8("Индикатор"));
  SB1_->setCursor(Qt::WhatsThisCursor);
  setStatusBar(SB1_);
  SB1_->panel(2).setText(tr8("Режим Cpu\\User"));

  for (int i = 0; i < 3; ++i) {
    auto* colour = new QColorDialog(this);
    colour->setObjectName(QStringLiteral("ColorDialog%1").arg(i + 1));
    colour->setOption(QColorDialog::DontUseNativeDialog);
    colorDialogs_[static_cast<std::size_t>(i)] = colour;
    auto* font = new QFontDialog(this);
    font->setObjectName(QStringLiteral("FontDialog%1").arg(i + 1));
    font->setOption(QFontDialog::DontUseNativeDialog);
    limitFontDialog(*font, i == 2);
    fontDialogs_[static_cast<std::size_t>(i)] = font;
  }

  connect(Speak_, &QPushButton::clicked, this, [this] { run([this] { session_->SpeakClick(); }); });
  connect(Talk_, &QPushButton::clicked, this, [this] { run([this] { session_->TalkClick(); }); });
  connect(Cancel_, &QPushButton::clicked, this,
          [this] { run([this] { session_->CancelClick(); }); });
  connect(EnRus_, &QPushButton::clicked, this, [this] { run([this] { session_->EnRusClick(); }); });
  connect(Input_, &QLineEdit::returnPressed, this,
          [this] { run([this] { session_->TalkClick(); }); });
  connect(Input_, &QLineEdit::textEdited, this, [this](const QString& typed) {
    std::string text = fromQt(typed);
    const QString shown = toQt(text);
    if (shown != typed) {
      // A character the program's code page lacks stands as '?'.
      const int caret = Input_->cursorPosition();
      Input_->setWholeText(shown);
      Input_->setCursorPosition(caret);
    }
    run([this, text] { session_->InputChange(text); });
  });
}

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
  // key runs the command while the item is enabled.
  auto hiddenItem = [this](QMenu* menu, const char* name, QKeySequence key, auto handler) {
    QAction* action = menu->addSeparator();
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

void TForm1::attach(Session& session, SessionDriver& driver) {
  session_ = &session;
  driver_ = &driver;
}

void TForm1::attachWindows(TForm2& editor, TForm3& about, TForm4& keyboard) {
  editor_ = &editor;
  about_ = &about;
  keyboard_ = &keyboard;
}

template <typename Command>
void TForm1::run(Command command) {
  if (!session_ || !driver_) return;
  driver_->command(command);
}

int TForm1::menuHeight() const {
  return menuBar()->sizeHint().height();
}

void TForm1::applyFixedClientSize(int width, int height) {
  setFixedSize(width, height + menuHeight());
}

void TForm1::layOutElements(bool fullScreen) {
  if (!fullScreen) {
    TabControl1_->setGeometry(0, 0, 588, 313);
    RE1_->setGeometry(3, 5, 581, leftFullScreen_ ? 305 : 304);
    TabControl2_->setGeometry(0, 312, 585, 30);
    Input_->setGeometry(3, 5, 422, 21);
    Cancel_->setGeometry(426, 5, 27, 22);
    EnRus_->setGeometry(453, 5, 43, 22);
    Speak_->setGeometry(496, 5, 86, 22);
  } else {
    // The outer size as the window frame of the original measures it: the
    // client plus 5 pixels across and 44 down (frame, caption, menu bar).
    const int W = width() + 5;
    const int H = height() - menuHeight() + 44;
    TabControl1_->setGeometry(0, 0, W - 4, H - 92);
    RE1_->setGeometry(3, 5, W - 11, H - 101);
    TabControl2_->setGeometry(0, H - 93, W - 5, 30);
    Input_->setGeometry(3, 5, W - 167, 21);
    Cancel_->setGeometry(W - 163, 5, 27, 22);
    EnRus_->setGeometry(W - 136, 5, 43, 22);
    Speak_->setGeometry(W - 93, 5, 86, 22);
  }
  Talk_->setGeometry(-200, 5, 150, 22);
}

QTextCharFormat TForm1::lineFormat(const LineStyle& style) const {
  QTextCharFormat format;
  format.setForeground(toQColor(style.colour));
  format.setFont(makeFont(style.fontName, style.size, style.style));
  return format;
}

// ---- View -------------------------------------------------------------

void TForm1::appendLine(LineKind kind, const std::string& text) {
  switch (kind) {
    case LineKind::User:
      RE1_->appendLine(toQt(text), lineFormat(appearance_.user()));
      break;
    case LineKind::Cpu:
      RE1_->appendLine(toQt(text), lineFormat(appearance_.cpu()));
      break;
    case LineKind::Service:
      RE1_->appendLineAtCaret(toQt(text), toQColor(kTeal));
      break;
  }
}

void TForm1::deleteLastLine() {
  RE1_->deleteLastLine();
}
void TForm1::clearLines() {
  RE1_->clearLines();
}
void TForm1::setInputText(const std::string& text) {
  Input_->setWholeText(toQt(text));
}
void TForm1::setInputReadOnly(bool readOnly) {
  Input_->setReadOnly(readOnly);
}

void TForm1::focusInput() {
  if (!Input_->hasFocus()) Input_->setFocus(Qt::OtherFocusReason);
}

void TForm1::setEnabled(Control control, bool enabled) {
  auto menu = [enabled](QMenu* m) { m->menuAction()->setEnabled(enabled); };
  switch (control) {
    case Control::Speak:
      Speak_->setEnabled(enabled);
      break;
    case Control::Talk:
      Talk_->setEnabled(enabled);
      break;
    case Control::Cancel:
      Cancel_->setEnabled(enabled);
      break;
    case Control::EnRus:
      EnRus_->setEnabled(enabled);
      N36_->setEnabled(enabled);
      break;
    case Control::UndoItem:
      N3_->setEnabled(enabled);
      break;
    case Control::CompleteItem:
      N23_->setEnabled(enabled);
      break;
    case Control::MenuSystem:
      menu(N1_);
      break;
    case Control::MenuSettings:
      menu(N5_);
      break;
    case Control::MenuService:
      menu(N25_);
      break;
    case Control::MenuHelp:
      menu(N11_);
      break;
    case Control::DialogueView:
      RE1_->setEnabled(enabled);
      break;
    case Control::MainWindow:
      QMainWindow::setEnabled(enabled);
      break;
    case Control::KeyboardBackspace:
    case Control::KeyboardEnter:
      if (keyboard_) keyboard_->setKeyEnabled(control, enabled);
      break;
  }
}

void TForm1::setStatus(int panel, const std::string& text) {
  if (panel < 0 || panel > 2) return;
  SB1_->panel(panel).setText(toQt(text));
}

QLabel& TForm1::statusPanel(int panel) {
  return SB1_->panel(panel);
}

QAction& TForm1::action(MenuItem item) {
  return *menuItems_[static_cast<std::size_t>(item)];
}

QColorDialog& TForm1::colorDialog(int number) {
  return *colorDialogs_[static_cast<std::size_t>(number - 1)];
}

QFontDialog& TForm1::fontDialog(int number) {
  return *fontDialogs_[static_cast<std::size_t>(number - 1)];
}

void TForm1::setMenuCaption(MenuItem item, const std::string& caption) {
  action(item).setText(toQt(caption));
}

void TForm1::setChecked(MenuItem item, bool checked) {
  action(item).setChecked(checked);
}

Rect TForm1::windowRect() const {
  const QRect frame = frameGeometry();
  return {frame.left(), frame.top(), frame.width(), frame.height()};
}

void TForm1::setWindowRect(const Rect& rect) {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  if (rect.width != frame.width() || rect.height != frame.height()) {
    const int width = std::max(1, rect.width - (frame.width() - client.width()));
    const int height = std::max(1, rect.height - (frame.height() - client.height()));
    setFixedSize(width, height);
  }
  move(rect.left, rect.top);
}

Rect TForm1::desktopRect() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  const QRect area = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
  return {area.left(), area.top(), area.width(), area.height()};
}

void TForm1::busyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void TForm1::play(Cue cue) {
  sounds_.play(cue);
}

void TForm1::showError(const std::string& message) {
  const QString text = toQt(displayMessage(message));
  shownErrors_.push_back(text);
  // A failure while the window is being built waits until it is shown, so
  // that its box stands in front of the window and not behind it.
  if (!isVisible()) {
    pendingErrors_.push_back(text);
    return;
  }
  openErrorBox(text);
}

void TForm1::openErrorBox(const QString& text) {
  // In front of the program's window that takes input now; shown without
  // a loop of its own, so the timers go on meanwhile.
  QWidget* owner = this;
  if (!isEnabled()) {
    for (QWidget* other : {static_cast<QWidget*>(editor_), static_cast<QWidget*>(about_),
                           static_cast<QWidget*>(keyboard_)}) {
      if (other && other->isVisible()) owner = other;
    }
  }
  auto* box = new QMessageBox(QMessageBox::Critical, programTitle(), text, QMessageBox::Ok, owner);
  box->setObjectName("ErrorBox");
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::ApplicationModal);
  box->setEnabled(true);
  box->show();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  const std::vector<QString> pending = std::move(pendingErrors_);
  pendingErrors_.clear();
  for (const QString& text : pending) openErrorBox(text);
}

void TForm1::showWindow(Window window, bool shown) {
  if (!editor_ || !about_ || !keyboard_) return;
  switch (window) {
    case Window::Editor:
      if (shown) {
        editor_->present();
      } else {
        editor_->hide();
      }
      break;
    case Window::About:
      if (shown) {
        about_->present();
      } else {
        about_->hide();
      }
      break;
    case Window::Keyboard:
      if (shown) {
        keyboard_->present();
      } else {
        keyboard_->hide();
      }
      break;
  }
}

void TForm1::closeMainWindow() {
  close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  event->accept();
  if (closed_) closed_();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (appearance_.fullScreen()) layOutElements(true);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Input_ && event->type() == QEvent::FocusOut && session_) {
    // A menu or another window taking the keyboard for a while leaves the
    // focus with the field; only a move inside the window takes it away.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      run([this] { session_->InputFocusLost(); });
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- Appearance -------------------------------------------------------

void TForm1::showColour(ColourTarget target, Colour colour) {
  const QColor c = toQColor(colour);
  switch (target) {
    case ColourTarget::MainBackground:
      setRole(this, QPalette::Window, c);
      break;
    case ColourTarget::DialogueBackground:
      setRole(RE1_, QPalette::Base, c);
      break;
    case ColourTarget::InputBackground:
      setRole(Input_, QPalette::Base, c);
      break;
    case ColourTarget::SpeakText:
      setRole(Speak_, QPalette::ButtonText, c);
      break;
    case ColourTarget::CancelText:
      setRole(Cancel_, QPalette::ButtonText, c);
      break;
    case ColourTarget::EnRusText:
      setRole(EnRus_, QPalette::ButtonText, c);
      break;
    case ColourTarget::InputText:
      setRole(Input_, QPalette::Text, c);
      break;
  }
}

void TForm1::showInputFont(const std::string& name, FontStyle style) {
  Input_->setFont(makeFont(name, 8, style));
}

void TForm1::showInitialMark(bool set) {
  N13_->setChecked(set);
}

bool TForm1::askColour(QColorDialog& dialog, Colour preset, Colour& chosen) {
  dialog.setCurrentColor(toQColor(preset));
  if (dialog.exec() != QDialog::Accepted) return false;
  chosen = fromQColor(dialog.selectedColor());
  return true;
}

void TForm1::sharedColourCommand(ColourTarget target) {
  appearance_.clearInitialMark();
  Colour chosen = 0;
  if (askColour(colorDialog(1), appearance_.sharedDialogColour(), chosen)) {
    appearance_.confirmSharedColour(target, chosen);
  }
}

void TForm1::buttonTextColourCommand() {
  appearance_.clearInitialMark();
  for (ColourTarget target :
       {ColourTarget::SpeakText, ColourTarget::CancelText, ColourTarget::EnRusText}) {
    Colour chosen = 0;
    if (askColour(colorDialog(1), appearance_.sharedDialogColour(), chosen)) {
      appearance_.confirmSharedColour(target, chosen);
    }
  }
}

void TForm1::lineColourCommand(bool user) {
  appearance_.clearInitialMark();
  const LineStyle& style = user ? appearance_.user() : appearance_.cpu();
  Colour chosen = 0;
  if (!askColour(colorDialog(user ? 2 : 3), style.colour, chosen)) return;
  if (user) {
    appearance_.confirmUserColour(chosen);
  } else {
    appearance_.confirmCpuColour(chosen);
  }
  QTextCharFormat change;
  change.setForeground(toQColor(chosen));
  RE1_->mergeIntoSelection(change);
}

void TForm1::lineFontCommand(bool user) {
  appearance_.clearInitialMark();
  QFontDialog& dialog = fontDialog(user ? 1 : 2);
  const LineStyle before = user ? appearance_.user() : appearance_.cpu();
  dialog.setCurrentFont(makeFont(before.fontName, before.size, before.style));
  if (dialog.exec() == QDialog::Accepted) {
    const QFont font = dialog.selectedFont();
    const int size = font.pointSize() > 0 ? font.pointSize() : before.size;
    if (user) {
      appearance_.confirmUserFont(faceName(font), size, styleOf(font));
    } else {
      appearance_.confirmCpuFont(faceName(font), size, styleOf(font));
    }
    QTextCharFormat name;
    name.setFontFamilies({font.family()});
    RE1_->mergeIntoSelection(name);
  }
  // Confirmed or not, the selection takes the style's size and style.
  const LineStyle& style = user ? appearance_.user() : appearance_.cpu();
  QTextCharFormat sizeAndStyle;
  sizeAndStyle.setFontPointSize(makeFont(style.fontName, style.size, style.style).pointSizeF());
  sizeAndStyle.setFontWeight(style.style == FontStyle::Bold || style.style == FontStyle::BoldItalic
                                 ? QFont::Bold
                                 : QFont::Normal);
  sizeAndStyle.setFontItalic(style.style == FontStyle::Italic ||
                             style.style == FontStyle::BoldItalic);
  RE1_->mergeIntoSelection(sizeAndStyle);
}

void TForm1::myStringFontCommand() {
  appearance_.clearInitialMark();
  QFontDialog& dialog = fontDialog(3);
  const FontPreset& preset = appearance_.myStringPreset();
  dialog.setCurrentFont(makeFont(preset.fontName, 8, preset.style));
  if (dialog.exec() == QDialog::Accepted) {
    const QFont font = dialog.selectedFont();
    appearance_.confirmMyStringFont(faceName(font), styleOf(font));
  }
  appearance_.applyMyStringStyle();
}

void TForm1::restoreCommand() {
  appearance_.restore();
  if (session_) {
    EditorState& editor = session_->editor();
    editor.path = "D:\\Txt.Dat";
    editor.interval = 1000;
  }
  if (editor_) editor_->refresh(false);
  if (about_) about_->fold();
}

void TForm1::fullScreenCommand() {
  const bool on = appearance_.toggleFullScreen();
  N40_->setChecked(on);
  if (on) {
    N40_->setText(tr8("Normal"));
    normalPos_ = pos();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showMaximized();
    // Without a window manager to maximise it, the window fills the
    // desktop's work area itself.
    const Rect desk = desktopRect();
    const QMargins frame(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    setGeometry(QRect(desk.left, desk.top, desk.width, desk.height).marginsRemoved(frame));
    layOutElements(true);
  } else {
    N40_->setText(tr8("Full Screen"));
    showNormal();
    applyFixedClientSize(kClientWidth, kClientHeight);
    move(normalPos_);
    leftFullScreen_ = true;
    layOutElements(false);
  }
}

}  // namespace vb
