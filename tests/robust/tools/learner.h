#pragma once
// A learner: dialogue turns on a knowledge base, each on a phrase the base
// does not know, so that every turn learns (a pool line and a key line, and
// often an answer to what the program said before). The crash and
// two-process tests run it in a child program and again in the test, from
// the same seed, to know every content each file may hold.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "engine/file_store.h"
#include "engine/turn.h"

namespace vb::robust {

// Turn effects that show nothing: a learner has no window.
class QuietEffects final : public TurnEffects {
 public:
  void busyCursor(bool) override {}
  void playUserSound() override {}
  void showUserLine(const std::string&) override {}
  void playCpuSound() override {}
  void showCpuLine(const std::string&) override {}
  void setClosingTimer(bool) override {}
  void startDelayedTimer() override {}
  void setFollowUpTimer(bool) override {}
};

// The phrase learner `tag` says in turn `index`: one word of fixed length
// made of 'x', digits and '-', so that no phrase holds another one and no
// key of the base occurs in it.
std::string learnerPhrase(int tag, long index);

// Writes a knowledge base for learners into `dir`/Base: pools whose lines
// are keys awaiting answers (so the phrase said after one becomes its
// answer), `fillerLines` answered main phrases that never match a learner's
// phrase, and the other files a turn may read.
void writeLearnerBase(const std::filesystem::path& dir, int fillerLines);

// Runs turns `first` .. `first + count - 1` of learner `tag` on `files`
// with a random source seeded by `seed`; after each turn has returned,
// `done` gets its phrase. A failing turn throws.
void runLearner(FileStore& files, std::uint32_t seed, int tag, long first, long count,
                const std::function<void(const std::string&)>& done);

}  // namespace vb::robust
