// verbonik-console: the dialogue in a terminal, over the same session as
// the desktop program.
//
// Which folder it works in: the one given by --dir; else the current folder
// when it holds Base; else the program's own folder when Base stands beside
// the executable; else the user's own folder ~/.local/share/verbonik, filled
// from the installed data on first start. "--check" checks that folder's
// knowledge base instead of talking.

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_app.h"
#include "console/options.h"
#include "console/terminal_text.h"
#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "session/kb_check.h"
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

// Takes "--check" out of the arguments (not where it is the value of an
// option); returns whether it was there.
bool takeCheck(std::vector<std::string_view>& args) {
  bool found = false;
  std::vector<std::string_view> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--check") {
      found = true;
      continue;
    }
    rest.push_back(args[i]);
    if ((args[i] == "--dir" || args[i] == "--seed") && i + 1 < args.size())
      rest.push_back(args[++i]);
  }
  args = std::move(rest);
  return found;
}

// Prints every finding of the check, one a line; 0 when there is none.
int checkFolder(const std::filesystem::path& folder) {
  vb::DiskFileStore files(folder, false);
  auto findings = vb::checkKnowledgeBase(files);
  std::string out;
  for (const auto& finding : findings) out += vb::terminalText(vb::formatFinding(finding)) + "\n";
  writeText(STDOUT_FILENO, out);
  return findings.empty() ? vb::kExitOk : vb::kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  const bool check = takeCheck(args);
  vb::ConsoleOptions options = vb::parseOptions(args);
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
    return checkFolder(folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder));
  }
  if (!folder.empty() && options.dir.empty()) {
    args.push_back("--dir");
    args.push_back(folder);
  }
  return vb::runConsole(args);
}
