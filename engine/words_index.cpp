#include "engine/words_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <future>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/line_split.h"
#include "engine/text.h"
#include "engine/text_overlap.h"
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

// The buckets take the hash's high bits, the marks bits 8 to 31.
inline std::uint64_t wordHash(const char* p, std::size_t len, const char* end) {
  std::uint64_t h = len * 0x9E3779B97F4A7C15ULL;
  std::size_t i = 0;
  for (; i + 8 < len; i += 8) h = mix(h ^ load(p + i, 8, end));
  return mix(h ^ load(p + i, len - i, end));
}

std::uint32_t hashMark(std::uint64_t hash) {
  return static_cast<std::uint32_t>(hash >> 8) & 0xFFFFFF;
}

std::uint32_t markOf(std::size_t len, std::uint64_t hash) {
  return static_cast<std::uint32_t>(std::min(len, kLongWord) << 24) | hashMark(hash);
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

// Where the bytes that matter to the index lie in 64 bytes of the file, as
// bits (bit i for byte i).
struct Marks {
  std::uint64_t caret = 0;
  std::uint64_t lineEnd = 0;  // CR or LF
  std::uint64_t space = 0;
};

Marks marksOf(const char* p) {
  Marks m;
#if defined(__SSE2__)
  const __m128i caret = _mm_set1_epi8('^');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i space = _mm_set1_epi8(' ');
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const auto bits = [&](__m128i hit) {
      return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(hit)))
             << (16 * k);
    };
    m.caret |= bits(_mm_cmpeq_epi8(v, caret));
    m.lineEnd |= bits(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
    m.space |= bits(_mm_cmpeq_epi8(v, space));
  }
#else
  for (int i = 0; i < 64; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << i;
    if (p[i] == '^') m.caret |= bit;
    if (p[i] == '\n' || p[i] == '\r') m.lineEnd |= bit;
    if (p[i] == ' ') m.space |= bit;
  }
#endif
  return m;
}

std::string_view headOf(std::string_view line) {
  const auto caret = line.find('^');
  return caret == std::string_view::npos ? std::string_view() : line.substr(0, caret);
}

// The mark of a line filed under `word` and the hash of the word's prefix
// that picks its bucket; notes the prefix's length in `lengths`.
struct Filing {
  std::uint32_t mark;
  std::uint64_t key;
};

inline Filing fileUnder(std::string_view word, const char* end, std::uint8_t* lengths) {
  const std::size_t prefix = std::min(word.size(), kPrefix);
  const std::uint64_t key = wordHash(word.data(), prefix, end);
  const std::uint64_t full = word.size() <= kPrefix ? key : wordHash(word.data(), word.size(), end);
  lengths[static_cast<unsigned char>(word[0])] |= static_cast<std::uint8_t>(1u << (prefix - 1));
  return {markOf(word.size(), full), key};
}

// The lines of a stretch of the file.
struct LineScan {
  PagedArray<std::uint32_t> start;  // where each starts in the file
  PagedArray<std::uint32_t> mark;   // its word's mark (0: not filed)
  PagedArray<std::uint32_t> key;    // the high bits of its bucket's hash
  LineId filed = 0;
  LineId unjoined = 0;  // lines not ended by CR LF
  std::uint8_t lengths[256] = {};
};

// The lines of bytes [from, to) of the file `data`..`end`; a line starts at
// `from`, and at `to` unless it is the end.
void scanLines(const char* data, std::size_t from, std::size_t to, const char* end, LineScan& out) {
  // One walk over the bytes, 64 at a time, from one byte that matters to
  // the next: in a line's head its spaces (where the words are cut), its
  // first '^' and its end; after the '^' only its end.
  PagedArray<std::uint32_t>& start = out.start;
  PagedArray<std::uint32_t>& mark = out.mark;
  PagedArray<std::uint32_t>& key = out.key;
  const std::size_t guess = (to - from) / 32 + 16;
  start.reserve(guess);
  mark.reserve(guess);
  key.reserve(guess);
  LineId lines = 0;
  std::size_t lineStart = from;
  std::size_t wordStart = from;  // of the word being cut
  std::size_t bestStart = 0;     // the longest word cut so far (the first of equals)
  std::size_t bestSize = 0;
  std::size_t spaces = 0;
  bool inHead = true;
  std::uint32_t lineMark = 0;  // 0: not filed
  std::uint32_t lineKey = 0;

  auto endLine = [&]() {
    if (lines == start.capacity()) {
      start.reserve(2 * lines);
      mark.reserve(2 * lines);
      key.reserve(2 * lines);
    }
    start[lines] = static_cast<std::uint32_t>(lineStart);
    mark[lines] = lineMark;
    key[lines] = lineKey;
    ++lines;
    lineMark = 0;
    inHead = true;
    bestSize = 0;
    spaces = 0;
  };
  // The word [wordStart, wordStart + size) is cut: kept when longer than
  // any before it, without branches (which word is longest is not
  // foreseeable).
  auto cutWord = [&](std::size_t size) {
    const bool longer = size > bestSize;
    bestStart = longer ? wordStart : bestStart;
    bestSize = longer ? size : bestSize;
  };
  // The head [lineStart, caret) ends: the line is filed under its word.
  auto endHead = [&](std::size_t caret) {
    inHead = false;
    if (caret - lineStart == spaces) return;  // blank
    cutWord(caret - wordStart);
    const Filing filing = fileUnder(std::string_view(data + bestStart, bestSize), end, out.lengths);
    lineMark = filing.mark;
    lineKey = static_cast<std::uint32_t>(filing.key >> 32);
    ++out.filed;
  };

  alignas(16) char tail[64];
  for (std::size_t block = from; block < to; block += 64) {
    const char* p = data + block;
    if (to - block < 64) {
      std::memset(tail, 0, sizeof tail);
      std::memcpy(tail, p, to - block);
      p = tail;
    }
    const Marks m = marksOf(p);
    const std::uint64_t all = m.caret | m.lineEnd | m.space;
    std::uint64_t pending = inHead ? all : m.lineEnd;
    while (pending != 0) {
      const int bit = std::countr_zero(pending);
      pending &= pending - 1;
      const std::size_t pos = block + static_cast<std::size_t>(bit);
      if (pos < lineStart) continue;  // the LF of a CR LF
      const char c = data[pos];
      if (c == ' ') {
        const std::size_t size = pos - wordStart;
        cutWord(size);
        wordStart = size > 0 ? pos + 1 : wordStart;
        ++spaces;
        continue;
      }
      if (c == '^') {
        endHead(pos);
        pending &= m.lineEnd;
        continue;
      }
      endLine();
      const bool crlf = c == '\r' && pos + 1 < to && data[pos + 1] == '\n';
      out.unjoined += crlf ? 0 : 1;
      const int after = bit + (crlf ? 2 : 1);
      lineStart = wordStart = block + static_cast<std::size_t>(after);
      pending = after >= 64 ? 0 : all & (~std::uint64_t{0} << after);
    }
  }
  if (lineStart < to) {
    // The last line, without a line end.
    endLine();
    ++out.unjoined;
  }
  start.resizeUninitialised(lines);
  mark.resizeUninitialised(lines);
  key.resizeUninitialised(lines);
}

// The lines of `more` (the stretch after those of `scan`) added to `scan`.
void append(LineScan& scan, const LineScan& more) {
  for (auto [to, from] : {std::pair(&scan.start, &more.start), std::pair(&scan.mark, &more.mark),
                          std::pair(&scan.key, &more.key)}) {
    const std::size_t size = to->size();
    to->resizeUninitialised(size + from->size());
    if (!from->empty()) {
      std::memcpy(to->data() + size, from->data(), from->size() * sizeof(std::uint32_t));
    }
  }
  scan.filed += more.filed;
  scan.unjoined += more.unjoined;
  for (int i = 0; i < 256; ++i) scan.lengths[i] |= more.lengths[i];
}

// Where the first line starting after byte `at` of the file starts.
std::size_t lineStartAfter(const char* data, std::size_t at, std::size_t n) {
  const auto pos = static_cast<std::size_t>(findLineEnd(data + at, data + n) - data);
  if (pos == n) return n;
  return pos + (data[pos] == '\r' && pos + 1 < n && data[pos + 1] == '\n' ? 2 : 1);
}

// A file this large is read in two halves at once, each by one thread.
constexpr std::size_t kTwoHalves = std::size_t{4} << 20;

}  // namespace

std::unique_ptr<WordsIndex> WordsIndex::build(std::shared_ptr<const FileBytes> text,
                                              std::size_t budget) {
  const std::size_t n = text->size();
  if (n >= (std::size_t{1} << 31) || n > budget) return nullptr;
  std::unique_ptr<WordsIndex> index(new WordsIndex());
  index->base_ = std::move(text);
  const char* const data = index->base_->view().data();
  const char* const end = data + n;

  const std::size_t half = n >= kTwoHalves ? lineStartAfter(data, n / 2, n) : n;
  LineScan scan;
  LineScan second;
  std::future<void> later;
  if (half < n) {
    later = std::async(std::launch::async, [&] { scanLines(data, half, n, end, second); });
  }
  scanLines(data, 0, half, end, scan);
  if (later.valid()) {
    later.get();
    append(scan, second);
  }

  const auto lines = static_cast<LineId>(scan.start.size());
  std::memcpy(index->lengths_, scan.lengths, sizeof scan.lengths);
  index->start_ = std::move(scan.start);
  index->mark_ = std::move(scan.mark);
  index->next_ = std::move(scan.key);  // each line's key, until linked
  for (auto* array : {&index->start_, &index->mark_, &index->next_}) array->shrinkToFit();
  // One to two buckets a filed line.
  index->bucketBits_ = std::max(4, static_cast<int>(std::bit_width(scan.filed)));
  index->buckets_.assign(std::size_t{1} << index->bucketBits_, kNone);
  const int shift = 32 - index->bucketBits_;
  std::uint32_t* buckets = index->buckets_.data();
  std::uint32_t* next = index->next_.data();
  const std::uint32_t* mark = index->mark_.data();
  for (LineId i = 0; i < lines; ++i) {
    if (mark[i] == 0) {
      next[i] = kNone;
      continue;
    }
    std::uint32_t& head = buckets[next[i] >> shift];
    next[i] = head;
    head = i;
  }
  index->unjoined_ = scan.unjoined;
  index->baseLines_ = lines;
  index->ids_ = lines;
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
  const Filing filing = fileUnder(word, end, lengths_);
  mark_[id] = filing.mark;
  return static_cast<std::uint32_t>(filing.key >> (64 - bucketBits_));
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
  const std::string_view buffer = id < baseLines_ ? base_->view() : extra_;
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
      const std::uint32_t keyMark = hashMark(key);
      for (LineId id = bucketOf(key); id != kNone; id = next_[id]) {
        if (id >= wholeKey) continue;
        const std::uint32_t mark = mark_[id];
        const std::size_t len = mark >> 24;
        if (l < kPrefix) {
          if (len != l || (mark & 0xFFFFFF) != keyMark) continue;
        } else if (len < kPrefix) {
          continue;
        } else if (len < kLongWord) {
          if (i + len > n || (mark & 0xFFFFFF) != hashMark(wordHash(u + i, len, uEnd))) continue;
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

std::string_view WordsIndex::bytesOf(LineId from, LineId to) const {
  const bool inBase = from < baseLines_;
  const std::string_view buffer = inBase ? base_->view() : extra_;
  const std::size_t end = to < (inBase ? baseLines_ : ids_) ? start_[to] : buffer.size();
  return buffer.substr(start_[from], end - start_[from]);
}

std::vector<WordsIndex::Run> WordsIndex::runs() const {
  std::vector<Run> out;
  std::size_t line = 0;
  std::size_t offset = 0;
  auto add = [&](LineId from, LineId to) {
    if (from == to) return;
    out.push_back({from, to, line, offset});
    line += to - from;
    offset += bytesOf(from, to).size();
  };
  auto dead = dead_.begin();
  for (const auto& [from, to] : {std::pair(LineId{0}, baseLines_), std::pair(baseLines_, ids_)}) {
    LineId next = from;
    for (; dead != dead_.end() && *dead < to; ++dead) {
      add(next, *dead);
      next = *dead + 1;
    }
    add(next, to);
  }
  return out;
}

TextPieces WordsIndex::pieces() const {
  return piecesOf(runs());
}

TextPieces WordsIndex::piecesOf(const std::vector<Run>& runs) const {
  TextPieces out;
  for (const Run& run : runs) out.view(bytesOf(run.from, run.to));
  return out;
}

bool WordsIndex::holds(std::string_view bytes) const {
  const TextPieces all = pieces();
  return all.size() == bytes.size() && commonStart(all, bytes) == bytes.size();
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
