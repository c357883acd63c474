#pragma once
// A session on a real program folder (the learners' knowledge base plus the
// files the session reads on its own) behind a FaultyStore, in virtual
// time, shown through the recording view of the session tests.

#include <filesystem>
#include <memory>
#include <string>

#include "engine/disk_file_store.h"
#include "engine/random_source.h"
#include "engine/temp_folder.h"
#include "faulty_store.h"
#include "session/fakes.h"
#include "session/session.h"

namespace vb::robust {

// Writes a small program folder into `dir`: Base (see writeLearnerBase,
// with `fillerLines` answered keys), Config.ini naming `partner` under
// Adres, and the remark, greeting, dictionary and log files.
void writeProgramFolder(const std::filesystem::path& dir, int fillerLines,
                        const std::string& partner = "Txt.Dat");

struct DiskRig {
  // The folder is written into `dir` unless it exists there already.
  explicit DiskRig(std::filesystem::path dir, int fillerLines = 20);

  // Serves every timer that falls due within the next `ms` milliseconds.
  void run(std::int64_t ms);
  void send(const std::string& text);
  // Cpu\Cpu mode reading `path` (relative to the folder) in timer mode.
  void partnerTimerMode(const std::string& path);

  std::string bytes(const std::string& rel) const;
  int userLines() const { return view.count(Cue::UserLine); }

  std::filesystem::path dir;
  DiskFileStore disk;
  FaultyStore files;
  ManualClock clock;
  SeededRandom random{5};
  test::RecordingView view;
  test::NullSettings settings;
  std::unique_ptr<Session> session;
};

}  // namespace vb::robust
