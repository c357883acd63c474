#pragma once
// SB1: the status bar with its three panels, 130, 322 and 50 pixels wide;
// the last one reaches to the right edge. Panels show plain text.

#include <QStatusBar>
#include <array>

class QLabel;

namespace vb {

class StatusBar final : public QStatusBar {
 public:
  static constexpr int kHeight = 19;
  explicit StatusBar(QWidget* parent);
  QLabel& panel(int index) { return *panels_[static_cast<std::size_t>(index)]; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::array<QLabel*, 3> panels_{};
};

}  // namespace vb
