#include "session/kb_lint.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <string_view>

#include "engine/failure.h"
#include "engine/text.h"
#include "engine/word_lists.h"
#include "engine/words_entry.h"

namespace vb {
namespace {

constexpr std::string_view kWords = "Base\\Words.Dat";
constexpr std::string_view kDictionary = "Base\\dictionary.dat";

// A key that runs on past its match by this many letters has most likely
// matched the start of another word (ПОЛИВ in «поливитамины»), not a stem
// with its ending (ГРЯДК in «грядками», РАБОТ in «работаешь»).
constexpr std::size_t kForeignTail = 6;
// The words of dictionary.dat taken as common: the list goes from the most
// common word down, and its far end holds words few people type.
constexpr std::size_t kCommonWords = 20000;

// The phrase as a user would type it: «Ты любишь огород.»
std::string shownPhrase(std::string_view upperPhrase) {
  std::string out = lower1251(upperPhrase);
  if (!out.empty()) out[0] = upper1251(out[0]);
  return cp1251ToUtf8(out);
}

std::string shownKey(std::string_view key) {
  return "«" + cp1251ToUtf8(key) + "»";
}

// "1 слове", "2 словах": after "ещё в".
std::string inWords(std::size_t n) {
  return std::to_string(n) + (n % 10 == 1 && n % 100 != 11 ? " слове" : " словах");
}

struct Key {
  int number = 0;  // line number, from 1
  std::size_t depth = 0;
  int block = 0;  // the main phrase it belongs to (its line number; 0 before the first)
  std::string_view head;
  std::string_view key;
};

// The lines that can answer: a key in capitals, free of markup, with an
// answer to say.
std::vector<Key> answeringKeys(const Lines& words) {
  std::vector<Key> keys;
  int block = 0;
  for (std::size_t n = 0; n < words.size(); ++n) {
    const WordsEntry entry(words[n]);
    if (!entry.hasCaret()) continue;
    const int number = static_cast<int>(n) + 1;
    if (entry.depth() == 0) block = number;
    const std::string_view key = entry.key();
    if (entry.awaitingAnswers() || isBlank(key) || entry.usableAnswers() == 0) continue;
    if (key.find_first_of("^_;@|") != std::string_view::npos || upper1251(key) != key) continue;
    keys.push_back({number, entry.depth(), block, entry.head(), key});
  }
  return keys;
}

class Warnings {
 public:
  void add(const Key& key, std::string_view lint, const std::string& message) {
    found_.push_back({std::string(kWords), key.number, utf8To1251(message), std::string(lint),
                      std::string(key.head)});
  }
  std::vector<KbFinding> take() {
    std::stable_sort(found_.begin(), found_.end(),
                     [](const KbFinding& a, const KbFinding& b) { return a.line < b.line; });
    return std::move(found_);
  }

 private:
  std::vector<KbFinding> found_;
};

void lintShadowed(const std::vector<Key>& keys, Warnings& out) {
  std::vector<const Key*> mains;
  for (const Key& k : keys) {
    if (k.depth == 0) mains.push_back(&k);
  }
  for (std::size_t j = 0; j < mains.size(); ++j) {
    const Key& later = *mains[j];
    // Every phrase that holds the later key holds the earlier one when the
    // key itself does. A key with an end mark (ПОКА.) is held only where
    // the mark follows: it takes the later key's own phrase, which is worth
    // a warning only when it stands inside a word there (ДА. in «Рассада.»);
    // at a word's start it is the usual special case of the bare phrase.
    const std::string phrase = normalisePhrase(later.head);
    const Key* holds = nullptr;  // the first earlier key the later key holds
    const Key* takes = nullptr;  // the first earlier key its own phrase holds
    for (std::size_t i = 0; i < j && !holds; ++i) {
      const Key& earlier = *mains[i];
      if (earlier.head == later.head) continue;  // a duplicate, reported as such
      if (phrase.find(earlier.head) == std::string::npos || !runFound(phrase, earlier.head))
        continue;
      if (!takes) takes = &earlier;
      if (later.head.find(earlier.head) != std::string_view::npos &&
          runFound(later.head, earlier.head))
        holds = &earlier;
    }
    const Key* by = holds ? holds : takes;
    if (!by) continue;
    if (!holds) {
      const std::size_t at = phrase.find(by->head);
      if (at == 0 || !isLetter1251(phrase[at - 1]) || !isLetter1251(by->head.front())) continue;
    }
    out.add(later, kLintShadowed,
            "ключ " + shownKey(later.key) +
                (holds ? " не ответит" : " не ответит на одно это слово") + ": во фразе «" +
                shownPhrase(phrase) + "» раньше найдётся ключ " + shownKey(by->key) + " строки " +
                std::to_string(by->number) +
                (holds ? " (ключ целиком ищется по всему файлу, прежде чем по словам)"
                       : ", внутри слова"));
  }
}

// The dictionary's words as the phrases a user would send, upper-cased as
// the run scan sees them, one after another in one text, with an index of
// where each pair of bytes stands.
class WordPhrases {
 public:
  explicit WordPhrases(const Lines& dictionary) {
    for (const std::string& word : dictionary) {
      if (words_.size() == kCommonWords) break;
      if (isBlank(word)) continue;
      starts_.push_back(static_cast<std::uint32_t>(text_.size()));
      words_.push_back(&word);
      text_ += upper1251(normalisePhrase(word));
      text_ += '\n';
    }
    std::vector<std::uint32_t> count(kPairs + 1, 0);
    for (std::size_t p = 0; p + 1 < text_.size(); ++p) ++count[pair(p) + 1];
    for (std::size_t i = 1; i <= kPairs; ++i) count[i] += count[i - 1];
    first_ = count;
    positions_.resize(text_.size());
    for (std::size_t p = 0; p + 1 < text_.size(); ++p) {
      positions_[count[pair(p)]++] = static_cast<std::uint32_t>(p);
    }
  }

  std::size_t size() const { return words_.size(); }
  const std::string& word(std::size_t w) const { return *words_[w]; }
  std::string_view phrase(std::size_t w) const {
    std::size_t end = w + 1 < starts_.size() ? starts_[w + 1] - 1 : text_.size() - 1;
    return std::string_view(text_).substr(starts_[w], end - starts_[w]);
  }

  // Calls visit(word, offset in its phrase) for every place `key` stands,
  // in dictionary order.
  template <typename Visit>
  void forEachPlace(std::string_view key, const Visit& visit) const {
    if (key.empty()) return;
    auto at = [&](std::uint32_t p) {
      if (text_.compare(p, key.size(), key) != 0) return;
      auto w = static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), p) -
                                        starts_.begin() - 1);
      visit(w, p - starts_[w]);
    };
    std::vector<std::uint32_t> places;
    if (key.size() == 1) {
      std::size_t lo = static_cast<unsigned char>(key[0]) * 256u;
      places.assign(positions_.begin() + first_[lo], positions_.begin() + first_[lo + 256]);
      std::sort(places.begin(), places.end());
    } else {
      std::size_t pr = pairOf(key[0], key[1]);
      places.assign(positions_.begin() + first_[pr], positions_.begin() + first_[pr + 1]);
    }
    for (std::uint32_t p : places) at(p);
  }

 private:
  static constexpr std::size_t kPairs = 65536;
  static std::size_t pairOf(char a, char b) {
    return static_cast<unsigned char>(a) * 256u + static_cast<unsigned char>(b);
  }
  std::size_t pair(std::size_t p) const { return pairOf(text_[p], text_[p + 1]); }

  std::string text_;
  std::vector<std::uint32_t> starts_;
  std::vector<const std::string*> words_;
  std::vector<std::uint32_t> first_;  // start of each pair's places in positions_
  std::vector<std::uint32_t> positions_;
};

// The key stands inside a word at `offset` of `phrase`: it starts after a
// letter, or it ends in a word that runs on for kForeignTail letters more.
bool insideWord(std::string_view phrase, std::size_t offset, std::string_view key) {
  if (isLetter1251(key.front()) && offset > 0 && isLetter1251(phrase[offset - 1])) return true;
  if (!isLetter1251(key.back())) return false;
  std::size_t tail = 0;
  for (std::size_t p = offset + key.size(); p < phrase.size() && isLetter1251(phrase[p]); ++p)
    ++tail;
  return tail >= kForeignTail;
}

void lintInsideWord(const std::vector<Key>& keys, const Lines& dictionary, Warnings& out) {
  const WordPhrases words(dictionary);
  // The main line that answers each word's phrase by its whole key, as
  // far as the keys seen so far tell (they are taken in file order).
  std::vector<int> answeredBy(words.size(), INT_MAX);
  // Branch lines of one block and depth, in file order: an earlier one
  // that the word's phrase holds takes the word first.
  std::map<std::pair<int, std::size_t>, std::vector<const Key*>> siblings;
  for (const Key& k : keys) {
    if (k.depth > 0) siblings[{k.block, k.depth}].push_back(&k);
  }
  for (const Key& k : keys) {
    std::size_t shown = SIZE_MAX;
    std::size_t more = 0;
    std::size_t last = SIZE_MAX;
    // Search text as the search scans it: a main line by its head, a
    // branch line by its key without the depth marks.
    words.forEachPlace(k.key, [&](std::size_t w, std::size_t offset) {
      if (w == last) return;
      const std::string_view phrase = words.phrase(w);
      if (!insideWord(phrase, offset, k.key) && k.depth > 0) return;
      if (!runFound(phrase, k.key)) return;
      last = w;
      bool taken = false;
      if (k.depth == 0) {
        taken = answeredBy[w] < k.number;
        if (answeredBy[w] == INT_MAX) answeredBy[w] = k.number;
      } else {
        for (const Key* sibling : siblings[{k.block, k.depth}]) {
          if (sibling->number >= k.number) break;
          if (runFound(phrase, sibling->key)) taken = true;
        }
      }
      if (taken || !insideWord(phrase, offset, k.key)) return;
      if (shown == SIZE_MAX) {
        shown = w;
      } else {
        ++more;
      }
    });
    if (shown == SIZE_MAX) continue;
    std::string message = "ключ " + shownKey(k.key) + " находится внутри слова «" +
                          cp1251ToUtf8(words.word(shown)) +
                          "»: " + (k.depth > 0 ? "в открытой теме " : "") + "фраза «" +
                          shownPhrase(words.phrase(shown)) + "» получит ответ этой строки";
    if (more > 0) message += " (и ещё в " + inWords(more) + " словаря)";
    out.add(k, kLintInsideWord, message);
  }
}

void lintCensored(const std::vector<Key>& keys, Warnings& out) {
  const auto& censor = Cenzura();
  for (const Key& k : keys) {
    std::string bare = normalisePhrase(k.key);
    std::string within = normalisePhrase(utf8To1251("ТЫ ") + std::string(k.key));
    int entry = censorEntry(bare);
    const bool always = entry >= 0;
    if (!always) entry = censorEntry(within);
    if (entry < 0) continue;
    const std::string& phrase = always ? bare : within;
    out.add(k, kLintCensored,
            "ключ " + shownKey(k.key) + (always ? " не ответит никогда" : " не ответит") +
                ": фразу «" + shownPhrase(phrase) + "» перехватывает цензура (в ней есть «" +
                cp1251ToUtf8(censor[static_cast<std::size_t>(entry)]) + "»)");
  }
}

}  // namespace

std::vector<KbFinding> lintPhraseBase(const Lines& words, const Lines& dictionary) {
  const std::vector<Key> keys = answeringKeys(words);
  Warnings out;
  lintShadowed(keys, out);
  lintInsideWord(keys, dictionary, out);
  lintCensored(keys, out);
  return out.take();
}

std::vector<KbFinding> checkAndLint(FileStore& files) {
  std::vector<KbFinding> findings = checkKnowledgeBase(files);
  Lines words;
  Lines dictionary;
  try {
    words = files.readLines(kWords);
  } catch (const Failure&) {
    return findings;  // reported by the check
  }
  try {
    dictionary = files.readLines(kDictionary);
  } catch (const Failure&) {
  }
  std::vector<KbFinding> lints = lintPhraseBase(words, dictionary);
  // After the other findings of Words.Dat, merged by line.
  auto end = std::find_if(findings.begin(), findings.end(),
                          [](const KbFinding& f) { return f.file != kWords; });
  auto at = findings.insert(end, lints.begin(), lints.end());
  std::inplace_merge(findings.begin(), at, at + static_cast<std::ptrdiff_t>(lints.size()),
                     [](const KbFinding& a, const KbFinding& b) { return a.line < b.line; });
  return findings;
}

}  // namespace vb
