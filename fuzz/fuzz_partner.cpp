// A partner file's content through the Cpu\Cpu hand-over: a session (the
// engine's own turn, a knowledge base in memory) in Enter mode reads the
// file, Enter runs the turn on its first line, and the answer replaces the
// file. Whatever the file held, the session shows only the program's
// messages, the file ends as one line when the turn went through, and no
// markup character reaches what was learned.
#include <cstdint>
#include <set>
#include <string>

#include "engine/line_split.h"
#include "fuzz_check.h"
#include "session/fakes.h"
#include "session/guard.h"

namespace {

using vb::fuzz::check;

std::multiset<std::string> linesOf(const vb::Lines& lines) {
  return {lines.begin(), lines.end()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vb::test::RigOptions options;
  options.realTurn = true;
  vb::test::Rig rig(options);
  rig.run(100);
  const vb::Lines given = vb::splitLinesCopy({reinterpret_cast<const char*>(data), size});
  rig.files.put("partner.txt", given);
  // A first line that is empty or only markup holds no phrase: no turn, and
  // the partner's file stays as the partner wrote it.
  const bool noPhrase = given.empty() || vb::withoutReserved(given.front()).empty();
  const auto words = linesOf(rig.files.at("Base\\Words.Dat"));
  const auto pools = linesOf(rig.files.at("Base\\W2.Dat"));
  const auto questions = linesOf(rig.files.at("Base\\W1.Dat"));
  const std::size_t errors = rig.view.errors.size();

  rig.session->editor().path = "partner.txt";
  rig.session->Cpu31Click();
  rig.run(20);
  rig.session->TalkClick();
  rig.run(20);
  rig.session->TalkClick();

  for (std::size_t i = errors; i < rig.view.errors.size(); ++i) {
    std::string m = rig.view.errors[i];
    if (m.ends_with(".")) m.pop_back();
    check(vb::fuzz::ownMessage(m), "only the program's own messages");
  }
  if (rig.view.errors.size() == errors) {
    const vb::Lines expected =
        noPhrase ? given : vb::Lines{rig.session->state().dialogue.CpuPhrase};
    check(rig.files.at("partner.txt") == expected, noPhrase
                                                       ? "no phrase leaves the partner file alone"
                                                       : "the answer replaces the partner file");
  }
  for (const auto& line : rig.files.at("Base\\Words.Dat")) {
    if (words.count(line)) continue;
    check(line.find('^') != std::string::npos, "a learned line holds '^'");
    std::string_view learned = line;
    for (std::string_view old : words) {
      if (old.ends_with('@')) old.remove_suffix(1);  // a closing line keeps its mark last
      if (old.find('^') != std::string_view::npos && learned.starts_with(old)) {
        learned.remove_prefix(old.size());  // a line that got one more answer
        break;
      }
    }
    if (learned.size() == line.size()) {  // a new key, perhaps with its first answer
      const auto caret = line.find('^');
      check(line.substr(0, caret).find_first_of("_;@|") == std::string::npos,
            "no markup character in a learned key");
      learned.remove_prefix(caret + 1);
    }
    if (learned.ends_with('@')) learned.remove_suffix(1);
    if (learned.ends_with(';')) learned.remove_suffix(1);
    check(learned.find_first_of("^_;@|") == std::string_view::npos,
          "no markup character in a learned answer");
  }
  for (const char* name : {"Base\\W1.Dat", "Base\\W2.Dat"}) {
    for (const auto& line : rig.files.at(name)) {
      if (pools.count(line) || questions.count(line)) continue;
      check(line.find_first_of("^_;@|") == std::string::npos, "no markup character in a pool");
    }
  }
  return 0;
}
