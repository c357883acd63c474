#include "ui/sound_bank.h"

#include <algorithm>

#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "ui/wave_file.h"

namespace vb {
namespace {

constexpr std::array<Cue, 6> kCues{Cue::KeyClick,    Cue::UserLine, Cue::Conversion,
                                   Cue::StartEffect, Cue::CpuLine,  Cue::Closing};
// The stream is closed after this long without a sound.
constexpr int kParkAfterMs = 3000;
// How far the mixed samples run ahead of the clock, and how often they are
// topped up: a click follows its key within a few hundredths of a second.
constexpr int kLeadMs = 50;
constexpr int kFeedMs = 10;

}  // namespace

const char* SoundBank::fileName(Cue cue) {
  switch (cue) {
    case Cue::KeyClick:
      return "Sound\\KeyBoard.wav";
    case Cue::UserLine:
      return "Sound\\Button3.wav";
    case Cue::Conversion:
      return "Sound\\Button2.wav";
    case Cue::StartEffect:
      return "Sound\\Button1.wav";
    case Cue::CpuLine:
      return "Sound\\CpuSound.wav";
    case Cue::Closing:
      return "Sound\\Close.wav";
  }
  return "";
}

SoundBank::SoundBank(const DiskFileStore& files, AudioOpener open) : opener_(std::move(open)) {
  for (Cue cue : kCues) {
    const char* name = fileName(cue);
    auto located = files.locate(name);
    if (!located) throw cannotOpen(name);
    auto wave = readWaveFile(QString::fromStdString(located->string()));
    if (!wave) throw cannotOpen(name);
    waves_[slot(cue)] = std::move(*wave);
  }
}

void SoundBank::prepare() {
  if (prepared_) return;
  prepared_ = true;
  std::array<WaveSamples, 6> waves = std::move(waves_);
  const int wanted = waves[slot(Cue::KeyClick)].rate;
  output_ = opener_ ? opener_(wanted, 4 * kLeadMs) : nullptr;
  audible_ = output_ != nullptr;
  channels_ = audible_ ? output_->channels() : 1;
  mixer_ = SoundMixer(audible_ ? output_->rate() : wanted);
  for (Cue cue : kCues) {
    const WaveSamples& wave = waves[slot(cue)];
    players_[slot(cue)].voice = mixer_.addVoice(resampled(wave.mono, wave.rate, mixer_.rate()));
  }
  if (!audible_) return;
  // A lost output plays nothing more: no sound waits for it.
  output_->onLost([this] { stopOutput(); });
  feeding_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&feeding_, &QTimer::timeout, &feeding_, [this] { feed(); });
  parking_.setSingleShot(true);
  QObject::connect(&parking_, &QTimer::timeout, &parking_, [this] { park(); });
}

SoundBank::~SoundBank() {
  if (output_) output_->close();
}

bool SoundBank::outputRunning() {
  if (!output_) return false;
  if (open_) return true;
  if (!output_->open()) {
    stopOutput();
    return false;
  }
  open_ = true;
  clock_.start();
  fed_ = 0;
  feeding_.start(kFeedMs);
  return true;
}

void SoundBank::stopOutput() {
  feeding_.stop();
  parking_.stop();
  open_ = false;
  if (output_) output_->close();
  mixer_.endAll();
}

void SoundBank::feed() {
  if (!open_) return;
  const auto frameBytes = static_cast<std::int64_t>(sizeof(std::int16_t)) * channels_;
  const std::int64_t due = (clock_.elapsed() + kLeadMs) * mixer_.rate() / 1000;
  const std::int64_t frames = std::min<std::int64_t>(due - fed_, output_->bytesFree() / frameBytes);
  if (frames <= 0) return;
  mono_.resize(static_cast<std::size_t>(frames));
  mixer_.mix(mono_.data(), mono_.size());
  const auto channels = static_cast<std::size_t>(channels_);
  std::vector<std::int16_t> out(mono_.size() * channels);
  for (std::size_t f = 0; f < mono_.size(); ++f) {
    for (std::size_t c = 0; c < channels; ++c) out[f * channels + c] = mono_[f];
  }
  // What the stream did not take is dropped: the clock, not the stream,
  // says where the sounds stand.
  output_->write(reinterpret_cast<const char*>(out.data()), frames * frameBytes);
  fed_ += frames;
}

void SoundBank::play(Cue cue) {
  Player& player = players_[slot(cue)];
  ++player.requests;
  prepare();
  // A sound the system refuses is simply not heard.
  if (!outputRunning()) return;
  if (mixer_.request(player.voice)) ++player.starts;
  feed();
  parking_.start(kParkAfterMs);
}

void SoundBank::park() {
  if (mixer_.anyPlaying()) {
    parking_.start(kParkAfterMs);
    return;
  }
  stopOutput();
}

}  // namespace vb
