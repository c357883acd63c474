// Cpu\Cpu mode through the partner file, and the editor dialog.
#include <gtest/gtest.h>

#include "fakes.h"

namespace vb::test {
namespace {

using enum TimerId;

TurnScript answering(const std::string& text) {
  TurnScript s;
  s.answer = text;
  return s;
}

TEST(PartnerFile, EnterModeFeedsEachAnswerBackAsTheNextPhrase) {
  Rig rig;
  rig.files.put("Config.ini", configLines("NO", "elsewhere.txt"));
  rig.files.put("D:\\Txt.Dat", {"P", "ignored"});
  rig.run(1500);
  rig.session->Cpu31Click();
  rig.run(kMinPeriodMs);
  EXPECT_TRUE(rig.view.isEnabled(Control::Talk));
  EXPECT_EQ(rig.session->partnerLines(), (Lines{"P", "ignored"}));
  rig.turn.next(answering("A1"));
  rig.session->TalkClick();  // the input field is empty and plays no part
  EXPECT_EQ(rig.files.at("D:\\Txt.Dat"), Lines{"A1"});
  EXPECT_EQ(rig.session->partnerLines(), Lines{"A1"});
  rig.run(kMinPeriodMs);
  rig.turn.next(answering("A2"));
  rig.session->TalkClick();
  EXPECT_EQ(rig.turn.raws, (std::vector<std::string>{"P", "A1"}));
  EXPECT_EQ(rig.session->transcript().end()[-2], "[17:25:47] USER:     A1");
  EXPECT_EQ(rig.session->state().dialogue.PrevUserPhrase, "A1");

  rig.session->CpuUser1Click();
  const int reads = rig.files.reads("D:\\Txt.Dat");
  rig.run(5000);
  EXPECT_EQ(rig.files.reads("D:\\Txt.Dat"), reads);
  EXPECT_EQ(rig.files.at("D:\\Txt.Dat"), Lines{"A2"});
}

TEST(PartnerFile, MarkupCharactersOfAPartnerNeverReachTheTurn) {
  Rig rig;
  rig.files.put("D:\\Txt.Dat", {"Hel^lo; w@or_ld|!"});
  rig.run(1500);
  rig.session->Cpu31Click();
  rig.run(kMinPeriodMs);
  rig.session->TalkClick();
  EXPECT_EQ(rig.turn.raws, std::vector<std::string>{"Hello world!"});
}

TEST(PartnerFile, TimerModeRunsATurnAtOnceThenEveryInterval) {
  Rig rig;
  rig.files.put("partner.txt", {"P"});
  rig.run(1500);
  rig.session->N38Click();
  EXPECT_TRUE(rig.view.windows.at(Window::Editor));
  EXPECT_FALSE(rig.view.isEnabled(Control::MainWindow));
  EXPECT_FALSE(rig.session->timers().running(T1));
  EXPECT_EQ(rig.session->editor().path, "partner.txt");
  rig.session->editor().timerMode = true;
  rig.session->editor().interval = 5;
  rig.session->Button1Click();
  EXPECT_EQ(rig.session->editor().interval, 5000);
  EXPECT_FALSE(rig.view.windows.at(Window::Editor));
  EXPECT_TRUE(rig.view.isEnabled(Control::MainWindow));
  EXPECT_TRUE(rig.session->timers().running(T1));
  EXPECT_EQ(rig.files.at("Config.ini")[30], "Adres=partner.txt");

  rig.session->Cpu31Click();
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.turn.raws.size(), 1u);
  EXPECT_FALSE(rig.view.isEnabled(Control::Talk));
  rig.session->TalkClick();  // Enter does nothing in timer mode
  rig.run(12'000);
  EXPECT_EQ(rig.turn.raws.size(), 3u);  // +15 ms, +5015 ms, +10015 ms
  EXPECT_EQ(rig.turn.raws[1], "Answer");
}

// A first line that is empty, or holds only markup, is no phrase: no turn
// runs and nothing changes, neither the file (the greeting or the last
// answer would be handed over as if the partner had said it), nor the
// previous phrases, nor the silence count (the idle remark still comes).
TEST(PartnerFile, AnEmptyOrMarkupOnlyLineMakesNoTurnAndChangesNothing) {
  for (bool timerMode : {false, true}) {
    SCOPED_TRACE(timerMode ? "timer mode" : "Enter mode");
    Rig rig({.realTurn = true, .start = false});
    rig.random.push(3, {0});  // the greeting comes
    rig.session->start();
    rig.run(1500);
    ASSERT_EQ(cpuLines(rig.view), std::vector<std::string>{"Hello1"});
    rig.session->N38Click();
    rig.session->editor().timerMode = timerMode;
    rig.session->Button1Click();  // one turn a second in timer mode
    rig.session->Cpu31Click();
    auto tick = [&] {
      rig.run(timerMode ? 1000 : kMinPeriodMs);
      if (!timerMode) rig.session->TalkClick();
    };
    auto expectNoTurn = [&](const Lines& line) {
      rig.files.put("partner.txt", line);
      const DialogueState before = rig.session->state().dialogue;
      const int writes = rig.files.writes("partner.txt");
      const std::size_t shown = rig.view.lines.size();
      tick();
      rig.run(5000);
      if (!timerMode) rig.session->TalkClick();
      const DialogueState& after = rig.session->state().dialogue;
      EXPECT_EQ(rig.files.writes("partner.txt"), writes);
      EXPECT_EQ(rig.files.at("partner.txt"), line);
      EXPECT_EQ(rig.view.lines.size(), shown);
      EXPECT_EQ(after.PrevUserPhrase, before.PrevUserPhrase);
      EXPECT_EQ(after.PrevCpuPhrase, before.PrevCpuPhrase);
      EXPECT_GE(after.IdleCount, before.IdleCount + 5);
    };
    expectNoTurn({"", w("вторая")});
    rig.files.put("partner.txt", {w("привет")});
    tick();
    EXPECT_EQ(rig.files.at("partner.txt"), Lines{rig.session->state().dialogue.PrevCpuPhrase});
    expectNoTurn({"@@@"});
    rig.run(120'000);  // the line stays markup: the silence is still counted
    EXPECT_EQ(cpuLines(rig.view).back(), "Pause2");
  }
}

TEST(PartnerFile, CancelLeavesTheNumberAsMillisecondsAndTurnsFollowAtTheMinimum) {
  Rig rig;
  rig.files.put("partner.txt", {"P"});
  rig.run(1500);
  rig.session->N38Click();
  rig.session->editor().timerMode = true;
  rig.session->Button2Click();
  EXPECT_EQ(rig.session->editor().interval, 1);
  EXPECT_EQ(rig.files.writes("Config.ini"), 0);
  rig.session->Cpu31Click();
  rig.run(10 * kMinPeriodMs);
  EXPECT_EQ(rig.turn.raws.size(), 10u);
}

TEST(Editor, AFailedSaveKeepsTheDialogOpenAndTheNumberUnconverted) {
  Rig rig;
  rig.run(1500);
  rig.session->N38Click();
  rig.session->editor().path = "new.txt";
  rig.session->editor().interval = 7;
  rig.files.failWrites("Config.ini");
  rig.session->Button1Click();
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"Cannot create file Config.ini."});
  EXPECT_TRUE(rig.view.windows.at(Window::Editor));
  EXPECT_FALSE(rig.view.isEnabled(Control::MainWindow));
  EXPECT_FALSE(rig.session->timers().running(T1));
  EXPECT_EQ(rig.session->editor().interval, 7);
  EXPECT_EQ(rig.session->config().lines()[30], "Adres=new.txt");
  EXPECT_EQ(rig.files.at("Config.ini")[30], "Adres=partner.txt");
  rig.session->Button2Click();
  EXPECT_FALSE(rig.view.windows.at(Window::Editor));
  EXPECT_TRUE(rig.session->timers().running(T1));
}

TEST(Editor, AConfigurationWithoutLine31DoesNotOpenIt) {
  Rig rig({.formCreate = false});
  rig.files.put("Config.ini", Lines(28, "x=0"));
  rig.session->FormCreate(rig.settings);
  rig.run(1500);
  rig.session->N38Click();
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"List index out of bounds (30)"});
  EXPECT_FALSE(rig.view.windows.at(Window::Editor));
  EXPECT_TRUE(rig.session->timers().running(T1));
}

TEST(PartnerFile, FailuresAreToldOnceAndLeaveThePreviousTurn) {
  Rig rig;
  rig.run(1500);
  rig.send("Before");
  rig.session->Cpu31Click();
  rig.run(10'000);  // no D:\Txt.Dat
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"Cannot open file D:\\Txt.Dat."});
  EXPECT_FALSE(rig.view.isEnabled(Control::Talk));

  rig.files.put("D:\\Txt.Dat", {});
  rig.run(1000);
  rig.session->TalkClick();
  EXPECT_EQ(rig.view.errors.back(), "List index out of bounds (0)");

  rig.files.put("D:\\Txt.Dat", {"P"});
  rig.files.failWrites("D:\\Txt.Dat");
  rig.run(kMinPeriodMs);
  rig.session->TalkClick();
  EXPECT_EQ(rig.view.errors.back(), "Cannot create file D:\\Txt.Dat.");
  EXPECT_EQ(rig.session->state().dialogue.PrevUserPhrase, "Before");

  // In timer mode a failing turn is told once, not at every reading.
  rig.files.put("D:\\Txt.Dat", {});
  rig.files.failWrites("D:\\Txt.Dat", false);
  rig.session->editor().timerMode = true;
  const std::size_t told = rig.view.errors.size();
  rig.run(10'000);
  EXPECT_EQ(rig.view.errors.size(), told + 1);
}

}  // namespace
}  // namespace vb::test
