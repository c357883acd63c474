#include "engine/page_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace vb {
namespace {

constexpr std::size_t kHuge = std::size_t{2} << 20;

std::size_t pageSize() {
  static const std::size_t size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return size;
}

std::size_t roundUp(std::size_t n, std::size_t to) {
  return (n + to - 1) / to * to;
}

void adviseHuge([[maybe_unused]] void* memory, [[maybe_unused]] std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
  (void)::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
}

}  // namespace

// Below a huge page, arrays come from malloc, which hands back memory
// freed before (already mapped, so not faulted in again).
void* takePages(std::size_t bytes) {
  if (bytes < kHuge) return std::malloc(bytes);
  const std::size_t size = roundUp(bytes, pageSize());
  // Arrays of a huge page or more start at a huge page's boundary: mapped
  // with a huge page to spare, and the spare cut off.
  void* p =
      ::mmap(nullptr, size + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  auto* base = static_cast<char*>(p);
  const auto at = reinterpret_cast<std::uintptr_t>(base);
  char* start = base + (roundUp(at, kHuge) - at);
  if (start > base) ::munmap(base, static_cast<std::size_t>(start - base));
  const auto after = static_cast<std::size_t>(base + size + kHuge - (start + size));
  if (after) ::munmap(start + size, after);
  adviseHuge(start, size);
  return start;
}

void* resizePages(void* memory, std::size_t from, std::size_t to) {
  if (from < kHuge && to < kHuge) return std::realloc(memory, to);
  if (from < kHuge || to < kHuge) {
    void* p = takePages(to);
    if (!p) return nullptr;
    std::memcpy(p, memory, std::min(from, to));
    givePages(memory, from);
    return p;
  }
  const std::size_t oldSize = roundUp(from, pageSize());
  const std::size_t newSize = roundUp(to, pageSize());
  if (newSize == oldSize) return memory;
  if (newSize < oldSize) {
    ::munmap(static_cast<char*>(memory) + newSize, oldSize - newSize);
    return memory;
  }
#if defined(__linux__)
  void* p = ::mremap(memory, oldSize, newSize, MREMAP_MAYMOVE);
  if (p == MAP_FAILED) return nullptr;
  adviseHuge(p, newSize);
  return p;
#else
  void* p = takePages(to);
  if (!p) return nullptr;
  std::memcpy(p, memory, from);
  givePages(memory, from);
  return p;
#endif
}

void givePages(void* memory, std::size_t bytes) {
  if (bytes < kHuge) {
    std::free(memory);
  } else if (memory) {
    ::munmap(memory, roundUp(bytes, pageSize()));
  }
}

void throwNoMemory() {
  throw std::bad_alloc();
}

}  // namespace vb
