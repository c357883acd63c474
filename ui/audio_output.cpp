#include "ui/audio_output.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace vb {

std::unique_ptr<AudioOutput> openAudioOutput(int wantedRate, int bufferMs) {
  const QString dir = QCoreApplication::applicationDirPath();
  for (const QString& path : {dir + QLatin1String("/verbonik-audio.so"),
                              dir + QLatin1String("/../lib/verbonik/audio/verbonik-audio.so")}) {
    QLibrary module(path);
    // The module stays loaded: its output lives until the program ends.
    module.setLoadHints(QLibrary::PreventUnloadHint);
    if (!module.load()) continue;
    auto open = reinterpret_cast<OpenAudioOutput>(module.resolve(kOpenAudioOutputSymbol));
    if (!open) continue;
    return std::unique_ptr<AudioOutput>(open(wantedRate, bufferMs));
  }
  return nullptr;
}

}  // namespace vb
