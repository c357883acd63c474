#include "engine/file_store.h"

#include "engine/line_split.h"

namespace vb {

std::shared_ptr<const std::string> FileStore::readText(std::string_view name) {
  return std::make_shared<const std::string>(joinLines(readLines(name)));
}

void FileStore::updateText(std::string_view name, const TextChange& change) {
  update(name, [&](Lines& lines) {
    auto changed = change(joinLines(lines));
    if (!changed) return false;
    lines = splitLinesCopy(*changed);
    return true;
  });
}

}  // namespace vb
