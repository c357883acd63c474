// Speed Word (the switch, F5, the key hook and the search T11), the layout
// conversion of Input and the virtual keyboard's side of the main window.
#include "engine/text.h"
#include "input/layout_conversion.h"
#include "session/session.h"
#include "session/speed_word.h"
#include "session/texts.h"

namespace vb {

void Session::N24Click() {
  const Scheduler::Event event(timers_);
  command([this] {
    // Read at every switch, so edits to the file count from the next one.
    SpeedWord_ = files_.readLines(files::kDictionary);
    const bool on = !speedWordOn();
    window_.setChecked(MenuItem::N24, on);
    if (on) {
      window_.setStatus(0, std::string(texts::kNone));
      timers_.start(TimerId::T11);
    } else {
      window_.setStatus(0, texts::loaded());
      timers_.stop(TimerId::T11);
    }
  });
}

void Session::T11Timer() {
  window_.setStatus(0, speedSearch(SpeedWord_, window_.input(), state_));
  timers_.stop(TimerId::T11);
}

void Session::N23Click() {
  const Scheduler::Event event(timers_);
  if (!window_.enabled(Control::CompleteItem)) return;
  setInput(window_.input() + lower1251(state_.SpeedCompletion));
  timers_.start(TimerId::T11);
}

void Session::KeyHook(HookKey key) {
  const Scheduler::Event event(timers_);
  if (!hookInstalled_ || !speedWordOn() || SpeedWord_.empty()) return;
  BusyScope busy(window_);
  window_.setStatus(0, speedHookMove(SpeedWord_, key, state_));
  timers_.start(TimerId::T11);
}

void Session::EnRusClick() {
  const Scheduler::Event event(timers_);
  view_.play(Cue::Conversion);
  setInput(convertLayout(window_.input()));
}

void Session::N36Click() {
  const Scheduler::Event event(timers_);
  if (window_.enabled(Control::EnRus)) EnRusClick();
}

// ------------------------------------------------------- Virtual keyboard

const std::string& Session::handedCompletion() const {
  return handedCompletion_;
}

void Session::keyboardWrite(const std::string& text) {
  const Scheduler::Event event(timers_);
  setInput(text);
}

void Session::keyboardEnter() {
  const Scheduler::Event event(timers_);
  SpeakClick();
}

void Session::keyboardF5() {
  const Scheduler::Event event(timers_);
  setInput(window_.input() + lower1251(handedCompletion_));
  timers_.start(TimerId::T11);
}

void Session::keyboardHide() {
  const Scheduler::Event event(timers_);
  closeWindow(Window::Keyboard);
}

// The keyboard's Backspace and [Enter] follow Input while it is shown: set
// at every change of Input instead of by a polling timer, so they are never
// a tick behind.
void Session::updateKeyboardKeys() {
  if (!window_.shown(Window::Keyboard)) return;
  const bool text = !window_.input().empty();
  window_.setEnabled(Control::KeyboardBackspace, text);
  window_.setEnabled(Control::KeyboardEnter, text);
}

}  // namespace vb
