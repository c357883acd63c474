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
#include <vector>

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
// a line's number grows by `add` (modulo 2^32).
class Renumbering {
 public:
  explicit Renumbering(std::size_t stretches) {
    from_.reserve(stretches);
    add_.reserve(stretches);
  }
  void move(LineId from, LineId to) {
    from_.push_back(from);
    add_.push_back(to - from);
  }
  // Renumbers `ids` in place; kNone stays.
  void apply(std::uint32_t* ids, std::size_t n) const {
    const std::size_t stretches = from_.size();
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint32_t id = ids[i];
      std::uint32_t add = 0;
      for (std::size_t s = 0; s < stretches; ++s) add = id >= from_[s] ? add_[s] : add;
      ids[i] = id == WordsIndex::kNone ? id : id + add;
    }
  }

 private:
  std::vector<LineId> from_;
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
  TextPieces old;
  for (const Run& run : kept) old.view(bytesOf(run.from, run.to));
  const std::size_t oldSize = old.size();
  const std::size_t head = commonStart(old, now);
  if (head == oldSize && head == now.size()) return true;
  if (oldSize == 0 || now.size() >= (std::size_t{1} << 31) || kept.size() >= kMostStretches) {
    return false;
  }
  const std::size_t tail = commonEnd(old, now, std::min(oldSize, now.size()) - head);

  // File lines [first, last) are replaced by the new bytes [from, newTo).
  const std::size_t lines = lineCount();
  const std::size_t first = head == 0 ? 0 : lineHolding(kept, head - 1);
  const std::size_t last = tail == 0 ? lines : lineHolding(kept, oldSize - tail) + 1;
  const std::size_t from = startOf(kept, first);
  const std::size_t oldTo = last == lines ? oldSize : startOf(kept, last);
  const std::size_t newTo = now.size() - (oldSize - oldTo);
  if (!smallEdit(oldTo - from, oldSize) || !smallEdit(newTo - from, now.size())) return false;

  std::vector<std::uint32_t> added;  // where the new lines start
  LineId addedUnjoined = 0;
  LineCursor cursor(now.substr(from, newTo - from));
  std::string_view piece;
  for (std::size_t at = 0; cursor.next(piece); at = cursor.offset()) {
    added.push_back(static_cast<std::uint32_t>(from + at));
    addedUnjoined += cursor.endedByCrLf() ? 0 : 1;
  }
  const std::size_t count = lines - (last - first) + added.size();
  if (count > 2 * buckets_.size()) return false;  // the buckets would grow long

  PagedArray<std::uint32_t> start;
  PagedArray<std::uint32_t> mark;
  PagedArray<std::uint32_t> next;
  start.resizeUninitialised(count);
  mark.resizeUninitialised(count);
  next.resizeUninitialised(count);
  Renumbering renumbering(kept.size() + 1);

  // From here on nothing is allocated: the index changes only once it
  // surely can.
  LineId removedUnjoined = 0;
  forLines(kept, first, last, [&](const Run&, LineId lo, LineId hi) {
    for (LineId id = lo; id < hi; ++id) {
      unfile(id);
      removedUnjoined += endsWithCrLf(span(id)) ? 0 : 1;
    }
  });
  const std::size_t moved = now.size() - oldSize;  // modulo 2^64: may be "negative"
  auto keep = [&](const Run& run, LineId lo, LineId hi, std::size_t to, std::size_t shift) {
    renumbering.move(lo, static_cast<LineId>(to));
    const auto by = static_cast<std::uint32_t>(run.offset - start_[run.from] + shift);
    for (LineId id = lo; id < hi; ++id, ++to) {
      start[to] = start_[id] + by;
      mark[to] = mark_[id];
      next[to] = next_[id];
    }
  };
  forLines(kept, 0, first, [&](const Run& run, LineId lo, LineId hi) {
    keep(run, lo, hi, run.line + (lo - run.from), 0);
  });
  forLines(kept, last, lines, [&](const Run& run, LineId lo, LineId hi) {
    keep(run, lo, hi, run.line + (lo - run.from) - (last - first) + added.size(), moved);
  });
  for (std::size_t i = 0; i < added.size(); ++i) {
    start[first + i] = added[i];
    mark[first + i] = 0;
    next[first + i] = kNone;
  }
  renumbering.apply(next.data(), count);
  renumbering.apply(buckets_.data(), buckets_.size());

  base_ = std::move(text);
  std::string().swap(extra_);
  dead_.clear();
  start_ = std::move(start);
  mark_ = std::move(mark);
  next_ = std::move(next);
  baseLines_ = ids_ = static_cast<LineId>(count);
  unjoined_ = unjoined_ - removedUnjoined + addedUnjoined;
  for (std::size_t i = 0; i < added.size(); ++i) {
    const auto id = static_cast<LineId>(first + i);
    fileLine(id, line(id));
  }
  return true;
}

}  // namespace vb
