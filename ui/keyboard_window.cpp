#include "ui/keyboard_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "session/session.h"
#include "ui/caption_frame.h"
#include "ui/codec.h"
#include "ui/colour.h"
#include "ui/fonts.h"
#include "ui/session_driver.h"
#include "ui/window_placement.h"

namespace vb {
namespace {

// Places of the keys inside their groups and in the window.
constexpr int kRowTop[2] = {15, 34};
constexpr int kSignLeft[2] = {33, 65};
constexpr int kLetterLeft[2] = {8, 16};

QPushButton* makeKey(QWidget* parent, const QString& face, const std::string& name) {
  auto* button = new QPushButton(face, parent);
  button->setObjectName(QString::fromStdString(name));
  button->setFlat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

// A sign key's name as a screen reader should say it: the symbol alone is
// read out inconsistently, or not at all.
const char* signName(char sign) {
  switch (sign) {
    case '#':
      return "Решётка";
    case '$':
      return "Доллар";
    case '%':
      return "Процент";
    case '&':
      return "Амперсанд";
    case '*':
      return "Звёздочка";
    case '+':
      return "Плюс";
    case '=':
      return "Равно";
    case '\\':
      return "Обратная косая черта";
    case '/':
      return "Косая черта";
    case '[':
      return "Открывающая квадратная скобка";
    case ']':
      return "Закрывающая квадратная скобка";
    case '{':
      return "Открывающая фигурная скобка";
    case '}':
      return "Закрывающая фигурная скобка";
    case '~':
      return "Тильда";
    case '`':
      return "Обратный апостроф";
    case ',':
      return "Запятая";
    case '.':
      return "Точка";
    case '!':
      return "Восклицательный знак";
    case '?':
      return "Вопросительный знак";
    case '(':
      return "Открывающая скобка";
    case ')':
      return "Закрывающая скобка";
    case '-':
      return "Дефис";
    case ':':
      return "Двоеточие";
    case '"':
      return "Кавычки";
    case '<':
      return "Меньше";
    case '>':
      return "Больше";
    default:
      return nullptr;
  }
}

CaptionFrame* group(QWidget* parent, const char* title, const QRect& place) {
  auto* box = new CaptionFrame(tr8(title), parent);
  box->setGeometry(place);
  QPalette white = box->palette();
  white.setColor(QPalette::WindowText, Qt::white);
  box->setPalette(white);
  return box;
}

}  // namespace

TForm4::TForm4(Session& session, SessionDriver& driver)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session),
      driver_(driver) {
  setObjectName("Form4");
  setWindowTitle(tr8("Виртуальная клавиатура"));
  setFont(makeFont("MS Sans Serif", 8, FontStyle::Regular));
  setAutoFillBackground(true);
  QPalette silver = palette();
  silver.setColor(QPalette::Window, toQColor(kSilver));
  setPalette(silver);

  menu_ = new QMenuBar(this);
  QMenu* system = menu_->addMenu(tr8("&Система"));
  hide_ = system->addAction(tr8("С&крыть виртуальную клавиатуру"));
  hide_->setObjectName("HideKeyboard");
  // A bare separator line in the menu; the window's own separator carries F5.
  system->addSeparator()->setObjectName("CompleteWordLine");
  complete_ = new QAction(this);
  complete_->setSeparator(true);
  complete_->setObjectName("CompleteWord");
  complete_->setShortcut(QKeySequence(Qt::Key_F5));
  complete_->setShortcutContext(Qt::WindowShortcut);
  addAction(complete_);
  connect(hide_, &QAction::triggered, this,
          [this] { driver_.command([this] { session_.keyboardHide(); }); });
  connect(complete_, &QAction::triggered, this,
          [this] { driver_.command([this] { session_.keyboardF5(); }); });

  const int top = menu_->sizeHint().height();
  menu_->setGeometry(0, 0, kClientWidth, top);
  setFixedSize(kClientWidth, kClientHeight + top);

  auto* keys = new QWidget(this);
  keys->setGeometry(0, top, kClientWidth, kClientHeight);
  CaptionFrame* signs = group(keys, "Знаки:", QRect(3, 2, 305, 57));
  CaptionFrame* letters = group(keys, "Буквы:", QRect(3, 60, 305, 57));

  for (const VirtualKey& key : virtualKeys()) {
    const std::string name(key.name);
    QPushButton* button = nullptr;
    switch (key.kind) {
      case KeyKind::Sign: {
        // '&' would mark an accelerator letter on a button's face.
        const QString face =
            key.lower == '&' ? QStringLiteral("&&") : toQt(std::string(1, key.lower));
        button = makeKey(signs, face, name);
        button->setGeometry(kSignLeft[key.row] + 16 * key.column, kRowTop[key.row], 16, 17);
        if (const char* spoken = signName(key.lower)) button->setAccessibleName(tr8(spoken));
        break;
      }
      case KeyKind::Letter:
        button = makeKey(letters, toQt(std::string(1, key.upper)), name);
        button->setGeometry(kLetterLeft[key.row] + 17 * key.column, kRowTop[key.row], 17, 17);
        break;
      case KeyKind::Backspace:
        button = makeKey(keys, "Bcksp", name);
        button->setAccessibleName(tr8("Стереть"));
        button->setGeometry(310, 7, 41, 50);
        break;
      case KeyKind::Enter:
        button = makeKey(keys, "[Enter]", name);
        button->setAccessibleName(tr8("Ввод"));
        button->setGeometry(310, 64, 41, 51);
        break;
      case KeyKind::Space:
        button = makeKey(keys, tr8("Пробел"), name);
        button->setGeometry(40, 120, 134, 22);
        break;
      case KeyKind::CapsLock:
        button = makeKey(keys, toQt(model_.capsCaption()), name);
        button->setGeometry(180, 120, 123, 22);
        break;
    }
    keys_[name] = button;
    connect(button, &QPushButton::clicked, this, [this, &key] { press(key); });
  }
}

QPushButton& TForm4::key(const std::string& name) {
  return *keys_.at(name);
}

void TForm4::press(const VirtualKey& key) {
  switch (key.kind) {
    case KeyKind::CapsLock:
      model_.pressCapsLock();
      keys_.at(std::string(key.name))->setText(toQt(model_.capsCaption()));
      return;
    case KeyKind::Enter:
      driver_.command([this] { session_.keyboardEnter(); });
      return;
    default:
      driver_.command(
          [this, &key] { session_.keyboardWrite(model_.press(key, session_.input())); });
      return;
  }
}

void TForm4::setKeyEnabled(Control control, bool enabled) {
  if (control == Control::KeyboardBackspace) keys_.at("SB62")->setEnabled(enabled);
  if (control == Control::KeyboardEnter) keys_.at("SB66")->setEnabled(enabled);
}

void TForm4::present() {
  if (!placed_) {
    centreOnDesktop(*this);
    placed_ = true;
  }
  show();
  setEnabled(true);
  raise();
  activateWindow();
}

void TForm4::closeEvent(QCloseEvent* event) {
  // Closed by the window system: the same as the hide command.
  event->ignore();
  driver_.command([this] { session_.keyboardHide(); });
}

void TForm4::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  closeIfMinimised(*this, event);
}

}  // namespace vb
