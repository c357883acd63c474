// verbonik, the desktop program, as a user runs it: the built program copied
// with the shipped data into a fresh folder and started under a virtual X
// server; keys typed and the menu used through xdotool; the dialogue then
// read back from Base\Log.dat.

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

bool haveTool(const char* name) {
  const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class GuiProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!haveTool("xvfb-run") || !haveTool("xdotool")) {
      GTEST_SKIP() << "xvfb-run and xdotool are needed to drive the desktop program";
    }
    const fs::path program = fs::path(VB_BINARY_DIR) / "verbonik";
    if (!fs::exists(program)) GTEST_SKIP() << "the desktop program is not built";
    std::string pattern = (fs::temp_directory_path() / "vb-gui-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    fs::copy(fs::path(VB_SOURCE_DIR) / "data", folder_, fs::copy_options::recursive);
    // The program works in the folder it lies in.
    fs::copy_file(program, folder_ / "verbonik");
  }
  void TearDown() override {
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
  }

  // Runs `steps` (shell lines using $WID, the main window) under a virtual
  // X server while the program runs; returns the program's exit status,
  // or -1 when it did not end by itself.
  int drive(const std::string& steps, const std::string& start = "./verbonik") {
    const fs::path script = folder_ / "drive.sh";
    std::ofstream(script)
        << "#!/bin/bash\n"
           "cd \"$(dirname \"$0\")\"\n"
           // The tests' own offscreen platform is not for the program.
           "export QT_QPA_PLATFORM=xcb\n"
        << start
        << " > program.log 2>&1 &\n"
           "pid=$!\n"
           "WID=$(timeout 30 xdotool search --sync --name 'ВЕРБОНИК' | head -n 1)\n"
           "[ -n \"$WID\" ] || { kill $pid; echo -4 > status; exit 0; }\n"
           // The input unlocks once the base is counted after the first frame.
           "sleep 2\n"
           "xdotool windowfocus --sync \"$WID\"\n"
        << steps
        << "\n"
           "for i in $(seq 1 100); do\n"
           "  kill -0 $pid 2>/dev/null || { wait $pid; echo $? > status; exit 0; }\n"
           "  sleep 0.1\n"
           "done\n"
           "kill $pid; echo -1 > status\n";
    fs::permissions(script, fs::perms::owner_all);
    const std::string command = "timeout 120 xvfb-run -a -s '-screen 0 1024x768x24' '" +
                                script.string() + "' > '" + (folder_ / "xvfb.log").string() +
                                "' 2>&1";
    if (std::system(command.c_str()) != 0) return -2;
    std::ifstream in(folder_ / "status");
    int status = -3;
    in >> status;
    return status;
  }

  fs::path folder_;
};

TEST_F(GuiProgram, TwoPhrasesThenExitLeaveTheDialogueInTheLog) {
  const std::string logBefore = readBytes(folder_ / "Base" / "Log.dat");
  // The first phrase is typed in the Latin layout and turned into Cyrillic
  // by Ctrl+S (the E/R command); the second is typed as it stands. Exit is
  // the last item of the first menu, reached from its caption.
  const int status = drive(
      "xdotool type --delay 60 'ghbdtn'\n"
      "sleep 0.5\n"
      "xdotool key ctrl+s\n"
      "sleep 0.5\n"
      "xdotool key Return\n"
      "sleep 1.5\n"
      "xdotool type --delay 60 'Hello there'\n"
      "sleep 0.5\n"
      "xdotool key Return\n"
      "sleep 1.5\n"
      "eval $(xdotool getwindowgeometry --shell \"$WID\")\n"
      "xdotool mousemove $((X + 25)) $((Y + 9)) click 1\n"
      "sleep 0.7\n"
      "xdotool key Up\n"
      "sleep 0.3\n"
      "xdotool key Return\n");
  ASSERT_EQ(status, 0) << readBytes(folder_ / "xvfb.log") << readBytes(folder_ / "program.log");

  const std::string log = cp1251ToUtf8(readBytes(folder_ / "Base" / "Log.dat"));
  ASSERT_GT(log.size(), cp1251ToUtf8(logBefore).size());
  const std::string added = log.substr(cp1251ToUtf8(logBefore).size());
  EXPECT_NE(added.find("USER:     Привет."), std::string::npos) << added;
  EXPECT_NE(added.find("USER:     Hello there."), std::string::npos) << added;
  std::size_t answers = 0;
  for (auto at = added.find("CPU:"); at != std::string::npos; at = added.find("CPU:", at + 1)) {
    ++answers;
  }
  EXPECT_GE(answers, 2u) << added;
}

// Exit is the last item of the first menu, reached from its caption.
constexpr const char* kChooseExit =
    "eval $(xdotool getwindowgeometry --shell \"$WID\")\n"
    "xdotool mousemove $((X + 25)) $((Y + 9)) click 1\n"
    "sleep 0.7\n"
    "xdotool key Up\n"
    "sleep 0.3\n"
    "xdotool key Return\n";

TEST_F(GuiProgram, DirNamesTheFolderAndTheStartClearsWhatAKilledWriterLeft) {
  pid_t gone = ::fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const fs::path debris = folder_ / "Base" / (".vb" + std::to_string(gone) + "-1.tmp");
  std::ofstream(debris) << "a copy";
  fs::create_directory(folder_ / "bin");
  fs::rename(folder_ / "verbonik", folder_ / "bin" / "verbonik");
  // Without --dir the program would go to the user's folder under HOME.
  // The first turn on the shipped base builds its index and learns the
  // phrase (a rewrite of Words.Dat): slow under the sanitizers on a busy
  // machine, so the answer is given time before Exit.
  const int status = drive(std::string("xdotool type --delay 60 'Hello there'\n"
                                       "xdotool key Return\n"
                                       "sleep 4\n") +
                               kChooseExit,
                           "HOME=\"$PWD/home\" bin/verbonik --dir .");
  ASSERT_EQ(status, 0) << readBytes(folder_ / "xvfb.log") << readBytes(folder_ / "program.log");
  EXPECT_NE(cp1251ToUtf8(readBytes(folder_ / "Base" / "Log.dat")).find("USER:     Hello there."),
            std::string::npos);
  // No copy of the knowledge base under HOME (the audio client library may
  // leave its own settings folder there).
  EXPECT_FALSE(fs::exists(folder_ / "home" / ".local" / "share" / "verbonik"));
  EXPECT_FALSE(fs::exists(debris));
}

// The command line is read before Qt starts: help, version and a bad option
// need no display.
TEST(GuiCommandLine, HelpVersionAndBadOptionsWorkWithoutADisplay) {
  const fs::path program = fs::path(VB_BINARY_DIR) / "verbonik";
  if (!fs::exists(program)) GTEST_SKIP() << "the desktop program is not built";
  const fs::path out = fs::temp_directory_path() / ("vb-gui-out-" + std::to_string(::getpid()));
  struct Run {
    int status;
    std::string out, err;
  };
  auto run = [&](const std::string& args) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                program.string() + "' " + args + " > '" + out.string() +
                                ".1' 2> '" + out.string() + ".2'";
    const int status = std::system(command.c_str());
    Run r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(out.string() + ".1"),
          readBytes(out.string() + ".2")};
    fs::remove(out.string() + ".1");
    fs::remove(out.string() + ".2");
    return r;
  };
  Run help = run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--dir"), std::string::npos);
  EXPECT_EQ(help.err, "");
  Run version = run("-V");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("2.546"), std::string::npos);
  for (const char* bad : {"--colour", "--dir", "stray"}) {
    Run r = run(bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.out, "") << bad;
    EXPECT_NE(r.err.find("verbonik --help"), std::string::npos) << bad << ": " << r.err;
  }
  Run missing = run("--dir /nowhere/at/all");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("/nowhere/at/all"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace vb
