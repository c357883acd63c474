#pragma once
// RE1: the read-only dialogue view. Each line is a centred paragraph written
// as plain text in a character format of its own; the view also keeps the
// attributes its insertion point holds (the last line's, or what a colour
// or font command gave it with nothing selected).

#include <QTextCharFormat>
#include <QTextEdit>

namespace vb {

class DialogueView final : public QTextEdit {
 public:
  explicit DialogueView(QWidget* parent);

  void appendLine(const QString& text, const QTextCharFormat& format);
  // A line in the attributes of the insertion point, in another colour.
  void appendLineAtCaret(const QString& text, const QColor& colour);
  void deleteLastLine();
  void clearLines();
  int lineCount() const { return lines_; }
  QString lineText(int index) const;
  QTextCharFormat lineFormat(int index) const;

  // A colour or font command: the selection takes the change at once;
  // without a selection the insertion point's attributes take it.
  void mergeIntoSelection(const QTextCharFormat& change);
  const QTextCharFormat& caretFormat() const { return caret_; }

 private:
  int lines_ = 0;
  QTextCharFormat caret_;
};

}  // namespace vb
