#pragma once
// Text rules on single-byte Windows-1251 strings: case mapping, the
// normalised phrase, equality, the key form, the run scan and the word split.
// Every phrase, key and line of the knowledge base is a std::string of
// Windows-1251 bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

// Windows-1251 letter case (Cyrillic, Latin and the other Cyrillic letters
// of the code page; every other byte maps to itself).
char upper1251(char c);
char lower1251(char c);
std::string upper1251(std::string_view text);
std::string lower1251(std::string_view text);
// Whether the byte is a Latin or a Russian letter (Ё and ё included).
bool isLetter1251(char c);

// Capital first letter (Cyrillic lower-case only) and a final '.', '!' or '?'.
// An empty text stays empty.
std::string normalisePhrase(std::string_view raw);

bool equalsIgnoreCase(std::string_view a, std::string_view b);

// ',', '.', '!' and '?' removed wherever they stand, the rest upper-cased.
std::string keyForm(std::string_view phrase);

// The engine's one matching primitive. Scans `phrase` (upper-cased byte by
// byte) from `from` for `pattern` (taken as stored); a byte that breaks a run
// is not retried as the start of a new run. Returns the index one past the
// end of the run that completed the pattern, or npos when it is not found.
// An empty pattern is never found.
std::size_t runScan(std::string_view phrase, std::string_view pattern, std::size_t from = 0);
inline bool runFound(std::string_view phrase, std::string_view pattern) {
  return runScan(phrase, pattern) != std::string_view::npos;
}

// A key cut at each single space; two spaces in a row give a word that
// begins with a space.
std::vector<std::string_view> splitWords(std::string_view key);

// UTF-8 <-> Windows-1251 for the edges of the program (terminal, tests).
// A character with no Windows-1251 form becomes '?'.
std::string utf8To1251(std::string_view utf8);
std::string cp1251ToUtf8(std::string_view text);

// Decodes one UTF-8 character at `s[i]` into `cp`; returns its length, 0
// if malformed (overlong forms, surrogates, values past U+10FFFF, a
// sequence cut short).
std::size_t decodeUtf8(std::string_view s, std::size_t i, std::uint32_t& cp);

// What the user typed (UTF-8) without its emoji: pictographs, their
// joiners, variation selectors and skin tones have no Windows-1251 form,
// and a '?' in their place would turn a smiley into a question. A space
// left doubled or at an edge by a dropped emoji goes with it. A text of
// emoji alone is kept as it is.
std::string withoutEmoji(std::string_view utf8);

}  // namespace vb
