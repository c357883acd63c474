// The play rule judged by the sound's own position and length, sample by
// sample, and the wave files read into the mixer.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "ui/sound_mixer.h"
#include "ui/wave_file.h"

namespace vb {
namespace {

TEST(SoundMixer, APlayingSoundPlaysOnAndOneAtItsEndStartsAgain) {
  SoundMixer mixer(1000);
  const int click = mixer.addVoice(std::vector<std::int16_t>(30, 100));
  const int tone = mixer.addVoice(std::vector<std::int16_t>(50, 1000));
  std::vector<std::int16_t> out(20);

  EXPECT_TRUE(mixer.request(click));
  mixer.mix(out.data(), 20);
  EXPECT_EQ(out[0], 100);
  EXPECT_EQ(mixer.position(click), 20u);
  // Still playing (20 of 30): the request lets it play on.
  EXPECT_FALSE(mixer.request(click));
  EXPECT_EQ(mixer.position(click), 20u);
  // Another sound plays at the same time, mixed in.
  EXPECT_TRUE(mixer.request(tone));
  mixer.mix(out.data(), 20);
  EXPECT_EQ(out[0], 1100);
  EXPECT_EQ(out[15], 1000);
  EXPECT_FALSE(mixer.playing(click));
  EXPECT_EQ(mixer.position(click), mixer.length(click));
  // At its end: rewound and played from the start.
  EXPECT_TRUE(mixer.request(click));
  EXPECT_EQ(mixer.position(click), 0u);
  mixer.mix(out.data(), 20);
  EXPECT_EQ(out[0], 1100);
  // Loud sums are clipped, never wrapped.
  SoundMixer loud(1000);
  loud.request(loud.addVoice({30000}));
  loud.request(loud.addVoice({30000}));
  loud.mix(out.data(), 2);
  EXPECT_EQ(out[0], 32767);
  EXPECT_EQ(out[1], 0);
  // A lost output: nothing waits for it, the next request starts afresh.
  mixer.endAll();
  EXPECT_FALSE(mixer.anyPlaying());
  EXPECT_TRUE(mixer.request(tone));
}

TEST(SoundMixer, ShippedWavesAreReadAndResampled) {
  const auto wave = readWaveFile(QString::fromStdString(
      (std::filesystem::path(VB_SOURCE_DIR) / "data" / "Sound" / "KeyBoard.wav").string()));
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(wave->rate, 22050);
  EXPECT_EQ(wave->mono.size(), 661u);
  EXPECT_EQ(resampled(wave->mono, 22050, 44100).size(), 1322u);
  EXPECT_FALSE(
      readWaveFile(QString::fromStdString(
                       (std::filesystem::path(VB_SOURCE_DIR) / "data" / "Config.ini").string()))
          .has_value());
}

}  // namespace
}  // namespace vb
