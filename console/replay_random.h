#pragma once
// The randomness of `--seed N`. Every draw follows from N, and each line of
// input starts from a state that depends only on N and the line's number.
// The timers draw too (the silence counter every second, the delayed part,
// the greeting), as often as the time spent between lines allows; starting
// each line afresh keeps their draws from shifting the answers, so a
// dialogue typed by hand is replayed exactly by piping the same lines with
// the same seed.

#include <cstdint>
#include <random>

#include "engine/random_source.h"

namespace vb {

class ReplayRandom final : public RandomSource {
 public:
  explicit ReplayRandom(std::uint32_t seed);
  int random(int n) override;
  // The steps that reseed from the clock keep the sequence instead.
  void reseed() override {}
  // A new line of input is about to be served.
  void startLine();

 private:
  std::uint32_t seed_;
  std::uint32_t line_ = 0;
  std::mt19937 gen_;
};

}  // namespace vb
