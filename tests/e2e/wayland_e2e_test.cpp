// verbonik under Wayland: a headless weston (pixman renderer), the program
// on Qt's Wayland platform, driven through the accessibility bus (AT-SPI)
// since a headless compositor takes no injected keys. Full Screen and back,
// About, the virtual keyboard, a phrase and Exit; the compositor must not
// end the program, and Exit writes Log.dat.

#include <sys/wait.h>
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

bool shellSays(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WaylandProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!shellSays("command -v weston") || !shellSays("command -v dbus-run-session")) {
      GTEST_SKIP() << "weston and dbus-run-session are needed to try the program under Wayland";
    }
    if (!shellSays("/usr/bin/python3 -c 'import pyatspi'")) {
      GTEST_SKIP() << "python3-pyatspi is needed to drive the program under Wayland";
    }
    const fs::path program = fs::path(VB_BINARY_DIR) / "verbonik";
    if (!fs::exists(program)) GTEST_SKIP() << "the desktop program is not built";
    std::string pattern = (fs::temp_directory_path() / "vb-wayland-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    fs::copy(fs::path(VB_SOURCE_DIR) / "data", folder_, fs::copy_options::recursive);
    fs::copy_file(program, folder_ / "verbonik");
    fs::copy_file(fs::path(VB_SOURCE_DIR) / "tests" / "e2e" / "atspi_drive.py",
                  folder_ / "drive.py");
  }
  void TearDown() override {
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
  }

  std::string logs() {
    std::string all;
    for (const char* name : {"weston.log", "program.log", "drive.log", "run.log"}) {
      all += std::string("---- ") + name + "\n" + readBytes(folder_ / name);
    }
    return all;
  }

  fs::path folder_;
};

TEST_F(WaylandProgram, WindowCommandsWorkAndExitWritesTheLog) {
  const std::string logBefore = readBytes(folder_ / "Base" / "Log.dat");
  std::ofstream(folder_ / "inside.sh")
      << "export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=vb-wl\n"
         // Sanitizer builds: Qt's Wayland plugins keep some memory to the end
         // and are unloaded before the leak report can name them; leaks of
         // the program's own are caught by the X11 and offscreen runs.
         "export ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\"\n"
         "./verbonik > program.log 2>&1 &\n"
         "pid=$!\n"
         "timeout 40 /usr/bin/python3 drive.py > drive.log 2>&1; echo $? > drive.status\n"
         "for i in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
         "if kill -0 $pid 2>/dev/null; then kill $pid; echo -1 > status;\n"
         "else wait $pid; echo $? > status; fi\n";
  std::ofstream(folder_ / "run.sh")
      << "cd \"$(dirname \"$0\")\"\n"
         "export XDG_RUNTIME_DIR=$PWD/run; mkdir -m 700 run\n"
         "weston --backend=headless-backend.so --use-pixman --socket=vb-wl --idle-time=0 "
         "--width=1024 --height=768 > weston.log 2>&1 &\n"
         "w=$!\n"
         "for i in $(seq 1 100); do [ -S run/vb-wl ] && break; sleep 0.1; done\n"
         "timeout 60 dbus-run-session -- bash inside.sh\n"
         "kill $w; wait $w\n";
  const std::string command = "timeout 90 bash '" + (folder_ / "run.sh").string() + "' > '" +
                              (folder_ / "run.log").string() + "' 2>&1";
  std::system(command.c_str());

  EXPECT_EQ(readBytes(folder_ / "drive.status"), "0\n") << logs();
  EXPECT_EQ(readBytes(folder_ / "status"), "0\n") << logs();
  EXPECT_EQ(readBytes(folder_ / "program.log").find("rotocol error"), std::string::npos) << logs();
  // The names a screen reader is given, in Russian; no off-screen button.
  const std::string names = readBytes(folder_ / "drive.log");
  for (const char* name : {"text | Ваша фраза", "text | Диалог", "push button | Отмена",
                           "push button | Раскладка", "push button | Сказать"}) {
    EXPECT_NE(names.find(name), std::string::npos) << name << "\n" << names;
  }
  EXPECT_EQ(names.find("<ENTER>"), std::string::npos) << names;
  const std::string log = cp1251ToUtf8(readBytes(folder_ / "Base" / "Log.dat"));
  ASSERT_GT(log.size(), cp1251ToUtf8(logBefore).size()) << logs();
  EXPECT_NE(log.find("USER:     Привет."), std::string::npos)
      << log.substr(cp1251ToUtf8(logBefore).size());
}

}  // namespace
}  // namespace vb
