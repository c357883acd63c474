#include "input/virtual_keyboard.h"

#include <array>

#include "engine/text.h"

namespace vb {
namespace {

constexpr VirtualKey sign(std::string_view name, int row, int column, char c) {
  return {name, KeyKind::Sign, KeyGroup::Signs, row, column, c, c};
}

// Letters in Windows-1251: face (upper case) and the appended lower case.
constexpr VirtualKey letter(std::string_view name, int row, int column, unsigned char upper) {
  const unsigned char lower = upper == 0xA8 ? 0xB8 : static_cast<unsigned char>(upper + 0x20);
  return {name,   KeyKind::Letter,          KeyGroup::Letters,       row,
          column, static_cast<char>(lower), static_cast<char>(upper)};
}

constexpr VirtualKey other(std::string_view name, KeyKind kind, char c = '\0') {
  return {name, kind, KeyGroup::None, 0, 0, c, c};
}

constexpr std::array kKeys{
    // Signs, row 1.
    sign("SB4", 0, 0, '#'),
    sign("SB5", 0, 1, '$'),
    sign("SB6", 0, 2, '%'),
    sign("SB7", 0, 3, '&'),
    sign("Sd8", 0, 4, '*'),
    sign("SB13", 0, 5, '+'),
    sign("SB14", 0, 6, '='),
    sign("SB15", 0, 7, '\\'),
    sign("SB17", 0, 8, '/'),
    sign("SB18", 0, 9, '['),
    sign("SB19", 0, 10, ']'),
    sign("SB20", 0, 11, '{'),
    sign("SB21", 0, 12, '}'),
    sign("SB64", 0, 13, '~'),
    sign("SB65", 0, 14, '`'),
    // Signs, row 2.
    sign("SB28", 1, 0, ','),
    sign("SB27", 1, 1, '.'),
    sign("SB2", 1, 2, '!'),
    sign("SB22", 1, 3, '?'),
    sign("SB9", 1, 4, '('),
    sign("SB10", 1, 5, ')'),
    sign("SB11", 1, 6, '-'),
    sign("SB12", 1, 7, ':'),
    sign("SB24", 1, 8, '"'),
    sign("SB25", 1, 9, '<'),
    sign("SB26", 1, 10, '>'),
    // Letters, row 1: А Б В Г Д Е Ё Ж З И Й К Л М Н О П.
    letter("SB29", 0, 0, 0xC0),
    letter("SB30", 0, 1, 0xC1),
    letter("SB31", 0, 2, 0xC2),
    letter("SB32", 0, 3, 0xC3),
    letter("SB33", 0, 4, 0xC4),
    letter("SB34", 0, 5, 0xC5),
    letter("SB35", 0, 6, 0xA8),
    letter("SB36", 0, 7, 0xC6),
    letter("SB37", 0, 8, 0xC7),
    letter("SB38", 0, 9, 0xC8),
    letter("SB39", 0, 10, 0xC9),
    letter("SB40", 0, 11, 0xCA),
    letter("SB41", 0, 12, 0xCB),
    letter("SB42", 0, 13, 0xCC),
    letter("SB43", 0, 14, 0xCD),
    letter("SB44", 0, 15, 0xCE),
    letter("SB45", 0, 16, 0xCF),
    // Letters, row 2: Р С Т У Ф Х Ц Ч Ш Щ Ъ Ы Ь Э Ю Я.
    letter("SB46", 1, 0, 0xD0),
    letter("SB47", 1, 1, 0xD1),
    letter("SB48", 1, 2, 0xD2),
    letter("SB49", 1, 3, 0xD3),
    letter("SB50", 1, 4, 0xD4),
    letter("SB51", 1, 5, 0xD5),
    letter("SB52", 1, 6, 0xD6),
    letter("SB53", 1, 7, 0xD7),
    letter("SB54", 1, 8, 0xD8),
    letter("SB55", 1, 9, 0xD9),
    letter("SB56", 1, 10, 0xDA),
    letter("SB57", 1, 11, 0xDB),
    letter("SB58", 1, 12, 0xDC),
    letter("SB59", 1, 13, 0xDD),
    letter("SB60", 1, 14, 0xDE),
    letter("SB61", 1, 15, 0xDF),
    // The others.
    other("SB23", KeyKind::Space, ' '),
    other("SB62", KeyKind::Backspace),
    other("SB66", KeyKind::Enter),
    other("SB63", KeyKind::CapsLock),
};

}  // namespace

std::span<const VirtualKey> virtualKeys() {
  return kKeys;
}

const VirtualKey* findVirtualKey(std::string_view name) {
  for (const VirtualKey& key : kKeys) {
    if (key.name == name) return &key;
  }
  return nullptr;
}

std::string VirtualKeyboard::capsCaption() const {
  static const std::string off = utf8To1251("Caps Lock [не нажат]");
  static const std::string on = utf8To1251("Caps Lock [нажат]");
  return capsLock_ == 1 ? on : off;
}

char VirtualKeyboard::character(const VirtualKey& key) const {
  switch (key.kind) {
    case KeyKind::Letter:
      return capsLock_ == 1 ? key.upper : key.lower;
    case KeyKind::Sign:
    case KeyKind::Space:
      return key.lower;
    default:
      return '\0';
  }
}

std::string VirtualKeyboard::press(const VirtualKey& key, std::string_view text) const {
  switch (key.kind) {
    case KeyKind::Sign:
    case KeyKind::Letter:
    case KeyKind::Space:
      return std::string(text) + character(key);
    case KeyKind::Backspace:
      return dropLastCharacter(text);
    default:
      return std::string(text);
  }
}

std::string dropLastCharacter(std::string_view text) {
  return std::string(text.empty() ? text : text.substr(0, text.size() - 1));
}

std::string appendCompletion(std::string_view text, std::string_view completion) {
  return std::string(text) + lower1251(completion);
}

}  // namespace vb
