#include "engine/line_split.h"

#include <cstring>

namespace vb {

bool LineCursor::next(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  const char* begin = text_.data() + pos_;
  const std::size_t left = text_.size() - pos_;
  const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', left));
  const std::size_t span = lf ? static_cast<std::size_t>(lf - begin) : left;
  const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', span));
  if (cr) {
    const std::size_t len = static_cast<std::size_t>(cr - begin);
    line = std::string_view(begin, len);
    pos_ += len + 1;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  } else {
    line = std::string_view(begin, span);
    pos_ += span + (lf ? 1 : 0);
  }
  return true;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> out;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.next(line)) out.push_back(line);
  return out;
}

std::vector<std::string> splitLinesCopy(std::string_view text) {
  std::vector<std::string> out;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.next(line)) out.emplace_back(line);
  return out;
}

std::size_t countLines(std::string_view text) {
  std::size_t n = 0;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.next(line)) ++n;
  return n;
}

std::string_view lineAt(std::string_view text, std::size_t index) {
  LineCursor cursor(text);
  std::string_view line;
  for (std::size_t i = 0; cursor.next(line); ++i) {
    if (i == index) return line;
  }
  return {};
}

void appendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append("\r\n", 2);
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& line : lines) appendLine(out, line);
  return out;
}

bool isJoinedForm(std::string_view text) {
  if (text.empty()) return true;
  if (text.size() < 2 || text[text.size() - 2] != '\r' || text.back() != '\n') return false;
  // Every LF must follow a CR and every CR must precede an LF.
  const char* p = text.data();
  const char* end = p + text.size();
  std::size_t crs = 0;
  while (const auto* lf = static_cast<const char*>(std::memchr(p, '\n', end - p))) {
    if (lf == text.data() || lf[-1] != '\r') return false;
    p = lf + 1;
    ++crs;
  }
  p = text.data();
  std::size_t seen = 0;
  while (const auto* cr = static_cast<const char*>(std::memchr(p, '\r', end - p))) {
    ++seen;
    p = cr + 1;
  }
  return seen == crs;
}

std::string withLineAppended(std::string_view text, std::string_view line) {
  std::string out;
  out.reserve(text.size() + line.size() + 4);
  if (isJoinedForm(text)) {
    out.append(text);
  } else {
    LineCursor cursor(text);
    std::string_view each;
    while (cursor.next(each)) appendLine(out, each);
  }
  appendLine(out, line);
  return out;
}

}  // namespace vb
