#pragma once
// Everything the session shows or asks of a front end goes through View.
// The session keeps the model (lines, input text, control states, status
// texts); a front end mirrors it. Text is Windows-1251 and always plain
// text: a front end never interprets it as markup.

#include <string>

namespace vb {

// The style a line of the dialogue view is written in: the user's and the
// program's line styles, or a teal service line in whatever font the view's
// insertion point holds.
enum class LineKind { User, Cpu, Service };

// The six sound players MP1..MP6.
enum class Cue { KeyClick, UserLine, Conversion, StartEffect, CpuLine, Closing };

// Controls whose enabled state the session drives.
enum class Control {
  Speak,          // "Сказать"
  Talk,           // hidden default button (Enter)
  Cancel,         // "<"
  EnRus,          // "E/R"
  UndoItem,       // N3, Ctrl+Z
  CompleteItem,   // N23, F5
  MenuSystem,     // "&Система"
  MenuSettings,   // "&Настройки"
  MenuService,    // "Сервис"
  MenuHelp,       // "С&правка"
  DialogueView,   // RE1
  MainWindow,
  KeyboardBackspace,  // virtual keyboard "Bcksp"
  KeyboardEnter,      // virtual keyboard "[Enter]"
};

// Menu items whose caption or check mark the session sets.
enum class MenuItem { N18, N19, N20, N24, CpuUser1, Cpu31 };

// The program's other windows.
enum class Window { Editor, About, Keyboard };

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

class View {
 public:
  virtual ~View() = default;

  // Dialogue view RE1.
  virtual void appendLine(LineKind kind, const std::string& text) = 0;
  virtual void deleteLastLine() = 0;
  virtual void clearLines() = 0;

  // Input field. setInputText never calls back into the session: the
  // session runs its own input-change handling. The caret goes to the start.
  virtual void setInputText(const std::string& text) = 0;
  virtual void setInputReadOnly(bool readOnly) = 0;
  virtual void focusInput() = 0;

  virtual void setEnabled(Control control, bool enabled) = 0;
  virtual void setStatus(int panel, const std::string& text) = 0;
  virtual void setMenuCaption(MenuItem item, const std::string& caption) = 0;
  virtual void setChecked(MenuItem item, bool checked) = 0;

  // Main window geometry (outer frame, screen pixels) and the desktop.
  virtual Rect windowRect() const = 0;
  virtual void setWindowRect(const Rect& rect) = 0;
  virtual Rect desktopRect() const = 0;

  virtual void busyCursor(bool busy) = 0;
  virtual void play(Cue cue) = 0;
  // A failure, shown with the program's title; the caller goes on at once
  // (a front end must not run the session's timers re-entrantly from it).
  virtual void showError(const std::string& message) = 0;

  virtual void showWindow(Window window, bool shown) = 0;
  // Ends the program (the main window closes).
  virtual void closeMainWindow() = 0;
};

}  // namespace vb
