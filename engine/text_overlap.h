#pragma once
// How far two texts agree from their start and from their end: what an
// edit of a large file left as it was.

#include <cstddef>
#include <string_view>

#include "engine/text_pieces.h"

namespace vb {

// The length of the longest common start of `old` (its pieces one after
// the other) and `now`.
std::size_t commonStart(const TextPieces& old, std::string_view now);

// The length of the longest common end of the two, at most `limit`.
std::size_t commonEnd(const TextPieces& old, std::string_view now, std::size_t limit);

}  // namespace vb
