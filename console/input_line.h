#pragma once
// One line of standard input: a console command ("/new", "/undo", "/exit",
// "/help", "/why") or a phrase, which the console sends as if it had been typed
// into the input field.

#include <cstddef>
#include <string>
#include <string_view>

namespace vb {

// The input field holds at most this many characters.
inline constexpr std::size_t kInputMaxChars = 255;

struct InputLine {
  enum class Kind {
    Empty,           // nothing to send: Enter on an empty field does nothing
    Phrase,          // `phrase` is ready to send
    Refused,         // `phrase` holds `reserved`, which the guard refuses
    NewDialogue,     // /new
    Undo,            // /undo
    Exit,            // /exit
    Help,            // /help
    Why,             // /why
    UnknownCommand,  // `command` is no console command
  };
  Kind kind = Kind::Empty;
  std::string phrase;  // Windows-1251
  char reserved = 0;
  std::string command;  // UTF-8, as typed
};

// The knowledge base's markup characters, which a phrase may not hold.
bool isReserved(char c);

// UTF-8 text as the input field would hold it: converted to Windows-1251
// ('?' for a character with no form there), a tab as a space, other control
// characters dropped, cut to kInputMaxChars.
std::string fieldText(std::string_view utf8);

// Reads one line (without its line feed; a final CR is dropped). A line that
// starts with '/' is a command; "//" starts a phrase that begins with '/'.
InputLine readInputLine(std::string_view utf8);

}  // namespace vb
