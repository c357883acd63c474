#include <gtest/gtest.h>

#include "engine/line_split.h"
#include "engine/words_index.h"

namespace vb {
namespace {

// A file large enough to be read in two halves, whose middle byte is the
// seventh of `middle` (a line end of each kind, or a line end's half).
TEST(WordsIndexHalves, AFileReadInTwoHalvesGivesTheLinesOfOne) {
  std::string fill;
  for (int i = 0; i < 230000; ++i) fill += "AB CD^x;\r\n";
  for (const std::string middle :
       {"K1^a;\r\nK2^b;", "K1^a;x\r\nK2^b", "K1^a;x\rK2^b;", "K1^a;x\nK2^b;", "K1^a;xyK2^b;"}) {
    const std::string text = fill + middle + fill;
    ASSERT_EQ(text[text.size() / 2], middle[6]);
    const auto index = WordsIndex::build(std::make_shared<FileBytes>(text), 4 * text.size());
    ASSERT_TRUE(index);
    const auto lines = splitLines(text);
    ASSERT_EQ(index->lineCount(), lines.size()) << middle;
    for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(index->lineAt(i), lines[i]) << i;
    EXPECT_EQ(index->joined(), isJoinedForm(text)) << middle;
    for (const char* key : {"K1", "K2", "CD"}) {
      DialogueState walked;
      DialogueState indexed;
      ScriptedRandom r1;
      ScriptedRandom r2;
      const auto expected = searchPhraseBase(text, key, walked, r1);
      const auto got = index->search(key, indexed, r2);
      ASSERT_EQ(expected.has_value(), got.has_value()) << middle << key;
      EXPECT_EQ(walked.BranchLine, indexed.BranchLine) << middle << key;
    }
  }
}

}  // namespace
}  // namespace vb
