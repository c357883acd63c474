#include "session/program_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "engine/failure.h"
#include "engine/text.h"

namespace vb {
namespace {

namespace fs = std::filesystem;

// Messages are built in UTF-8 (paths on disk are UTF-8 too) and handed on
// in Windows-1251, like every text of the program.
Failure failure(const std::string& utf8) {
  return Failure(utf8To1251(utf8));
}

Failure folderFailure(const std::string& what, const fs::path& p, const std::error_code& ec) {
  std::string message = what + " " + p.string();
  if (ec) message += ": " + ec.message();
  return failure(message);
}

bool isDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

// The entry of `dir` spelt `name` up to letter case: the exact spelling
// first, else the bytewise smallest match (the choice the file store makes).
std::optional<std::string> entryIgnoringCase(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  if (fs::symlink_status(dir / name, ec).type() != fs::file_type::not_found && !ec) return name;
  std::optional<std::string> best;
  fs::directory_iterator it(dir, ec);
  if (ec) return std::nullopt;
  for (const auto& entry : it) {
    std::string entryName = entry.path().filename().string();
    if (!equalsIgnoreCase(entryName, name)) continue;
    if (!best || entryName < *best) best = entryName;
  }
  return best;
}

// Gives the owner write access to what was copied from a read-only
// install, so the program can learn into it.
void makeOwnerWritable(const fs::path& p, bool directory) {
  std::error_code ec;
  auto add = directory ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(p, add, fs::perm_options::add, ec);
}

// Copies one file under a temporary name beside `target`, then links it in
// place; link() never replaces, so a file that appeared meanwhile wins.
// Returns whether the file was placed.
bool placeFile(const fs::path& source, const fs::path& target) {
  std::error_code ec;
  fs::path temp = target.parent_path() / (".verbonik-copy-" + std::to_string(::getpid()) + "-" +
                                          target.filename().string());
  fs::remove(temp, ec);
  if (!fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(temp, ec);
    throw folderFailure("не удаётся скопировать файл", source, ec);
  }
  makeOwnerWritable(temp, false);
  bool placed = ::link(temp.c_str(), target.c_str()) == 0;
  if (!placed && errno != EEXIST && !fs::exists(target, ec)) {
    // A file system without hard links: rename, having looked just before.
    fs::rename(temp, target, ec);
    if (ec) {
      fs::remove(temp, ec);
      throw folderFailure("не удаётся создать файл", target, ec);
    }
    return true;
  }
  fs::remove(temp, ec);
  return placed;
}

int seedInto(const fs::path& from, const fs::path& to) {
  int placed = 0;
  std::error_code ec;
  std::vector<fs::directory_entry> entries;
  for (const auto& entry : fs::directory_iterator(from, ec)) entries.push_back(entry);
  if (ec) throw folderFailure("не удаётся прочесть папку", from, ec);
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.path() < b.path(); });
  for (const auto& entry : entries) {
    std::string name = entry.path().filename().string();
    auto existing = entryIgnoringCase(to, name);
    if (entry.is_directory(ec)) {
      fs::path sub = to / existing.value_or(name);
      if (!existing) {
        fs::create_directory(sub, ec);
        if (ec && !isDirectory(sub)) throw folderFailure("не удаётся создать папку", sub, ec);
        makeOwnerWritable(sub, true);
      } else if (!isDirectory(sub)) {
        continue;  // a file where the data has a folder: the user's, kept
      }
      placed += seedInto(entry.path(), sub);
    } else if (entry.is_regular_file(ec)) {
      if (existing) continue;
      if (placeFile(entry.path(), to / name)) ++placed;
    }
  }
  return placed;
}

}  // namespace

bool hasBaseFolder(const fs::path& dir) {
  auto entry = entryIgnoringCase(dir, "Base");
  return entry && isDirectory(dir / *entry);
}

fs::path perUserFolder(const FolderEnvironment& environment) {
  // Only an absolute XDG_DATA_HOME counts; a relative one is ignored.
  if (!environment.xdgDataHome.empty() && environment.xdgDataHome.front() == '/') {
    return fs::path(environment.xdgDataHome) / "verbonik";
  }
  if (!environment.home.empty()) {
    return fs::path(environment.home) / ".local" / "share" / "verbonik";
  }
  throw failure(
      "не заданы ни XDG_DATA_HOME, ни HOME: негде хранить данные программы "
      "(укажите папку: --dir ПАПКА)");
}

fs::path shippedDataBeside(const fs::path& executableDir) {
  return executableDir.parent_path() / "share" / "verbonik";
}

int seedFolder(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::create_directories(to, ec);
  if (!isDirectory(to)) throw folderFailure("не удаётся создать папку", to, ec);
  return seedInto(from, to);
}

ProgramFolder resolveProgramFolder(const FolderRequest& request) {
  if (request.givenDir) {
    if (!isDirectory(*request.givenDir)) {
      throw failure("папки " + request.givenDir->string() + " нет");
    }
    return {*request.givenDir, FolderKind::Given, 0};
  }
  if (!request.executableDir.empty() && hasBaseFolder(request.executableDir)) {
    return {request.executableDir, FolderKind::Portable, 0};
  }
  fs::path folder = perUserFolder(request.environment);
  fs::path shipped = request.shippedDataDir.value_or(shippedDataBeside(request.executableDir));
  int copied = 0;
  if (isDirectory(shipped)) {
    copied = seedFolder(shipped, folder);
  } else if (!hasBaseFolder(folder)) {
    throw failure("нет базы знаний: папки Base нет ни в " + folder.string() + ", ни рядом с " +
                  "программой (" + request.executableDir.string() + "), а поставляемых данных (" +
                  shipped.string() + ") нет");
  }
  if (!hasBaseFolder(folder)) {
    throw failure("в поставляемых данных (" + shipped.string() + ") нет папки Base");
  }
  return {folder, FolderKind::PerUser, copied};
}

fs::path executableFolder(const char* argv0) {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec || self.empty()) {
    self = fs::absolute(argv0 ? fs::path(argv0) : fs::path(), ec);
    self = fs::weakly_canonical(self, ec);
  }
  return self.parent_path();
}

FolderEnvironment processEnvironment() {
  auto get = [](const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
  };
  return {get("XDG_DATA_HOME"), get("HOME")};
}

}  // namespace vb
