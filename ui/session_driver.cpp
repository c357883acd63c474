#include "ui/session_driver.h"

#include <algorithm>
#include <exception>

#include "session/session.h"

namespace vb {

SessionDriver::SessionDriver(Clock& clock, bool realTime) : clock_(clock), realTime_(realTime) {
  timer_.setSingleShot(true);
  // A coarse timer may fire up to 5 % early; a second wake-up would then
  // follow to reach the due time. A precise one fires once, when it is due.
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

void SessionDriver::attach(Session& session, std::function<void(const std::string&)> report) {
  session_ = &session;
  report_ = std::move(report);
}

void SessionDriver::command(const std::function<void()>& command) {
  ++depth_;
  try {
    command();
  } catch (const std::exception& e) {
    // The session reports its own failures; anything else that escapes a
    // handler is shown the same way and the program runs on.
    if (report_) report_(e.what());
  }
  --depth_;
  if (depth_ == 0) rearm();
}

void SessionDriver::tick() {
  if (!session_) return;
  if (depth_ > 0) {
    // A nested event loop (a dialog) while a command runs: later.
    timer_.start(15);
    return;
  }
  command([this] { session_->runDue(); });
}

void SessionDriver::rearm() {
  if (!session_ || !realTime_) return;
  const std::int64_t due = session_->nextDueMs();
  if (due < 0) {
    timer_.stop();
    return;
  }
  const std::int64_t wait = std::max<std::int64_t>(0, due - clock_.nowMs());
  timer_.start(static_cast<int>(std::min<std::int64_t>(wait, 24LL * 3600 * 1000)));
}

void SessionDriver::advance(ManualClock& clock, std::int64_t ms) {
  if (!session_) return;
  const std::int64_t end = clock.nowMs() + ms;
  for (int guard = 0; guard < 1000000; ++guard) {
    const std::int64_t due = session_->nextDueMs();
    if (due < 0 || due > end) break;
    if (due > clock.nowMs()) clock.advance(due - clock.nowMs());
    command([this] { session_->runDue(); });
  }
  if (end > clock.nowMs()) clock.advance(end - clock.nowMs());
}

}  // namespace vb
