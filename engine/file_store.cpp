#include "engine/file_store.h"

#include "engine/line_split.h"

namespace vb {

std::shared_ptr<const std::string> FileStore::readText(std::string_view name) {
  return std::make_shared<const std::string>(joinLines(readLines(name)));
}

void FileStore::checkReadable(std::string_view name) {
  readText(name);
}

void FileStore::updateText(std::string_view name, const TextChange& change) {
  update(name, [&](Lines& lines) {
    const std::string bytes = joinLines(lines);
    auto changed = change(bytes);
    if (!changed) return false;
    lines = splitLinesCopy(changed->joined());
    return true;
  });
}

std::optional<FileStamp> FileStore::stamp(std::string_view) {
  return std::nullopt;
}

FileStore::StampedText FileStore::readStamped(std::string_view name) {
  return {std::make_shared<const FileBytes>(*readText(name)), std::nullopt};
}

std::optional<FileStamp> FileStore::updateStamped(std::string_view, const StampedChange&) {
  return std::nullopt;
}

}  // namespace vb
