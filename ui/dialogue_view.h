#pragma once
// RE1: the read-only dialogue view. Each line is a centred paragraph written
// as plain text in a character format of its own; the view also keeps the
// attributes its insertion point holds (the last line's, or what a colour
// or font command gave it with nothing selected).

#include <QStringList>
#include <QTextCharFormat>
#include <QTextEdit>

namespace vb {

class DialogueView final : public QTextEdit {
 public:
  explicit DialogueView(QWidget* parent);

  // `speaker` names who said the line to a screen reader (empty for the
  // program's service lines); it is not drawn.
  void appendLine(const QString& text, const QTextCharFormat& format, const QString& speaker = {});
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

  // The lines as a screen reader reads them: "who: what", one a line.
  QString spokenText() const { return spoken_.join(QChar('\n')); }

 private:
  int lines_ = 0;
  QTextCharFormat caret_;
  QStringList spoken_;
};

}  // namespace vb
