#pragma once
// What learning needs to know of Words.Dat: whether a line has the new key
// as its head, which line first has the previous answer's key form as its
// head, and whether every line already ends with CR LF. The search walks
// the whole file for an unknown phrase anyway and fills this in on the way,
// so that learning, finding the file unchanged under its lock, need not
// walk it again.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "engine/line_split.h"

namespace vb {

// The line's text before its first '^' is exactly `head`.
inline bool headIs(std::string_view line, std::string_view head) {
  return line.size() > head.size() && line[head.size()] == '^' &&
         line.compare(0, head.size(), head) == 0;
}

struct WordsProbe {
  // What is looked for; an empty text is never looked for.
  std::string key;
  std::string prevKey;

  // The bytes to be walked, held so that no other text can take their
  // place in memory while the notes are kept.
  std::shared_ptr<const std::string> text;

  // What was found; it holds for `text` when `complete` is set.
  bool complete = false;
  bool joined = true;
  bool keySeen = false;
  bool prevFound = false;
  std::size_t prevStart = 0;  // the previous answer's line
  std::size_t prevLength = 0;
  std::size_t prevEnd = 0;  // past its line end

  // Notes the line the cursor has just returned.
  void see(std::string_view walked, std::string_view line, const LineCursor& cursor) {
    joined = joined && cursor.endedByCrLf();
    if (!key.empty() && !keySeen && headIs(line, key)) keySeen = true;
    if (!prevKey.empty() && !prevFound && headIs(line, prevKey)) {
      prevFound = true;
      prevStart = static_cast<std::size_t>(line.data() - walked.data());
      prevLength = line.size();
      prevEnd = cursor.offset();
    }
  }
  // The walk of `walked` saw every line; the notes hold if it was `text`.
  void finish(std::string_view walked) {
    complete = text && text->data() == walked.data() && text->size() == walked.size();
  }
  // Walks the whole of `walked`, for notes that are used at once.
  void walk(std::string_view walked);
  bool holdsFor(std::string_view bytes) const {
    return complete && text->data() == bytes.data() && text->size() == bytes.size();
  }
};

}  // namespace vb
