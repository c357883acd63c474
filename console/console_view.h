#pragma once
// The session's view on a terminal. The dialogue view becomes lines on
// standard output, each speaker's in the colour that Config.ini gives it;
// failures go to standard error with the texts a message box shows. What a
// terminal cannot do (take back a printed line, move a window, play a sound)
// is shown as a note or left out.

#include <string>
#include <vector>

#include "console/screen.h"
#include "session/settings.h"
#include "session/view.h"

namespace vb {

struct ColourChoice {
  bool out = false;  // standard output takes colour
  bool err = false;  // standard error takes colour
};

class ConsoleView final : public View, public SettingsSink {
 public:
  ConsoleView(Screen& screen, ColourChoice colour) : screen_(screen), colour_(colour) {}

  // View.
  void appendLine(LineKind kind, const std::string& text) override;
  void deleteLastLine() override;
  void clearLines() override;
  void setInputText(const std::string& text) override { input_ = text; }
  void setInputReadOnly(bool) override {}
  void focusInput() override {}
  void setEnabled(Control, bool) override {}
  void setStatus(int, const std::string&) override {}
  void setMenuCaption(MenuItem, const std::string&) override {}
  void setChecked(MenuItem, bool) override {}
  Rect windowRect() const override { return window_; }
  void setWindowRect(const Rect& rect) override { window_ = rect; }
  Rect desktopRect() const override { return {0, 0, 1024, 768}; }
  void busyCursor(bool) override {}
  void play(Cue) override {}
  void showError(const std::string& message) override;
  void showWindow(Window, bool) override {}
  void closeMainWindow() override { closed_ = true; }

  // SettingsSink: only the two line styles matter here.
  void setColour(ColourTarget, Colour) override {}
  void setUserStyle(const LineStyle& style) override { userStyle_ = style; }
  void setCpuStyle(const LineStyle& style) override { cpuStyle_ = style; }
  void setMyStringPreset(const FontPreset&) override {}

  // The console's own notes (a refused line, an unknown command...), on
  // standard error. `utf8` is the console's text.
  void note(std::string_view utf8);
  // Text of the console's own on standard output, among the dialogue's
  // lines (the account of an answer): lines ended by '\n', dimmed.
  void aside(std::string_view utf8);

  bool closed() const { return closed_; }
  std::size_t lineCount() const { return lines_.size(); }
  const std::string& input() const { return input_; }

  // How a line of the dialogue view reads on the terminal, without colour.
  static std::string plainLine(LineKind kind, const std::string& text);

 private:
  struct Shown {
    LineKind kind;
    std::string text;
  };
  std::string styled(const std::string& line, std::string_view start) const;

  Screen& screen_;
  ColourChoice colour_;
  std::vector<Shown> lines_;
  std::string input_;
  LineStyle userStyle_;
  LineStyle cpuStyle_;
  Rect window_{0, 0, 574, 404};
  bool closed_ = false;
};

}  // namespace vb
