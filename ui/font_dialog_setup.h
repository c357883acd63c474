#pragma once
// The font dialogs offer face, style and size only: no underline or
// strike-out. The My string dialog offers the size 8 alone.

class QFontDialog;

namespace vb {

void limitFontDialog(QFontDialog& dialog, bool eightPointsOnly);

}  // namespace vb
