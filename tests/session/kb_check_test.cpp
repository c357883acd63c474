#include "session/kb_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "engine/disk_file_store.h"
#include "engine/text.h"

namespace vb {
namespace {

namespace fs = std::filesystem;

// Lines given in UTF-8, stored as the program stores them: Windows-1251, CR LF.
std::string cp1251File(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* line : lines) out += utf8To1251(line) + "\r\n";
  return out;
}

Lines cp1251Lines(std::initializer_list<const char*> lines) {
  Lines out;
  for (const char* line : lines) out.push_back(utf8To1251(line));
  return out;
}

std::string describe(const std::vector<KbFinding>& findings) {
  std::string out;
  for (const auto& f : findings) out += cp1251ToUtf8(formatFinding(f)) + "\n";
  return out;
}

// A Config.ini the program starts with cleanly, 31 lines.
Lines goodConfig() {
  Lines lines(31, "#");
  for (int n : {7, 8, 9, 12, 13, 14, 15, 16, 17}) lines[n - 1] = "Colour=12632256";
  lines[19 - 1] = "UserFontName=Arial";
  lines[20 - 1] = "UserFontStyle=[fsBold]";
  lines[21 - 1] = "UserFontSize=10";
  lines[23 - 1] = "CpuFontName=";
  lines[24 - 1] = "CpuFontStyle=[]";
  lines[25 - 1] = "CpuFontSize= 9";
  lines[28 - 1] = "MyStringFontStyle=[FSITALIC]";
  lines[31 - 1] = "Adres=Partner.txt";
  return lines;
}

class KbCheckFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vb-check-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  void put(const std::string& rel, const std::string& bytes) {
    fs::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel, std::ios::binary) << bytes;
  }
  // A small base that the check passes, with names spelt in other cases.
  void putCleanBase() {
    put("Base/Words.Dat", cp1251File({
                              "КАК ДЕЛА^Хорошо.;Отлично!|А у тебя?;",
                              "_ПЛОХО^Почему?;",
                              "__НЕ ЗНАЮ^Бывает.;",
                              "_ХОРОШО^Рад за тебя.;",
                              "ПРИВЕТ^Привет!;@",
                              "ЧТО ТАКОЕ СЧАСТЬЕ^",
                              "ЛЁД^Холодный, «ДА»… — ВЁЛ;",
                          }));
    for (const char* name : {"Povtor.Dat", "X.Dat", "BigString.Dat", "W1.Dat", "W2.Dat",
                             "CPUpvt.dat", "Pause.Dat", "Begin.dat", "dictionary.dat"}) {
      put(std::string("Base/") + name, cp1251File({"Ещё раз?"}));
    }
    put("Base/ai.DAT", cp1251File({"", "Кстати, ты любишь чай?"}));
    put("Base/Collection.Dat", "");
    put("Base/LOG.dat", "");
    std::string config;
    for (const auto& line : goodConfig()) config += line + "\r\n";
    put("Config.ini", config);
  }
  std::vector<KbFinding> check() {
    DiskFileStore files(root_, false);
    return checkKnowledgeBase(files);
  }

  fs::path root_;
};

TEST_F(KbCheckFolder, ACleanBaseGivesNoFinding) {
  putCleanBase();
  auto findings = check();
  EXPECT_TRUE(findings.empty()) << describe(findings);
}

TEST_F(KbCheckFolder, EveryFaultOfABrokenBaseIsFoundAtItsLine) {
  putCleanBase();
  put("Base/Words.Dat",
      cp1251File({
          "_РАНО^Ветка до главной фразы;",                     // 1
          "БЕЗ КРЫШКИ",                                        // 2
          "",                                                  // 3
          "^Пусто;",                                           // 4
          "КЛЮЧ^Ответ без точки с запятой",                    // 5
          "КЛЮЧ ДВА^Один;лишний хвост",                        // 6
          "ПОКА^До свидания!@;",                               // 7
          "ДВЕ ЧЕРТЫ^Раз|два|три;",                            // 8
          "КЛЮ_Ч^Ответ;",                                      // 9
          "ключ^Ответ;",                                       // 10
          "ДВОЙНОЙ^Раз;ВТОРОЙ^Два;",                           // 11
          "ПУСТОЙ^Раз;;",                                      // 12
          "ЗАКРЫТИЕ^@",                                        // 13
          "КАК ДЕЛА^Хорошо.;",                                 // 14
          "_ПЛОХО^Почему?;@",                                  // 15
          "___ГЛУБОКО^Никогда не скажу;",                      // 16
          "КАК ДЕЛА^Второй раз;",                              // 17
          "КЛЮЧ;ТРИ^Ответ;",                                   // 18
          "ВЫУЧЕНО^До встречи!;@Меня зовут Петя.;",            // 19
      }) + "\xD0\x9F\xD0\xA0\xD0\x98^\xD0\x94\xD0\xB0;\r\n");  // 20: UTF-8 ПРИ^Да;
  put("Base/Povtor.Dat", cp1251File({"Опять?"}) + "\x98\xF2\xEE?\r\n");
  fs::remove(root_ / "Base/X.Dat");
  put("Base/BigString.Dat", "");
  put("Base/ai.DAT", cp1251File({"Первая строка не говорится"}));
  put("Base/Pause.Dat", cp1251File({"Ну?", ""}));
  fs::remove(root_ / "Base/Collection.Dat");
  put("Base/dictionary.dat", cp1251File({"привет", "сло^во"}));
  Lines config = goodConfig();
  config.pop_back();
  config[9 - 1] = "InputColor=abc";
  config[20 - 1] = "UserFontStyle=[Bold]";
  config[21 - 1] = "UserFontSize=0";
  std::string configText;
  for (const auto& line : config) configText += line + "\r\n";
  put("Config.ini", configText);

  struct Expected {
    std::string file;
    int line;
    std::string text;
  };
  const std::vector<Expected> expected = {
      {"Base\\Words.Dat", 1, "ветка до первой главной фразы"},
      {"Base\\Words.Dat", 2, "строка без '^'"},
      {"Base\\Words.Dat", 3, "пустая строка"},
      {"Base\\Words.Dat", 4, "пустой ключ"},
      {"Base\\Words.Dat", 5, "ответ без ';'"},
      {"Base\\Words.Dat", 6, "текст после последней ';' (столбец 15)"},
      {"Base\\Words.Dat", 7, "'@' (столбец 18) — не последний символ строки"},
      {"Base\\Words.Dat", 8, "в ответе 1 два знака '|'"},
      {"Base\\Words.Dat", 9, "'_' внутри ключа (столбец 4)"},
      {"Base\\Words.Dat", 10, "ключ не прописными буквами"},
      {"Base\\Words.Dat", 11, "второй '^' (столбец 19)"},
      {"Base\\Words.Dat", 12, "ответ 2 (столбец 12) пуст"},
      {"Base\\Words.Dat", 13, "знак завершения '@' без единого ответа"},
      {"Base\\Words.Dat", 15, "знак завершения '@' у ветки"},
      {"Base\\Words.Dat", 16, "ветка уровня 3, а выше в её блоке нет строки уровня 2"},
      {"Base\\Words.Dat", 17, "ключ КАК ДЕЛА уже есть с ответами в строке 14"},
      {"Base\\Words.Dat", 18, "';' внутри ключа (столбец 5)"},
      {"Base\\Words.Dat", 19, "'@' (столбец 21) — не последний символ строки"},
      {"Base\\Words.Dat", 20, "текст в UTF-8"},
      {"Base\\Povtor.Dat", 2, "байт 0x98 (столбец 1)"},
      {"Base\\X.Dat", 0, "нет файла"},
      {"Base\\BigString.Dat", 0, "файл пуст"},
      {"Base\\AI.dat", 0, "всего одна строка"},
      {"Base\\Pause.Dat", 2, "пустая строка"},
      {"Base\\Collection.Dat", 0, "нет файла"},
      {"Base\\dictionary.dat", 2, "'^' в слове"},
      {"Config.ini", 0, "30 строк, а программа читает 31"},
      {"Config.ini", 9, "'abc' is not a valid integer value"},
      {"Config.ini", 20, "стиль шрифта '[Bold]'"},
      {"Config.ini", 21, "размер шрифта 0"},
  };
  auto findings = check();
  for (const auto& e : expected) {
    bool found = false;
    for (const auto& f : findings) {
      if (f.file == e.file && f.line == e.line &&
          f.message.find(utf8To1251(e.text)) != std::string::npos) {
        found = true;
      }
    }
    EXPECT_TRUE(found) << e.file << ":" << e.line << " " << e.text << "\nfound:\n"
                       << describe(findings);
  }
  EXPECT_EQ(findings.size(), expected.size()) << describe(findings);
}

TEST_F(KbCheckFolder, AMissingFolderReportsEveryFileItNeeds) {
  auto findings = check();
  ASSERT_EQ(findings.size(), 1u + 9u + 3u + 1u) << describe(findings);
  EXPECT_EQ(cp1251ToUtf8(formatFinding(findings.front())),
            "Base\\Words.Dat: нет файла: программа остановится с ошибкой при старте и на каждой "
            "фразе");
  EXPECT_EQ(findings.back().file, "Config.ini");
}

TEST(KbCheck, FindingsReadAsFileLineMessage) {
  auto findings = checkPhraseBase(cp1251Lines({"ПРИВЕТ^Привет!;", "КАК ДЕЛА^Хорошо"}));
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(cp1251ToUtf8(formatFinding(findings[0])),
            "Base\\Words.Dat:2: ответ без ';': он никогда не будет сказан");
}

TEST(KbCheck, ThreadsReachOnlyLinesBelowALineThatAnswers) {
  // A branch hangs under any line of the depth above it earlier in the
  // block, not only the nearest; a key awaiting answers opens no thread.
  auto findings = checkPhraseBase(cp1251Lines({
      "А^1;",
      "_Б^2;",
      "_В^3;",
      "__Г^4;",
      "ЖДЁТ^",
      "_Д^5;",
      "Е^6;",
      "_Б^7;",
  }));
  ASSERT_EQ(findings.size(), 1u) << describe(findings);
  EXPECT_EQ(findings[0].line, 6);
}

TEST(KbCheck, WholeUtf8FilesAreReportedOnceWithACount) {
  auto findings = checkEncoding("Base\\W1.Dat", {"Как дела?", "Привет!", "Ok", "Ещё"});
  ASSERT_EQ(findings.size(), 1u) << describe(findings);
  EXPECT_EQ(findings[0].line, 1);
  EXPECT_THAT(cp1251ToUtf8(findings[0].message), ::testing::HasSubstr("(и ещё 2 строки)"));
  EXPECT_TRUE(checkEncoding("Base\\W1.Dat", cp1251Lines({"ВЁЛ", "ЁЖ", "А«", "Ё"})).empty());
  auto utf16 = checkEncoding("Base\\W1.Dat", {std::string("\xFF\xFEH\0i\0", 6)});
  ASSERT_EQ(utf16.size(), 1u);
  EXPECT_THAT(cp1251ToUtf8(utf16[0].message), ::testing::HasSubstr("управляющий символ 0x00"));
}

TEST(KbCheck, ConfigThatStartsCleanlyGivesNoFinding) {
  EXPECT_TRUE(checkConfig(goodConfig()).empty()) << describe(checkConfig(goodConfig()));
  auto none = checkConfig({});
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(cp1251ToUtf8(none[0].message).rfind("0 строк,", 0), 0u);
}

// The data that ships with the program must pass its own check.
TEST(KbCheckShippedData, TheShippedFolderIsClean) {
  DiskFileStore files(fs::path(VB_SOURCE_DIR) / "data", false);
  auto findings = checkKnowledgeBase(files);
  EXPECT_TRUE(findings.empty()) << describe(findings);
}

}  // namespace
}  // namespace vb
