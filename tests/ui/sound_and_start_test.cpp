// The sound players at start: a wave file that cannot be opened keeps the
// program from starting; names are found in any letter case; a play
// request is counted whether or not a device plays it.
#include <QScreen>
#include <algorithm>
#include <fstream>

#include "engine/failure.h"
#include "session/session.h"
#include "tests/ui/ui_fixture.h"
#include "ui/main_window.h"
#include "ui/sound_bank.h"
#include "ui/wave_file.h"

namespace vb::uitest {
namespace {

class SoundTest : public UiTest {};

// A device that keeps what it is given.
class KeptOutput final : public AudioOutput {
 public:
  KeptOutput(int rate, std::vector<std::int16_t>& heard) : rate_(rate), heard_(heard) {}
  int rate() const override { return rate_; }
  int channels() const override { return 1; }
  bool open() override { return true; }
  void close() override {}
  std::int64_t bytesFree() const override { return 1 << 20; }
  void write(const char* data, std::int64_t bytes) override {
    const auto* samples = reinterpret_cast<const std::int16_t*>(data);
    heard_.insert(heard_.end(), samples, samples + bytes / 2);
  }
  void onLost(std::function<void()>) override {}

 private:
  int rate_;
  std::vector<std::int16_t>& heard_;
};

TEST_F(SoundTest, ASoundPlayedBeforeTheDeviceIsLookedForIsHeardFromItsStart) {
  std::vector<std::int16_t> heard;
  int looks = 0;
  SoundBank bank(*files_, [&](int rate, int) {
    ++looks;
    return std::make_unique<KeptOutput>(rate, heard);
  });
  EXPECT_EQ(looks, 0);
  bank.play(Cue::StartEffect);
  EXPECT_EQ(looks, 1);
  EXPECT_EQ(bank.starts(Cue::StartEffect), 1);
  const auto wave = readWaveFile(
      QString::fromStdString(files_->locate(SoundBank::fileName(Cue::StartEffect))->string()));
  ASSERT_TRUE(wave);
  ASSERT_GT(heard.size(), 100u);
  ASSERT_LE(heard.size(), wave->mono.size());
  EXPECT_TRUE(std::equal(heard.begin(), heard.end(), wave->mono.begin()));
  // Looked for once: the program's own call after the first frame is a no-op.
  bank.prepare();
  EXPECT_EQ(looks, 1);
}

TEST_F(SoundTest, MissingWaveFileStopsTheStart) {
  std::filesystem::remove(folder_ / "Sound" / "Button2.wav");
  try {
    start();
    FAIL() << "the program started without Button2.wav";
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "Cannot open file Sound\\Button2.wav");
  }
  EXPECT_EQ(program_, nullptr);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible());
}

TEST_F(SoundTest, AFileThatIsNoWaveStopsTheStart) {
  std::ofstream(folder_ / "Sound" / "Close.wav", std::ios::binary | std::ios::trunc)
      << "not a wave";
  EXPECT_THROW(start(), Failure);
}

TEST_F(SoundTest, NamesMatchInAnyLetterCase) {
  std::filesystem::rename(folder_ / "Sound" / "KeyBoard.wav", folder_ / "Sound" / "keyboard.WAV");
  std::filesystem::rename(folder_ / "Sound", folder_ / "sound");
  ASSERT_NO_THROW(start());
  EXPECT_TRUE(main().isVisible());
}

TEST_F(SoundTest, EveryCueIsAskedForAtItsEvent) {
  start();
  SoundBank& sounds = program().sounds();
  const int clicks = sounds.requests(Cue::KeyClick);
  type(input(), "ghbdtn");
  EXPECT_EQ(sounds.requests(Cue::KeyClick), clicks + 6);
  advance(30);
  main().enRusButton().click();
  EXPECT_EQ(sounds.requests(Cue::Conversion), 1);
  EXPECT_EQ(sounds.requests(Cue::KeyClick), clicks + 7);
  // Nothing to convert: the sound, and no change of the field.
  main().enRusButton().click();
  EXPECT_EQ(sounds.requests(Cue::Conversion), 2);
  EXPECT_EQ(sounds.requests(Cue::KeyClick), clicks + 7);
  // Without a device nothing is started and nothing is reported.
  if (!sounds.audible()) {
    EXPECT_EQ(sounds.starts(Cue::KeyClick), 0);
  }
  EXPECT_TRUE(main().shownErrors().empty());
  EXPECT_STREQ(SoundBank::fileName(Cue::StartEffect), "Sound\\Button1.wav");
  EXPECT_STREQ(SoundBank::fileName(Cue::Closing), "Sound\\Close.wav");
}

TEST_F(SoundTest, StartEffectPlaysItsCueAndEndsCentred) {
  writeConfigLine(3, "StartEffect=yes");
  start();
  EXPECT_EQ(program().sounds().requests(Cue::StartEffect), 1);
  const QRect area = main().screen()->availableGeometry();
  const QRect frame = main().frameGeometry();
  EXPECT_LE(std::abs(frame.center().x() - area.center().x()), 1);
  EXPECT_LE(std::abs(frame.center().y() - area.center().y()), 1);
  EXPECT_TRUE(main().isEnabled());
}

}  // namespace
}  // namespace vb::uitest
