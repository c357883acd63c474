#include "console/terminal_text.h"

#include <gtest/gtest.h>

#include "engine/text.h"

namespace vb {
namespace {

bool holdsControl(const std::string& utf8) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x20 || b == 0x7F) return true;
    // C1 controls in UTF-8: C2 80 .. C2 9F.
    if (b == 0xC2 && i + 1 < utf8.size()) {
      auto n = static_cast<unsigned char>(utf8[i + 1]);
      if (n >= 0x80 && n <= 0x9F) return true;
    }
  }
  return false;
}

TEST(TerminalText, PlainWindows1251TextComesOutAsUtf8) {
  EXPECT_EQ(terminalText(utf8To1251("Привет! Как дела? ё Ё №")), "Привет! Как дела? ё Ё №");
}

TEST(TerminalText, ControlBytesFromAFileAreShownAsControlPictures) {
  EXPECT_EQ(terminalText("a\x1b[2Jb"), "a␛[2Jb");
  EXPECT_EQ(terminalText("\x07\x08\t\r\n\x7f"), "␇␈␉␍␊␡");
  EXPECT_EQ(terminalText(std::string("x\0y", 3)), "x␀y");
}

TEST(TerminalText, NoByteOfAnyInputReachesTheTerminalAsAControl) {
  std::string every;
  for (int b = 0; b < 256; ++b) every.push_back(static_cast<char>(b));
  std::string shown = terminalText(every);
  EXPECT_FALSE(holdsControl(shown));
  EXPECT_FALSE(holdsControl(terminalTextUtf8(every)));
}

TEST(TerminalText, C1ControlsAndMalformedUtf8BecomeReplacementCharacters) {
  EXPECT_EQ(terminalTextUtf8("a\xC2\x9B"
                             "31mb"),
            "a\uFFFD31mb");  // CSI
  EXPECT_EQ(terminalTextUtf8("a\xC2\x9D"
                             "0;x\xC2\x9C"),
            "a\uFFFD0;x\uFFFD");  // OSC, ST
  EXPECT_EQ(terminalTextUtf8("\xFF\xC3"), "\uFFFD\uFFFD");
  EXPECT_EQ(terminalTextUtf8("\xC0\xBB"), "\uFFFD\uFFFD");            // overlong
  EXPECT_EQ(terminalTextUtf8("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");  // surrogate
  EXPECT_EQ(terminalTextUtf8("ok ✓ 😀"), "ok ✓ 😀");
}

}  // namespace
}  // namespace vb
