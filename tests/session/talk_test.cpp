// The idle remark, the greeting, the spontaneous remark, the delayed part
// and the WaitCount they share.
#include <gtest/gtest.h>

#include "engine/random_source.h"
#include "fakes.h"

namespace vb::test {
namespace {

using enum TimerId;

// Virtual time (ms since start) at which the program's next own line
// appears, looking `limit` ms ahead; -1 if none does.
std::int64_t nextCpuLineAt(Rig& rig, std::int64_t limit) {
  const auto& lines = rig.view.lines;
  const std::size_t before = lines.size();
  auto spoke = [&] {
    for (std::size_t i = before; i < lines.size(); ++i) {
      if (lines[i].kind == LineKind::Cpu) return true;
    }
    return false;
  };
  const std::int64_t end = rig.clock.nowMs() + limit;
  for (auto due = rig.session->nextDueMs(); due >= 0 && due <= end;
       due = rig.session->nextDueMs()) {
    if (due > rig.clock.nowMs()) rig.clock.advance(due - rig.clock.nowMs());
    rig.session->runDue();
    if (lines.size() > before && spoke()) return rig.clock.nowMs();
  }
  return -1;
}

TEST(IdleRemark, ComesAtTheDrawnThresholdNeverBefore90NorAfter120Seconds) {
  Rig rig;
  for (int i = 0; i < 200; ++i) rig.random.push(120, {89});  // every threshold 90
  rig.run(89'999);
  EXPECT_TRUE(cpuLines(rig.view).empty());
  rig.run(1);
  EXPECT_EQ(cpuLines(rig.view), std::vector<std::string>{"Pause2"});
  EXPECT_EQ(rig.session->state().dialogue.IdleCount, 0);
  EXPECT_EQ(rig.session->state().dialogue.CpuPhrase, "Pause2");
  EXPECT_EQ(rig.view.count(Cue::CpuLine), 1);
  // Threshold draws below 90 are drawn again; each tick reseeds first.
  EXPECT_EQ(rig.random.draws(120), 90);
  EXPECT_GE(rig.random.reseeds, 90);
}

TEST(IdleRemark, ANewThresholdEverySecondAndATurnRestartsTheCount) {
  Rig rig;  // thresholds of 120 unless told
  rig.run(60'000);
  rig.send("Hi");
  rig.run(119'999);
  EXPECT_TRUE(cpuLines(rig.view) == std::vector<std::string>{"Answer"});
  rig.run(1);
  EXPECT_EQ(cpuLines(rig.view).size(), 2u);
  // Threshold 120 for 99 ticks, then 100: the remark comes at 100 s.
  for (int i = 0; i < 99; ++i) rig.random.push(120, {119});
  rig.random.push(120, {99});
  EXPECT_EQ(nextCpuLineAt(rig, 130'000), 180'000 + 100'000);
}

TEST(IdleRemark, OverManyRemarksTheGapsStayWithin90To120Seconds) {
  SeededRandom seeded(7);
  Rig rig({.random = &seeded});
  rig.run(100);  // a greeting may come
  std::int64_t last = 0;
  for (int i = 0; i < 30; ++i) {
    const std::int64_t at = nextCpuLineAt(rig, 130'000);
    ASSERT_GE(at - last, 90'000);
    ASSERT_LE(at - last, 120'000);
    last = at;
  }
}

TEST(IdleRemark, EqualToTheLastAnswerGetsARepeatTailAndLeavesPrevCpuPhrase) {
  Rig rig;
  TurnScript script;
  script.answer = "PAUSE1";
  rig.turn.next(script);
  rig.run(100);
  rig.send("Hi");
  rig.random.push(3, {1});  // Pause1, equal ignoring case
  rig.random.push(2, {0});  // Tail0
  rig.run(120'000);
  EXPECT_EQ(cpuLines(rig.view).back(), "Pause1     Tail0");
  EXPECT_EQ(rig.session->state().dialogue.CpuPhrase, "Pause1     Tail0");
  EXPECT_EQ(rig.session->state().dialogue.PrevCpuPhrase, "PAUSE1");
}

TEST(IdleRemark, AMissingFileIsReportedOnceAndTheRemarkComesWhenItIsBack) {
  Rig rig;
  rig.run(1500);  // T8 has read it
  rig.files.failReads("Base\\Pause.Dat");
  rig.run(300'000);
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"Cannot open file Base\\Pause.Dat."});
  EXPECT_TRUE(cpuLines(rig.view).empty());
  rig.files.failReads("Base\\Pause.Dat", false);
  rig.run(1000);
  EXPECT_EQ(cpuLines(rig.view), std::vector<std::string>{"Pause2"});
}

TEST(Greeting, OneRollInThreeWithoutTouchingTheTurnState) {
  for (int roll : {0, 1, 2}) {
    Rig rig({.start = false});
    rig.random.push(3, {roll});
    rig.session->start();
    rig.run(100);
    EXPECT_EQ(cpuLines(rig.view).size(), roll == 0 ? 1u : 0u) << roll;
    EXPECT_FALSE(rig.session->timers().running(T10));
    EXPECT_TRUE(rig.session->state().dialogue.PrevCpuPhrase.empty());
  }
}

TEST(Greeting, AnEmptyFileIsReportedAndTheGreetingSkipped) {
  Rig rig({.start = false});
  rig.files.put("Base\\Begin.dat", {});
  rig.random.push(3, {0});
  rig.session->start();
  rig.run(5000);
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"List index out of bounds (0)"});
  EXPECT_FALSE(rig.session->timers().running(T10));
  EXPECT_FALSE(rig.view.busy);
}

TurnScript improvised(std::int32_t roll) {
  TurnScript s;
  s.improvised = true;
  s.roll = roll;
  return s;
}

TEST(SpontaneousRemark, ComesTwoSecondsAfterAnImprovisedTurnOfRollOne) {
  Rig rig;
  rig.run(1500);
  rig.turn.next(improvised(1));
  rig.send("Hi");
  rig.random.push(2, {0});  // line 1 of AI.dat
  const std::int64_t sent = rig.clock.nowMs();
  EXPECT_EQ(nextCpuLineAt(rig, 5000), sent + 2000);
  EXPECT_EQ(cpuLines(rig.view).back(), "AI1");
  EXPECT_FALSE(rig.session->timers().running(T9));
  EXPECT_EQ(rig.session->state().WaitCount, 0);
  EXPECT_EQ(rig.session->state().dialogue.CpuPhrase, "Answer");
  // The first line is never picked: Random(n - 1) + 1.
  rig.turn.next(improvised(1));
  rig.send("Again");
  rig.run(2000);
  EXPECT_EQ(cpuLines(rig.view).back(), "AI2");
}

TEST(SpontaneousRemark, ALaterImprovisedTurnOfRollTwoCancelsIt) {
  Rig rig;
  rig.run(100);
  rig.turn.next(improvised(1));
  rig.send("Hi");
  rig.run(1000);
  rig.turn.next(improvised(3));
  rig.send("More");
  rig.run(5000);
  EXPECT_EQ(cpuLines(rig.view), (std::vector<std::string>{"Answer", "Answer"}));
  EXPECT_FALSE(rig.session->timers().running(T9));
}

TEST(SpontaneousRemark, AOneLineFileFailsOnceAndT9CountsOn) {
  Rig rig;
  rig.files.put("Base\\AI.dat", {"only"});
  rig.run(100);
  rig.turn.next(improvised(1));
  rig.send("Hi");
  rig.run(10'000);
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"List index out of bounds (1)"});
  EXPECT_TRUE(rig.session->timers().running(T9));
  EXPECT_EQ(rig.session->state().WaitCount, 1 + 8 * 500);
}

TurnScript withDelayedPart() {
  TurnScript s;
  s.delayed = "Later";
  s.delay = true;
  return s;
}

TEST(DelayedPart, NeedsSevenTicksAtLeastAndComesAfterFreshlyDrawnDelays) {
  Rig rig;
  rig.run(100);
  for (int i = 0; i < 7; ++i) rig.random.push(1000, {0});  // 100 ms each
  rig.turn.next(withDelayedPart());
  rig.send("Hi");
  const std::int64_t sent = rig.clock.nowMs();
  // First tick one platform period after the start, then every 100 ms:
  // 15, 30, ... 105 >= 100 at the seventh tick.
  EXPECT_EQ(nextCpuLineAt(rig, 5000), sent + kMinPeriodMs + 6 * 100);
  EXPECT_EQ(cpuLines(rig.view).back(), "Later");
  EXPECT_FALSE(rig.session->timers().running(T13));
  EXPECT_EQ(rig.session->state().dialogue.DelayedPhrase, "Later");
  EXPECT_EQ(rig.session->state().WaitCount, 0);
}

TEST(DelayedPart, EmptiedByALaterTurnIsNeverSaidAsAnEmptyLine) {
  Rig rig;
  rig.run(100);
  rig.turn.next(withDelayedPart());
  rig.send("Hi");
  rig.turn.next(TurnScript{});  // no delayed part: the turn empties it
  rig.send("Again");
  ASSERT_TRUE(rig.session->timers().running(T13));
  rig.run(85'000);  // delays of 1099 ms: 74 ticks of 15, before any idle remark
  EXPECT_FALSE(rig.session->timers().running(T13));
  EXPECT_EQ(cpuLines(rig.view), (std::vector<std::string>{"Answer", "Answer"}));
  EXPECT_EQ(rig.session->state().WaitCount, 0);
}

TEST(DelayedPart, MostlyComesBetween5And16Seconds) {
  SeededRandom seeded(42);
  Rig rig({.random = &seeded});
  rig.run(1500);
  int within = 0;
  const int trials = 100;
  for (int i = 0; i < trials; ++i) {
    rig.turn.next(withDelayedPart());
    rig.send("Phrase " + std::to_string(i));
    const std::int64_t sent = rig.clock.nowMs();
    const std::int64_t said = nextCpuLineAt(rig, 60'000);
    ASSERT_GT(said, sent);
    if (said - sent >= 5000 && said - sent <= 16'000) ++within;
  }
  EXPECT_GE(within, trials * 85 / 100);
}

TEST(WaitCount, T13InBetweenMakesT9MissItsCountUntilT13HasSpoken) {
  Rig rig;
  rig.run(1500);
  TurnScript both = withDelayedPart();
  both.improvised = true;
  both.roll = 1;
  rig.turn.next(both);
  rig.send("Hi");  // T9 and T13 start together; T13's delays are 1099 ms
  const std::int64_t sent = rig.clock.nowMs();
  // T13 at +15 (15), T9 at +1000 (515): missed; T13 at +1114 (530), T9 at
  // +2000 (1030): missed...
  rig.run(2000);
  EXPECT_EQ(cpuLines(rig.view).size(), 1u);
  EXPECT_EQ(rig.session->state().WaitCount, 1030);
  // ...T13 at +2213 (1045), T9 at +3000 (1545), T13 at +3312 (1560 >= 1099):
  // the delayed part,
  // sooner than its own count would allow; then T9 speaks at +5000.
  EXPECT_EQ(nextCpuLineAt(rig, 5000), sent + 3312);
  EXPECT_EQ(cpuLines(rig.view).back(), "Later");
  EXPECT_EQ(nextCpuLineAt(rig, 5000), sent + 5000);
  EXPECT_EQ(cpuLines(rig.view).back(), "AI2");
}

}  // namespace
}  // namespace vb::test
