#pragma once
// The program's folder on disk. Names are spelt the way the program spells
// them ("Base\Words.Dat"): a backslash (or a slash) separates the parts,
// and each part is matched to the real directory entry without regard to
// Windows-1251 letter case, an exact match first. So "Base\Words.Dat",
// "Base\Words.dat" and a file base/WORDS.DAT are one file.
//
// Writes never tear a file: the new bytes go to a temporary file in the
// same folder, which is flushed to disk and then renamed over the old file
// (the folder is flushed too). Every write and every read-modify-write holds
// an exclusive advisory lock (flock) on the file's folder, so two programs
// sharing the folder never lose each other's lines. Plain reads take no
// lock: a rename replaces a file whole, so a reader sees the old or the new
// bytes, never a mixture. A store serves one thread.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/file_store.h"

namespace vb {

class DiskFileStore : public FileStore {
 public:
  // `durable` false skips the flushes to disk (tests, benchmarks): the
  // replace by rename stays, only a power loss could undo a write then.
  explicit DiskFileStore(std::filesystem::path root, bool durable = true);

  Lines readLines(std::string_view name) override;
  void writeLines(std::string_view name, const Lines& lines) override;
  void update(std::string_view name, const std::function<bool(Lines&)>& change) override;
  std::shared_ptr<const std::string> readText(std::string_view name) override;
  void checkReadable(std::string_view name) override;
  void updateText(std::string_view name, const TextChange& change) override;

  std::optional<FileStamp> stamp(std::string_view name) override;
  StampedText readStamped(std::string_view name) override;
  std::optional<FileStamp> updateStamped(std::string_view name,
                                         const StampedChange& change) override;

  // Writes `bytes` as they are over the file (creating it if missing).
  void writeText(std::string_view name, std::string_view bytes);

  // At start: removes the temporary files that writers killed before their
  // rename left in Base and in the program's folder, each folder under its
  // lock, never one of a writer still running. Returns how many.
  int removeStaleTemporaries();

  // Where `name` lies on disk, when it exists.
  std::optional<std::filesystem::path> locate(std::string_view name) const;

  const std::filesystem::path& root() const { return root_; }
  // How many times a file's bytes were read from disk (reads that an
  // unchanged snapshot made unnecessary are not counted).
  unsigned long long diskReads() const { return diskReads_; }
  bool durable() const { return durable_; }
  void setDurable(bool durable) { durable_ = durable; }

 protected:
  // Writes all of `bytes` to the temporary file `fd`; false on failure.
  // Overridden by tests to fail on purpose.
  virtual bool writeAll(int fd, std::string_view bytes);
  // What the store sees of a file's metadata, and its clock: the coarse
  // real-time clock that file times are taken from. Overridden by tests
  // to act as a file system that keeps whole seconds.
  virtual void observe(struct stat& st) const;
  virtual std::int64_t clockNs() const;

 private:
  // A name taken apart: the folder it is in and the entry within it (the
  // real entry when the file exists, else the last part as spelt).
  struct Target {
    std::filesystem::path dir;
    std::string entry;
    bool exists = false;
    std::filesystem::path path() const { return dir / entry; }
  };
  // The bytes last read from a file and their stamp, so that a
  // read-modify-write right after a read of an unchanged file does not read
  // it again: the bytes are reused only while someone still holds them and
  // the file's stamp is the same and settled (see FileStamp).
  struct Snapshot {
    FileStamp stamp;
    std::weak_ptr<const std::string> bytes;
  };

  std::optional<Target> resolve(std::string_view name) const;
  std::shared_ptr<const std::string> load(const Target& target, std::string_view name, bool reuse);
  // The stamp of a file just read through `fd` (`read` bytes, `before` its
  // status at the start), or nothing when it changed meanwhile.
  std::optional<FileStamp> stampAfterRead(int fd, const struct stat& before, std::size_t read,
                                          std::int64_t seen) const;
  // Returns the stamp of the file written, when nothing else touched it
  // between the write and the look.
  std::optional<FileStamp> replace(const Target& target, std::string_view name,
                                   const TextPieces& bytes);
  FileStamp stampOf(struct stat st, std::int64_t seenNs) const;
  template <typename Body>
  void underLock(std::string_view name, const Body& body);

  std::filesystem::path root_;
  bool durable_;
  unsigned long long tempCounter_ = 0;
  unsigned long long diskReads_ = 0;
  std::map<std::string, Snapshot> snapshots_;
  // Names whose every part is spelt as on disk, and their paths.
  std::map<std::string, std::filesystem::path, std::less<>> exactPaths_;
};

}  // namespace vb
