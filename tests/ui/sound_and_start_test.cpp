// The sound players at start: a wave file that cannot be opened keeps the
// program from starting; names are found in any letter case; a play
// request is counted whether or not a device plays it.
#include <QScreen>
#include <fstream>

#include "engine/failure.h"
#include "session/session.h"
#include "tests/ui/ui_fixture.h"
#include "ui/main_window.h"
#include "ui/sound_bank.h"

namespace vb::uitest {
namespace {

class SoundTest : public UiTest {};

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
