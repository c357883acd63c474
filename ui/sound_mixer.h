#pragma once
// The mixer behind the six sound players: each voice is one wave file held
// in memory as mono 16-bit samples at the mixer's rate, with its own
// position. A play request rewinds a voice whose position is at its end and
// lets a voice that is still playing play on: "still playing" is judged by
// the voice's position against its length, never by a flag of the audio
// layer. The audio output pulls mixed samples; each pull moves the playing
// voices on. No Qt here, so the rule is tested sample by sample.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vb {

class SoundMixer {
 public:
  explicit SoundMixer(int rate) : rate_(rate) {}

  int rate() const { return rate_; }
  // Adds a voice; returns its number (0, 1, ...).
  int addVoice(std::vector<std::int16_t> samples);

  // A play request. Returns true when it starts the voice (from its start,
  // or from where it stood if it never played), false when the voice was
  // still playing and plays on.
  bool request(int voice);
  bool playing(int voice) const;
  std::size_t position(int voice) const { return voices_.at(index(voice)).position; }
  std::size_t length(int voice) const { return voices_.at(index(voice)).samples.size(); }
  bool anyPlaying() const;

  // Mixes the next `frames` samples of every playing voice into `out`
  // (silence where none plays) and moves those voices on.
  void mix(std::int16_t* out, std::size_t frames);
  // The output was lost: every voice counts as played through.
  void endAll();

 private:
  struct Voice {
    std::vector<std::int16_t> samples;
    std::size_t position = 0;
    bool started = false;
  };
  static std::size_t index(int voice) { return static_cast<std::size_t>(voice); }

  int rate_;
  std::vector<Voice> voices_;
};

// Linear resampling of mono samples from one rate to another.
std::vector<std::int16_t> resampled(const std::vector<std::int16_t>& samples, int from, int to);

}  // namespace vb
