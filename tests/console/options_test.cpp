#include "console/options.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using Action = ConsoleOptions::Action;

TEST(ConsoleOptions, NoArgumentsRunInTheCurrentFolderWithClockRandomness) {
  ConsoleOptions o = parseOptions({});
  EXPECT_EQ(o.action, Action::Run);
  EXPECT_EQ(o.dir, "");
  EXPECT_FALSE(o.seed.has_value());
}

TEST(ConsoleOptions, DirAndSeedTakeTheirValueSeparatedOrAfterEquals) {
  ConsoleOptions a = parseOptions({"--dir", "/tmp/prog", "--seed", "42"});
  EXPECT_EQ(a.action, Action::Run);
  EXPECT_EQ(a.dir, "/tmp/prog");
  EXPECT_EQ(a.seed, 42u);

  ConsoleOptions b = parseOptions({"--seed=4294967295", "--dir=a=b"});
  EXPECT_EQ(b.action, Action::Run);
  EXPECT_EQ(b.dir, "a=b");
  EXPECT_EQ(b.seed, 4294967295u);

  // A folder whose name starts with '-' is still a value.
  EXPECT_EQ(parseOptions({"--dir", "-odd"}).dir, "-odd");
}

TEST(ConsoleOptions, AuthorsToolsTakeFlagsAndValues) {
  ConsoleOptions o = parseOptions({"--check", "--strict", "--exceptions=ex.txt"});
  EXPECT_EQ(o.action, Action::Run);
  EXPECT_TRUE(o.check && o.strict);
  EXPECT_EQ(o.exceptions, "ex.txt");
  ConsoleOptions r = parseOptions({"--explain", "--pace", "0.5", "--seed", "7"});
  EXPECT_TRUE(r.explain);
  EXPECT_EQ(r.pace, 0.5);
}

TEST(ConsoleOptions, HelpAndVersionWinWhereverTheyStand) {
  EXPECT_EQ(parseOptions({"--help"}).action, Action::Help);
  EXPECT_EQ(parseOptions({"-h"}).action, Action::Help);
  EXPECT_EQ(parseOptions({"--version"}).action, Action::Version);
  EXPECT_EQ(parseOptions({"-V"}).action, Action::Version);
  EXPECT_EQ(parseOptions({"--dir", "x", "--help", "--bogus"}).action, Action::Help);
}

TEST(ConsoleOptions, BadCommandLinesAreErrorsThatSayWhatIsWrong) {
  struct Case {
    std::vector<std::string_view> args;
    std::string_view mentions;
  };
  const Case cases[] = {
      {{"--bogus"}, "--bogus"},
      {{"-x"}, "-x"},
      {{"stray"}, "stray"},
      {{"--dir"}, "--dir"},
      {{"--seed"}, "--seed"},
      {{"--dir="}, "--dir"},
      {{"--seed", "-1"}, "-1"},
      {{"--seed", "12abc"}, "12abc"},
      {{"--seed", "4294967296"}, "4294967296"},
      {{"--seed="}, "--seed"},
      {{"--help=1"}, "--help=1"},
      {{"--pace", "-1"}, "-1"},
      {{"--pace", "1,5"}, "1,5"},
      {{"--strict"}, "--check"},
      {{"--exceptions", "x.txt"}, "--check"},
      {{"--check=1"}, "--check=1"},
  };
  for (const Case& c : cases) {
    ConsoleOptions o = parseOptions(c.args);
    EXPECT_EQ(o.action, Action::Error) << c.mentions;
    EXPECT_NE(o.error.find(c.mentions), std::string::npos) << o.error;
  }
}

}  // namespace
}  // namespace vb
