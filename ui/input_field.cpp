#include "ui/input_field.h"

#include <QKeyEvent>
#include <QValidator>
#include <algorithm>

namespace vb {
namespace {

// Typing, pasting or dropping may not make the field longer than the limit
// (nor longer than a text the program put in whole); what would go past it
// is cut from what was just inserted, before the caret.
class TypingLimit final : public QValidator {
 public:
  explicit TypingLimit(InputField* field) : QValidator(field), field_(field) {}

  State validate(QString& text, int& pos) const override {
    if (field_->settingWholeText()) return Acceptable;
    const qsizetype allowed =
        std::max<qsizetype>(InputField::kTypingLimit, field_->acceptedLength());
    if (text.size() <= allowed) return Acceptable;
    const qsizetype excess = text.size() - allowed;
    const qsizetype cut = std::min<qsizetype>(excess, pos);
    text.remove(pos - cut, cut);
    pos -= static_cast<int>(cut);
    if (text.size() > allowed) text.truncate(allowed);
    pos = std::min(pos, static_cast<int>(text.size()));
    return Acceptable;
  }

 private:
  InputField* field_;
};

}  // namespace

InputField::InputField(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(32767);
  setValidator(new TypingLimit(this));
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString& text) { acceptedLength_ = text.size(); });
}

void InputField::setWholeText(const QString& text) {
  settingWholeText_ = true;
  const bool blocked = blockSignals(true);
  setText(text);
  acceptedLength_ = text.size();
  setCursorPosition(0);
  blockSignals(blocked);
  settingWholeText_ = false;
}

bool InputField::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Undo) ||
        (key->key() == Qt::Key_S && key->modifiers() == Qt::ControlModifier)) {
      event->ignore();
      return false;
    }
  }
  return QLineEdit::event(event);
}

}  // namespace vb
