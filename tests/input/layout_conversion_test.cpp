#include "input/layout_conversion.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/text.h"

namespace vb {
namespace {

std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}

TEST(LayoutConversion, TypedPhrasesBecomeCyrillic) {
  EXPECT_EQ(convertLayout("ghbdtn"), w("привет"));
  EXPECT_EQ(convertLayout("Ghbdtn"), w("Привет"));
  EXPECT_EQ(convertLayout("Ghbdtn? rfr ltkf&"), w("Привет? как дела?"));
  EXPECT_EQ(convertLayout("Ghbdtn, rfr ltkf?"), w("Привет, как дела?"));
  EXPECT_EQ(convertLayout("'nj"), w("'то"));
  EXPECT_EQ(convertLayout("<>,."), w("бю,."));
  EXPECT_EQ(convertLayout("qwertyuiop[]asdfghjkl;\"zxcvbnm"), w("йцукенгшщзхъфывапролджЭячсмить"));
  EXPECT_EQ(convertLayout("QWERTYUIOP{}ASDFGHJKL:ZXCVBNM"), w("ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЯЧСМИТЬ"));
}

TEST(LayoutConversion, SignsFollowTheRussianLayout) {
  EXPECT_EQ(convertLayout("`~#\\|/"), w("ёЁ№\\/."));
  EXPECT_EQ(convertLayout("@$^&"), "\";:?");
}

TEST(LayoutConversion, ResultsAreNotConvertedAgainInOneRun) {
  EXPECT_EQ(convertLayout("@"), "\"");
  EXPECT_EQ(convertLayout(convertLayout("@")), w("Э"));
  EXPECT_EQ(convertLayout("$"), ";");
  EXPECT_EQ(convertLayout(convertLayout("$")), w("ж"));
  EXPECT_EQ(convertLayout("|"), "/");
  EXPECT_EQ(convertLayout("@\""), w("\"Э"));
}

TEST(LayoutConversion, OtherBytesStayAndLengthIsKept) {
  const std::string untouched = w("0123456789 !%*()-_=+,.?'\t привет ёЁ№");
  EXPECT_EQ(convertLayout(untouched), untouched);
  EXPECT_EQ(convertLayout(""), "");
  const std::string nul("a\0b", 3);
  EXPECT_EQ(convertLayout(nul), w("ф") + std::string(1, '\0') + w("и"));
  const std::string longText(255, 'q');
  EXPECT_EQ(convertLayout(longText), std::string(255, w("й")[0]));
}

TEST(LayoutConversion, TableHasSeventyOneDistinctPairsFromAscii) {
  int changed = 0;
  std::set<unsigned char> results;
  int sources = 0;
  for (int b = 0; b < 256; ++b) {
    const std::string in(1, static_cast<char>(b));
    const std::string out = convertLayout(in);
    ASSERT_EQ(out.size(), 1u);
    if (out != in) {
      ++changed;
      EXPECT_LT(b, 0x80) << b;
    }
    if (out != in || b == '\\') {
      ++sources;
      results.insert(static_cast<unsigned char>(out[0]));
    }
  }
  EXPECT_EQ(changed, 70);  // the backslash is a pair whose result is itself
  EXPECT_EQ(sources, 71);
  EXPECT_EQ(results.size(), 71u);
}

}  // namespace
}  // namespace vb
