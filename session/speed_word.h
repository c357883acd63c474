#pragma once
// Speed Word's rules on the dictionary list: the search that T11 runs once
// per start, and the index moves of the key hook. The arithmetic is the
// desktop program's own: the search always starts after SpeedIndex, Up
// steps back two, Down forward one.

#include <string>

#include "engine/file_store.h"
#include "session/session.h"
#include "session/shared_state.h"

namespace vb {

// ' ', ',', '.', '!' and '?' end a word.
bool isSpeedSeparator(char c);

// One search (T11 tick) for the word at the end of `input`. Updates
// SpeedIndex, SpeedFragment and SpeedCompletion and returns the text of
// status panel 0: the matched entry, or "[NONE]".
std::string speedSearch(const Lines& dictionary, const std::string& input, SharedState& state);

// The key hook's move (with a non-empty dictionary): Up -2, Down +1, any
// other key 0, then held within the list. Returns the entry now at
// SpeedIndex, which panel 0 shows until the search that follows.
const std::string& speedHookMove(const Lines& dictionary, HookKey key, SharedState& state);

}  // namespace vb
