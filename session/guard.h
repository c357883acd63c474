#pragma once
// The reserved characters of the knowledge base's markup, and the guard
// that keeps them out of a phrase.

#include <cstdint>
#include <string>
#include <string_view>

namespace vb {

// '^', '_', ';', '@' and '|', in the order the guard tries them.
inline constexpr std::string_view kReservedCharacters = "^_;@|";

bool holdsReserved(std::string_view text);
// The text without any reserved character.
std::string withoutReserved(std::string_view text);

// One tick of the guard T5 on a non-empty input: moves GuardPos (1-based)
// to the next character, wrapping to 1, and returns true when that
// character is reserved (the caller then refuses the input). When it is not,
// a position at the last character becomes 0, as the sweep starts again.
bool guardStep(const std::string& input, std::int32_t& GuardPos);

// Where `ticks` guard steps leave GuardPos on an input that holds no
// reserved character (the sweep goes round and round), without taking them
// one by one.
void guardSkip(const std::string& input, std::int32_t& GuardPos, std::int64_t ticks);

}  // namespace vb
