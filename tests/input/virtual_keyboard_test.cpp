#include "input/virtual_keyboard.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/text.h"

namespace vb {
namespace {

std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}

std::string pressAll(const VirtualKeyboard& kb, std::string text,
                     std::initializer_list<std::string_view> names) {
  for (auto name : names) {
    const VirtualKey* key = findVirtualKey(name);
    EXPECT_NE(key, nullptr) << name;
    if (key) text = kb.press(*key, text);
  }
  return text;
}

TEST(VirtualKeyboard, CapsLockChoosesTheLetterCase) {
  VirtualKeyboard kb;
  EXPECT_EQ(kb.capsLock(), 0);
  EXPECT_EQ(kb.capsCaption(), w("Caps Lock [не нажат]"));
  const std::initializer_list<std::string_view> privet = {"SB45", "SB46", "SB38",
                                                          "SB31", "SB34", "SB48"};
  EXPECT_EQ(pressAll(kb, "", privet), w("привет"));
  kb.pressCapsLock();
  EXPECT_EQ(kb.capsLock(), 1);
  EXPECT_EQ(kb.capsCaption(), w("Caps Lock [нажат]"));
  EXPECT_EQ(pressAll(kb, "", privet), w("ПРИВЕТ"));
  // Signs are the same either way.
  EXPECT_EQ(pressAll(kb, "", {"SB18", "SB25"}), "[<");
  kb.pressCapsLock();
  EXPECT_EQ(kb.capsCaption(), w("Caps Lock [не нажат]"));
  EXPECT_EQ(pressAll(kb, "", privet), w("привет"));
}

TEST(VirtualKeyboard, YoAndTheWholeAlphabet) {
  VirtualKeyboard kb;
  EXPECT_EQ(pressAll(kb, "", {"SB35"}), "\xB8");
  kb.pressCapsLock();
  EXPECT_EQ(pressAll(kb, "", {"SB35"}), "\xA8");

  std::string faces;
  std::string lowers;
  for (const VirtualKey& key : virtualKeys()) {
    if (key.kind != KeyKind::Letter) continue;
    faces += key.upper;
    lowers += key.lower;
  }
  EXPECT_EQ(faces, w("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"));
  EXPECT_EQ(lowers, w("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"));
}

TEST(VirtualKeyboard, SignKeysAndTheirPlaces) {
  std::string row1;
  std::string row2;
  std::set<std::string_view> names;
  int signs = 0;
  for (const VirtualKey& key : virtualKeys()) {
    EXPECT_TRUE(names.insert(key.name).second) << key.name;
    if (key.kind != KeyKind::Sign) continue;
    ++signs;
    EXPECT_EQ(key.lower, key.upper);
    (key.row == 0 ? row1 : row2) += key.lower;
  }
  EXPECT_EQ(signs, 26);
  EXPECT_EQ(row1, "#$%&*+=\\/[]{}~`");
  EXPECT_EQ(row2, ",.!?()-:\"<>");
  EXPECT_EQ(names.size(), 26u + 33u + 4u);
  // None of the guard's reserved characters can be typed.
  for (const VirtualKey& key : virtualKeys()) {
    EXPECT_EQ(std::string_view("^_;@|").find(key.lower), std::string_view::npos) << key.name;
  }
  ASSERT_NE(findVirtualKey("Sd8"), nullptr);
  EXPECT_EQ(findVirtualKey("Sd8")->lower, '*');
  EXPECT_EQ(findVirtualKey("SB8"), nullptr);
}

TEST(VirtualKeyboard, KeysAppendAtTheEndWithoutLengthLimit) {
  VirtualKeyboard kb;
  std::string full(255, 'x');
  EXPECT_EQ(pressAll(kb, full, {"SB29", "SB23"}).size(), 257u);
  EXPECT_EQ(pressAll(kb, w("при"), {"SB23", "SB2"}), w("при !"));
  // Caps Lock and Enter leave the text alone.
  EXPECT_EQ(pressAll(kb, "abc", {"SB63", "SB66"}), "abc");
}

TEST(VirtualKeyboard, BackspaceRemovesTheLastCharacterOnly) {
  VirtualKeyboard kb;
  EXPECT_EQ(pressAll(kb, w("да"), {"SB62"}), w("д"));
  EXPECT_EQ(pressAll(kb, w("д"), {"SB62"}), "");
  EXPECT_EQ(pressAll(kb, "", {"SB62"}), "");
}

TEST(VirtualKeyboard, CompletionIsLowerCasedAndAppended) {
  EXPECT_EQ(appendCompletion(w("прив"), w("ЕТ")), w("привет"));
  EXPECT_EQ(appendCompletion(appendCompletion(w("прив"), w("ет")), w("ет")), w("приветет"));
  EXPECT_EQ(appendCompletion("abc", ""), "abc");
}

}  // namespace
}  // namespace vb
