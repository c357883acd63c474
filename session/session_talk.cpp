// The program speaking on its own: the idle remark (T2), the greeting
// (T10), the spontaneous remark (T9) and the delayed part (T13).
#include "engine/failure.h"
#include "engine/text.h"
#include "session/session.h"
#include "session/texts.h"

namespace vb {
namespace {

const std::string& pickLine(const Lines& lines, int k) {
  if (k < 0 || static_cast<std::size_t>(k) >= lines.size()) throw indexOutOfBounds(k);
  return lines[static_cast<std::size_t>(k)];
}

}  // namespace

std::string Session::randomLine(std::string_view file) {
  Lines lines = files_.readLines(file);
  return pickLine(lines, random_.random(static_cast<int>(lines.size())));
}

std::string Session::withRepeatTail(const std::string& remark) {
  if (!equalsIgnoreCase(remark, state_.dialogue.PrevCpuPhrase)) return remark;
  return remark + std::string(texts::kTailGap) + randomLine(files::kTails);
}

void Session::T2Timer() {
  DialogueState& d = state_.dialogue;
  // A fresh threshold every second: the remark comes between 90 and 120
  // seconds of silence.
  random_.reseed();
  int threshold = 0;
  do {
    threshold = random_.random(120) + 1;
  } while (threshold < 90);
  d.IdleCount = wrappingAdd(d.IdleCount, 1);
  if (d.IdleCount < threshold) return;
  d.CpuPhrase = randomLine(files::kPause);
  d.CpuPhrase = withRepeatTail(d.CpuPhrase);
  sayCpu(d.CpuPhrase);
  view_.play(Cue::CpuLine);
  d.IdleCount = 0;
}

void Session::T10Timer() {
  DialogueState& d = state_.dialogue;
  random_.reseed();
  const int roll = random_.random(3) + 1;
  if (roll == 2 || roll == 3) {
    timers_.stop(TimerId::T10);
    return;
  }
  Lines greetings = files_.readLines(files::kBegin);
  {
    BusyScope busy(window_);
    d.CpuPhrase = pickLine(greetings, random_.random(static_cast<int>(greetings.size())));
  }
  view_.play(Cue::CpuLine);
  sayCpu(d.CpuPhrase);
  timers_.stop(TimerId::T10);
}

void Session::T9Timer() {
  // T9 speaks on the tick where the shared count is exactly its period;
  // a T13 tick in between makes it miss that tick.
  state_.WaitCount = wrappingAdd(state_.WaitCount, 500);
  if (state_.WaitCount != 1000) return;
  BusyScope busy(window_);
  Lines remarks = files_.readLines(files::kAI);
  // Any line but the first.
  const int k = random_.random(static_cast<int>(remarks.size()) - 1) + 1;
  state_.WaitCount = k;
  const std::string remark = withRepeatTail(pickLine(remarks, k));
  view_.play(Cue::CpuLine);
  sayCpu(remark);
  state_.WaitCount = 0;
  timers_.stop(TimerId::T9);
}

void Session::T13Timer() {
  // Every tick draws a new delay, which also restarts the period.
  random_.reseed();
  const int period = random_.random(1000) + 100;
  timers_.setPeriod(TimerId::T13, period);
  state_.WaitCount = wrappingAdd(state_.WaitCount, 15);
  if (state_.WaitCount < period) return;
  // A turn after the one that started the timer may have emptied the
  // delayed part; an empty program line is never said.
  if (!state_.dialogue.DelayedPhrase.empty()) {
    view_.play(Cue::CpuLine);
    sayCpu(state_.dialogue.DelayedPhrase);
  }
  state_.WaitCount = 0;
  timers_.stop(TimerId::T13);
}

}  // namespace vb
