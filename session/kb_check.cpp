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
  return "столбец " + std::to_string(index + 1);
}

// "1 строка", "2 строки", "5 строк".
std::string lineCount(std::size_t n) {
  std::size_t tens = n % 100;
  std::size_t ones = n % 10;
  const char* word = (tens >= 11 && tens <= 14) ? "строк"
                     : ones == 1                ? "строка"
                     : (ones >= 2 && ones <= 4) ? "строки"
                                                : "строк";
  return std::to_string(n) + " " + word;
}

// Text quoted from a file (Windows-1251) inside a message being built in UTF-8.
std::string fromFile(std::string_view text) {
  return cp1251ToUtf8(text);
}

std::string quoted(char c) {
  return std::string("'") + c + "'";
}

class Report {
 public:
  explicit Report(std::string_view file) : file_(file) {}
  // `message` is UTF-8 (the sources' own text); findings hold Windows-1251.
  void add(int line, const std::string& message) {
    findings_.push_back({file_, line, utf8To1251(message), {}, {}});
  }
  void warn(int line, std::string_view lint, std::string_view head, const std::string& message) {
    findings_.push_back({file_, line, utf8To1251(message), std::string(lint), std::string(head)});
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
      report.add(number, "'@' (" + column(offset + i) +
                             ") — не последний символ строки: он будет сказан как текст и ничего "
                             "не закроет");
    } else if (c == '^') {
      report.add(number, "второй '^' (" + column(offset + i) +
                             "): он будет сказан как текст (две записи в одной строке?)");
    } else if (c == '_') {
      report.add(number, "'_' внутри ответа (" + column(offset + i) + ")");
    }
  }

  std::size_t answers = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != ';') continue;
    ++answers;
    std::string_view answer = body.substr(start, i - start);
    std::size_t bar = answer.find('|');
    std::string name = "ответ " + std::to_string(answers);
    if (answer.substr(0, bar).empty()) {
      report.add(number, name + " (" + column(offset + start) + ") пуст");
    }
    if (bar != std::string_view::npos && answer.find('|', bar + 1) != std::string_view::npos) {
      report.add(number, "в ответе " + std::to_string(answers) +
                             " два знака '|': второй будет сказан как текст");
    }
    start = i + 1;
  }
  std::string_view tail = body.substr(start);
  if (answers == 0) {
    report.add(number, tail.empty() ? "знак завершения '@' без единого ответа"
                                    : "ответ без ';': он никогда не будет сказан");
  } else if (!tail.empty()) {
    report.add(number, "текст после последней ';' (" + column(offset + start) +
                           ") никогда не будет сказан");
  }
  if (closing && depth > 0 && answers > 0) {
    report.add(number, "знак завершения '@' у ветки: закрывает программу только главная фраза");
  }
  return answers > 0;
}

}  // namespace

std::string formatFinding(const KbFinding& finding) {
  std::string out = finding.file;
  if (finding.line > 0) out += ":" + std::to_string(finding.line);
  out += ": ";
  if (finding.warning()) out += utf8To1251("предупреждение [") + finding.lint + "]: ";
  return out + finding.message;
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
      note(0, number, "текст в UTF-8, а не в Windows-1251");
      continue;
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
      auto c = static_cast<unsigned char>(line[i]);
      if (c == 0x98) {
        note(1, number, "байт 0x98 (" + column(i) + ") — не символ Windows-1251");
        break;
      }
      if (c < 0x20 && c != '\t') {
        static const char* hex = "0123456789ABCDEF";
        note(2, number,
             std::string("управляющий символ 0x") + hex[c >> 4] + hex[c & 15] + " (" + column(i) +
                 "; файл в UTF-16?)");
        break;
      }
    }
  }
  Report report(file);
  std::vector<std::pair<int, std::string>> ordered;
  for (const Kind& k : kinds) {
    if (k.first == 0) continue;
    std::string message = k.message;
    if (k.more > 0) message += " (и ещё " + lineCount(static_cast<std::size_t>(k.more)) + ")";
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
  // The line above in the block, for a depth mark that skips a level.
  std::size_t lastDepth = 0;
  int lastNumber = 0;

  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    int number = static_cast<int>(n) + 1;
    std::size_t caret = line.find('^');
    if (caret == std::string_view::npos) {
      report.add(number, line.empty() ? "пустая строка: поиск её пропускает"
                                      : "строка без '^': поиск её пропускает");
      continue;
    }
    Entry entry;
    entry.number = number;
    while (entry.depth < caret && line[entry.depth] == '_') ++entry.depth;
    entry.key = std::string(line.substr(entry.depth, caret - entry.depth));

    bool keyUsable = !entry.key.empty();
    if (entry.key.empty()) {
      report.add(number, "пустой ключ: строка никогда не совпадёт");
    }
    for (std::size_t i = 0; i < entry.key.size(); ++i) {
      char c = entry.key[i];
      if (kReserved.find(c) == std::string_view::npos) continue;
      std::string where = column(entry.depth + i);
      if (c == '_') {
        report.add(number, "'_' внутри ключа (" + where +
                               "): метки глубины ставятся только в начале строки");
      } else {
        report.add(number, quoted(c) + " внутри ключа (" + where + ")");
      }
      keyUsable = false;
    }
    // A UTF-8 line is reported by the encoding check; its bytes would only
    // look like small letters here.
    if (upper1251(entry.key) != entry.key && !looksLikeUtf8(line)) {
      report.add(number, "ключ не прописными буквами: он никогда не совпадёт с фразой");
      keyUsable = false;
    }
    entry.hasAnswers = checkAnswers(line, caret, entry.depth, number, report) && keyUsable;

    const std::string_view head = line.substr(0, caret);
    if (entry.depth == 0) {
      mainSeen = true;
      answering.clear();
      blockKeys.clear();
      if (entry.hasAnswers) {
        auto [it, fresh] = mainKeys.emplace(entry.key, number);
        if (!fresh) {
          report.warn(number, kLintDuplicate, head,
                      "ключ " + fromFile(entry.key) + " уже есть с ответами в строке " +
                          std::to_string(it->second) + ": эта строка никогда не будет выбрана");
        }
      }
    } else if (!mainSeen) {
      report.warn(number, kLintUnreachable, head,
                  "ветка до первой главной фразы: разговор до неё не дойдёт");
      continue;
    } else if (!answering.count(entry.depth - 1)) {
      report.warn(number, kLintUnreachable, head,
                  "ветка уровня " + std::to_string(entry.depth) +
                      ", а выше в её блоке нет строки уровня " + std::to_string(entry.depth - 1) +
                      " с ответами: разговор до неё не дойдёт");
      continue;
    } else {
      if (entry.depth > lastDepth + 1) {
        // Reachable only from an earlier, unrelated line of the depth above:
        // the marks most likely miscount the level of the line above.
        report.warn(number, kLintDepthSkip, head,
                    "ветка уровня " + std::to_string(entry.depth) + " сразу под строкой " +
                        std::to_string(lastNumber) + " уровня " + std::to_string(lastDepth) +
                        ": пропущен уровень; разговор дойдёт до неё только после строки " +
                        "уровня " + std::to_string(entry.depth - 1) + " выше");
      }
      if (entry.hasAnswers) {
        auto [it, fresh] = blockKeys.emplace(std::make_pair(entry.depth, entry.key), number);
        if (!fresh) {
          report.warn(number, kLintDuplicate, head,
                      "ключ " + fromFile(entry.key) + " уже отвечает в строке " +
                          std::to_string(it->second) +
                          " этого блока: эта строка никогда не будет выбрана");
        }
      }
    }
    lastDepth = entry.depth;
    lastNumber = number;
    if (entry.hasAnswers) answering.insert(entry.depth);
  }
  return report.take();
}

std::vector<KbFinding> checkConfig(const Lines& lines) {
  Report report(kConfigFile);
  ConfigList config(lines);
  if (lines.size() < 31) {
    report.add(0, lineCount(lines.size()) +
                      ", а программа читает 31 (строка 31 — Adres, файл собеседника)");
  }
  bool numbersBad = false;
  auto number = [&](int line, bool size) {
    if (static_cast<std::size_t>(line) > lines.size()) return;
    try {
      std::int32_t value = parseInteger(config.value(line));
      if (size && value <= 0) {
        report.add(line, "размер шрифта " + std::to_string(value) + " — не положительное число");
      }
    } catch (const Failure& failure) {
      report.add(line, fromFile(failure.what()));
      numbersBad = true;
    }
  };
  for (int line : {7, 8, 9, 12, 13, 14, 15, 16, 17}) number(line, false);
  for (int line : {21, 25}) number(line, true);
  for (int line : {20, 24, 28}) {
    if (static_cast<std::size_t>(line) > lines.size()) continue;
    std::string value = config.value(line);
    if (!parseFontStyle(value)) {
      report.add(line, "стиль шрифта '" + fromFile(value) +
                           "' — не один из [], [fsItalic], [fsBold], [fsBold,fsItalic]: "
                           "он не будет учтён");
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
    if (!numbersBad && lines.size() >= 31) report.add(0, fromFile(failure.what()));
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
    Report report(name);
    report.add(0, "нет файла: " + std::string(consequence));
    append(findings, report.take());
  };

  if (auto words = read(kWords)) {
    append(findings, checkPhraseBase(*words));
  } else {
    missing(kWords, "программа остановится с ошибкой при старте и на каждой фразе");
  }

  for (std::string_view name : kDrawnFrom) {
    auto lines = read(name);
    Report report(name);
    if (!lines) {
      missing(name, "программа остановится с ошибкой, когда возьмёт из него строку");
      continue;
    }
    if (lines->empty()) {
      report.add(0, "файл пуст: программа остановится с ошибкой, когда возьмёт из него строку");
    } else if (name == kAi && lines->size() < 2) {
      report.add(0, "всего одна строка: первая строка не произносится, нужно хотя бы две");
    }
    for (std::size_t n = 0; n < lines->size(); ++n) {
      if ((*lines)[n].empty() && !(name == kAi && n == 0)) {
        report.add(static_cast<int>(n) + 1, "пустая строка: программа скажет пустую фразу");
      }
    }
    append(findings, report.take());
  }

  for (std::string_view name : kMustExist) {
    auto lines = read(name);
    if (!lines) {
      missing(name, "программа остановится с ошибкой, когда его прочтёт");
      continue;
    }
    if (name != kDictionary) continue;
    Report report(name);
    for (std::size_t n = 0; n < lines->size(); ++n) {
      std::size_t at = (*lines)[n].find_first_of(kReserved);
      if (at != std::string::npos) {
        report.add(static_cast<int>(n) + 1,
                   quoted((*lines)[n][at]) + " в слове: поле ввода такой текст не примет");
      }
    }
    append(findings, report.take());
  }

  if (auto config = read(kConfigFile)) {
    append(findings, checkConfig(*config));
  } else {
    missing(kConfigFile, "программа не сможет применить настройки при старте");
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
