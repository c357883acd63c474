#include "session/scheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/failure.h"

namespace vb {
namespace {

// A scheduler whose ticks write their timer's number into a log.
struct SchedulerRig {
  SchedulerRig() : timers(clock, [this](const std::string& m) { reports.push_back(m); }) {}

  void define(TimerId id, std::int32_t period, bool running,
              Scheduler::OnFailure onFailure = Scheduler::OnFailure::Retry,
              std::function<void()> extra = {}) {
    timers.define(id, period, running, onFailure, [this, id, extra] {
      ticks.push_back(static_cast<int>(id));
      if (extra) extra();
    });
  }
  // Moves the clock to each due time up to `ms` from now, serving it.
  void run(std::int64_t ms) {
    const std::int64_t target = clock.nowMs() + ms;
    for (auto due = timers.nextDueMs(); due >= 0 && due <= target; due = timers.nextDueMs()) {
      if (due > clock.nowMs()) clock.advance(due - clock.nowMs());
      timers.runDue();
    }
    clock.advance(target - clock.nowMs());
  }
  int count(TimerId id) const {
    return static_cast<int>(std::count(ticks.begin(), ticks.end(), static_cast<int>(id)));
  }

  ManualClock clock;
  std::vector<std::string> reports;
  std::vector<int> ticks;
  Scheduler timers;
};

TEST(Scheduler, NothingIsDueBeforeTheLoopBegins) {
  SchedulerRig rig;
  rig.define(TimerId::T1, 1, true);
  EXPECT_EQ(rig.timers.nextDueMs(), -1);
  rig.timers.runDue();
  EXPECT_TRUE(rig.ticks.empty());
}

TEST(Scheduler, SimultaneousTimersTickInServiceOrder) {
  SchedulerRig rig;
  for (int i = 1; i <= kTimerCount; ++i) rig.define(static_cast<TimerId>(i), 1, true);
  rig.timers.begin();
  rig.timers.runDue();
  EXPECT_EQ(rig.ticks, (std::vector<int>{12, 11, 7, 10, 3, 1, 2, 4, 5, 6, 8, 9, 13}));
}

TEST(Scheduler, OneMillisecondTimersTickAtThePlatformMinimum) {
  SchedulerRig rig;
  rig.define(TimerId::T1, 1, true);
  rig.define(TimerId::T2, 1000, true);
  rig.timers.begin();
  EXPECT_EQ(rig.timers.nextDueMs(), 0);  // the 1 ms timer at once
  EXPECT_EQ(rig.timers.dueAt(TimerId::T2), 1000);
  rig.run(1000);
  EXPECT_EQ(rig.count(TimerId::T1), 1000 / kMinPeriodMs + 1);
  EXPECT_EQ(rig.count(TimerId::T2), 1);
}

TEST(Scheduler, StartStopAndPeriodFollowTheTimerRules) {
  SchedulerRig rig;
  rig.define(TimerId::T9, 1000, false);
  rig.timers.begin();
  rig.clock.advance(100);
  rig.timers.start(TimerId::T9);
  EXPECT_EQ(rig.timers.dueAt(TimerId::T9), 1100);
  rig.clock.advance(500);
  rig.timers.start(TimerId::T9);  // already running: no change
  EXPECT_EQ(rig.timers.dueAt(TimerId::T9), 1100);
  rig.timers.setPeriod(TimerId::T9, 1000);  // same period: no change
  EXPECT_EQ(rig.timers.dueAt(TimerId::T9), 1100);
  rig.timers.setPeriod(TimerId::T9, 300);  // a new period starts afresh
  EXPECT_EQ(rig.timers.dueAt(TimerId::T9), 900);
  rig.timers.stop(TimerId::T9);
  rig.timers.stop(TimerId::T9);
  EXPECT_FALSE(rig.timers.running(TimerId::T9));
  EXPECT_EQ(rig.timers.nextDueMs(), -1);
  rig.timers.setPeriod(TimerId::T9, 700);  // a stopped timer keeps it for its next start
  rig.timers.start(TimerId::T9);
  EXPECT_EQ(rig.timers.dueAt(TimerId::T9), 1300);
}

TEST(Scheduler, ATimerThatFellBehindTicksOnce) {
  SchedulerRig rig;
  rig.define(TimerId::T5, 1, true);
  rig.timers.begin();
  rig.timers.runDue();
  rig.clock.advance(2000);  // a long handler held the loop
  rig.timers.runDue();
  rig.timers.runDue();
  EXPECT_EQ(rig.count(TimerId::T5), 2);
  EXPECT_EQ(rig.timers.nextDueMs(), 2000 + kMinPeriodMs);
}

TEST(Scheduler, ATickStartingAnotherTimerMakesItDueAPeriodLater) {
  SchedulerRig rig;
  rig.define(TimerId::T10, 1, false);
  rig.define(TimerId::T7, 1, true, Scheduler::OnFailure::Retry, [&] {
    rig.timers.stop(TimerId::T7);
    rig.timers.start(TimerId::T10);
  });
  rig.timers.begin();
  rig.timers.runDue();
  EXPECT_EQ(rig.ticks, std::vector<int>{7});
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.ticks, (std::vector<int>{7, 10}));
}

TEST(Scheduler, ACallFromInsideATickServesNothing) {
  SchedulerRig rig;
  rig.define(TimerId::T1, 1, true, Scheduler::OnFailure::Retry, [&] { rig.timers.runDue(); });
  rig.define(TimerId::T5, 1, true);
  rig.timers.begin();
  rig.timers.runDue();
  EXPECT_EQ(rig.ticks, (std::vector<int>{1, 5}));
}

TEST(Scheduler, ARetryingTimerReportsOnceAndAgainOnlyAfterASuccess) {
  SchedulerRig rig;
  bool fail = true;
  rig.define(TimerId::T3, 1, true, Scheduler::OnFailure::Retry, [&] {
    if (fail) throw cannotOpen("Base\\Words.Dat");
  });
  rig.timers.begin();
  rig.run(5000);
  EXPECT_EQ(rig.reports, std::vector<std::string>{"Cannot open file Base\\Words.Dat"});
  EXPECT_TRUE(rig.timers.running(TimerId::T3));
  // Tried again about once a second, not every 15 ms.
  EXPECT_GE(rig.count(TimerId::T3), 5);
  EXPECT_LE(rig.count(TimerId::T3), 7);
  fail = false;
  rig.run(1000);
  fail = true;
  rig.run(1000);
  EXPECT_EQ(rig.reports.size(), 2u);
}

TEST(Scheduler, AStoppingTimerReportsOnceAndStops) {
  SchedulerRig rig;
  rig.define(TimerId::T12, 1, true, Scheduler::OnFailure::Stop,
             [] { throw std::runtime_error("disk gone"); });
  rig.timers.begin();
  rig.run(100);
  EXPECT_EQ(rig.reports, std::vector<std::string>{"disk gone"});
  EXPECT_FALSE(rig.timers.running(TimerId::T12));
  // A new start is a new attempt: its failure is told again.
  rig.timers.start(TimerId::T12);
  rig.run(100);
  EXPECT_EQ(rig.reports.size(), 2u);
}

}  // namespace
}  // namespace vb
