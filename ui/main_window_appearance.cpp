// The appearance commands of the menu "Настройки" and Full Screen: the
// colour and font dialogs, restore, and the element colours they set.

#include "ui/main_window.h"

#include <QAction>
#include <QColorDialog>
#include <QFontDialog>
#include <QFrame>
#include <QPushButton>
#include <QTextCharFormat>

#include "ui/about_window.h"
#include "ui/codec.h"
#include "ui/colour.h"
#include "ui/dialogue_view.h"
#include "ui/editor_dialog.h"
#include "ui/font_dialog_setup.h"
#include "ui/fonts.h"
#include "ui/input_field.h"

namespace vb {
namespace {

void setRole(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Active, role, colour);
  palette.setColor(QPalette::Inactive, role, colour);
  if (role == QPalette::Window || role == QPalette::Base) {
    palette.setColor(QPalette::Disabled, role, colour);
  }
  widget->setPalette(palette);
}

}  // namespace

void TForm1::showColour(ColourTarget target, Colour colour) {
  const QColor c = toQColor(colour);
  switch (target) {
    case ColourTarget::MainBackground:
      setRole(this, QPalette::Window, c);
      break;
    case ColourTarget::DialogueBackground:
      setRole(RE1_, QPalette::Base, c);
      break;
    case ColourTarget::InputBackground:
      setRole(Input_, QPalette::Base, c);
      break;
    case ColourTarget::SpeakText:
      setRole(Speak_, QPalette::ButtonText, c);
      break;
    case ColourTarget::CancelText:
      setRole(Cancel_, QPalette::ButtonText, c);
      break;
    case ColourTarget::EnRusText:
      setRole(EnRus_, QPalette::ButtonText, c);
      break;
    case ColourTarget::InputText:
      setRole(Input_, QPalette::Text, c);
      break;
  }
}

void TForm1::showInputFont(const std::string& name, FontStyle style) {
  Input_->setFont(makeFont(name, 8, style));
}

void TForm1::showInitialMark(bool set) {
  N13_->setChecked(set);
}

bool TForm1::askColour(QColorDialog& dialog, Colour preset, Colour& chosen) {
  dialog.setCurrentColor(toQColor(preset));
  if (dialog.exec() != QDialog::Accepted) return false;
  chosen = fromQColor(dialog.selectedColor());
  return true;
}

void TForm1::sharedColourCommand(ColourTarget target) {
  appearance_.clearInitialMark();
  Colour chosen = 0;
  if (askColour(colorDialog(1), appearance_.sharedDialogColour(), chosen)) {
    appearance_.confirmSharedColour(target, chosen);
  }
}

void TForm1::buttonTextColourCommand() {
  appearance_.clearInitialMark();
  for (ColourTarget target :
       {ColourTarget::SpeakText, ColourTarget::CancelText, ColourTarget::EnRusText}) {
    Colour chosen = 0;
    if (askColour(colorDialog(1), appearance_.sharedDialogColour(), chosen)) {
      appearance_.confirmSharedColour(target, chosen);
    }
  }
}

void TForm1::lineColourCommand(bool user) {
  appearance_.clearInitialMark();
  const LineStyle& style = user ? appearance_.user() : appearance_.cpu();
  Colour chosen = 0;
  if (!askColour(colorDialog(user ? 2 : 3), style.colour, chosen)) return;
  if (user) {
    appearance_.confirmUserColour(chosen);
  } else {
    appearance_.confirmCpuColour(chosen);
  }
  QTextCharFormat change;
  change.setForeground(toQColor(chosen));
  RE1_->mergeIntoSelection(change);
}

void TForm1::lineFontCommand(bool user) {
  appearance_.clearInitialMark();
  QFontDialog& dialog = fontDialog(user ? 1 : 2);
  const LineStyle before = user ? appearance_.user() : appearance_.cpu();
  presetFontDialog(dialog, makeFont(before.fontName, before.size, before.style));
  if (dialog.exec() == QDialog::Accepted) {
    const QFont font = dialog.selectedFont();
    const int size = font.pointSize() > 0 ? font.pointSize() : before.size;
    if (user) {
      appearance_.confirmUserFont(keptFaceName(font, before.fontName), size, styleOf(font));
    } else {
      appearance_.confirmCpuFont(keptFaceName(font, before.fontName), size, styleOf(font));
    }
    QTextCharFormat name;
    name.setFontFamilies({font.family()});
    RE1_->mergeIntoSelection(name);
  }
  // Confirmed or not, the selection takes the style's size and style.
  const LineStyle& style = user ? appearance_.user() : appearance_.cpu();
  QTextCharFormat sizeAndStyle;
  sizeAndStyle.setFontPointSize(makeFont(style.fontName, style.size, style.style).pointSizeF());
  sizeAndStyle.setFontWeight(style.style == FontStyle::Bold || style.style == FontStyle::BoldItalic
                                 ? QFont::Bold
                                 : QFont::Normal);
  sizeAndStyle.setFontItalic(style.style == FontStyle::Italic ||
                             style.style == FontStyle::BoldItalic);
  RE1_->mergeIntoSelection(sizeAndStyle);
}

void TForm1::myStringFontCommand() {
  appearance_.clearInitialMark();
  QFontDialog& dialog = fontDialog(3);
  const FontPreset& preset = appearance_.myStringPreset();
  presetFontDialog(dialog, makeFont(preset.fontName, 8, preset.style));
  if (dialog.exec() == QDialog::Accepted) {
    const QFont font = dialog.selectedFont();
    appearance_.confirmMyStringFont(keptFaceName(font, preset.fontName), styleOf(font));
  }
  appearance_.applyMyStringStyle();
}

void TForm1::restoreCommand() {
  appearance_.restore();
  if (session_) {
    EditorState& editor = session_->editor();
    editor.path = "D:\\Txt.Dat";
    editor.interval = 1000;
  }
  if (editor_) editor_->refresh(false);
  if (about_) about_->fold();
}

void TForm1::fullScreenCommand() {
  const bool on = appearance_.toggleFullScreen();
  N40_->setChecked(on);
  if (on) {
    N40_->setText(tr8("Normal"));
    normalPos_ = pos();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showMaximized();
    // Without a window manager to maximise it, the window fills the
    // desktop's work area itself.
    const Rect desk = desktopRect();
    const QMargins frame(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    setGeometry(QRect(desk.left, desk.top, desk.width, desk.height).marginsRemoved(frame));
    layOutElements(true);
  } else {
    N40_->setText(tr8("Full Screen"));
    showNormal();
    applyFixedClientSize(kClientWidth, kClientHeight);
    move(normalPos_);
    leftFullScreen_ = true;
    layOutElements(false);
  }
}

}  // namespace vb
