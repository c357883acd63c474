#pragma once
// Fonts: the Windows faces the program and Config.ini name ("Arial",
// "MS Sans Serif", "Times New Roman", "Courier New"...) are drawn in
// installed faces of the same widths (Liberation) or close ones with
// Cyrillic (DejaVu), while the program keeps the names as written; the
// program's font descriptions become QFonts.

#include <QFont>
#include <string>

#include "session/settings.h"

namespace vb {

// Registers the fall-back faces; call once after the application exists.
void installFontSubstitutes();

// The installed family that draws a face: the face itself when installed
// or not a Windows face, else its first installed stand-in.
QString drawingFamily(const QString& face);
// The face name to keep after a font dialog confirmed `chosen` for a style
// named `current`: the current name when the choice is the face drawing it
// (OK without a change keeps "Arial"), else the chosen family's name.
std::string keptFaceName(const QFont& chosen, const std::string& current);

// A face name of the program (Windows-1251), a size in points and a style.
QFont makeFont(const std::string& name, int points, FontStyle style);
void applyStyle(QFont& font, FontStyle style);
FontStyle styleOf(const QFont& font);
// The face name of a font as the program keeps it (Windows-1251, at most
// 31 characters).
std::string faceName(const QFont& font);

}  // namespace vb
