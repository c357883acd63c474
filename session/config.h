#pragma once
// Config.ini as the configuration list: read once at start, lines taken by
// position (from 1), the value of a line being all the text after its first
// '='. Only the editor's OK writes it back, after storing the path `Adres`.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/file_store.h"

namespace vb {

inline constexpr std::string_view kConfigFile = "Config.ini";

class ConfigList {
 public:
  ConfigList() = default;
  explicit ConfigList(Lines lines) : lines_(std::move(lines)) {}

  // Throws Failure "Cannot open file Config.ini".
  static ConfigList load(FileStore& files);

  const Lines& lines() const { return lines_; }

  // The value of line `number` (from 1). An empty list gives "" for every
  // line; a line past the end of a non-empty list throws
  // "List index out of bounds (number - 1)".
  std::string value(int number) const;

  // Sets the first line named Adres (any letter case) to "Adres=" + path,
  // appending one if there is none; an empty path deletes that line.
  void storeAdres(const std::string& path);

  // Writes the whole list over Config.ini; throws "Cannot create file
  // Config.ini" and leaves the file as it was.
  void save(FileStore& files) const;

 private:
  Lines lines_;
};

// An optionally signed decimal 32-bit integer with optional leading blanks
// and nothing after the digits; throws "'<text>' is not a valid integer value".
std::int32_t parseInteger(std::string_view text);

}  // namespace vb
