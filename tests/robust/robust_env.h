#pragma once
// Switches of the robustness tests: VB_LONG_TESTS=1 runs the long
// campaigns (1,000 kills, 1,000 turns per learner, 20,000 partner ticks,
// 200 random Config.ini files); single counts can be set by their own
// variables: VB_CRASH_KILLS, VB_TWO_LEARNER_TURNS, VB_PARTNER_TICKS.

#include <cstdlib>
#include <string>

namespace vb::robust {

inline bool longTests() {
  const char* v = std::getenv("VB_LONG_TESTS");
  return v && std::string(v) == "1";
}

// The value of `name` when it holds a positive number, else `fallback`.
inline long envCount(const char* name, long fallback) {
  const char* v = std::getenv(name);
  if (!v) return fallback;
  const long n = std::atol(v);
  return n > 0 ? n : fallback;
}

}  // namespace vb::robust
