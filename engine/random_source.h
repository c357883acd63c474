#pragma once
// Random(n): a uniform integer from 0 to n-1 (0 when n <= 0). Steps that
// reseed from the clock call reseed() first; a seeded source ignores that,
// so a run with a fixed seed can be replayed exactly.

#include <cstdint>
#include <deque>
#include <random>

namespace vb {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual int random(int n) = 0;
  virtual void reseed() = 0;
};

// Seeded from the clock at every reseed, as the desktop program is.
class ClockRandom final : public RandomSource {
 public:
  ClockRandom();
  int random(int n) override;
  void reseed() override;

 private:
  std::mt19937 gen_;
};

// Reproducible: one seed for the whole run, reseeds ignored.
class SeededRandom final : public RandomSource {
 public:
  explicit SeededRandom(std::uint32_t seed) : gen_(seed) {}
  int random(int n) override;
  void reseed() override {}

 private:
  std::mt19937 gen_;
};

// Tests: yields the queued values in order (each taken modulo n), then 0.
class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<int> values) : values_(values) {}
  void push(int value) { values_.push_back(value); }
  int random(int n) override;
  void reseed() override { ++reseeds_; }
  int reseeds() const { return reseeds_; }
  std::size_t pending() const { return values_.size(); }

 private:
  std::deque<int> values_;
  int reseeds_ = 0;
};

}  // namespace vb
