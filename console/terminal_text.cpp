#include "console/terminal_text.h"

#include <cstdint>

#include "engine/text.h"

namespace vb {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::string terminalTextUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    std::uint32_t cp = 0;
    std::size_t len = decodeUtf8(utf8, i, cp);
    if (len == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    if (cp < 0x20) {
      appendUtf8(out, 0x2400 + cp);  // control pictures: NUL..US
    } else if (cp == 0x7F) {
      appendUtf8(out, 0x2421);  // DEL
    } else if (cp >= 0x80 && cp <= 0x9F) {
      out += kReplacement;  // C1 controls (CSI, OSC...) would act on a terminal
    } else {
      out.append(utf8.substr(i, len));
    }
    i += len;
  }
  return out;
}

std::string terminalText(std::string_view text1251) {
  return terminalTextUtf8(cp1251ToUtf8(text1251));
}

}  // namespace vb
