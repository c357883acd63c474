#include "ui/status_bar.h"

#include <QLabel>
#include <algorithm>

namespace vb {
namespace {
constexpr std::array<int, 3> kWidths{130, 322, 50};
}

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  setFixedHeight(kHeight);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    auto* label = new QLabel(this);
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
