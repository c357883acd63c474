#pragma once
// A program folder in memory for the fuzz targets: files as bytes by name,
// matched without regard to letter case, so that the engine's byte paths
// (readText, updateText) see exactly the bytes the input gave, line ends
// and all.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "engine/file_store.h"

namespace vb::fuzz {

class MemoryStore final : public FileStore {
 public:
  void put(std::string_view name, std::string bytes);
  const std::string* find(std::string_view name) const;

  Lines readLines(std::string_view name) override;
  void writeLines(std::string_view name, const Lines& lines) override;
  void update(std::string_view name, const std::function<bool(Lines&)>& change) override;
  std::shared_ptr<const std::string> readText(std::string_view name) override;
  void updateText(std::string_view name, const TextChange& change) override;

  // Stamps, when asked for at construction: every write makes a new file
  // (a new "inode"), and every stamp is settled.
  explicit MemoryStore(bool stamps = false) : stamps_(stamps) {}
  std::optional<FileStamp> stamp(std::string_view name) override;
  StampedText readStamped(std::string_view name) override;
  std::optional<FileStamp> updateStamped(std::string_view name,
                                         const StampedChange& change) override;

  // Names written since the store was made (upper-cased).
  const std::map<std::string, int>& written() const { return written_; }

 private:
  static std::string key(std::string_view name);
  std::map<std::string, std::shared_ptr<const std::string>> files_;
  std::map<std::string, int> written_;
  std::map<std::string, std::uint64_t> versions_;
  std::uint64_t nextVersion_ = 1;
  bool stamps_ = false;
};

}  // namespace vb::fuzz
