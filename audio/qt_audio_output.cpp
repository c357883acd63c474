// The audio module (verbonik-audio.so): the default device through Qt
// Multimedia. Loaded by the desktop program once its window is drawn.

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>

#include "ui/audio_output.h"

namespace vb {
namespace {

// The server's own complaint when there is no server to talk to: the
// program stays silent and says nothing.
QtMessageHandler previousHandler = nullptr;
void quietAboutNoServer(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("PulseAudioService:"))) return;
  if (previousHandler) previousHandler(type, context, text);
}

class QtAudioOutput final : public AudioOutput {
 public:
  QtAudioOutput(const QAudioDevice& device, const QAudioFormat& format, int bufferMs)
      : format_(format), sink_(device, format) {
    sink_.setBufferSize(format.bytesForDuration(static_cast<qint64>(bufferMs) * 1000));
    QObject::connect(&sink_, &QAudioSink::stateChanged, &sink_, [this](QAudio::State state) {
      if (state == QAudio::StoppedState && sink_.error() != QAudio::NoError && stream_ && lost_) {
        lost_();
      }
    });
  }
  ~QtAudioOutput() override { sink_.stop(); }

  int rate() const override { return format_.sampleRate(); }
  int channels() const override { return format_.channelCount(); }
  bool open() override {
    stream_ = sink_.start();
    if (stream_ && sink_.error() == QAudio::NoError) return true;
    close();
    return false;
  }
  void close() override {
    stream_ = nullptr;
    sink_.stop();
  }
  std::int64_t bytesFree() const override { return stream_ ? sink_.bytesFree() : 0; }
  void write(const char* data, std::int64_t bytes) override {
    if (stream_) stream_->write(data, bytes);
  }
  void onLost(std::function<void()> lost) override { lost_ = std::move(lost); }

 private:
  QAudioFormat format_;
  QAudioSink sink_;
  QIODevice* stream_ = nullptr;  // the sink's, while open
  std::function<void()> lost_;
};

}  // namespace
}  // namespace vb

extern "C" Q_DECL_EXPORT vb::AudioOutput* vb_open_audio_output(int wantedRate, int bufferMs) {
  vb::previousHandler = qInstallMessageHandler(vb::quietAboutNoServer);
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  qInstallMessageHandler(vb::previousHandler);
  if (device.isNull()) return nullptr;
  QAudioFormat format;
  format.setSampleRate(wantedRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format)) {
    format.setSampleRate(device.preferredFormat().sampleRate());
    format.setChannelCount(std::clamp(device.preferredFormat().channelCount(), 1, 2));
  }
  return new vb::QtAudioOutput(device, format, bufferMs);
}
