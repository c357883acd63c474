#pragma once
// TForm1, the main (dialogue) window: its elements, menus and status bar,
// the View the session drives, the settings sink for Config.ini (through
// its Appearance) and the appearance commands. Handlers only translate:
// Qt events become session commands, View calls become widget changes.
//
// main_window.cpp             building the elements, their places, events
// main_window_menus.cpp       the menu bar and the command each item runs
// main_window_view.cpp        the View the session drives
// main_window_appearance.cpp  colour, font, restore and Full Screen commands

#include <QMainWindow>
#include <QTextCharFormat>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "session/session.h"
#include "session/view.h"
#include "ui/appearance.h"

class QAction;
class QColorDialog;
class QFontDialog;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace vb {

class DialogueView;
class InputField;
class SessionDriver;
class SoundBank;
class StatusBar;
class StatusPanel;
class TForm2;
class TForm3;
class TForm4;

// The program's title: the caption of its message boxes.
QString programTitle();

class TForm1 final : public QMainWindow, public View, private AppearanceTarget {
 public:
  TForm1(SoundBank& sounds, FileStore& files);
  ~TForm1() override;

  // Wiring done by the program once everything exists.
  void attach(Session& session, SessionDriver& driver);
  void attachWindows(TForm2& editor, TForm3& about, TForm4& keyboard);
  // Called when the window has closed (the program then ends).
  void onClosed(std::function<void()> closed) { closed_ = std::move(closed); }

  Appearance& appearance() { return appearance_; }

  // View.
  void appendLine(LineKind kind, const std::string& text) override;
  void deleteLastLine() override;
  void clearLines() override;
  void setInputText(const std::string& text) override;
  void setInputReadOnly(bool readOnly) override;
  void focusInput() override;
  void setEnabled(Control control, bool enabled) override;
  void setStatus(int panel, const std::string& text) override;
  void setMenuCaption(MenuItem item, const std::string& caption) override;
  void setChecked(MenuItem item, bool checked) override;
  Rect windowRect() const override;
  void setWindowRect(const Rect& rect) override;
  Rect desktopRect() const override;
  void busyCursor(bool busy) override;
  void play(Cue cue) override;
  void showError(const std::string& message) override;
  void showWindow(Window window, bool shown) override;
  void closeMainWindow() override;

  // Elements, for the program's other windows and for tests.
  DialogueView& dialogueView() { return *RE1_; }
  InputField& input() { return *Input_; }
  QPushButton& speakButton() { return *Speak_; }
  QPushButton& cancelButton() { return *Cancel_; }
  QPushButton& enRusButton() { return *EnRus_; }
  QPushButton& talkButton() { return *Talk_; }
  StatusPanel& statusPanel(int panel);
  QAction& action(MenuItem item);
  QColorDialog& colorDialog(int number);  // 1..3
  QFontDialog& fontDialog(int number);    // 1..3
  // The messages shown so far (as their boxes read).
  const std::vector<QString>& shownErrors() const { return shownErrors_; }

  // The client size the window is built with.
  static constexpr int kClientWidth = 587;
  static constexpr int kClientHeight = 361;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildElements();
  void openErrorBox(const QString& text);
  void buildMenus();
  void applyFixedClientSize(int width, int height);
  int menuHeight() const;
  QTextCharFormat lineFormat(const LineStyle& style) const;

  // Runs a session command, then lets the scheduler look at its timers.
  void run(const std::function<void()>& command);

  // AppearanceTarget.
  void showColour(ColourTarget target, Colour colour) override;
  void showInputFont(const std::string& name, FontStyle style) override;
  void showInitialMark(bool set) override;

  // The appearance commands.
  bool askColour(QColorDialog& dialog, Colour preset, Colour& chosen);
  void sharedColourCommand(ColourTarget target);
  void buttonTextColourCommand();
  void lineColourCommand(bool user);
  void lineFontCommand(bool user);
  void myStringFontCommand();
  void restoreCommand();
  void fullScreenCommand();
  void layOutElements(bool fullScreen);

  SoundBank& sounds_;
  [[maybe_unused]] FileStore& files_;
  Session* session_ = nullptr;
  SessionDriver* driver_ = nullptr;
  TForm2* editor_ = nullptr;
  TForm3* about_ = nullptr;
  TForm4* keyboard_ = nullptr;
  std::function<void()> closed_;
  Appearance appearance_;

  QWidget* central_ = nullptr;
  QFrame* TabControl1_ = nullptr;
  QFrame* TabControl2_ = nullptr;
  DialogueView* RE1_ = nullptr;
  InputField* Input_ = nullptr;
  QPushButton* Cancel_ = nullptr;
  QPushButton* EnRus_ = nullptr;
  QPushButton* Speak_ = nullptr;
  QPushButton* Talk_ = nullptr;
  StatusBar* SB1_ = nullptr;

  QMenu* N1_ = nullptr;
  QMenu* N5_ = nullptr;
  QMenu* N25_ = nullptr;
  QMenu* N11_ = nullptr;
  QAction* N23_ = nullptr;
  QAction* N3_ = nullptr;
  QAction* N36_ = nullptr;
  QAction* N13_ = nullptr;
  QAction* N40_ = nullptr;
  std::array<QAction*, 6> menuItems_{};  // by MenuItem

  std::array<QColorDialog*, 3> colorDialogs_{};
  std::array<QFontDialog*, 3> fontDialogs_{};

  std::vector<QString> shownErrors_;
  std::vector<QString> pendingErrors_;
  bool busy_ = false;
  QPoint normalPos_;
  bool leftFullScreen_ = false;  // the view is one pixel taller after
};

}  // namespace vb
