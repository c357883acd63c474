#pragma once
// The dialogue turn as the session runs it: the engine's Turn, or a scripted
// stand-in that tests give through SessionDeps.

#include <string_view>

#include "engine/turn.h"

namespace vb {

class TurnRunner {
 public:
  virtual ~TurnRunner() = default;
  // Steps 1 and 3 to 19 of a turn on `raw`; throws Failure as Turn::run.
  // False when `raw` is no phrase (empty): no turn ran, nothing changed.
  virtual bool run(std::string_view raw, DialogueState& state, TurnEffects& effects) = 0;
};

class EngineTurn final : public TurnRunner {
 public:
  EngineTurn(FileStore& files, RandomSource& random) : turn_(files, random) {}
  bool run(std::string_view raw, DialogueState& state, TurnEffects& effects) override {
    return turn_.run(raw, state, effects);
  }
  void setTrace(TurnTrace* trace) { turn_.setTrace(trace); }

 private:
  Turn turn_;
};

}  // namespace vb
