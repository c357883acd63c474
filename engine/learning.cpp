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

// The head of a line (text before its first '^'); a line without '^' has
// none and never equals a key.
std::optional<std::string_view> headOf(std::string_view line) {
  const auto caret = line.find('^');
  if (caret == std::string_view::npos) return std::nullopt;
  return line.substr(0, caret);
}

// Returns false when learning ends here (an empty answer was drawn).
bool learnPool(FileStore& files, const LearningInput& in) {
  auto pool = in.poolText ? in.poolText : files.readText(poolName(in.fromQuestionPool));
  if (holdsLine(*pool, in.userPhrase)) return true;
  if (in.cpuPhrase.empty()) return false;
  const bool toQuestions = in.cpuPhrase.find('?') != std::string_view::npos;
  files.updateText(poolName(toQuestions),
                   [&](const std::string& text) -> std::optional<std::string> {
                     // Another program may have added it since this turn read the pool.
                     if (toQuestions == in.fromQuestionPool && holdsLine(text, in.userPhrase))
                       return std::nullopt;
                     return withLineAppended(text, in.userPhrase);
                   });
  return true;
}

void learnKeyAndAnswer(FileStore& files, const LearningInput& in) {
  const std::string key = keyForm(in.userPhrase);
  if (isBlank(key) || key.find('^') != std::string::npos || key.front() == '_') return;
  const bool wantAnswer = (in.turnRoll == 2 || in.turnRoll == 3) && !in.prevCpuPhrase.empty() &&
                          in.userPhrase.find_first_of(";|") == std::string_view::npos;
  const std::string prevKey = wantAnswer ? keyForm(in.prevCpuPhrase) : std::string();
  const bool seekPrev = wantAnswer && !isBlank(prevKey);

  files.updateText(kPhraseBase, [&](const std::string& text) -> std::optional<std::string> {
    LineCursor cursor(text);
    std::string_view line;
    std::string_view moved;
    std::size_t movedStart = 0;
    std::size_t movedEnd = 0;
    bool found = false;
    bool joined = true;
    while (cursor.next(line)) {
      const std::size_t start = static_cast<std::size_t>(line.data() - text.data());
      joined = joined && cursor.offset() - (start + line.size()) == 2;
      const auto head = headOf(line);
      if (!head) continue;
      if (*head == key) return std::nullopt;
      if (seekPrev && !found && *head == prevKey) {
        found = true;
        moved = line;
        movedStart = start;
        movedEnd = cursor.offset();
      }
    }

    std::string out;
    out.reserve(text.size() + key.size() + in.userPhrase.size() + 8);
    if (joined) {
      out.append(text, 0, found ? movedStart : text.size());
      if (found) out.append(text, movedEnd);
    } else {
      LineCursor again(text);
      while (again.next(line)) {
        if (!(found && line.data() == moved.data())) appendLine(out, line);
      }
    }
    const std::string newKey = key + "^";
    if (found) {
      appendLine(out, newKey);
      appendLine(out, withAnswer(moved, in.userPhrase));
    } else if (seekPrev && prevKey == key) {
      // The new key is itself the first line with that head.
      appendLine(out, withAnswer(newKey, in.userPhrase));
    } else {
      appendLine(out, newKey);
    }
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

void learn(FileStore& files, const LearningInput& in) {
  if (!in.filterHit && !learnPool(files, in)) return;
  learnKeyAndAnswer(files, in);
}

}  // namespace vb
