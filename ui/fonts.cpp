#include "ui/fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

#include "ui/codec.h"

namespace vb {

void installFontSubstitutes() {
  const QStringList sans{"Liberation Sans", "Arial", "DejaVu Sans", "Nimbus Sans"};
  const QStringList mono{"Liberation Mono", "DejaVu Sans Mono", "Nimbus Mono PS"};
  const QStringList serif{"Liberation Serif", "DejaVu Serif", "Nimbus Roman"};
  QFont::insertSubstitutions("MS Sans Serif", sans);
  QFont::insertSubstitutions("Microsoft Sans Serif", sans);
  QFont::insertSubstitutions("Tahoma", sans);
  QFont::insertSubstitutions("Verdana", {"DejaVu Sans", "Liberation Sans"});
  QFont::insertSubstitutions("Comic Sans MS", {"DejaVu Sans", "Liberation Sans"});
  QFont::insertSubstitutions("Courier New", mono);
  QFont::insertSubstitutions("Courier", mono);
  QFont::insertSubstitutions("Times New Roman", serif);
}

void applyStyle(QFont& font, FontStyle style) {
  font.setBold(style == FontStyle::Bold || style == FontStyle::BoldItalic);
  font.setItalic(style == FontStyle::Italic || style == FontStyle::BoldItalic);
}

QFont makeFont(const std::string& name, int points, FontStyle style) {
  QFont font(toQt(name));
  // A negative size is a height in pixels; a size the platform cannot draw
  // sensibly is kept within bounds.
  if (points < 0) {
    font.setPixelSize(std::clamp(-points, 1, 500));
  } else {
    font.setPointSize(std::clamp(points > 0 ? points : 8, 1, 400));
  }
  applyStyle(font, style);
  return font;
}

FontStyle styleOf(const QFont& font) {
  if (font.bold()) return font.italic() ? FontStyle::BoldItalic : FontStyle::Bold;
  return font.italic() ? FontStyle::Italic : FontStyle::Regular;
}

std::string faceName(const QFont& font) {
  return fromQt(font.family()).substr(0, 31);
}

}  // namespace vb
