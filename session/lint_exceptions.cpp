#include "session/lint_exceptions.h"

#include <algorithm>
#include <array>

#include "engine/line_split.h"
#include "engine/text.h"

namespace vb {
namespace {

constexpr std::string_view kStale = "stale-exception";

constexpr std::array<std::string_view, 6> kLints = {kLintDuplicate,  kLintUnreachable,
                                                    kLintDepthSkip,  kLintShadowed,
                                                    kLintInsideWord, kLintCensored};

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::vector<KbFinding> readLintExceptions(std::string_view shownName, std::string_view utf8Text,
                                          LintExceptions& out) {
  out.file = utf8To1251(shownName);  // findings hold Windows-1251
  std::vector<KbFinding> errors;
  auto fail = [&](int line, const std::string& message) {
    errors.push_back({out.file, line, utf8To1251(message), {}, {}});
  };
  const auto lines = splitLines(utf8Text);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const int number = static_cast<int>(n) + 1;
    std::string_view line = trimmed(lines[n]);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t space = line.find_first_of(" \t");
    const std::string_view lint = line.substr(0, space);
    if (std::find(kLints.begin(), kLints.end(), lint) == kLints.end()) {
      std::string known;
      for (std::string_view name : kLints) known.append(known.empty() ? "" : ", ").append(name);
      std::string message = "'";
      message.append(lint).append("' — не название предупреждения (").append(known).append(")");
      fail(number, message);
      continue;
    }
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : trimmed(line.substr(space));
    const std::size_t caret = rest.find('^');
    if (caret == std::string_view::npos || caret == 0) {
      fail(number, "нет ключа и '^': пишется «" + std::string(lint) + " КЛЮЧ^причина»");
      continue;
    }
    const std::string_view reason = trimmed(rest.substr(caret + 1));
    if (reason.empty()) {
      fail(number, "после '^' нет причины: исключение без объяснения не принимается");
      continue;
    }
    out.entries.push_back(
        {number, std::string(lint), utf8To1251(rest.substr(0, caret)), std::string(reason), false});
  }
  return errors;
}

std::size_t applyLintExceptions(std::vector<KbFinding>& findings, LintExceptions& exceptions) {
  std::size_t removed = 0;
  std::erase_if(findings, [&](const KbFinding& f) {
    if (!f.warning()) return false;
    bool passed = false;
    for (LintException& e : exceptions.entries) {
      if (e.lint == f.lint && e.head == f.head) passed = e.used = true;
    }
    removed += passed ? 1 : 0;
    return passed;
  });
  for (const LintException& e : exceptions.entries) {
    if (e.used) continue;
    findings.push_back({exceptions.file, e.line,
                        utf8To1251("исключение не понадобилось: нет предупреждения [" + e.lint +
                                   "] у строки с ключом «") +
                            e.head + utf8To1251("»"),
                        std::string(kStale), e.head});
  }
  return removed;
}

}  // namespace vb
