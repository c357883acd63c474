// The indexed phrase base against the walk of the file, on a random base:
// searches (from random thread states), learning, and edits made behind
// the program's back. Both sides must give the same answer, the same thread
// state and the same draws, and learning must leave the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/dialogue_state.h"
#include "engine/failure.h"
#include "engine/knowledge_files.h"
#include "engine/knowledge_search.h"
#include "engine/learning.h"
#include "engine/line_split.h"
#include "engine/phrase_base.h"
#include "engine/random_source.h"
#include "fuzz_check.h"
#include "memory_store.h"

namespace {

using vb::fuzz::check;

// Few letters, so that keys and phrases meet often; both cases, so that
// upper-casing matters; and the format's own characters.
constexpr char kAlphabet[] = {'A', 'B', 'C',  'D',  'a', 'b', ' ',    ' ',    '_',    '^',   ';',
                              '|', '@', '\r', '\n', '.', '?', '\xC0', '\xE0', '\xA8', '\xB8'};

std::string textFrom(FuzzedDataProvider& in, std::size_t max, bool lineEnds) {
  std::string raw = in.ConsumeRandomLengthString(max);
  for (char& c : raw) {
    const auto i = static_cast<unsigned char>(c) % sizeof(kAlphabet);
    c = kAlphabet[i];
    if (!lineEnds && (c == '\r' || c == '\n')) c = ' ';
  }
  return raw;
}

// Records the draws asked for.
class Draws final : public vb::RandomSource {
 public:
  explicit Draws(std::uint32_t seed) : random_(seed) {}
  int random(int n) override {
    asked.push_back(n);
    return random_.random(n);
  }
  void reseed() override {}
  std::vector<int> asked;

 private:
  vb::SeededRandom random_;
};

void sameSearch(vb::PhraseBase& indexed, vb::FileStore& plainFiles, FuzzedDataProvider& in,
                vb::DialogueState& state) {
  std::string phrase = textFrom(in, 40, false);
  if (phrase.empty()) phrase = "A.";
  const auto seed = in.ConsumeIntegral<std::uint32_t>();
  if (in.ConsumeBool()) {
    state.BranchDepth = in.ConsumeIntegralInRange<int>(0, 3);
    state.BranchLine = in.ConsumeIntegralInRange<int>(-2, 40);
  }
  vb::DialogueState a = state;
  vb::DialogueState b = state;
  Draws ra(seed);
  Draws rb(seed);
  const auto words = plainFiles.readText(vb::kPhraseBase);
  const auto walked = vb::searchPhraseBase(*words, phrase, a, ra);
  const auto found = indexed.search(phrase, b, rb);
  check(walked.has_value() == found.has_value(), "both find an answer or neither");
  if (walked) {
    check(walked->answer == found->answer && walked->delayed == found->delayed &&
              walked->fromBranch == found->fromBranch && walked->closing == found->closing,
          "the same answer");
  }
  check(a.BranchLine == b.BranchLine && a.BranchDepth == b.BranchDepth, "the same thread state");
  check(ra.asked == rb.asked, "the same draws");
  state = a;
  // The index, refreshed after an edit or built anew, holds the file's lines.
  if (const vb::WordsIndex* index = indexed.index()) {
    const auto lines = vb::splitLines(*words);
    check(index->holds(*words) && index->lineCount() == lines.size(), "the index holds the file");
    for (std::size_t i = 0; i < lines.size(); ++i) check(index->lineAt(i) == lines[i], "each line");
  }
}

// Where the line holding byte `at` of `text` starts.
std::size_t lineStart(const std::string& text, std::size_t at) {
  while (at > 0 && text[at - 1] != '\r' && text[at - 1] != '\n') --at;
  return at;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  vb::fuzz::MemoryStore plain;
  vb::fuzz::MemoryStore stamped(true);
  const std::string base = textFrom(in, 2048, true);
  plain.put(vb::kPhraseBase, base);
  stamped.put(vb::kPhraseBase, base);
  vb::PhraseBase indexed(stamped);
  vb::DialogueState state;

  for (int step = 0; step < 12 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
      case 1:
        sameSearch(indexed, plain, in, state);
        break;
      case 2: {
        // Learning's key and answer steps (the pools are left out).
        const std::string user = textFrom(in, 24, false) + ".";
        const std::string prev = textFrom(in, 24, false);
        const int roll = in.ConsumeIntegralInRange<int>(1, 3);
        vb::LearningInput learning;
        learning.userPhrase = user;
        learning.cpuPhrase = "x";
        learning.prevCpuPhrase = prev;
        learning.turnRoll = roll;
        learning.filterHit = true;
        vb::learn(plain, learning);
        learning.phraseBase = &indexed;
        vb::learn(stamped, learning);
        if (*plain.find(vb::kPhraseBase) != *stamped.find(vb::kPhraseBase)) {
          std::fprintf(stderr, "user [%s] prev [%s] roll %d\nwalked:\n%s\nindexed:\n%s\n",
                       user.c_str(), prev.c_str(), roll, plain.find(vb::kPhraseBase)->c_str(),
                       stamped.find(vb::kPhraseBase)->c_str());
          vb::fuzz::broken("learning leaves the same bytes");
        }
        break;
      }
      default: {
        // An edit by another program: the index must follow it, or be built anew.
        std::string edited = *plain.find(vb::kPhraseBase);
        const std::string piece = textFrom(in, 64, true);
        const bool wholeLines = in.ConsumeBool();
        std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, edited.size());
        std::size_t cut = in.ConsumeIntegralInRange<std::size_t>(0, edited.size() - at);
        if (wholeLines) {
          // Lines taken out or put in, as an editor does.
          at = lineStart(edited, at);
          cut = lineStart(edited, at + cut) - at;
        }
        edited.replace(at, cut, piece);
        plain.put(vb::kPhraseBase, edited);
        stamped.put(vb::kPhraseBase, edited);
        break;
      }
    }
  }
  return 0;
}
