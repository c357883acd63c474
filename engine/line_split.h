#pragma once
// Cutting a file's bytes into lines and joining lines back into bytes.
// On reading, CR LF, a lone CR or a lone LF ends a line, and a final line
// end does not begin another (empty) line; an empty file has no lines. On
// writing, every line is followed by CR LF, the last one too.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text_pieces.h"

namespace vb {

// The first CR or LF in [p, end), or end.
const char* findLineEnd(const char* p, const char* end);

// Walks the lines of a buffer without copying them.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  // The next line (without its line end), or false at the end of the text.
  bool next(std::string_view& line) {
    const std::size_t size = text_.size();
    if (pos_ >= size) return false;
    const char* data = text_.data();
    const char* begin = data + pos_;
    const char* stop = findLineEnd(begin, data + size);
    line = std::string_view(begin, static_cast<std::size_t>(stop - begin));
    pos_ = static_cast<std::size_t>(stop - data);
    crlf_ = false;
    if (pos_ < size) {
      crlf_ = *stop == '\r' && pos_ + 1 < size && stop[1] == '\n';
      pos_ += crlf_ ? 2 : 1;
    }
    return true;
  }
  // Offset of the first byte not yet consumed (the start of the next line).
  std::size_t offset() const { return pos_; }
  // Whether the line last returned ended with CR LF (not CR, LF or the end).
  bool endedByCrLf() const { return crlf_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  bool crlf_ = false;
};

std::vector<std::string_view> splitLines(std::string_view text);
std::vector<std::string> splitLinesCopy(std::string_view text);
std::size_t countLines(std::string_view text);
// Line `index` (from 0); the caller makes sure it exists.
std::string_view lineAt(std::string_view text, std::size_t index);

// Every line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);
void appendLine(std::string& out, std::string_view line);

// True when `text` is exactly what joining its lines gives back: every line
// ends in CR LF and no other CR or LF occurs.
bool isJoinedForm(std::string_view text);

// The bytes of the file once `line` is appended to its lines and the whole
// is written back: `text` with every line end made CR LF, then the line.
std::string withLineAppended(std::string_view text, std::string_view line);
// The same as pieces; `text` must outlive them.
TextPieces piecesWithLineAppended(std::string_view text, std::string_view line);

}  // namespace vb
