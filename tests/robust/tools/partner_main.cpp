// vb_partner_session FOLDER PARTNER_FILE TICKS SEED
//
// One copy of the program in Cpu\Cpu timer mode, the reading interval at
// its shortest, sharing PARTNER_FILE with whatever else uses it. The
// session runs on FOLDER (its Base and Config.ini) in virtual time, as fast
// as the disk allows, for TICKS timer services, then exits through Exit,
// saving its transcript to Base\Log.dat. Prints "turns N errors M"
// and every error shown; exit status 0 when no error was shown.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "engine/disk_file_store.h"
#include "engine/random_source.h"
#include "session/fakes.h"
#include "session/session.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s FOLDER PARTNER_FILE TICKS SEED\n", argv[0]);
    return 2;
  }
  vb::DiskFileStore files(argv[1]);
  vb::SeededRandom random(static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10)));
  vb::ManualClock clock;
  vb::test::RecordingView view;
  vb::test::NullSettings settings;
  vb::Session session({files, random, clock, view});
  session.FormCreate(settings);
  session.start();
  session.editor().path = argv[2];
  session.editor().timerMode = true;
  session.editor().interval = 1;
  session.Cpu31Click();

  const long ticks = std::atol(argv[3]);
  for (long i = 0; i < ticks; ++i) {
    const std::int64_t due = session.nextDueMs();
    if (due < 0) break;  // the program took its leave
    if (due > clock.nowMs()) clock.advance(due - clock.nowMs());
    session.runDue();
  }
  // Exit, as the user leaves: the transcript goes to Base\Log.dat (unless
  // a closing answer has already left that way).
  if (!session.closed()) session.N4Click();
  std::printf("turns %d errors %zu\n", view.count(vb::Cue::UserLine), view.errors.size());
  for (const auto& error : view.errors) std::printf("error %s\n", error.c_str());
  return view.errors.empty() ? 0 : 1;
}
