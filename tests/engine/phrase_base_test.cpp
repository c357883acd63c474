#include "engine/phrase_base.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/failure.h"
#include "engine/learning.h"
#include "engine_fixture.h"

namespace vb {
namespace {

using testing::Kb;
using testing::w;

// A file system that keeps whole seconds, and whose files all carry the
// same times: only the racily-clean rule can see an edit that keeps the
// size.
class WholeSecondStore final : public DiskFileStore {
 public:
  using DiskFileStore::DiskFileStore;
  std::int64_t clock = 1'000'000'000'000;

 protected:
  void observe(struct stat& st) const override {
    st.st_mtim = {1000, 0};
    st.st_ctim = {1000, 0};
  }
  std::int64_t clockNs() const override { return clock; }
};

std::string answer(PhraseBase& base, std::string_view phrase) {
  DialogueState state;
  ScriptedRandom random;
  auto hit = base.search(normalisePhrase(w(phrase)), state, random);
  return hit ? cp1251ToUtf8(hit->answer) : "-";
}

void writeInPlace(const std::filesystem::path& file, std::string_view bytes) {
  const int fd = ::open(file.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

TEST(PhraseBase, SeesEveryEditOnDiskAtTheNextUse) {
  Kb kb;
  kb.put("Base/Words.Dat", {"ПРИВЕТ^Привет!;"});
  WholeSecondStore files(kb.dir().path(), false);
  PhraseBase base(files);
  const auto file = kb.dir().path() / "Base/Words.Dat";
  EXPECT_EQ(answer(base, "привет"), "Привет!");
  const WordsIndex* built = base.index();
  ASSERT_NE(built, nullptr);

  // Same inode, size and times, within a second of the build: read again.
  writeInPlace(file, w("ПРИВЕТ^Здоров!;\r\n"));
  EXPECT_EQ(answer(base, "привет"), "Здоров!");
  // Read again while it is racily clean, but kept when the bytes are the same.
  const auto reads = files.diskReads();
  EXPECT_EQ(answer(base, "привет"), "Здоров!");
  EXPECT_EQ(files.diskReads(), reads + 1);
  // Once the clock is past the file's times, the stamp alone proves it.
  files.clock += 3'000'000'000;
  EXPECT_EQ(answer(base, "привет"), "Здоров!");
  EXPECT_EQ(answer(base, "привет"), "Здоров!");
  EXPECT_EQ(files.diskReads(), reads + 2);

  // Replaced by another program (a new inode), cut short, gone.
  kb.put("Base/new", {"ПОКА^Пока!;", "ПРИВЕТ^Салют!;"});
  std::filesystem::rename(kb.dir().path() / "Base/new", file);
  EXPECT_EQ(answer(base, "привет"), "Салют!");
  ASSERT_EQ(::truncate(file.c_str(), 13), 0);
  EXPECT_EQ(answer(base, "привет"), "-");
  EXPECT_EQ(answer(base, "пока"), "Пока!");
  kb.remove("Base/Words.Dat");
  EXPECT_THROW(answer(base, "пока"), Failure);
}

TEST(PhraseBase, OwnLearningChangesTheIndexInPlace) {
  Kb kb;
  kb.put("Base/Words.Dat", {"КАК ТЕБЯ ЗОВУТ^", "ПРИВЕТ^Привет!;"});
  kb.settle();
  PhraseBase base(kb.store());
  EXPECT_EQ(answer(base, "как тебя зовут?"), "-");
  const WordsIndex* built = base.index();
  const auto reads = kb.store().diskReads();

  const std::string user = normalisePhrase(w("Меня зовут Петя"));
  LearningInput in;
  in.userPhrase = user;
  in.cpuPhrase = "x";
  const std::string prev = w("Как тебя зовут?");
  in.prevCpuPhrase = prev;
  in.turnRoll = 2;
  in.filterHit = true;
  in.phraseBase = &base;
  learn(kb.store(), in);

  EXPECT_EQ(kb.lines("Base\\Words.Dat"),
            (std::vector<std::string>{"ПРИВЕТ^Привет!;", "МЕНЯ ЗОВУТ ПЕТЯ^",
                                      "КАК ТЕБЯ ЗОВУТ^Меня зовут Петя.;"}));
  EXPECT_EQ(kb.store().diskReads(), reads + 1);  // the lines() just above
  EXPECT_EQ(answer(base, "как тебя зовут?"), "Меня зовут Петя.");
  DialogueState state;
  ScriptedRandom random;
  base.search(w("Как тебя зовут?"), state, random);
  EXPECT_EQ(state.BranchLine, 2);
  EXPECT_EQ(base.index(), built);
  EXPECT_EQ(built->lineCount(), 3u);
}

TEST(PhraseBase, ABaseTooLargeToIndexIsWalkedWithOneNote) {
  Kb kb;
  std::string bytes;
  for (int i = 0; i < 50000; ++i) bytes += "A^\r\n";
  bytes += w("ПРИВЕТ^Привет!;\r\n");
  kb.putRaw("Base/Words.Dat", bytes);
  PhraseBase base(kb.store());
  EXPECT_EQ(answer(base, "привет"), "Привет!");
  EXPECT_EQ(base.index(), nullptr);
  const auto note = base.takeNote();
  ASSERT_TRUE(note);
  EXPECT_NE(cp1251ToUtf8(*note).find("Words.Dat"), std::string::npos);
  EXPECT_EQ(answer(base, "привет"), "Привет!");
  EXPECT_FALSE(base.takeNote());
}

}  // namespace
}  // namespace vb
