#include "console/replay_random.h"

#include <gtest/gtest.h>

#include <vector>

namespace vb {
namespace {

std::vector<int> draws(ReplayRandom& r, int count) {
  std::vector<int> out;
  for (int i = 0; i < count; ++i) out.push_back(r.random(1000));
  return out;
}

TEST(ReplayRandom, TheSameSeedGivesTheSameDraws) {
  ReplayRandom a(42), b(42);
  EXPECT_EQ(draws(a, 20), draws(b, 20));
  a.reseed();  // the clock plays no part
  b.startLine();
  a.startLine();
  EXPECT_EQ(draws(a, 20), draws(b, 20));
  ReplayRandom c(43);
  ReplayRandom d(42);
  EXPECT_NE(draws(c, 20), draws(d, 20));
}

TEST(ReplayRandom, ALineDrawsTheSameHoweverManyDrawsCameBeforeIt) {
  ReplayRandom quiet(7), busy(7);
  draws(quiet, 3);
  draws(busy, 500);  // timers ticking while the user was silent
  quiet.startLine();
  busy.startLine();
  EXPECT_EQ(draws(quiet, 30), draws(busy, 30));
  // And each line has a sequence of its own.
  ReplayRandom once(7), twice(7);
  once.startLine();
  twice.startLine();
  twice.startLine();
  EXPECT_NE(draws(once, 20), draws(twice, 20));
}

TEST(ReplayRandom, DrawsStayInRange) {
  ReplayRandom r(1);
  for (int n : {1, 2, 3, 6, 120, 1000}) {
    for (int i = 0; i < 200; ++i) {
      int v = r.random(n);
      EXPECT_GE(v, 0);
      EXPECT_LT(v, n);
    }
  }
  EXPECT_EQ(r.random(0), 0);
  EXPECT_EQ(r.random(-5), 0);
}

}  // namespace
}  // namespace vb
