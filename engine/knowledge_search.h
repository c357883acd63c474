#pragma once
// The search of the phrase base (Base\Words.Dat) for an answer to the
// user's phrase, in three passes; the first answer found ends it:
//
//  1. branch pass, while a thread is open (BranchDepth > 0): the lines after
//     BranchLine up to the next main phrase, whose depth is BranchDepth and
//     whose key (without depth marks) occurs in the phrase;
//  2. whole-key pass: the first line whose whole head (depth marks
//     included) occurs in the phrase;
//  3. word pass: the first line whose head's words occur in the phrase in
//     their order, each scanned on from where the previous one ended.
//
// Passes 2 and 3 run as one walk over the text: the walk stops at the first
// whole-key hit and otherwise remembers the first word hit. A cheap test of
// the key's bytes and byte pairs against those of the phrase rules out most lines
// before any exact scan.
//
// Lines that cannot answer are passed over: no '^' (such a line does not
// end a thread either), a key still waiting for answers, a key made of
// spaces only, and a line with no answer to say (see WordsEntry).

#include <optional>
#include <string>
#include <string_view>

#include "engine/dialogue_state.h"
#include "engine/random_source.h"
#include "engine/words_probe.h"

namespace vb {

struct SearchHit {
  std::string answer;   // becomes CpuPhrase
  std::string delayed;  // becomes DelayedPhrase (empty when none)
  bool fromBranch = false;
  bool closing = false;  // the answering line ends with the closing mark '@'
};

// Searches `words` (the bytes of Words.Dat) for `phrase` (normalised),
// moving BranchLine and BranchDepth of `state`. The answer is drawn among
// the line's answers with one Random(n) (k = Random(n) + 1). When no line
// answers, `probe` (if given) is filled in for learning.
std::optional<SearchHit> searchPhraseBase(std::string_view words, std::string_view phrase,
                                          DialogueState& state, RandomSource& random,
                                          WordsProbe* probe = nullptr);

// What every pass does with a line, shared with the index (words_index.h):
// whether the line can answer at all, and its answer, drawn with one
// Random(n) among its n answers.
class WordsEntry;
bool usable(const WordsEntry& entry);
SearchHit answerFrom(const WordsEntry& entry, RandomSource& random);

// The word pass's test for one key: the key's words, cut at single spaces,
// occur in the phrase in their order. A key without words never matches.
bool wordsFound(std::string_view phrase, std::string_view key);

}  // namespace vb
