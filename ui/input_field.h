#pragma once
// Input: the one-line input field. Typing is limited to 255 characters;
// text the program puts in whole is never cut. Ctrl+Z belongs to the
// window's undo command, not to the field's own undo.

#include <QLineEdit>

namespace vb {

class InputField final : public QLineEdit {
 public:
  static constexpr int kTypingLimit = 255;

  explicit InputField(QWidget* parent);

  // Puts the text in whole, without the change signal of typing; the
  // caret goes to the start.
  void setWholeText(const QString& text);
  bool settingWholeText() const { return settingWholeText_; }
  // The length of the text before the change being validated.
  qsizetype acceptedLength() const { return acceptedLength_; }

 protected:
  bool event(QEvent* event) override;

 private:
  bool settingWholeText_ = false;
  qsizetype acceptedLength_ = 0;
};

}  // namespace vb
