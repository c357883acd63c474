#include "ui/appearance.h"

namespace vb {

Appearance::Appearance(AppearanceTarget& target) : target_(target) {
  // The window as it is built.
  colours_[index(ColourTarget::MainBackground)] = kSilver;
  colours_[index(ColourTarget::DialogueBackground)] = kSilver;
  colours_[index(ColourTarget::InputBackground)] = kSilver;
  colours_[index(ColourTarget::SpeakText)] = 0;
  colours_[index(ColourTarget::CancelText)] = 0;
  colours_[index(ColourTarget::EnRusText)] = 0;
  colours_[index(ColourTarget::InputText)] = 0;
}

void Appearance::setColour(ColourTarget target, Colour colour) {
  colours_[index(target)] = colour;
  target_.showColour(target, colour);
}

void Appearance::setInitialMark(bool set) {
  initialMark_ = set;
  target_.showInitialMark(set);
}

void Appearance::clearInitialMark() {
  setInitialMark(false);
}

void Appearance::confirmSharedColour(ColourTarget target, Colour colour) {
  sharedDialogColour_ = colour;
  setColour(target, colour);
}

void Appearance::confirmUserFont(const std::string& name, int size, FontStyle style) {
  user_.fontName = name;
  user_.size = size;
  user_.style = style;
}

void Appearance::confirmCpuFont(const std::string& name, int size, FontStyle style) {
  cpu_.fontName = name;
  cpu_.size = size;
  cpu_.style = style;
}

void Appearance::confirmMyStringFont(const std::string& name, FontStyle style) {
  preset_.fontName = name;
  preset_.style = style;
  inputFontName_ = name;
  target_.showInputFont(inputFontName_, inputFontStyle_);
}

void Appearance::applyMyStringStyle() {
  inputFontStyle_ = preset_.style;
  target_.showInputFont(inputFontName_, inputFontStyle_);
}

void Appearance::restore() {
  setInitialMark(true);
  setColour(ColourTarget::MainBackground, kSilver);
  setColour(ColourTarget::DialogueBackground, kSilver);
  setColour(ColourTarget::InputBackground, kSilver);
  setColour(ColourTarget::InputText, 0);
  inputFontStyle_ = FontStyle::Bold;
  target_.showInputFont(inputFontName_, inputFontStyle_);
  setColour(ColourTarget::SpeakText, 0);
  setColour(ColourTarget::CancelText, 0);
  setColour(ColourTarget::EnRusText, 0);
  sharedDialogColour_ = 0;
  user_ = LineStyle{};
  cpu_ = LineStyle{};
  // The preset's style stays as it was.
  preset_.fontName = "MS Sans Serif";
}

}  // namespace vb
