#include "engine/turn_trace.h"

#include "engine/knowledge_files.h"
#include "engine/line_split.h"
#include "engine/text.h"
#include "engine/words_entry.h"

namespace vb {

void traceSearchHit(TurnTrace& trace, std::string_view words, const DialogueState& state,
                    const SearchHit& hit) {
  trace.file = std::string(kPhraseBase);
  trace.line = state.BranchLine + 1;
  const WordsEntry entry(lineAt(words, static_cast<std::size_t>(state.BranchLine)));
  trace.head = std::string(entry.head());
  trace.step = hit.fromBranch                             ? TurnTrace::Step::Branch
               : runFound(state.UserPhrase, entry.head()) ? TurnTrace::Step::WholeKey
                                                          : TurnTrace::Step::WordPass;
  trace.answers = entry.usableAnswers();
  for (int k = 0; k < trace.answers; ++k) {
    const Answer a = entry.usableAnswer(k);
    if (a.said == hit.answer && a.delayed == hit.delayed) {
      trace.answer = k + 1;
      break;
    }
  }
  trace.closing = hit.closing;
}

}  // namespace vb
