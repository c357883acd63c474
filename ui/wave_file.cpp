#include "ui/wave_file.h"

#include <QByteArray>
#include <QFile>

namespace vb {
namespace {

std::uint32_t le32(const QByteArray& bytes, qsizetype at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}
std::uint16_t le16(const QByteArray& bytes, qsizetype at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                    (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}

}  // namespace

std::optional<WaveSamples> readWaveFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  // The program's cues are short; a file of many megabytes is no cue.
  if (file.size() > 64 * 1024 * 1024) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
    return std::nullopt;
  }
  int channels = 0;
  int bits = 0;
  int rate = 0;
  QByteArray data;
  bool haveData = false;
  for (qsizetype at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const qsizetype size = le32(bytes, at + 4);
    const qsizetype body = at + 8;
    const qsizetype available = std::min<qsizetype>(size, bytes.size() - body);
    if (id == "fmt " && available >= 16) {
      const int format = le16(bytes, body);
      channels = le16(bytes, body + 2);
      rate = static_cast<int>(le32(bytes, body + 4));
      bits = le16(bytes, body + 14);
      if (format != 1 && format != 0xFFFE) return std::nullopt;
    } else if (id == "data") {
      data = bytes.mid(body, available);
      haveData = true;
    }
    at = body + size + (size & 1);
  }
  if (!haveData || channels < 1 || channels > 2 || (bits != 8 && bits != 16) || rate <= 0) {
    return std::nullopt;
  }
  WaveSamples wave;
  wave.rate = rate;
  const int frameBytes = channels * bits / 8;
  const qsizetype frames = data.size() / frameBytes;
  wave.mono.reserve(static_cast<std::size_t>(frames));
  for (qsizetype f = 0; f < frames; ++f) {
    int sum = 0;
    for (int c = 0; c < channels; ++c) {
      const qsizetype at = f * frameBytes + c * bits / 8;
      sum += bits == 16 ? static_cast<std::int16_t>(le16(data, at))
                        : (static_cast<std::uint8_t>(data[at]) - 128) * 256;
    }
    wave.mono.push_back(static_cast<std::int16_t>(sum / channels));
  }
  return wave;
}

}  // namespace vb
