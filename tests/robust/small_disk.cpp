#include "small_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vb::robust {

namespace fs = std::filesystem;

SmallDisk::SmallDisk(std::size_t kilobytes) : options_("size=" + std::to_string(kilobytes) + "k") {
  std::string pattern = (fs::temp_directory_path() / "vb-small-disk-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    why_ = std::strerror(errno);
    return;
  }
  path_ = pattern;
  if (::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options_.c_str()) != 0) {
    why_ = std::string("mount: ") + std::strerror(errno);
    return;
  }
  mounted_ = true;
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  std::error_code ec;
  if (!path_.empty()) fs::remove(path_, ec);
}

void SmallDisk::fill() {
  const int fd = ::open((path_ / "ballast").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd < 0) return;
  std::vector<char> block(4096, 'b');
  while (::write(fd, block.data(), block.size()) > 0) {
  }
  // Whatever is left is less than a page: one byte more does not fit.
  while (::write(fd, block.data(), 1) > 0) {
  }
  ::close(fd);
}

void SmallDisk::unfill() {
  ::unlink((path_ / "ballast").c_str());
}

bool SmallDisk::setReadOnly(bool readOnly) {
  const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
  return ::mount("tmpfs", path_.c_str(), "tmpfs", flags, options_.c_str()) == 0;
}

}  // namespace vb::robust
