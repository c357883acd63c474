#include "session/program_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/failure.h"
#include "engine/text.h"

namespace vb {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vb-folder-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    // An installed program: prefix/bin and prefix/share/verbonik.
    exe_ = root_ / "prefix" / "bin";
    fs::create_directories(exe_);
    shipped_ = root_ / "prefix" / "share" / "verbonik";
    put(shipped_ / "Base" / "Words.Dat", "ПРИВЕТ^Привет!;\r\n");
    put(shipped_ / "Base" / "Pause.Dat", "Ну?\r\n");
    put(shipped_ / "Sound" / "Start.wav", "RIFF");
    put(shipped_ / "Config.ini", "[Verbonik]\r\n");
    home_ = root_ / "home";
    fs::create_directories(home_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  static void put(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }
  static std::string get(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  FolderRequest installed() const {
    FolderRequest request;
    request.executableDir = exe_;
    request.environment.home = home_.string();
    return request;
  }
  fs::path userFolder() const { return home_ / ".local" / "share" / "verbonik"; }

  fs::path root_, exe_, shipped_, home_;
};

TEST_F(ProgramFolderTest, BaseBesideTheExecutableInAnyCaseMakesItPortable) {
  fs::create_directories(exe_ / "bASE");
  ProgramFolder folder = resolveProgramFolder(installed());
  EXPECT_EQ(folder.kind, FolderKind::Portable);
  EXPECT_EQ(folder.path, exe_);
  EXPECT_EQ(folder.filesCopied, 0);
  EXPECT_FALSE(fs::exists(userFolder()));

  // A file called Base is not the folder.
  fs::remove(exe_ / "bASE");
  put(exe_ / "Base", "");
  EXPECT_EQ(resolveProgramFolder(installed()).kind, FolderKind::PerUser);
}

TEST_F(ProgramFolderTest, AGivenFolderWinsAndIsNeverFilled) {
  fs::create_directories(exe_ / "Base");
  fs::path given = root_ / "elsewhere";
  fs::create_directories(given);
  FolderRequest request = installed();
  request.givenDir = given;
  ProgramFolder folder = resolveProgramFolder(request);
  EXPECT_EQ(folder.kind, FolderKind::Given);
  EXPECT_EQ(folder.path, given);
  EXPECT_TRUE(fs::is_empty(given));

  request.givenDir = root_ / "no-such-folder";
  try {
    resolveProgramFolder(request);
    FAIL() << "a missing folder was accepted";
  } catch (const Failure& failure) {
    EXPECT_NE(std::string(failure.what()).find("no-such-folder"), std::string::npos);
  }
}

TEST_F(ProgramFolderTest, FirstStartCreatesAndFillsThePerUserFolder) {
  ProgramFolder folder = resolveProgramFolder(installed());
  EXPECT_EQ(folder.kind, FolderKind::PerUser);
  EXPECT_EQ(folder.path, userFolder());
  EXPECT_EQ(folder.filesCopied, 4);
  EXPECT_EQ(get(userFolder() / "Base" / "Words.Dat"), "ПРИВЕТ^Привет!;\r\n");
  EXPECT_EQ(get(userFolder() / "Sound" / "Start.wav"), "RIFF");
  EXPECT_EQ(get(userFolder() / "Config.ini"), "[Verbonik]\r\n");
  // No temporary file is left behind.
  std::size_t entries = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator(userFolder() / "Base")) ++entries;
  EXPECT_EQ(entries, 2u);
}

TEST_F(ProgramFolderTest, WhatTheUserHasIsNeverReplacedAndWhatIsMissingComesBack) {
  resolveProgramFolder(installed());
  put(userFolder() / "Base" / "Words.Dat", "ПРИВЕТ^Привет!;\r\nВЫУЧЕНО^Да;\r\n");
  fs::remove(userFolder() / "Base" / "Pause.Dat");

  ProgramFolder again = resolveProgramFolder(installed());
  EXPECT_EQ(again.filesCopied, 1);
  EXPECT_EQ(get(userFolder() / "Base" / "Words.Dat"), "ПРИВЕТ^Привет!;\r\nВЫУЧЕНО^Да;\r\n");
  EXPECT_EQ(get(userFolder() / "Base" / "Pause.Dat"), "Ну?\r\n");
  EXPECT_EQ(resolveProgramFolder(installed()).filesCopied, 0);
}

TEST_F(ProgramFolderTest, AFileSpeltInAnotherCaseCountsAsPresent) {
  // The program matches names without regard to case: a copy under the
  // shipped spelling would stand beside the user's file and hide it.
  put(userFolder() / "base" / "WORDS.DAT", "ЛИЧНОЕ^Моё;\r\n");
  put(userFolder() / "config.INI", "mine\r\n");
  resolveProgramFolder(installed());
  EXPECT_FALSE(fs::exists(userFolder() / "Base"));
  EXPECT_FALSE(fs::exists(userFolder() / "base" / "Words.Dat"));
  EXPECT_FALSE(fs::exists(userFolder() / "Config.ini"));
  EXPECT_EQ(get(userFolder() / "base" / "WORDS.DAT"), "ЛИЧНОЕ^Моё;\r\n");
  EXPECT_EQ(get(userFolder() / "base" / "Pause.Dat"), "Ну?\r\n");
}

TEST_F(ProgramFolderTest, XdgDataHomeIsUsedOnlyWhenAbsolute) {
  FolderRequest request = installed();
  request.environment.xdgDataHome = (root_ / "xdg").string();
  EXPECT_EQ(resolveProgramFolder(request).path, root_ / "xdg" / "verbonik");

  request.environment.xdgDataHome = "relative/xdg";
  EXPECT_EQ(perUserFolder(request.environment), userFolder());

  request.environment = {};
  EXPECT_THROW(resolveProgramFolder(request), Failure);
}

TEST_F(ProgramFolderTest, ReadOnlyShippedFilesBecomeWritableCopies) {
  fs::permissions(shipped_ / "Base" / "Words.Dat", fs::perms::owner_read | fs::perms::group_read);
  resolveProgramFolder(installed());
  auto perms = fs::status(userFolder() / "Base" / "Words.Dat").permissions();
  EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
}

TEST_F(ProgramFolderTest, MissingShippedDataIsAnErrorOnlyWhenThereIsNoBase) {
  fs::remove_all(shipped_);
  try {
    resolveProgramFolder(installed());
    FAIL() << "started without any knowledge base";
  } catch (const Failure& failure) {
    EXPECT_NE(std::string(failure.what()).find("Base"), std::string::npos);
  }
  fs::create_directories(userFolder() / "Base");
  EXPECT_EQ(resolveProgramFolder(installed()).kind, FolderKind::PerUser);
}

TEST_F(ProgramFolderTest, AFolderThatCannotBeCreatedIsAClearError) {
  put(home_ / ".local", "a file where a folder should be");
  try {
    resolveProgramFolder(installed());
    FAIL() << "no error";
  } catch (const Failure& failure) {
    EXPECT_NE(std::string(failure.what()).find(utf8To1251("не удаётся создать папку")),
              std::string::npos);
  }
}

TEST(ProgramFolderPaths, ShippedDataLiesInShareBesideBin) {
  EXPECT_EQ(shippedDataBeside("/usr/bin"), fs::path("/usr/share/verbonik"));
  EXPECT_TRUE(fs::equivalent(executableFolder(nullptr), VB_BINARY_DIR));
}

}  // namespace
}  // namespace vb
