#pragma once
// Where a turn's answer came from, for the people who write the knowledge
// base: the step that answered, the file and line, the key, the answer
// drawn, and what the turn learned. The turn fills it in when given one;
// it changes nothing of what the turn does.

#include <string>
#include <string_view>

#include "engine/dialogue_state.h"
#include "engine/knowledge_search.h"

namespace vb {

struct TurnTrace {
  enum class Step {
    None,        // no turn yet, or the turn failed before an answer
    Repetition,  // the phrase repeated the previous one: Povtor.Dat
    Censor,      // a censor entry: X.Dat
    LongPhrase,  // 110 characters or more: BigString.Dat
    Branch,      // a branch line of the open thread
    WholeKey,    // a key found whole in the phrase
    WordPass,    // a key's words found in order
    Unknown,     // no key: a line of the question or statement pool
  };
  Step step = Step::None;
  std::string phrase;    // UserPhrase
  std::string file;      // the file the answer was drawn from
  int line = 0;          // its line, from 1
  std::string head;      // the Words.Dat line's head; the censor entry
  int answer = 0;        // Words.Dat: the answer drawn, from 1 ...
  int answers = 0;       // ... of this many
  bool closing = false;  // the Words.Dat line ends with the closing mark
  std::string filter;    // the filter entry found, or empty
  std::string delayed;   // the answer's delayed part, or empty
  bool delayedScheduled = false;
  std::string tail;  // the repeat tail added, or empty
  int tailLine = 0;
  std::int32_t branchLine = 0;  // the thread after the turn
  std::int32_t branchDepth = 0;
  // Learning, for an unknown phrase.
  bool learning = false;      // the phrase was long enough to learn from
  std::string pool;           // the pool the phrase was added to, or empty
  bool keyAdded = false;      // its key form became a key awaiting answers
  std::string answerAddedTo;  // the head that took the phrase as an answer
};

// The Words.Dat part of the trace for an answer from the search: the line
// is the thread's BranchLine after the search, the pass is told by whether
// the line's whole head occurs in the phrase.
void traceSearchHit(TurnTrace& trace, std::string_view words, const DialogueState& state,
                    const SearchHit& hit);

}  // namespace vb
