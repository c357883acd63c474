#pragma once
// Colour on a terminal: whether to use it, and the escape sequences that
// give a line of the dialogue its speaker's colour.

#include <string>

#include "session/settings.h"
#include "session/view.h"

namespace vb {

// Colour only on a terminal, and never while NO_COLOR is set (any value).
// `noColor` is getenv("NO_COLOR").
bool colourWanted(bool isTerminal, const char* noColor);

// The SGR foreground code (30..37, 90..97) of the terminal colour nearest
// to a 0x00BBGGRR colour, or 0 when the terminal's own foreground suits
// better: a system colour (negative), black or white, which could vanish
// on a dark or a light terminal.
int ansiForeground(Colour colour);

// The escape sequence that starts a line in `style` (its colour, bold for a
// bold style); a service line is cyan, the terminal's teal.
std::string lineStart(LineKind kind, const LineStyle& style);
inline constexpr const char* kReset = "\x1b[0m";

}  // namespace vb
