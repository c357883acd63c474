#include "ui/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace vb {

void centreOnDesktop(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize frame = window.frameGeometry().size();
  window.move(area.left() + (area.width() - frame.width()) / 2,
              area.top() + (area.height() - frame.height()) / 2);
}

void makeDialogOf(QWidget& dialog, QWidget& owner) {
  dialog.winId();
  owner.winId();
  if (dialog.windowHandle() && owner.windowHandle()) {
    dialog.windowHandle()->setTransientParent(owner.windowHandle());
  }
}

void closeIfMinimised(QWidget& window, QEvent* event) {
  if (event->type() != QEvent::WindowStateChange || !window.isMinimized()) return;
  window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  QTimer::singleShot(0, &window, [&window] { window.close(); });
}

}  // namespace vb
