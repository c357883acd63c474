// Hostile input: lines of 10 MB, NUL bytes, the byte Windows-1251 leaves
// undefined, a knowledge base of a million lines, a Config.ini of random
// bytes, a phrase with line ends, a partner file rewritten a thousand
// times a second. Nothing crashes or hangs, the files stay well formed,
// and what fails says so in the program's words.
#include <atomic>
#include <chrono>
#include <iostream>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "disk_rig.h"
#include "engine/disk_file_store.h"
#include "engine/line_split.h"
#include "engine/temp_folder.h"
#include "engine/text.h"
#include "folder_bytes.h"
#include "learner.h"
#include "robust_env.h"

namespace vb::robust {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Every file of Base is well formed.
void expectWellFormed(const fs::path& dir) {
  for (const auto& [name, bytes] : readFolder(dir / "Base")) {
    EXPECT_EQ(malformation(name, bytes), "") << name;
  }
}

std::size_t linesWithoutCaret(std::string_view bytes) {
  std::size_t n = 0;
  for (auto line : splitLines(bytes)) n += line.find('^') == std::string_view::npos;
  return n;
}

// Every file of Base that changed since `before` ends each line with CR
// LF, and Words.Dat has no more lines without '^' than it had.
void expectNoNewFlaw(const FolderBytes& before, const fs::path& dir) {
  for (const auto& [name, bytes] : readFolder(dir / "Base")) {
    if (before.count(name) && before.at(name) == bytes) continue;
    EXPECT_TRUE(isJoinedForm(bytes)) << name;
    if (equalsIgnoreCase(name, "Words.Dat") && before.count(name)) {
      EXPECT_EQ(linesWithoutCaret(bytes), linesWithoutCaret(before.at(name)));
    }
  }
}

bool ownMessage(const std::string& m) {
  return m.starts_with("Cannot open file ") || m.starts_with("Cannot create file ") ||
         m.starts_with("List index out of bounds (") || m.starts_with("'");
}

// A program folder copied from the build tree (the shipped knowledge base).
void copyShippedFolder(const fs::path& to) {
  fs::copy(fs::path(VB_BINARY_DIR) / "Base", to / "Base", fs::copy_options::recursive);
  fs::copy_file(fs::path(VB_BINARY_DIR) / "Config.ini", to / "Config.ini");
}

TEST(HostileInput, APhraseWithLineEndsKeepsEveryFileWellFormed) {
  // A phrase pasted into the input field may hold line ends; no file of
  // lines may take them in as they are.
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  const std::size_t pools = countLines(rig.bytes("Base/W1.Dat") + rig.bytes("Base/W2.Dat"));
  rig.send(utf8To1251("мама мыла\nраму\r\nи пол\rтоже"));
  rig.send(utf8To1251("вторая\nпопытка"));
  EXPECT_EQ(rig.view.errors, Strings{});
  expectWellFormed(tmp.path());
  EXPECT_LE(countLines(rig.bytes("Base/W1.Dat") + rig.bytes("Base/W2.Dat")), pools + 2)
      << "a phrase went into a pool as more than one line";
}

TEST(HostileInput, TenMegabyteLinesInTheBaseAndAsThePartnersPhrase) {
  vb::testing::TempFolder tmp;
  copyShippedFolder(tmp.path());
  const std::string huge(10 << 20, '\xE0');  // "а" ten million times
  {
    std::string words = readBytes(tmp.path() / "Base" / "Words.Dat");
    words = huge + "\r\n" + words + utf8To1251("ОГРОМНЫЙ^") + huge + ";\r\n";
    writeBytes(tmp.path() / "Base" / "Words.Dat", words);
  }
  writeBytes(tmp.path() / "Partner.Dat", huge + "\r\n");
  const FolderBytes before = readFolder(tmp.path() / "Base");
  DiskRig rig(tmp.path());
  rig.send(learnerPhrase(1, 1));
  EXPECT_EQ(rig.view.errors, Strings{});

  rig.session->editor().path = "Partner.Dat";
  rig.session->Cpu31Click();
  rig.run(20);
  rig.session->TalkClick();
  EXPECT_EQ(rig.view.errors, Strings{});
  EXPECT_EQ(rig.userLines(), 2);
  expectNoNewFlaw(before, tmp.path());
  // The answer replaced the partner's ten megabytes.
  EXPECT_LT(rig.bytes("Partner.Dat").size(), 1000u);
}

TEST(HostileInput, NulBytesAndTheUndefinedByteTravelThroughTurnsAndFiles) {
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  const std::string nul("x\0y\0zzz", 7);
  const std::string undefined("\x98\x98\x98 \x98\x98", 6);
  rig.send(nul);
  rig.send(undefined);
  rig.send(std::string(300, '\0'));
  EXPECT_EQ(rig.view.errors, Strings{});
  expectWellFormed(tmp.path());
  const std::string words = rig.bytes("Base/Words.Dat");
  EXPECT_NE(words.find(keyForm(nul) + "^"), std::string::npos);
  EXPECT_NE(words.find(keyForm(undefined) + "^"), std::string::npos);
  // The edges of the program turn every byte into text a terminal can show.
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_FALSE(cp1251ToUtf8(one).empty()) << b;
    EXPECT_EQ(upper1251(lower1251(upper1251(one))), upper1251(one)) << b;
  }
}

TEST(HostileInput, AKnowledgeBaseOfAMillionLinesAnswersAndLearns) {
  vb::testing::TempFolder tmp;
  writeProgramFolder(tmp.path(), 0);
  {
    std::string words;
    words.reserve(40 << 20);
    for (int i = 0; i < 1'000'000; ++i) {
      words += utf8To1251("КЛЮЧ") + std::to_string(i) + "^" + utf8To1251("Ответ ") +
               std::to_string(i) + ";\r\n";
    }
    words += readBytes(tmp.path() / "Base" / "Words.Dat");
    writeBytes(tmp.path() / "Base" / "Words.Dat", words);
  }
  DiskRig rig(tmp.path());
  rig.send(utf8To1251("ключ999999"));
  rig.send(learnerPhrase(1, 1));
  EXPECT_EQ(rig.view.errors, Strings{});
  EXPECT_EQ(test::cpuLines(rig.view).size(), 2u + 1u);  // with the greeting
  const std::string words = rig.bytes("Base/Words.Dat");
  EXPECT_EQ(countLines(words), 1'000'000u + 6u + 1u);
  EXPECT_TRUE(words.ends_with(keyForm(learnerPhrase(1, 1)) + "^\r\n") ||
              words.find(keyForm(learnerPhrase(1, 1)) + "^") != std::string::npos);
}

TEST(HostileInput, AConfigIniOfRandomBytesIsReportedOnceAndTheProgramRunsOn) {
  std::mt19937 rng(77);
  const int runs = longTests() ? 200 : 20;
  for (int run = 0; run < runs; ++run) {
    vb::testing::TempFolder tmp;
    writeProgramFolder(tmp.path(), 5);
    std::string bytes(static_cast<std::size_t>(rng() % 4000), '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    if (run % 2) {  // a file of the right shape with random values
      bytes.clear();
      for (int line = 0; line < 31; ++line) {
        bytes += "Name=" + std::string(rng() % 12, static_cast<char>('0' + rng() % 10));
        bytes += (rng() % 5 ? "\r\n" : "\n");
      }
    }
    writeBytes(tmp.path() / "Config.ini", bytes);
    const std::string kept = readBytes(tmp.path() / "Config.ini");
    DiskRig rig(tmp.path());
    EXPECT_LE(rig.view.errors.size(), 1u);
    for (const auto& m : rig.view.errors) EXPECT_TRUE(ownMessage(m)) << m;
    rig.send(learnerPhrase(1, run));
    rig.run(10'000);
    EXPECT_LE(rig.view.errors.size(), 1u);
    EXPECT_EQ(readBytes(tmp.path() / "Config.ini"), kept);  // read, never written
  }
}

// A partner that replaces the file a thousand times a second while the
// session reads it in timer mode at the shortest interval. `atomic`: by
// rename, as this program writes; else truncated and written in place, as a
// simple partner program may write.
void partnerStorm(bool atomic) {
  vb::testing::TempFolder tmp;
  DiskRig rig(tmp.path());
  const fs::path partner = tmp.path() / "Txt.Dat";
  writeBytes(partner, "Start\r\n");
  std::atomic<bool> running{true};
  std::atomic<long> writes{0};
  std::thread writer([&] {
    DiskFileStore disk(tmp.path(), false);
    long n = 0;
    auto next = std::chrono::steady_clock::now();
    while (running) {
      const std::string line = learnerPhrase(2, n++);
      if (atomic) {
        disk.writeText("Txt.Dat", line + "\r\n");
      } else {
        writeBytes(partner, line + "\r\n");
      }
      ++writes;
      next += std::chrono::milliseconds(1);
      std::this_thread::sleep_until(next);
    }
  });
  rig.partnerTimerMode("Txt.Dat");
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < until) rig.run(15);
  running = false;
  writer.join();

  EXPECT_GT(rig.userLines(), 10);
  std::set<std::string> kinds;
  for (const auto& m : rig.view.errors) {
    EXPECT_TRUE(ownMessage(m)) << m;
    kinds.insert(m.substr(0, 24));
  }
  for (const auto& kind : kinds) std::cout << "  message: " << kind << "...\n";
  if (atomic) {
    EXPECT_EQ(rig.view.errors, Strings{});
  }
  expectWellFormed(tmp.path());
  std::cout << (atomic ? "renaming" : "in-place") << " partner: " << writes << " rewrites, "
            << rig.userLines() << " turns, " << rig.view.errors.size() << " messages\n";
}

TEST(HostileInput, APartnerFileReplacedAThousandTimesASecond) {
  partnerStorm(true);
}

TEST(HostileInput, APartnerFileRewrittenInPlaceAThousandTimesASecond) {
  partnerStorm(false);
}

}  // namespace
}  // namespace vb::robust
