#include "engine/text_overlap.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vb {
namespace {

// Compared a block at a time with memcmp, the block that differs byte by
// byte.
constexpr std::size_t kBlock = 1024;

std::size_t sameFromStart(const char* a, const char* b, std::size_t n) {
  std::size_t i = 0;
  while (n - i >= kBlock && std::memcmp(a + i, b + i, kBlock) == 0) i += kBlock;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// The same from the ends aEnd and bEnd backwards.
std::size_t sameFromEnd(const char* aEnd, const char* bEnd, std::size_t n) {
  std::size_t i = 0;
  while (n - i >= kBlock && std::memcmp(aEnd - i - kBlock, bEnd - i - kBlock, kBlock) == 0) {
    i += kBlock;
  }
  while (i < n &&
         aEnd[-1 - static_cast<std::ptrdiff_t>(i)] == bEnd[-1 - static_cast<std::ptrdiff_t>(i)]) {
    ++i;
  }
  return i;
}

}  // namespace

std::size_t commonStart(const TextPieces& old, std::string_view now) {
  std::size_t same = 0;
  for (const std::string_view piece : old.pieces()) {
    const std::size_t n = std::min(piece.size(), now.size() - same);
    const std::size_t run = sameFromStart(piece.data(), now.data() + same, n);
    same += run;
    if (run < piece.size()) break;
  }
  return same;
}

std::size_t commonEnd(const TextPieces& old, std::string_view now, std::size_t limit) {
  limit = std::min(limit, now.size());
  std::size_t same = 0;
  const std::vector<std::string_view>& pieces = old.pieces();
  for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
    const std::size_t n = std::min(it->size(), limit - same);
    const std::size_t run = sameFromEnd(it->data() + it->size(), now.data() + now.size() - same, n);
    same += run;
    if (run < it->size()) break;
  }
  return same;
}

}  // namespace vb
