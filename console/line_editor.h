#pragma once
// The line being typed on an interactive terminal. The console reads the
// keyboard byte by byte, so that what the program says while the user is
// silent appears above the line being typed instead of through it. The
// editor holds at most as many characters as the input field.

#include <cstddef>
#include <string>
#include <string_view>

#include "console/input_line.h"

namespace vb {

class LineEditor {
 public:
  enum class Event { None, Line, EndOfInput, Redraw };

  explicit LineEditor(std::size_t maxChars = kInputMaxChars) : maxChars_(maxChars) {}

  // One byte from the terminal. Enter gives Line (take it with takeLine());
  // Ctrl+D on an empty line gives EndOfInput; an edit gives Redraw.
  // Backspace deletes a character, Ctrl+U the line, Ctrl+W a word, Ctrl+L
  // redraws; a tab is a space; escape sequences (arrows, function keys) and
  // other control keys are ignored.
  Event feed(char byte);

  std::string takeLine();
  const std::string& text() const { return text_; }  // UTF-8

  // What puts the line on the terminal: back to the start of the row,
  // erase it, the prompt and as much of the text's end as fits.
  std::string render(std::string_view prompt, int columns) const;
  // Erases the row the line stands on.
  static constexpr std::string_view kErase = "\r\x1b[K";

 private:
  void popChar();
  std::size_t chars() const;

  std::size_t maxChars_;
  std::string text_;
  std::string pending_;  // an incomplete UTF-8 character
  std::size_t pendingNeed_ = 0;
  enum class Escape { None, Start, Csi, Ss3 } escape_ = Escape::None;
};

}  // namespace vb
