#include "session/kb_check.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "engine/failure.h"
#include "engine/text.h"
#include "session/config.h"
#include "session/settings.h"

namespace vb {
namespace {

constexpr std::string_view kWords = "Base\\Words.Dat";

// Files the program draws a random line from; AI.dat never its first line.
constexpr std::array<std::string_view, 9> kDrawnFrom = {
    "Base\\Povtor.Dat", "Base\\X.Dat",  "Base\\BigString.Dat", "Base\\W1.Dat",   "Base\\W2.Dat",
    "Base\\CPUpvt.dat", "Base\\AI.dat", "Base\\Pause.Dat",     "Base\\Begin.dat"};
constexpr std::string_view kAi = "Base\\AI.dat";
constexpr std::string_view kDictionary = "Base\\dictionary.dat";
// Files the program reads before appending to, or reads whole: they must exist.
constexpr std::array<std::string_view, 3> kMustExist = {"Base\\Collection.Dat", "Base\\Log.dat",
                                                        kDictionary};

constexpr std::string_view kReserved = "^_;@|";

std::string column(std::size_t index) {
  return "column " + std::to_string(index + 1);
}

std::string quoted(char c) {
  return std::string("'") + c + "'";
}

class Report {
 public:
  explicit Report(std::string_view file) : file_(file) {}
  void add(int line, std::string message) {
    findings_.push_back({file_, line, std::move(message)});
  }
  std::vector<KbFinding> take() { return std::move(findings_); }

 private:
  std::string file_;
  std::vector<KbFinding> findings_;
};

void append(std::vector<KbFinding>& to, std::vector<KbFinding> from) {
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// ---- encoding -------------------------------------------------------------

// Length of the UTF-8 multi-byte sequence starting at `i` (2 to 4), or 0.
std::size_t utf8Sequence(std::string_view s, std::size_t i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char lead = byte(i);
  std::size_t n = lead >= 0xC2 && lead <= 0xDF   ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  return n;
}

// A line reads as UTF-8 when it holds at least one multi-byte sequence and
// every byte above 0x7F belongs to one. Windows-1251 Cyrillic text almost
// never passes this: its letters 0xC0..0xFF are followed by other letters,
// not by the continuation bytes 0x80..0xBF.
bool looksLikeUtf8(std::string_view line) {
  bool multiByte = false;
  for (std::size_t i = 0; i < line.size();) {
    if (static_cast<unsigned char>(line[i]) < 0x80) {
      ++i;
      continue;
    }
    std::size_t n = utf8Sequence(line, i);
    if (n == 0) return false;
    multiByte = true;
    i += n;
  }
  return multiByte;
}

// ---- Words.Dat ----------------------------------------------------------

struct Entry {
  int number = 0;  // line number, from 1
  std::size_t depth = 0;
  std::string key;
  bool hasAnswers = false;  // at least one answer the search can choose
};

// Checks the part after the first '^': answers, delayed parts, closing mark.
// Returns whether the line has an answer the search may say.
bool checkAnswers(std::string_view line, std::size_t caret, std::size_t depth, int number,
                  Report& report) {
  std::string_view rest = line.substr(caret + 1);
  if (rest.empty()) return false;  // a key awaiting answers
  bool closing = rest.back() == '@';
  std::string_view body = closing ? rest.substr(0, rest.size() - 1) : rest;
  std::size_t offset = caret + 1;

  for (std::size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == '@') {
      report.add(number, "'@' at " + column(offset + i) +
                             " is not the last character: it is said as text and closes nothing");
    } else if (c == '^') {
      report.add(number, "second '^' at " + column(offset + i) +
                             ": it is said as text (two entries on one line?)");
    } else if (c == '_') {
      report.add(number, "'_' at " + column(offset + i) + " inside an answer");
    }
  }

  std::size_t answers = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != ';') continue;
    ++answers;
    std::string_view answer = body.substr(start, i - start);
    std::size_t bar = answer.find('|');
    std::string name = "answer " + std::to_string(answers);
    if (answer.substr(0, bar).empty()) {
      report.add(number, name + " at " + column(offset + start) + " is empty");
    }
    if (bar != std::string_view::npos && answer.find('|', bar + 1) != std::string_view::npos) {
      report.add(number, name + " holds '|' twice: the second one is said as text");
    }
    start = i + 1;
  }
  std::string_view tail = body.substr(start);
  if (answers == 0) {
    report.add(number, tail.empty() ? "closing mark '@' without any answer"
                                    : "answer without ';': it is never said");
  } else if (!tail.empty()) {
    report.add(number, "text after the last ';' at " + column(offset + start) + " is never said");
  }
  if (closing && depth > 0 && answers > 0) {
    report.add(number, "closing mark '@' on a branch line: only a main phrase closes");
  }
  return answers > 0;
}

}  // namespace

std::string formatFinding(const KbFinding& finding) {
  std::string out = finding.file;
  if (finding.line > 0) out += ":" + std::to_string(finding.line);
  return out + ": " + finding.message;
}

std::vector<KbFinding> checkEncoding(const std::string& file, const Lines& lines) {
  // Each kind of fault is reported once per file, at its first line, with
  // the number of further lines that have it.
  struct Kind {
    std::string message;
    int first = 0;
    int more = 0;
  };
  std::vector<Kind> kinds(3);
  auto note = [&](std::size_t kind, int line, std::string message) {
    Kind& k = kinds[kind];
    if (k.first == 0) {
      k.first = line;
      k.message = std::move(message);
    } else {
      ++k.more;
    }
  };
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    int number = static_cast<int>(n) + 1;
    if (looksLikeUtf8(line)) {
      note(0, number, "UTF-8 text, not Windows-1251");
      continue;
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
      auto c = static_cast<unsigned char>(line[i]);
      if (c == 0x98) {
        note(1, number, "byte 0x98 at " + column(i) + " is not a character of Windows-1251");
        break;
      }
      if (c < 0x20 && c != '\t') {
        static const char* hex = "0123456789ABCDEF";
        note(2, number,
             std::string("control character 0x") + hex[c >> 4] + hex[c & 15] + " at " + column(i) +
                 " (a UTF-16 file?)");
        break;
      }
    }
  }
  Report report(file);
  std::vector<std::pair<int, std::string>> ordered;
  for (const Kind& k : kinds) {
    if (k.first == 0) continue;
    std::string message = k.message;
    if (k.more > 0) message += " (and " + std::to_string(k.more) + " more lines)";
    ordered.emplace_back(k.first, std::move(message));
  }
  std::sort(ordered.begin(), ordered.end());
  for (auto& [line, message] : ordered) report.add(line, std::move(message));
  return report.take();
}

std::vector<KbFinding> checkPhraseBase(const Lines& lines) {
  Report report(kWords);
  bool mainSeen = false;
  // Depths of the current block's lines that can answer, and the keys of
  // its lines per depth, to find lines that are never reached.
  std::set<std::size_t> answering;
  std::map<std::pair<std::size_t, std::string>, int> blockKeys;
  std::map<std::string, int> mainKeys;

  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    int number = static_cast<int>(n) + 1;
    std::size_t caret = line.find('^');
    if (caret == std::string_view::npos) {
      report.add(number, line.empty() ? "empty line: the search passes over it"
                                      : "line without '^': the search passes over it");
      continue;
    }
    Entry entry;
    entry.number = number;
    while (entry.depth < caret && line[entry.depth] == '_') ++entry.depth;
    entry.key = std::string(line.substr(entry.depth, caret - entry.depth));

    bool keyUsable = !entry.key.empty();
    if (entry.key.empty()) {
      report.add(number, "empty key: the line never matches");
    }
    for (std::size_t i = 0; i < entry.key.size(); ++i) {
      char c = entry.key[i];
      if (kReserved.find(c) == std::string_view::npos) continue;
      std::string where = column(entry.depth + i);
      if (c == '_') {
        report.add(number, "'_' inside the key at " + where +
                               ": depth marks stand only at the start of the line");
      } else {
        report.add(number, quoted(c) + " inside the key at " + where);
      }
      keyUsable = false;
    }
    // A UTF-8 line is reported by the encoding check; its bytes would only
    // look like small letters here.
    if (upper1251(entry.key) != entry.key && !looksLikeUtf8(line)) {
      report.add(number, "key not in capitals: it never matches a phrase");
      keyUsable = false;
    }
    entry.hasAnswers = checkAnswers(line, caret, entry.depth, number, report) && keyUsable;

    if (entry.depth == 0) {
      mainSeen = true;
      answering.clear();
      blockKeys.clear();
      if (entry.hasAnswers) {
        auto [it, fresh] = mainKeys.emplace(entry.key, number);
        if (!fresh) {
          report.add(number, "the key " + entry.key + " already has answers on line " +
                                 std::to_string(it->second) + ": this line is never chosen");
        }
      }
    } else if (!mainSeen) {
      report.add(number, "branch line before the first main phrase: it is never reached");
      continue;
    } else if (!answering.count(entry.depth - 1)) {
      report.add(number, "branch line of depth " + std::to_string(entry.depth) +
                             " with no line of depth " + std::to_string(entry.depth - 1) +
                             " that answers above it in its thread: it is never reached");
      continue;
    } else if (entry.hasAnswers) {
      auto [it, fresh] = blockKeys.emplace(std::make_pair(entry.depth, entry.key), number);
      if (!fresh) {
        report.add(number, "the key " + entry.key + " already answers on line " +
                               std::to_string(it->second) +
                               " in this thread: this line is never chosen");
      }
    }
    if (entry.hasAnswers) answering.insert(entry.depth);
  }
  return report.take();
}

std::vector<KbFinding> checkConfig(const Lines& lines) {
  Report report(kConfigFile);
  ConfigList config(lines);
  if (lines.size() < 31) {
    report.add(0, "has " + std::to_string(lines.size()) +
                      " lines; the program reads 31 (line 31 is Adres, the partner file)");
  }
  bool numbersBad = false;
  auto number = [&](int line, bool size) {
    if (static_cast<std::size_t>(line) > lines.size()) return;
    try {
      std::int32_t value = parseInteger(config.value(line));
      if (size && value <= 0) {
        report.add(line, "font size " + std::to_string(value) + " is not a positive number");
      }
    } catch (const Failure& failure) {
      report.add(line, failure.what());
      numbersBad = true;
    }
  };
  for (int line : {7, 8, 9, 12, 13, 14, 15, 16, 17}) number(line, false);
  for (int line : {21, 25}) number(line, true);
  for (int line : {20, 24, 28}) {
    if (static_cast<std::size_t>(line) > lines.size()) continue;
    std::string value = config.value(line);
    if (!parseFontStyle(value)) {
      report.add(line, "font style '" + value +
                           "' is none of [], [fsItalic], [fsBold], [fsBold,fsItalic]: "
                           "it is ignored");
    }
  }
  // The program's own start-up path: whatever it would stop on and is not
  // reported above yet.
  struct Discard : SettingsSink {
    void setColour(ColourTarget, Colour) override {}
    void setUserStyle(const LineStyle&) override {}
    void setCpuStyle(const LineStyle&) override {}
    void setMyStringPreset(const FontPreset&) override {}
  } discard;
  try {
    applySettings(config, discard);
  } catch (const Failure& failure) {
    if (!numbersBad && lines.size() >= 31) report.add(0, failure.what());
  }
  return report.take();
}

std::vector<KbFinding> checkKnowledgeBase(FileStore& files) {
  std::vector<KbFinding> findings;
  auto read = [&](std::string_view name) -> std::optional<Lines> {
    try {
      Lines lines = files.readLines(name);
      append(findings, checkEncoding(std::string(name), lines));
      return lines;
    } catch (const Failure&) {
      return std::nullopt;
    }
  };
  auto missing = [&](std::string_view name, std::string_view consequence) {
    findings.push_back({std::string(name), 0, "missing: " + std::string(consequence)});
  };

  if (auto words = read(kWords)) {
    append(findings, checkPhraseBase(*words));
  } else {
    missing(kWords, "the program fails at start and on every phrase");
  }

  for (std::string_view name : kDrawnFrom) {
    auto lines = read(name);
    Report report(name);
    if (!lines) {
      missing(name, "the program fails when it draws a line from it");
      continue;
    }
    if (lines->empty()) {
      report.add(0, "empty: the program fails when it draws a line from it");
    } else if (name == kAi && lines->size() < 2) {
      report.add(0, "one line only: the first line is never said, so the file needs two");
    }
    for (std::size_t n = 0; n < lines->size(); ++n) {
      if ((*lines)[n].empty() && !(name == kAi && n == 0)) {
        report.add(static_cast<int>(n) + 1, "empty line: the program would say nothing");
      }
    }
    append(findings, report.take());
  }

  for (std::string_view name : kMustExist) {
    auto lines = read(name);
    if (!lines) {
      missing(name, "the program fails when it reads it");
      continue;
    }
    if (name != kDictionary) continue;
    Report report(name);
    for (std::size_t n = 0; n < lines->size(); ++n) {
      std::size_t at = (*lines)[n].find_first_of(kReserved);
      if (at != std::string::npos) {
        report.add(static_cast<int>(n) + 1,
                   quoted((*lines)[n][at]) + " in a word: the input field refuses it");
      }
    }
    append(findings, report.take());
  }

  if (auto config = read(kConfigFile)) {
    append(findings, checkConfig(*config));
  } else {
    missing(kConfigFile, "the program cannot apply its settings at start");
  }
  // Within a file, by line; the findings about the whole file first.
  for (auto first = findings.begin(); first != findings.end();) {
    auto last = std::find_if(first, findings.end(),
                             [&](const KbFinding& f) { return f.file != first->file; });
    std::stable_sort(first, last,
                     [](const KbFinding& a, const KbFinding& b) { return a.line < b.line; });
    first = last;
  }
  return findings;
}

}  // namespace vb
