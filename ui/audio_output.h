#pragma once
// The way to the speaker: the system's default audio device, reached through
// a small module of the program (verbonik-audio.so) that holds the audio
// library. Loading that library and the sound system's own takes a few
// milliseconds, so the program loads it only once its window is drawn.
// Without the module, a device or a sound server the program stays silent.

#include <cstdint>
#include <functional>
#include <memory>

namespace vb {

// One device's output of mono or stereo 16-bit samples.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  // The format the device takes: the wanted rate when it can, else its own.
  virtual int rate() const = 0;
  virtual int channels() const = 0;
  // Opens the stream; false when the system refuses it.
  virtual bool open() = 0;
  virtual void close() = 0;
  // Bytes the open stream takes now, and writing them.
  virtual std::int64_t bytesFree() const = 0;
  virtual void write(const char* data, std::int64_t bytes) = 0;
  // Called when the open stream is lost (the device went away).
  virtual void onLost(std::function<void()> lost) = 0;
};

// The module's entry point.
using OpenAudioOutput = AudioOutput* (*)(int wantedRate, int bufferMs);
inline constexpr const char* kOpenAudioOutputSymbol = "vb_open_audio_output";

// Loads the module (beside the program, or in ../lib/verbonik/audio when
// installed) and opens the default device; null when there is none.
std::unique_ptr<AudioOutput> openAudioOutput(int wantedRate, int bufferMs);
using AudioOpener = std::function<std::unique_ptr<AudioOutput>(int wantedRate, int bufferMs)>;

}  // namespace vb
