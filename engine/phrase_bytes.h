#pragma once
// The set of bytes of an upper-cased phrase. A pattern can only be found by
// the run scan if every one of its bytes occurs in the phrase, so most lines
// of the phrase base are ruled out after a byte or two, before any exact
// scan. Built once per turn.

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/text.h"

namespace vb {

class PhraseBytes {
 public:
  explicit PhraseBytes(std::string_view phrase) {
    for (char c : phrase) add(static_cast<unsigned char>(upper1251(c)));
  }
  void add(unsigned char c) { bits_[c >> 6] |= std::uint64_t{1} << (c & 63); }
  bool has(unsigned char c) const { return (bits_[c >> 6] >> (c & 63)) & 1; }

 private:
  std::array<std::uint64_t, 4> bits_{};
};

}  // namespace vb
