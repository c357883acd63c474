#include "session/scheduler.h"

#include <algorithm>
#include <exception>

#include "engine/failure.h"

namespace vb {

Scheduler::Scheduler(const Clock& clock, Report report)
    : clock_(clock), report_(std::move(report)) {}

void Scheduler::define(TimerId id, std::int32_t periodMs, bool runningAtStart, OnFailure onFailure,
                       Tick tick) {
  Timer& t = timer(id);
  t.period = periodMs;
  t.running = runningAtStart;
  t.onFailure = onFailure;
  t.tick = std::move(tick);
}

std::int64_t Scheduler::effective(std::int32_t periodMs) {
  return std::max<std::int64_t>(periodMs, kMinPeriodMs);
}

void Scheduler::begin() {
  if (begun_) return;
  begun_ = true;
  std::int64_t now = clock_.nowMs();
  for (Timer& t : timers_) {
    t.due = t.period <= kMinPeriodMs ? now : now + effective(t.period);
  }
}

void Scheduler::start(TimerId id) {
  Timer& t = timer(id);
  if (t.running) return;
  t.running = true;
  t.failing = false;
  t.parked = false;
  t.due = clock_.nowMs() + effective(t.period);
}

void Scheduler::stop(TimerId id) {
  timer(id).running = false;
  timer(id).parked = false;
}

void Scheduler::stopAll() {
  for (Timer& t : timers_) {
    t.running = false;
    t.parked = false;
  }
}

void Scheduler::setPeriod(TimerId id, std::int32_t periodMs) {
  Timer& t = timer(id);
  if (t.period == periodMs) return;
  t.period = periodMs;
  t.parked = false;
  if (t.running) t.due = clock_.nowMs() + effective(periodMs);
}

std::int64_t Scheduler::nextDueMs() const {
  if (!begun_) return -1;
  std::int64_t next = -1;
  for (const Timer& t : timers_) {
    if (t.running && !t.parked && (next < 0 || t.due < next)) next = t.due;
  }
  return next;
}

// Parking. The timers that tick every 15 ms (T1, T5, T7, T11) spend nearly
// all their ticks setting what is already set. A timer parks when its rest
// test says that its next tick would change nothing as things stand; then
// its later ticks change nothing either, until something else changes what
// they see. Only two things can: a tick of another timer, and whatever the
// front end asks of the session. So every pass of runDue() and every Event
// scope wakes all parked timers first and parks those at rest after.
//
// A parked timer keeps its place on its grid of due times (due, due +
// period, ...), the times at which it would have ticked: on waking, the
// grid points already passed count as ticks served on time, and the timer
// is due at the next one, exactly when it would have ticked had it never
// parked. Ticks that move a sweep along (the guard's position) are
// brought forward by the timer's CatchUp.
//
// A timer is parked only with its tick in the future (due > now), so no
// tick that is overdue, and not yet served, is ever counted as served.

void Scheduler::setRest(TimerId id, RestTest atRest, CatchUp catchUp) {
  Timer& t = timer(id);
  t.atRest = std::move(atRest);
  t.catchUp = std::move(catchUp);
}

void Scheduler::setParking(bool on) {
  parking_ = on;
  if (!on) wake(clock_.nowMs(), false);
}

std::int64_t Scheduler::skipped(const Timer& t, std::int64_t last) {
  if (!t.parked || t.due > last) return 0;
  return (last - t.due) / effective(t.period) + 1;
}

std::int64_t Scheduler::skippedTicks(TimerId id) const {
  return skipped(timer(id), clock_.nowMs());
}

void Scheduler::wake(std::int64_t now, bool passAtNow) {
  for (Timer& t : timers_) {
    // Grid points before now were served; the one at now too, unless the
    // pass about to run serves it.
    const std::int64_t ticks = skipped(t, passAtNow ? now - 1 : now);
    t.parked = false;
    if (ticks == 0) continue;
    t.due += ticks * effective(t.period);
    if (t.catchUp) t.catchUp(ticks);
  }
}

void Scheduler::park(std::int64_t now) {
  if (!parking_ || !begun_) return;
  for (Timer& t : timers_) {
    if (t.running && !t.parked && !t.failing && t.atRest && t.due > now && t.atRest()) {
      t.parked = true;
    }
  }
}

Scheduler::Event::Event(Scheduler& scheduler) : scheduler_(scheduler) {
  if (scheduler_.events_++ == 0 && !scheduler_.serving_) {
    scheduler_.wake(scheduler_.clock_.nowMs(), false);
  }
}

Scheduler::Event::~Event() {
  if (--scheduler_.events_ == 0 && !scheduler_.serving_) {
    scheduler_.park(scheduler_.clock_.nowMs());
  }
}

// Timers that fall due at the same moment tick in this order. It is built
// for the moments when several one-shot timers start together:
// - at start T12, T11, T7, T10 and T3 (and T1, T5) are due at once;
// - New dialogue starts T3, T7 and T10 together.
// T12 comes first, so the transcript header precedes every other
// transcript line (a greeting's included). T11 comes before T3, so the
// "[NONE]" it writes at start is replaced by T3's "Загрузка окончена".
// T7 comes before T10, so the view is cleared by the window effect before
// the greeting is said and the greeting stays (T7 restarting T10 changes
// nothing, as T10 already runs). T3 comes after T7, T10 and T11, so panel 0
// rests at "Загрузка окончена". The rest follow by number: T1 after T3
// settles the buttons in the same pass, and T9 before T13 lets a T13 tick
// between two T9 ticks make T9 miss its count, as the shared WaitCount
// intends. A timer started during a pass is due a period later, so the
// greeting that T7 starts after undo comes after the view was cleared.
const std::array<TimerId, kTimerCount>& Scheduler::serviceOrder() {
  using enum TimerId;
  static const std::array<TimerId, kTimerCount> order{T12, T11, T7, T10, T3, T1, T2,
                                                      T4,  T5,  T6, T8,  T9, T13};
  return order;
}

void Scheduler::failed(Timer& t, const std::string& message, std::int64_t now) {
  if (!t.failing) report_(message);
  t.failing = true;
  if (t.onFailure == OnFailure::Stop) {
    t.running = false;
  } else if (t.running) {
    t.due = std::max(t.due, now + kFailureRetryMs);
  }
}

void Scheduler::runDue() {
  if (!begun_ || serving_) return;
  struct Serving {
    bool& flag;
    explicit Serving(bool& f) : flag(f) { flag = true; }
    ~Serving() { flag = false; }
  } serving(serving_);
  std::int64_t now = clock_.nowMs();
  wake(now, true);
  for (TimerId id : serviceOrder()) {
    Timer& t = timer(id);
    // Checked at its turn: a tick earlier in this pass may have stopped it.
    if (!t.running || t.due > now) continue;
    // The next tick is one period after this one; a tick that sets a new
    // period or restarts its timer moves it itself.
    t.due = now + effective(t.period);
    try {
      if (t.tick) t.tick();
      t.failing = false;
    } catch (const Failure& failure) {
      failed(t, failure.what(), now);
    } catch (const std::exception& error) {
      failed(t, error.what(), now);
    }
  }
  if (events_ == 0) park(now);
}

}  // namespace vb
