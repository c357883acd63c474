#include "memory_store.h"

#include <type_traits>

#include "engine/failure.h"
#include "engine/line_split.h"
#include "engine/text.h"

namespace vb::fuzz {

std::string MemoryStore::key(std::string_view name) {
  return upper1251(name);
}

void MemoryStore::put(std::string_view name, std::string bytes) {
  files_[key(name)] = std::make_shared<const std::string>(std::move(bytes));
  versions_[key(name)] = nextVersion_++;
}

std::optional<FileStamp> MemoryStore::stamp(std::string_view name) {
  auto it = files_.find(key(name));
  if (!stamps_ || it == files_.end()) return std::nullopt;
  FileStamp stamp;
  stamp.ino = versions_[key(name)];
  stamp.size = static_cast<std::int64_t>(it->second->size());
  stamp.seenNs = std::int64_t{1} << 40;
  return stamp;
}

FileStore::StampedText MemoryStore::readStamped(std::string_view name) {
  auto bytes = readText(name);
  return {std::make_shared<const FileBytes>(*bytes), stamp(name)};
}

std::optional<FileStamp> MemoryStore::updateStamped(std::string_view name,
                                                    const StampedChange& change) {
  auto held = files_.count(key(name)) ? readText(name) : nullptr;
  auto changed = change(stamp(name));
  if (!changed) return std::nullopt;
  put(name, changed->joined());
  ++written_[key(name)];
  return stamp(name);
}

const std::string* MemoryStore::find(std::string_view name) const {
  auto it = files_.find(key(name));
  return it == files_.end() ? nullptr : it->second.get();
}

std::shared_ptr<const std::string> MemoryStore::readText(std::string_view name) {
  auto it = files_.find(key(name));
  if (it == files_.end()) throw cannotOpen(name);
  return it->second;
}

Lines MemoryStore::readLines(std::string_view name) {
  return splitLinesCopy(*readText(name));
}

void MemoryStore::writeLines(std::string_view name, const Lines& lines) {
  put(name, joinLines(lines));
  ++written_[key(name)];
}

void MemoryStore::update(std::string_view name, const std::function<bool(Lines&)>& change) {
  Lines lines = readLines(name);
  if (change(lines)) writeLines(name, lines);
}

namespace {

// The new bytes a change gives, whether as one string or as pieces.
template <typename Bytes>
std::string bytesOf(const Bytes& bytes) {
  if constexpr (std::is_convertible_v<Bytes, std::string>) {
    return std::string(bytes);
  } else {
    return bytes.joined();
  }
}

}  // namespace

void MemoryStore::updateText(std::string_view name, const TextChange& change) {
  auto text = readText(name);  // held: the new bytes may be views of it
  if (auto changed = change(*text)) {
    put(name, bytesOf(*changed));
    ++written_[key(name)];
  }
}

}  // namespace vb::fuzz
