#include "engine/word_lists.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace vb {
namespace {

using testing::w;

std::vector<std::string> withSpaceAtAnEdge(const std::vector<std::string>& list) {
  std::vector<std::string> out;
  for (const auto& e : list) {
    if (e.front() == ' ' || e.back() == ' ') out.push_back(cp1251ToUtf8(e));
  }
  return out;
}

TEST(WordLists, HoldTheirEntriesByteForByte) {
  ASSERT_EQ(Cenzura().size(), 99u);
  ASSERT_EQ(Filter_nr().size(), 100u);
  EXPECT_EQ(withSpaceAtAnEdge(Cenzura()),
            (std::vector<std::string>{" ЛОХ", " ТРУС ", " ТРУС,", " ТРУС.", " ТРУС!", " ХАМ",
                                      "БЛЯ ", "ГАД ", "ХЕР "}));
  EXPECT_EQ(withSpaceAtAnEdge(Filter_nr()),
            (std::vector<std::string>{" ЕБУ", " ИМЯ", " ЛЕТ", "ИМЯ ", "ЛЕТ "}));
  EXPECT_EQ(Cenzura().back(), w("Я СОТРУ"));
  EXPECT_EQ(Cenzura()[51], "\xCC\xD3\xC4\xC0\xA8\xC1");  // МУДАЁБ, with Ё as 0xA8
  EXPECT_EQ(Filter_nr().front(), "FUCK");
  EXPECT_EQ(Filter_nr().back(), w("ШЕРСТ"));
  for (const auto& e : Cenzura()) EXPECT_EQ(e, upper1251(e));
  for (const auto& e : Filter_nr()) EXPECT_EQ(e, upper1251(e));
}

TEST(WordLists, CensorFindsInsultsByTheRunScan) {
  auto censored = [](std::string_view raw) { return censorHit(normalisePhrase(w(raw))); };
  EXPECT_TRUE(censored("Ты дурак."));
  EXPECT_FALSE(censored("Ддурак."));
  EXPECT_FALSE(censored("Лох."));
  EXPECT_TRUE(censored("Ты лох."));
  EXPECT_TRUE(censored("Гад"));
  EXPECT_FALSE(censored("Гадость"));
  EXPECT_TRUE(censored("ты трус"));
  EXPECT_FALSE(censored("Трус"));
  EXPECT_FALSE(censored("Привет, как дела?"));
}

TEST(WordLists, CensorLeavesInnocentWordsThatHoldAnEntry) {
  auto censored = [](std::string_view raw) { return censorHit(normalisePhrase(w(raw))); };
  for (const char* innocent :
       {"Наша команда выиграла", "Мне назначили процедуру, процедура долгая",
        "Я парикмахер, работаю в салоне", "Огурцы в этом году уродились",
        "Ловлю рыбу на подлёдной рыбалке, это подлинное счастье", "Чмоки тебе", "Ни рубля нет",
        "Мандарины на Новый год", "Застрахуй машину", "Кухонная утварь", "Нашёл нору барсука",
        "Колебаться не стоит", "Хамелеон меняет цвет"}) {
    EXPECT_FALSE(censored(innocent)) << innocent;
  }
  for (const char* insult : {"Процедура, а ты дура", "Команда уродов", "Ты подлый",
                             "ПАРИКМАХЕР ХЕР!", "Ты урод", "Рубля нет, бля."}) {
    EXPECT_TRUE(censored(insult)) << insult;
  }
}

TEST(WordLists, TheFirstFilterEntryFoundDecides) {
  auto entry = [](std::string_view raw) {
    int i = filterEntry(normalisePhrase(w(raw)));
    return i < 0 ? std::string("-") : cp1251ToUtf8(Filter_nr()[static_cast<size_t>(i)]);
  };
  EXPECT_EQ(entry("Меня зовут Петя, мне 20 лет"), " ЛЕТ");
  EXPECT_EQ(entry("Я хочу спать?"), "СПАТЬ");
  EXPECT_EQ(entry("what the fuck"), "FUCK");
  EXPECT_EQ(entry("Какая сегодня погода?"), "ПОГОД");
  EXPECT_EQ(entry("Как дела?"), "-");
}

}  // namespace
}  // namespace vb
