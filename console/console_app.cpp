#include "console/console_app.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "console/colour.h"
#include "console/console_loop.h"
#include "console/console_view.h"
#include "console/help_text.h"
#include "console/interrupts.h"
#include "console/line_editor.h"
#include "console/options.h"
#include "console/program_folder.h"
#include "console/raw_terminal.h"
#include "console/replay_loop.h"
#include "console/replay_random.h"
#include "console/terminal_screen.h"
#include "console/virtual_clock.h"
#include "engine/disk_file_store.h"
#include "engine/random_source.h"
#include "session/clock.h"
#include "session/session.h"

namespace vb {
namespace {

constexpr std::string_view kName = "verbonik-console: ";

int fail(int status, const std::string& message) {
  writeAll(STDERR_FILENO, std::string(kName) + message + "\n");
  return status;
}

}  // namespace

int runConsole(const std::vector<std::string_view>& args) {
  ConsoleOptions options = parseOptions(args);
  switch (options.action) {
    case ConsoleOptions::Action::Help:
      return writeAll(STDOUT_FILENO, usageText()) ? kExitOk : kExitFailure;
    case ConsoleOptions::Action::Version:
      return writeAll(STDOUT_FILENO, versionText()) ? kExitOk : kExitFailure;
    case ConsoleOptions::Action::Error:
      return fail(kExitUsage, options.error + " (справка: verbonik-console --help)");
    case ConsoleOptions::Action::Run:
      break;
  }

  if (std::string problem = enterFolder(options.dir); !problem.empty()) {
    return fail(kExitFailure, problem);
  }
  std::error_code ec;
  std::filesystem::path here = std::filesystem::current_path(ec);
  if (ec) return fail(kExitFailure, "рабочая папка недоступна: " + ec.message());
  DiskFileStore files(here);
  const std::string shownName = options.dir.empty() ? here.string() : options.dir;
  if (std::string problem = checkProgramFolder(files, shownName); !problem.empty()) {
    return fail(kExitFailure, problem);
  }
  files.removeStaleTemporaries();

  std::optional<ReplayRandom> replay;
  std::optional<ClockRandom> clockRandom;
  RandomSource* random = nullptr;
  if (options.seed) {
    random = &replay.emplace(*options.seed);
  } else {
    random = &clockRandom.emplace();
  }
  SystemClock systemClock;
  VirtualClock virtualClock;
  Clock& clock = options.pace ? static_cast<Clock&>(virtualClock) : systemClock;

  const char* noColor = std::getenv("NO_COLOR");
  ColourChoice colour{colourWanted(::isatty(STDOUT_FILENO) == 1, noColor),
                      colourWanted(::isatty(STDERR_FILENO) == 1, noColor)};
  const bool interactive = ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1;

  Interrupts interrupts;
  TerminalScreen screen(STDOUT_FILENO, STDERR_FILENO);
  ConsoleView view(screen, colour);
  std::optional<RawTerminal> raw;
  LineEditor editor;
  ConsoleIo io{STDIN_FILENO, screen, interrupts};
  if (replay) io.replay = &*replay;
  if (interactive && !options.pace) {
    raw.emplace(STDIN_FILENO);
    if (raw->active()) {
      io.raw = &*raw;
      io.editor = &editor;
      screen.attachEditor(&editor, "> ");
      view.note("Вербоник слушает. Пишите фразы; /help — команды, /exit — выход.");
    }
  }

  TurnTrace trace;
  EngineTurn turn(files, *random);
  turn.setTrace(&trace);
  io.trace = &trace;
  io.explain = options.explain;
  Session session({files, *random, clock, view, &turn});
  session.FormCreate(view);
  session.start();
  session.runDue();
  ConsoleLoop loop(session, view, clock, io);
  if (options.pace) {
    ReplayLoop replayLoop(session, view, virtualClock, loop, io,
                          static_cast<std::int64_t>(*options.pace * 1000 + 0.5));
    return replayLoop.run();
  }
  return loop.run();
}

}  // namespace vb
