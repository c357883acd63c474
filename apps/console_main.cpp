// verbonik-console: the dialogue in a terminal, over the same session as
// the desktop program.
//
// Which folder it works in: the one given by --dir; else the current folder
// when it holds Base; else the program's own folder when Base stands beside
// the executable; else the user's own folder ~/.local/share/verbonik, filled
// from the installed data on first start. "--check" checks that folder's
// knowledge base instead of talking: errors make it fail, warnings (lints)
// only with --strict; --exceptions names a file of intended warnings.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_app.h"
#include "console/options.h"
#include "console/terminal_text.h"
#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "session/kb_lint.h"
#include "session/lint_exceptions.h"
#include "session/program_folder.h"

namespace {

void writeText(int fd, const std::string& text) {
  std::string_view rest = text;
  while (!rest.empty()) {
    ssize_t n = ::write(fd, rest.data(), rest.size());
    if (n <= 0) return;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
}

// "1 ошибка", "2 предупреждения", "5 ошибок".
std::string counted(std::size_t n, const char* one, const char* few, const char* many) {
  std::size_t tens = n % 100;
  std::size_t ones = n % 10;
  const char* word = (tens >= 11 && tens <= 14) ? many
                     : ones == 1                ? one
                     : (ones >= 2 && ones <= 4) ? few
                                                : many;
  return std::to_string(n) + " " + word;
}

// Prints every finding of the check and the lints, one a line, and a count
// at the end; 1 when there is an error (or, when strict, a warning).
int checkFolder(const std::filesystem::path& folder, const vb::ConsoleOptions& options) {
  vb::DiskFileStore files(folder, false);
  auto findings = vb::checkAndLint(files);
  std::size_t excepted = 0;
  if (!options.exceptions.empty()) {
    std::ifstream in(options.exceptions, std::ios::binary);
    if (!in) {
      writeText(STDERR_FILENO, "verbonik-console: нет файла исключений «" +
                                   vb::terminalTextUtf8(options.exceptions) + "»\n");
      return vb::kExitFailure;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    vb::LintExceptions exceptions;
    auto errors = vb::readLintExceptions(options.exceptions, text, exceptions);
    excepted = vb::applyLintExceptions(findings, exceptions);
    findings.insert(findings.end(), errors.begin(), errors.end());
  }
  std::string out;
  std::size_t warnings = 0;
  for (const auto& finding : findings) {
    warnings += finding.warning() ? 1 : 0;
    out += vb::terminalText(vb::formatFinding(finding)) + "\n";
  }
  const std::size_t errors = findings.size() - warnings;
  if (!findings.empty()) {
    out += "Итог: " + counted(errors, "ошибка", "ошибки", "ошибок") + ", " +
           counted(warnings, "предупреждение", "предупреждения", "предупреждений");
    if (excepted > 0) out += " (ещё " + std::to_string(excepted) + " — по исключениям)";
    out += ".\n";
  }
  writeText(STDOUT_FILENO, out);
  return errors > 0 || (options.strict && warnings > 0) ? vb::kExitFailure : vb::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  vb::ConsoleOptions options = vb::parseOptions(args);
  const bool check = options.check;
  if (options.action != vb::ConsoleOptions::Action::Run) return vb::runConsole(args);

  std::string folder = options.dir;
  if (folder.empty()) {
    std::error_code ec;
    std::filesystem::path here = std::filesystem::current_path(ec);
    if (ec || !vb::hasBaseFolder(here)) {
      try {
        vb::FolderRequest request;
        request.executableDir = vb::executableFolder(argc > 0 ? argv[0] : nullptr);
        request.environment = vb::processEnvironment();
        folder = vb::resolveProgramFolder(request).path.string();
      } catch (const vb::Failure& failure) {
        writeText(STDERR_FILENO, "verbonik-console: " + vb::terminalText(failure.what()) + "\n");
        return vb::kExitFailure;
      }
    }
  }

  if (check) {
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
      writeText(STDERR_FILENO,
                "verbonik-console: нет папки «" + vb::terminalTextUtf8(folder) + "»\n");
      return vb::kExitFailure;
    }
    return checkFolder(folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder),
                       options);
  }
  if (!folder.empty() && options.dir.empty()) {
    args.push_back("--dir");
    args.push_back(folder);
  }
  return vb::runConsole(args);
}
