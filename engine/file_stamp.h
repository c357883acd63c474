#pragma once
// What the file system tells of a file without reading it: device, inode,
// size, modification and change times, and when the store looked. Two equal
// stamps say the file was not replaced or written in between, unless it
// was written within the timestamps' resolution of the moment its bytes
// were last known ("racily clean", as version-control tools call it).

#include <cstdint>

namespace vb {

struct FileStamp {
  std::uint64_t dev = 0;
  std::uint64_t ino = 0;
  std::int64_t size = 0;
  std::int64_t mtimeNs = 0;
  std::int64_t ctimeNs = 0;
  // The store's clock (the coarse one that timestamps come from) before the
  // look that gave the bytes this stamp stands for.
  std::int64_t seenNs = 0;

  bool sameFile(const FileStamp& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtimeNs == o.mtimeNs &&
           ctimeNs == o.ctimeNs;
  }

  // Whether a later change of the file must give it another stamp: the
  // clock had passed its last change by more than the timestamps'
  // resolution when its bytes were known. A file system that keeps whole
  // seconds (both times without a fraction) gets two seconds; one that
  // keeps nanoseconds takes its times from a clock that ticks in a few
  // milliseconds.
  bool settled() const {
    constexpr std::int64_t kSecond = 1'000'000'000;
    const bool fine = mtimeNs % kSecond != 0 || ctimeNs % kSecond != 0;
    const std::int64_t margin = fine ? kSecond / 40 : 2 * kSecond;
    const std::int64_t last = mtimeNs > ctimeNs ? mtimeNs : ctimeNs;
    return seenNs - last >= margin;
  }
};

}  // namespace vb
