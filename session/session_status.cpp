// Status, guard and window-effect timers: the knowledge-base count (T3),
// the closing animation (T4), the reserved-character guard (T5), the
// start-up window effect (T7) and the statistics in the menu (T8).
#include <algorithm>
#include <array>

#include "engine/text.h"
#include "session/guard.h"
#include "session/session.h"
#include "session/texts.h"

namespace vb {
namespace {

// Ticks of the closing animation; the sound comes from the tenth.
constexpr std::int32_t kClosingTicks = 80;
constexpr std::int32_t kClosingSoundFrom = 10;

// Random(n) + 1, drawn again until it is at least `least`.
int drawAtLeast(RandomSource& random, int n, int least) {
  int value = 0;
  do {
    value = random.random(n) + 1;
  } while (value < least);
  return value;
}

std::string bracketed(const std::string& caption, std::size_t number) {
  return caption + " [" + std::to_string(number) + "]";
}

}  // namespace

void Session::T3Timer() {
  window_.setStatus(0, texts::loading());
  window_.setInputReadOnly(true);
  window_.setEnabled(Control::Speak, false);
  const Lines words = files_.readLines(files::kWords);
  std::size_t branches = 0;
  for (const std::string& line : words) {
    if (!line.empty() && line.front() == '_') ++branches;
  }
  window_.setStatus(1, texts::knownPrefix() + std::to_string(words.size() - branches) +
                           texts::knownBranches() + std::to_string(branches) + "]");
  window_.setInputReadOnly(false);
  window_.setEnabled(Control::Speak, true);
  window_.setStatus(0, texts::loaded());
  timers_.stop(TimerId::T3);
}

void Session::T8Timer() {
  const std::size_t incoming = files_.readLines(files::kWords).size();
  window_.setCaption(MenuItem::N18, bracketed(window_.caption(MenuItem::N18), incoming));
  static constexpr std::array<std::string_view, 9> kAnswerFiles{
      "Base\\AI.Dat",        "Base\\Begin.Dat", "Base\\CPUpvt.Dat",
      "Base\\BigString.Dat", "Base\\Pause.Dat", "Base\\Povtor.Dat",
      "Base\\W1.Dat",        "Base\\W2.Dat",    "Base\\X.Dat"};
  std::size_t outgoing = 0;
  for (std::string_view file : kAnswerFiles) outgoing += files_.readLines(file).size();
  const Lines words = files_.readLines(files::kWords);
  for (std::size_t i = 1; i < words.size(); ++i) {
    outgoing += static_cast<std::size_t>(std::count(words[i].begin(), words[i].end(), ';'));
    outgoing += static_cast<std::size_t>(std::count(words[i].begin(), words[i].end(), '|'));
  }
  window_.setCaption(MenuItem::N19, bracketed(window_.caption(MenuItem::N19), outgoing));
  window_.setCaption(MenuItem::N20, bracketed(window_.caption(MenuItem::N20), incoming + outgoing));
  timers_.stop(TimerId::T8);
}

void Session::T5Timer() {
  if (guardStep(window_.input(), state_.GuardPos)) refuseInput();
}

bool Session::effectOff() const {
  // A list too short to hold line 3 leaves the effect on (an empty list
  // reads "" for every line).
  const std::string switchValue = config_.lines().size() >= 3 ? config_.value(3) : std::string();
  return upper1251(switchValue) == "NO";
}

void Session::T7Timer() {
  if (effectOff()) return;

  BusyScope busy(window_);
  view_.play(Cue::StartEffect);
  window_.setInputReadOnly(true);
  for (Control menu :
       {Control::MenuSystem, Control::MenuSettings, Control::MenuHelp, Control::MenuService}) {
    window_.setEnabled(menu, false);
  }
  const int jumps = drawAtLeast(random_, 250, 125);
  Rect rect = view_.windowRect();
  for (int i = 0; i < jumps; ++i) {
    const int left = drawAtLeast(random_, 105, 95);
    const int top = drawAtLeast(random_, 105, 95);
    rect.top = top;
    view_.setWindowRect(rect);
    rect.left = left;
    view_.setWindowRect(rect);
  }
  const Rect desktop = view_.desktopRect();
  rect.left = desktop.left + (desktop.width - rect.width) / 2;
  rect.top = desktop.top + (desktop.height - rect.height) / 2;
  view_.setWindowRect(rect);

  window_.setInputReadOnly(false);
  window_.setEnabled(Control::MenuSystem, true);
  window_.setEnabled(Control::MenuSettings, true);
  window_.setEnabled(Control::MenuHelp, true);
  timers_.stop(TimerId::T7);
  timers_.start(TimerId::T10);
  window_.setEnabled(Control::MenuService, true);
  window_.clearLines();
}

void Session::T4Timer() {
  state_.ExitTicks = wrappingAdd(state_.ExitTicks, 1);
  // Each tick slides the window up and left and shrinks it (never below
  // nothing; the platform may hold it larger). The last tick moves it too
  // and then leaves, so the view is not touched once the window closed.
  Rect rect = view_.windowRect();
  rect.top -= 2;
  rect.left -= 3;
  rect.width = std::max(0, rect.width - 10);
  rect.height = std::max(0, rect.height - 8);
  view_.setWindowRect(rect);
  if (state_.ExitTicks >= kClosingSoundFrom) view_.play(Cue::Closing);
  if (state_.ExitTicks >= kClosingTicks) {
    saveLogAndClose();
    timers_.stop(TimerId::T4);
  }
}

}  // namespace vb
