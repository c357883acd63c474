#pragma once
// One dialogue turn: from the raw phrase to the answer, with the knowledge
// base written step by step as it goes. What the turn shows, plays and
// schedules is handed to the caller through TurnEffects, in the order the
// turn does it; nothing can run in between, so this is the same as doing it
// in place.

#include <string>
#include <string_view>

#include "engine/dialogue_state.h"
#include "engine/file_store.h"
#include "engine/random_source.h"
#include "engine/turn_trace.h"

namespace vb {

class TurnEffects {
 public:
  virtual ~TurnEffects() = default;
  virtual void busyCursor(bool on) = 0;
  virtual void playUserSound() = 0;                          // MP2
  virtual void showUserLine(const std::string& phrase) = 0;  // RE1 + transcript
  virtual void playCpuSound() = 0;                           // MP5
  virtual void showCpuLine(const std::string& phrase) = 0;   // RE1 + transcript
  virtual void setClosingTimer(bool enabled) = 0;            // T4
  virtual void startDelayedTimer() = 0;                      // T13
  virtual void setFollowUpTimer(bool enabled) = 0;           // T9
};

class Turn {
 public:
  Turn(FileStore& files, RandomSource& random) : files_(files), random_(random) {}

  // Runs the turn on `raw` up to and including the follow-up decision. The
  // hand-over to the partner file and the end of the turn (finish) are the
  // caller's. Throws Failure when a file is missing or empty: what was done
  // before stays, the busy cursor is restored, and the previous phrases and
  // IdleCount are not touched. An empty phrase is not a phrase: nothing is
  // done and false is returned (do not call finish then).
  //
  // Random draws, in this order: reseed, Random(3) (TurnRoll - 1); then
  // for a repetition Random(n) of Povtor.Dat; for a censored phrase
  // Random(n) of X.Dat; otherwise Random(6) (the long-phrase draw), then
  // Random(n) of BigString.Dat for a long-phrase answer, or Random(n) over
  // the answering Words.Dat line's answers, or Random(n) of W1.Dat/W2.Dat
  // for an unknown phrase; then Random(n) of CPUpvt.dat when the repeat
  // tail is added, and last Random(2) when the answer has a delayed part.
  bool run(std::string_view raw, DialogueState& state, TurnEffects& effects);

  // The end of a turn that did not fail: the phrases become the previous
  // ones and the silence count starts again.
  static void finish(DialogueState& state);

  // Each run fills `trace` in (null: none) with where its answer came from.
  void setTrace(TurnTrace* trace) { trace_ = trace; }

 private:
  FileStore& files_;
  RandomSource& random_;
  TurnTrace* trace_ = nullptr;
};

}  // namespace vb
