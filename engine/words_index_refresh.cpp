// The index following an edit of the file by another program. What the
// edit left alone at the file's start and at its end is found by comparing
// bytes; the lines between are taken out and the new ones filed, and the
// lines after them are moved: their numbers and where they start shift by
// as much as the edit added or took away. The lines are renumbered from 0,
// the learned lines now in the file's new bytes, as a build would number
// them.
//
// A line is kept only where the edit cannot have touched how the file is
// cut into lines around it: a line before the edit whose line end and the
// byte after it are unchanged (a CR that an LF now follows would end it
// otherwise), and a line after it whose preceding byte is unchanged too.

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/line_split.h"
#include "engine/text_overlap.h"
#include "engine/words_index.h"

namespace vb {
namespace {

using LineId = WordsIndex::LineId;

// An edit larger than this and than a quarter of the file is met with a
// build: filing that many lines one by one costs more than it saves.
constexpr std::size_t kSmallEdit = 64 * 1024;
// Kept stretches of lines (learning's removed lines cut the file into
// more): each costs a comparison per number moved.
constexpr std::size_t kMostStretches = 16;

bool smallEdit(std::size_t changed, std::size_t size) {
  return changed <= kSmallEdit || changed <= size / 4;
}

bool endsWithCrLf(std::string_view span) {
  return span.size() >= 2 && span[span.size() - 2] == '\r' && span.back() == '\n';
}

// The new numbers of the kept lines: from each `from` on (up to the next),
// a line's number grows by `add` (modulo 2^32). Numbers are below 2^31, so
// that as signed numbers kNone (-1) lies below them all and keeps its value.
class Renumbering {
 public:
  explicit Renumbering(std::size_t stretches) {
    from_.reserve(stretches);
    add_.reserve(stretches);
  }
  void move(LineId from, LineId to) {
    const std::uint32_t add = to - from;
    if (add == (add_.empty() ? 0 : add_.back())) return;
    from_.push_back(static_cast<std::int32_t>(from));
    add_.push_back(add);
  }
  // Renumbers `ids` in place.
  void apply(std::uint32_t* ids, std::size_t n) const {
    const std::size_t stretches = from_.size();
    if (stretches == 0) return;
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; n - i >= 4; i += 4) {
      auto* at = reinterpret_cast<__m128i*>(ids + i);
      const __m128i id = _mm_loadu_si128(at);
      __m128i add = _mm_setzero_si128();
      for (std::size_t s = 0; s < stretches; ++s) {
        const __m128i from = _mm_cmpgt_epi32(id, _mm_set1_epi32(from_[s] - 1));
        const __m128i by = _mm_set1_epi32(static_cast<std::int32_t>(add_[s]));
        add = _mm_or_si128(_mm_and_si128(from, by), _mm_andnot_si128(from, add));
      }
      _mm_storeu_si128(at, _mm_add_epi32(id, add));
    }
#endif
    for (; i < n; ++i) {
      const auto id = static_cast<std::int32_t>(ids[i]);
      std::uint32_t add = 0;
      for (std::size_t s = 0; s < stretches; ++s) add = id >= from_[s] ? add_[s] : add;
      ids[i] += add;
    }
  }

 private:
  std::vector<std::int32_t> from_;
  std::vector<std::uint32_t> add_;
};

// Runs `body(run, from, to)` for the live line numbers [from, to) of each
// run that lie within file lines [first, last).
template <typename Runs, typename Body>
void forLines(const Runs& runs, std::size_t first, std::size_t last, const Body& body) {
  for (const auto& run : runs) {
    const std::size_t lo = std::max(first, run.line);
    const std::size_t hi = std::min(last, run.line + (run.to - run.from));
    if (lo < hi) {
      body(run, static_cast<LineId>(run.from + (lo - run.line)),
           static_cast<LineId>(run.from + (hi - run.line)));
    }
  }
}

}  // namespace

std::size_t WordsIndex::lineHolding(const std::vector<Run>& runs, std::size_t offset) const {
  const auto run =
      std::prev(std::upper_bound(runs.begin(), runs.end(), offset,
                                 [](std::size_t at, const Run& r) { return at < r.offset; }));
  const std::uint32_t at = static_cast<std::uint32_t>(start_[run->from] + (offset - run->offset));
  const std::uint32_t* starts = start_.data();
  const auto id =
      static_cast<LineId>(std::upper_bound(starts + run->from, starts + run->to, at) - starts - 1);
  return run->line + (id - run->from);
}

std::size_t WordsIndex::startOf(const std::vector<Run>& runs, std::size_t line) const {
  const auto run = std::prev(std::upper_bound(
      runs.begin(), runs.end(), line, [](std::size_t at, const Run& r) { return at < r.line; }));
  const LineId id = static_cast<LineId>(run->from + (line - run->line));
  return run->offset + (start_[id] - start_[run->from]);
}

bool WordsIndex::refresh(std::shared_ptr<const FileBytes> text) {
  const std::string_view now = text->view();
  const std::vector<Run> kept = runs();
  const TextPieces old = piecesOf(kept);
  const std::size_t oldSize = old.size();
  const std::size_t head = commonStart(old, now);
  if (head == oldSize && head == now.size()) return true;
  if (oldSize == 0 || now.size() >= (std::size_t{1} << 31) || kept.size() >= kMostStretches) {
    return false;
  }
  const std::size_t tail = commonEnd(old, now, std::min(oldSize, now.size()) - head);

  // File lines [first, last) are replaced by the new bytes [from, newTo).
  Edit edit;
  const std::size_t lines = lineCount();
  edit.first = head == 0 ? 0 : lineHolding(kept, head - 1);
  edit.last = tail == 0 ? lines : lineHolding(kept, oldSize - tail) + 1;
  const std::size_t from = startOf(kept, edit.first);
  const std::size_t oldTo = edit.last == lines ? oldSize : startOf(kept, edit.last);
  const std::size_t newTo = now.size() - (oldSize - oldTo);
  if (!smallEdit(oldTo - from, oldSize) || !smallEdit(newTo - from, now.size())) return false;
  edit.moved = now.size() - oldSize;

  LineCursor cursor(now.substr(from, newTo - from));
  std::string_view piece;
  for (std::size_t at = 0; cursor.next(piece); at = cursor.offset()) {
    edit.added.push_back(static_cast<std::uint32_t>(from + at));
    edit.addedUnjoined += cursor.endedByCrLf() ? 0 : 1;
  }
  const std::size_t count = lines - (edit.last - edit.first) + edit.added.size();
  if (count > 2 * buckets_.size()) return false;  // the buckets would grow long
  splice(std::move(text), kept, edit);
  return true;
}

void WordsIndex::splice(std::shared_ptr<const FileBytes> text, const std::vector<Run>& kept,
                        const Edit& edit) {
  // Where the kept lines go, and by how much their starts move.
  struct Move {
    LineId from;
    LineId to;
    LineId at;
    std::uint32_t by;
  };
  std::vector<Move> moves;
  moves.reserve(kept.size() + 1);
  forLines(kept, 0, edit.first, [&](const Run& run, LineId lo, LineId hi) {
    const auto by = static_cast<std::uint32_t>(run.offset - start_[run.from]);
    moves.push_back({lo, hi, static_cast<LineId>(run.line + (lo - run.from)), by});
  });
  const std::size_t lines = lineCount();
  const std::size_t removed = edit.last - edit.first;
  forLines(kept, edit.last, lines, [&](const Run& run, LineId lo, LineId hi) {
    const auto by = static_cast<std::uint32_t>(run.offset - start_[run.from] + edit.moved);
    const std::size_t at = run.line + (lo - run.from) - removed + edit.added.size();
    moves.push_back({lo, hi, static_cast<LineId>(at), by});
  });
  Renumbering renumbering(moves.size());
  for (const Move& m : moves) renumbering.move(m.from, m.at);
  const std::size_t count = lines - removed + edit.added.size();
  start_.reserve(count);
  mark_.reserve(count);
  next_.reserve(count);

  // From here on nothing is allocated: the index changes only once it
  // surely can.
  LineId removedUnjoined = 0;
  forLines(kept, edit.first, edit.last, [&](const Run&, LineId lo, LineId hi) {
    for (LineId id = lo; id < hi; ++id) {
      unfile(id);
      removedUnjoined += endsWithCrLf(span(id)) ? 0 : 1;
    }
  });
  // Lines moving down go first, from the first; then those moving up,
  // from the last: none lands on lines not yet moved.
  auto place = [&](const Move& m) {
    const std::size_t n = m.to - m.from;
    if (m.at != m.from) {
      for (auto* array : {&start_, &mark_, &next_}) {
        std::memmove(array->data() + m.at, array->data() + m.from, n * sizeof(std::uint32_t));
      }
    }
    if (m.by != 0) {
      for (std::size_t i = m.at; i < m.at + n; ++i) start_[i] += m.by;
    }
  };
  for (const Move& m : moves) {
    if (m.at <= m.from) place(m);
  }
  for (auto m = moves.rbegin(); m != moves.rend(); ++m) {
    if (m->at > m->from) place(*m);
  }
  start_.resizeUninitialised(count);
  mark_.resizeUninitialised(count);
  next_.resizeUninitialised(count);
  for (std::size_t i = 0; i < edit.added.size(); ++i) {
    start_[edit.first + i] = edit.added[i];
    mark_[edit.first + i] = 0;
    next_[edit.first + i] = kNone;
  }
  renumbering.apply(next_.data(), count);
  renumbering.apply(buckets_.data(), buckets_.size());

  base_ = std::move(text);
  std::string().swap(extra_);
  dead_.clear();
  baseLines_ = ids_ = static_cast<LineId>(count);
  unjoined_ = unjoined_ - removedUnjoined + edit.addedUnjoined;
  for (std::size_t i = 0; i < edit.added.size(); ++i) {
    const auto id = static_cast<LineId>(edit.first + i);
    fileLine(id, line(id));
  }
}

}  // namespace vb
