#pragma once
// Exceptions to the lints: a UTF-8 text file kept beside the knowledge
// base's sources, one exception a line, each with its reason:
//
//   # comment
//   inside-word ДА.^«Да.» is meant to answer a bare «да» wherever it stands
//
// The lint's name, a space, the head of the Words.Dat line as it is written
// there (depth marks and key), '^', and why the warning is intended. An
// exception passes every warning of that lint on a line with that head.

#include <string>
#include <string_view>
#include <vector>

#include "session/kb_check.h"

namespace vb {

struct LintException {
  int line = 0;  // in the exceptions file, from 1
  std::string lint;
  std::string head;  // Windows-1251, as in Words.Dat
  std::string reason;
  bool used = false;
};

struct LintExceptions {
  std::string file;  // as shown in findings
  std::vector<LintException> entries;
};

// Reads the file's text into `out` (`shownName` in UTF-8, as the user gave
// it); returns an error finding for each line that is no exception
// (unknown lint, no '^', no reason).
std::vector<KbFinding> readLintExceptions(std::string_view shownName, std::string_view utf8Text,
                                          LintExceptions& out);

// Removes from `findings` the warnings that an exception passes and returns
// how many it removed; an exception that passed nothing becomes a warning
// of its own (lint "stale-exception"), appended to `findings`.
std::size_t applyLintExceptions(std::vector<KbFinding>& findings, LintExceptions& exceptions);

}  // namespace vb
