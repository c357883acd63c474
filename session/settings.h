#pragma once
// The appearance that Config.ini gives at start: colours of the window's
// parts, the user's and the program's line styles, and the My string font
// preset. Applied in a fixed order through a sink, so a front end only
// turns the values into its own colours and fonts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "session/config.h"

namespace vb {

// 0x00BBGGRR, red in the lowest byte; a negative value names a system colour.
using Colour = std::int32_t;
inline constexpr Colour kSilver = 12632256;
inline constexpr Colour kTeal = 0x808000;

enum class FontStyle { Regular, Italic, Bold, BoldItalic };

struct LineStyle {
  Colour colour = 0;
  std::string fontName = "MS Sans Serif";
  int size = 8;
  FontStyle style = FontStyle::Regular;
  bool operator==(const LineStyle&) const = default;
};

struct FontPreset {
  std::string fontName = "MS Sans Serif";
  FontStyle style = FontStyle::Regular;
  bool operator==(const FontPreset&) const = default;
};

enum class ColourTarget {
  MainBackground,      // line 7
  DialogueBackground,  // line 8
  InputBackground,     // line 9
  SpeakText,           // line 12
  CancelText,          // line 13
  EnRusText,           // line 14
  InputText,           // line 17
};

class SettingsSink {
 public:
  virtual ~SettingsSink() = default;
  virtual void setColour(ColourTarget target, Colour colour) = 0;
  virtual void setUserStyle(const LineStyle& style) = 0;
  virtual void setCpuStyle(const LineStyle& style) = 0;
  virtual void setMyStringPreset(const FontPreset& preset) = 0;
};

// "[]", "[fsItalic]", "[fsBold]", "[fsBold,fsItalic]", compared upper-cased;
// anything else is no style (the caller keeps the one it had).
std::optional<FontStyle> parseFontStyle(std::string_view value);
std::string fontStyleLiteral(FontStyle style);

// Applies lines 7 to 28 in order. Throws at the first line that fails
// (too few lines, a value that is not a number); what came before stays
// applied, through the sink, and nothing after it is.
void applySettings(const ConfigList& config, SettingsSink& sink);

}  // namespace vb
