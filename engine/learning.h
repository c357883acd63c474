#pragma once
// Learning from an unknown phrase, after it has been answered from a pool:
//
//  1. pool: unless the filter list fired, a phrase not yet in the pool the
//     answer was drawn from is appended to Base\W1.Dat when the answer drawn
//     holds a '?', else to Base\W2.Dat (nothing when the answer is empty:
//     learning stops there);
//  2. key: the phrase's key form is appended to Base\Words.Dat as "KEY^"
//     unless a line already has exactly that head;
//  3. answer: only after a new key, with a roll of 2 or 3 and a previous
//     answer: the first line whose head is the key form of the previous
//     answer moves to the end of the file with the phrase as one more
//     answer.
//
// Every file is changed under the store's lock, re-read there (the store
// skips the read when the file is unchanged since this turn read it), and
// steps 2 and 3 make one write. What the steps write is what writing them
// one by one would leave, with these guards: a key form with no letter
// (only spaces), a key form holding '^' or starting with '_', and a head
// made only of spaces never take part; a phrase holding ';' or '|' is not
// added as an answer (it would split into other answers); and a line that
// ends with the closing mark '@' gets its new answer before the '@', so it
// keeps closing.

#include <memory>
#include <string>
#include <string_view>

#include "engine/file_store.h"
#include "engine/words_probe.h"

namespace vb {

// What learning did, for a caller that wants to tell.
struct LearnedReport {
  std::string pool;           // the pool the phrase was appended to, or empty
  bool keyAdded = false;      // the phrase's key form was appended as a key
  std::string answerAddedTo;  // the head of the line that took the phrase as an answer
};

struct LearningInput {
  std::string_view userPhrase;     // UserPhrase, normalised
  std::string_view cpuPhrase;      // the answer drawn from the pool
  std::string_view prevCpuPhrase;  // PrevCpuPhrase
  int turnRoll = 1;                // TurnRoll, 1..3
  bool filterHit = false;
  bool fromQuestionPool = false;  // the answer came from Base\W1.Dat
  // The pool as this turn read it to draw the answer; read again if null.
  std::shared_ptr<const std::string> poolText;
  // What the search found out about Words.Dat (see probeFor); used only if
  // it was made for the very bytes learning finds under its lock.
  const WordsProbe* probe = nullptr;
  LearnedReport* report = nullptr;  // filled in when given
};

void learn(FileStore& files, const LearningInput& in);

// The probe the search should fill in for learning from this phrase: it
// asks for the phrase's key form, and for the previous answer's key form
// when the roll lets the phrase become an answer.
WordsProbe probeFor(std::string_view userPhrase, std::string_view prevCpuPhrase, int turnRoll);

// The new form of a line that receives `answer` as its last answer.
std::string withAnswer(std::string_view line, std::string_view answer);

}  // namespace vb
