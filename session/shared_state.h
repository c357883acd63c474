#pragma once
// The shared dialogue state: what the turn keeps (DialogueState) and what
// only the session's timers and commands use. It lives as long as the
// main window; nothing but the GUI thread touches it.

#include <cstdint>
#include <string>

#include "engine/dialogue_state.h"

namespace vb {

struct SharedState {
  DialogueState dialogue;
  // Shared by T9 (steps of 500) and T13 (steps of 15); during one T9 tick
  // it holds the number of the line picked.
  std::int32_t WaitCount = 0;
  // Speed Word: position of the match in the dictionary (-1: none), the
  // fragment searched last and the rest of the matched entry.
  std::int32_t SpeedIndex = -1;
  std::string SpeedFragment;
  std::string SpeedCompletion;
  // Ticks of the closing animation so far; never reset during a run.
  std::int32_t ExitTicks = 0;
  // 1-based position in Input that the guard examines next.
  std::int32_t GuardPos = 0;
};

// Counters that grow with every tick for as long as the program runs wrap
// around like the 32-bit integers they are, instead of overflowing.
inline std::int32_t wrappingAdd(std::int32_t value, std::int32_t step) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                   static_cast<std::uint32_t>(step));
}

}  // namespace vb
