#include "ui/sound_mixer.h"

#include <algorithm>

namespace vb {

int SoundMixer::addVoice(std::vector<std::int16_t> samples) {
  voices_.push_back(Voice{std::move(samples), 0, false});
  return static_cast<int>(voices_.size()) - 1;
}

bool SoundMixer::playing(int voice) const {
  const Voice& v = voices_.at(index(voice));
  return v.started && v.position < v.samples.size();
}

bool SoundMixer::request(int voice) {
  Voice& v = voices_.at(index(voice));
  if (playing(voice)) return false;
  // At its end (it has played through): from the start again.
  if (v.position >= v.samples.size()) v.position = 0;
  v.started = true;
  return true;
}

bool SoundMixer::anyPlaying() const {
  for (std::size_t i = 0; i < voices_.size(); ++i) {
    if (playing(static_cast<int>(i))) return true;
  }
  return false;
}

void SoundMixer::mix(std::int16_t* out, std::size_t frames) {
  std::vector<std::int32_t> sum(frames, 0);
  for (std::size_t i = 0; i < voices_.size(); ++i) {
    if (!playing(static_cast<int>(i))) continue;
    Voice& v = voices_[i];
    const std::size_t count = std::min(frames, v.samples.size() - v.position);
    for (std::size_t f = 0; f < count; ++f) sum[f] += v.samples[v.position + f];
    v.position += count;
  }
  for (std::size_t f = 0; f < frames; ++f) {
    out[f] = static_cast<std::int16_t>(std::clamp<std::int32_t>(sum[f], -32768, 32767));
  }
}

void SoundMixer::endAll() {
  for (Voice& v : voices_) v.position = v.samples.size();
}

std::vector<std::int16_t> resampled(const std::vector<std::int16_t>& samples, int from, int to) {
  if (from == to || samples.empty() || from <= 0 || to <= 0) return samples;
  const auto count = static_cast<std::size_t>(static_cast<double>(samples.size()) * to / from);
  std::vector<std::int16_t> out(std::max<std::size_t>(count, 1));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double at = static_cast<double>(i) * from / to;
    const auto left = std::min(static_cast<std::size_t>(at), samples.size() - 1);
    const std::size_t right = std::min(left + 1, samples.size() - 1);
    const double t = at - static_cast<double>(left);
    out[i] = static_cast<std::int16_t>(samples[left] * (1 - t) + samples[right] * t);
  }
  return out;
}

}  // namespace vb
