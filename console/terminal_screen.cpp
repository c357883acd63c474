#include "console/terminal_screen.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace vb {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void TerminalScreen::attachEditor(const LineEditor* editor, std::string prompt) {
  editor_ = editor;
  prompt_ = std::move(prompt);
}

int TerminalScreen::columns() const {
  winsize size{};
  if (::ioctl(outFd_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

void TerminalScreen::drawInput() {
  if (editor_) writeAll(outFd_, editor_->render(prompt_, columns()));
}

void TerminalScreen::eraseInput() {
  if (editor_) writeAll(outFd_, LineEditor::kErase);
}

void TerminalScreen::writeLine(int fd, std::string_view line) {
  eraseInput();
  std::string text(line);
  text.push_back('\n');
  writeAll(fd, text);
  drawInput();
}

void TerminalScreen::out(std::string_view line) {
  writeLine(outFd_, line);
}
void TerminalScreen::err(std::string_view line) {
  writeLine(errFd_, line);
}

void TerminalScreen::raw(int fd, std::string_view bytes) {
  eraseInput();
  writeAll(fd, bytes);
  drawInput();
}

}  // namespace vb
