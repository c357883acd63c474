#include "ui/cursor_blink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace vb {

CursorBlinkRest::CursorBlinkRest(int blinkForMs)
    : blinkForMs_(blinkForMs), flashTime_(QGuiApplication::styleHints()->cursorFlashTime()) {
  rest_.setSingleShot(true);
  connect(&rest_, &QTimer::timeout, this, [this] { setBlinking(false); });
  rest_.start(blinkForMs_);
  QCoreApplication::instance()->installEventFilter(this);
}

CursorBlinkRest::~CursorBlinkRest() {
  QCoreApplication::instance()->removeEventFilter(this);
  setBlinking(true);
}

bool CursorBlinkRest::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
    case QEvent::InputMethod:
      setBlinking(true);
      rest_.start(blinkForMs_);
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void CursorBlinkRest::setBlinking(bool on) {
  if (on == blinking_) return;
  blinking_ = on;
  // A period of 0 keeps the cursor shown without blinking.
  QGuiApplication::styleHints()->setCursorFlashTime(on ? flashTime_ : 0);
}

}  // namespace vb
