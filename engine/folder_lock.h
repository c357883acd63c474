#pragma once
// An exclusive advisory lock (flock) on a folder, held for as long as the
// object lives. Every program writing files of the folder through the disk
// store takes it, so a holder knows that no temporary file in it belongs to
// a write under way. A folder that cannot be locked (a file system without
// flock) is used unlocked.

#include <filesystem>

namespace vb {

class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& dir);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
};

}  // namespace vb
