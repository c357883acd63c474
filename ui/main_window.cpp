#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "ui/codec.h"
#include "ui/dialogue_view.h"
#include "ui/fonts.h"
#include "ui/input_field.h"
#include "ui/session_driver.h"
#include "ui/status_bar.h"

namespace vb {
namespace {

QFont builtInFont() {
  return makeFont("MS Sans Serif", 8, FontStyle::Regular);
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
  nameForScreenReaders();

  connect(Speak_, &QPushButton::clicked, this, [this] { run([this] { session_->SpeakClick(); }); });
  connect(Talk_, &QPushButton::clicked, this, [this] { run([this] { session_->TalkClick(); }); });
  connect(Cancel_, &QPushButton::clicked, this,
          [this] { run([this] { session_->CancelClick(); }); });
  connect(EnRus_, &QPushButton::clicked, this, [this] { run([this] { session_->EnRusClick(); }); });
  connect(Input_, &QLineEdit::returnPressed, this,
          [this] { run([this] { session_->TalkClick(); }); });
  // Any change but the program's own: typing, pasting, a screen reader's edit.
  connect(Input_, &QLineEdit::textChanged, this, [this](const QString& typed) {
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

void TForm1::attach(Session& session, SessionDriver& driver) {
  session_ = &session;
  driver_ = &driver;
}

void TForm1::attachWindows(TForm2& editor, TForm3& about, TForm4& keyboard) {
  editor_ = &editor;
  about_ = &about;
  keyboard_ = &keyboard;
}

void TForm1::run(const std::function<void()>& command) {
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

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  const std::vector<QString> pending = std::move(pendingErrors_);
  pendingErrors_.clear();
  for (const QString& text : pending) openErrorBox(text);
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

void TForm1::nameForScreenReaders() {
  // Names as a screen reader says them; the hints describe.
  const std::pair<QWidget*, const char*> names[] = {
      {TabControl1_, "Диалог"},  {RE1_, "Диалог"},           {TabControl2_, "Ввод"},
      {Input_, "Ваша фраза"},    {Cancel_, "Отмена"},        {EnRus_, "Раскладка"},
      {Speak_, "Сказать"},       {SB1_, "Индикатор"},        {&SB1_->panel(0), "Подсказка"},
      {&SB1_->panel(1), "База"}, {&SB1_->panel(2), "Режим"},
  };
  for (const auto& [widget, name] : names) {
    widget->setAccessibleName(tr8(name));
    if (!widget->toolTip().isEmpty()) widget->setAccessibleDescription(widget->toolTip());
  }
}

}  // namespace vb
