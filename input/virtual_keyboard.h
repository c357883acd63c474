#pragma once
// The virtual keyboard's rules without its window: the keys SB2..SB66 with
// the characters they give, the keyboard's own Caps Lock flag, and how each
// key rewrites the input field's whole text. Text is Windows-1251.

#include <span>
#include <string>
#include <string_view>

namespace vb {

enum class KeyKind { Sign, Letter, Space, Backspace, Enter, CapsLock };

// Where a key sits: in the "Знаки:" group, the "Буквы:" group, or on its own.
enum class KeyGroup { Signs, Letters, None };

struct VirtualKey {
  std::string_view name;  // component name, e.g. "SB29" (one is "Sd8")
  KeyKind kind;
  KeyGroup group;
  int row;     // 0 or 1 inside its group
  int column;  // position in its row, from the left
  char lower;  // the character appended with Caps Lock off (Windows-1251)
  char upper;  // with Caps Lock on; the face of a letter key
};

// The 59 character keys and the four others, signs first, then letters.
std::span<const VirtualKey> virtualKeys();
const VirtualKey* findVirtualKey(std::string_view name);

class VirtualKeyboard {
 public:
  // 0 at creation; only the Caps Lock key changes it.
  int capsLock() const { return capsLock_; }
  void pressCapsLock() { capsLock_ = capsLock_ == 1 ? 0 : 1; }
  // "Caps Lock [не нажат]" / "Caps Lock [нажат]" in Windows-1251.
  std::string capsCaption() const;

  // The character a character key appends under the current flag; the
  // space key gives a space. Other keys give '\0'.
  char character(const VirtualKey& key) const;

  // The field's new whole text after a character, space or backspace key;
  // keys that do not edit the field return the text unchanged.
  std::string press(const VirtualKey& key, std::string_view text) const;

 private:
  int capsLock_ = 0;
};

// The text without its last character; an empty text stays empty.
std::string dropLastCharacter(std::string_view text);
// F5 of the keyboard: the handed-over completion, lower-cased, appended.
std::string appendCompletion(std::string_view text, std::string_view completion);

}  // namespace vb
