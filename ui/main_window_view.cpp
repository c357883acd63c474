// The main window as the session sees it: lines of the dialogue view, the
// input field, enabled states, the status bar, error boxes, other windows.

#include "ui/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
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
#include "ui/fonts.h"
#include "ui/input_field.h"
#include "ui/keyboard_window.h"
#include "ui/sound_bank.h"
#include "ui/status_bar.h"

namespace vb {

QTextCharFormat TForm1::lineFormat(const LineStyle& style) const {
  QTextCharFormat format;
  format.setForeground(toQColor(style.colour));
  format.setFont(makeFont(style.fontName, style.size, style.style));
  return format;
}

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

StatusPanel& TForm1::statusPanel(int panel) {
  return SB1_->panel(panel);
}

QColorDialog& TForm1::colorDialog(int number) {
  return *colorDialogs_[static_cast<std::size_t>(number - 1)];
}

QFontDialog& TForm1::fontDialog(int number) {
  return *fontDialogs_[static_cast<std::size_t>(number - 1)];
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

}  // namespace vb
