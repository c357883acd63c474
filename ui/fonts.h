#pragma once
// Fonts: the faces the program names ("MS Sans Serif", "Comic Sans MS",
// "Courier New"...) fall back to close installed faces with Cyrillic, and
// the program's font descriptions become QFonts.

#include <QFont>
#include <string>

#include "session/settings.h"

namespace vb {

// Registers the fall-back faces; call once after the application exists.
void installFontSubstitutes();

// A face name of the program (Windows-1251), a size in points and a style.
QFont makeFont(const std::string& name, int points, FontStyle style);
void applyStyle(QFont& font, FontStyle style);
FontStyle styleOf(const QFont& font);
// The face name of a font as the program keeps it (Windows-1251, at most
// 31 characters).
std::string faceName(const QFont& font);

}  // namespace vb
