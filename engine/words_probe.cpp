#include "engine/words_probe.h"

#include "engine/line_split.h"

namespace vb {

void WordsProbe::walk(std::string_view walked) {
  LineCursor cursor(walked);
  std::string_view line;
  while (cursor.next(line)) see(walked, line, cursor);
}

}  // namespace vb
