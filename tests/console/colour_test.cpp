#include "console/colour.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(Colour, OnlyOnATerminalAndOnlyWithoutNoColor) {
  EXPECT_TRUE(colourWanted(true, nullptr));
  EXPECT_FALSE(colourWanted(false, nullptr));
  EXPECT_FALSE(colourWanted(true, "1"));
  EXPECT_FALSE(colourWanted(true, ""));
}

TEST(Colour, ConfigColoursMapToTheNearestTerminalColour) {
  EXPECT_EQ(ansiForeground(8388608), 34);   // navy, the shipped user colour
  EXPECT_EQ(ansiForeground(128), 31);       // maroon, the shipped program colour
  EXPECT_EQ(ansiForeground(kTeal), 36);     // 0x00BBGGRR: teal is cyan
  EXPECT_EQ(ansiForeground(0x0000FF), 91);  // pure red
  EXPECT_EQ(ansiForeground(0x00FF00), 92);  // pure lime
  EXPECT_EQ(ansiForeground(0xFF0000), 34);  // pure blue
}

TEST(Colour, BlackWhiteGreyAndSystemColoursKeepTheTerminalsForeground) {
  EXPECT_EQ(ansiForeground(0), 0);
  EXPECT_EQ(ansiForeground(0xFFFFFF), 0);
  EXPECT_EQ(ansiForeground(kSilver), 0);
  EXPECT_EQ(ansiForeground(-16777201), 0);
}

TEST(Colour, LineStartCarriesColourAndBoldness) {
  LineStyle user{8388608, "Arial", 10, FontStyle::Bold};
  EXPECT_EQ(lineStart(LineKind::User, user), "\x1b[1;34m");
  LineStyle cpu{128, "Arial", 10, FontStyle::Italic};
  EXPECT_EQ(lineStart(LineKind::Cpu, cpu), "\x1b[0;31m");
  LineStyle plain{0, "Arial", 10, FontStyle::BoldItalic};
  EXPECT_EQ(lineStart(LineKind::Cpu, plain), "\x1b[1m");
  EXPECT_EQ(lineStart(LineKind::Service, user), "\x1b[36m");
}

}  // namespace
}  // namespace vb
