// One line of Base\Words.Dat and a phrase: the line taken apart, then
// searched as a main phrase, as a branch and through its words, and given
// one more answer the way learning gives it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "engine/dialogue_state.h"
#include "engine/knowledge_search.h"
#include "engine/learning.h"
#include "engine/random_source.h"
#include "engine/text.h"
#include "engine/words_entry.h"
#include "fuzz_check.h"

namespace {

using vb::fuzz::check;

bool within(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int depth = in.ConsumeIntegralInRange<int>(0, 3);
  const int draw = in.ConsumeIntegral<std::uint8_t>();
  std::string phrase = in.ConsumeRandomLengthString(300);
  std::string line = in.ConsumeRemainingBytesAsString();
  line = line.substr(0, line.find_first_of("\r\n"));  // a line holds no line end

  const vb::WordsEntry entry(line);
  check(within(entry.head(), line) && within(entry.key(), line), "head inside the line");
  check(entry.hasCaret() == (line.find('^') != std::string::npos), "caret found");
  check(entry.key().find('^') == std::string_view::npos, "a key holds no '^'");
  const int answers = entry.usableAnswers();
  check(answers >= 0, "answer count");
  for (int i = 0; i < answers && i < 64; ++i) {
    const vb::Answer a = entry.usableAnswer(i);
    check(!a.said.empty(), "a usable answer says something");
    check(within(a.said, line) && within(a.delayed, line), "answers inside the line");
    check(a.said.find(';') == std::string_view::npos, "an answer holds no ';'");
    check(a.delayed.find(';') == std::string_view::npos, "a delayed part holds no ';'");
  }

  if (!phrase.empty()) {
    const std::string normal = vb::normalisePhrase(phrase);
    check(normal.size() == phrase.size() || normal.size() == phrase.size() + 1, "normal length");
    const char last = normal.back();
    check(last == '.' || last == '!' || last == '?', "normal end");
    (void)vb::wordsFound(normal, entry.key());
    (void)vb::keyForm(phrase);
    (void)vb::splitWords(entry.key());

    // The line as a main phrase, then under a main phrase as a branch of
    // the depth the input chose, and with a thread open at that depth.
    const std::string words = "MAIN^main;\r\n" + line + "\r\n" + line + "\r\n";
    vb::DialogueState state;
    state.BranchDepth = depth;
    state.BranchLine = depth ? 1 : 0;
    vb::ScriptedRandom random{draw, draw / 3};
    for (int pass = 0; pass < 2; ++pass) {
      if (auto hit = vb::searchPhraseBase(words, normal, state, random)) {
        check(!hit->answer.empty(), "an answer says something");
        check(hit->answer.find(';') == std::string::npos, "a found answer holds no ';'");
        check(hit->answer.find_first_of("\r\n") == std::string::npos, "one line");
      }
      check(state.BranchLine >= 0 && state.BranchDepth >= 0, "thread position");
    }

    const std::string grown = vb::withAnswer(line, normal);
    check(grown.ends_with(";") || grown.ends_with(";@"), "learned answer ends the line");
    check(grown.size() == line.size() + normal.size() + 1, "learned answer length");
  }
  return 0;
}
