#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vb {

void centreOnDesktop(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize frame = window.frameGeometry().size();
  window.move(area.left() + (area.width() - frame.width()) / 2,
              area.top() + (area.height() - frame.height()) / 2);
}

}  // namespace vb
