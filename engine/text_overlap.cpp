#include "engine/text_overlap.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vb {
namespace {

// Compared in large blocks with memcmp, then the block that differs in
// small ones, then byte by byte.
constexpr std::size_t kBlocks[] = {std::size_t{1} << 16, 256, 1};

std::size_t sameFromStart(const char* a, const char* b, std::size_t n) {
  std::size_t i = 0;
  for (const std::size_t block : kBlocks) {
    while (n - i >= block && std::memcmp(a + i, b + i, block) == 0) i += block;
  }
  return i;
}

// The same from the ends aEnd and bEnd backwards.
std::size_t sameFromEnd(const char* aEnd, const char* bEnd, std::size_t n) {
  std::size_t i = 0;
  for (const std::size_t block : kBlocks) {
    while (n - i >= block && std::memcmp(aEnd - i - block, bEnd - i - block, block) == 0) {
      i += block;
    }
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
