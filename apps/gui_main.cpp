// verbonik: the desktop program. It works in its own folder (the folder of
// the executable, which holds Base, Sound, Images, Config.ini...).

#include <QApplication>
#include <QDir>
#include <filesystem>

#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "engine/random_source.h"
#include "session/clock.h"
#include "ui/codec.h"
#include "ui/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("verbonik");
  const QString folder = QCoreApplication::applicationDirPath();
  QDir::setCurrent(folder);

  vb::DiskFileStore files(std::filesystem::path(folder.toStdString()));
  vb::ClockRandom random;
  vb::SystemClock clock;
  vb::prepareApplication();
  std::unique_ptr<vb::Program> program;
  try {
    program = std::make_unique<vb::Program>(files, random, clock);
  } catch (const vb::Failure& failure) {
    vb::showFatalError(vb::toQt(vb::displayMessage(failure.what())));
    return 1;
  }
  program->onClosed([] { QCoreApplication::quit(); });
  program->start();
  return QApplication::exec();
}
