#include "engine/disk_file_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "engine/failure.h"
#include "engine/folder_lock.h"
#include "engine/line_split.h"
#include "engine/temp_files.h"
#include "engine/text.h"

namespace vb {
namespace {

namespace fs = std::filesystem;

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

std::vector<std::string_view> nameParts(std::string_view name) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || isSeparator(name[i])) {
      if (i > start) parts.push_back(name.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

bool statPath(const fs::path& p, struct stat& st) {
  return ::stat(p.c_str(), &st) == 0;
}

// The entry of `dir` that `part` names: the exact spelling if it exists,
// else the bytewise smallest entry equal to it ignoring letter case.
std::optional<std::string> matchEntry(const fs::path& dir, std::string_view part, bool wantDir) {
  struct stat st {};
  if (part == "." || part == "..") return std::string(part);
  if (::lstat((dir / std::string(part)).c_str(), &st) == 0) {
    if (!wantDir || (statPath(dir / std::string(part), st) && S_ISDIR(st.st_mode))) {
      return std::string(part);
    }
  }
  DIR* d = ::opendir(dir.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* e = ::readdir(d)) {
    std::string_view entry(e->d_name);
    if (entry == "." || entry == ".." || !equalsIgnoreCase(entry, part)) continue;
    if (wantDir && !(statPath(dir / std::string(entry), st) && S_ISDIR(st.st_mode))) continue;
    if (!best || entry < *best) best = std::string(entry);
  }
  ::closedir(d);
  return best;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(Fd&& o) noexcept : fd_(o.release()) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// `path` opened for reading, with its status in `st`; throws as a read of
// `name` fails when it cannot be opened or is a folder.
Fd openToRead(const fs::path& path, std::string_view name, struct stat& st) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) throw cannotOpen(name);
  return fd;
}

// read(), tried again when a signal interrupts it; -1 when it fails.
ssize_t readSome(int fd, char* to, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, to, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace

DiskFileStore::DiskFileStore(std::filesystem::path root, bool durable)
    : root_(std::move(root)), durable_(durable) {}

std::optional<DiskFileStore::Target> DiskFileStore::resolve(std::string_view name) const {
  auto parts = nameParts(name);
  if (parts.empty()) return std::nullopt;
  fs::path dir = (!name.empty() && name.front() == '/') ? fs::path("/") : root_;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    auto entry = matchEntry(dir, parts[i], true);
    if (!entry) return std::nullopt;
    dir /= *entry;
  }
  Target target;
  target.dir = std::move(dir);
  if (auto entry = matchEntry(target.dir, parts.back(), false)) {
    target.entry = std::move(*entry);
    target.exists = true;
  } else {
    target.entry = std::string(parts.back());
  }
  return target;
}

std::optional<std::filesystem::path> DiskFileStore::locate(std::string_view name) const {
  auto target = resolve(name);
  if (!target || !target->exists) return std::nullopt;
  return target->path();
}

template <typename Body>
void DiskFileStore::underLock(std::string_view name, const Body& body) {
  auto target = resolve(name);
  if (!target) throw cannotOpen(name);
  FolderLock lock(target->dir);
  // The folder may have changed while we waited for the lock.
  body(resolve(name).value_or(*target));
}

void DiskFileStore::observe(struct stat&) const {}

std::int64_t DiskFileStore::clockNs() const {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

FileStamp DiskFileStore::stampOf(struct stat st, std::int64_t seenNs) const {
  observe(st);
  auto ns = [](const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
  };
  FileStamp stamp;
  stamp.dev = static_cast<std::uint64_t>(st.st_dev);
  stamp.ino = static_cast<std::uint64_t>(st.st_ino);
  stamp.size = static_cast<std::int64_t>(st.st_size);
  stamp.mtimeNs = ns(st.st_mtim);
  stamp.ctimeNs = ns(st.st_ctim);
  stamp.seenNs = seenNs;
  return stamp;
}

std::shared_ptr<const std::string> DiskFileStore::load(const Target& target, std::string_view name,
                                                       bool reuse) {
  if (!target.exists) throw cannotOpen(name);
  const fs::path path = target.path();
  const std::string key = path.string();
  struct stat before {};
  if (reuse) {
    auto it = snapshots_.find(key);
    if (it != snapshots_.end() && statPath(path, before)) {
      const Snapshot& s = it->second;
      if (s.stamp.settled() && s.stamp.sameFile(stampOf(before, 0))) {
        if (auto bytes = s.bytes.lock()) return bytes;
      }
    }
  }
  ++diskReads_;
  const std::int64_t seen = clockNs();
  const Fd fd = openToRead(path, name, before);
  // The size the file has now, then whatever it grew by meanwhile; the
  // string is not made larger than needed, since the bytes may be kept.
  std::string bytes;
  bytes.resize(static_cast<std::size_t>(before.st_size));
  std::size_t have = 0;
  char more[4096];
  for (;;) {
    const bool full = have == bytes.size();
    const ssize_t got = full ? readSome(fd.get(), more, sizeof more)
                             : readSome(fd.get(), bytes.data() + have, bytes.size() - have);
    if (got < 0) throw cannotOpen(name);
    if (got == 0) break;
    if (full) bytes.append(more, static_cast<std::size_t>(got));
    have += static_cast<std::size_t>(got);
  }
  bytes.resize(have);
  auto shared = std::make_shared<const std::string>(std::move(bytes));
  if (auto stamp = stampAfterRead(fd.get(), before, have, seen)) {
    snapshots_[key] = Snapshot{*stamp, shared};
  } else {
    snapshots_.erase(key);
  }
  return shared;
}

std::optional<FileStamp> DiskFileStore::stampAfterRead(int fd, const struct stat& before,
                                                       std::size_t read, std::int64_t seen) const {
  struct stat after {};
  if (::fstat(fd, &after) == 0 && sameFile(before, after) &&
      static_cast<std::size_t>(after.st_size) == read) {
    return stampOf(after, seen);
  }
  return std::nullopt;
}

bool DiskFileStore::writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

std::optional<FileStamp> DiskFileStore::replace(const Target& target, std::string_view name,
                                                const TextPieces& bytes) {
  fs::path dir = target.dir;
  std::string entry = target.entry;
  struct stat old {};
  bool hadFile = false;
  if (target.exists && ::lstat(target.path().c_str(), &old) == 0) {
    if (S_ISLNK(old.st_mode)) {
      // Replace what the link points at, and keep the link.
      std::error_code ec;
      fs::path real = fs::weakly_canonical(target.path(), ec);
      if (!ec) {
        dir = real.parent_path();
        entry = real.filename().string();
      }
    }
    hadFile = statPath(dir / entry, old);
  }

  Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() < 0) throw cannotCreate(name);

  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = tempFileName(::getpid(), ++tempCounter_);
    fd = ::openat(dirFd.get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw cannotCreate(name);

  Fd file(fd);
  if (hadFile) (void)::fchmod(file.get(), old.st_mode & 07777);
  bool ok = true;
  for (auto piece : bytes.pieces()) ok = ok && writeAll(file.get(), piece);
  if (ok && durable_) ok = ::fsync(file.get()) == 0;
  struct stat written {};
  const bool known = ok && ::fstat(file.get(), &written) == 0;
  ok = (::close(file.release()) == 0) && ok;
  const std::int64_t seen = clockNs();
  if (ok) ok = ::renameat(dirFd.get(), temp.c_str(), dirFd.get(), entry.c_str()) == 0;
  if (!ok) {
    ::unlinkat(dirFd.get(), temp.c_str(), 0);
    throw cannotCreate(name);
  }
  if (durable_) (void)::fsync(dirFd.get());
  // The renamed file, if it is still the one written: same inode, size and
  // modification time (the rename itself moves its change time on).
  struct stat now {};
  if (!known || ::fstatat(dirFd.get(), entry.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
      now.st_ino != written.st_ino || now.st_dev != written.st_dev ||
      now.st_size != written.st_size || now.st_mtim.tv_sec != written.st_mtim.tv_sec ||
      now.st_mtim.tv_nsec != written.st_mtim.tv_nsec) {
    return std::nullopt;
  }
  return stampOf(now, seen);
}

int DiskFileStore::removeStaleTemporaries() {
  int removed = 0;
  for (std::string_view folder : {"Base", "."}) {
    auto dir = locate(folder);
    std::error_code ec;
    if (!dir || !fs::is_directory(*dir, ec)) continue;
    FolderLock lock(*dir);
    removed += removeOrphanedTempFiles(*dir);
  }
  return removed;
}

std::shared_ptr<const std::string> DiskFileStore::readText(std::string_view name) {
  auto target = resolve(name);
  if (!target) throw cannotOpen(name);
  return load(*target, name, false);
}

void DiskFileStore::checkReadable(std::string_view name) {
  auto target = resolve(name);
  if (!target || !target->exists) throw cannotOpen(name);
  struct stat st {};
  const Fd fd = openToRead(target->path(), name, st);
  char first = 0;
  if (readSome(fd.get(), &first, 1) < 0) throw cannotOpen(name);
}

Lines DiskFileStore::readLines(std::string_view name) {
  return splitLinesCopy(*readText(name));
}

std::optional<FileStamp> DiskFileStore::stamp(std::string_view name) {
  // Asked at every turn: a name found spelt exactly as on disk resolves to
  // the same path for as long as a file is there, so one look does.
  const std::int64_t seen = clockNs();
  struct stat st {};
  if (auto it = exactPaths_.find(name); it != exactPaths_.end()) {
    if (statPath(it->second, st) && !S_ISDIR(st.st_mode)) return stampOf(st, seen);
    exactPaths_.erase(it);
  }
  auto target = resolve(name);
  if (!target || !target->exists) return std::nullopt;
  if (!statPath(target->path(), st) || S_ISDIR(st.st_mode)) return std::nullopt;
  fs::path spelt = (!name.empty() && name.front() == '/') ? fs::path("/") : root_;
  for (auto part : nameParts(name)) spelt /= std::string(part);
  if (spelt == target->path()) exactPaths_.emplace(std::string(name), std::move(spelt));
  return stampOf(st, seen);
}

FileStore::StampedText DiskFileStore::readStamped(std::string_view name) {
  auto target = resolve(name);
  if (!target || !target->exists) throw cannotOpen(name);
  // As load() reads, into memory that is not zero-filled first (the file
  // may be large: this is the read of a base that is then indexed).
  ++diskReads_;
  const std::int64_t seen = clockNs();
  struct stat before {};
  const Fd fd = openToRead(target->path(), name, before);
  auto bytes = std::make_shared<FileBytes>();
  PagedArray<char>& array = bytes->array();
  // One byte to spare, so that a read at the end tells the file did not grow.
  array.reserve(static_cast<std::size_t>(before.st_size) + 1);
  std::size_t have = 0;
  for (;;) {
    if (have == array.capacity()) array.reserve(2 * array.capacity());
    const ssize_t got = readSome(fd.get(), array.data() + have, array.capacity() - have);
    if (got < 0) throw cannotOpen(name);
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  array.resizeUninitialised(have);
  StampedText out;
  out.stamp = stampAfterRead(fd.get(), before, have, seen);
  out.bytes = std::move(bytes);
  return out;
}

std::optional<FileStamp> DiskFileStore::updateStamped(std::string_view name,
                                                      const StampedChange& change) {
  std::optional<FileStamp> written;
  underLock(name, [&](const Target& target) {
    std::optional<FileStamp> now;
    struct stat st {};
    const std::int64_t seen = clockNs();
    if (target.exists && statPath(target.path(), st) && !S_ISDIR(st.st_mode)) {
      now = stampOf(st, seen);
    }
    if (auto bytes = change(now)) {
      written = replace(target, name, *bytes);
      // Not read back, so no snapshot holds for the new file.
      snapshots_.erase(target.path().string());
    }
  });
  return written;
}

void DiskFileStore::writeText(std::string_view name, std::string_view bytes) {
  auto target = resolve(name);
  if (!target) throw cannotCreate(name);
  FolderLock lock(target->dir);
  replace(resolve(name).value_or(*target), name, TextPieces().view(bytes));
}

void DiskFileStore::writeLines(std::string_view name, const Lines& lines) {
  writeText(name, joinLines(lines));
}

void DiskFileStore::update(std::string_view name, const std::function<bool(Lines&)>& change) {
  underLock(name, [&](const Target& target) {
    Lines lines = splitLinesCopy(*load(target, name, true));
    if (change(lines)) replace(target, name, TextPieces(joinLines(lines)));
  });
}

void DiskFileStore::updateText(std::string_view name, const TextChange& change) {
  underLock(name, [&](const Target& target) {
    auto bytes = load(target, name, true);
    if (auto changed = change(*bytes)) replace(target, name, *changed);
  });
}

}  // namespace vb
