#include "console/replay_random.h"

namespace vb {

ReplayRandom::ReplayRandom(std::uint32_t seed) : seed_(seed), gen_(seed) {}

int ReplayRandom::random(int n) {
  if (n <= 0) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(gen_);
}

void ReplayRandom::startLine() {
  ++line_;
  std::seed_seq seq{seed_, line_};
  gen_.seed(seq);
}

}  // namespace vb
