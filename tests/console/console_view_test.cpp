#include "console/console_view.h"

#include <gtest/gtest.h>

#include "engine/text.h"

namespace vb {
namespace {

class RecordingScreen : public Screen {
 public:
  void out(std::string_view line) override { outLines.emplace_back(line); }
  void err(std::string_view line) override { errLines.emplace_back(line); }
  std::vector<std::string> outLines;
  std::vector<std::string> errLines;
};

std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}

TEST(ConsoleView, LinesShowTheSpeakerWithoutColourOffATerminal) {
  RecordingScreen screen;
  ConsoleView view(screen, {});
  view.appendLine(LineKind::User, w("Привет!"));
  view.appendLine(LineKind::Cpu, w("Здравствуй!"));
  view.appendLine(LineKind::Service, w("Сервис:   // Режим диалога Cpu\\User."));
  EXPECT_EQ(screen.outLines, (std::vector<std::string>{"USER: Привет!", "CPU:  Здравствуй!",
                                                       "Сервис:   // Режим диалога Cpu\\User."}));
  EXPECT_TRUE(screen.errLines.empty());
  EXPECT_EQ(view.lineCount(), 3u);
}

TEST(ConsoleView, LinesTakeTheConfiguredColoursOnATerminal) {
  RecordingScreen screen;
  ConsoleView view(screen, {true, true});
  view.setUserStyle({8388608, "Arial", 10, FontStyle::Bold});
  view.setCpuStyle({128, "Arial", 10, FontStyle::Regular});
  view.appendLine(LineKind::User, "Hi");
  view.appendLine(LineKind::Cpu, "Yo");
  view.appendLine(LineKind::Service, "S");
  EXPECT_EQ(screen.outLines[0], "\x1b[1;34mUSER: Hi\x1b[0m");
  EXPECT_EQ(screen.outLines[1], "\x1b[0;31mCPU:  Yo\x1b[0m");
  EXPECT_EQ(screen.outLines[2], "\x1b[36mS\x1b[0m");
}

TEST(ConsoleView, ControlCharactersFromTheKnowledgeBaseAreNeverWrittenRaw) {
  RecordingScreen screen;
  ConsoleView view(screen, {true, true});
  view.appendLine(LineKind::Cpu, "a\x1b]0;owned\x07z");
  view.showError("Cannot open file Base\\\x1b[2JX.Dat");
  EXPECT_EQ(screen.outLines[0], "\x1b[0mCPU:  a␛]0;owned␇z\x1b[0m");
  EXPECT_EQ(screen.errLines[0], "\x1b[31mCannot open file Base\\␛[2JX.Dat.\x1b[0m");
}

TEST(ConsoleView, ErrorsGoToStandardErrorAsAMessageBoxWouldShowThem) {
  RecordingScreen screen;
  ConsoleView view(screen, {});
  view.showError("Cannot create file Base\\Log.dat");
  view.showError("List index out of bounds (0)");
  EXPECT_EQ(screen.errLines, (std::vector<std::string>{"Cannot create file Base\\Log.dat.",
                                                       "List index out of bounds (0)"}));
  EXPECT_TRUE(screen.outLines.empty());
}

TEST(ConsoleView, UndoAndClearingAreShownAsNotesAndKeepTheLineCount) {
  RecordingScreen screen;
  ConsoleView view(screen, {});
  view.clearLines();  // nothing shown yet: nothing to say
  EXPECT_TRUE(screen.outLines.empty());
  view.appendLine(LineKind::User, "a");
  view.appendLine(LineKind::Cpu, "b");
  view.deleteLastLine();
  EXPECT_EQ(view.lineCount(), 1u);
  EXPECT_EQ(screen.outLines.back(), "(убрано: CPU:  b)");
  view.clearLines();
  EXPECT_EQ(view.lineCount(), 0u);
  EXPECT_NE(screen.outLines.back().find("очищено"), std::string::npos);
  size_t shown = screen.outLines.size();
  view.deleteLastLine();
  EXPECT_EQ(screen.outLines.size(), shown);
}

TEST(ConsoleView, ClosingTheMainWindowIsRemembered) {
  RecordingScreen screen;
  ConsoleView view(screen, {});
  EXPECT_FALSE(view.closed());
  Rect moved{10, 20, 300, 200};
  view.setWindowRect(moved);
  EXPECT_EQ(view.windowRect(), moved);
  view.closeMainWindow();
  EXPECT_TRUE(view.closed());
}

}  // namespace
}  // namespace vb
