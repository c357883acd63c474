#include "ui/status_bar.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace vb {
namespace {
constexpr std::array<int, 3> kWidths{130, 322, 50};
}

QString StatusPanel::shownText() const {
  const int room = contentsRect().width() - 2 * indent();
  return fontMetrics().elidedText(text(), Qt::ElideRight, room);
}

void StatusPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  drawFrame(&painter);
  const QRect room = contentsRect().adjusted(indent(), 0, -indent(), 0);
  style()->drawItemText(&painter, room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                        shownText(), foregroundRole());
}

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  setFixedHeight(kHeight);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    auto* label = new StatusPanel(this);
    label->setTextFormat(Qt::PlainText);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setIndent(2);
    label->setObjectName(QStringLiteral("SB1Panel%1").arg(i));
    // Hint and pointer come from the bar.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    panels_[i] = label;
  }
}

void StatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  int left = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    int width = kWidths[i];
    if (i + 1 == panels_.size()) width = std::max(width, this->width() - left);
    panels_[i]->setGeometry(left, 1, width, height() - 1);
    left += kWidths[i];
  }
}

}  // namespace vb
