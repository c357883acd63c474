#pragma once
// The part of the shared dialogue state that the turn reads and writes.
// All text is Windows-1251.

#include <cstdint>
#include <string>

namespace vb {

struct DialogueState {
  std::string UserPhrase;
  std::string PrevUserPhrase;
  std::string CpuPhrase;
  std::string PrevCpuPhrase;
  std::string DelayedPhrase;
  std::int32_t IdleCount = 0;
  std::int32_t TurnRoll = 0;
  // Position in the conversation tree of Words.Dat; nothing but the search
  // changes them, not even a new dialogue.
  std::int32_t BranchLine = 0;
  std::int32_t BranchDepth = 0;
};

}  // namespace vb
