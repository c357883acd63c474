#include "engine/words_index.h"

#include <algorithm>
#include <bit>
#include <cstring>

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
  if (isBlank(head)) return {};
  std::string_view best;
  std::size_t start = 0;
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (head[i] == ' ' && i > start) {
      if (i - start > best.size()) best = head.substr(start, i - start);
      start = i + 1;
    }
  }
  if (head.size() - start > best.size()) best = head.substr(start);
  return best;
}

std::string_view headOf(std::string_view line) {
  const auto caret = line.find('^');
  return caret == std::string_view::npos ? std::string_view() : line.substr(0, caret);
}

}  // namespace

std::unique_ptr<WordsIndex> WordsIndex::build(std::shared_ptr<const std::string> text,
                                              std::size_t budget) {
  const std::string& bytes = *text;
  if (bytes.size() >= (std::size_t{1} << 31)) return nullptr;
  std::unique_ptr<WordsIndex> index(new WordsIndex());
  index->base_ = std::move(text);
  index->joined_ = isJoinedForm(bytes);
  const std::size_t lines = countLines(bytes);
  // The arrays, before they are made: 12 bytes a line and at most 8 a
  // line for the buckets.
  index->bucketBits_ = std::max(4, static_cast<int>(std::bit_width(lines)));
  const std::size_t planned = bytes.size() + lines * 12 + (std::size_t{4} << index->bucketBits_);
  if (planned > budget) return nullptr;
  index->buckets_.assign(std::size_t{1} << index->bucketBits_, kNone);
  index->start_.resize(lines);
  index->next_.resize(lines, kNone);
  index->mark_.resize(lines, 0);

  const char* const data = bytes.data();
  const char* const end = data + bytes.size();
  const char* p = data;
  LineId id = 0;
  while (p < end) {
    const char* stop = findLineEnd(p, end);
    index->start_[id] = static_cast<std::uint32_t>(p - data);
    index->fileLine(id, std::string_view(p, static_cast<std::size_t>(stop - p)));
    ++id;
    p = stop;
    if (p < end) p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
  }
  index->baseLines_ = id;
  index->ids_ = id;
  return index;
}

std::uint32_t& WordsIndex::bucket(std::uint64_t hash) {
  return buckets_[hash >> (64 - bucketBits_)];
}

std::uint32_t WordsIndex::bucketOf(std::uint64_t hash) const {
  return buckets_[hash >> (64 - bucketBits_)];
}

void WordsIndex::fileLine(LineId id, std::string_view line) {
  const std::string_view word = fileWord(headOf(line));
  if (word.empty()) return;
  const char* end = line.data() + line.size();
  const std::size_t prefix = std::min(word.size(), kPrefix);
  const std::uint64_t key = wordHash(word.data(), prefix, end);
  const std::uint64_t full = word.size() <= kPrefix ? key : wordHash(word.data(), word.size(), end);
  mark_[id] = markOf(word.size(), full);
  std::uint32_t& first = bucket(key);
  next_[id] = first;
  first = id;
  lengths_[static_cast<unsigned char>(word[0])] |= static_cast<std::uint8_t>(1u << (prefix - 1));
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
