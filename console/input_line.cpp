#include "console/input_line.h"

#include <algorithm>
#include <cctype>

#include "engine/text.h"

namespace vb {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string asciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

bool isReserved(char c) {
  return c == '^' || c == '_' || c == ';' || c == '@' || c == '|';
}

std::string fieldText(std::string_view utf8) {
  // The window shows an emoji as '?' in the field as it is typed; here
  // nothing shows it, so it is left out.
  std::string text = utf8To1251(withoutEmoji(utf8));
  std::string out;
  out.reserve(std::min(text.size(), kInputMaxChars));
  for (char c : text) {
    if (out.size() == kInputMaxChars) break;
    auto b = static_cast<unsigned char>(c);
    if (c == '\t') {
      out.push_back(' ');
    } else if (b >= 0x20 && b != 0x7F) {
      out.push_back(c);
    }
  }
  return out;
}

InputLine readInputLine(std::string_view utf8) {
  if (!utf8.empty() && utf8.back() == '\r') utf8.remove_suffix(1);
  InputLine line;
  if (utf8.starts_with("/") && !utf8.starts_with("//")) {
    std::string_view word = trimmed(utf8);
    std::string name = asciiLower(word);
    using K = InputLine::Kind;
    line.kind = name == "/new"    ? K::NewDialogue
                : name == "/undo" ? K::Undo
                : name == "/exit" ? K::Exit
                : name == "/help" ? K::Help
                : name == "/why"  ? K::Why
                                  : K::UnknownCommand;
    line.command = std::string(word);
    return line;
  }
  if (utf8.starts_with("//")) utf8.remove_prefix(1);
  line.phrase = fieldText(utf8);
  if (line.phrase.empty()) return line;
  auto hit = std::find_if(line.phrase.begin(), line.phrase.end(), isReserved);
  if (hit != line.phrase.end()) {
    line.kind = InputLine::Kind::Refused;
    line.reserved = *hit;
  } else {
    line.kind = InputLine::Kind::Phrase;
  }
  return line;
}

}  // namespace vb
