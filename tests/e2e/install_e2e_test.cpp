// The installed program as a new user meets it: `cmake --install` into a
// temporary prefix, then the installed console started with a fresh home
// folder and no XDG_DATA_HOME. Its folder ~/.local/share/verbonik is created
// and filled from the installed data, answers come from it, what it learns
// stays there across starts, and the installed data is never written.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/text.h"

namespace vb {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

struct Outcome {
  int status = -1;
  std::string out, err;
};

// Runs `argv` in `cwd` with `env` added to (or, for an empty value, taken
// out of) the environment, feeding `input` on standard input.
Outcome run(std::vector<std::string> argv, const fs::path& cwd,
            const std::vector<std::pair<std::string, std::string>>& env, const std::string& input) {
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe";
    return {};
  }
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    if (::chdir(cwd.c_str()) != 0) ::_exit(126);
    for (const auto& [name, value] : env) {
      if (value.empty()) {
        ::unsetenv(name.c_str());
      } else {
        ::setenv(name.c_str(), value.c_str(), 1);
      }
    }
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  ::signal(SIGPIPE, SIG_IGN);
  std::string_view rest = input;
  while (!rest.empty()) {
    ssize_t n = ::write(in[1], rest.data(), rest.size());
    if (n <= 0) break;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  ::close(in[1]);

  Outcome result;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  int open = 2;
  while (open > 0 && std::chrono::steady_clock::now() < deadline) {
    if (::poll(fds, 2, 1000) <= 0) continue;
    for (auto& fd : fds) {
      if (fd.fd < 0 || !(fd.revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      ssize_t n = ::read(fd.fd, buffer, sizeof buffer);
      if (n > 0) {
        (&fd == &fds[0] ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      } else {
        ::close(fd.fd);
        fd.fd = -1;
        --open;
      }
    }
  }
  for (auto& fd : fds) {
    if (fd.fd >= 0) ::close(fd.fd);
  }
  if (open > 0) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  EXPECT_EQ(open, 0) << "the program did not end: " << argv[0];
  return result;
}

class InstalledProgram : public ::testing::Test {
 protected:
  // One install per test program, into a temporary prefix; its output when
  // it failed, so that every test reports it (a failure in a suite's set-up
  // would only skip them).
  static const std::string& installOnce() {
    static const std::string failure = [] {
      std::string pattern = (fs::temp_directory_path() / "vb-install-XXXXXX").string();
      root_ = new fs::path(::mkdtemp(pattern.data()));
      Outcome install =
          run({"cmake", "--install", VB_BINARY_DIR, "--prefix", (*root_ / "usr").string()}, *root_,
              {}, "");
      return install.status == 0 ? std::string() : install.out + install.err;
    }();
    return failure;
  }
  static void TearDownTestSuite() {
    if (!root_) return;
    std::error_code ec;
    fs::remove_all(*root_, ec);
  }
  void SetUp() override {
    const std::string& failure = installOnce();
    ASSERT_TRUE(failure.empty()) << "cmake --install failed:\n" << failure;
    home_ = *root_ / ("home-" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(home_);
  }

  fs::path prefix() const { return *root_ / "usr"; }
  fs::path userFolder() const { return home_ / ".local" / "share" / "verbonik"; }

  // The installed console, from a folder that holds no Base.
  Outcome console(std::vector<std::string> args, const std::string& input,
                  std::vector<std::pair<std::string, std::string>> env = {}) const {
    args.insert(args.begin(), (prefix() / "bin" / "verbonik-console").string());
    env.insert(env.begin(), {{"HOME", home_.string()}, {"XDG_DATA_HOME", ""}, {"NO_COLOR", "1"}});
    return run(args, home_, env, input);
  }

  static fs::path* root_;
  fs::path home_;
};

fs::path* InstalledProgram::root_ = nullptr;

TEST_F(InstalledProgram, LaysOutProgramsDataMenuEntryIconsAndMetadata) {
  for (const char* file : {
           "bin/verbonik-console",
           "share/verbonik/Base/Words.Dat",
           "share/verbonik/Config.ini",
           "share/applications/io.github.verbonik.Verbonik.desktop",
           "share/metainfo/io.github.verbonik.Verbonik.metainfo.xml",
           "share/icons/hicolor/scalable/apps/io.github.verbonik.Verbonik.svg",
           "share/icons/hicolor/48x48/apps/io.github.verbonik.Verbonik.png",
           "share/icons/hicolor/128x128/apps/io.github.verbonik.Verbonik.png",
           "share/icons/hicolor/256x256/apps/io.github.verbonik.Verbonik.png",
       }) {
    EXPECT_TRUE(fs::is_regular_file(prefix() / file)) << file;
  }
  std::string entry = readFile(prefix() / "share/applications/io.github.verbonik.Verbonik.desktop");
  EXPECT_NE(entry.find("\nExec=verbonik\n"), std::string::npos);
  EXPECT_NE(entry.find("\nName=Вербоник\n"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=io.github.verbonik.Verbonik\n"), std::string::npos);
}

TEST_F(InstalledProgram, FirstStartFillsTheUsersFolderWhichThenKeepsWhatItLearned) {
  const fs::path shipped = prefix() / "share" / "verbonik" / "Base" / "Words.Dat";
  const std::string shippedWords = readFile(shipped);
  // Latin nonsense: no key of the phrase base occurs in it, so it is learned.
  const std::string learned = "ZQXW VBNM PLOKIJ JHGF^";

  Outcome first = console({"--seed", "7"}, "Привет\nzqxw vbnm plokij jhgf\n/exit\n");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.out.find("USER: Привет."), std::string::npos) << first.out;
  EXPECT_GE(count(first.out, "\nCPU:  "), 2u) << first.out;

  // The folder is a copy of the installed data, grown by learning.
  const fs::path words = userFolder() / "Base" / "Words.Dat";
  for (const char* file : {"Base/Povtor.Dat", "Base/AI.dat", "Base/dictionary.dat", "Config.ini",
                           "Sound/Button1.wav", "Images/Foto.bmp"}) {
    EXPECT_TRUE(fs::exists(userFolder() / file)) << file;
  }
  std::string grown = readFile(words);
  EXPECT_GE(grown.size(), shippedWords.size() + learned.size());
  EXPECT_NE(grown.find(learned), std::string::npos);
  EXPECT_EQ(count(readFile(userFolder() / "Base" / "Log.dat"), utf8To1251("Конец диалога")), 1u);

  // The next start keeps it all and adds its own dialogue to the log.
  Outcome second = console({}, "Как дела?\n/exit\n");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_NE(second.out.find("CPU:  "), std::string::npos) << second.out;
  EXPECT_NE(readFile(words).find(learned), std::string::npos);
  EXPECT_EQ(count(readFile(userFolder() / "Base" / "Log.dat"), utf8To1251("Конец диалога")), 2u);

  // The installed data was never written.
  EXPECT_EQ(readFile(shipped), shippedWords);
}

TEST_F(InstalledProgram, XdgDataHomeNamesTheFolderAndDirOverridesIt) {
  fs::path xdg = home_ / "xdg";
  Outcome r = console({}, "/exit\n", {{"XDG_DATA_HOME", xdg.string()}});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(xdg / "verbonik" / "Base" / "Words.Dat"));
  EXPECT_FALSE(fs::exists(userFolder()));

  fs::path own = home_ / "own";
  fs::create_directories(own);
  Outcome given = console({"--dir", own.string()}, "/exit\n");
  EXPECT_EQ(given.status, 1);  // an empty folder holds no knowledge base
  EXPECT_TRUE(fs::is_empty(own)) << "nothing is copied into a folder given with --dir";
}

TEST_F(InstalledProgram, CheckRestoresMissingFilesAndReportsFaultsByFileAndLine) {
  Outcome clean = console({"--check"}, "");
  EXPECT_TRUE(clean.status == 0 || clean.status == 1) << clean.err;
  EXPECT_EQ(clean.err, "");

  fs::remove(userFolder() / "Base" / "Pause.Dat");
  std::ofstream(userFolder() / "Base" / "AI.dat", std::ios::binary | std::ios::trunc)
      << utf8To1251("Одна строка") << "\r\n";
  Outcome broken = console({"--check"}, "");
  EXPECT_EQ(broken.status, 1);
  EXPECT_TRUE(fs::exists(userFolder() / "Base" / "Pause.Dat")) << "a missing file comes back";
  EXPECT_NE(broken.out.find("Base\\AI.dat: всего одна строка"), std::string::npos) << broken.out;
  EXPECT_EQ(broken.out.find("Pause.Dat"), std::string::npos) << broken.out;
}

}  // namespace
}  // namespace vb
