// Words.Dat edited at random by a second process while this one answers
// through its index: after every edit the index answers exactly as a walk of
// the file as it now is, also when the edit keeps the file's size and
// inode within the same second.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "engine/disk_file_store.h"
#include "engine/knowledge_files.h"
#include "engine/learning.h"
#include "engine/phrase_base.h"
#include "engine/temp_folder.h"
#include "robust_env.h"

namespace vb::robust {
namespace {

namespace fs = std::filesystem;

// Times cut to whole seconds, as some file systems keep them.
class WholeSecondStore final : public DiskFileStore {
 public:
  using DiskFileStore::DiskFileStore;

 protected:
  void observe(struct stat& st) const override {
    st.st_mtim.tv_nsec = 0;
    st.st_ctim.tv_nsec = 0;
  }
};

std::string randomText(std::mt19937& gen, std::size_t n, bool lines) {
  static const std::string letters = "\xC0\xC1\xC2\xC3  _^;;|.";  // АБВГ
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    if (lines && gen() % 6 == 0) {
      out += "\r\n";
    } else {
      out += letters[gen() % letters.size()];
    }
  }
  return out;
}

// The other program: one to three edits of the file, then it ends.
void editAsAnotherProgram(const fs::path& file, std::uint32_t seed) {
  std::mt19937 gen(seed);
  const int edits = 1 + static_cast<int>(gen() % 3);
  for (int e = 0; e < edits; ++e) {
    std::string bytes;
    {
      const int fd = ::open(file.c_str(), O_RDONLY);
      char buf[65536];
      ssize_t got;
      while (fd >= 0 && (got = ::read(fd, buf, sizeof buf)) > 0) bytes.append(buf, got);
      if (fd >= 0) ::close(fd);
    }
    const std::size_t at = bytes.empty() ? 0 : gen() % bytes.size();
    const std::string piece = randomText(gen, 1 + gen() % 12, true);
    switch (gen() % 4) {
      case 0: {  // same size, same inode: bytes overwritten in place
        const int fd = ::open(file.c_str(), O_WRONLY);
        const std::size_t n = std::min(piece.size(), bytes.size() - at);
        (void)!::pwrite(fd, piece.data(), n, static_cast<off_t>(at));
        ::close(fd);
        break;
      }
      case 1: {  // replaced by a new file
        bytes.insert(at, piece);
        const fs::path temp = file.string() + ".new";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        (void)!::write(fd, bytes.data(), bytes.size());
        ::close(fd);
        ::rename(temp.c_str(), file.c_str());
        break;
      }
      case 2: {  // a line appended
        const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND);
        const std::string line = piece + "^" + piece + ";\r\n";
        (void)!::write(fd, line.data(), line.size());
        ::close(fd);
        break;
      }
      default: {  // rewritten in place, shorter
        bytes.erase(at, piece.size());
        const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC);
        (void)!::write(fd, bytes.data(), bytes.size());
        ::close(fd);
        break;
      }
    }
  }
}

void answersAsTheWalk(DiskFileStore& files, const fs::path& folder, long rounds,
                      std::uint32_t seed) {
  std::mt19937 gen(seed);
  PhraseBase base(files);
  DialogueState state;
  for (long round = 0; round < rounds; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      editAsAnotherProgram(folder / "Base/Words.Dat", static_cast<std::uint32_t>(gen()));
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    for (int turn = 0; turn < 3; ++turn) {
      const std::string phrase = randomText(gen, 1 + gen() % 10, false) + ".";
      if (gen() % 2) {
        state.BranchDepth = static_cast<int>(gen() % 3);
        state.BranchLine = static_cast<int>(gen() % 20);
      }
      DialogueState walked = state;
      const std::uint32_t draws = static_cast<std::uint32_t>(gen());
      SeededRandom r1(draws);
      SeededRandom r2(draws);
      const auto bytes = files.readText(kPhraseBase);
      const auto expected = searchPhraseBase(*bytes, phrase, walked, r1);
      const auto got = base.search(phrase, state, r2);
      ASSERT_EQ(expected.has_value(), got.has_value()) << "round " << round;
      if (expected) {
        ASSERT_EQ(expected->answer, got->answer) << "round " << round;
      }
      ASSERT_EQ(walked.BranchLine, state.BranchLine) << "round " << round;
      ASSERT_EQ(walked.BranchDepth, state.BranchDepth) << "round " << round;
      ASSERT_EQ(r1.random(1 << 30), r2.random(1 << 30)) << "the same draws, round " << round;
      if (!got && gen() % 2) {
        // This program learns too, through the index.
        LearningInput in;
        const std::string user = phrase;
        const std::string prev = randomText(gen, 4, false);
        in.userPhrase = user;
        in.cpuPhrase = "x";
        in.prevCpuPhrase = prev;
        in.turnRoll = 2;
        in.filterHit = true;
        in.phraseBase = &base;
        learn(files, in);
      }
    }
  }
}

TEST(IndexEdits, EveryEditOfAnotherProgramIsSeenAtTheNextUse) {
  const long rounds = envCount("VB_INDEX_EDIT_ROUNDS", longTests() ? 3000 : 200);
  for (bool wholeSeconds : {false, true}) {
    vb::testing::TempFolder dir;
    std::string words;
    for (const char* line : {"\xC0\xC1^1;", "_\xC2^2;", "__\xC3 \xC0^3;|4;", "\xC1 \xC3^5;@",
                             "\xC2\xC2^", "\xC3^6;7;"}) {
      words += std::string(line) + "\r\n";
    }
    dir.put("Base/Words.Dat", words);
    if (wholeSeconds) {
      WholeSecondStore files(dir.path(), false);
      answersAsTheWalk(files, dir.path(), rounds, 7);
    } else {
      DiskFileStore files(dir.path(), false);
      answersAsTheWalk(files, dir.path(), rounds, 5);
    }
  }
}

}  // namespace
}  // namespace vb::robust
