#include "console/line_editor.h"

namespace vb {
namespace {

bool isContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t countChars(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) n += isContinuation(c) ? 0 : 1;
  return n;
}

}  // namespace

std::size_t LineEditor::chars() const {
  return countChars(text_);
}

void LineEditor::popChar() {
  while (!text_.empty() && isContinuation(text_.back())) text_.pop_back();
  if (!text_.empty()) text_.pop_back();
}

LineEditor::Event LineEditor::feed(char byte) {
  auto b = static_cast<unsigned char>(byte);
  switch (escape_) {
    case Escape::Start:
      escape_ = byte == '[' ? Escape::Csi : byte == 'O' ? Escape::Ss3 : Escape::None;
      return Event::None;
    case Escape::Csi:
      if (b >= 0x40 && b <= 0x7E) escape_ = Escape::None;  // the final byte
      return Event::None;
    case Escape::Ss3:
      escape_ = Escape::None;
      return Event::None;
    case Escape::None:
      break;
  }
  if (pendingNeed_ > 0) {
    if (isContinuation(byte)) {
      pending_.push_back(byte);
      if (--pendingNeed_ > 0) return Event::None;
      bool fits = chars() < maxChars_;
      if (fits) text_ += pending_;
      pending_.clear();
      return fits ? Event::Redraw : Event::None;
    }
    pending_.clear();  // a broken character is dropped
    pendingNeed_ = 0;
  }
  if (b >= 0x80) {
    std::size_t len = (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (len == 0) return Event::None;
    pending_.assign(1, byte);
    pendingNeed_ = len - 1;
    return Event::None;
  }
  switch (byte) {
    case '\r':
    case '\n':
      return Event::Line;
    case 0x04:  // Ctrl+D
      return text_.empty() ? Event::EndOfInput : Event::None;
    case 0x7F:
    case 0x08:
      if (text_.empty()) return Event::None;
      popChar();
      return Event::Redraw;
    case 0x15:  // Ctrl+U
      text_.clear();
      return Event::Redraw;
    case 0x17:  // Ctrl+W: the spaces before the cursor, then the word
      while (!text_.empty() && text_.back() == ' ') text_.pop_back();
      while (!text_.empty() && text_.back() != ' ') popChar();
      return Event::Redraw;
    case 0x0C:  // Ctrl+L
      return Event::Redraw;
    case 0x1B:
      escape_ = Escape::Start;
      return Event::None;
    case '\t':
      byte = ' ';
      break;
    default:
      if (b < 0x20) return Event::None;
  }
  if (chars() >= maxChars_) return Event::None;
  text_.push_back(byte);
  return Event::Redraw;
}

std::string LineEditor::takeLine() {
  std::string line;
  line.swap(text_);
  pending_.clear();
  pendingNeed_ = 0;
  return line;
}

std::string LineEditor::render(std::string_view prompt, int columns) const {
  std::string out(kErase);
  out += prompt;
  // Keep one column free so the cursor never wraps to the next row.
  long room = static_cast<long>(columns) - static_cast<long>(countChars(prompt)) - 1;
  std::string_view shown = text_;
  if (room < 1) room = 1;
  std::size_t total = countChars(shown);
  for (std::size_t skip = total > static_cast<std::size_t>(room) ? total - room : 0; skip > 0;
       --skip) {
    shown.remove_prefix(1);
    while (!shown.empty() && isContinuation(shown.front())) shown.remove_prefix(1);
  }
  out += shown;
  return out;
}

}  // namespace vb
