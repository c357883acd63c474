#pragma once
// Base\Words.Dat as the turn uses it: searched through an index kept in
// memory (words_index.h) for as long as the file's stamp shows it unchanged,
// so that an edit on disk is still seen at the next use:
//
//  - each use compares the file's stamp (device, inode, size, modification
//    and change times) with the one the index was known to hold; another
//    stamp, or one too close to the file's last change to prove anything
//    (see FileStamp::settled), makes it read the file again: the index is
//    kept if the bytes are the same, follows an edit of a few lines, and is
//    built anew after a larger one;
//  - this program's own learning writes through the index and changes it in
//    place, taking the stamp of the file it wrote;
//  - a base whose index would take more than twice its size (plus 64 KiB)
//    is searched by walking the file, with a note said once; so is every
//    base of a store without stamps.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/file_store.h"
#include "engine/knowledge_search.h"
#include "engine/words_index.h"
#include "engine/words_probe.h"

namespace vb {

struct LearnedReport;

class PhraseBase {
 public:
  explicit PhraseBase(FileStore& files) : files_(files) {}

  // searchPhraseBase on Words.Dat as it is now. When no line answers and
  // the index cannot serve learning, `probe` (if given) is filled in.
  std::optional<SearchHit> search(std::string_view phrase, DialogueState& state,
                                  RandomSource& random, WordsProbe* probe = nullptr);

  // Learning's key and answer steps (learning.h) for the key and previous
  // key of `asked`, through the index. Returns false when learning must read
  // and write the file itself (no index, or the file changed since).
  bool learn(const WordsProbe& asked, std::string_view userPhrase, LearnedReport* report = nullptr);

  // Line `index` (from 0) of Words.Dat as the last search saw it; valid
  // until the next search or learning.
  std::string_view lineAt(std::size_t index) const;

  // The note that the base is searched without an index, once per run.
  std::optional<std::string> takeNote();

  const WordsIndex* index() const { return index_.get(); }

 private:
  const WordsIndex* current(std::shared_ptr<const std::string>& plain);

  FileStore& files_;
  std::unique_ptr<WordsIndex> index_;
  std::shared_ptr<const std::string> plain_;  // the bytes the last walk searched
  std::optional<FileStamp> verified_;         // the file's stamp when index_ was known to hold it
  std::optional<FileStamp> unfit_;            // the stamp of a base too large to index
  bool noted_ = false;
  std::optional<std::string> note_;
};

}  // namespace vb
