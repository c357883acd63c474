#include "engine/temp_files.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <vector>

namespace vb {
namespace {

constexpr std::string_view kPrefix = ".vb";
constexpr std::string_view kSuffix = ".tmp";

bool allDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool processExists(pid_t pid) {
  // EPERM: it exists but belongs to another user.
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

std::string tempFileName(pid_t writer, unsigned long long n) {
  return std::string(kPrefix) + std::to_string(writer) + "-" + std::to_string(n) +
         std::string(kSuffix);
}

std::optional<pid_t> tempFileWriter(std::string_view entry) {
  if (!entry.starts_with(kPrefix) || !entry.ends_with(kSuffix)) return std::nullopt;
  entry.remove_prefix(kPrefix.size());
  entry.remove_suffix(kSuffix.size());
  const auto dash = entry.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const std::string_view pid = entry.substr(0, dash);
  if (!allDigits(pid) || !allDigits(entry.substr(dash + 1))) return std::nullopt;
  pid_t value = 0;
  auto [end, ec] = std::from_chars(pid.data(), pid.data() + pid.size(), value);
  if (ec != std::errc() || end != pid.data() + pid.size() || value <= 0) return std::nullopt;
  return value;
}

int removeOrphanedTempFiles(const std::filesystem::path& dir) {
  std::vector<std::string> orphans;
  if (DIR* d = ::opendir(dir.c_str())) {
    const pid_t self = ::getpid();
    while (const dirent* e = ::readdir(d)) {
      const auto writer = tempFileWriter(e->d_name);
      if (writer && (*writer == self || !processExists(*writer))) orphans.emplace_back(e->d_name);
    }
    ::closedir(d);
  }
  int removed = 0;
  for (const auto& name : orphans) {
    if (::unlink((dir / name).c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace vb
