#include "console/console_view.h"

#include "console/colour.h"
#include "console/terminal_text.h"
#include "engine/failure.h"

namespace vb {
namespace {

constexpr std::string_view kDim = "\x1b[2m";
constexpr std::string_view kRed = "\x1b[31m";

}  // namespace

std::string ConsoleView::plainLine(LineKind kind, const std::string& text) {
  switch (kind) {
    case LineKind::User:
      return "USER: " + terminalText(text);
    case LineKind::Cpu:
      return "CPU:  " + terminalText(text);
    case LineKind::Service:
      break;
  }
  return terminalText(text);
}

std::string ConsoleView::styled(const std::string& line, std::string_view start) const {
  if (!colour_.out) return line;
  return std::string(start) + line + kReset;
}

void ConsoleView::appendLine(LineKind kind, const std::string& text) {
  lines_.push_back({kind, text});
  const LineStyle& style = kind == LineKind::User ? userStyle_ : cpuStyle_;
  screen_.out(styled(plainLine(kind, text), lineStart(kind, style)));
}

void ConsoleView::deleteLastLine() {
  if (lines_.empty()) return;
  Shown last = std::move(lines_.back());
  lines_.pop_back();
  screen_.out(styled("(убрано: " + plainLine(last.kind, last.text) + ")", kDim));
}

void ConsoleView::clearLines() {
  if (lines_.empty()) return;
  lines_.clear();
  screen_.out(styled("──────── поле диалога очищено ────────", kDim));
}

void ConsoleView::showError(const std::string& message) {
  std::string text = terminalText(displayMessage(message));
  screen_.err(colour_.err ? std::string(kRed) + text + kReset : text);
}

void ConsoleView::aside(std::string_view utf8) {
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    if (end == std::string_view::npos) end = utf8.size();
    std::string text = terminalTextUtf8(utf8.substr(start, end - start));
    screen_.out(colour_.out ? std::string(kDim) + text + std::string(kReset) : text);
    start = end + 1;
  }
}

void ConsoleView::note(std::string_view utf8) {
  std::string text = terminalTextUtf8(utf8);
  screen_.err(colour_.err ? std::string(kDim) + text + kReset : text);
}

}  // namespace vb
