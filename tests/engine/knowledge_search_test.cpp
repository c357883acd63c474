#include "engine/knowledge_search.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/phrase_bytes.h"
#include "engine_fixture.h"

namespace vb {
namespace {

using testing::TraceRandom;
using testing::w;

std::string base(std::initializer_list<std::string_view> lines, std::string_view end = "\r\n") {
  std::string out;
  for (auto line : lines) out += w(line) + std::string(end);
  return out;
}

// The entries of a small thread of conversation.
const std::string& threads() {
  static const std::string text = base({
      "КАК ДЕЛА^Хорошо.;Отлично!|А у тебя?;",
      "_ПЛОХО^Почему?;",
      "__НЕ ЗНАЮ^Бывает.;",
      "_ХОРОШО^Рад за тебя.;",
      "ПРИВЕТ^Привет!;@",
  });
  return text;
}

struct Searcher {
  explicit Searcher(std::string t) : text(std::move(t)) {}
  std::string text;
  DialogueState state;
  TraceRandom random;

  // The answer (UTF-8) to a raw phrase, "-" when unknown.
  std::string say(std::string_view raw) {
    last = searchPhraseBase(text, normalisePhrase(w(raw)), state, random);
    return last ? cp1251ToUtf8(last->answer) : "-";
  }
  std::optional<SearchHit> last;
};

TEST(Search, DrawsOneOfTheAnswersAndItsDelayedPart) {
  Searcher s{threads()};
  s.random.push(0);
  EXPECT_EQ(s.say("как дела?"), "Хорошо.");
  EXPECT_EQ(s.last->delayed, "");
  EXPECT_EQ(s.random.trace, std::vector<std::string>{"R2=0"});
  s.state = {};
  s.random.push(1);
  EXPECT_EQ(s.say("как дела?"), "Отлично!");
  EXPECT_EQ(cp1251ToUtf8(s.last->delayed), "А у тебя?");
  EXPECT_FALSE(s.last->fromBranch);
  EXPECT_FALSE(s.last->closing);
  EXPECT_EQ(s.state.BranchLine, 0);
  EXPECT_EQ(s.state.BranchDepth, 1);
}

TEST(Search, FollowsAThreadDepthByDepth) {
  Searcher s{threads()};
  EXPECT_EQ(s.say("как дела?"), "Хорошо.");
  EXPECT_EQ(s.say("плохо"), "Почему?");
  EXPECT_TRUE(s.last->fromBranch);
  EXPECT_EQ(s.state.BranchLine, 1);
  EXPECT_EQ(s.state.BranchDepth, 2);
  EXPECT_EQ(s.say("не знаю"), "Бывает.");
  EXPECT_EQ(s.state.BranchLine, 2);
  EXPECT_EQ(s.state.BranchDepth, 3);
}

TEST(Search, AThreadClosesAtTheNextMainPhraseAndThePhraseIsSearchedAsUsual) {
  Searcher s{threads()};
  s.say("как дела?");
  s.say("плохо");
  // The thread wants depth 2; _ХОРОШО^ has depth 1, and no key has ХОРОШО.
  EXPECT_EQ(s.say("хорошо"), "-");
  EXPECT_EQ(s.state.BranchDepth, 0);
  // Closed at ПРИВЕТ^ and found from the top.
  s.say("как дела?");
  s.say("плохо");
  EXPECT_EQ(s.say("привет"), "Привет!");
  EXPECT_FALSE(s.last->fromBranch);
  EXPECT_EQ(s.state.BranchLine, 4);
  EXPECT_EQ(s.state.BranchDepth, 1);
}

TEST(Search, AThreadOnTheLastLineClosesAtTheEndOfTheFile) {
  Searcher s{threads()};
  EXPECT_EQ(s.say("привет"), "Привет!");
  EXPECT_EQ(s.say("как дела?"), "Хорошо.");
  EXPECT_EQ(s.state.BranchLine, 0);
}

TEST(Search, AnyBranchOfTheRightDepthInTheBlockContinuesTheThread) {
  Searcher s{base({
      "ПОГОДА^Дождь.;",
      "_ЗОНТ^Возьми.;",
      "__НЕТ ЗОНТА^Промокнешь.;",
      "_СОЛНЦЕ^Увы, нет.;",
      "ДРУГОЕ^Другое.;",
      "_СОЛНЦЕ^Не отсюда.;",
  })};
  s.say("погода");
  EXPECT_EQ(s.say("а солнце?"), "Увы, нет.");
  EXPECT_EQ(s.state.BranchLine, 3);
}

TEST(Search, WholeKeyPassBeforeWordPassAndWordsInTheirOrder) {
  Searcher s{threads()};
  EXPECT_EQ(s.say("Как твои дела?"), "Хорошо.");
  EXPECT_EQ(s.say("Дела как?"), "-");

  Searcher both{base({"КАК ДЕЛА^Словами.;", "ТВОИ ДЕЛА^Целиком.;"})};
  EXPECT_EQ(both.say("Как твои дела?"), "Целиком.");
  EXPECT_EQ(both.state.BranchLine, 1);
  // The first word hit in file order wins when no whole key is found.
  Searcher order{base({"ТВОИ ДЕЛА^Первый.;", "КАК ДЕЛА^Второй.;"})};
  EXPECT_EQ(order.say("Как там твои все дела?"), "Первый.");
  // Each word scans on after the previous one's run, with a fresh run.
  Searcher fresh{base({"ДА ДА^Дважды.;"})};
  EXPECT_EQ(fresh.say("Да."), "-");
  EXPECT_EQ(fresh.say("Да, да."), "Дважды.");
}

TEST(Search, BranchLinesNeedTheirMarksOutsideAThread) {
  Searcher s{threads()};
  EXPECT_EQ(s.say("плохо"), "-");
  EXPECT_EQ(s.say("__не знаю"), "Бывает.");
}

TEST(Search, ClosingMarkOnlyAsTheLastCharacter) {
  Searcher s{base({"ПОКА^До свидания!;@", "ПРОЩАЙ^Прощай!@;"})};
  s.say("пока");
  EXPECT_TRUE(s.last->closing);
  EXPECT_EQ(s.say("прощай"), "Прощай!@");
  EXPECT_FALSE(s.last->closing);
}

TEST(Search, PassesOverLinesItCannotUse) {
  Searcher s{base({
      "",
      "ПРИВЕТ",
      "^Пустой ключ;",
      "   ^Одни пробелы;",
      "ПРИВЕТ^",
      "ПРИВЕТ^нет точки с запятой",
      "ПРИВЕТ^;;",
      "ПРИВЕТ^;|потом;",
      "ПРИВЕТ^;Да!;;Нет!;хвост",
  })};
  EXPECT_EQ(s.say("Привет"), "Да!");
  EXPECT_EQ(s.random.trace, std::vector<std::string>{"R2=0"});
  s.random.push(1);
  EXPECT_EQ(s.say("Привет"), "Нет!");
  EXPECT_EQ(s.state.BranchLine, 8);
  EXPECT_EQ(s.say("Пока"), "-");

  // A line without '^' neither answers nor ends a thread.
  Searcher thread{base({"КАК ДЕЛА^Хорошо.;", "", "_ПЛОХО^Почему?;"})};
  thread.say("как дела");
  EXPECT_EQ(thread.say("плохо"), "Почему?");
}

TEST(Search, ReadsAnyLineEndAndTheDelayedPartUpToTheSemicolon) {
  Searcher s{base({"ДА^Ага|Угу|Ну;", "НЕТ^Нет;"}, "\n")};
  EXPECT_EQ(s.say("да"), "Ага");
  EXPECT_EQ(cp1251ToUtf8(s.last->delayed), "Угу|Ну");
  s.text = base({"ДА^Ага;", "НЕТ^Нет;"}, "\r");
  EXPECT_EQ(s.say("нет"), "Нет");
}

TEST(Search, KeysAreTakenAsStoredAndThePhraseUpperCased) {
  Searcher s{base({"hello^lower;", "HELLO^upper;", "ЁЖ^Ёжик;"})};
  EXPECT_EQ(s.say("hello"), "upper");
  EXPECT_EQ(s.say("ёжик"), "Ёжик");
}

TEST(Search, WordSplitKeepsTheSecondOfTwoSpacesInTheNextWord) {
  // КАК  ДЕЛА is КАК and " ДЕЛА": the second word needs a space before it,
  // and a second space breaks its run without being retried.
  EXPECT_TRUE(wordsFound(w("Как дела."), w("КАК  ДЕЛА")));
  EXPECT_TRUE(wordsFound(w("Как там дела."), w("КАК  ДЕЛА")));
  EXPECT_FALSE(wordsFound(w("Как  дела."), w("КАК  ДЕЛА")));
  EXPECT_FALSE(wordsFound(w("Какдела."), w("КАК  ДЕЛА")));
  EXPECT_FALSE(wordsFound(w("Как дела."), ""));
}

TEST(Search, ThePhraseFilterNeverRulesOutALineThatWouldAnswer) {
  std::mt19937 gen(11);
  const std::string letters = w("аБвГ ДЕ.ж");
  auto text = [&](std::size_t max, bool upper) {
    std::string out(gen() % max, ' ');
    for (char& c : out) c = letters[gen() % letters.size()];
    return upper ? upper1251(out) : out;
  };
  int found = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string phrase = normalisePhrase(text(14, false));
    const std::string head = text(6, true);
    const PhraseBytes filter(phrase);
    if (runFound(phrase, head) || wordsFound(phrase, head)) {
      ++found;
      ASSERT_NE(filter.headMayOccur(head + "^x;"), std::string_view::npos)
          << cp1251ToUtf8(phrase) << " / " << cp1251ToUtf8(head);
    }
  }
  EXPECT_GT(found, 1000);
}

}  // namespace
}  // namespace vb
