#pragma once
// The main window's appearance for the current run: the colours of its
// parts, the user's and the program's line styles, the My string preset
// and the input field's font, the shared colour dialog's preset, the
// initial-settings mark and full-screen mode. Config.ini fills it at start
// (it is the settings sink); the appearance commands change it; nothing of
// it is saved.

#include <array>
#include <string>

#include "session/settings.h"

namespace vb {

// What the window does when the appearance changes.
class AppearanceTarget {
 public:
  virtual ~AppearanceTarget() = default;
  virtual void showColour(ColourTarget target, Colour colour) = 0;
  // The input field's font: its size is always 8 points.
  virtual void showInputFont(const std::string& name, FontStyle style) = 0;
  virtual void showInitialMark(bool set) = 0;
};

class Appearance final : public SettingsSink {
 public:
  explicit Appearance(AppearanceTarget& target);

  // Config.ini at start.
  void setColour(ColourTarget target, Colour colour) override;
  void setUserStyle(const LineStyle& style) override { user_ = style; }
  void setCpuStyle(const LineStyle& style) override { cpu_ = style; }
  void setMyStringPreset(const FontPreset& preset) override { preset_ = preset; }

  Colour colour(ColourTarget target) const { return colours_[index(target)]; }
  const LineStyle& user() const { return user_; }
  const LineStyle& cpu() const { return cpu_; }
  const FontPreset& myStringPreset() const { return preset_; }
  const std::string& inputFontName() const { return inputFontName_; }
  FontStyle inputFontStyle() const { return inputFontStyle_; }
  // The preset of the shared colour dialog (ColorDialog1): the last colour
  // confirmed in it.
  Colour sharedDialogColour() const { return sharedDialogColour_; }
  bool initialMark() const { return initialMark_; }
  bool fullScreen() const { return fullScreen_; }

  // Every colour and font command starts here, confirmed or not.
  void clearInitialMark();

  // Confirmed choices.
  void confirmSharedColour(ColourTarget target, Colour colour);
  void confirmUserColour(Colour colour) { user_.colour = colour; }
  void confirmCpuColour(Colour colour) { cpu_.colour = colour; }
  void confirmUserFont(const std::string& name, int size, FontStyle style);
  void confirmCpuFont(const std::string& name, int size, FontStyle style);
  // The My string font dialog: a confirmed choice becomes the preset and
  // gives the input field its name; confirmed or not, the field then takes
  // the preset's style.
  void confirmMyStringFont(const std::string& name, FontStyle style);
  void applyMyStringStyle();

  // "Вернуть первоначальные настройки" for the window's own parts; the
  // editor dialog and the About window are the window's to reset.
  void restore();

  // Returns the new state.
  bool toggleFullScreen() { return fullScreen_ = !fullScreen_; }

 private:
  static std::size_t index(ColourTarget target) { return static_cast<std::size_t>(target); }
  void setInitialMark(bool set);

  AppearanceTarget& target_;
  std::array<Colour, 7> colours_;
  LineStyle user_;
  LineStyle cpu_;
  FontPreset preset_;
  std::string inputFontName_ = "MS Sans Serif";
  FontStyle inputFontStyle_ = FontStyle::Regular;
  Colour sharedDialogColour_ = 0;
  bool initialMark_ = true;
  bool fullScreen_ = false;
};

}  // namespace vb
