#pragma once
// What every fuzz target insists on: a failure is one of the program's own
// messages, and a broken promise stops the run with a report.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vb::fuzz {

[[noreturn]] inline void broken(const char* what) {
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

inline void check(bool ok, const char* what) {
  if (!ok) broken(what);
}

// "Cannot open file %s", "Cannot create file %s", "List index out of
// bounds (%d)", "'%s' is not a valid integer value". A message read
// through what() ends at a NUL byte of the text it quotes, so the last
// form is known by its opening quote alone.
inline bool ownMessage(std::string_view m) {
  return m.starts_with("Cannot open file ") || m.starts_with("Cannot create file ") ||
         (m.starts_with("List index out of bounds (") && m.ends_with(")")) || m.starts_with("'");
}

}  // namespace vb::fuzz
