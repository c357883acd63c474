#pragma once
// The Screen on the process's standard output and standard error. On an
// interactive terminal the line being typed stays below everything the
// program writes: it is erased before a line is written and drawn again
// after it.

#include <string>
#include <string_view>

#include "console/line_editor.h"
#include "console/screen.h"

namespace vb {

class TerminalScreen final : public Screen {
 public:
  TerminalScreen(int outFd, int errFd) : outFd_(outFd), errFd_(errFd) {}

  // From now on `editor`'s line is kept at the bottom of the terminal.
  void attachEditor(const LineEditor* editor, std::string prompt);
  // Draws the line being typed again, or erases its row.
  void drawInput();
  void eraseInput();

  void out(std::string_view line) override;
  void err(std::string_view line) override;
  // Writes text as it is (the console's own lines, such as the help).
  void raw(int fd, std::string_view bytes);

 private:
  void writeLine(int fd, std::string_view line);
  int columns() const;

  int outFd_;
  int errFd_;
  const LineEditor* editor_ = nullptr;
  std::string prompt_;
};

// Writes all of `bytes` to `fd`, going on after interruptions; false when
// the descriptor no longer takes output.
bool writeAll(int fd, std::string_view bytes);

}  // namespace vb
