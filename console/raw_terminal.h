#pragma once
// The keyboard of an interactive terminal read key by key: no line
// buffering and no echo (the console draws the line being typed itself);
// Ctrl+C still sends SIGINT. The terminal's settings come back when this
// ends, and are set again after the program was stopped and continued.

#include <termios.h>

namespace vb {

class RawTerminal {
 public:
  explicit RawTerminal(int fd);
  ~RawTerminal();
  RawTerminal(const RawTerminal&) = delete;
  RawTerminal& operator=(const RawTerminal&) = delete;

  bool active() const { return active_; }
  void apply();
  void restore();

 private:
  int fd_;
  termios saved_{};
  bool active_ = false;
};

}  // namespace vb
