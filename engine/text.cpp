#include "engine/text.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace vb {
namespace {

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
};

// Lower-case letters of Windows-1251 outside the two contiguous ranges, with
// their capitals (Serbian, Macedonian, Ukrainian and Belarusian letters).
constexpr std::array<std::pair<unsigned char, unsigned char>, 14> kOtherLetters{{
    {0x83, 0x81},
    {0x90, 0x80},
    {0x9A, 0x8A},
    {0x9C, 0x8C},
    {0x9D, 0x8D},
    {0x9E, 0x8E},
    {0x9F, 0x8F},
    {0xA2, 0xA1},
    {0xBC, 0xA3},
    {0xB4, 0xA5},
    {0xB8, 0xA8},
    {0xBA, 0xAA},
    {0xBF, 0xAF},
    {0xB3, 0xB2},
}};

constexpr CaseTables makeTables() {
  CaseTables t;
  for (int i = 0; i < 256; ++i) {
    t.upper[i] = static_cast<unsigned char>(i);
    t.lower[i] = static_cast<unsigned char>(i);
  }
  auto pair = [&t](int lo, int up) {
    t.upper[lo] = static_cast<unsigned char>(up);
    t.lower[up] = static_cast<unsigned char>(lo);
  };
  for (int i = 0; i < 26; ++i) pair('a' + i, 'A' + i);
  for (int i = 0; i < 32; ++i) pair(0xE0 + i, 0xC0 + i);
  for (auto [lo, up] : kOtherLetters) pair(lo, up);
  pair(0xBE, 0xBD);  // dze
  return t;
}

constexpr CaseTables kCase = makeTables();

std::string convert(std::string_view text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  out.reserve(text.size() * 2);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buf[1024];
  while (inLeft > 0) {
    char* outPtr = buf;
    size_t outLeft = sizeof buf;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buf, static_cast<size_t>(outPtr - buf));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // A character with no form in the target (or a malformed sequence):
      // skip one whole UTF-8 character or one byte, and write '?'.
      size_t skip = 1;
      if (std::string_view(from) == "UTF-8") {
        auto lead = static_cast<unsigned char>(*in);
        skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (skip > inLeft) skip = inLeft;
        for (size_t k = 1; k < skip; ++k) {
          if ((static_cast<unsigned char>(in[k]) & 0xC0) != 0x80) {
            skip = k;
            break;
          }
        }
      }
      in += skip;
      inLeft -= skip;
      out.push_back('?');
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

char upper1251(char c) {
  return static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]);
}
char lower1251(char c) {
  return static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]);
}

bool isLetter1251(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0xC0 || b == 0xA8 || b == 0xB8;
}

std::string upper1251(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper1251(c);
  return out;
}

std::string lower1251(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lower1251(c);
  return out;
}

std::string normalisePhrase(std::string_view raw) {
  std::string out(raw);
  if (out.empty()) return out;
  auto first = static_cast<unsigned char>(out.front());
  if (first >= 0xE0 || first == 0xB8) out.front() = upper1251(out.front());
  switch (out.back()) {
    case ',':
      out.back() = '.';
      break;
    case '.':
    case '!':
    case '?':
      break;
    default:
      out.push_back('.');
  }
  return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (upper1251(a[i]) != upper1251(b[i])) return false;
  }
  return true;
}

std::string keyForm(std::string_view phrase) {
  std::string out;
  out.reserve(phrase.size());
  for (char c : phrase) {
    if (c == ',' || c == '.' || c == '!' || c == '?') continue;
    out.push_back(upper1251(c));
  }
  return out;
}

std::size_t runScan(std::string_view phrase, std::string_view pattern, std::size_t from) {
  const size_t len = pattern.size();
  if (len == 0) return std::string_view::npos;
  size_t run = 0;
  for (size_t i = from; i < phrase.size(); ++i) {
    if (upper1251(phrase[i]) == pattern[run]) {
      if (++run == len) return i + 1;
    } else {
      run = 0;
    }
  }
  return std::string_view::npos;
}

std::vector<std::string_view> splitWords(std::string_view key) {
  // A space ends the word being built; a space met when no word is being
  // built (right after a cut, or at the start) belongs to the next word.
  std::vector<std::string_view> words;
  size_t start = 0;
  for (size_t i = 0; i < key.size(); ++i) {
    if (key[i] == ' ' && i > start) {
      words.push_back(key.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < key.size()) words.push_back(key.substr(start));
  return words;
}

std::size_t decodeUtf8(std::string_view s, std::size_t i, std::uint32_t& cp) {
  auto b0 = static_cast<unsigned char>(s[i]);
  std::size_t len = b0 < 0x80           ? 1
                    : (b0 >> 5) == 0x6  ? 2
                    : (b0 >> 4) == 0xE  ? 3
                    : (b0 >> 3) == 0x1E ? 4
                                        : 0;
  if (len == 0 || i + len > s.size()) return 0;
  cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (std::size_t k = 1; k < len; ++k) {
    auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

namespace {

bool emojiPart(std::uint32_t c) {
  return (c >= 0x1F000 && c <= 0x1FAFF) || (c >= 0x2300 && c <= 0x23FF) ||
         (c >= 0x2600 && c <= 0x27BF) || (c >= 0x2B00 && c <= 0x2BFF) ||
         (c >= 0xFE00 && c <= 0xFE0F) || c == 0x200D || c == 0x20E3 ||
         (c >= 0xE0000 && c <= 0xE007F);
}

}  // namespace

std::string withoutEmoji(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t p = 0; p < utf8.size();) {
    std::uint32_t cp = 0;
    const std::size_t length = std::max<std::size_t>(decodeUtf8(utf8, p, cp), 1);
    if (length == 1 || !emojiPart(cp)) {
      out.append(utf8.substr(p, length));
      p += length;
      continue;
    }
    p += length;
    const bool spaceAfter = p == utf8.size() || utf8[p] == ' ';
    if (spaceAfter && !out.empty() && out.back() == ' ') {
      out.pop_back();
    } else if (out.empty() && p < utf8.size() && utf8[p] == ' ') {
      ++p;
    }
  }
  // Nothing but emoji: kept, so that the message is still answered.
  return out.empty() ? std::string(utf8) : out;
}

std::string utf8To1251(std::string_view utf8) {
  return convert(utf8, "WINDOWS-1251", "UTF-8");
}
std::string cp1251ToUtf8(std::string_view text) {
  return convert(text, "UTF-8", "WINDOWS-1251");
}

}  // namespace vb
