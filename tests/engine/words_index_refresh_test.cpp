#include <gtest/gtest.h>

#include "engine/line_split.h"
#include "engine/words_index.h"

namespace vb {
namespace {

std::unique_ptr<WordsIndex> indexOf(std::string_view text) {
  return WordsIndex::build(std::make_shared<FileBytes>(text), 1 << 20);
}

// The index answers as the walk of `text` does, line for line, from the
// start and from within each thread.
void expectHolds(const WordsIndex& index, std::string_view text) {
  const auto lines = splitLines(text);
  ASSERT_EQ(index.lineCount(), lines.size());
  EXPECT_EQ(index.joined(), indexOf(text)->joined());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(index.lineAt(i), lines[i]) << i;
    for (int depth : {0, 1, 2}) {
      DialogueState walked;
      walked.BranchDepth = depth;
      walked.BranchLine = static_cast<int>(i) - 1;
      DialogueState indexed = walked;
      ScriptedRandom r1;
      ScriptedRandom r2;
      const std::string phrase(lines[i].substr(0, lines[i].find('^')));
      const auto expected = searchPhraseBase(text, phrase, walked, r1);
      const auto got = index.search(phrase, indexed, r2);
      ASSERT_EQ(expected.has_value(), got.has_value()) << i << " " << phrase;
      if (expected) {
        EXPECT_EQ(expected->answer, got->answer) << i;
      }
      EXPECT_EQ(walked.BranchLine, indexed.BranchLine) << i;
      EXPECT_EQ(walked.BranchDepth, indexed.BranchDepth) << i;
    }
  }
}

TEST(WordsIndexRefresh, FollowsAnEditOfAFewLines) {
  const std::string base = "AB^1;\r\n_CD^2;\r\nEF GH^3;\r\n_AB^4;\r\nCD^5;\r\n";
  const std::vector<std::string> edits = {
      "XY^1;\r\n_CD^2;\r\nEF GH^3;\r\n_AB^4;\r\nCD^5;\r\n",           // at the start
      "AB^1;\r\n_CD^2;\r\nEF^3;\r\n_AB^4;\r\nCD^5;\r\n",              // in the middle
      "AB^1;\r\n_CD^2;\r\nEF GH^3;\r\n_AB^4;\r\nCD^5;6;",             // at the end
      "AB^1;\r\n_CD^2;\r\nEF GH^3;\r\nGH^7;\r\n_AB^4;\r\nCD^5;\r\n",  // a line added
      "AB^1;\r\n_CD^2;\r\n_AB^4;\r\nCD^5;\r\n",                       // a line removed
      "AB^1;\r\n_CD^2;\n\nEF GH^3;\r\r\n_AB^4;\rCD^5;\n",             // line ends
      "AB^1;\r\n_CD^2;EF GH^3;\r\n_AB^4;\r\nCD^5;\r\n",               // two lines joined
      "AB^1;\r",                                                      // a CR left alone
      "",                                                             // emptied
  };
  for (const std::string& edit : edits) {
    auto index = indexOf(base);
    ASSERT_TRUE(index->refresh(std::make_shared<FileBytes>(edit))) << edit;
    expectHolds(*index, edit);
  }
  // An edit after learning, which keeps lines apart from the file's bytes;
  // then a CR that an LF now follows.
  auto index = indexOf("AB^1;\rCD^\r\nEF^\r\n");
  index->change(index->firstWithHead("CD"), {"GH^", "CD^8;"});
  ASSERT_TRUE(index->refresh(std::make_shared<FileBytes>("AB^1;\r\nEF^\r\nGH^\r\nCD^9;\r\n")));
  expectHolds(*index, "AB^1;\r\nEF^\r\nGH^\r\nCD^9;\r\n");
}

TEST(WordsIndexRefresh, LeavesALargeEditToABuild) {
  std::string base;
  for (int i = 0; i < 8000; ++i) base += "AB CD^" + std::to_string(i) + ";\r\n";
  auto index = indexOf(base);
  const std::string edited = "XY^\r\n" + base.substr(base.size() * 3 / 4);
  EXPECT_FALSE(index->refresh(std::make_shared<FileBytes>(edited)));
  EXPECT_TRUE(index->holds(base));
  ASSERT_TRUE(index->refresh(std::make_shared<FileBytes>("XY^\r\n" + base)));
  EXPECT_TRUE(index->holds("XY^\r\n" + base));
  EXPECT_EQ(index->lineCount(), 8001u);
}

}  // namespace
}  // namespace vb
