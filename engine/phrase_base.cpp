#include "engine/phrase_base.h"

#include "engine/knowledge_files.h"
#include "engine/learning.h"
#include "engine/line_split.h"
#include "engine/text.h"

namespace vb {
namespace {

std::size_t budgetFor(std::size_t size) {
  return 2 * size + 64 * 1024;
}

}  // namespace

const WordsIndex* PhraseBase::current(std::shared_ptr<const std::string>& plain) {
  const auto now = files_.stamp(kPhraseBase);
  if (!now) {
    // No stamps, or no file: read as the walk always did (and fail so).
    index_.reset();
    plain = files_.readText(kPhraseBase);
    return nullptr;
  }
  if (index_ && verified_ && now->sameFile(*verified_) && verified_->settled()) {
    return index_.get();
  }
  if (!index_ && unfit_ && now->sameFile(*unfit_) && unfit_->settled()) {
    plain = files_.readText(kPhraseBase);
    return nullptr;
  }
  auto read = files_.readStamped(kPhraseBase);
  // The same bytes, or an edit of a few lines that the index follows.
  if (index_ && index_->refresh(read.bytes) && index_->memory() <= budgetFor(read.bytes->size())) {
    verified_ = read.stamp;
    return index_.get();
  }
  index_.reset();
  verified_.reset();
  index_ = WordsIndex::build(read.bytes, budgetFor(read.bytes->size()));
  if (!index_) {
    unfit_ = read.stamp;
    if (!noted_) {
      noted_ = true;
      note_ = utf8To1251(
          "База фраз Base\\Words.Dat слишком велика, чтобы держать её указатель в памяти: "
          "фразы ищутся прямо в файле, ответы те же, но медленнее.");
    }
    plain = std::make_shared<const std::string>(read.bytes->view());
    return nullptr;
  }
  unfit_.reset();
  verified_ = read.stamp;
  return index_.get();
}

std::optional<SearchHit> PhraseBase::search(std::string_view phrase, DialogueState& state,
                                            RandomSource& random, WordsProbe* probe) {
  plain_.reset();
  if (const WordsIndex* index = current(plain_)) return index->search(phrase, state, random);
  if (probe) probe->text = plain_;
  return searchPhraseBase(*plain_, phrase, state, random, probe);
}

std::string_view PhraseBase::lineAt(std::size_t index) const {
  if (plain_) return vb::lineAt(*plain_, index);
  if (index_ && index < index_->lineCount()) return index_->lineAt(index);
  return {};
}

bool PhraseBase::learn(const WordsProbe& asked, std::string_view userPhrase,
                       LearnedReport* report) {
  if (!index_ || !verified_ || !index_->joined()) return false;
  // The search of this turn has just looked; another look costs little.
  const auto now = files_.stamp(kPhraseBase);
  if (!now || !now->sameFile(*verified_)) return false;
  // A key already there: nothing to learn.
  if (verified_->settled() && index_->firstWithHead(asked.key)) return true;

  bool declined = false;
  std::optional<WordsIndex::LineId> prev;
  std::vector<std::string> added;
  const auto written = files_.updateStamped(
      kPhraseBase, [&](const std::optional<FileStamp>& locked) -> std::optional<TextPieces> {
        if (!locked || !locked->sameFile(*verified_)) {
          declined = true;
          return std::nullopt;
        }
        if (!verified_->settled()) {
          // Written too recently for the stamp to prove anything: the bytes do.
          const auto read = files_.readStamped(kPhraseBase);
          if (!read.stamp || !read.stamp->sameFile(*locked) || !index_->holds(read.bytes->view())) {
            declined = true;
            return std::nullopt;
          }
          verified_ = read.stamp;
        }
        if (index_->firstWithHead(asked.key)) return std::nullopt;
        if (!asked.prevKey.empty()) prev = index_->firstWithHead(asked.prevKey);
        const std::string newKey = asked.key + "^";
        if (prev) {
          added = {newKey, withAnswer(index_->line(*prev), userPhrase)};
        } else if (!asked.prevKey.empty() && asked.prevKey == asked.key) {
          added = {withAnswer(newKey, userPhrase)};
        } else {
          added = {newKey};
        }
        return index_->withChange(prev, added);
      });
  if (declined) return false;
  if (!added.empty()) {
    index_->change(prev, added);
    verified_ = written;
    if (report) {
      report->keyAdded = true;
      if (prev || asked.prevKey == asked.key) report->answerAddedTo = asked.prevKey;
    }
  }
  return true;
}

std::optional<std::string> PhraseBase::takeNote() {
  auto note = std::move(note_);
  note_.reset();
  return note;
}

}  // namespace vb
