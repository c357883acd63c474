#pragma once
// Replay in virtual time (--pace SECONDS): each line of standard input is
// taken that many seconds after the one before on a virtual clock, and
// every timer runs in the time between, at full speed: delayed parts,
// follow-up and idle remarks, the closing. At the end of input what is
// still pending (a delayed part, a follow-up remark, the closing, the
// greeting) happens before Exit. With --seed the replay is the same every
// run; a line that comes after the program has closed is not answered.

#include <cstdint>
#include <string>
#include <string_view>

#include "console/console_loop.h"
#include "console/virtual_clock.h"
#include "session/session.h"

namespace vb {

class ReplayLoop {
 public:
  ReplayLoop(Session& session, ConsoleView& view, VirtualClock& clock, ConsoleLoop& lines,
             ConsoleIo io, std::int64_t paceMs)
      : session_(session), view_(view), clock_(clock), lines_(lines), io_(io), paceMs_(paceMs) {}

  // Runs until the end of input or the program's end; returns the exit status.
  int run();

 private:
  // Serves every timer due up to `ms`, moving the clock along.
  void runUntil(std::int64_t ms);
  // After the input: lets the timers that will stop by themselves finish.
  void finishPending();
  void takeLine(std::string line);

  Session& session_;
  ConsoleView& view_;
  VirtualClock& clock_;
  ConsoleLoop& lines_;
  ConsoleIo io_;
  std::int64_t paceMs_;
  std::size_t unanswered_ = 0;  // lines that came after the program closed
};

}  // namespace vb
