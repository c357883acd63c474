#include "learner.h"

#include <cstdio>
#include <fstream>

#include "engine/dialogue_state.h"
#include "engine/random_source.h"
#include "engine/text.h"
#include "engine/turn.h"

namespace vb::robust {
namespace {

void writeFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const auto& line : lines) out << line << "\r\n";
}

}  // namespace

std::string learnerPhrase(int tag, long index) {
  char text[32];
  std::snprintf(text, sizeof text, "x%d-%09ld", tag % 10, index % 1000000000L);
  return text;
}

void writeLearnerBase(const std::filesystem::path& dir, int fillerLines) {
  const auto base = dir / "Base";
  std::filesystem::create_directories(base);
  // Pool lines, some of them with a '?' inside so that learned phrases go
  // to both pools; each is also a key awaiting its first answer.
  const std::vector<std::string> pool = {
      utf8To1251("Как дела?"),       utf8To1251("Что нового."),      utf8To1251("Где ты живёшь?"),
      utf8To1251("Почему? Просто."), utf8To1251("Расскажи о себе."), utf8To1251("Ладно."),
  };
  std::vector<std::string> words;
  for (int i = 0; i < fillerLines; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "%s %05d^%s %d;%s;", utf8To1251("ТЕМА").c_str(), i,
                  utf8To1251("Ответ").c_str(), i, utf8To1251("Другой ответ").c_str());
    words.emplace_back(line);
    if (i % 7 == 0)
      words.push_back(std::string("_")
                          .append(utf8To1251("ВЕТКА"))
                          .append(std::to_string(i))
                          .append("^")
                          .append(utf8To1251("Продолжение."))
                          .append(";"));
  }
  for (const auto& line : pool) words.push_back(keyForm(line) + "^");
  writeFile(base / "Words.Dat", words);
  writeFile(base / "W1.Dat", {pool[0], pool[2], pool[3]});
  writeFile(base / "W2.Dat", pool);
  writeFile(base / "Povtor.Dat", {utf8To1251("Ты повторяешься.")});
  writeFile(base / "X.Dat", {utf8To1251("Не ругайся.")});
  writeFile(base / "Collection.Dat", {">>> " + utf8To1251("Начало.")});
  writeFile(base / "BigString.Dat", {utf8To1251("Длинно.")});
  writeFile(base / "CPUpvt.dat", {utf8To1251("Опять.")});
}

void runLearner(FileStore& files, std::uint32_t seed, int tag, long first, long count,
                const std::function<void(const std::string&)>& done) {
  SeededRandom random(seed);
  Turn turn(files, random);
  QuietEffects effects;
  DialogueState state;
  for (long i = first; i < first + count; ++i) {
    const std::string phrase = learnerPhrase(tag, i);
    turn.run(phrase, state, effects);
    Turn::finish(state);
    done(phrase);
  }
}

}  // namespace vb::robust
