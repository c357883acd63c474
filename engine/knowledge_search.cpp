#include "engine/knowledge_search.h"

#include <cstdint>

#include "engine/line_split.h"
#include "engine/phrase_bytes.h"
#include "engine/text.h"
#include "engine/words_entry.h"

namespace vb {

SearchHit answerFrom(const WordsEntry& entry, RandomSource& random) {
  const int n = entry.usableAnswers();
  const Answer answer = entry.usableAnswer(random.random(n));
  SearchHit hit;
  hit.answer = std::string(answer.said);
  hit.delayed = std::string(answer.delayed);
  hit.closing = entry.closing();
  return hit;
}

bool usable(const WordsEntry& entry) {
  return !entry.awaitingAnswers() && !isBlank(entry.key()) && entry.usableAnswers() > 0;
}

namespace {

std::optional<SearchHit> branchPass(std::string_view words, std::string_view phrase,
                                    DialogueState& state, RandomSource& random) {
  LineCursor cursor(words);
  std::string_view line;
  std::int32_t index = 0;
  for (; index <= state.BranchLine && cursor.next(line); ++index) {
  }
  for (; cursor.next(line); ++index) {
    state.BranchLine = index;
    const WordsEntry entry(line);
    if (!entry.hasCaret()) continue;
    if (entry.depth() == 0) break;
    if (entry.depth() != static_cast<std::size_t>(state.BranchDepth)) continue;
    if (!usable(entry) || !runFound(phrase, entry.key())) continue;
    SearchHit hit = answerFrom(entry, random);
    hit.fromBranch = true;
    state.BranchDepth += 1;
    return hit;
  }
  // The next main phrase or the end of the file closes the thread.
  if (index > state.BranchLine) state.BranchLine = index;
  state.BranchDepth = 0;
  return std::nullopt;
}

std::optional<SearchHit> keyPasses(std::string_view words, std::string_view phrase,
                                   DialogueState& state, RandomSource& random, WordsProbe* probe) {
  const PhraseBytes bytes(phrase);
  LineCursor cursor(words);
  std::string_view line;
  std::string_view wordHit;
  std::int32_t wordHitIndex = -1;
  for (std::int32_t index = 0; cursor.next(line); ++index) {
    if (probe) probe->see(words, line, cursor);
    if (bytes.headMayOccur(line) == std::string_view::npos) continue;
    const WordsEntry entry(line);
    const std::string_view head = entry.head();
    if (!usable(entry)) continue;
    if (runFound(phrase, head)) {
      state.BranchLine = index;
      state.BranchDepth = 1;
      return answerFrom(entry, random);
    }
    if (wordHitIndex < 0 && wordsFound(phrase, head)) {
      wordHit = line;
      wordHitIndex = index;
    }
  }
  if (wordHitIndex < 0) {
    if (probe) probe->finish(words);
    return std::nullopt;
  }
  state.BranchLine = wordHitIndex;
  state.BranchDepth = 1;
  return answerFrom(WordsEntry(wordHit), random);
}

}  // namespace

bool wordsFound(std::string_view phrase, std::string_view key) {
  // Same cut as splitWords: a space ends the word being built; a space met
  // when no word is being built belongs to the next word.
  std::size_t from = 0;
  std::size_t start = 0;
  bool any = false;
  auto scan = [&](std::string_view word) {
    any = true;
    from = runScan(phrase, word, from);
    return from != std::string_view::npos;
  };
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (key[i] == ' ' && i > start) {
      if (!scan(key.substr(start, i - start))) return false;
      start = i + 1;
    }
  }
  if (start < key.size() && !scan(key.substr(start))) return false;
  return any;
}

std::optional<SearchHit> searchPhraseBase(std::string_view words, std::string_view phrase,
                                          DialogueState& state, RandomSource& random,
                                          WordsProbe* probe) {
  if (state.BranchDepth > 0) {
    if (auto hit = branchPass(words, phrase, state, random)) return hit;
  }
  return keyPasses(words, phrase, state, random, probe);
}

}  // namespace vb
