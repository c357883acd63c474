#include "engine/disk_file_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <map>

#include "engine/failure.h"
#include "engine/text.h"
#include "temp_folder.h"

namespace vb {
namespace {

using testing::TempFolder;

std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}

std::string failureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Failure& f) {
    return f.what();
  }
  return "no failure";
}

TEST(DiskFileStore, MatchesEveryPartOfANameIgnoringCase) {
  TempFolder dir;
  dir.put("base/WORDS.DAT", "A^b;\r\n");
  dir.put(w("base/СЛОВА.dat"), w("слова\r\n"));
  DiskFileStore store(dir.path(), false);
  EXPECT_EQ(store.readLines("Base\\Words.Dat"), Lines{"A^b;"});
  EXPECT_EQ(store.readLines("Base\\Words.dat"), Lines{"A^b;"});
  EXPECT_EQ(store.readLines("BASE/words.DAT"), Lines{"A^b;"});
  EXPECT_EQ(store.readLines(w("Base\\слова.DAT")), Lines{w("слова")});
  EXPECT_EQ(store.locate("Base\\Words.Dat"), dir.path() / "base" / "WORDS.DAT");
}

TEST(DiskFileStore, PrefersTheExactSpellingWhenSeveralEntriesMatch) {
  TempFolder dir;
  dir.put("Base/Words.Dat", "exact\r\n");
  dir.put("Base/WORDS.DAT", "upper\r\n");
  dir.put("Base/words.dat", "lower\r\n");
  DiskFileStore store(dir.path(), false);
  EXPECT_EQ(store.readLines("Base\\Words.Dat"), Lines{"exact"});
  EXPECT_EQ(store.readLines("Base\\words.dat"), Lines{"lower"});
  // No exact entry: the bytewise smallest of the matches, every time.
  EXPECT_EQ(store.readLines("Base\\Words.DAT"), Lines{"upper"});
}

TEST(DiskFileStore, ReadsLinesEndedByCrLfCrOrLf) {
  TempFolder dir;
  DiskFileStore store(dir.path(), false);
  struct Case {
    std::string bytes;
    Lines lines;
  };
  for (const auto& c : std::vector<Case>{
           {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
           {"a\r\n", {"a"}},
           {"a\n\n", {"a", ""}},
           {"a\r\r\nb\n\rc", {"a", "", "b", "", "c"}},
           {"\r\n", {""}},
           {"", {}},
           {w("Привет!\r\n"), {w("Привет!")}},
       }) {
    dir.put("F.dat", c.bytes);
    EXPECT_EQ(store.readLines("F.dat"), c.lines) << cp1251ToUtf8(c.bytes);
  }
}

TEST(DiskFileStore, WritesEveryLineWithCrLfAndKeepsTheRealEntryName) {
  TempFolder dir;
  dir.put("base/WORDS.DAT", "old\n");
  DiskFileStore store(dir.path(), false);
  store.writeLines("Base\\Words.Dat", {"a", "", w("б")});
  EXPECT_EQ(dir.get("base/WORDS.DAT"), "a\r\n\r\n" + w("б") + "\r\n");
  EXPECT_EQ(dir.entries("base"), 1u);

  store.writeLines("Base\\Empty.Dat", {});
  EXPECT_TRUE(dir.has("base/Empty.Dat"));
  EXPECT_EQ(dir.get("base/Empty.Dat"), "");
}

TEST(DiskFileStore, MissingFilesFailWithTheNameAsSpeltAndAreNeverCreated) {
  TempFolder dir;
  dir.put("Base/Words.Dat", "");
  DiskFileStore store(dir.path(), false);
  EXPECT_EQ(failureOf([&] { store.readLines("Base\\Povtor.Dat"); }),
            "Cannot open file Base\\Povtor.Dat");
  EXPECT_EQ(failureOf([&] { store.readText("Nowhere\\Povtor.Dat"); }),
            "Cannot open file Nowhere\\Povtor.Dat");
  EXPECT_EQ(failureOf([&] { store.update("Base\\Collection.Dat", [](Lines&) { return true; }); }),
            "Cannot open file Base\\Collection.Dat");
  EXPECT_EQ(failureOf([&] {
              store.updateText("Base\\W1.Dat",
                               [](const std::string&) { return TextPieces("x\r\n"); });
            }),
            "Cannot open file Base\\W1.Dat");
  EXPECT_FALSE(dir.has("Base/Collection.Dat"));
  EXPECT_FALSE(dir.has("Base/W1.Dat"));
  EXPECT_EQ(failureOf([&] { store.writeLines("Nowhere\\Log.dat", {"x"}); }),
            "Cannot create file Nowhere\\Log.dat");
  EXPECT_EQ(failureOf([&] { store.readLines("Base"); }), "Cannot open file Base");
  // The check at start fails exactly where a read would.
  EXPECT_EQ(failureOf([&] { store.checkReadable("Base\\Povtor.Dat"); }),
            "Cannot open file Base\\Povtor.Dat");
  EXPECT_EQ(failureOf([&] { store.checkReadable("Base"); }), "Cannot open file Base");
  EXPECT_NO_THROW(store.checkReadable("base\\words.dat"));
}

TEST(DiskFileStore, UpdateWritesOnlyWhenAskedAndLetsFailuresThrough) {
  TempFolder dir;
  dir.put("Base/Collection.Dat", ">>> A.\n");
  DiskFileStore store(dir.path(), false);
  store.update("Base\\Collection.Dat", [](Lines& lines) {
    lines.push_back(">>> B.");
    return true;
  });
  EXPECT_EQ(dir.get("Base/Collection.Dat"), ">>> A.\r\n>>> B.\r\n");

  dir.put("Base/Collection.Dat", ">>> A.\n");
  store.update("Base\\Collection.Dat", [](Lines& lines) {
    lines.push_back("dropped");
    return false;
  });
  EXPECT_THROW(
      store.update("Base\\Collection.Dat", [](Lines&) -> bool { throw indexOutOfBounds(0); }),
      Failure);
  EXPECT_EQ(dir.get("Base/Collection.Dat"), ">>> A.\n");
}

TEST(DiskFileStore, UpdateTextSeesAFileReplacedSinceTheLastRead) {
  TempFolder dir;
  dir.put("Base/Words.Dat", "A^1;\r\n");
  DiskFileStore store(dir.path(), false);
  auto first = store.readText("Base\\Words.Dat");
  std::string seen;
  auto keep = [&](const std::string& bytes) -> std::optional<TextPieces> {
    seen = bytes;
    return std::nullopt;
  };
  store.updateText("Base\\Words.Dat", keep);
  EXPECT_EQ(seen, "A^1;\r\n");

  // Replaced by another program (a new file renamed in) and edited in place.
  TempFolder other;
  std::filesystem::copy_file(dir.path() / "Base/Words.Dat", other.path() / "x");
  dir.put("Base/New.Dat", "B^2;\r\n");
  std::filesystem::rename(dir.path() / "Base/New.Dat", dir.path() / "Base/Words.Dat");
  store.updateText("Base\\Words.Dat", keep);
  EXPECT_EQ(seen, "B^2;\r\n");
  auto second = store.readText("Base\\Words.Dat");
  dir.put("Base/Words.Dat", "C^3;\r\nD^4;\r\n");
  store.updateText("Base\\Words.Dat", keep);
  EXPECT_EQ(seen, "C^3;\r\nD^4;\r\n");
}

// A disk that fills up halfway through the temporary file.
class FullDiskStore : public DiskFileStore {
 public:
  using DiskFileStore::DiskFileStore;

 protected:
  bool writeAll(int fd, std::string_view bytes) override {
    DiskFileStore::writeAll(fd, bytes.substr(0, bytes.size() / 2));
    return false;
  }
};

TEST(DiskFileStore, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
  TempFolder dir;
  dir.put("Base/Collection.Dat", ">>> A.\r\n");
  FullDiskStore store(dir.path());
  EXPECT_EQ(failureOf([&] {
              store.update("Base\\Collection.Dat", [](Lines& lines) {
                lines.push_back(">>> B.");
                return true;
              });
            }),
            "Cannot create file Base\\Collection.Dat");
  EXPECT_EQ(failureOf([&] {
              store.writeLines("Base\\Collection.Dat", {"x", "y"});
            }),
            "Cannot create file Base\\Collection.Dat");
  EXPECT_EQ(failureOf([&] { store.writeLines("Base\\New.Dat", {"x"}); }),
            "Cannot create file Base\\New.Dat");
  EXPECT_EQ(dir.get("Base/Collection.Dat"), ">>> A.\r\n");
  EXPECT_EQ(dir.entries("Base"), 1u);
}

TEST(DiskFileStore, KeepsTheFileModeAndWritesThroughALink) {
  TempFolder dir;
  dir.put("Base/Real.Dat", "a\r\n");
  std::filesystem::permissions(dir.path() / "Base/Real.Dat", std::filesystem::perms(0640));
  std::filesystem::create_symlink("Real.Dat", dir.path() / "Base/Link.Dat");
  DiskFileStore store(dir.path());
  store.update("Base\\Link.Dat", [](Lines& lines) {
    lines.push_back("b");
    return true;
  });
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "Base/Link.Dat"));
  EXPECT_EQ(dir.get("Base/Real.Dat"), "a\r\nb\r\n");
  EXPECT_EQ(std::filesystem::status(dir.path() / "Base/Real.Dat").permissions(),
            std::filesystem::perms(0640));
}

TEST(DiskFileStore, TwoProgramsAppendingToOneFileLoseNothing) {
  TempFolder dir;
  dir.put("Base/W2.Dat", "");
  constexpr int kEach = 150;
  auto appendMany = [&](const std::string& who) {
    DiskFileStore store(dir.path(), false);
    for (int i = 0; i < kEach; ++i) {
      store.update("Base\\W2.Dat", [&](Lines& lines) {
        lines.push_back(who + std::to_string(i));
        return true;
      });
      store.updateText("base\\w2.dat", [&](const std::string& bytes) {
        TextPieces pieces;
        pieces.view(bytes).own(who + "t" + std::to_string(i) + "\r\n");
        return std::optional<TextPieces>(std::move(pieces));
      });
    }
  };
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    appendMany("child");
    ::_exit(0);
  }
  appendMany("parent");
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  DiskFileStore store(dir.path(), false);
  EXPECT_EQ(store.readLines("Base\\W2.Dat").size(), 4u * kEach);
  EXPECT_EQ(dir.entries("Base"), 1u);
}

TEST(DiskFileStore, AtStartRemovesOnlyTheTemporaryFilesOfGoneWriters) {
  pid_t gone = ::fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const std::string dead = ".vb" + std::to_string(gone) + "-1.tmp";
  const std::string live = ".vb" + std::to_string(::getppid()) + "-7.tmp";
  const std::string former = ".vb" + std::to_string(::getpid()) + "-2.tmp";  // a former self
  TempFolder dir;
  for (const auto& name : {dead, live, former}) {
    dir.put("base/" + name, "copy");
    dir.put(name, "copy");
  }
  const std::vector<std::string> others = {"Words.Dat", ".vb-1.tmp", ".vb12x-1.tmp", ".vb1-1.tmpx",
                                           "vb1-1.tmp"};
  for (const auto& name : others) dir.put("base/" + name, "keep");
  DiskFileStore store(dir.path(), false);
  EXPECT_EQ(store.removeStaleTemporaries(), 4);
  for (const auto& name : others) EXPECT_EQ(dir.get("base/" + name), "keep") << name;
  EXPECT_EQ(dir.get("base/" + live), "copy");
  EXPECT_EQ(dir.get(live), "copy");
  EXPECT_EQ(dir.entries("base"), others.size() + 1);
  EXPECT_EQ(DiskFileStore(dir.path() / "nowhere", false).removeStaleTemporaries(), 0);
}

}  // namespace
}  // namespace vb

namespace vb {
namespace {

// A store that only knows lines, as a stand-in of other layers' tests is.
class LinesOnlyStore : public FileStore {
 public:
  std::map<std::string, Lines, std::less<>> files;
  Lines readLines(std::string_view name) override {
    auto it = files.find(name);
    if (it == files.end()) throw cannotOpen(name);
    return it->second;
  }
  void writeLines(std::string_view name, const Lines& lines) override {
    files[std::string(name)] = lines;
  }
  void update(std::string_view name, const std::function<bool(Lines&)>& change) override {
    Lines lines = readLines(name);
    if (change(lines)) writeLines(name, lines);
  }
};

TEST(FileStore, BytesAccessComesFreeWithLines) {
  LinesOnlyStore store;
  store.files["A"] = {"x", "y"};
  EXPECT_EQ(*store.readText("A"), "x\r\ny\r\n");
  store.updateText("A", [](const std::string& bytes) {
    TextPieces pieces;
    pieces.view(bytes).own("z\r\n");
    return std::optional<TextPieces>(std::move(pieces));
  });
  EXPECT_EQ(store.files["A"], (Lines{"x", "y", "z"}));
  EXPECT_THROW(store.updateText("B", [](const std::string&) { return std::nullopt; }), Failure);
}

}  // namespace
}  // namespace vb
