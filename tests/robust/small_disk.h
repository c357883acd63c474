#pragma once
// A real small file system for fault tests: a tmpfs of a few kilobytes
// mounted on a fresh folder (where the test may mount: as root, with the
// right to), filled up or made read-only on demand, unmounted at the end.

#include <filesystem>
#include <string>

namespace vb::robust {

class SmallDisk {
 public:
  explicit SmallDisk(std::size_t kilobytes = 64);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  // Whether the mount worked; else why not.
  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }
  const std::filesystem::path& path() const { return path_; }

  // Fills the free space with a ballast file / removes it again.
  void fill();
  void unfill();
  // Remounts read-only or read-write; false when refused.
  bool setReadOnly(bool readOnly);

 private:
  std::filesystem::path path_;
  std::string options_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace vb::robust
