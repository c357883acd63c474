// A learner killed with SIGKILL at random moments: after every kill each
// file of Base holds, byte for byte, a content it had or was given by a
// whole write (found by running the same turns again in a second folder),
// is well formed, and every phrase reported learned is there exactly once.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "engine/disk_file_store.h"
#include "engine/line_split.h"
#include "engine/temp_folder.h"
#include "engine/text.h"
#include "faulty_store.h"
#include "folder_bytes.h"
#include "learner.h"
#include "robust_env.h"

namespace vb::robust {
namespace {

namespace fs = std::filesystem;

std::string fileKey(std::string_view name) {
  const auto sep = name.find_last_of("\\/");
  return upper1251(sep == std::string_view::npos ? name : name.substr(sep + 1));
}

// Every content each file takes while a learner runs, from `start`, the
// turns the killed one ran; `reached` is the index of the content each file
// had once the reported turns were done (later ones belong to the turn the
// kill cut short).
struct Versions {
  std::map<std::string, std::vector<std::string>> contents;
  std::map<std::string, std::size_t> reached;
};

Versions replay(const FolderBytes& start, std::uint32_t seed, int tag, long first, long reported) {
  vb::testing::TempFolder dir;
  writeFolder(dir.path() / "Base", start);
  DiskFileStore disk(dir.path(), false);
  FaultyStore store(disk);
  Versions v;
  for (const auto& [name, bytes] : start) v.contents[fileKey(name)].push_back(bytes);
  auto mark = [&] {
    for (const auto& [name, list] : v.contents) v.reached[name] = list.size() - 1;
  };
  store.written = [&](const std::string& name) {
    v.contents[fileKey(name)].push_back(*disk.readText(name));
  };
  if (reported == 0) mark();
  long done = 0;
  runLearner(store, seed, tag, first, reported + 1, [&](const std::string&) {
    if (++done == reported) mark();
  });
  return v;
}

struct Figures {
  long kills = 0;
  long turnsReported = 0;
  long halfDone = 0;  // kills after a turn wrote a file and before it was reported
  long linesChecked = 0;
  long filesChecked = 0;
  int tempsLeft = 0;
};

TEST(CrashTest, EveryKillLeavesEachFileOldOrNewAndEveryReportedLineThere) {
  const long kills = envCount("VB_CRASH_KILLS", longTests() ? 1000 : 100);
  vb::testing::TempFolder dir;
  writeLearnerBase(dir.path(), 2000);
  const fs::path base = dir.path() / "Base";
  const std::string errors = (dir.path() / "learner.err").string();

  std::mt19937 rng(20261206);
  std::uniform_int_distribution<int> delayUs(200, 200000);
  std::vector<std::string> learned;
  long next = 0;
  Figures f;

  for (long round = 0; round < kills; ++round) {
    const FolderBytes before = readFolder(base);
    const auto seed = static_cast<std::uint32_t>(7000 + round);
    // Every other learner skips the flushes to disk: a kill does not undo
    // what the kernel holds, and the turns come faster.
    ChildProcess child({VB_CRASH_LEARNER, dir.path().string(), std::to_string(seed), "1",
                        std::to_string(next), "1000000", round % 2 ? "nosync" : "sync"},
                       errors);
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
    child.kill(SIGKILL);
    const int status = child.finish();
    ASSERT_TRUE(WIFSIGNALED(status)) << "the learner ended on its own: " << readBytes(errors);
    ++f.kills;

    const auto lines = completeLines(child.output());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      ASSERT_EQ(lines[i], "written " + learnerPhrase(1, next + static_cast<long>(i)));
    }
    const long reported = static_cast<long>(lines.size());

    const FolderBytes after = readFolder(base);
    ASSERT_EQ(after.size(), before.size()) << "a file vanished or appeared in round " << round;
    const Versions versions = replay(before, seed, 1, next, reported);
    bool cutShort = false;
    for (const auto& [name, bytes] : after) {
      ASSERT_TRUE(before.count(name)) << name << " appeared in round " << round;
      ASSERT_EQ(malformation(name, bytes), "") << name << " in round " << round;
      const auto& list = versions.contents.at(fileKey(name));
      std::size_t k = versions.reached.at(fileKey(name));
      while (k < list.size() && list[k] != bytes) ++k;
      ASSERT_LT(k, list.size()) << name << " holds neither its old nor a new content in round "
                                << round << " after " << reported << " turns";
      cutShort = cutShort || k > versions.reached.at(fileKey(name));
      f.linesChecked += static_cast<long>(lineCount(bytes));
      ++f.filesChecked;
    }

    f.halfDone += cutShort;
    for (long i = 0; i < reported; ++i) learned.push_back(learnerPhrase(1, next + i));
    std::multiset<std::string> heads;
    for (auto line : splitLines(after.at("Words.Dat"))) {
      heads.insert(std::string(line.substr(0, line.find('^'))));
    }
    std::multiset<std::string> pools;
    for (const char* pool : {"W1.Dat", "W2.Dat"}) {
      for (auto line : splitLines(after.at(pool))) pools.insert(std::string(line));
    }
    for (const auto& phrase : learned) {
      ASSERT_EQ(heads.count(keyForm(phrase)), 1u) << phrase << " as a key, round " << round;
      ASSERT_EQ(pools.count(phrase + "."), 1u) << phrase << " in a pool, round " << round;
    }
    for (auto it = heads.begin(); it != heads.end(); it = heads.upper_bound(*it)) {
      ASSERT_EQ(heads.count(*it), 1u) << "key " << *it << " twice, round " << round;
    }

    f.turnsReported += reported;
    next += reported + 1;  // the turn the kill cut short may have learned its phrase
  }
  f.tempsLeft = countStoreTemps(base);
  // The next start of the program removes what the kills left, and only that.
  const FolderBytes killed = readFolder(base);
  const std::string start = std::string("'") + VB_CONSOLE + "' --dir '" + dir.path().string() +
                            "' < /dev/null > /dev/null 2>&1";
  ASSERT_NE(std::system(start.c_str()), -1);
  EXPECT_EQ(countStoreTemps(base), 0);
  EXPECT_EQ(readFolder(base), killed);

  std::cout << "crash figures: kills " << f.kills << ", turns reported " << f.turnsReported
            << ", kills inside a turn that had written " << f.halfDone << ", files checked "
            << f.filesChecked << ", lines checked " << f.linesChecked
            << ", temporary files left by kills " << f.tempsLeft << " (after the next start "
            << countStoreTemps(base) << ")\n";
  RecordProperty("kills", static_cast<int>(f.kills));
  RecordProperty("lines_checked", static_cast<int>(f.linesChecked));
}

}  // namespace
}  // namespace vb::robust
