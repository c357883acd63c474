#include "engine/learning.h"

#include <optional>

#include "engine/knowledge_files.h"
#include "engine/line_split.h"
#include "engine/text.h"
#include "engine/words_entry.h"

namespace vb {
namespace {

bool holdsLine(std::string_view text, std::string_view wanted) {
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.next(line)) {
    if (line == wanted) return true;
  }
  return false;
}

// Returns false when learning ends here (an empty answer was drawn).
bool learnPool(FileStore& files, const LearningInput& in) {
  auto pool = in.poolText ? in.poolText : files.readText(poolName(in.fromQuestionPool));
  if (holdsLine(*pool, in.userPhrase)) return true;
  if (in.cpuPhrase.empty()) return false;
  const bool toQuestions = in.cpuPhrase.find('?') != std::string_view::npos;
  files.updateText(poolName(toQuestions),
                   [&](const std::string& text) -> std::optional<TextPieces> {
                     // Another program may have added it since this turn read the pool.
                     if (toQuestions == in.fromQuestionPool && holdsLine(text, in.userPhrase))
                       return std::nullopt;
                     if (in.report) in.report->pool = std::string(poolName(toQuestions));
                     return piecesWithLineAppended(text, in.userPhrase);
                   });
  return true;
}

// A key form that may become a key: not blank, no '^' (it would end the
// key early) and no leading '_' (it would make a branch line).
bool learnableKey(std::string_view key) {
  return !isBlank(key) && key.find('^') == std::string_view::npos && key.front() != '_';
}

void learnKeyAndAnswer(FileStore& files, const LearningInput& in) {
  const WordsProbe asked = probeFor(in.userPhrase, in.prevCpuPhrase, in.turnRoll);
  if (asked.key.empty()) return;
  const bool probeFits =
      in.probe && in.probe->key == asked.key && in.probe->prevKey == asked.prevKey;

  files.updateText(kPhraseBase, [&](const std::string& text) -> std::optional<TextPieces> {
    WordsProbe walked;
    const WordsProbe* probe = in.probe;
    if (!probeFits || !probe->holdsFor(text)) {
      walked.key = asked.key;
      walked.prevKey = asked.prevKey;
      walked.walk(text);
      probe = &walked;
    }
    if (probe->keySeen) return std::nullopt;

    // The lines as they stand (the previous answer's line left out), then
    // the new key, then that line with its new answer.
    const std::string_view all(text);
    TextPieces out;
    if (probe->joined) {
      out.view(all.substr(0, probe->prevFound ? probe->prevStart : all.size()));
      if (probe->prevFound) out.view(all.substr(probe->prevEnd));
    } else {
      std::string rest;
      rest.reserve(all.size() + all.size() / 16);
      LineCursor cursor(all);
      std::string_view line;
      while (cursor.next(line)) {
        const auto start = static_cast<std::size_t>(line.data() - all.data());
        if (!(probe->prevFound && start == probe->prevStart)) appendLine(rest, line);
      }
      out.own(std::move(rest));
    }
    if (in.report) {
      in.report->keyAdded = true;
      if (probe->prevFound || (!asked.prevKey.empty() && asked.prevKey == asked.key))
        in.report->answerAddedTo = asked.prevKey;
    }
    std::string tail;
    const std::string newKey = asked.key + "^";
    if (probe->prevFound) {
      appendLine(tail, newKey);
      appendLine(tail, withAnswer(all.substr(probe->prevStart, probe->prevLength), in.userPhrase));
    } else if (!asked.prevKey.empty() && asked.prevKey == asked.key) {
      // The new key is itself the first line with that head.
      appendLine(tail, withAnswer(newKey, in.userPhrase));
    } else {
      appendLine(tail, newKey);
    }
    out.own(std::move(tail));
    return out;
  });
}

}  // namespace

std::string withAnswer(std::string_view line, std::string_view answer) {
  std::string out;
  const bool closing = !line.empty() && line.back() == '@';
  out.append(closing ? line.substr(0, line.size() - 1) : line);
  out.append(answer);
  out.push_back(';');
  if (closing) out.push_back('@');
  return out;
}

WordsProbe probeFor(std::string_view userPhrase, std::string_view prevCpuPhrase, int turnRoll) {
  WordsProbe probe;
  std::string key = keyForm(userPhrase);
  if (!learnableKey(key)) return probe;
  probe.key = std::move(key);
  // A phrase holding ';' or '|' would fall apart into other answers.
  if ((turnRoll == 2 || turnRoll == 3) && !prevCpuPhrase.empty() &&
      userPhrase.find_first_of(";|") == std::string_view::npos) {
    std::string prevKey = keyForm(prevCpuPhrase);
    // A blank head never matches; a head never holds '^'.
    if (!isBlank(prevKey) && prevKey.find('^') == std::string::npos)
      probe.prevKey = std::move(prevKey);
  }
  return probe;
}

void learn(FileStore& files, const LearningInput& in) {
  if (!in.filterHit && !learnPool(files, in)) return;
  learnKeyAndAnswer(files, in);
}

}  // namespace vb
