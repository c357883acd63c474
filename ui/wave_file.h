#pragma once
// Reads a wave file (RIFF WAVE, PCM, 8 or 16 bits, mono or stereo) into mono
// 16-bit samples for the sound mixer.

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace vb {

struct WaveSamples {
  int rate = 0;
  std::vector<std::int16_t> mono;
};

// Nothing when the file cannot be read or is not such a wave file.
std::optional<WaveSamples> readWaveFile(const QString& path);

}  // namespace vb
