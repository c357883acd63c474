// A whole knowledge-base folder and a phrase through two dialogue turns,
// on a folder in memory built from the input. A turn may fail only with
// the program's own messages, and every file it writes is well formed.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/dialogue_state.h"
#include "engine/failure.h"
#include "engine/line_split.h"
#include "engine/random_source.h"
#include "engine/turn.h"
#include "fuzz_check.h"
#include "memory_store.h"

namespace {

using vb::fuzz::check;

constexpr std::array<std::string_view, 8> kFiles = {
    "Base\\Words.Dat",     "Base\\Povtor.Dat", "Base\\X.Dat",  "Base\\Collection.Dat",
    "Base\\BigString.Dat", "Base\\W1.Dat",     "Base\\W2.Dat", "Base\\CPUpvt.dat",
};

class Effects final : public vb::TurnEffects {
 public:
  void busyCursor(bool on) override { busy = on; }
  void playUserSound() override {}
  void showUserLine(const std::string&) override { ++userLines; }
  void playCpuSound() override {}
  void showCpuLine(const std::string& phrase) override { cpu = phrase; }
  void setClosingTimer(bool) override {}
  void startDelayedTimer() override {}
  void setFollowUpTimer(bool) override {}
  bool busy = false;
  int userLines = 0;
  std::string cpu;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  vb::fuzz::MemoryStore files;
  for (auto name : kFiles) {
    if (in.ConsumeBool()) files.put(name, in.ConsumeRandomLengthString(4096));
  }
  vb::SeededRandom random(in.ConsumeIntegral<std::uint32_t>());
  vb::DialogueState state;
  state.PrevUserPhrase = in.ConsumeRandomLengthString(64);
  state.PrevCpuPhrase = in.ConsumeRandomLengthString(64);
  state.BranchDepth = in.ConsumeIntegralInRange<int>(0, 4);
  state.BranchLine = in.ConsumeIntegralInRange<int>(0, 64);
  const std::string first = in.ConsumeRandomLengthString(512);
  const std::string second = in.ConsumeRemainingBytesAsString();

  const std::string* words = files.find("Base\\Words.Dat");
  const std::string wordsBefore = words ? *words : std::string();

  vb::Turn turn(files, random);
  for (const std::string& raw : {first, second}) {
    Effects effects;
    const std::string prevUser = state.PrevUserPhrase;
    try {
      if (turn.run(raw, state, effects)) {
        check(effects.cpu == state.CpuPhrase, "the answer shown is the answer");
        vb::Turn::finish(state);
      } else {
        check(raw.empty() && effects.userLines == 0, "only an empty phrase is refused");
      }
    } catch (const vb::Failure& failure) {
      check(vb::fuzz::ownMessage(failure.what()), "a failure is one of the program's messages");
      check(state.PrevUserPhrase == prevUser, "a failed turn keeps the previous phrase");
    }
    check(!effects.busy, "the busy cursor is restored");
  }
  for (const auto& [name, count] : files.written()) {
    const std::string* bytes = files.find(name);
    if (!bytes || !vb::isJoinedForm(*bytes)) {
      std::fprintf(stderr, "%s:\n", name.c_str());
      if (bytes) std::fwrite(bytes->data(), 1, bytes->size(), stderr);
      vb::fuzz::broken("a written file ends every line with CR LF");
    }
  }
  // Learning only adds lines and moves one: nothing is lost.
  if (files.written().count("BASE\\WORDS.DAT")) {
    auto keyLines = [](std::string_view text) {
      std::size_t n = 0;
      for (auto line : vb::splitLines(text)) n += line.find('^') != std::string_view::npos;
      return n;
    };
    const std::string& after = *files.find("Base\\Words.Dat");
    check(vb::countLines(after) > vb::countLines(wordsBefore), "learning adds a line");
    check(keyLines(after) > keyLines(wordsBefore), "learning adds a key line");
  }
  return 0;
}
