#include "engine/knowledge_files.h"

#include "engine/failure.h"
#include "engine/line_split.h"

namespace vb {

DrawnLine drawLine(FileStore& files, std::string_view name, RandomSource& random) {
  DrawnLine drawn;
  drawn.text = files.readText(name);
  const auto count = countLines(*drawn.text);
  const int index = random.random(static_cast<int>(count));
  if (count == 0) throw indexOutOfBounds(index);
  drawn.line = std::string(lineAt(*drawn.text, static_cast<std::size_t>(index)));
  drawn.index = index;
  return drawn;
}

}  // namespace vb
