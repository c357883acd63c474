#include "engine/text.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}

TEST(Text, NormalisesFirstLetterAndEnd) {
  EXPECT_EQ(normalisePhrase(w("привет")), w("Привет."));
  EXPECT_EQ(normalisePhrase(w("как дела,")), w("Как дела."));
  EXPECT_EQ(normalisePhrase(w("ёлка")), w("Ёлка."));
  EXPECT_EQ(normalisePhrase("hello"), "hello.");
  EXPECT_EQ(normalisePhrase(w("Ура!")), w("Ура!"));
  EXPECT_EQ(normalisePhrase(w("Да?")), w("Да?"));
  EXPECT_EQ(normalisePhrase(w("Что?!")), w("Что?!"));
  EXPECT_EQ(normalisePhrase(w("ну, да")), w("Ну, да."));
}

TEST(Text, RunScanDoesNotRetryTheBreakingCharacter) {
  EXPECT_TRUE(runFound(w("Ты дура."), w("ДУРА")));
  EXPECT_TRUE(runFound(w("ДУРАК!"), w("ДУРА")));
  EXPECT_FALSE(runFound(w("Ддура."), w("ДУРА")));
  EXPECT_TRUE(runFound(w("Ты трус и всё."), w(" ТРУС ")));
  EXPECT_FALSE(runFound(w("Трус."), w(" ТРУС ")));
  EXPECT_TRUE(runFound(w("Ты трус."), w(" ТРУС.")));
  EXPECT_FALSE(runFound(w("Привет."), ""));
  EXPECT_TRUE(runFound(w("Я."), w("Я")));
}

TEST(Text, RunScanFromAnOffsetReportsTheEndOfTheRun) {
  std::string phrase = w("Как твои дела?");
  auto end = runScan(phrase, w("КАК"));
  ASSERT_EQ(end, 3u);
  EXPECT_EQ(runScan(phrase, w("ДЕЛА"), end), 13u);
  EXPECT_EQ(runScan(phrase, w("КАК"), 1), std::string_view::npos);
}

TEST(Text, EqualityAndKeyForm) {
  EXPECT_TRUE(equalsIgnoreCase(w("Привет."), w("ПРИВЕТ.")));
  EXPECT_TRUE(equalsIgnoreCase(w("ёж"), w("ЁЖ")));
  EXPECT_FALSE(equalsIgnoreCase(w("Привет"), w("Привет.")));
  EXPECT_TRUE(equalsIgnoreCase("", ""));
  EXPECT_EQ(keyForm(w("Привет, как дела?")), w("ПРИВЕТ КАК ДЕЛА"));
  EXPECT_EQ(keyForm(w("...")), "");
}

TEST(Text, SplitsWordsAtSingleSpaces) {
  std::string key = w("КАК  ДЕЛА ТАМ");
  auto words = splitWords(key);
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0], w("КАК"));
  EXPECT_EQ(words[1], w(" ДЕЛА"));
  EXPECT_EQ(words[2], w("ТАМ"));
}

TEST(Text, EmojiAreLeftOutOfTypedTextWithTheSpaceTheyLeave) {
  EXPECT_EQ(withoutEmoji("ну да 🙄"), "ну да");
  EXPECT_EQ(withoutEmoji("🙂 привет 👍🏽 как дела❤️"), "привет как дела");
  EXPECT_EQ(withoutEmoji("семья: 👨‍👩‍👧 ок"), "семья: ок");
  EXPECT_EQ(withoutEmoji("你好 ©"), "你好 ©");
  EXPECT_EQ(withoutEmoji("👍"), "👍");
  EXPECT_EQ(withoutEmoji(std::string("a\xF0\x9F")), std::string("a\xF0\x9F"));
}

TEST(Text, ConvertsBetweenUtf8And1251) {
  EXPECT_EQ(cp1251ToUtf8(w("Ёлка №5")), "Ёлка №5");
  EXPECT_EQ(utf8To1251("a😀b"), "a?b");
  EXPECT_EQ(utf8To1251("日本"), "??");
}

}  // namespace
}  // namespace vb
