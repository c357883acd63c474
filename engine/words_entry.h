#pragma once
// One line of Base\Words.Dat taken apart, without copying:
//
//   ___KEY^answer;answer|delayed part;@
//
// depth marks ('_'), the key up to the first '^', answers each ended by
// ';' (an answer may hold a '|' before its delayed part), and an optional
// closing mark '@' as the last character.

#include <cstddef>
#include <string_view>

namespace vb {

struct Answer {
  std::string_view said;     // up to the ';' or the first '|'
  std::string_view delayed;  // between that '|' and the ';' (empty without '|')
};

class WordsEntry {
 public:
  explicit WordsEntry(std::string_view line);

  std::string_view line() const { return line_; }
  // A line without '^' holds no entry at all; the search passes it over.
  bool hasCaret() const { return caret_ != std::string_view::npos; }
  // The number of leading '_' (0: a main phrase).
  std::size_t depth() const { return depth_; }
  // The text before the first '^', depth marks included.
  std::string_view head() const { return line_.substr(0, caret_); }
  // The key proper: the head without its depth marks.
  std::string_view key() const { return head().substr(depth_); }
  // "KEY^": a key still waiting for its first answer.
  bool awaitingAnswers() const { return hasCaret() && caret_ + 1 == line_.size(); }
  bool closing() const { return !line_.empty() && line_.back() == '@'; }

  // Answers that can be said: those whose said part is not empty. Empty
  // answers (";;", "^;", ";|later;") and text after the last ';' are never
  // drawn, so a line whose answers are all empty is passed over.
  int usableAnswers() const;
  // The usable answer number `index` (from 0), in line order.
  Answer usableAnswer(int index) const;

 private:
  std::string_view line_;
  std::size_t caret_;
  std::size_t depth_ = 0;
};

// No character other than a space: such a key or word never matches.
bool isBlank(std::string_view text);

}  // namespace vb
