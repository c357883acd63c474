#include "ui/sound_bank.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
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

// The server's own complaint when there is no server to talk to: the
// program stays silent and says nothing.
QtMessageHandler previousHandler = nullptr;
void quietAboutNoServer(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("PulseAudioService:"))) return;
  if (previousHandler) previousHandler(type, context, text);
}

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

SoundBank::SoundBank(const DiskFileStore& files) {
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
  // Asking the sound server for its device takes a few milliseconds: the
  // program does it once its window is drawn.
  std::array<WaveSamples, 6> waves = std::move(waves_);
  previousHandler = qInstallMessageHandler(quietAboutNoServer);
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  qInstallMessageHandler(previousHandler);
  audible_ = !device.isNull();
  format_.setSampleRate(waves[slot(Cue::KeyClick)].rate);
  format_.setChannelCount(1);
  format_.setSampleFormat(QAudioFormat::Int16);
  if (audible_ && !device.isFormatSupported(format_)) {
    format_.setSampleRate(device.preferredFormat().sampleRate());
    format_.setChannelCount(std::clamp(device.preferredFormat().channelCount(), 1, 2));
  }
  mixer_ = SoundMixer(format_.sampleRate());
  for (Cue cue : kCues) {
    const WaveSamples& wave = waves[slot(cue)];
    players_[slot(cue)].voice = mixer_.addVoice(resampled(wave.mono, wave.rate, mixer_.rate()));
  }
  if (!audible_) return;

  sink_ = std::make_unique<QAudioSink>(device, format_);
  sink_->setBufferSize(format_.bytesForDuration(4 * kLeadMs * 1000));
  QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                   [this](QAudio::State state) {
                     // A lost output plays nothing more: no sound waits for it.
                     if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError) {
                       stopOutput();
                     }
                   });
  feeding_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&feeding_, &QTimer::timeout, &feeding_, [this] { feed(); });
  parking_.setSingleShot(true);
  QObject::connect(&parking_, &QTimer::timeout, &parking_, [this] { park(); });
}

SoundBank::~SoundBank() {
  if (sink_) sink_->stop();
}

bool SoundBank::outputRunning() {
  if (!sink_) return false;
  if (output_) return true;
  output_ = sink_->start();
  if (!output_ || sink_->error() != QAudio::NoError) {
    stopOutput();
    return false;
  }
  clock_.start();
  fed_ = 0;
  feeding_.start(kFeedMs);
  return true;
}

void SoundBank::stopOutput() {
  feeding_.stop();
  parking_.stop();
  output_ = nullptr;
  if (sink_) sink_->stop();
  mixer_.endAll();
}

void SoundBank::feed() {
  if (!output_) return;
  const int channels = format_.channelCount();
  const auto frameBytes = static_cast<qint64>(sizeof(std::int16_t)) * channels;
  const qint64 due = (clock_.elapsed() + kLeadMs) * mixer_.rate() / 1000;
  qint64 frames = std::min<qint64>(due - fed_, sink_->bytesFree() / frameBytes);
  if (frames <= 0) return;
  mono_.resize(static_cast<std::size_t>(frames));
  mixer_.mix(mono_.data(), mono_.size());
  std::vector<std::int16_t> out(mono_.size() * static_cast<std::size_t>(channels));
  for (std::size_t f = 0; f < mono_.size(); ++f) {
    for (int c = 0; c < channels; ++c) out[f * static_cast<std::size_t>(channels) + c] = mono_[f];
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
