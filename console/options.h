#pragma once
// The command line of verbonik-console: the program folder, a fixed seed
// for replaying a dialogue, the knowledge-base check and the author's
// tools (--explain, --pace), and the usual --help and --version.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct ConsoleOptions {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  std::string dir;                    // empty: the current folder
  std::optional<std::uint32_t> seed;  // every random draw from one seed
  std::string error;                  // what was wrong, for Action::Error
  bool check = false;                 // --check: check the knowledge base instead of talking
  bool strict = false;                // --strict: warnings of the check fail it too
  std::string exceptions;             // --exceptions FILE: lint exceptions for the check
  bool explain = false;               // --explain: say after every answer where it came from
  std::optional<double> pace;         // --pace SECONDS: replay input in virtual time
};

// Parses the arguments after the program's name. Accepts "--dir DIR",
// "--seed N", "--exceptions FILE", "--pace SECONDS" (each also as
// "--name=value"), "--check", "--strict", "--explain", "-h"/"--help",
// "-V"/"--version".
// The first --help or --version wins over everything after it; anything
// unknown, a missing value or a bad number gives Action::Error.
ConsoleOptions parseOptions(const std::vector<std::string_view>& args);

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // unusable folder, transcript not saved
inline constexpr int kExitUsage = 2;    // bad command line

}  // namespace vb
