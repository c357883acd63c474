#include "session/guard.h"

namespace vb {

bool holdsReserved(std::string_view text) {
  return text.find_first_of(kReservedCharacters) != std::string_view::npos;
}

std::string withoutReserved(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (kReservedCharacters.find(c) == std::string_view::npos) out.push_back(c);
  }
  return out;
}

bool guardStep(const std::string& input, std::int32_t& GuardPos) {
  const auto length = static_cast<std::int64_t>(input.size());
  if (length == 0) return false;
  if (GuardPos < 0 || static_cast<std::int64_t>(GuardPos) + 1 > length) {
    GuardPos = 1;
  } else {
    ++GuardPos;
  }
  char c = input[static_cast<std::size_t>(GuardPos) - 1];
  if (kReservedCharacters.find(c) != std::string_view::npos) return true;
  if (GuardPos == length) GuardPos = 0;
  return false;
}

void guardSkip(const std::string& input, std::int32_t& GuardPos, std::int64_t ticks) {
  const auto length = static_cast<std::int64_t>(input.size());
  if (length == 0 || ticks <= 0) return;
  std::int64_t pos = GuardPos;
  // Past the end (a longer text was swept before): the first step starts
  // at 1. From then on the position runs 1, 2, ..., length - 1, 0.
  if (pos < 0 || pos >= length) {
    pos = 1 % length;
    --ticks;
  }
  GuardPos = static_cast<std::int32_t>((pos + ticks % length) % length);
}

}  // namespace vb
