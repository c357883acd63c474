#pragma once
// Drives the real windows offscreen: a temporary copy of the shipped data
// folder per test, the program built on it with virtual time, and helpers
// that type, press keys, choose menu items and answer modal dialogs.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/disk_file_store.h"
#include "engine/random_source.h"
#include "engine/text.h"
#include "session/clock.h"
#include "ui/program.h"
#include "ui/status_bar.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace vb::uitest {

// UTF-8 test text as the program's Windows-1251.
inline std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}
inline QString q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// The application, made once for the test program.
QApplication& app();

// The Config.ini the tests start with, as UTF-8 lines (written as
// Windows-1251 with CR LF). Line numbers from 1, as the program reads them.
std::vector<std::string> testConfig();

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a file of the folder from UTF-8 lines.
  void writeFile(const std::string& name, const std::vector<std::string>& utf8Lines);
  std::vector<std::string> readFile(const std::string& name);  // as UTF-8
  void writeConfigLine(int number, const std::string& utf8);

  // Builds the program (throws as the program does) and shows it; the
  // start-up timers run for a moment of virtual time.
  void start();
  void advance(std::int64_t ms);

  TForm1& main() { return program_->mainWindow(); }
  Program& program() { return *program_; }

  // Typing into the focused widget of the active window, as key presses.
  void type(QWidget& target, const QString& text);
  void pressKey(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void enter() { pressKey(input(), Qt::Key_Return); }
  QWidget& input();
  QAction& item(const char* name);
  void choose(const char* name);  // triggers a menu item as a click does
  QString panel(int index);
  int lines();
  QString line(int index);
  // Runs `answer` on `dialog` once it is shown (modal), then the next one.
  void answerDialogs(QDialog& dialog, std::vector<std::function<void(QDialog&)>> answers);
  // The texts of the error boxes shown so far; closes them.
  std::vector<QString> takeErrors();

  std::vector<std::string> config_ = testConfig();
  std::filesystem::path folder_;
  std::unique_ptr<DiskFileStore> files_;
  SeededRandom random_{20260612};
  ManualClock clock_;
  std::unique_ptr<Program> program_;
};

}  // namespace vb::uitest
