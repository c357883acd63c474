// Two programs on one folder at once: two learners appending to the same
// knowledge base, and two sessions in Cpu\Cpu timer mode answering each
// other through one partner file.
#include <sys/wait.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "child_process.h"
#include "engine/line_split.h"
#include "engine/temp_folder.h"
#include "engine/text.h"
#include "folder_bytes.h"
#include "learner.h"
#include "robust_env.h"

namespace vb::robust {
namespace {

namespace fs = std::filesystem;

bool exitedCleanly(int status) {
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(TwoProcesses, TwoLearnersOnOneBaseLoseNothingAndWriteNothingTwice) {
  const long turns = envCount("VB_TWO_LEARNER_TURNS", longTests() ? 1000 : 120);
  vb::testing::TempFolder dir;
  writeLearnerBase(dir.path(), 2000);
  const std::string errors = (dir.path() / "learners.err").string();
  {
    ChildProcess a({VB_CRASH_LEARNER, dir.path().string(), "11", "2", "0", std::to_string(turns)},
                   errors);
    ChildProcess b({VB_CRASH_LEARNER, dir.path().string(), "12", "3", "0", std::to_string(turns)},
                   errors);
    ASSERT_TRUE(exitedCleanly(a.finish())) << readBytes(errors);
    ASSERT_TRUE(exitedCleanly(b.finish())) << readBytes(errors);
    ASSERT_EQ(completeLines(a.output()).size(), static_cast<std::size_t>(turns));
    ASSERT_EQ(completeLines(b.output()).size(), static_cast<std::size_t>(turns));
  }

  const FolderBytes after = readFolder(dir.path() / "Base");
  for (const auto& [name, bytes] : after) EXPECT_EQ(malformation(name, bytes), "") << name;
  EXPECT_EQ(countStoreTemps(dir.path() / "Base"), 0);

  std::multiset<std::string> heads;
  std::multiset<std::string> answers;
  for (auto line : splitLines(after.at("Words.Dat"))) {
    const auto caret = line.find('^');
    heads.insert(std::string(line.substr(0, caret)));
    auto rest = line.substr(caret + 1);
    for (std::size_t semi; (semi = rest.find(';')) != std::string_view::npos;
         rest.remove_prefix(semi + 1)) {
      answers.insert(std::string(rest.substr(0, semi)));
    }
  }
  std::multiset<std::string> pools;
  for (const char* pool : {"W1.Dat", "W2.Dat"}) {
    for (auto line : splitLines(after.at(pool))) pools.insert(std::string(line));
  }
  long learnedAnswers = 0;
  for (int tag : {2, 3}) {
    for (long i = 0; i < turns; ++i) {
      const std::string phrase = learnerPhrase(tag, i);
      EXPECT_EQ(heads.count(keyForm(phrase)), 1u) << phrase << " as a key";
      EXPECT_EQ(pools.count(phrase + "."), 1u) << phrase << " in a pool";
      EXPECT_LE(answers.count(phrase + "."), 1u) << phrase << " as an answer";
      learnedAnswers += static_cast<long>(answers.count(phrase + "."));
    }
  }
  for (auto it = heads.begin(); it != heads.end(); it = heads.upper_bound(*it)) {
    EXPECT_EQ(heads.count(*it), 1u) << "key " << *it << " twice";
  }
  // Both learners said the others' phrases' keys after their own pool
  // lines: answers were learned, across the two programs too.
  EXPECT_GT(learnedAnswers, turns / 4);
  std::cout << "two learners: " << 2 * turns << " turns, " << learnedAnswers << " answers learned, "
            << heads.size() << " keys\n";
}

// The partner file is read whole and replaced whole: whoever reads it, at
// any moment, sees one complete line.
std::string partnerProblem(const std::string& bytes) {
  if (bytes.size() < 3 || !bytes.ends_with("\r\n")) return "not one line ended by CR LF";
  if (bytes.find_first_of("\r\n") != bytes.size() - 2) return "more than one line";
  return {};
}

TEST(TwoProcesses, TwoSessionsInCpuCpuTimerModeShareThePartnerFile) {
  const long ticks = envCount("VB_PARTNER_TICKS", longTests() ? 20000 : 300);
  vb::testing::TempFolder dir;
  // One program folder (a copy of the shipped one) started twice.
  const fs::path program = dir.path() / "program";
  fs::create_directories(program);
  fs::copy(fs::path(VB_BINARY_DIR) / "Base", program / "Base", fs::copy_options::recursive);
  fs::copy_file(fs::path(VB_BINARY_DIR) / "Config.ini", program / "Config.ini");
  const auto logBlocks = [&] {
    const std::string end = utf8To1251("Конец диалога: ");
    std::size_t n = 0;
    const std::string log = readBytes(program / "Base" / "Log.dat");
    for (auto line : splitLines(log)) n += line.starts_with(end);
    return n;
  };
  const std::size_t blocksBefore = logBlocks();
  const fs::path partner = dir.path() / "Txt.Dat";
  writeBytes(partner, utf8To1251("Привет! Как дела?") + "\r\n");

  std::atomic<bool> running{true};
  std::atomic<long> reads{0};
  std::string torn;
  std::thread observer([&] {
    while (running) {
      const std::string bytes = readBytes(partner);
      if (auto problem = partnerProblem(bytes); !problem.empty() && torn.empty()) {
        torn = problem + ": [" + bytes + "]";
      }
      ++reads;
    }
  });
  ChildProcess a(
      {VB_PARTNER_SESSION, program.string(), partner.string(), std::to_string(ticks), "21"});
  ChildProcess b(
      {VB_PARTNER_SESSION, program.string(), partner.string(), std::to_string(ticks), "22"});
  const int statusA = a.finish();
  const int statusB = b.finish();
  running = false;
  observer.join();

  EXPECT_TRUE(exitedCleanly(statusA)) << a.output();
  EXPECT_TRUE(exitedCleanly(statusB)) << b.output();
  EXPECT_TRUE(a.output().starts_with("turns ")) << a.output();
  EXPECT_EQ(a.output().find("turns 0 "), std::string::npos) << a.output();
  EXPECT_EQ(b.output().find("turns 0 "), std::string::npos) << b.output();
  EXPECT_EQ(torn, "");
  EXPECT_EQ(partnerProblem(readBytes(partner)), "");
  EXPECT_EQ(countStoreTemps(dir.path()), 0);
  EXPECT_EQ(malformation("Words.Dat", readBytes(program / "Base" / "Words.Dat")), "");
  // Both left through Exit at about the same moment: both blocks are there.
  EXPECT_EQ(logBlocks(), blocksBefore + 2);
  std::cout << "partner sessions: " << a.output().substr(0, a.output().find('\n')) << " / "
            << b.output().substr(0, b.output().find('\n')) << ", " << reads
            << " reads of the partner file by a third reader, none torn\n";
}

}  // namespace
}  // namespace vb::robust
