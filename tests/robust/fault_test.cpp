// Faults on writes and reads: a full disk, a file that cannot be created,
// a file that vanishes between two uses, a read-only folder. Each shows the
// program's message, leaves the old file as it was, and the session runs
// on; a timer that meets the fault reports it once. Injected through
// FaultyStore, and for real on a small tmpfs where the machine lets the
// test mount one.
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include <gtest/gtest.h>

#include "disk_rig.h"
#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "engine/line_split.h"
#include "engine/random_source.h"
#include "engine/temp_folder.h"
#include "engine/text.h"
#include "engine/turn.h"
#include "folder_bytes.h"
#include "learner.h"
#include "small_disk.h"

namespace vb::robust {
namespace {

namespace fs = std::filesystem;
using Op = FaultyStore::Op;
using Strings = std::vector<std::string>;

int count(const std::string& bytes, const std::string& line) {
  int n = 0;
  for (auto l : splitLines(bytes)) n += l == line;
  return n;
}

bool learnedKey(const DiskRig& rig, const std::string& phrase) {
  return count(rig.bytes("Base/Words.Dat"), keyForm(phrase) + "^") == 1;
}

TEST(InjectedFaults, AFullDiskWhileLearningKeepsWordsDatAndTheTurnCanBeSentAgain) {
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  const std::string words = rig.bytes("Base/Words.Dat");
  const auto answers = test::cpuLines(rig.view).size();
  const std::string phrase = learnerPhrase(1, 1);

  rig.files.fail(Op::Write, "Base\\Words.Dat");
  rig.send(phrase);
  EXPECT_EQ(rig.view.errors, Strings{"Cannot create file Base\\Words.Dat."});
  EXPECT_EQ(rig.bytes("Base/Words.Dat"), words);
  EXPECT_EQ(test::cpuLines(rig.view).size(), answers);  // no answer shown
  EXPECT_EQ(rig.session->input(), phrase);              // kept for another try
  EXPECT_EQ(rig.session->state().dialogue.PrevUserPhrase, "");
  EXPECT_EQ(countStoreTemps(tmp.path() / "Base"), 0);

  rig.files.healAll();
  rig.run(5000);
  rig.session->SpeakClick();
  EXPECT_EQ(rig.view.errors.size(), 1u);
  EXPECT_EQ(test::cpuLines(rig.view).size(), answers + 1);
  EXPECT_TRUE(learnedKey(rig, phrase));
  // The pool line written before the failure stays. (The second turn may
  // add it again: the pool checked for it is the one the answer came from,
  // the pool added to depends on the answer.)
  EXPECT_GE(
      count(rig.bytes("Base/W1.Dat"), phrase + ".") + count(rig.bytes("Base/W2.Dat"), phrase + "."),
      1);
  EXPECT_EQ(rig.files.faults(), 1);
}

TEST(InjectedFaults, ExitThatCannotWriteTheLogKeepsItAndTheWindowOpen) {
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  rig.send(learnerPhrase(1, 2));
  const std::string log = rig.bytes("Base/Log.dat");

  rig.files.fail(Op::Write, "Base\\Log.dat");
  rig.session->N4Click();
  EXPECT_EQ(rig.view.errors, Strings{"Cannot create file Base\\Log.dat."});
  EXPECT_EQ(rig.bytes("Base/Log.dat"), log);
  EXPECT_FALSE(rig.session->closed());
  EXPECT_EQ(rig.view.closeCalls, 0);
  rig.run(2000);

  rig.files.healAll();
  rig.session->N4Click();
  EXPECT_TRUE(rig.session->closed());
  EXPECT_TRUE(rig.bytes("Base/Log.dat").starts_with(log + "\r\n"));
  EXPECT_EQ(rig.view.errors.size(), 1u);
}

TEST(InjectedFaults, ALogThatVanishedIsReportedAtExitAndNotCreated) {
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  fs::remove(tmp.path() / "Base" / "Log.dat");
  rig.session->N4Click();
  EXPECT_EQ(rig.view.errors, Strings{"Cannot open file Base\\Log.dat."});
  EXPECT_FALSE(fs::exists(tmp.path() / "Base" / "Log.dat"));
  EXPECT_FALSE(rig.session->closed());
}

TEST(InjectedFaults, WordsDatVanishingBetweenTheSearchAndLearningStopsTheTurnThere) {
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  const fs::path words = tmp.path() / "Base" / "Words.Dat";
  const std::string kept = readBytes(words);
  const std::string phrase = learnerPhrase(1, 3);
  int reads = 0;
  rig.files.before = [&](Op op, const std::string& name, int) {
    // The turn reads Words.Dat to search it, then again to learn.
    if (op == Op::Read && equalsIgnoreCase(name, "Base\\Words.Dat") && ++reads == 2) {
      fs::remove(words);
    }
  };
  rig.send(phrase);
  rig.files.before = nullptr;
  EXPECT_EQ(rig.view.errors, Strings{"Cannot open file Base\\Words.Dat."});
  EXPECT_FALSE(fs::exists(words));  // never created by the program
  // The pool line came before the failure and stays.
  EXPECT_EQ(
      count(rig.bytes("Base/W1.Dat"), phrase + ".") + count(rig.bytes("Base/W2.Dat"), phrase + "."),
      1);

  writeBytes(words, kept);
  rig.run(3000);
  rig.session->SpeakClick();
  EXPECT_EQ(rig.view.errors.size(), 1u);
  EXPECT_TRUE(learnedKey(rig, phrase));
}

TEST(InjectedFaults, ConfigIniThatCannotBeCreatedKeepsTheFileAndTheEditorOpen) {
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  const std::string config = rig.bytes("Config.ini");
  rig.session->N38Click();
  rig.session->editor().path = "Other.Dat";
  rig.files.fail(Op::Write, "Config.ini");
  rig.session->Button1Click();
  EXPECT_EQ(rig.view.errors, Strings{"Cannot create file Config.ini."});
  EXPECT_EQ(rig.bytes("Config.ini"), config);
  EXPECT_TRUE(rig.session->window().shown(Window::Editor));

  rig.files.healAll();
  rig.session->Button1Click();
  EXPECT_FALSE(rig.session->window().shown(Window::Editor));
  EXPECT_EQ(splitLinesCopy(rig.bytes("Config.ini"))[30], "Adres=Other.Dat");
}

TEST(InjectedFaults, ThePartnerTimerReportsAReadAndAWriteFaultOnceEach) {
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  writeBytes(tmp.path() / "Txt.Dat", learnerPhrase(1, 4) + "\r\n");
  rig.files.fail(Op::Read, "Txt.Dat");
  rig.partnerTimerMode("Txt.Dat");
  rig.run(20'000);
  EXPECT_EQ(rig.view.errors, Strings{"Cannot open file Txt.Dat."});
  const int turns = rig.userLines();

  rig.files.healAll();
  rig.run(2000);
  EXPECT_GT(rig.userLines(), turns);
  const std::string partner = rig.bytes("Txt.Dat");

  rig.files.fail(Op::Write, "Txt.Dat");
  rig.run(20'000);
  EXPECT_EQ(rig.view.errors.size(), 2u);
  EXPECT_EQ(rig.view.errors.back(), "Cannot create file Txt.Dat.");
  EXPECT_EQ(rig.bytes("Txt.Dat"), partner);

  rig.files.healAll();
  rig.run(2000);
  EXPECT_EQ(rig.view.errors.size(), 2u);
  EXPECT_NE(rig.bytes("Txt.Dat"), partner);
  EXPECT_GE(rig.files.faults(), 20);
  std::cout << "partner timer: " << rig.files.faults() << " faults injected, 2 reported\n";
}

// A disk store whose writes stop half-way, as on a disk that fills up
// while the file is written.
class HalfWriteStore final : public DiskFileStore {
 public:
  using DiskFileStore::DiskFileStore;
  int failures = 0;

 protected:
  bool writeAll(int fd, std::string_view bytes) override {
    (void)!::write(fd, bytes.data(), bytes.size() / 2);
    ++failures;
    errno = ENOSPC;
    return false;
  }
};

TEST(DiskFaults, AWriteThatStopsHalfWayLeavesTheOldFileAndNoTemporary) {
  vb::testing::TempFolder tmp;
  writeLearnerBase(tmp.path(), 50);
  const FolderBytes before = readFolder(tmp.path() / "Base");
  HalfWriteStore files(tmp.path());
  SeededRandom random(3);
  Turn turn(files, random);
  DialogueState state;
  QuietEffects effects;
  try {
    turn.run(learnerPhrase(1, 5), state, effects);
    ADD_FAILURE() << "the turn did not fail";
  } catch (const Failure& failure) {
    EXPECT_TRUE(std::string(failure.what()).starts_with("Cannot create file Base\\W"))
        << failure.what();
  }
  EXPECT_EQ(files.failures, 1);
  EXPECT_EQ(readFolder(tmp.path() / "Base", true), before);
}

// The program folder on a real tmpfs of 64 KB.
class RealDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!disk_.mounted()) {
      GTEST_SKIP() << "no small tmpfs here (" << disk_.why()
                   << "); the injected faults above cover these cases";
    }
  }
  SmallDisk disk_;
};

TEST_F(RealDisk, AFullDiskKeepsEveryFileAndTheSessionRunsOnOnceThereIsRoom) {
  DiskRig rig(disk_.path());
  const std::string phrase = learnerPhrase(1, 6);
  disk_.fill();
  const FolderBytes before = readFolder(disk_.path() / "Base", true);

  rig.send(phrase);
  ASSERT_EQ(rig.view.errors.size(), 1u);
  EXPECT_TRUE(rig.view.errors[0].starts_with("Cannot create file Base\\")) << rig.view.errors[0];
  rig.session->N4Click();
  ASSERT_EQ(rig.view.errors.size(), 2u);
  EXPECT_EQ(rig.view.errors[1], "Cannot create file Base\\Log.dat.");
  EXPECT_FALSE(rig.session->closed());
  EXPECT_EQ(readFolder(disk_.path() / "Base", true), before);  // no temporary left either

  disk_.unfill();
  rig.run(2000);
  rig.session->SpeakClick();
  EXPECT_EQ(rig.view.errors.size(), 2u);
  EXPECT_TRUE(learnedKey(rig, phrase));
  rig.session->N4Click();
  EXPECT_TRUE(rig.session->closed());
}

TEST_F(RealDisk, AReadOnlyFolderIsReportedOnceByThePartnerTimerWhichRecovers) {
  DiskRig rig(disk_.path());
  writeBytes(disk_.path() / "Txt.Dat", learnerPhrase(1, 7) + "\r\n");
  const FolderBytes base = readFolder(disk_.path() / "Base", true);
  const std::string partner = rig.bytes("Txt.Dat");
  if (!disk_.setReadOnly(true)) GTEST_SKIP() << "the tmpfs cannot be made read-only here";
  rig.partnerTimerMode("Txt.Dat");
  rig.run(20'000);
  disk_.setReadOnly(false);
  ASSERT_EQ(rig.view.errors.size(), 1u);
  EXPECT_TRUE(rig.view.errors[0].starts_with("Cannot create file ")) << rig.view.errors[0];
  EXPECT_GE(rig.userLines(), 10);  // the timer kept trying
  std::cout << "read-only folder: " << rig.userLines() << " turns met it, 1 reported\n";
  EXPECT_EQ(readFolder(disk_.path() / "Base", true), base);
  EXPECT_EQ(rig.bytes("Txt.Dat"), partner);

  rig.run(2000);
  EXPECT_EQ(rig.view.errors.size(), 1u);
  EXPECT_NE(rig.bytes("Txt.Dat"), partner);
}

TEST(DiskFaults, AFolderWithoutWritePermissionIsReportedAndKept) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "running as root, where permissions do not bite; the read-only tmpfs and "
                    "the injected faults cover this case";
  }
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  const FolderBytes before = readFolder(tmp.path() / "Base", true);
  fs::permissions(tmp.path() / "Base",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  rig.send(learnerPhrase(1, 8));
  fs::permissions(tmp.path() / "Base", fs::perms::owner_write, fs::perm_options::add);
  ASSERT_EQ(rig.view.errors.size(), 1u);
  EXPECT_TRUE(rig.view.errors[0].starts_with("Cannot create file Base\\")) << rig.view.errors[0];
  EXPECT_EQ(readFolder(tmp.path() / "Base", true), before);
}

}  // namespace
}  // namespace vb::robust
