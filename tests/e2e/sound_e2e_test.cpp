// The desktop program's sounds as a listener hears them: a private
// PulseAudio server with a null sink, its monitor recorded with parec while
// the program runs under a virtual X server and xdotool types. Each cue is
// found in the recording by matching its wave file.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vb {
namespace {

namespace fs = std::filesystem;
using Samples = std::vector<std::int16_t>;

bool haveTool(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Samples toSamples(const std::string& bytes) {
  Samples out(bytes.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                       (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
  }
  return out;
}

// The samples of a shipped cue (16-bit mono at the recording's rate).
Samples cue(const char* name) {
  const std::string wave = readBytes(fs::path(VB_SOURCE_DIR) / "data" / "Sound" / name);
  const auto data = wave.find("data");
  return data == std::string::npos ? Samples{} : toSamples(wave.substr(data + 8));
}

// How many times `pattern` (its first 50 ms) stands in `recording`: places
// where their normalised correlation passes 0.9, a pattern's length apart.
int matches(const Samples& recording, Samples pattern) {
  pattern.resize(std::min<std::size_t>(pattern.size(), 1102));
  const std::size_t n = pattern.size();
  if (n == 0 || recording.size() < n) return 0;
  double patternEnergy = 0;
  for (auto s : pattern) patternEnergy += double(s) * s;
  double windowEnergy = 0;
  for (std::size_t i = 0; i < n; ++i) windowEnergy += double(recording[i]) * recording[i];
  int found = 0;
  for (std::size_t k = 0; k + n <= recording.size(); ++k) {
    if (k > 0) {
      windowEnergy += double(recording[k + n - 1]) * recording[k + n - 1] -
                      double(recording[k - 1]) * recording[k - 1];
    }
    if (windowEnergy < patternEnergy * 0.25) continue;
    double dot = 0;
    for (std::size_t i = 0; i < n; ++i) dot += double(recording[k + i]) * pattern[i];
    if (dot / std::sqrt(patternEnergy * std::max(windowEnergy, 1.0)) > 0.9) {
      ++found;
      k += n;
      windowEnergy = 0;
      for (std::size_t i = 0; i + 1 < n && k + i < recording.size(); ++i) {
        windowEnergy += double(recording[k + i]) * recording[k + i];
      }
    }
  }
  return found;
}

class SoundE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"xvfb-run", "xdotool", "pulseaudio", "parec", "pactl"}) {
      if (!haveTool(tool)) GTEST_SKIP() << tool << " is needed to hear the desktop program";
    }
    const fs::path program = fs::path(VB_BINARY_DIR) / "verbonik";
    if (!fs::exists(program)) GTEST_SKIP() << "the desktop program is not built";
    std::string pattern = (fs::temp_directory_path() / "vb-sound-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    fs::copy(fs::path(VB_SOURCE_DIR) / "data", folder_, fs::copy_options::recursive);
    fs::copy_file(program, folder_ / "verbonik");
  }
  void TearDown() override {
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
  }

  // Runs `steps` while the program plays into a private server and the
  // recorder listens; every stage waits a bounded time. Returns the
  // recording (mono, 22050 Hz), split at the line `mark` writes.
  bool record(const std::string& steps) {
    const fs::path script = folder_ / "listen.sh";
    std::ofstream(script)
        << "#!/bin/bash\n"
           "cd \"$(dirname \"$0\")\"\n"
           "F=$PWD; export HOME=$F XDG_RUNTIME_DIR=$F/run PULSE_SERVER=unix:$F/run/native\n"
           "mkdir -p run\n"
           "pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no "
           "--log-target=stderr --load='module-null-sink sink_name=vbnull norewinds=1 format=s16le "
           "rate=22050 channels=1' "
           "--load=\"module-native-protocol-unix socket=$F/run/native auth-anonymous=1\" "
           "> pulse.log 2>&1 &\n"
           "pa=$!\n"
           "for i in $(seq 1 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done\n"
           "pactl set-default-sink vbnull\n"
           "parec -d vbnull.monitor --raw --format=s16le --rate=22050 --channels=1 "
           "--latency-msec=20 > all.raw 2> parec.log &\n"
           "rec=$!\n"
           "export QT_QPA_PLATFORM=xcb\n"
           "./verbonik > program.log 2>&1 &\n"
           "pid=$!\n"
           "WID=$(timeout 30 xdotool search --sync --name 'ВЕРБОНИК' | head -n 1)\n"
           "[ -n \"$WID\" ] && xdotool windowfocus --sync \"$WID\"\n"
           "mark() { stat -c %s all.raw >> marks; }\n"
        << steps
        << "\n"
           "kill $pid $rec 2>/dev/null; wait $pid $rec 2>/dev/null\n"
           "kill $pa; wait $pa\n"
           "[ -n \"$WID\" ] && echo ok > status\n";
    fs::permissions(script, fs::perms::owner_all);
    const std::string command = "timeout 90 xvfb-run -a -s '-screen 0 1024x768x24' '" +
                                script.string() + "' > '" + (folder_ / "xvfb.log").string() +
                                "' 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    return readBytes(folder_ / "status") == "ok\n";
  }

  // The recording between the n-th mark (from 0) and the next one.
  Samples part(int n) {
    std::ifstream in(folder_ / "marks");
    std::vector<std::size_t> marks;
    for (std::size_t at = 0; in >> at;) marks.push_back(at & ~std::size_t{1});
    const std::string all = readBytes(folder_ / "all.raw");
    marks.push_back(all.size());
    const auto from = static_cast<std::size_t>(n) < marks.size() ? marks[n] : all.size();
    const auto to = static_cast<std::size_t>(n + 1) < marks.size() ? marks[n + 1] : all.size();
    return toSamples(all.substr(from, to > from ? to - from : 0));
  }

  std::string logs() {
    return readBytes(folder_ / "xvfb.log") + readBytes(folder_ / "program.log") +
           readBytes(folder_ / "parec.log");
  }

  fs::path folder_;
};

TEST_F(SoundE2E, EveryKeystrokeClicksAndAPhraseGivesItsCues) {
  // The start-up sounds pass first; then fifty keys at ten a second; then
  // Enter sends the phrase and the answer comes.
  ASSERT_TRUE(
      record("sleep 2; mark\n"
             // xdotool waits half its delay after the press, half after the release.
             "xdotool type --delay 200 \"$(printf 'a%.0s' $(seq 1 50))\"\n"
             "sleep 0.5; mark\n"
             "xdotool key Return\n"
             "sleep 2; mark\n"))
      << logs();
  const int clicks = matches(part(0), cue("KeyBoard.wav"));
  std::cout << "clicks recorded: " << clicks << " of 50\n";
  EXPECT_GE(clicks, 48) << logs();
  EXPECT_LE(clicks, 50);
  // The turn asks for the send cue, the answer cue and (the field emptied)
  // a click in one go: they sound together, each from its first sample.
  Samples together = cue("CpuSound.wav");
  for (const char* name : {"Button3.wav", "KeyBoard.wav"}) {
    const Samples other = cue(name);
    for (std::size_t i = 0; i < other.size() && i < together.size(); ++i) {
      together[i] = static_cast<std::int16_t>(std::clamp(together[i] + other[i], -32768, 32767));
    }
  }
  EXPECT_EQ(matches(part(1), together), 1) << "the send and answer cues";
}

}  // namespace
}  // namespace vb
