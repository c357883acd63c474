// Speed Word, the layout conversion of Input and the virtual keyboard's
// side of the main window.
#include <gtest/gtest.h>

#include "fakes.h"
#include "session/speed_word.h"

namespace vb::test {
namespace {

using enum TimerId;

// A session with Speed Word switched on over `dictionary`.
struct SpeedRig : Rig {
  explicit SpeedRig(Lines dictionary = {w("привет"), w("пример")}) {
    files.put("Base\\dictionary.dat", std::move(dictionary));
    run(1500);
    session->N24Click();
    run(kMinPeriodMs);
  }
  const std::string& panel() const { return view.status.at(0); }
  void typeAndSearch(const std::string& text) {
    type(text);
    run(kMinPeriodMs);
  }
};

TEST(SpeedWord, FindsTheFirstEntryBeginningWithTheLastWord) {
  SpeedRig rig;
  EXPECT_EQ(rig.panel(), "[NONE]");
  EXPECT_TRUE(rig.view.checks.at(MenuItem::N24));
  rig.typeAndSearch(w("пр"));
  EXPECT_EQ(rig.panel(), w("привет"));
  EXPECT_EQ(rig.session->state().SpeedCompletion, w("ивет"));
  rig.typeAndSearch(w("при"));
  rig.typeAndSearch(w("прим"));
  EXPECT_EQ(rig.panel(), w("пример"));
  rig.typeAndSearch(w("я при"));
  EXPECT_EQ(rig.session->state().SpeedFragment, w("при"));
  EXPECT_EQ(rig.panel(), w("привет"));
  for (const char* text : {"пр ", "пр,", "пр.", "пр!", "пр?", "приветствие"}) {
    rig.typeAndSearch(w(text));
    EXPECT_EQ(rig.panel(), "[NONE]") << text;
    EXPECT_EQ(rig.session->state().SpeedIndex, -1);
    EXPECT_FALSE(rig.view.isEnabled(Control::CompleteItem));
  }
}

TEST(SpeedWord, F5AppendsTheCompletionInLowerCaseOnlyWhileAMatchIsShown) {
  SpeedRig rig;
  rig.typeAndSearch(w("ПРИ"));
  EXPECT_EQ(rig.panel(), w("привет"));
  EXPECT_TRUE(rig.view.isEnabled(Control::CompleteItem));
  rig.session->N23Click();
  EXPECT_EQ(rig.view.input, w("ПРИвет"));
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.panel(), w("привет"));
  EXPECT_EQ(rig.session->state().SpeedCompletion, "");  // entry equals the word
  const int clicks = rig.view.count(Cue::KeyClick);
  rig.session->N23Click();  // adds nothing: no change, no click
  EXPECT_EQ(rig.view.count(Cue::KeyClick), clicks);
  rig.typeAndSearch(w("пр "));
  rig.session->N23Click();  // disabled
  EXPECT_EQ(rig.view.input, w("пр "));
}

TEST(SpeedWord, ArrowKeysKeepTheOddIndexArithmetic) {
  SpeedRig rig({"abc1", "abc2", "abc3", "zzz"});
  rig.typeAndSearch("abc");
  EXPECT_EQ(rig.panel(), "abc1");
  rig.session->KeyHook(HookKey::Down);
  EXPECT_EQ(rig.panel(), "abc2");  // the entry at the new index, for a moment
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.panel(), "abc3");  // abc2 is passed over
  rig.session->KeyHook(HookKey::Down);
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.panel(), "[NONE]");
  // From "[NONE]" a key that changes nothing starts at the second entry.
  rig.session->KeyHook(HookKey::Other);
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.panel(), "abc2");
  // Up from entry 1 holds the index at 0: the search starts at entry 1.
  rig.session->KeyHook(HookKey::Up);
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.panel(), "abc2");
  // Other keys step to the next match.
  rig.session->KeyHook(HookKey::Other);
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.panel(), "abc3");
  // Up from entry 2 shows the entry before it.
  rig.session->KeyHook(HookKey::Up);
  rig.run(kMinPeriodMs);
  EXPECT_EQ(rig.panel(), "abc2");
  EXPECT_FALSE(rig.view.busy);
}

TEST(SpeedWord, TheHookActsOnlyWhenInstalledSwitchedOnAndNotEmpty) {
  {
    SpeedRig rig(Lines{});
    rig.typeAndSearch("abc");
    rig.session->KeyHook(HookKey::Down);
    EXPECT_EQ(rig.session->state().SpeedIndex, -1);
  }
  {
    Rig rig;
    rig.run(100);
    rig.session->KeyHook(HookKey::Down);
    EXPECT_EQ(rig.session->state().SpeedIndex, -1);
  }
  {
    Rig rig({.formCreate = false});
    rig.run(100);
    rig.session->N24Click();
    rig.session->KeyHook(HookKey::Down);
    EXPECT_EQ(rig.session->state().SpeedIndex, -1);
  }
}

TEST(SpeedWord, SwitchingReadsTheFileAndAFailureTogglesNothing) {
  SpeedRig rig;
  rig.typeAndSearch(w("пр"));
  rig.files.put("Base\\dictionary.dat", {"other"});
  rig.session->N24Click();
  EXPECT_FALSE(rig.view.checks.at(MenuItem::N24));
  EXPECT_EQ(rig.panel(), w("Загрузка окончена"));
  EXPECT_FALSE(rig.session->timers().running(T11));
  EXPECT_EQ(rig.session->speedWordList(), Lines{"other"});
  EXPECT_EQ(rig.session->state().SpeedCompletion, w("ивет"));  // kept
  rig.files.remove("Base\\dictionary.dat");
  rig.session->N24Click();
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{"Cannot open file Base\\dictionary.dat."});
  EXPECT_FALSE(rig.view.checks.at(MenuItem::N24));
  EXPECT_EQ(rig.panel(), w("Загрузка окончена"));
}

TEST(SpeedWord, OnWithAnEmptyInputCostsTheViewNothing) {
  SpeedRig rig;
  rig.run(1000);
  const int calls = rig.view.calls;
  rig.run(30'000);
  EXPECT_EQ(rig.view.calls, calls);
  EXPECT_EQ(rig.panel(), "[NONE]");
}

TEST(LayoutConversion, PlaysItsCueFirstAndWritesBackOnlyAChange) {
  Rig rig;
  rig.run(100);
  rig.type("Ghbdtn");
  rig.view.cues.clear();
  rig.session->EnRusClick();
  EXPECT_EQ(rig.view.input, w("Привет"));
  EXPECT_EQ(rig.view.cues, (std::vector<Cue>{Cue::Conversion, Cue::KeyClick}));
  rig.view.cues.clear();
  rig.session->EnRusClick();
  EXPECT_EQ(rig.view.cues, std::vector<Cue>{Cue::Conversion});
  rig.type("");
  rig.run(kMinPeriodMs);
  rig.view.cues.clear();
  rig.session->N36Click();  // E/R is disabled on an empty field
  EXPECT_TRUE(rig.view.cues.empty());
}

TEST(VirtualKeyboard, TakesACopyOfTheCompletionAndWorksOnInput) {
  SpeedRig rig;
  rig.typeAndSearch(w("пр"));
  rig.session->N22Click();
  EXPECT_EQ(rig.session->handedCompletion(), w("ивет"));
  EXPECT_TRUE(rig.view.isEnabled(Control::KeyboardBackspace));
  EXPECT_TRUE(rig.view.isEnabled(Control::KeyboardEnter));
  rig.session->keyboardF5();
  EXPECT_EQ(rig.view.input, w("привет"));
  rig.run(kMinPeriodMs);  // a new search does not change the copy
  rig.session->keyboardF5();
  EXPECT_EQ(rig.view.input, w("приветивет"));

  const int clicks = rig.view.count(Cue::KeyClick);
  rig.session->keyboardWrite(w("приветивет"));  // same text: no change
  EXPECT_EQ(rig.view.count(Cue::KeyClick), clicks);
  rig.session->keyboardWrite("");
  EXPECT_EQ(rig.view.count(Cue::KeyClick), clicks + 1);
  EXPECT_FALSE(rig.view.isEnabled(Control::KeyboardBackspace));
  EXPECT_FALSE(rig.view.isEnabled(Control::KeyboardEnter));

  // [Enter] runs the turn whatever the state of "Сказать".
  rig.session->keyboardWrite("Hi");
  rig.session->keyboardEnter();
  EXPECT_EQ(rig.turn.raws, std::vector<std::string>{"Hi"});
  rig.session->keyboardHide();
  rig.session->keyboardWrite("x");
  EXPECT_FALSE(rig.view.isEnabled(Control::KeyboardBackspace));  // hidden: not followed
}

TEST(VirtualKeyboard, F5StartsTheSearchEvenWithSpeedWordOff) {
  Rig rig;
  rig.run(100);
  rig.session->N22Click();
  rig.session->keyboardF5();  // empty completion: no change
  EXPECT_EQ(rig.view.count(Cue::KeyClick), 0);
  EXPECT_TRUE(rig.session->timers().running(T11));
}

}  // namespace
}  // namespace vb::test
