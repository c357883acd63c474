#pragma once
// What screen readers learn of the program's windows beyond the names the
// windows give their controls: the editor, About and keyboard windows are
// dialogs; the dialogue view reads each line with who said it; a control
// placed outside its frame (the default button) is not offered.

#include <QString>

namespace vb {

// Installs the program's accessibility factory once.
void installAccessibility();

// The speakers as the dialogue view names them to a screen reader.
QString userSpeaker();
QString programSpeaker();

}  // namespace vb
