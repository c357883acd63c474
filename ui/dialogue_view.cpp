#include "ui/dialogue_view.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vb {

DialogueView::DialogueView(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setAcceptRichText(false);
  setUndoRedoEnabled(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  viewport()->setCursor(Qt::ForbiddenCursor);
  caret_ = currentCharFormat();
}

void DialogueView::appendLine(const QString& text, const QTextCharFormat& format,
                              const QString& speaker) {
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  QTextBlockFormat block;
  block.setAlignment(Qt::AlignHCenter);
  if (lines_ == 0) {
    cursor.setBlockFormat(block);
    cursor.setBlockCharFormat(format);
  } else {
    cursor.insertBlock(block, format);
  }
  // Plain text: the phrase is never read as markup. Line breaks inside a
  // phrase cannot be lines of their own.
  QString plain = text;
  plain.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
  plain.replace(QChar::LineSeparator, QChar(' ')).replace(QChar::ParagraphSeparator, QChar(' '));
  cursor.insertText(plain, format);
  ++lines_;
  const QString spoken = speaker.isEmpty() ? plain : speaker + QStringLiteral(": ") + plain;
  const int offset = static_cast<int>(spokenText().size());
  const QString added = spoken_.isEmpty() ? spoken : QChar('\n') + spoken;
  spoken_ << spoken;
  if (QAccessible::isActive()) {
    // A screen reader hears the new line as it comes.
    QAccessibleTextInsertEvent inserted(this, offset, added);
    QAccessible::updateAccessibility(&inserted);
  }
  caret_ = format;
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void DialogueView::appendLineAtCaret(const QString& text, const QColor& colour) {
  QTextCharFormat format = caret_;
  format.setForeground(colour);
  appendLine(text, format);
}

void DialogueView::deleteLastLine() {
  if (lines_ == 0) return;
  if (lines_ == 1) {
    clearLines();
    return;
  }
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
  cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  --lines_;
  spoken_.removeLast();
}

void DialogueView::clearLines() {
  document()->clear();
  lines_ = 0;
  spoken_.clear();
}

QString DialogueView::lineText(int index) const {
  if (index < 0 || index >= lines_) return {};
  return document()->findBlockByNumber(index).text();
}

QTextCharFormat DialogueView::lineFormat(int index) const {
  if (index < 0 || index >= lines_) return {};
  const QTextBlock block = document()->findBlockByNumber(index);
  if (block.length() <= 1) return block.charFormat();
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::NextCharacter);
  return cursor.charFormat();
}

void DialogueView::mergeIntoSelection(const QTextCharFormat& change) {
  QTextCursor cursor = textCursor();
  if (cursor.hasSelection()) {
    cursor.mergeCharFormat(change);
  } else {
    caret_.merge(change);
  }
}

}  // namespace vb
