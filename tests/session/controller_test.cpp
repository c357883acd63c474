// Start-up, New dialogue, undo, the modes, the other windows and T1.
#include <gtest/gtest.h>

#include "fakes.h"
#include "session/transcript.h"

namespace vb::test {
namespace {

using enum TimerId;

std::vector<TimerId> runningTimers(const Session& session) {
  std::vector<TimerId> out;
  for (int i = 1; i <= kTimerCount; ++i) {
    if (session.timers().running(static_cast<TimerId>(i))) out.push_back(static_cast<TimerId>(i));
  }
  return out;
}

Lines header() {
  return {separatorLine(), startLine("06.12.2026", "17:25:46"), countLine(14), ""};
}

void expectRestingControls(const RecordingView& view) {
  EXPECT_EQ(view.status.at(0), w("Загрузка окончена"));
  EXPECT_EQ(view.status.at(1), w("Программе известно:   [главные фразы - 10   ветки - 4]"));
  EXPECT_EQ(view.status.at(2), w("Режим Cpu\\User"));
  for (Control c : {Control::Speak, Control::EnRus, Control::Talk, Control::CompleteItem}) {
    EXPECT_FALSE(view.isEnabled(c));
  }
  for (Control c : {Control::MenuSystem, Control::MenuSettings, Control::MenuService,
                    Control::MenuHelp, Control::DialogueView, Control::MainWindow}) {
    EXPECT_TRUE(view.isEnabled(c));
  }
  EXPECT_FALSE(view.readOnly);
  EXPECT_FALSE(view.busy);
  EXPECT_TRUE(view.checks.at(MenuItem::CpuUser1));
  EXPECT_FALSE(view.checks.at(MenuItem::Cpu31));
  EXPECT_FALSE(view.checks.at(MenuItem::N24));
}

TEST(StartUp, WithoutEffectAndGreetingRestsWithTheHeaderAndCounts) {
  Rig rig;  // line 3 "NO"; Random(3) gives 3: no greeting
  rig.run(1500);
  EXPECT_TRUE(rig.view.lines.empty());
  EXPECT_EQ(rig.session->transcript(), header());
  expectRestingControls(rig.view);
  EXPECT_FALSE(rig.view.isEnabled(Control::Cancel));
  // T11's "[NONE]" came first and was replaced by the count's texts.
  EXPECT_EQ(rig.view.statusHistory0,
            (std::vector<std::string>{"", "[NONE]", w("Идёт загрузка подождите..."),
                                      w("Загрузка окончена")}));
  // T7 stays running and idle while the effect is off; T8 has ticked once.
  EXPECT_EQ(runningTimers(*rig.session), (std::vector<TimerId>{T1, T2, T5, T7}));
  EXPECT_TRUE(rig.view.moves.empty());
  EXPECT_EQ(rig.view.count(Cue::StartEffect), 0);
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{});
}

TEST(StartUp, WithEffectAndGreetingTheGreetingSurvivesTheLastClearing) {
  Rig rig({.effect = "yes", .start = false});
  rig.random.push(3, {0});  // greeting roll 1
  rig.random.push(2, {0});  // Hello0
  rig.session->start();
  rig.run(1500);
  ASSERT_EQ(rig.view.texts(), std::vector<std::string>{"Hello0"});
  Lines expected = header();
  expected.push_back(cpuLine("17:25:46", "Hello0"));
  EXPECT_EQ(rig.session->transcript(), expected);
  expectRestingControls(rig.view);
  EXPECT_TRUE(rig.view.isEnabled(Control::Cancel));
  EXPECT_EQ(runningTimers(*rig.session), (std::vector<TimerId>{T1, T2, T5}));
  // The window jumped (250 times with the largest draws) and stands centred.
  EXPECT_EQ(rig.view.moves.size(), 2u * 250 + 1);
  EXPECT_EQ(rig.view.rect, (Rect{(1920 - 593) / 2, (1080 - 407) / 2, 593, 407}));
  EXPECT_EQ(rig.view.count(Cue::StartEffect), 1);
  EXPECT_EQ(rig.view.count(Cue::CpuLine), 1);
}

TEST(StartUp, AtRestTheFastTimersTellTheViewNothing) {
  Rig rig;
  rig.run(2000);
  const int calls = rig.view.calls;
  const int focus = rig.view.focusCalls;
  rig.run(60'000);
  EXPECT_EQ(rig.view.calls, calls);
  EXPECT_EQ(rig.view.focusCalls, focus);
  EXPECT_EQ(focus, 1);
  // The focus is given back once after the front end says it left.
  rig.session->InputFocusLost();
  rig.run(100);
  EXPECT_EQ(rig.view.focusCalls, 2);
}

TEST(StartUp, AFailingCreationStepSkipsTheRestAndTheHook) {
  Rig rig({.formCreate = false, .start = false});
  rig.files.put("Config.ini", {"a=1", "b=2", "c=3", "d", "e", "f", "g=oops"});
  rig.session->FormCreate(rig.settings);
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"'oops' is not a valid integer value."});
  EXPECT_FALSE(rig.session->hookInstalled());
  rig.session->start();
  rig.run(100);
  // The start-up effect reads line 3 of what was loaded: on.
  EXPECT_EQ(rig.view.count(Cue::StartEffect), 1);
}

TEST(NewDialogue, WithoutEffectClearsRecountsAndGreetsWithoutHeader) {
  Rig rig;
  rig.run(1500);
  rig.send("Hi");
  rig.random.push(3, {0});
  rig.random.push(2, {1});
  rig.session->N2Click();
  rig.run(100);
  EXPECT_EQ(rig.view.texts(), std::vector<std::string>{"Hello1"});
  EXPECT_EQ(rig.session->transcript(), Lines{cpuLine("17:25:47", "Hello1")});
  EXPECT_TRUE(rig.session->state().dialogue.PrevUserPhrase.empty());
  EXPECT_TRUE(rig.session->state().dialogue.PrevCpuPhrase.empty());
  EXPECT_EQ(rig.session->state().dialogue.CpuPhrase, "Hello1");
  expectRestingControls(rig.view);
  EXPECT_EQ(rig.view.count(Cue::StartEffect), 0);
}

TEST(NewDialogue, WithEffectTheGreetingComesAfterTheJumps) {
  Rig rig({.effect = "Yes"});
  rig.run(1500);
  rig.send("Hi");
  rig.random.push(3, {0});
  rig.session->N2Click();
  rig.run(100);
  EXPECT_EQ(rig.view.texts(), std::vector<std::string>{"Hello1"});
  EXPECT_EQ(rig.session->transcript().size(), 1u);
  EXPECT_EQ(rig.view.count(Cue::StartEffect), 2);
  expectRestingControls(rig.view);
  EXPECT_FALSE(rig.session->timers().running(T7));
}

TEST(Undo, WithoutEffectRemovesOneLineOfEach) {
  Rig rig;
  rig.run(1500);
  rig.send("Hi");
  rig.run(100);
  EXPECT_TRUE(rig.view.isEnabled(Control::Cancel));
  EXPECT_TRUE(rig.view.isEnabled(Control::UndoItem));
  rig.session->N3Click();  // Ctrl+Z
  rig.run(100);
  EXPECT_EQ(rig.view.texts(), std::vector<std::string>{"Hi"});
  EXPECT_EQ(rig.session->transcript().size(), header().size() + 1);
  EXPECT_EQ(rig.session->transcript().back(), userLine("17:25:47", "Hi"));
  // The undone turn is still the previous one.
  EXPECT_EQ(rig.session->state().dialogue.PrevCpuPhrase, "Answer");
  rig.session->N3Click();
  rig.run(100);
  EXPECT_TRUE(rig.view.lines.empty());
  EXPECT_FALSE(rig.view.isEnabled(Control::UndoItem));
  rig.session->N3Click();  // disabled: nothing
  EXPECT_EQ(rig.session->transcript(), header());
}

TEST(Undo, WithEffectRemovesTheAnswerThenJumpsClearsAndMayGreet) {
  Rig rig({.effect = "on"});
  rig.run(1500);
  rig.send("Hi");
  rig.random.push(3, {0});
  rig.session->CancelClick();
  rig.run(100);
  EXPECT_EQ(rig.view.texts(), std::vector<std::string>{"Hello1"});
  Lines expected = header();
  expected.push_back(userLine("17:25:47", "Hi"));
  expected.push_back(cpuLine("17:25:47", "Hello1"));
  EXPECT_EQ(rig.session->transcript(), expected);
  EXPECT_EQ(rig.view.count(Cue::StartEffect), 2);
}

TEST(Send, EnterNeedsTextAndRunsOneTurnThatEmptiesTheInput) {
  Rig rig;
  rig.run(1500);
  rig.type("Hi");
  rig.session->TalkClick();  // T1 has not seen the text yet
  EXPECT_TRUE(rig.turn.raws.empty());
  rig.run(15);
  EXPECT_TRUE(rig.view.isEnabled(Control::Speak));
  EXPECT_TRUE(rig.view.isEnabled(Control::EnRus));
  rig.session->TalkClick();
  EXPECT_EQ(rig.turn.raws, std::vector<std::string>{"Hi"});
  EXPECT_EQ(rig.view.input, "");
  EXPECT_EQ(rig.session->state().dialogue.PrevUserPhrase, "Hi");
  EXPECT_EQ(rig.session->state().dialogue.IdleCount, 0);
  rig.run(15);
  rig.session->TalkClick();
  EXPECT_EQ(rig.turn.raws.size(), 1u);
  EXPECT_FALSE(rig.view.isEnabled(Control::Speak));
}

TEST(Send, AFailedTurnKeepsTheInputAndThePreviousPhrases) {
  Rig rig;
  rig.run(1500);
  rig.send("First");
  TurnScript failing;
  failing.failure = "Cannot open file Base\\W2.Dat";
  rig.turn.next(failing);
  rig.send("Second");
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"Cannot open file Base\\W2.Dat."});
  EXPECT_EQ(rig.view.input, "Second");
  EXPECT_FALSE(rig.view.busy);
  EXPECT_EQ(rig.session->state().dialogue.PrevUserPhrase, "First");
  EXPECT_EQ(rig.view.texts(), (std::vector<std::string>{"First", "Answer", "Second"}));
}

TEST(Modes, SwitchingAddsServiceLinesToTheViewOnly) {
  Rig rig;
  rig.run(1500);
  rig.type("typed");
  rig.session->Cpu31Click();
  EXPECT_EQ(rig.view.status.at(2), w("Режим Cpu\\Cpu"));
  EXPECT_FALSE(rig.session->timers().running(T1));
  EXPECT_TRUE(rig.session->timers().running(T6));
  EXPECT_TRUE(rig.view.checks.at(MenuItem::Cpu31));
  EXPECT_FALSE(rig.view.checks.at(MenuItem::CpuUser1));
  rig.session->CpuUser1Click();
  EXPECT_EQ(rig.view.status.at(2), w("Режим Cpu\\User"));
  EXPECT_TRUE(rig.session->timers().running(T1));
  EXPECT_FALSE(rig.session->timers().running(T6));
  EXPECT_EQ(rig.view.input, "");
  rig.session->CpuUser1Click();  // the mode already on does it all again
  ASSERT_EQ(rig.view.lines.size(), 5u);
  EXPECT_EQ(rig.view.texts(),
            (std::vector<std::string>{w("Сервис:   // Режим диалога Cpu\\Cpu."),
                                      w("Сервис:   // Режим диалога Cpu\\User."), "",
                                      w("Сервис:   // Режим диалога Cpu\\User."), ""}));
  for (const auto& line : rig.view.lines) EXPECT_EQ(line.kind, LineKind::Service);
  EXPECT_EQ(rig.session->transcript(), header());
}

TEST(OtherWindows, StopT1AndDisableTheMainWindowWhileTalkGoesOn) {
  Rig rig;
  rig.run(1500);
  rig.session->N12Click();
  EXPECT_TRUE(rig.view.windows.at(Window::About));
  EXPECT_FALSE(rig.view.isEnabled(Control::MainWindow));
  EXPECT_FALSE(rig.session->timers().running(T1));
  rig.run(120'000);  // the idle remark comes meanwhile
  EXPECT_EQ(cpuLines(rig.view).size(), 1u);
  rig.session->aboutClose();
  EXPECT_FALSE(rig.view.windows.at(Window::About));
  EXPECT_TRUE(rig.view.isEnabled(Control::MainWindow));
  EXPECT_TRUE(rig.session->timers().running(T1));
  const int focus = rig.view.focusCalls;
  rig.run(15);
  EXPECT_EQ(rig.view.focusCalls, focus + 1);

  rig.session->N22Click();
  EXPECT_TRUE(rig.view.windows.at(Window::Keyboard));
  EXPECT_FALSE(rig.session->timers().running(T1));
  rig.session->keyboardHide();
  EXPECT_FALSE(rig.view.windows.at(Window::Keyboard));
  EXPECT_TRUE(rig.session->timers().running(T1));
  EXPECT_TRUE(rig.view.isEnabled(Control::MainWindow));
}

}  // namespace
}  // namespace vb::test

namespace vb::test {
namespace {

TEST(EngineTurn, ASessionOnTheRealTurnAnswersFromThePhraseBase) {
  Rig rig({.realTurn = true, .start = false});
  rig.files.put("Base\\Words.Dat", {w("ПРИВЕТ^Здравствуй;"), w("_КАК ДЕЛА^Хорошо;")});
  rig.session->start();
  rig.run(1500);
  rig.send(w("привет"));
  ASSERT_EQ(rig.view.errors, std::vector<std::string>{});
  ASSERT_EQ(rig.view.lines.size(), 2u);
  EXPECT_EQ(rig.view.lines[0].kind, LineKind::User);
  EXPECT_EQ(rig.view.lines[1].text, w("Здравствуй"));
  EXPECT_EQ(rig.session->transcript().back(), cpuLine("17:25:47", w("Здравствуй")));
  EXPECT_EQ(rig.session->state().dialogue.PrevCpuPhrase, w("Здравствуй"));
  EXPECT_EQ(rig.session->input(), "");
  EXPECT_FALSE(rig.view.busy);
  rig.session->N4Click();
  rig.send("after exit");  // nothing runs once the window closed
  EXPECT_EQ(rig.view.lines.size(), 2u);
}

}  // namespace
}  // namespace vb::test
