#include "engine/line_split.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vb {

const char* findLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
  while (p < end && *p != '\n' && *p != '\r') ++p;
  return p;
#else
  const auto* lf =
      static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
  if (lf) end = lf;
  const auto* cr =
      static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
  return cr ? cr : end;
#endif
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

TextPieces piecesWithLineAppended(std::string_view text, std::string_view line) {
  if (!isJoinedForm(text)) return TextPieces(withLineAppended(text, line));
  std::string last(line);
  last.append("\r\n", 2);
  TextPieces pieces;
  pieces.view(text).own(std::move(last));
  return pieces;
}

}  // namespace vb
