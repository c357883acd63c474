#pragma once
// The six sound players MP1..MP6. Each reads its wave file when the bank is
// built (a missing or unreadable file stops the program from starting) and
// keeps it in memory until the end. The audio device is looked for later
// (AudioOutput), once the window is on the screen (prepare), or at the first
// play if that comes sooner, which then waits for it and is heard. All six
// play through one mixer into one audio stream, opened at the first play,
// topped up a few milliseconds ahead of the speaker while it is open, and
// closed after a quiet while.
// A play request restarts a sound whose position is at its end and lets a
// sound that is still playing play on (SoundMixer). Without an audio device
// or server the players stay silent and say nothing.

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <array>
#include <memory>
#include <vector>

#include "session/view.h"
#include "ui/audio_output.h"
#include "ui/sound_mixer.h"
#include "ui/wave_file.h"

namespace vb {

class DiskFileStore;

class SoundBank {
 public:
  // Throws Failure "Cannot open file Sound\<name>" for the first wave file
  // that is missing, unreadable or not a wave file. `open` finds the device.
  explicit SoundBank(const DiskFileStore& files, AudioOpener open = openAudioOutput);
  ~SoundBank();
  SoundBank(const SoundBank&) = delete;
  SoundBank& operator=(const SoundBank&) = delete;

  // Finds the audio device and readies the mixer at its rate; the stream
  // itself opens at the first play. Once only; play() does it if needed.
  void prepare();
  bool prepared() const { return prepared_; }

  void play(Cue cue);

  // For tests: requests made and sounds actually started, per cue.
  int requests(Cue cue) const { return players_[slot(cue)].requests; }
  int starts(Cue cue) const { return players_[slot(cue)].starts; }
  bool audible() {
    prepare();
    return audible_;
  }
  static const char* fileName(Cue cue);

 private:
  struct Player {
    int voice = 0;
    int requests = 0;
    int starts = 0;
  };
  static std::size_t slot(Cue cue) { return static_cast<std::size_t>(cue); }
  bool outputRunning();
  void feed();
  void park();
  void stopOutput();

  std::array<Player, 6> players_;
  std::array<WaveSamples, 6> waves_;  // until prepared
  SoundMixer mixer_{22050};
  AudioOpener opener_;
  std::unique_ptr<AudioOutput> output_;
  int channels_ = 1;
  bool open_ = false;  // the stream, between a play and the quiet while
  QElapsedTimer clock_;
  std::int64_t fed_ = 0;  // frames written since the stream opened
  std::vector<std::int16_t> mono_;
  QTimer feeding_;
  QTimer parking_;
  bool prepared_ = false;
  bool audible_ = false;
};

}  // namespace vb
