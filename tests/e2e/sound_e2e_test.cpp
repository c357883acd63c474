// The desktop program's sounds as a listener hears them: a private
// PulseAudio server with a null sink, its monitor recorded with parec while
// the program runs under a virtual X server and xdotool types. Each cue is
// found in the recording by matching its wave file.

#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace vb {
namespace {

namespace fs = std::filesystem;
using Samples = std::vector<std::int16_t>;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Little-endian 16-bit samples; a shipped cue from its "data" chunk on.
Samples samples(const std::string& bytes) {
  Samples out(bytes.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                       (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
  }
  return out;
}
Samples cue(const char* name) {
  const std::string wave = readBytes(fs::path(VB_SOURCE_DIR) / "data" / "Sound" / name);
  return samples(wave.substr(wave.find("data") + 8));
}

// The normalised correlation of `pattern` with `recording` from sample k.
double fit(const Samples& recording, const Samples& pattern, std::size_t k) {
  double dot = 0, a = 1, b = 1;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    dot += double(recording[k + i]) * pattern[i];
    a += double(recording[k + i]) * recording[k + i];
    b += double(pattern[i]) * pattern[i];
  }
  return dot / std::sqrt(a * b);
}

TEST(SoundE2E, EveryKeystrokeClicksAndAPhraseGivesItsCues) {
  for (const char* tool : {"xvfb-run", "xdotool", "pulseaudio", "parec", "pactl"}) {
    if (std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) != 0) {
      GTEST_SKIP() << tool << " is needed to hear the desktop program";
    }
  }
  std::string pattern = (fs::temp_directory_path() / "vb-sound-XXXXXX").string();
  const fs::path dir = ::mkdtemp(pattern.data());
  fs::copy(fs::path(VB_SOURCE_DIR) / "data", dir, fs::copy_options::recursive);
  // The program and its sound output module, as an unpacked program.
  for (const char* file : {"verbonik", "verbonik-audio.so"}) {
    fs::copy_file(fs::path(VB_BINARY_DIR) / file, dir / file);
  }
  // The start-up sounds pass; fifty keys at ten a second (xdotool waits half
  // its delay after a press, half after the release); Enter, and the answer.
  // `mark` notes how far the recording has come. The server, the recorder
  // and the program run ahead of other work where the system allows it
  // (`nice` goes on at the usual priority otherwise): what is heard is
  // measured, not how busy the machine is.
  std::ofstream(dir / "listen.sh")
      << "cd \"$(dirname \"$0\")\"; F=$PWD; mkdir -m 700 run\n"
         "export HOME=$F XDG_RUNTIME_DIR=$F/run PULSE_SERVER=unix:$F/run/native\n"
         "P='nice -n -10'\n"
         "$P pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no "
         "--load='module-null-sink sink_name=vb norewinds=1 format=s16le rate=22050 channels=1' "
         "--load=\"module-native-protocol-unix socket=$F/run/native auth-anonymous=1\" "
         "> pulse.log 2>&1 & pa=$!\n"
         // A loaded machine can take seconds to bring the server up; the
         // program finds no output if it starts before the sink is there.
         "for i in $(seq 1 300); do pactl list short sinks 2>/dev/null | grep -q vb && break; "
         "sleep 0.1; done\n"
         "$P parec -d vb.monitor --raw --format=s16le --rate=22050 --channels=1 --latency-msec=20 "
         "> all.raw & rec=$!\n"
         "QT_QPA_PLATFORM=xcb $P ./verbonik > program.log 2>&1 & pid=$!\n"
         "WID=$(timeout 30 xdotool search --sync --name 'ВЕРБОНИК' | head -n 1)\n"
         "xdotool windowfocus --sync \"$WID\"\n"
         "mark() { stat -c %s all.raw >> marks; }\n"
         "sleep 2; mark; xdotool type --delay 200 \"$(printf 'a%.0s' $(seq 1 50))\"\n"
         "sleep 0.5; mark; xdotool key Return; sleep 2; mark\n"
         "kill $pid $rec; wait $pid $rec; kill $pa; wait $pa\n";
  const std::string command = "timeout 90 xvfb-run -a -s '-screen 0 1024x768x24' bash '" +
                              (dir / "listen.sh").string() + "' > '" + (dir / "log").string() +
                              "' 2>&1";
  std::system(command.c_str());
  const Samples all = samples(readBytes(dir / "all.raw"));
  std::ifstream in(dir / "marks");
  std::size_t m[3] = {0, 0, 0};
  in >> m[0] >> m[1] >> m[2];
  const std::string logs =
      readBytes(dir / "log") + readBytes(dir / "program.log") + readBytes(dir / "pulse.log");
  fs::remove_all(dir);
  ASSERT_TRUE(m[2] / 2 <= all.size() && m[0] < m[1] && m[1] + 44100 < m[2]) << logs;

  int clicks = 0;
  const Samples click = cue("KeyBoard.wav");
  for (std::size_t k = m[0] / 2; k + click.size() < m[1] / 2; ++k) {
    if (fit(all, click, k) > 0.9) {
      ++clicks;
      k += click.size();
    }
  }
  std::cout << "clicks recorded: " << clicks << " of 50\n";
  EXPECT_GE(clicks, 48) << logs;
  EXPECT_LE(clicks, 50);

  // The send cue, then (after the turn's work) the answer cue: they overlap.
  // The answer is found where it fits best and taken away; what is left
  // holds the send cue whole.
  Samples sent(all.begin() + static_cast<std::ptrdiff_t>(m[1] / 2),
               all.begin() + static_cast<std::ptrdiff_t>(m[2] / 2));
  auto best = [&sent](const Samples& wave) {
    std::pair<std::size_t, double> top{0, 0.0};
    for (std::size_t k = 0; k + wave.size() < sent.size(); ++k) {
      const double f = fit(sent, wave, k);
      if (f > top.second) top = {k, f};
    }
    return top;
  };
  const Samples answer = cue("CpuSound.wav");
  const auto [at, answerFit] = best(answer);
  for (std::size_t i = 0; i < answer.size(); ++i) {
    sent[at + i] = static_cast<std::int16_t>(sent[at + i] - answer[i]);
  }
  const double sendFit = best(cue("Button3.wav")).second;
  std::cout << "answer cue fit " << answerFit << ", send cue fit " << sendFit << "\n";
  EXPECT_GT(answerFit, 0.6);
  EXPECT_GT(sendFit, 0.9);
}

}  // namespace
}  // namespace vb
