// The Speed Word list as shipped: enough words, each a plain Russian word
// once, most common first, and every one accepted by the Russian hunspell
// dictionary when that is installed.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "engine/text.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDictionary = fs::path(VB_SOURCE_DIR) / "data" / "Base" / "dictionary.dat";

std::vector<std::string> entries() {
  std::ifstream in(kDictionary, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<std::string> words;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    words.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return words;
}

bool cyrillicLetter(unsigned char c) {
  return c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

// The entry Speed Word shows for a fragment: the first that begins with it,
// letter case aside.
std::string firstMatch(const std::vector<std::string>& words, const char* utf8Fragment) {
  std::string fragment = vb::upper1251(vb::utf8To1251(utf8Fragment));
  for (const auto& word : words)
    if (word.size() >= fragment.size() &&
        vb::upper1251(word.substr(0, fragment.size())) == fragment)
      return vb::cp1251ToUtf8(word);
  return "";
}

}  // namespace

TEST(Dictionary, HoldsTwentyThousandDistinctRussianWords) {
  auto words = entries();
  EXPECT_GE(words.size(), 20000u);
  std::set<std::string> seen;
  for (const auto& word : words) {
    ASSERT_FALSE(word.empty());
    bool letters = cyrillicLetter(word.front()) && cyrillicLetter(word.back());
    for (unsigned char c : word) letters = letters && (cyrillicLetter(c) || c == '-');
    EXPECT_TRUE(letters) << vb::cp1251ToUtf8(word);
    EXPECT_TRUE(seen.insert(vb::upper1251(word)).second) << "twice: " << vb::cp1251ToUtf8(word);
  }
}

TEST(Dictionary, TheFirstWordForACommonFragmentIsTheLikelyWord) {
  auto words = entries();
  EXPECT_EQ(firstMatch(words, "прив"), "привет");
  EXPECT_EQ(firstMatch(words, "спа"), "спасибо");
  EXPECT_EQ(firstMatch(words, "пож"), "пожалуйста");
  EXPECT_EQ(firstMatch(words, "здр"), "здравствуй");
  EXPECT_EQ(firstMatch(words, "хор"), "хорошо");
  EXPECT_EQ(firstMatch(words, "оче"), "очень");
  EXPECT_EQ(firstMatch(words, "сег"), "сегодня");
  EXPECT_EQ(firstMatch(words, "ПОГ"), "погода");
  EXPECT_EQ(firstMatch(words, "зову"), "зовут");
}

TEST(Dictionary, HunspellAcceptsEveryWord) {
  const char* dic = "/usr/share/hunspell/ru_RU.dic";
  if (!fs::exists(dic) || std::system("command -v hunspell > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "hunspell and hunspell-ru are not installed (scripts/setup installs them)";
  std::string command =
      "hunspell -d /usr/share/hunspell/ru_RU -i cp1251 -l < '" + kDictionary.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string rejected;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) rejected.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(rejected, "") << "words hunspell does not know";
}
