// How well the shipped phrase base knows a first conversation: each phrase
// of first_conversation_phrases.txt (everyday phrases written without
// looking at the keys) is sent to the real turn as the first phrase of a
// fresh dialogue, on a copy of the program folder, and must be answered
// from the phrase base, not improvised from the pools. The answers, and the
// phrases that missed, are written beside the build for the authors.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/dialogue_state.h"
#include "engine/disk_file_store.h"
#include "engine/random_source.h"
#include "engine/text.h"
#include "engine/turn.h"

namespace fs = std::filesystem;

namespace {

// Remembers what the turn said and whether it called the answer improvised:
// with TurnRoll 1 an improvised answer (a pool line, a repeat or long-phrase
// answer) starts the follow-up timer, an answer from the phrase base or the
// censor leaves it alone.
class Recorder final : public vb::TurnEffects {
 public:
  void busyCursor(bool) override {}
  void playUserSound() override {}
  void showUserLine(const std::string&) override {}
  void playCpuSound() override {}
  void showCpuLine(const std::string& phrase) override { said = phrase; }
  void setClosingTimer(bool) override {}
  void startDelayedTimer() override {}
  void setFollowUpTimer(bool enabled) override { improvised = improvised || enabled; }

  std::string said;
  bool improvised = false;
};

class ProgramFolderCopy {
 public:
  ProgramFolderCopy() {
    root_ = fs::temp_directory_path() / ("vb-coverage-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::copy(fs::path(VB_SOURCE_DIR) / "data", root_, fs::copy_options::recursive);
  }
  ~ProgramFolderCopy() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  const fs::path& root() const { return root_; }

 private:
  fs::path root_;
};

std::vector<std::string> phrases() {
  std::ifstream in(fs::path(VB_SOURCE_DIR) / "tests" / "data" / "first_conversation_phrases.txt");
  std::vector<std::string> list;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) list.push_back(line);
  }
  return list;
}

std::size_t lineCount(vb::FileStore& files, const char* name) {
  return files.readLines(name).size();
}

}  // namespace

TEST(Coverage, FirstConversationPhrasesAreAnsweredFromThePhraseBase) {
  auto list = phrases();
  ASSERT_GE(list.size(), 150u);
  ProgramFolderCopy folder;
  vb::DiskFileStore files(folder.root(), false);

  std::ostringstream answers, misses;
  int known = 0, censored = 0;
  for (const std::string& utf8 : list) {
    // A fresh dialogue for every phrase: no repetition, no open thread.
    vb::DialogueState state;
    // TurnRoll 1 (so an improvised answer shows by the follow-up timer),
    // long-phrase draw 1 (never the long-phrase file), then the first answer.
    vb::ScriptedRandom random{0, 1};
    Recorder recorder;
    std::size_t censorRecords = lineCount(files, "Base\\Collection.Dat");
    vb::Turn turn(files, random);
    ASSERT_NO_THROW(turn.run(vb::utf8To1251(utf8), state, recorder)) << utf8;
    bool wasCensored = lineCount(files, "Base\\Collection.Dat") > censorRecords;
    std::string said = vb::cp1251ToUtf8(recorder.said);
    if (wasCensored) {
      ++censored;
      answers << "[censor]  " << utf8 << "  ->  " << said << "\n";
      misses << utf8 << "  ->  (censor) " << said << "\n";
    } else if (recorder.improvised) {
      answers << "[pool]    " << utf8 << "  ->  " << said << "\n";
      misses << utf8 << "  ->  (improvised) " << said << "\n";
    } else {
      ++known;
      answers << "[base]    " << utf8 << "  ->  " << said << "\n";
    }
  }
  double share = 100.0 * known / double(list.size());
  std::ofstream(fs::path(VB_BINARY_DIR) / "coverage-answers.txt") << answers.str();
  std::ofstream(fs::path(VB_BINARY_DIR) / "coverage-misses.txt")
      << "Answered from the phrase base: " << known << " of " << list.size() << " (" << share
      << "%)\n"
      << "Censored: " << censored << "\n\n"
      << misses.str();
  RecordProperty("coverage_percent", std::to_string(share));
  std::cout << "coverage: " << known << " of " << list.size() << " (" << share
            << "%) from the phrase base\n";
  EXPECT_GE(share, 85.0) << "phrases that missed:\n" << misses.str();
}

// Phrases whose right answer is known: facts, informal and Latin-layout
// typing, negations and words that hold another topic's key. Each is the
// first phrase of a fresh dialogue and takes the first answer of the line
// found; the answer must hold the expected text (or, with "!", must not).
TEST(Coverage, EverydayTypingAndFactsFindTheirOwnLine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Сколько будет 7 * 8?", "56"},
      {"сколько будет семь умножить на восемь", "56"},
      {"Сколько будет 12+25?", "!="},
      {"Какая столица Японии?", "Токио"},
      {"столица австралии", "Канберра"},
      {"Кто написал «Войну и мир»?", "Толстой"},
      {"Кто автор Евгения Онегина?", "Пушкин"},
      {"Сколько планет в Солнечной системе?", "Восемь"},
      {"Когда началась Великая Отечественная война?", "1941"},
      {"ghbdtn", "Привет"},
      {"превет", "Привет"},
      {"Хочу завести собаку", "!Баку"},
      {"Мне не скучно", "!Давай"},
      {"Подожди минутку", "!Дождь"},
      {"Всем было бы лучше без меня", "телефон доверия"},
      {"На нём писали Кирилл и Мефодий", "азбук"},
      {"Меня зовут не Кирилл", "Как же тебя зовут"},
      {"Сколько будет семью восемь?", "56"},
      {"А ты какую пиццу любишь?", "Маргарит"},
      {"Ладно бб мне пора", "Пока"},
  };
  ProgramFolderCopy folder;
  vb::DiskFileStore files(folder.root(), false);
  for (const auto& [utf8, expected] : cases) {
    vb::DialogueState state;
    vb::ScriptedRandom random{0, 1};
    Recorder recorder;
    vb::Turn turn(files, random);
    ASSERT_NO_THROW(turn.run(vb::utf8To1251(utf8), state, recorder)) << utf8;
    const std::string said = vb::cp1251ToUtf8(recorder.said);
    EXPECT_FALSE(recorder.improvised) << utf8 << " -> " << said;
    if (expected.front() == '!')
      EXPECT_EQ(said.find(expected.substr(1)), std::string::npos) << utf8 << " -> " << said;
    else
      EXPECT_NE(said.find(expected), std::string::npos) << utf8 << " -> " << said;
  }
}
