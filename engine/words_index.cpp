#include "engine/words_index.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/line_split.h"
#include "engine/text.h"
#include "engine/words_entry.h"

namespace vb {
namespace {

using LineId = WordsIndex::LineId;
// Words are filed by their first kPrefix bytes (and their length, when
// shorter).
constexpr std::size_t kPrefix = 8;
constexpr std::size_t kLongWord = 255;

std::uint64_t mix(std::uint64_t x) {
  x ^= x >> 32;
  x *= 0xd6e8feb86659fd93ULL;
  x ^= x >> 32;
  x *= 0xd6e8feb86659fd93ULL;
  x ^= x >> 32;
  return x;
}

// Up to eight bytes at p, the first in the lowest byte; `end` bounds the
// read.
std::uint64_t load(const char* p, std::size_t n, const char* end) {
  std::uint64_t v = 0;
  if (end - p >= 8) {
    std::memcpy(&v, p, 8);
    if (n < 8) v &= (std::uint64_t{1} << (8 * n)) - 1;
  } else {
    std::memcpy(&v, p, n);
  }
  return v;
}

std::uint64_t wordHash(const char* p, std::size_t len, const char* end) {
  std::uint64_t h = mix(len + 0x9E3779B97F4A7C15ULL);
  std::size_t i = 0;
  for (; i + 8 <= len; i += 8) h = mix(h ^ load(p + i, 8, end));
  if (i < len) h = mix(h ^ load(p + i, len - i, end));
  return h;
}

std::uint32_t markOf(std::size_t len, std::uint64_t hash) {
  return static_cast<std::uint32_t>(std::min(len, kLongWord) << 24) |
         static_cast<std::uint32_t>(hash >> 40);
}

// The word of `head` that the line is filed under: the longest of the words
// the word pass cuts it into (the first of equals). Empty for a head
// without any byte other than a space (such a line never answers and is
// never looked for).
std::string_view fileWord(std::string_view head) {
  std::size_t bestStart = 0;
  std::size_t bestSize = 0;
  std::size_t start = 0;
  bool blank = true;
  const char* h = head.data();
  const std::size_t n = head.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (h[i] != ' ') {
      blank = false;
    } else if (i > start) {
      if (i - start > bestSize) {
        bestStart = start;
        bestSize = i - start;
      }
      start = i + 1;
    }
  }
  if (blank) return {};
  if (n - start > bestSize) return head.substr(start);
  return head.substr(bestStart, bestSize);
}

// The first '^', CR or LF in [p, end), or end.
const char* findCaretOrLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i caret = _mm_set1_epi8('^');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, caret),
                                     _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
    const int mask = _mm_movemask_epi8(hit);
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  while (p < end && *p != '^' && *p != '\n' && *p != '\r') ++p;
  return p;
}

std::string_view headOf(std::string_view line) {
  const auto caret = line.find('^');
  return caret == std::string_view::npos ? std::string_view() : line.substr(0, caret);
}

}  // namespace

std::unique_ptr<WordsIndex> WordsIndex::build(std::shared_ptr<const std::string> text,
                                              std::size_t budget) {
  const std::string& bytes = *text;
  if (bytes.size() >= (std::size_t{1} << 31) || bytes.size() > budget) return nullptr;
  std::unique_ptr<WordsIndex> index(new WordsIndex());
  index->base_ = std::move(text);
  // Buckets for about one line in 32 bytes; a base of shorter lines gets
  // longer chains.
  index->bucketBits_ = std::max(4, static_cast<int>(std::bit_width(bytes.size() / 32)));
  index->buckets_.assign(std::size_t{1} << index->bucketBits_, kNone);
  const std::size_t guess = bytes.size() / 40 + 16;
  index->start_.reserve(guess);
  index->next_.reserve(guess);
  index->mark_.reserve(guess);

  const char* const data = bytes.data();
  const char* const end = data + bytes.size();
  const char* p = data;
  bool joined = true;
  LineId id = 0;
  while (p < end) {
    const char* caret = findCaretOrLineEnd(p, end);
    const char* stop = (caret < end && *caret == '^') ? findLineEnd(caret + 1, end) : caret;
    index->start_.push_back(static_cast<std::uint32_t>(p - data));
    index->next_.push_back(kNone);
    index->mark_.push_back(0);
    if (caret < stop) {
      // The bucket, for now; the lines go into their buckets below, in a
      // loop that waits on memory for several lines at once.
      index->next_.back() =
          index->fileHead(id, std::string_view(p, static_cast<std::size_t>(caret - p)), end);
    }
    ++id;
    p = stop;
    if (p < end) {
      const bool crlf = *p == '\r' && p + 1 < end && p[1] == '\n';
      joined = joined && crlf;
      p += crlf ? 2 : 1;
    } else {
      joined = joined && bytes.empty();
    }
  }
  for (LineId i = 0; i < id; ++i) {
    const std::uint32_t b = index->next_[i];
    if (b == kNone) continue;
    index->next_[i] = index->buckets_[b];
    index->buckets_[b] = i;
  }
  index->start_.shrink_to_fit();
  index->next_.shrink_to_fit();
  index->mark_.shrink_to_fit();
  index->joined_ = joined;
  index->baseLines_ = id;
  index->ids_ = id;
  if (index->memory() > budget) return nullptr;
  return index;
}

std::uint32_t& WordsIndex::bucket(std::uint64_t hash) {
  return buckets_[hash >> (64 - bucketBits_)];
}

std::uint32_t WordsIndex::bucketOf(std::uint64_t hash) const {
  return buckets_[hash >> (64 - bucketBits_)];
}

void WordsIndex::fileLine(LineId id, std::string_view line) {
  const auto caret = line.find('^');
  if (caret != std::string_view::npos) {
    const std::uint32_t b = fileHead(id, line.substr(0, caret), line.data() + line.size());
    if (b != kNone) {
      next_[id] = buckets_[b];
      buckets_[b] = id;
    }
  }
}

std::uint32_t WordsIndex::fileHead(LineId id, std::string_view head, const char* end) {
  const std::string_view word = fileWord(head);
  if (word.empty()) return kNone;
  const std::size_t prefix = std::min(word.size(), kPrefix);
  const std::uint64_t key = wordHash(word.data(), prefix, end);
  const std::uint64_t full = word.size() <= kPrefix ? key : wordHash(word.data(), word.size(), end);
  mark_[id] = markOf(word.size(), full);
  lengths_[static_cast<unsigned char>(word[0])] |= static_cast<std::uint8_t>(1u << (prefix - 1));
  return static_cast<std::uint32_t>(key >> (64 - bucketBits_));
}

void WordsIndex::unfile(LineId id) {
  const std::string_view word = fileWord(headOf(line(id)));
  if (word.empty()) return;
  const std::string_view l = line(id);
  const std::uint64_t key =
      wordHash(word.data(), std::min(word.size(), kPrefix), l.data() + l.size());
  std::uint32_t* link = &bucket(key);
  while (*link != kNone && *link != id) link = &next_[*link];
  if (*link == id) *link = next_[id];
}

bool WordsIndex::dead(LineId id) const {
  return std::binary_search(dead_.begin(), dead_.end(), id);
}

std::size_t WordsIndex::indexOf(LineId id) const {
  return id -
         static_cast<std::size_t>(std::lower_bound(dead_.begin(), dead_.end(), id) - dead_.begin());
}

LineId WordsIndex::idAt(std::size_t index) const {
  // Below dead_[j] lie dead_[j] - j live lines.
  std::size_t lo = 0;
  std::size_t hi = dead_.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (dead_[mid] - mid <= index) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return static_cast<LineId>(index + lo);
}

std::string_view WordsIndex::span(LineId id) const {
  const std::string_view buffer = id < baseLines_ ? std::string_view(*base_) : extra_;
  const std::size_t from = start_[id];
  const std::size_t to = (id + 1 < ids_ && (id + 1 < baseLines_) == (id < baseLines_))
                             ? start_[id + 1]
                             : buffer.size();
  return buffer.substr(from, to - from);
}

std::string_view WordsIndex::line(LineId id) const {
  const std::string_view s = span(id);
  return s.substr(0,
                  static_cast<std::size_t>(findLineEnd(s.data(), s.data() + s.size()) - s.data()));
}

std::size_t WordsIndex::memory() const {
  return base_->capacity() + extra_.capacity() +
         4 * (start_.capacity() + next_.capacity() + mark_.capacity() + buckets_.capacity() +
              dead_.capacity()) +
         sizeof(*this);
}

std::optional<SearchHit> WordsIndex::search(std::string_view phrase, DialogueState& state,
                                            RandomSource& random) const {
  const std::size_t lines = lineCount();
  if (state.BranchDepth > 0) {
    // The lines after BranchLine, up to the next main phrase.
    std::size_t index =
        state.BranchLine < 0 ? 0 : std::min(static_cast<std::size_t>(state.BranchLine) + 1, lines);
    LineId id = idAt(index);
    auto gone = std::lower_bound(dead_.begin(), dead_.end(), id);
    for (; index < lines; ++index, ++id) {
      while (gone != dead_.end() && *gone == id) {
        ++id;
        ++gone;
      }
      state.BranchLine = static_cast<std::int32_t>(index);
      const WordsEntry entry(line(id));
      if (!entry.hasCaret()) continue;
      if (entry.depth() == 0) break;
      if (entry.depth() != static_cast<std::size_t>(state.BranchDepth)) continue;
      if (!usable(entry) || !runFound(phrase, entry.key())) continue;
      SearchHit hit = answerFrom(entry, random);
      hit.fromBranch = true;
      state.BranchDepth += 1;
      return hit;
    }
    if (static_cast<std::int64_t>(index) > state.BranchLine) {
      state.BranchLine = static_cast<std::int32_t>(index);
    }
    state.BranchDepth = 0;
  }

  // The candidates: lines whose filed word occurs in the phrase.
  std::string upper = upper1251(phrase);
  const std::size_t n = upper.size();
  upper.append(8, '\0');
  const char* u = upper.data();
  const char* uEnd = u + upper.size();
  LineId wholeKey = kNone;
  LineId words = kNone;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned lengths = lengths_[static_cast<unsigned char>(u[i])];
    if (lengths == 0) continue;
    for (std::size_t l = 1; l <= kPrefix && i + l <= n; ++l) {
      if (!(lengths & (1u << (l - 1)))) continue;
      const std::uint64_t key = wordHash(u + i, l, uEnd);
      const auto keyMark = static_cast<std::uint32_t>(key >> 40);
      for (LineId id = bucketOf(key); id != kNone; id = next_[id]) {
        if (id >= wholeKey) continue;
        const std::uint32_t mark = mark_[id];
        const std::size_t len = mark >> 24;
        if (l < kPrefix) {
          if (len != l || (mark & 0xFFFFFF) != keyMark) continue;
        } else if (len < kPrefix) {
          continue;
        } else if (len < kLongWord) {
          if (i + len > n || (mark & 0xFFFFFF) != (wordHash(u + i, len, uEnd) >> 40)) continue;
        }
        const WordsEntry entry(line(id));
        if (!usable(entry)) continue;
        if (runFound(phrase, entry.head())) {
          wholeKey = id;
        } else if (id < words && wordsFound(phrase, entry.head())) {
          words = id;
        }
      }
    }
  }
  const LineId found = wholeKey != kNone ? wholeKey : words;
  if (found == kNone) return std::nullopt;
  state.BranchLine = static_cast<std::int32_t>(indexOf(found));
  state.BranchDepth = 1;
  return answerFrom(WordsEntry(line(found)), random);
}

std::optional<WordsIndex::LineId> WordsIndex::firstWithHead(std::string_view head) const {
  const std::string_view word = fileWord(head);
  if (word.empty()) return std::nullopt;
  const std::size_t prefix = std::min(word.size(), kPrefix);
  const char* end = head.data() + head.size();
  LineId first = kNone;
  for (LineId id = bucketOf(wordHash(word.data(), prefix, end)); id != kNone; id = next_[id]) {
    const std::string_view l = line(id);
    if (id < first && l.size() > head.size() && l[head.size()] == '^' &&
        l.compare(0, head.size(), head) == 0) {
      first = id;
    }
  }
  if (first == kNone) return std::nullopt;
  return first;
}

TextPieces WordsIndex::pieces() const {
  TextPieces out;
  auto add = [&](std::string_view buffer, LineId from, LineId to) {
    // Lines [from, to) of one buffer, leaving out the dead ones.
    std::size_t pos = from < to ? start_[from] : 0;
    for (auto it = std::lower_bound(dead_.begin(), dead_.end(), from);
         it != dead_.end() && *it < to; ++it) {
      out.view(buffer.substr(pos, start_[*it] - pos));
      pos = start_[*it] + span(*it).size();
    }
    if (from < to) out.view(buffer.substr(pos));
  };
  add(*base_, 0, baseLines_);
  add(extra_, baseLines_, ids_);
  return out;
}

bool WordsIndex::holds(std::string_view bytes) const {
  const TextPieces all = pieces();
  if (all.size() != bytes.size()) return false;
  std::size_t pos = 0;
  for (auto piece : all.pieces()) {
    if (bytes.compare(pos, piece.size(), piece) != 0) return false;
    pos += piece.size();
  }
  return true;
}

TextPieces WordsIndex::withChange(std::optional<LineId> moved,
                                  const std::vector<std::string>& added) const {
  TextPieces out = pieces();
  if (moved) {
    // The same pieces without that line.
    TextPieces without;
    const std::string_view cut = span(*moved);
    for (auto piece : out.pieces()) {
      if (cut.data() >= piece.data() && cut.data() < piece.data() + piece.size()) {
        const auto before = static_cast<std::size_t>(cut.data() - piece.data());
        without.view(piece.substr(0, before));
        without.view(piece.substr(before + cut.size()));
      } else {
        without.view(piece);
      }
    }
    out = std::move(without);
  }
  std::string tail;
  for (const auto& line : added) appendLine(tail, line);
  out.own(std::move(tail));
  return out;
}

void WordsIndex::change(std::optional<LineId> moved, const std::vector<std::string>& added) {
  if (moved) {
    unfile(*moved);
    dead_.insert(std::lower_bound(dead_.begin(), dead_.end(), *moved), *moved);
  }
  for (const auto& l : added) {
    const LineId id = ids_++;
    start_.push_back(static_cast<std::uint32_t>(extra_.size()));
    next_.push_back(kNone);
    mark_.push_back(0);
    appendLine(extra_, l);
    fileLine(id, line(id));
  }
}

}  // namespace vb
