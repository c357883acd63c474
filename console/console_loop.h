#pragma once
// The console's event loop: one thread, like the desktop program's. It
// waits in poll() on standard input and the signal pipe for as long as the
// session's next timer allows, then serves what came: due timers, a line of
// input (a command or a phrase), a signal. Nothing runs inside anything
// else, so the session sees one command or tick at a time.

#include <string>
#include <string_view>

#include "console/console_view.h"
#include "console/interrupts.h"
#include "console/line_editor.h"
#include "console/raw_terminal.h"
#include "console/replay_random.h"
#include "console/terminal_screen.h"
#include "engine/turn_trace.h"
#include "session/clock.h"
#include "session/session.h"

namespace vb {

struct ConsoleIo {
  int in = 0;
  TerminalScreen& screen;
  Interrupts& interrupts;
  // Set on an interactive terminal: keys are read one by one.
  RawTerminal* raw = nullptr;
  LineEditor* editor = nullptr;
  // Set with --seed: every line of input starts its draws afresh.
  ReplayRandom* replay = nullptr;
  // Where the last answer came from (/why); with `explain`, told after
  // every answer to a phrase.
  const TurnTrace* trace = nullptr;
  bool explain = false;
};

class ConsoleLoop {
 public:
  ConsoleLoop(Session& session, ConsoleView& view, Clock& clock, ConsoleIo io)
      : session_(session), view_(view), clock_(clock), io_(io) {}

  // Runs until the program ends (Exit, the closing timer, end of input or a
  // signal) and returns the exit status.
  int run();

  // One line of input, as a Send or a console command.
  void takeLine(std::string_view utf8);
  // End of input: Exit at once, pending timers dropped.
  int endOfInput();

 private:
  // Bytes read from standard input; false at its end.
  bool takeBytes(std::string_view bytes);
  // A signal; returns an exit status when the program must end, else -1.
  int takeSignal(int signo);
  int pollTimeout() const;
  // The account of the last answer (/why, --explain).
  void explain();

  Session& session_;
  ConsoleView& view_;
  Clock& clock_;
  ConsoleIo io_;
  std::string pending_;  // a line from a pipe not yet ended
};

}  // namespace vb
