#pragma once
// The font dialogs offer face, style and size only: no underline or
// strike-out. The My string dialog offers the size 8 alone.

class QFont;
class QFontDialog;

namespace vb {

void limitFontDialog(QFontDialog& dialog, bool eightPointsOnly);

// Sets the dialog's face, style and size so that it shows them selected.
void presetFontDialog(QFontDialog& dialog, const QFont& font);

}  // namespace vb
