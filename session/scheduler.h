#pragma once
// The main window's thirteen timers T1..T13 on one clock: period, running
// or not, next due time. A front end (or a test) calls runDue() when the
// clock reaches nextDueMs(); every due timer then ticks once, in a fixed
// order, each tick run to its end before the next.

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

  Scheduler(const Clock& clock, Report report);

  // Sets a timer up before begin(): its period, whether it runs at start,
  // its tick and its recovery.
  void define(TimerId id, std::int32_t periodMs, bool runningAtStart, OnFailure onFailure,
              Tick tick);

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

  // The earliest due time of a running timer; -1 when none runs.
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
  };

  Timer& timer(TimerId id) { return timers_[static_cast<std::size_t>(id) - 1]; }
  const Timer& timer(TimerId id) const { return timers_[static_cast<std::size_t>(id) - 1]; }
  static std::int64_t effective(std::int32_t periodMs);
  void failed(Timer& t, const std::string& message, std::int64_t now);

  const Clock& clock_;
  Report report_;
  std::array<Timer, kTimerCount> timers_{};
  bool begun_ = false;
  bool serving_ = false;
};

}  // namespace vb
