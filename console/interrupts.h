#pragma once
// Signals as events of the console's loop. A handler only writes the
// signal's number into a pipe; the loop polls the pipe's read end with
// standard input and acts between commands, never inside one.

namespace vb {

class Interrupts {
 public:
  // Catches SIGINT, SIGTERM, SIGHUP (the program ends, as by the close box),
  // SIGTSTP (Ctrl+Z: the terminal is set back before the stop) and SIGCONT
  // (back from a stop: the terminal needs setting up again).
  Interrupts();
  ~Interrupts();
  Interrupts(const Interrupts&) = delete;
  Interrupts& operator=(const Interrupts&) = delete;

  int fd() const { return readFd_; }
  // The next signal that came, or 0 when none is waiting.
  int take();
  // Stops the program as Ctrl+Z would have without the handler; returns
  // when it is continued.
  void stopHere();

 private:
  int readFd_ = -1;
};

}  // namespace vb
