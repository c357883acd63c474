// verbonik under Wayland: a headless weston (pixman renderer), the program
// on Qt's Wayland platform, driven through the accessibility bus (AT-SPI)
// since a headless compositor takes no injected keys (atspi_drive.py: Full
// Screen and back, About, the keyboard, a phrase, Exit). The compositor
// must not end the program, screen readers get Russian names and no
// off-screen button, and Exit writes Log.dat.

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/text.h"

namespace vb {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WaylandProgram, WindowCommandsWorkAndExitWritesTheLog) {
  if (std::system("command -v weston && command -v dbus-run-session && "
                  "/usr/bin/python3 -c 'import pyatspi' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "weston, dbus-run-session and python3-pyatspi are needed under Wayland";
  }
  std::string pattern = (fs::temp_directory_path() / "vb-wayland-XXXXXX").string();
  const fs::path dir = ::mkdtemp(pattern.data());
  fs::copy(fs::path(VB_SOURCE_DIR) / "data", dir, fs::copy_options::recursive);
  fs::copy_file(fs::path(VB_BINARY_DIR) / "verbonik", dir / "verbonik");
  fs::copy_file(fs::path(VB_SOURCE_DIR) / "tests" / "e2e" / "atspi_drive.py", dir / "drive.py");
  const std::string logBefore = cp1251ToUtf8(readBytes(dir / "Base" / "Log.dat"));
  std::ofstream(dir / "inside.sh")
      << "export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=vb-wl\n"
         // Sanitizer builds: Qt's Wayland plugins keep some memory to the end
         // and are unloaded before the leak report can name them; leaks of
         // the program's own are caught by the X11 and offscreen runs.
         "export ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\"\n"
         "./verbonik > program.log 2>&1 & pid=$!\n"
         "timeout 40 /usr/bin/python3 drive.py > drive.log 2>&1; echo $? > drive.status\n"
         "for i in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
         "if kill -0 $pid; then kill $pid; echo -1 > status; else wait $pid; echo $? > status; "
         "fi\n";
  std::ofstream(dir / "run.sh")
      << "cd \"$(dirname \"$0\")\"; export XDG_RUNTIME_DIR=$PWD/run; mkdir -m 700 run\n"
         "weston --backend=headless-backend.so --use-pixman --socket=vb-wl --idle-time=0 "
         "> weston.log 2>&1 & w=$!\n"
         "for i in $(seq 1 100); do [ -S run/vb-wl ] && break; sleep 0.1; done\n"
         "timeout 60 dbus-run-session -- bash inside.sh; kill $w; wait $w\n";
  std::system(("timeout 90 bash '" + (dir / "run.sh").string() + "' > /dev/null 2>&1").c_str());
  const std::string drive = readBytes(dir / "drive.log");
  const std::string program = readBytes(dir / "program.log");
  const std::string added =
      cp1251ToUtf8(readBytes(dir / "Base" / "Log.dat")).substr(logBefore.size());
  const std::string status = readBytes(dir / "drive.status") + readBytes(dir / "status");
  fs::remove_all(dir);

  EXPECT_EQ(status, "0\n0\n") << drive << program;
  EXPECT_EQ(program.find("rotocol error"), std::string::npos) << program;
  for (const char* name : {"text | Ваша фраза", "text | Диалог", "push button | Отмена",
                           "push button | Раскладка", "push button | Сказать"}) {
    EXPECT_NE(drive.find(name), std::string::npos) << name << "\n" << drive;
  }
  EXPECT_EQ(drive.find("<ENTER>"), std::string::npos) << drive;
  EXPECT_NE(added.find("USER:     Привет."), std::string::npos) << added;
}

}  // namespace
}  // namespace vb
