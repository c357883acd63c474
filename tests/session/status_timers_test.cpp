// The knowledge-base count and statistics, the guard, the start-up window
// effect and the closing animation.
#include <gtest/gtest.h>

#include "fakes.h"

namespace vb::test {
namespace {

using enum TimerId;

TEST(Statistics, AppearAfterOneSecondAndNeverChange) {
  Rig rig;
  rig.run(999);
  EXPECT_EQ(rig.view.captions.at(MenuItem::N18), w("&Входящие выражения:"));
  rig.run(1);
  // 14 lines; 21 answer lines plus 3 ';' and 2 '|' after the first line.
  EXPECT_EQ(rig.view.captions.at(MenuItem::N18), w("&Входящие выражения: [14]"));
  EXPECT_EQ(rig.view.captions.at(MenuItem::N19), w("&Исходящие выражения: [26]"));
  EXPECT_EQ(rig.view.captions.at(MenuItem::N20), w("&Итого: [40]"));
  rig.files.put("Base\\Words.Dat", {"one"});
  rig.session->N2Click();
  rig.run(5000);
  EXPECT_EQ(rig.view.captions.at(MenuItem::N20), w("&Итого: [40]"));
  // The count of New dialogue reads the file again.
  EXPECT_EQ(rig.view.status.at(1), w("Программе известно:   [главные фразы - 1   ветки - 0]"));
}

TEST(Count, AMissingBaseLocksTheInputUntilItCanBeRead) {
  Rig rig({.start = false});
  rig.files.failReads("Base\\Words.Dat");
  rig.session->start();
  rig.run(10'000);
  // T12, T3 and T8 each tell it once.
  EXPECT_EQ(rig.view.errors, (std::vector<std::string>{"Cannot open file Base\\Words.dat.",
                                                       "Cannot open file Base\\Words.Dat.",
                                                       "Cannot open file Base\\Words.Dat."}));
  EXPECT_EQ(rig.session->transcript().size(), 2u);  // separator and start line stay
  EXPECT_FALSE(rig.session->timers().running(T12));
  EXPECT_FALSE(rig.session->timers().running(T8));
  EXPECT_TRUE(rig.view.readOnly);
  EXPECT_EQ(rig.view.status.at(0), w("Идёт загрузка подождите..."));
  rig.files.failReads("Base\\Words.Dat", false);
  rig.run(1000);
  EXPECT_FALSE(rig.view.readOnly);
  EXPECT_EQ(rig.view.status.at(0), w("Загрузка окончена"));
  EXPECT_FALSE(rig.session->timers().running(T3));
  EXPECT_EQ(rig.view.errors.size(), 3u);
}

TEST(Guard, SweepsOneCharacterPerTick) {
  Rig rig;
  rig.run(100);
  rig.type("abc");
  std::vector<std::int32_t> positions;
  for (int i = 0; i < 6; ++i) {
    rig.run(kMinPeriodMs);
    positions.push_back(rig.session->state().GuardPos);
  }
  EXPECT_EQ(positions, (std::vector<std::int32_t>{1, 2, 0, 1, 2, 0}));
  rig.run(60'000);
  EXPECT_EQ(rig.view.input, "abc");
  EXPECT_TRUE(rig.view.isEnabled(Control::DialogueView));
}

TEST(Guard, RefusesEachReservedCharacterForTheRestOfTheRun) {
  for (char reserved : std::string("^_;@|")) {
    Rig rig;
    rig.run(100);
    rig.type(std::string("ab") + reserved + "d");
    const int clicks = rig.view.count(Cue::KeyClick);
    rig.run(3 * kMinPeriodMs);
    EXPECT_EQ(rig.session->input(), "") << reserved;
    EXPECT_EQ(rig.view.input, "");
    EXPECT_EQ(rig.session->state().GuardPos, 3);
    EXPECT_FALSE(rig.view.isEnabled(Control::DialogueView));
    EXPECT_EQ(rig.view.count(Cue::KeyClick), clicks + 1);  // emptying is a change
    rig.type("fine");
    rig.run(60'000);
    EXPECT_FALSE(rig.view.isEnabled(Control::DialogueView));
    EXPECT_EQ(rig.view.input, "fine");
  }
}

TEST(Guard, EnterBeforeTheSweepReachesTheMarkStillRefusesThePhrase) {
  Rig rig;
  rig.run(100);
  rig.type("long phrase with a mark at the end^");
  rig.session->SpeakClick();
  EXPECT_TRUE(rig.turn.raws.empty());
  EXPECT_EQ(rig.view.input, "");
  EXPECT_FALSE(rig.view.isEnabled(Control::DialogueView));
}

TEST(WindowEffect, JumpsWithTheDrawnPositionsThenCentresAndUnlocks) {
  Rig rig({.effect = "on", .start = false});
  rig.random.push(250, {10, 124});     // 11 is drawn again; 125 jumps
  rig.random.push(105, {50, 96, 97});  // left 51 again, 97; top 98
  rig.session->start();
  rig.run(100);
  ASSERT_EQ(rig.view.moves.size(), 2u * 125 + 1);
  EXPECT_EQ(rig.view.moves[0], (Rect{100, 98, 593, 407}));  // top first
  EXPECT_EQ(rig.view.moves[1], (Rect{97, 98, 593, 407}));
  EXPECT_EQ(rig.view.moves[2], (Rect{97, 105, 593, 407}));  // then the largest draws
  for (std::size_t i = 3; i + 1 < rig.view.moves.size(); ++i) {
    EXPECT_EQ(rig.view.moves[i], (Rect{105, 105, 593, 407}));
  }
  for (bool locked : rig.view.lockedAtMove) EXPECT_TRUE(locked);
  EXPECT_EQ(rig.view.rect, (Rect{663, 336, 593, 407}));
  EXPECT_FALSE(rig.view.readOnly);
  EXPECT_FALSE(rig.view.busy);
  EXPECT_FALSE(rig.session->timers().running(T7));
}

TEST(WindowEffect, LineThreeSwitchesItOffInAnyCaseButNotWithABlank) {
  auto effects = [](const std::string& value) {
    Rig rig({.effect = value});
    rig.run(100);
    rig.session->N2Click();
    rig.run(100);
    return rig.view.count(Cue::StartEffect);
  };
  EXPECT_EQ(effects("NO"), 0);
  EXPECT_EQ(effects("no"), 0);
  EXPECT_EQ(effects("nO"), 0);
  EXPECT_EQ(effects("NO "), 2);
  EXPECT_EQ(effects("yes"), 2);
}

TEST(WindowEffect, AConfigurationTooShortForLineThreeLeavesItOnWithoutFailing) {
  Rig rig({.formCreate = false, .start = false});
  rig.files.put("Config.ini", {"a=1", "b=2"});
  rig.session->FormCreate(rig.settings);
  rig.view.errors.clear();
  rig.session->start();
  rig.run(1000);
  EXPECT_EQ(rig.view.count(Cue::StartEffect), 1);
  EXPECT_TRUE(rig.view.errors.empty());
}

TurnScript closing(bool on) {
  TurnScript s;
  s.closing = on;
  return s;
}

TEST(Closing, EightyTicksSlideAndShrinkTheWindowThenExitWritesTheLog) {
  Rig rig;
  rig.run(1500);
  rig.turn.next(closing(true));
  rig.send("Bye");
  const Rect start = rig.view.rect;
  rig.run(79 * kMinPeriodMs);
  EXPECT_EQ(rig.session->state().ExitTicks, 79);
  EXPECT_EQ(rig.view.rect, (Rect{start.left - 3 * 79, start.top - 2 * 79, 0, 0}));
  EXPECT_EQ(rig.view.moves[9], (Rect{start.left - 30, start.top - 20, 493, 327}));
  EXPECT_EQ(rig.view.count(Cue::Closing), 70);  // from the tenth tick
  EXPECT_EQ(rig.view.closeCalls, 0);
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.view.count(Cue::Closing), 71);
  EXPECT_EQ(rig.view.closeCalls, 1);
  EXPECT_TRUE(rig.session->closed());
  EXPECT_EQ(rig.session->nextDueMs(), -1);
  const Lines& log = rig.files.at("Base\\Log.dat");
  ASSERT_EQ(log.size(), 1u + 1 + 4 + 2 + 1 + 2);
  EXPECT_EQ(log[7], "[17:25:47] CPU:     Answer");
}

TEST(Closing, StoppedByALaterAnswerTheCountGoesOnAtTheNextStart) {
  Rig rig;
  rig.run(1500);
  rig.turn.next(closing(true));
  rig.send("Bye");
  rig.run(20 * kMinPeriodMs);
  rig.turn.next(closing(false));
  rig.send("Stay");
  const Rect small = rig.view.rect;
  rig.run(10'000);
  EXPECT_EQ(rig.view.rect, small);
  EXPECT_EQ(rig.session->state().ExitTicks, 20);
  rig.turn.next(closing(true));
  rig.send("Bye again");
  rig.run(59 * kMinPeriodMs);
  EXPECT_FALSE(rig.session->closed());
  rig.run(kMinPeriodMs);
  EXPECT_TRUE(rig.session->closed());
}

TEST(Closing, AnUnwritableLogIsToldOnceAndTheWindowStaysOpen) {
  Rig rig;
  rig.run(1500);
  rig.files.failWrites("Base\\Log.dat");
  rig.turn.next(closing(true));
  rig.send("Bye");
  rig.run(10'000);
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"Cannot create file Base\\Log.dat."});
  EXPECT_EQ(rig.view.closeCalls, 0);
  EXPECT_FALSE(rig.session->timers().running(T4));
  EXPECT_EQ(rig.files.at("Base\\Log.dat"), Lines{"old block"});
  // A later closing answer tries Exit at its first tick.
  rig.files.failWrites("Base\\Log.dat", false);
  rig.turn.next(closing(true));
  rig.send("Bye now");
  rig.run(kMinPeriodMs);
  EXPECT_TRUE(rig.session->closed());
}

}  // namespace
}  // namespace vb::test
