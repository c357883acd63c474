#include "ui/sound_bank.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "engine/disk_file_store.h"
#include "engine/failure.h"

namespace vb {
namespace {

constexpr std::array<Cue, 6> kCues{Cue::KeyClick,    Cue::UserLine, Cue::Conversion,
                                   Cue::StartEffect, Cue::CpuLine,  Cue::Closing};

// A RIFF file of the WAVE form that can be read.
bool isWaveFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray head = file.read(12);
  return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
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
    const QString path = QString::fromStdString(located->string());
    if (!isWaveFile(path)) throw cannotOpen(name);
    players_[slot(cue)].path = path;
  }
  audible_ = !QMediaDevices::defaultAudioOutput().isNull();
  if (!audible_) return;
  for (Player& player : players_) {
    player.effect = std::make_unique<QSoundEffect>();
    player.effect->setSource(QUrl::fromLocalFile(player.path));
  }
}

SoundBank::~SoundBank() = default;

void SoundBank::play(Cue cue) {
  Player& player = players_[slot(cue)];
  ++player.requests;
  // Still playing: it plays on. Played through (or never played): from the
  // start. A sound the system refuses is simply not heard.
  if (!player.effect || player.effect->isPlaying()) return;
  ++player.starts;
  player.effect->play();
}

}  // namespace vb
