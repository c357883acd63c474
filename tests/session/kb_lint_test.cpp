#include "session/kb_lint.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <utility>

#include "engine/text.h"
#include "session/lint_exceptions.h"

namespace vb {
namespace {

Lines cp1251(std::initializer_list<const char*> lines) {
  Lines out;
  for (const char* line : lines) out.push_back(utf8To1251(line));
  return out;
}

std::vector<KbFinding> allWarnings(const Lines& words, const Lines& dictionary) {
  auto found = checkPhraseBase(words);
  auto lints = lintPhraseBase(words, dictionary);
  found.insert(found.end(), lints.begin(), lints.end());
  return found;
}

std::string describe(const std::vector<KbFinding>& findings) {
  std::string out;
  for (const auto& f : findings) out += cp1251ToUtf8(formatFinding(f)) + "\n";
  return out;
}

const Lines kBase = cp1251({
    "ОГОРОД^Огород — это труд.;",  // 1
    "ТЫ ЛЮБИШЬ ОГОРОД^Люблю!;",    // 2 shadowed by 1
    "БАКУ^Баку — город ветров.;",  // 3 inside «собаку»
    "СЛИЗНЯКИ^Посыпь золой.;",     // 4 censored: СЛИЗНЯ
    "ПЕРЕЦ^Острый?;",              // 5
    "_ОСТРЫЙ^Да.;",                // 6
    "__ОЧЕНЬ^Ух.;",                // 7
    "_СЛАДКИЙ^Ага.;",              // 8
    "___ЖГУЧИЙ^Ой.;",              // 9 skips level 2
    "КОГДА^Скоро.;",               // 10 takes «когда» before 11
    "ДА^Хорошо.;",                 // 11
    "ПОЛИВ^Полей.;",               // 12 starts «поливитамины»
    "ГРЯДК^Грядки.;",              // 13 a stem of «грядками»: fine
    "ОГОРОД^Ещё.;",                // 14 duplicate of 1
    "ПРИВЕТ ДРУГ.^Привет!;",       // 15 holds 16 only with the end mark:
    "ПРИВЕТ ДРУГ^Здравствуй!;",    // 16 not shadowed
    "ПОКА.^Пока!;",                // 17 takes «Опока.» from inside the word:
    "ОПОКА^Осадочная порода.;",    // 18 shadowed for that phrase
});
const Lines kDictionary = cp1251({"собаку", "когда", "поливитамины", "грядками"});

TEST(KbLint, EachFaultOfAPlantedBaseIsReportedAtItsLineWithAPhraseThatShowsIt) {
  auto found = allWarnings(kBase, kDictionary);
  std::set<std::pair<int, std::string>> got;
  for (const auto& f : found) {
    EXPECT_TRUE(f.warning()) << describe({f});
    got.emplace(f.line, f.lint);
  }
  const std::set<std::pair<int, std::string>> expected = {
      {2, "shadowed"},     {3, "inside-word"}, {4, "censored"},  {9, "depth-skip"},
      {12, "inside-word"}, {14, "duplicate"},  {18, "shadowed"},
  };
  EXPECT_EQ(got, expected) << describe(found);
  const std::string text = describe(found);
  for (const char* shown : {"Base\\Words.Dat:2: предупреждение [shadowed]: ключ «ТЫ ЛЮБИШЬ ОГОРОД» "
                            "не ответит: во фразе «Ты любишь огород.» раньше найдётся ключ "
                            "«ОГОРОД» строки 1",
                            "внутри слова «собаку»: фраза «Собаку.»",
                            "фразу «Слизняки.» перехватывает цензура (в ней есть «СЛИЗНЯ»)",
                            "сразу под строкой 8 уровня 1",
                            "ключ «ОПОКА» не ответит на одно это слово: во фразе «Опока.» "
                            "раньше найдётся ключ «ПОКА.» строки 17, внутри слова"}) {
    EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
  }
}

TEST(KbLint, ExceptionsPassTheirWarningsAndSayWhenTheyAreStaleOrMalformed) {
  auto found = allWarnings(kBase, kDictionary);
  const std::size_t before = found.size();
  LintExceptions exceptions;
  auto errors = readLintExceptions("lint-exceptions.txt",
                                   "# notes\n"
                                   "\n"
                                   "inside-word БАКУ^the city is meant\r\n"
                                   "  depth-skip ___ЖГУЧИЙ^ kept for the test \n"
                                   "censored ДА^no such warning\n"
                                   "inside-word ПОЛИВ^\n"
                                   "shadow ОГОРОД^misspelt name\n"
                                   "duplicate ОГОРОД\n",
                                   exceptions);
  ASSERT_EQ(errors.size(), 3u) << describe(errors);
  EXPECT_EQ((std::vector<int>{errors[0].line, errors[1].line, errors[2].line}),
            (std::vector<int>{6, 7, 8}));
  ASSERT_EQ(exceptions.entries.size(), 3u);
  EXPECT_EQ(exceptions.entries[1].reason, "kept for the test");

  EXPECT_EQ(applyLintExceptions(found, exceptions), 2u);
  ASSERT_EQ(found.size(), before - 2 + 1) << describe(found);
  EXPECT_EQ(found.back().lint, "stale-exception");
  EXPECT_EQ(formatFinding(found.back()).rfind("lint-exceptions.txt:5: ", 0), 0u)
      << describe({found.back()});
}

}  // namespace
}  // namespace vb
