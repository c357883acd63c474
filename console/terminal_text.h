#pragma once
// Text from the knowledge base, a partner file or a file name may hold any
// byte. Before it reaches a terminal it is converted to UTF-8 and every
// control character is made visible, so that no byte sequence from a file
// can move the cursor, change colours or retitle the window.

#include <string>
#include <string_view>

namespace vb {

// Windows-1251 to UTF-8 with control characters replaced: C0 controls and
// DEL by their Unicode control pictures (U+2400..U+241F, U+2421), C1
// controls and anything that is not a character by U+FFFD.
std::string terminalText(std::string_view text1251);

// The same for text that is already UTF-8 (the console's own texts and
// what the user typed); malformed sequences become U+FFFD.
std::string terminalTextUtf8(std::string_view utf8);

}  // namespace vb
