#include "ui/caption_frame.h"

#include <QPainter>

namespace vb {

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {}

void CaptionFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const int top = metrics.height() / 2;
  const QRect box = rect().adjusted(0, top, -1, -1);
  const QPalette& p = palette();
  painter.setPen(p.color(QPalette::Dark));
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  painter.setPen(p.color(QPalette::Light));
  painter.drawRect(box.adjusted(1, 1, 0, 0));
  if (caption_.isEmpty()) return;
  const QRect text(8, 0, metrics.horizontalAdvance(caption_) + 4, metrics.height());
  painter.fillRect(text, p.color(QPalette::Window));
  painter.setPen(p.color(QPalette::WindowText));
  painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

}  // namespace vb
