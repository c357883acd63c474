#include "console/raw_terminal.h"

#include <unistd.h>

namespace vb {

RawTerminal::RawTerminal(int fd) : fd_(fd) {
  if (::tcgetattr(fd_, &saved_) == 0) apply();
}

RawTerminal::~RawTerminal() {
  restore();
}

void RawTerminal::apply() {
  termios raw = saved_;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  active_ = ::tcsetattr(fd_, TCSANOW, &raw) == 0;
}

void RawTerminal::restore() {
  if (active_) ::tcsetattr(fd_, TCSANOW, &saved_);
  active_ = false;
}

}  // namespace vb
