#include "console/input_line.h"

#include <gtest/gtest.h>

#include "engine/text.h"

namespace vb {
namespace {

using Kind = InputLine::Kind;

TEST(InputLine, APhraseIsConvertedToWindows1251) {
  InputLine line = readInputLine("Привет, Вербоник!");
  EXPECT_EQ(line.kind, Kind::Phrase);
  EXPECT_EQ(line.phrase, utf8To1251("Привет, Вербоник!"));
  EXPECT_EQ(readInputLine("ёЁ").phrase, "\xB8\xA8");
}

TEST(InputLine, CharactersWithNoWindows1251FormBecomeQuestionMarksAndEmojiAreLeftOut) {
  EXPECT_EQ(readInputLine("да 😀 нет ✓ 你").phrase, utf8To1251("да нет ?"));
  // A malformed byte sequence is no crash, and no raw byte passes.
  EXPECT_EQ(readInputLine("a\xFF\xC3z").phrase, "a??z");
}

TEST(InputLine, ALineEndedByCarriageReturnLosesIt) {
  EXPECT_EQ(readInputLine("abc\r").phrase, "abc");
  EXPECT_EQ(readInputLine("/exit\r").kind, Kind::Exit);
}

TEST(InputLine, ControlCharactersNeverReachThePhrase) {
  EXPECT_EQ(readInputLine("a\tb").phrase, "a b");
  EXPECT_EQ(readInputLine("a\x1b[31mb\x7f\x01").phrase, "a[31mb");
  EXPECT_EQ(readInputLine("\x01\x02").kind, Kind::Empty);
}

TEST(InputLine, EmptyLinesSendNothingButBlanksAreText) {
  EXPECT_EQ(readInputLine("").kind, Kind::Empty);
  EXPECT_EQ(readInputLine("\r").kind, Kind::Empty);
  InputLine blanks = readInputLine("   ");
  EXPECT_EQ(blanks.kind, Kind::Phrase);
  EXPECT_EQ(blanks.phrase, "   ");
}

TEST(InputLine, APhraseIsCutTo255CharactersLikeTheField) {
  std::string cyrillic;
  for (int i = 0; i < 300; ++i) cyrillic += "я";
  InputLine line = readInputLine(cyrillic);
  EXPECT_EQ(line.kind, Kind::Phrase);
  EXPECT_EQ(line.phrase, std::string(255, '\xFF'));
  EXPECT_EQ(readInputLine(std::string(255, 'a')).phrase.size(), 255u);
}

TEST(InputLine, EveryReservedCharacterRefusesTheLine) {
  for (char c : std::string("^_;@|")) {
    InputLine line = readInputLine(std::string("фраза ") + c + " дальше");
    EXPECT_EQ(line.kind, Kind::Refused) << c;
    EXPECT_EQ(line.reserved, c);
  }
  EXPECT_EQ(readInputLine("a|b^c").reserved, '|');  // the first one in the line
  EXPECT_FALSE(isReserved('?'));
  EXPECT_FALSE(isReserved('/'));
}

TEST(InputLine, AReservedCharacterCutOffPast255IsNotSeen) {
  // The field never holds it, so the guard never sees it.
  InputLine line = readInputLine(std::string(255, 'a') + "^");
  EXPECT_EQ(line.kind, Kind::Phrase);
  EXPECT_EQ(line.phrase, std::string(255, 'a'));
}

TEST(InputLine, SlashCommandsIgnoringCaseAndSurroundingBlanks) {
  EXPECT_EQ(readInputLine("/new").kind, Kind::NewDialogue);
  EXPECT_EQ(readInputLine("/undo").kind, Kind::Undo);
  EXPECT_EQ(readInputLine("/exit").kind, Kind::Exit);
  EXPECT_EQ(readInputLine("/help").kind, Kind::Help);
  EXPECT_EQ(readInputLine("/WHY ").kind, Kind::Why);
  EXPECT_EQ(readInputLine("/EXIT  ").kind, Kind::Exit);
  InputLine unknown = readInputLine("/quit");
  EXPECT_EQ(unknown.kind, Kind::UnknownCommand);
  EXPECT_EQ(unknown.command, "/quit");
  // A command is the whole line, not its start.
  EXPECT_EQ(readInputLine("/exit now").kind, Kind::UnknownCommand);
  // Only a line that starts with '/' is a command.
  EXPECT_EQ(readInputLine(" /exit").kind, Kind::Phrase);
}

TEST(InputLine, DoubleSlashSendsAPhraseThatStartsWithASlash) {
  InputLine line = readInputLine("//exit");
  EXPECT_EQ(line.kind, Kind::Phrase);
  EXPECT_EQ(line.phrase, "/exit");
}

}  // namespace
}  // namespace vb
