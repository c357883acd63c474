#pragma once
// Base\Words.Dat in memory with an index, so that a turn finds its answer
// without walking the file, and gets exactly the answer the walk of
// knowledge_search would give: same line, same thread state, same draws.
//
// The passes over keys need every word of a line's head (the words of the
// word pass) to occur in the upper-cased phrase; the whole head occurring
// implies that too. So each line is filed under one word of its head, its
// longest (the rarest, as a rule), keyed by that word's first eight bytes
// and their count; a turn looks up every stretch of up to eight bytes of
// the phrase, and the lines found there (their word checked by a hash of
// it) are the candidates. The exact scans of knowledge_search then decide
// among them, the lowest line winning, the whole-key pass before the word
// pass. The branch pass walks the lines after BranchLine as the plain
// search does.
//
// Lines keep a number for life; learning removes one line and appends
// lines after the last, so the lines' order is that of their numbers, and a
// line's index in the file is its number less the removed numbers below it.
// The bytes are the file as read plus the lines learning appended.
//
// An edit by another program usually changes a few lines of a large file:
// refresh() then files anew only the lines between what the edit left
// alone at the file's start and at its end (words_index_refresh.cpp), and
// the index is as a build on the new bytes would make it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dialogue_state.h"
#include "engine/knowledge_search.h"
#include "engine/page_memory.h"
#include "engine/random_source.h"
#include "engine/text_pieces.h"

namespace vb {

class WordsIndex {
 public:
  using LineId = std::uint32_t;
  static constexpr LineId kNone = 0xFFFFFFFFu;

  // The index of `text`, or nothing when it would take more than `budget`
  // bytes of memory, the text included (or the text is 2 GiB or more).
  static std::unique_ptr<WordsIndex> build(std::shared_ptr<const FileBytes> text,
                                           std::size_t budget);
  // Makes this the index of `text`, the file's bytes after an edit by
  // another program, when the edit changed a stretch of lines small next
  // to the file (or nothing); false, with the index left as it was, when
  // it had better be built anew.
  bool refresh(std::shared_ptr<const FileBytes> text);

  // searchPhraseBase on the bytes this index holds.
  std::optional<SearchHit> search(std::string_view phrase, DialogueState& state,
                                  RandomSource& random) const;

  // Memory taken, the text included.
  std::size_t memory() const;
  std::size_t lineCount() const { return ids_ - dead_.size(); }
  // Whether `bytes` are exactly the bytes this index holds.
  bool holds(std::string_view bytes) const;

  // Learning. The first line whose head (the text before its first '^') is
  // `head`, if any; `head` holds no '^' and is not blank.
  std::optional<LineId> firstWithHead(std::string_view head) const;
  // Learning writes through the index only when every line of the file
  // ends with CR LF (else it writes every line anew, and the file is read
  // again).
  bool joined() const { return unjoined_ == 0; }
  // The file's bytes once line `moved` (if any) is taken out and `added`
  // lines are appended, each followed by CR LF. The pieces view bytes of
  // this index: write them before changing it.
  TextPieces withChange(std::optional<LineId> moved, const std::vector<std::string>& added) const;
  // Makes that change here too.
  void change(std::optional<LineId> moved, const std::vector<std::string>& added);
  std::string_view line(LineId id) const;
  // Line `index` (from 0) of the file.
  std::string_view lineAt(std::size_t index) const { return line(idAt(index)); }

 private:
  WordsIndex() = default;
  void fileLine(LineId id, std::string_view line);
  // Marks line `id` with the word of `head` it is filed under and returns
  // that word's bucket (kNone: not filed); bytes up to `end` may be read.
  std::uint32_t fileHead(LineId id, std::string_view head, const char* end);
  void unfile(LineId id);
  std::uint32_t& bucket(std::uint64_t hash);
  std::uint32_t bucketOf(std::uint64_t hash) const;
  LineId idAt(std::size_t index) const;
  std::size_t indexOf(LineId id) const;
  bool dead(LineId id) const;
  // The bytes that line `id` ends with its line end, in its buffer.
  std::string_view span(LineId id) const;
  TextPieces pieces() const;

  // Live lines [from, to), one after the other in one buffer: file lines
  // from `line` on, from byte `offset` of the file on.
  struct Run {
    LineId from;
    LineId to;
    std::size_t line;
    std::size_t offset;
  };
  std::vector<Run> runs() const;
  TextPieces piecesOf(const std::vector<Run>& runs) const;
  std::string_view bytesOf(LineId from, LineId to) const;
  // The file line holding byte `offset` of the file, and where line `line`
  // starts in it.
  std::size_t lineHolding(const std::vector<Run>& runs, std::size_t offset) const;
  std::size_t startOf(const std::vector<Run>& runs, std::size_t line) const;
  // An edit of the file: lines [first, last) replaced by lines starting
  // at `added` in the new bytes, which are `moved` bytes longer (modulo
  // 2^64).
  struct Edit {
    std::size_t first = 0;
    std::size_t last = 0;
    std::vector<std::uint32_t> added;
    LineId addedUnjoined = 0;
    std::size_t moved = 0;
  };
  void splice(std::shared_ptr<const FileBytes> text, const std::vector<Run>& kept,
              const Edit& edit);

  std::shared_ptr<const FileBytes> base_;  // the file as read
  std::string extra_;                      // lines appended since, with CR LF
  LineId baseLines_ = 0;                   // lines of base_; the rest are in extra_
  LineId ids_ = 0;
  LineId unjoined_ = 0;                // lines not ended by CR LF
  PagedArray<std::uint32_t> start_;    // per line: where it starts in its buffer
  PagedArray<std::uint32_t> next_;     // per line: next line in its bucket
  PagedArray<std::uint32_t> mark_;     // per line: its word's length (8 bits) and hash (24)
  PagedArray<std::uint32_t> buckets_;  // first line of each bucket
  int bucketBits_ = 0;
  std::vector<LineId> dead_;  // removed lines, in order
  // Per first byte, the lengths (1..8, 8 for eight or more) of filed words
  // starting with it, as bits; stretches of the phrase that no word starts
  // like are not looked up.
  std::uint8_t lengths_[256] = {};
};

}  // namespace vb
