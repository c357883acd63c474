#include "session/config.h"

#include <limits>

#include "engine/failure.h"
#include "engine/text.h"

namespace vb {
namespace {

std::string_view nameOf(std::string_view line) {
  auto eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
}

}  // namespace

ConfigList ConfigList::load(FileStore& files) { return ConfigList(files.readLines(kConfigFile)); }

std::string ConfigList::value(int number) const {
  if (lines_.empty()) return {};
  if (number < 1 || static_cast<std::size_t>(number) > lines_.size()) {
    throw indexOutOfBounds(number - 1);
  }
  const std::string& line = lines_[static_cast<std::size_t>(number) - 1];
  auto eq = line.find('=');
  return eq == std::string::npos ? line : line.substr(eq + 1);
}

void ConfigList::storeAdres(const std::string& path) {
  std::size_t found = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    auto line = std::string_view(lines_[i]);
    if (line.find('=') != std::string_view::npos && equalsIgnoreCase(nameOf(line), "Adres")) {
      found = i;
      break;
    }
  }
  if (path.empty()) {
    if (found < lines_.size()) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(found));
    return;
  }
  std::string line = "Adres=" + path;
  if (found < lines_.size()) {
    lines_[found] = std::move(line);
  } else {
    lines_.push_back(std::move(line));
  }
}

void ConfigList::save(FileStore& files) const { files.writeLines(kConfigFile, lines_); }

std::int32_t parseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) throw notAnInteger(text);
  long long value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') throw notAnInteger(text);
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1) {
      throw notAnInteger(text);
    }
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) throw notAnInteger(text);
  return static_cast<std::int32_t>(value);
}

}  // namespace vb
