#include "engine/words_entry.h"

namespace vb {
namespace {

// Calls `visit(answer)` for each answer after `from` (each ended by ';')
// until it returns true; returns whether it did.
template <typename Visit>
bool forEachAnswer(std::string_view line, std::size_t from, const Visit& visit) {
  while (from < line.size()) {
    std::size_t end = line.find(';', from);
    if (end == std::string_view::npos) return false;
    std::string_view text = line.substr(from, end - from);
    Answer answer{text, {}};
    if (auto bar = text.find('|'); bar != std::string_view::npos) {
      answer.said = text.substr(0, bar);
      answer.delayed = text.substr(bar + 1);
    }
    if (visit(answer)) return true;
    from = end + 1;
  }
  return false;
}

}  // namespace

WordsEntry::WordsEntry(std::string_view line) : line_(line), caret_(line.find('^')) {
  if (!hasCaret()) return;
  while (depth_ < caret_ && line_[depth_] == '_') ++depth_;
}

int WordsEntry::usableAnswers() const {
  if (!hasCaret()) return 0;
  int n = 0;
  forEachAnswer(line_, caret_ + 1, [&](const Answer& a) {
    if (!a.said.empty()) ++n;
    return false;
  });
  return n;
}

Answer WordsEntry::usableAnswer(int index) const {
  Answer found;
  if (!hasCaret()) return found;
  forEachAnswer(line_, caret_ + 1, [&](const Answer& a) {
    if (a.said.empty()) return false;
    if (index-- == 0) {
      found = a;
      return true;
    }
    return false;
  });
  return found;
}

bool isBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace vb
