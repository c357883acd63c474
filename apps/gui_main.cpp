// verbonik: the desktop program. It works in its program folder: the one
// given by --dir; else the folder of the executable when Base lies beside it
// (an unpacked program, the build tree); else the user's own copy of the
// installed data. Every path of the program is relative to that folder.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <filesystem>
#include <memory>

#include "apps/gui_options.h"
#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "engine/random_source.h"
#include "session/clock.h"
#include "session/program_folder.h"
#include "ui/codec.h"
#include "ui/program.h"
#include "ui/session_bus_warm_up.h"

// Sanitizer builds: libraries under Qt keep some memory for the whole
// process and never free it (the font configuration cache, the D-Bus
// connection of the platform integration); nothing else is exempt.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libdbus-1.so\n"
         "leak:libwayland-client.so\n";
}

int main(int argc, char** argv) {
  vb::GuiOptions options;
  if (auto status = vb::takeGuiOptions(argc, argv, options)) return *status;
  QApplication app(argc, argv);
  const vb::SessionBusWarmUp sessionBus;
  QApplication::setApplicationName("verbonik");
  // Ties the window to its menu entry and icon when installed.
  QApplication::setDesktopFileName("io.github.verbonik.Verbonik");
  vb::prepareApplication();

  std::filesystem::path folder;
  try {
    vb::FolderRequest request;
    request.executableDir =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    request.environment = vb::processEnvironment();
    if (!options.dir.empty()) request.givenDir = options.dir;
    folder = vb::resolveProgramFolder(request).path;
  } catch (const vb::Failure& failure) {
    vb::showFatalError(vb::toQt(failure.what()));
    return 1;
  }
  QDir::setCurrent(QString::fromStdString(folder.string()));

  vb::DiskFileStore files(folder);
  files.removeStaleTemporaries();
  vb::ClockRandom random;
  vb::SystemClock clock;
  std::unique_ptr<vb::Program> program;
  try {
    program = std::make_unique<vb::Program>(files, random, clock);
  } catch (const vb::Failure& failure) {
    // A sound player could not open its file: no window is shown.
    vb::showFatalError(vb::toQt(vb::displayMessage(failure.what())));
    return 1;
  }
  program->onClosed([] { QCoreApplication::quit(); });
  // Looking the icon up in the theme takes a few milliseconds: it is set
  // once the window is drawn.
  program->start(
      [] { QApplication::setWindowIcon(QIcon::fromTheme("io.github.verbonik.Verbonik")); });
  return QApplication::exec();
}
