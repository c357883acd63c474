#pragma once
// SB1: the status bar with its three panels, 130, 322 and 50 pixels wide;
// the last one reaches to the right edge. Panels show plain text; a text
// wider than its panel ends in an ellipsis instead of losing letters
// unseen, and screen readers and hints get it whole.

#include <QLabel>
#include <QStatusBar>
#include <array>

namespace vb {

class StatusPanel final : public QLabel {
 public:
  explicit StatusPanel(QWidget* parent) : QLabel(parent) {}
  // The text as drawn: whole when it fits, else cut with an ellipsis.
  QString shownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class StatusBar final : public QStatusBar {
 public:
  static constexpr int kHeight = 19;
  explicit StatusBar(QWidget* parent);
  StatusPanel& panel(int index) { return *panels_[static_cast<std::size_t>(index)]; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::array<StatusPanel*, 3> panels_{};
};

}  // namespace vb
