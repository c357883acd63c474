#include "folder_bytes.h"

#include <fstream>
#include <iterator>

#include "engine/line_split.h"
#include "engine/text.h"

namespace vb::robust {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

FolderBytes readFolder(const fs::path& dir, bool withTemps) {
  FolderBytes files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || (!withTemps && isStoreTemp(name))) continue;
    files[name] = readBytes(entry.path());
  }
  return files;
}

void writeFolder(const fs::path& dir, const FolderBytes& files) {
  fs::create_directories(dir);
  for (const auto& [name, bytes] : files) writeBytes(dir / name, bytes);
}

bool isStoreTemp(std::string_view entry) {
  if (!entry.starts_with(".vb") || !entry.ends_with(".tmp")) return false;
  entry = entry.substr(3, entry.size() - 7);
  const auto dash = entry.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash + 1 == entry.size()) return false;
  for (std::size_t i = 0; i < entry.size(); ++i) {
    if (i != dash && (entry[i] < '0' || entry[i] > '9')) return false;
  }
  return true;
}

int countStoreTemps(const fs::path& dir) {
  int n = 0;
  for (const auto& entry : fs::directory_iterator(dir))
    n += isStoreTemp(entry.path().filename().string());
  return n;
}

std::string malformation(std::string_view entry, std::string_view bytes) {
  if (bytes.empty()) return "empty";
  if (!isJoinedForm(bytes)) return "a line not ended by CR LF";
  if (equalsIgnoreCase(entry, "Words.Dat")) {
    LineCursor cursor(bytes);
    std::string_view line;
    while (cursor.next(line)) {
      if (line.find('^') == std::string_view::npos)
        return "a line without '^': " + std::string(line.substr(0, 60));
    }
  }
  return {};
}

std::size_t lineCount(std::string_view bytes) {
  return countLines(bytes);
}

}  // namespace vb::robust
