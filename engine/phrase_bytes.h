#pragma once
// What of the upper-cased phrase a pattern needs before the run scan can
// find it: every byte of the pattern occurs in the phrase, and so does every
// pair of adjacent non-space bytes (the scan finds a pattern, or a word of a
// key, only as an unbroken run of the phrase's bytes). Most lines of the
// phrase base fail this after a byte or two, before any exact scan. Built
// once per turn. Spaces are taken as present, because the word pass does
// not need the spaces between the words of a key.

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/text.h"

namespace vb {

class PhraseBytes {
 public:
  explicit PhraseBytes(std::string_view phrase) {
    set(bytes_, ' ');
    unsigned char prev = ' ';
    for (char ch : phrase) {
      const auto c = static_cast<unsigned char>(upper1251(ch));
      set(bytes_, c);
      if (prev != ' ' && c != ' ') set(pairs_, pairIndex(prev, c));
      prev = c;
    }
  }

  // The position of the first '^' of `line` when the text before it may
  // occur in the phrase, else npos.
  std::size_t headMayOccur(std::string_view line) const {
    unsigned char prev = ' ';
    for (std::size_t i = 0; i < line.size(); ++i) {
      const auto c = static_cast<unsigned char>(line[i]);
      if (c == '^') return i;
      if (!test(bytes_, c)) return std::string_view::npos;
      if (prev != ' ' && c != ' ' && !test(pairs_, pairIndex(prev, c))) {
        return std::string_view::npos;
      }
      prev = c;
    }
    return std::string_view::npos;
  }

 private:
  template <std::size_t N>
  static void set(std::array<std::uint64_t, N>& bits, unsigned i) {
    bits[i >> 6] |= std::uint64_t{1} << (i & 63);
  }
  template <std::size_t N>
  static bool test(const std::array<std::uint64_t, N>& bits, unsigned i) {
    return (bits[i >> 6] >> (i & 63)) & 1;
  }
  static unsigned pairIndex(unsigned char a, unsigned char b) { return (a << 8) | b; }

  std::array<std::uint64_t, 4> bytes_{};
  std::array<std::uint64_t, 1024> pairs_{};
};

}  // namespace vb
