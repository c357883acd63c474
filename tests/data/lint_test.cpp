// The lints on the shipped phrase base, with the exceptions kept beside its
// sources: the shipped base is clean under --strict.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include "engine/disk_file_store.h"
#include "engine/text.h"
#include "session/kb_lint.h"
#include "session/lint_exceptions.h"

namespace fs = std::filesystem;

TEST(ShippedLints, TheShippedBaseIsLintCleanWithItsExceptions) {
  vb::DiskFileStore files(fs::path(VB_SOURCE_DIR) / "data", false);
  auto findings = vb::checkAndLint(files);
  std::ifstream in(fs::path(VB_SOURCE_DIR) / "data-src" / "lint-exceptions.txt", std::ios::binary);
  ASSERT_TRUE(in) << "data-src/lint-exceptions.txt";
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  vb::LintExceptions exceptions;
  auto bad = vb::readLintExceptions("data-src/lint-exceptions.txt", text, exceptions);
  const std::size_t excepted = vb::applyLintExceptions(findings, exceptions);
  findings.insert(findings.end(), bad.begin(), bad.end());

  std::map<std::string, int> counts;
  std::string listed;
  for (const auto& f : findings) {
    counts[f.warning() ? f.lint : "error"] += 1;
    listed += vb::cp1251ToUtf8(vb::formatFinding(f)) + "\n";
  }
  std::cout << "findings on the shipped base (" << excepted << " passed by exceptions):";
  for (const auto& [lint, n] : counts) std::cout << " " << lint << " " << n;
  std::cout << "\n";
  EXPECT_EQ(listed, "");
}
