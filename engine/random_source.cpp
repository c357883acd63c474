#include "engine/random_source.h"

#include <chrono>

namespace vb {
namespace {

int draw(std::mt19937& gen, int n) {
  if (n <= 0) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(gen);
}

std::uint32_t clockSeed() {
  return static_cast<std::uint32_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

}  // namespace

ClockRandom::ClockRandom() : gen_(clockSeed()) {}
int ClockRandom::random(int n) { return draw(gen_, n); }
void ClockRandom::reseed() { gen_.seed(clockSeed()); }

int SeededRandom::random(int n) { return draw(gen_, n); }

int ScriptedRandom::random(int n) {
  if (n <= 0) return 0;
  if (values_.empty()) return 0;
  int v = values_.front();
  values_.pop_front();
  return ((v % n) + n) % n;
}

}  // namespace vb
