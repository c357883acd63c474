#include "engine/words_probe.h"

#include "engine/line_split.h"

namespace vb {

void WordsProbe::see(std::string_view text, std::string_view line, const LineCursor& cursor) {
  joined = joined && cursor.endedByCrLf();
  if (!key.empty() && !keySeen && headIs(line, key)) keySeen = true;
  if (!prevKey.empty() && !prevFound && headIs(line, prevKey)) {
    prevFound = true;
    prevStart = static_cast<std::size_t>(line.data() - text.data());
    prevLength = line.size();
    prevEnd = cursor.offset();
  }
}

void WordsProbe::walk(std::string_view walked) {
  LineCursor cursor(walked);
  std::string_view line;
  while (cursor.next(line)) see(walked, line, cursor);
}

}  // namespace vb
