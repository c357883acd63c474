#include "console/line_editor.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using Event = LineEditor::Event;

std::vector<Event> feedAll(LineEditor& editor, std::string_view bytes) {
  std::vector<Event> events;
  for (char b : bytes) events.push_back(editor.feed(b));
  return events;
}

TEST(LineEditor, TypedUtf8TextIsAssembledAndEnterEndsTheLine) {
  LineEditor editor;
  feedAll(editor, "Привет");
  EXPECT_EQ(editor.text(), "Привет");
  EXPECT_EQ(editor.feed('\r'), Event::Line);
  EXPECT_EQ(editor.takeLine(), "Привет");
  EXPECT_EQ(editor.text(), "");
  EXPECT_EQ(editor.feed('\n'), Event::Line);
  EXPECT_EQ(editor.takeLine(), "");
}

TEST(LineEditor, BackspaceDeletesAWholeCharacter) {
  LineEditor editor;
  feedAll(editor, "да");
  EXPECT_EQ(editor.feed(0x7F), Event::Redraw);
  EXPECT_EQ(editor.text(), "д");
  editor.feed(0x08);
  EXPECT_EQ(editor.text(), "");
  EXPECT_EQ(editor.feed(0x7F), Event::None);
}

TEST(LineEditor, CtrlUClearsAndCtrlWDeletesTheLastWord) {
  LineEditor editor;
  feedAll(editor, "как твои дела  ");
  editor.feed(0x17);
  EXPECT_EQ(editor.text(), "как твои ");
  editor.feed(0x15);
  EXPECT_EQ(editor.text(), "");
}

TEST(LineEditor, CtrlDEndsInputOnlyOnAnEmptyLine) {
  LineEditor editor;
  editor.feed('a');
  EXPECT_EQ(editor.feed(0x04), Event::None);
  editor.feed(0x7F);
  EXPECT_EQ(editor.feed(0x04), Event::EndOfInput);
}

TEST(LineEditor, EscapeSequencesAndControlKeysAreNotText) {
  LineEditor editor;
  feedAll(editor,
          "a\x1b[A\x1b[1;5C\x1bOPb\x01\x02"
          "c\td");
  EXPECT_EQ(editor.text(), "abc d");
}

TEST(LineEditor, HoldsNoMoreCharactersThanTheField) {
  LineEditor editor(3);
  feedAll(editor, "абвг");
  EXPECT_EQ(editor.text(), "абв");
  feedAll(editor, "xyz");
  EXPECT_EQ(editor.text(), "абв");
}

TEST(LineEditor, RenderShowsThePromptAndTheEndOfALongLine) {
  LineEditor editor;
  feedAll(editor, "привет");
  EXPECT_EQ(editor.render("> ", 80), "\r\x1b[K> привет");
  // 10 columns: the prompt (2) and one free column leave room for 7.
  feedAll(editor, " мир");
  EXPECT_EQ(editor.render("> ", 10), "\r\x1b[K> вет мир");
}

}  // namespace
}  // namespace vb
