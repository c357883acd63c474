#pragma once
// The six sound players MP1..MP6. Each opens its wave file when the bank is
// built (a missing or unreadable file stops the program from starting) and
// keeps it until the end. A play request restarts a sound that has played
// through and lets a sound that is still playing play on. Without an audio
// device the players stay silent and say nothing.

#include <QString>
#include <array>
#include <memory>

#include "session/view.h"

class QSoundEffect;

namespace vb {

class DiskFileStore;

class SoundBank {
 public:
  // Throws Failure "Cannot open file Sound\<name>" for the first wave file
  // that is missing, unreadable or not a wave file.
  explicit SoundBank(const DiskFileStore& files);
  ~SoundBank();
  SoundBank(const SoundBank&) = delete;
  SoundBank& operator=(const SoundBank&) = delete;

  void play(Cue cue);

  // For tests: requests made and sounds actually started, per cue.
  int requests(Cue cue) const { return players_[slot(cue)].requests; }
  int starts(Cue cue) const { return players_[slot(cue)].starts; }
  bool audible() const { return audible_; }
  static const char* fileName(Cue cue);

 private:
  struct Player {
    QString path;
    std::unique_ptr<QSoundEffect> effect;
    int requests = 0;
    int starts = 0;
  };
  static std::size_t slot(Cue cue) { return static_cast<std::size_t>(cue); }

  std::array<Player, 6> players_;
  bool audible_ = false;
};

}  // namespace vb
