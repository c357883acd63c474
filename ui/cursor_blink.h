#pragma once
// The text cursor blinks for a while after the user last did something and
// then stands still, as desktop text fields do: a blinking cursor wakes the
// program twice a second for as long as the window has the focus.

#include <QObject>
#include <QTimer>

namespace vb {

class CursorBlinkRest final : public QObject {
 public:
  // How long the cursor blinks after the last key, click or focus change.
  static constexpr int kBlinkForMs = 10000;

  // Watches the whole application's input from now on.
  explicit CursorBlinkRest(int blinkForMs = kBlinkForMs);
  ~CursorBlinkRest() override;

  bool blinking() const { return blinking_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void setBlinking(bool on);

  int blinkForMs_;
  QTimer rest_;
  int flashTime_;  // the platform's period, restored when blinking again
  bool blinking_ = true;
};

}  // namespace vb
