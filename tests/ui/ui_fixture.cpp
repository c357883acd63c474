#include "tests/ui/ui_fixture.h"

#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <random>

#include "engine/file_store.h"
#include "session/session.h"
#include "ui/dialogue_view.h"
#include "ui/input_field.h"
#include "ui/main_window.h"

namespace vb::uitest {

QApplication& app() {
  static int argc = 1;
  static char name[] = "test_ui";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *instance;
}

std::vector<std::string> testConfig() {
  return {
      "[Verbonik]",
      "; test settings",
      "StartEffect=NO",
      "-",
      "-",
      "-",
      "MainColor=12632256",    // 7 silver
      "DialogColor=16777215",  // 8 white
      "InputColor=15794160",   // 9 (240, 255, 240)
      "-",
      "-",
      "SpeakFont=255",       // 12 red
      "CancelFont=32768",    // 13 green
      "EnRusFont=16711680",  // 14 blue
      "UserColor=8388608",   // 15 (0, 0, 128)
      "CpuColor=128",        // 16 (128, 0, 0)
      "InputFontColor=0",    // 17
      "-",
      "UserFontName=Arial",
      "UserFontStyle=[fsBold]",
      "UserFontSize=10",
      "-",
      "CpuFontName=Courier New",
      "CpuFontStyle=[fsItalic]",
      "CpuFontSize=12",
      "-",
      "MyStringFontName=Arial",
      "MyStringFontStyle=[]",
      "-",
      "-",
      "Adres=Partner.txt",
  };
}

void UiTest::SetUp() {
  app();
  std::random_device seed;
  folder_ = std::filesystem::temp_directory_path() /
            ("vb-ui-" + std::to_string(::getpid()) + "-" + std::to_string(seed()));
  std::filesystem::copy(std::filesystem::path(VB_SOURCE_DIR) / "data", folder_,
                        std::filesystem::copy_options::recursive);
  files_ = std::make_unique<DiskFileStore>(folder_, false);
  writeFile("Config.ini", testConfig());
}

void UiTest::TearDown() {
  takeErrors();
  program_.reset();
  QCoreApplication::processEvents();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void UiTest::writeFile(const std::string& name, const std::vector<std::string>& utf8Lines) {
  Lines lines;
  for (const auto& line : utf8Lines) lines.push_back(w(line));
  files_->writeLines(name, lines);
}

std::vector<std::string> UiTest::readFile(const std::string& name) {
  std::vector<std::string> out;
  for (const auto& line : files_->readLines(name)) out.push_back(cp1251ToUtf8(line));
  return out;
}

void UiTest::writeConfigLine(int number, const std::string& utf8) {
  config_.at(static_cast<std::size_t>(number - 1)) = utf8;
  writeFile("Config.ini", config_);
}

void UiTest::start() {
  program_ = std::make_unique<Program>(*files_, random_, clock_, false);
  program_->start();
  QApplication::setActiveWindow(&main());
  advance(50);
}

void UiTest::advance(std::int64_t ms) {
  // Small steps, as a running program's loop would serve its timers.
  for (std::int64_t done = 0; done < ms; done += 15) program_->advance(clock_, 15);
  QCoreApplication::processEvents();
}

QWidget& UiTest::input() {
  return main().input();
}

void UiTest::type(QWidget& target, const QString& text) {
  for (QChar c : text) {
    const auto key = static_cast<Qt::Key>(c.toUpper().unicode());
    QTest::sendKeyEvent(QTest::Click, &target, key, QString(c), Qt::NoModifier);
  }
}

void UiTest::pressKey(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(&target, key, modifiers);
}

QAction& UiTest::item(const char* name) {
  auto* action = main().findChild<QAction*>(name);
  if (!action) throw std::runtime_error(std::string("no menu item ") + name);
  return *action;
}

void UiTest::choose(const char* name) {
  item(name).trigger();
}

QString UiTest::panel(int index) {
  return main().statusPanel(index).text();
}

int UiTest::lines() {
  return main().dialogueView().lineCount();
}

QString UiTest::line(int index) {
  return main().dialogueView().lineText(index);
}

void UiTest::answerDialogs(QDialog& dialog, std::vector<std::function<void(QDialog&)>> answers) {
  auto* timer = new QTimer(&dialog);
  auto queue = std::make_shared<std::vector<std::function<void(QDialog&)>>>(std::move(answers));
  auto next = std::make_shared<std::size_t>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, &dialog, queue, next] {
    if (!dialog.isVisible()) return;
    if (*next >= queue->size()) {
      timer->deleteLater();
      return;
    }
    (*queue)[(*next)++](dialog);
    if (*next >= queue->size()) timer->deleteLater();
  });
  timer->start(5);
}

std::vector<QString> UiTest::takeErrors() {
  std::vector<QString> texts;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box || !box->isVisible()) continue;
    texts.push_back(box->text());
    box->close();
  }
  QCoreApplication::processEvents();
  return texts;
}

}  // namespace vb::uitest
