// verbonik: the desktop program. It works in its own folder, which holds
// Base, Sound, Images, Config.ini...: the folder of the executable when Base
// stands beside it (an unpacked program, the build tree), else the user's
// own folder ~/.local/share/verbonik, filled from the installed data on
// first start.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <filesystem>

#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "engine/random_source.h"
#include "session/clock.h"
#include "session/program_folder.h"
#include "ui/codec.h"
#include "ui/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("verbonik");
  // Ties the windows to the menu entry and its icon once installed.
  QApplication::setDesktopFileName("io.github.verbonik.Verbonik");
  QApplication::setWindowIcon(QIcon::fromTheme("io.github.verbonik.Verbonik"));
  vb::ProgramFolder place;
  try {
    vb::FolderRequest request;
    request.executableDir = QCoreApplication::applicationDirPath().toStdString();
    request.environment = vb::processEnvironment();
    place = vb::resolveProgramFolder(request);
  } catch (const vb::Failure& failure) {
    vb::prepareApplication();
    vb::showFatalError(vb::toQt(vb::displayMessage(failure.what())));
    return 1;
  }
  const QString folder = QString::fromStdString(place.path.string());
  QDir::setCurrent(folder);

  vb::DiskFileStore files(place.path);
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
