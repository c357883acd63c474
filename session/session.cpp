// The session's construction, its timer schedule and start-up, the send,
// new dialogue, undo and mode commands, the other windows, the input-change
// handling and the T1 tick.
#include "session/session.h"

#include <exception>

#include "engine/failure.h"
#include "engine/text.h"
#include "session/guard.h"
#include "session/texts.h"

namespace vb {

// What the turn shows, plays and schedules, done in place as it asks.
class SessionTurnEffects final : public TurnEffects {
 public:
  explicit SessionTurnEffects(Session& session) : s_(session) {}
  void busyCursor(bool on) override { s_.window_.busyCursor(on); }
  void playUserSound() override { s_.view_.play(Cue::UserLine); }
  void showUserLine(const std::string& phrase) override { s_.sayUser(phrase); }
  void playCpuSound() override { s_.view_.play(Cue::CpuLine); }
  void showCpuLine(const std::string& phrase) override { s_.sayCpu(phrase); }
  void setClosingTimer(bool enabled) override { set(TimerId::T4, enabled); }
  void startDelayedTimer() override { s_.timers_.start(TimerId::T13); }
  void setFollowUpTimer(bool enabled) override { set(TimerId::T9, enabled); }
  void note(const std::string& text) override { s_.sayService(text); }

 private:
  void set(TimerId id, bool enabled) {
    if (enabled) {
      s_.timers_.start(id);
    } else {
      s_.timers_.stop(id);
    }
  }
  Session& s_;
};

Session::Session(SessionDeps deps)
    : files_(deps.files),
      random_(deps.random),
      clock_(deps.clock),
      view_(deps.view),
      engineTurn_(deps.turn ? nullptr : std::make_unique<EngineTurn>(deps.files, deps.random)),
      turn_(deps.turn ? *deps.turn : *engineTurn_),
      window_(deps.view),
      timers_(deps.clock, [this](const std::string& message) { report(message); }) {
  defineTimers();
  timers_.setParking(deps.parkTimers);
}

Session::~Session() = default;

void Session::defineTimers() {
  using enum TimerId;
  using R = Scheduler::OnFailure;
  // How each timer recovers from a failed tick (reported once either way):
  // - T12 (header), T8 (captions) and T10 (greeting) stop: their tick runs
  //   once, and trying again would write the header's first lines or
  //   extend the captions a second time; the greeting is skipped.
  // - T4 stops: the window stays open and Exit can be chosen again; a
  //   later closing-mark answer starts T4 again and tries Exit at once.
  // - T2, T3, T6, T9 try again, no faster than once a second, without a
  //   new message until a tick succeeds: the idle remark comes once
  //   Pause.Dat can be read, the count unlocks the input once Words.Dat
  //   can be read, the partner file is read once it appears.
  // - T1, T5, T7, T11 and T13 read no file and do not fail.
  timers_.define(T1, 1, true, R::Retry, [this] { T1Timer(); });
  timers_.define(T2, 1000, true, R::Retry, [this] { T2Timer(); });
  timers_.define(T3, 1, true, R::Retry, [this] { T3Timer(); });
  timers_.define(T4, 1, false, R::Stop, [this] { T4Timer(); });
  timers_.define(T5, 1, true, R::Retry, [this] { T5Timer(); });
  timers_.define(T6, 1, false, R::Retry, [this] { T6Timer(); });
  timers_.define(T7, 1, true, R::Retry, [this] { T7Timer(); });
  timers_.define(T8, 1000, true, R::Stop, [this] { T8Timer(); });
  timers_.define(T9, 1000, false, R::Retry, [this] { T9Timer(); });
  timers_.define(T10, 1, true, R::Stop, [this] { T10Timer(); });
  timers_.define(T11, 1, true, R::Retry, [this] { T11Timer(); });
  timers_.define(T12, 1, true, R::Stop, [this] { T12Timer(); });
  timers_.define(T13, 1, false, R::Retry, [this] { T13Timer(); });

  // The timers that tick every 15 ms for the whole run park while their
  // ticks would change nothing. What each tick reads is the window model,
  // the shared state, the configuration and the timers themselves, all of
  // which change only in a command or a tick; the scheduler wakes every
  // parked timer before either. The others count, draw, read files or run
  // once, and never park.
  // - T1 rests once the controls, the F5 item and the focus follow Input,
  //   the view and panel 0, and the search it would start already runs.
  // - T5 rests while Input holds no reserved character: its ticks then
  //   only move GuardPos round the text, which waking brings forward.
  // - T7 rests while the effect is switched off (its tick then returns).
  // - T11 rests while Input is empty and Speed Word on, with "[NONE]"
  //   shown and no match held: each tick would show "[NONE]" again and stop,
  //   and T1 start it again in the same pass. It rests only in step with
  //   T1 (same due time), so it stands where that round would leave it.
  timers_.setRest(T1, [this] { return T1AtRest(); });
  timers_.setRest(
      T5, [this] { return !holdsReserved(window_.input()); },
      [this](std::int64_t ticks) { guardSkip(window_.input(), state_.GuardPos, ticks); });
  timers_.setRest(T7, [this] { return effectOff(); });
  timers_.setRest(T11, [this] { return T11AtRest(); });
}

bool Session::T1AtRest() const {
  const bool text = !window_.input().empty();
  const bool lines = !window_.lines().empty();
  return inputFocused_ && window_.enabled(Control::Speak) == text &&
         window_.enabled(Control::EnRus) == text && window_.enabled(Control::Talk) == text &&
         window_.enabled(Control::Cancel) == lines && window_.enabled(Control::UndoItem) == lines &&
         window_.enabled(Control::CompleteItem) == completeItemWanted() &&
         (text || !speedWordOn() || timers_.running(TimerId::T11));
}

bool Session::T11AtRest() const {
  using enum TimerId;
  return window_.input().empty() && speedWordOn() && timers_.running(T1) &&
         timers_.dueAt(T11) == timers_.dueAt(T1) && window_.status(0) == texts::kNone &&
         state_.SpeedIndex == -1;
}

bool Session::completeItemWanted() const {
  const std::string& panel = window_.status(0);
  return !panel.empty() && panel != texts::kNone && panel != texts::loaded();
}

void Session::report(const std::string& message) {
  view_.showError(displayMessage(message));
}

void Session::command(const std::function<void()>& body) {
  if (closed_) return;  // a click still queued when Exit closed the window
  try {
    body();
  } catch (const std::exception& error) {
    report(error.what());
  }
}

void Session::FormCreate(SettingsSink& settings) {
  const Scheduler::Event event(timers_);
  command([&] {
    // Opened as the window is built, so that a file that cannot be read is
    // reported here; its lines are read when they are first needed.
    files_.checkReadable(files::kWordsLower);
    config_ = ConfigList::load(files_);
    applySettings(config_, settings);
    hookInstalled_ = true;
  });
}

void Session::start() {
  const Scheduler::Event event(timers_);
  window_.pushAll();
  timers_.begin();
}

std::int64_t Session::nextDueMs() const {
  return closed_ ? -1 : timers_.nextDueMs();
}

void Session::runDue() {
  if (!closed_) timers_.runDue();
}

// ---------------------------------------------------------------- Send

void Session::SpeakClick() {
  const Scheduler::Event event(timers_);
  command([this] { speak(); });
}

void Session::TalkClick() {
  const Scheduler::Event event(timers_);
  if (window_.enabled(Control::Talk)) SpeakClick();
}

void Session::speak() {
  const bool partner = cpuCpuMode();
  // The guard refuses a phrase with markup characters one character per
  // tick; Enter can come before its sweep reaches one, so the phrase is
  // refused here exactly as the guard would refuse it.
  if (!partner && holdsReserved(window_.input())) {
    refuseInput();
    return;
  }
  std::string raw;
  if (partner) {
    if (LoadtxtCpuCpu_.empty()) throw indexOutOfBounds(0);
    // A partner's line never passed the input guard: markup characters in
    // it would reach the knowledge base through learning.
    raw = withoutReserved(LoadtxtCpuCpu_.front());
  } else {
    raw = window_.input();
  }
  SessionTurnEffects effects(*this);
  try {
    // No phrase (a partner's line that is empty or only markup): no turn,
    // so nothing is handed back to the partner and the dialogue state,
    // the silence count included, stays as it was.
    if (!turn_.run(raw, state_.dialogue, effects)) return;
  } catch (...) {
    window_.busyCursor(false);
    throw;
  }
  if (partner) {
    // The answer replaces the partner file whole; the store writes a
    // complete temporary file and renames it, so a partner never reads
    // half an answer.
    LoadtxtCpuCpu_ = {state_.dialogue.CpuPhrase};
    files_.writeLines(editor_.path, LoadtxtCpuCpu_);
  }
  Turn::finish(state_.dialogue);
  setInput("");
}

// ----------------------------------------------------- New dialogue, undo

void Session::N2Click() {
  const Scheduler::Event event(timers_);
  state_.dialogue.PrevUserPhrase.clear();
  state_.dialogue.PrevCpuPhrase.clear();
  window_.clearLines();
  transcript_.clear();
  setInput("");
  timers_.start(TimerId::T3);
  timers_.start(TimerId::T7);
  timers_.start(TimerId::T10);
}

void Session::CancelClick() {
  const Scheduler::Event event(timers_);
  window_.deleteLastLine();
  transcript_.deleteLast();
  timers_.start(TimerId::T7);
}

void Session::N3Click() {
  const Scheduler::Event event(timers_);
  if (window_.enabled(Control::UndoItem)) CancelClick();
}

void Session::N4Click() {
  const Scheduler::Event event(timers_);
  command([this] { saveLogAndClose(); });
}

// ------------------------------------------------------------------ Modes

void Session::CpuUser1Click() {
  const Scheduler::Event event(timers_);
  setInput("");
  timers_.start(TimerId::T1);
  inputFocused_ = false;
  window_.setStatus(2, texts::modeCpuUser());
  sayService(texts::serviceCpuUser());
  sayService("");
  window_.setChecked(MenuItem::CpuUser1, true);
  window_.setChecked(MenuItem::Cpu31, false);
  timers_.stop(TimerId::T6);
}

void Session::Cpu31Click() {
  const Scheduler::Event event(timers_);
  timers_.stop(TimerId::T1);
  window_.setStatus(2, texts::modeCpuCpu());
  sayService(texts::serviceCpuCpu());
  window_.setChecked(MenuItem::CpuUser1, false);
  window_.setChecked(MenuItem::Cpu31, true);
  timers_.start(TimerId::T6);
}

// ---------------------------------------------------------- Other windows

void Session::openWindow(Window window) {
  timers_.stop(TimerId::T1);
  window_.setEnabled(Control::MainWindow, false);
  window_.showWindow(window, true);
}

void Session::closeWindow(Window window) {
  timers_.start(TimerId::T1);
  inputFocused_ = false;
  window_.setEnabled(Control::MainWindow, true);
  window_.showWindow(window, false);
}

void Session::N22Click() {
  const Scheduler::Event event(timers_);
  handedCompletion_ = state_.SpeedCompletion;
  openWindow(Window::Keyboard);
  updateKeyboardKeys();
}

void Session::N12Click() {
  const Scheduler::Event event(timers_);
  openWindow(Window::About);
}

void Session::aboutClose() {
  const Scheduler::Event event(timers_);
  closeWindow(Window::About);
}

// ------------------------------------------------------------------ Input

void Session::InputChange(const std::string& text) {
  const Scheduler::Event event(timers_);
  if (window_.typed(text)) inputChanged();
}

void Session::setInput(const std::string& text) {
  if (window_.setInput(text)) inputChanged();
}

void Session::inputChanged() {
  state_.SpeedIndex = -1;
  view_.play(Cue::KeyClick);
  if (speedWordOn()) {
    timers_.start(TimerId::T11);
  } else {
    timers_.stop(TimerId::T11);
  }
  updateKeyboardKeys();
}

void Session::refuseInput() {
  window_.setEnabled(Control::DialogueView, false);
  setInput("");
}

void Session::InputFocusLost() {
  const Scheduler::Event event(timers_);
  inputFocused_ = false;
}

const std::string& Session::input() const {
  return window_.input();
}

SharedState Session::state() const {
  SharedState now = state_;
  guardSkip(window_.input(), now.GuardPos, timers_.skippedTicks(TimerId::T5));
  return now;
}

const ConfigList& Session::config() const {
  return config_;
}

// ------------------------------------------------------------------- T1

void Session::T1Timer() {
  const bool text = !window_.input().empty();
  window_.setEnabled(Control::Speak, text);
  window_.setEnabled(Control::EnRus, text);
  window_.setEnabled(Control::Talk, text);
  const bool lines = !window_.lines().empty();
  window_.setEnabled(Control::Cancel, lines);
  window_.setEnabled(Control::UndoItem, lines);
  if (!text && speedWordOn()) timers_.start(TimerId::T11);
  window_.setEnabled(Control::CompleteItem, completeItemWanted());
  if (!inputFocused_) {
    view_.focusInput();
    inputFocused_ = true;
  }
}

}  // namespace vb
