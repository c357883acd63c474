// The transcript's lines, the block Exit appends to Base\Log.dat, and the
// clock formats they use.
#include <gtest/gtest.h>

#include "fakes.h"
#include "session/transcript.h"

namespace vb::test {
namespace {

const std::string kSeparator(53, '=');

TEST(ManualClock, GivesRussianDateAndTimeAndCrossesMidnight) {
  ManualClock clock;
  EXPECT_EQ(clock.dateText(), "06.12.2026");
  EXPECT_EQ(clock.timeText(), "17:25:46");
  clock.advance((6 * 3600 + 34 * 60 + 14) * 1000LL + 999);
  EXPECT_EQ(clock.dateText(), "07.12.2026");
  EXPECT_EQ(clock.timeText(), "0:00:00");
}

TEST(TranscriptLines, KeepTheirLayoutToTheCharacter) {
  EXPECT_EQ(separatorLine(), kSeparator);
  EXPECT_EQ(startLine("06.12.2026", "9:05:01"),
            w("Начало диалога: Дата - 06.12.2026   |   Время - 9:05:01"));
  EXPECT_EQ(countLine(1234), w("//Загружено фраз и выражений выученных программой: 1234"));
  EXPECT_EQ(userLine("17:25:46", "  Hi  "), "[17:25:46] USER:       Hi  ");
  EXPECT_EQ(cpuLine("17:25:46", "Yes"), "[17:25:46] CPU:     Yes");
}

TEST(SaveLog, OneExchangeGivesExactlyTheBlock) {
  Rig rig;
  rig.run(1500);
  TurnScript answer;
  answer.answer = w("Здравствуй");
  rig.turn.next(answer);
  rig.send(w("  Привет  "));
  rig.clock.advance(60'000);
  rig.session->N4Click();
  EXPECT_EQ(rig.files.at("Base\\Log.dat"),
            (Lines{"old block", "", kSeparator,
                   w("Начало диалога: Дата - 06.12.2026   |   Время - 17:25:46"),
                   w("//Загружено фраз и выражений выученных программой: 14"), "",
                   w("[17:25:47] USER:       Привет  "), w("[17:25:47] CPU:     Здравствуй"), "",
                   w("Конец диалога: Дата - 06.12.2026   |   Время - 17:26:47"), kSeparator}));
  EXPECT_EQ(rig.view.closeCalls, 1);
  EXPECT_EQ(rig.session->nextDueMs(), -1);
}

TEST(SaveLog, AnEmptyTranscriptGivesTwoEmptyLinesTheEndAndTheSeparator) {
  Rig rig;
  rig.run(1500);
  rig.send("Hi");
  rig.session->N2Click();  // drops the header too
  rig.session->N4Click();
  EXPECT_EQ(rig.files.at("Base\\Log.dat"),
            (Lines{"old block", "", "",
                   w("Конец диалога: Дата - 06.12.2026   |   Время - 17:25:47"), kSeparator}));
}

TEST(SaveLog, TwoRunsLeaveTwoBlocksAfterTheOldContent) {
  Rig rig;
  rig.run(1500);
  rig.send("First run");
  rig.session->N4Click();
  const Lines afterFirst = rig.files.at("Base\\Log.dat");

  RecordingView view;
  Session second({rig.files, rig.random, rig.clock, view, &rig.turn});
  second.FormCreate(rig.settings);
  second.start();
  second.runDue();
  view.input = "Second run";
  second.InputChange("Second run");
  second.SpeakClick();
  second.N4Click();
  const Lines& log = rig.files.at("Base\\Log.dat");
  ASSERT_EQ(log.size(), afterFirst.size() * 2 - 1);
  EXPECT_TRUE(std::equal(afterFirst.begin(), afterFirst.end(), log.begin()));
  EXPECT_EQ(log[afterFirst.size()], "");
  EXPECT_EQ(log[afterFirst.size() + 1], kSeparator);
  EXPECT_EQ(log[afterFirst.size() + 5], "[17:25:47] USER:     Second run");
}

TEST(SaveLog, AFailureKeepsTheWindowTheTranscriptAndTheFile) {
  Rig rig;
  rig.run(1500);
  rig.send("Hi");
  const Lines transcript = rig.session->transcript();
  rig.files.remove("Base\\Log.dat");
  rig.session->N4Click();
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"Cannot open file Base\\Log.dat."});
  rig.files.put("Base\\Log.dat", {"kept"});
  rig.files.failWrites("Base\\Log.dat");
  rig.session->N4Click();
  EXPECT_EQ(rig.view.errors.back(), "Cannot create file Base\\Log.dat.");
  EXPECT_EQ(rig.files.at("Base\\Log.dat"), Lines{"kept"});
  EXPECT_EQ(rig.view.closeCalls, 0);
  EXPECT_FALSE(rig.session->closed());
  EXPECT_EQ(rig.session->transcript(), transcript);
  rig.run(1000);  // the timers run on
  rig.files.failWrites("Base\\Log.dat", false);
  rig.session->N4Click();
  EXPECT_EQ(rig.files.at("Base\\Log.dat").size(), 1u + 1 + transcript.size() + 3);
  EXPECT_TRUE(rig.session->closed());
}

}  // namespace
}  // namespace vb::test
