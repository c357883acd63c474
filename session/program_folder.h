#pragma once
// Where the program's folder is: the folder that holds Base, Config.ini and
// the rest, and in which the program then works exactly as it does when it
// is unpacked into a folder of its own.
//
//  - A folder given on the command line (the console's --dir) is used as it
//    stands; nothing is copied into it.
//  - Portable: a folder named Base (any letter case) beside the executable
//    makes the executable's folder the program's folder (an unpacked
//    archive, the build tree).
//  - Installed: the per-user folder $XDG_DATA_HOME/verbonik (by default
//    ~/.local/share/verbonik). On every start the shipped data (the
//    install's share/verbonik) is copied into it file by file where a file
//    is missing; a file that exists, under any letter case, is never
//    touched, so what the program learned is never replaced.
//
// The logic takes everything from outside as arguments (the executable's
// folder, the environment) so it is tested without touching the process.

#include <filesystem>
#include <optional>
#include <string>

namespace vb {

// The two variables the per-user folder depends on; empty when unset.
struct FolderEnvironment {
  std::string xdgDataHome;
  std::string home;
};

struct FolderRequest {
  std::optional<std::filesystem::path> givenDir;  // --dir DIR
  std::filesystem::path executableDir;
  // The install's data folder; when absent, executableDir/../share/verbonik.
  std::optional<std::filesystem::path> shippedDataDir;
  FolderEnvironment environment;
};

enum class FolderKind { Given, Portable, PerUser };

struct ProgramFolder {
  std::filesystem::path path;
  FolderKind kind = FolderKind::Given;
  int filesCopied = 0;  // files of the shipped data placed on this start
};

// Decides the program's folder and prepares it (creating and filling the
// per-user folder). Throws Failure with a readable message when no usable
// folder can be had: a given folder that does not exist, no HOME and no
// XDG_DATA_HOME, a folder that cannot be created or filled, no shipped data
// and no Base in the per-user folder.
ProgramFolder resolveProgramFolder(const FolderRequest& request);

// True when `dir` holds a sub-folder named Base in any letter case.
bool hasBaseFolder(const std::filesystem::path& dir);

// $XDG_DATA_HOME/verbonik when XDG_DATA_HOME is an absolute path, else
// $HOME/.local/share/verbonik. Throws Failure when neither can be used.
std::filesystem::path perUserFolder(const FolderEnvironment& environment);

// The install's data folder as seen from the executable's folder.
std::filesystem::path shippedDataBeside(const std::filesystem::path& executableDir);

// Copies every file under `from` into `to`, creating folders as needed and
// passing over every file that `to` already holds under any letter case of
// its path. Each file is copied under a temporary name and then linked in
// place without replacing anything, so an interrupted start never leaves a
// half-copied file behind and two starts at once never overwrite each
// other. Returns the number of files placed. Throws Failure.
int seedFolder(const std::filesystem::path& from, const std::filesystem::path& to);

// From the running process: the folder of /proc/self/exe (falling back on
// argv[0]), and the environment variables the per-user folder uses.
std::filesystem::path executableFolder(const char* argv0);
FolderEnvironment processEnvironment();

}  // namespace vb
