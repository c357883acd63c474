#include "engine/learning.h"

#include <gtest/gtest.h>

#include "engine/failure.h"
#include "engine/knowledge_search.h"
#include "engine/word_lists.h"
#include "engine_fixture.h"

namespace vb {
namespace {

using testing::Kb;
using testing::w;
using Utf8Lines = std::vector<std::string>;

struct Learner {
  Kb kb;
  Learner() {
    kb.put("Base/W1.Dat", {"Как тебя зовут?"});
    kb.put("Base/W2.Dat", {"Погода хорошая."});
    kb.put("Base/Words.Dat", {"ПРИВЕТ^Привет!;"});
  }
  // Learns the raw phrase as the turn would after answering it with `cpu`.
  void learnPhrase(std::string_view raw, std::string_view cpu, std::string_view prevCpu = "",
                   int roll = 1) {
    const std::string user = normalisePhrase(w(raw));
    const std::string cpuPhrase = w(cpu);
    const std::string prev = w(prevCpu);
    LearningInput in;
    in.userPhrase = user;
    in.cpuPhrase = cpuPhrase;
    in.prevCpuPhrase = prev;
    in.turnRoll = roll;
    in.filterHit = filterHit(user);
    in.fromQuestionPool = user.back() == '?';
    learn(kb.store(), in);
  }
  Utf8Lines words() { return kb.lines("Base\\Words.Dat"); }
};

TEST(Learning, StoresAnUnknownPhraseInThePoolOfItsAnswerAndAsAKey) {
  Learner l;
  l.learnPhrase("Сегодня был дождь", "Погода хорошая.");
  EXPECT_EQ(l.kb.lines("Base\\W2.Dat"), (Utf8Lines{"Погода хорошая.", "Сегодня был дождь."}));
  EXPECT_EQ(l.words(), (Utf8Lines{"ПРИВЕТ^Привет!;", "СЕГОДНЯ БЫЛ ДОЖДЬ^"}));

  // The answer decides the pool: a statement answered with a question goes
  // to the question pool.
  l.learnPhrase("Мой кот рыжий", "Как тебя зовут?");
  EXPECT_EQ(l.kb.lines("Base\\W1.Dat").back(), "Мой кот рыжий.");
  EXPECT_EQ(l.words().back(), "МОЙ КОТ РЫЖИЙ^");

  // Said again: no second key, and no second pool line.
  l.learnPhrase("Сегодня был дождь", "Погода хорошая.");
  EXPECT_EQ(l.words().size(), 3u);
  EXPECT_EQ(l.kb.lines("Base\\W2.Dat").size(), 2u);
}

TEST(Learning, AFilterHitSkipsThePoolsButNotTheKey) {
  Learner l;
  l.learnPhrase("Я хочу спать?", "Как тебя зовут?");
  EXPECT_EQ(l.kb.lines("Base\\W1.Dat"), Utf8Lines{"Как тебя зовут?"});
  EXPECT_EQ(l.words().back(), "Я ХОЧУ СПАТЬ^");
}

TEST(Learning, AnEmptyAnswerEndsLearningAfterTheDuplicateCheck) {
  Learner l;
  l.learnPhrase("Сегодня был дождь", "");
  EXPECT_EQ(l.words().size(), 1u);
  EXPECT_EQ(l.kb.lines("Base\\W2.Dat").size(), 1u);
  // Already in the pool: the empty answer does not matter, the key is learned.
  l.kb.put("Base/W2.Dat", {"Сегодня был дождь."});
  l.learnPhrase("Сегодня был дождь", "");
  EXPECT_EQ(l.words().back(), "СЕГОДНЯ БЫЛ ДОЖДЬ^");
}

TEST(Learning, AReplyBecomesAnAnswerOfThePreviousPhrase) {
  Learner l;
  l.kb.put("Base/Words.Dat", {"КАК ТЕБЯ ЗОВУТ^", "_ЗАЧЕМ^Просто так.;", "ПРИВЕТ^Привет!;"});
  l.learnPhrase("Меня зовут Петя.", "Погода хорошая.", "Как тебя зовут?", 2);
  EXPECT_EQ(l.words(), (Utf8Lines{"_ЗАЧЕМ^Просто так.;", "ПРИВЕТ^Привет!;", "МЕНЯ ЗОВУТ ПЕТЯ^",
                                  "КАК ТЕБЯ ЗОВУТ^Меня зовут Петя.;"}));
  // Each further reply adds one more answer and moves the line again.
  l.learnPhrase("Зови меня Петром", "Погода хорошая.", "как тебя зовут", 3);
  EXPECT_EQ(l.words().back(), "КАК ТЕБЯ ЗОВУТ^Меня зовут Петя.;Зови меня Петром.;");
  EXPECT_EQ(l.words()[3], "ЗОВИ МЕНЯ ПЕТРОМ^");
}

TEST(Learning, NoAnswerWithoutANewKeyARollOf2Or3OrAMatchingKey) {
  Learner l;
  l.kb.put("Base/Words.Dat", {"КАК ТЕБЯ ЗОВУТ^", "МЕНЯ ЗОВУТ ПЕТЯ^"});
  l.learnPhrase("Меня зовут Петя.", "x", "Как тебя зовут?", 2);  // key known
  l.learnPhrase("Меня зовут Вася.", "x", "Как тебя зовут?", 1);  // roll 1
  l.learnPhrase("Меня зовут Коля.", "x", "", 2);                 // nothing said before
  // A repeat tail makes the previous answer match no key.
  l.learnPhrase("Меня зовут Олег.", "x", "Как тебя зовут?     Опять.", 2);
  EXPECT_EQ(l.words(), (Utf8Lines{"КАК ТЕБЯ ЗОВУТ^", "МЕНЯ ЗОВУТ ПЕТЯ^", "МЕНЯ ЗОВУТ ВАСЯ^",
                                  "МЕНЯ ЗОВУТ КОЛЯ^", "МЕНЯ ЗОВУТ ОЛЕГ^"}));
}

TEST(Learning, ALineWithTheClosingMarkKeepsIt) {
  Learner l;
  l.kb.put("Base/Words.Dat", {"ПОКА^До свидания!;@", "ЗАКРОЙСЯ^@"});
  l.learnPhrase("Ну и иди", "x", "Пока!", 2);
  l.learnPhrase("Сам закройся", "x", "Закройся.", 3);
  EXPECT_EQ(l.words(), (Utf8Lines{"НУ И ИДИ^", "ПОКА^До свидания!;Ну и иди.;@", "САМ ЗАКРОЙСЯ^",
                                  "ЗАКРОЙСЯ^Сам закройся.;@"}));
}

TEST(Learning, NeverLearnsAKeyWithoutLetters) {
  Learner l;
  l.kb.put("Base/Words.Dat", {"ПРИВЕТ^Привет!;", "^Пусто.;"});
  l.learnPhrase("?!..", "x", "Привет.", 2);
  l.learnPhrase(",  ,  .", "x", "Привет.", 2);
  // An empty previous answer key never picks a line either.
  l.learnPhrase("Новая фраза", "x", "...", 2);
  EXPECT_EQ(l.words(), (Utf8Lines{"ПРИВЕТ^Привет!;", "^Пусто.;", "НОВАЯ ФРАЗА^"}));
}

TEST(Learning, KeepsMarkupOutOfThePhraseBase) {
  Learner l;
  l.kb.put("Base/Words.Dat", {"ПРИВЕТ^"});
  l.learnPhrase("a^b c", "x", "Привет.", 2);
  l.learnPhrase("_скрытый ключ", "x", "Привет.", 2);
  l.learnPhrase("раз; два", "x", "Привет.", 2);
  EXPECT_EQ(l.words(), (Utf8Lines{"ПРИВЕТ^", "РАЗ; ДВА^"}));
}

TEST(Learning, AnAnswerForTheNewKeyItself) {
  Learner l;
  l.learnPhrase("Эхо эхо", "x", "эхо, эхо!", 2);
  EXPECT_EQ(l.words().back(), "ЭХО ЭХО^Эхо эхо.;");
}

TEST(Learning, RewritesEveryLineEndAsCrLf) {
  Learner l;
  l.kb.putRaw("Base/Words.Dat", "A^1;\nB^2;\rC^3;");
  l.learnPhrase("Новая фраза", "x", "b", 2);
  EXPECT_EQ(l.kb.raw("Base/Words.Dat"),
            "A^1;\r\nC^3;\r\n" + w("НОВАЯ ФРАЗА^") + "\r\nB^2;" + w("Новая фраза.") + ";\r\n");
  l.kb.putRaw("Base/W2.Dat", "a\nb");
  l.learnPhrase("Ещё одна", "x");
  EXPECT_EQ(l.kb.raw("Base/W2.Dat"), "a\r\nb\r\n" + w("Ещё одна.") + "\r\n");
}

TEST(Learning, ReadsWordsDatOnceWhenTheTurnStillHoldsIt) {
  Learner l;
  l.kb.settle();
  auto held = l.kb.store().readText("Base\\Words.Dat");
  const auto before = l.kb.store().diskReads();
  l.learnPhrase("Сегодня был дождь", "Погода хорошая.");
  // W2.Dat is read once for the duplicate check and its append; Words.Dat,
  // unchanged since it was read, not at all.
  EXPECT_EQ(l.kb.store().diskReads() - before, 1u);
  EXPECT_EQ(l.words().back(), "СЕГОДНЯ БЫЛ ДОЖДЬ^");
}

TEST(Learning, WhatTheSearchNotedLeadsToTheSameBytesAsWalkingAgain) {
  const std::vector<std::string> files = {
      w("КАК ТЕБЯ ЗОВУТ^\r\nПРИВЕТ^Привет!;@\r\n"),
      w("ПРИВЕТ^Привет!;\nКАК ТЕБЯ ЗОВУТ^Вася.;\rЕЩЁ^\r\n"),
      w("МЕНЯ ЗОВУТ ПЕТЯ^\r\nКАК ТЕБЯ ЗОВУТ^\r\n"),
      w("КАК ТЕБЯ ЗОВУТ^Вася.;@\r\nКАК ТЕБЯ ЗОВУТ^\r\nКОНЕЦ^"),
      "",
  };
  for (const auto& words : files) {
    for (int roll : {1, 2}) {
      std::string bytes[2];
      for (int withProbe : {0, 1}) {
        Learner l;
        l.kb.putRaw("Base/Words.Dat", words);
        const std::string user = normalisePhrase(w("Меня зовут Петя"));
        const std::string prev = w("Как тебя зовут?");
        const std::string cpu = w("Погода хорошая.");
        WordsProbe probe = probeFor(user, prev, roll);
        auto held = l.kb.store().readText("Base\\Words.Dat");
        probe.text = held;
        DialogueState state;
        ScriptedRandom random;
        ASSERT_FALSE(searchPhraseBase(*held, user, state, random, &probe));
        LearningInput in;
        in.userPhrase = user;
        in.cpuPhrase = cpu;
        in.prevCpuPhrase = prev;
        in.turnRoll = roll;
        in.filterHit = true;
        in.probe = withProbe ? &probe : nullptr;
        learn(l.kb.store(), in);
        bytes[withProbe] = l.kb.raw("Base/Words.Dat");
      }
      EXPECT_EQ(bytes[0], bytes[1]) << cp1251ToUtf8(words) << " roll " << roll;
    }
  }

  // The notes are trusted for the bytes they were made for, and only them.
  Learner l;
  l.kb.settle();
  const std::string user = normalisePhrase(w("Меня зовут Петя"));
  WordsProbe probe = probeFor(user, "", 1);
  auto held = l.kb.store().readText("Base\\Words.Dat");
  probe.text = held;
  probe.finish(*held);
  probe.keySeen = true;
  LearningInput in;
  in.userPhrase = user;
  in.cpuPhrase = "x";
  in.filterHit = true;
  in.probe = &probe;
  learn(l.kb.store(), in);
  EXPECT_EQ(l.words().size(), 1u);
  held.reset();
  l.kb.put("Base/Words.Dat", {"ПРИВЕТ^Привет!;"});
  learn(l.kb.store(), in);
  EXPECT_EQ(l.words().back(), "МЕНЯ ЗОВУТ ПЕТЯ^");
}

TEST(Learning, AMissingFileStopsLearningAndKeepsWhatWasWritten) {
  Learner l;
  l.kb.remove("Base/Words.Dat");
  try {
    l.learnPhrase("Сегодня был дождь", "Погода хорошая.");
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_STREQ(f.what(), "Cannot open file Base\\Words.Dat");
  }
  EXPECT_EQ(l.kb.lines("Base\\W2.Dat").back(), "Сегодня был дождь.");
  EXPECT_FALSE(l.kb.has("Base/Words.Dat"));

  l.kb.remove("Base/W1.Dat");
  EXPECT_THROW(l.learnPhrase("Вопрос ли это?", "x"), Failure);
}

}  // namespace
}  // namespace vb
