#include "ui/key_hook.h"

#include <QApplication>
#include <QKeyEvent>

#include "session/session.h"
#include "ui/session_driver.h"

namespace vb {

KeyHook::KeyHook(Session& session, SessionDriver& driver) : session_(session), driver_(driver) {
  qApp->installEventFilter(this);
}

KeyHook::~KeyHook() {
  if (qApp) qApp->removeEventFilter(this);
}

bool KeyHook::eventFilter(QObject* watched, QEvent* event) {
  // Every key press first asks the focused object whether it overrides a
  // shortcut, before any shortcut or control acts on it; that question
  // reaches the focused object once per press (it may then travel on to
  // the object's parents, which are passed over here).
  if (event->type() != QEvent::ShortcutOverride) return false;
  if (watched != QGuiApplication::focusObject()) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & Qt::AltModifier) return false;
  HookKey which = HookKey::Other;
  if (key->key() == Qt::Key_Up) which = HookKey::Up;
  if (key->key() == Qt::Key_Down) which = HookKey::Down;
  driver_.command([this, which] { session_.KeyHook(which); });
  return false;
}

}  // namespace vb
