#pragma once
// The main window's thirteen timers T1..T13 on one clock: period, running
// or not, next due time. A front end (or a test) calls runDue() when the
// clock reaches nextDueMs(); every due timer then ticks once, in a fixed
// order, each tick run to its end before the next.
//
// A running timer whose next tick would change nothing is parked: it stays
// running but is not due until something can change what its tick sees (a
// command, or a tick of another timer). It then takes up its ticks where it
// would stand had it ticked all along; see scheduler.cpp.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "session/clock.h"

namespace vb {

enum class TimerId { T1 = 1, T2, T3, T4, T5, T6, T7, T8, T9, T10, T11, T12, T13 };
inline constexpr int kTimerCount = 13;

// The platform's shortest period: a timer set to 1 ms ticks every 15 ms.
inline constexpr std::int64_t kMinPeriodMs = 15;
// A timer whose tick failed tries again no sooner than this.
inline constexpr std::int64_t kFailureRetryMs = 1000;

class Scheduler {
 public:
  // What a timer does after a tick that failed (the failure is reported
  // once, on the first failing tick, either way).
  enum class OnFailure {
    // Keeps running and tries again, at its period but no sooner than
    // kFailureRetryMs; later failing ticks are not reported until a tick
    // of this timer has succeeded or the timer was stopped and started.
    Retry,
    // Stops: a one-shot tick whose repetition would repeat what it did
    // before the failure (a header line, a caption extension).
    Stop,
  };

  using Tick = std::function<void()>;
  using Report = std::function<void(const std::string& message)>;
  // True when the timer's next tick would change nothing as things stand.
  using RestTest = std::function<bool()>;
  // Brings forward what the skipped ticks would have moved (a sweep
  // position); given the number of ticks a parked timer skipped.
  using CatchUp = std::function<void(std::int64_t skippedTicks)>;

  // Brackets a command or anything else that comes from outside the
  // timers (a key, a change of the input): before it the parked timers take
  // up their schedule, after it the timers at rest park again. Scopes nest;
  // the outermost counts. The command comes after the ticks due up to now:
  // a parked timer's tick due at this very millisecond counts as served.
  class Event {
   public:
    explicit Event(Scheduler& scheduler);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

   private:
    Scheduler& scheduler_;
  };

  Scheduler(const Clock& clock, Report report);

  // Sets a timer up before begin(): its period, whether it runs at start,
  // its tick and its recovery.
  void define(TimerId id, std::int32_t periodMs, bool runningAtStart, OnFailure onFailure,
              Tick tick);

  // Lets a timer park while `atRest` holds. A timer with none never parks.
  void setRest(TimerId id, RestTest atRest, CatchUp catchUp = {});
  // Parking on (the default) or off; with it off every timer ticks at
  // every period, and the behaviour must be the same.
  void setParking(bool on);
  bool parked(TimerId id) const { return timer(id).parked; }
  // The ticks a parked timer has skipped so far (those due up to now); 0
  // for a timer that is not parked.
  std::int64_t skippedTicks(TimerId id) const;

  // The event loop starts: the running timers become due, the 1 ms ones at
  // once, the others one period from now. Before begin() nothing is due.
  void begin();

  // Starting a running timer changes nothing; stopping a stopped one too.
  void start(TimerId id);
  void stop(TimerId id);
  // A period other than the current one starts the period afresh (when
  // the timer runs); the same period changes nothing.
  void setPeriod(TimerId id, std::int32_t periodMs);
  void stopAll();

  bool running(TimerId id) const { return timer(id).running; }
  std::int32_t period(TimerId id) const { return timer(id).period; }
  std::int64_t dueAt(TimerId id) const { return timer(id).due; }

  // The earliest due time of a running timer that is not parked; -1 when
  // there is none.
  std::int64_t nextDueMs() const;

  // Ticks every timer that is due now, once, in service order. A timer
  // that fell behind ticks once, not once per missed period: its next tick
  // is one period after this one. A call made from inside a tick does
  // nothing.
  void runDue();

  // Service order of timers due at the same moment (see scheduler.cpp).
  static const std::array<TimerId, kTimerCount>& serviceOrder();

 private:
  struct Timer {
    std::int32_t period = 1;
    bool running = false;
    std::int64_t due = 0;
    bool failing = false;
    OnFailure onFailure = OnFailure::Retry;
    Tick tick;
    RestTest atRest;
    CatchUp catchUp;
    bool parked = false;
  };

  Timer& timer(TimerId id) { return timers_[static_cast<std::size_t>(id) - 1]; }
  const Timer& timer(TimerId id) const { return timers_[static_cast<std::size_t>(id) - 1]; }
  static std::int64_t effective(std::int32_t periodMs);
  void failed(Timer& t, const std::string& message, std::int64_t now);
  // The parked timers take up their schedule: the ticks they skipped are
  // counted as served on time, up to now (`now` itself too, unless a pass
  // at `now` is about to serve it).
  void wake(std::int64_t now, bool passAtNow);
  // Ticks of a parked timer due up to `last`.
  static std::int64_t skipped(const Timer& t, std::int64_t last);
  // Every running timer at rest whose tick is not overdue parks.
  void park(std::int64_t now);

  const Clock& clock_;
  Report report_;
  std::array<Timer, kTimerCount> timers_{};
  bool begun_ = false;
  bool serving_ = false;
  bool parking_ = true;
  int events_ = 0;  // open Event scopes
};

}  // namespace vb
