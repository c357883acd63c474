#include "engine/line_split.h"

#include <gtest/gtest.h>

#include <random>

namespace vb {
namespace {

// The rule in its plainest form: CR LF, CR or LF ends a line.
std::vector<std::string> naiveSplit(const std::string& text) {
  std::vector<std::string> out;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out.push_back(line);
      line.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(text[i]);
    }
  }
  if (!line.empty()) out.push_back(line);
  return out;
}

TEST(LineSplit, AgreesWithThePlainRuleOnLongAndMixedLines) {
  std::mt19937 gen(7);
  const char ends[][3] = {"\r\n", "\r", "\n", "\n\r"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int lines = static_cast<int>(gen() % 12);
    for (int i = 0; i < lines; ++i) {
      text.append(gen() % 70, static_cast<char>('A' + gen() % 26));
      text += ends[gen() % 4];
    }
    if (gen() % 2) text.append(gen() % 40, 'z');
    ASSERT_EQ(splitLinesCopy(text), naiveSplit(text)) << text;
    ASSERT_EQ(countLines(text), naiveSplit(text).size());
    ASSERT_EQ(isJoinedForm(text), joinLines(naiveSplit(text)) == text) << text;
  }
}

TEST(LineSplit, ReportsCrLfEndsAndAppendsInJoinedForm) {
  LineCursor cursor("a\r\nb\nc\rd");
  std::string_view line;
  std::vector<bool> crlf;
  while (cursor.next(line)) crlf.push_back(cursor.endedByCrLf());
  EXPECT_EQ(crlf, (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(withLineAppended("a\nb", "c"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(withLineAppended("a\r\n", "c"), "a\r\nc\r\n");
  EXPECT_EQ(withLineAppended("", "c"), "c\r\n");
  EXPECT_EQ(lineAt("a\r\nb\r\n", 1), "b");
}

}  // namespace
}  // namespace vb
