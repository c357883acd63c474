#pragma once
// The console's account of where an answer came from (/why, --explain):
// the step that answered, the file and line, the key, the answer drawn,
// and what the turn left behind (the thread, a delayed part, learning).

#include <string>

#include "engine/turn_trace.h"

namespace vb {

// UTF-8 lines, each ended by '\n'; empty when no turn has answered yet.
std::string explainTurn(const TurnTrace& trace);

}  // namespace vb
